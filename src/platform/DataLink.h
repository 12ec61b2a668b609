#pragma once

// Data links: the receiving end of a data source's notifications. A control (or a detail
// dataset) derives from TDataLink and overrides the notifications it cares about. A link asks
// for a number of record buffers (a grid shows several rows) and sees its own window of the
// dataset's buffers.

#include "platform/DBTypes.h"

#include <functional>
#include <string>
#include <vector>

class TDataSet;
class TDataSource;
class TField;

class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink &) = delete;
    TDataLink &operator=(const TDataLink &) = delete;

    TDataSource *DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource *dataSource);
    TDataSet *DataSet() const;
    // Set while the data source is enabled and its dataset open.
    bool Active() const { return active_; }
    // Set while the dataset is in edit or insert mode (and the link is not read-only).
    bool Editing() const { return editing_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    // The number of records the link wants to see at once (at least 1).
    int BufferCount() const { return bufferCount_; }
    void SetBufferCount(int count);
    // The active record's place in the link's window, and the records in the window.
    int ActiveRecord() const;
    void SetActiveRecord(int index);
    int RecordCount() const;

    // Puts the dataset into edit mode through the data source; true when it is editing.
    bool Edit();
    // Writes a pending control edit back (calls UpdateData once).
    void UpdateRecord();

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    // The base calls RecordChanged(nullptr).
    virtual void DataSetChanged();
    // distance: how far the buffers moved. The base calls DataSetChanged.
    virtual void DataSetScrolled(int distance);
    virtual void EditingChanged() {}
    virtual void FocusControl(TField *field);
    // The base calls DataSetChanged.
    virtual void LayoutChanged();
    virtual void RecordChanged(TField *) {}
    virtual void UpdateData() {}

private:
    friend class TDataSet;
    friend class TDataSource;

    void dataEvent(TDataEvent event, TDataEventInfo info);
    void updateState();
    void setActive(bool active);
    void setEditing(bool editing);
    void updateRange();

    TDataSource *dataSource_ = nullptr;
    bool active_ = false;
    bool editing_ = false;
    bool readOnly_ = false;
    bool updating_ = false;
    int bufferCount_ = 1;
    int firstRecord_ = 0;
};

// A link that follows a master dataset on behalf of a detail dataset.
class TDetailDataLink : public TDataLink {
public:
    virtual TDataSet *DetailDataSet() const { return nullptr; }
};

// Resolves FieldNames on the master when it becomes active and reports master changes (a new
// master record, or a change of one of the master fields) and its going away.
class TMasterDataLink : public TDetailDataLink {
public:
    using TNotifyEvent = std::function<void(TMasterDataLink &sender)>;

    explicit TMasterDataLink(TDataSet *detail) : detail_(detail) {}

    TDataSet *DetailDataSet() const override { return detail_; }
    const std::string &FieldNames() const { return fieldNames_; }
    void SetFieldNames(const std::string &names);
    // The master's fields named by FieldNames, while the link is active.
    const std::vector<TField *> &Fields() const { return fields_; }

    TNotifyEvent OnMasterChange;
    TNotifyEvent OnMasterDisable;

protected:
    void ActiveChanged() override;
    void CheckBrowseMode() override;
    void LayoutChanged() override;
    void RecordChanged(TField *field) override;

private:
    TDataSet *detail_;
    std::string fieldNames_;
    std::vector<TField *> fields_;
};
