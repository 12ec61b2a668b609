#pragma once

// TDataSource: the connector between one dataset and the data links (controls, detail datasets)
// that show or follow it. It passes the dataset's events on and tracks its state.

#include "platform/DBTypes.h"

#include <functional>
#include <vector>

class TDataLink;
class TDataSet;
class TField;

class TDataSource {
public:
    using TNotifyEvent = std::function<void(TDataSource &sender)>;
    using TDataChangeEvent = std::function<void(TDataSource &sender, TField *field)>;

    TDataSource() = default;
    explicit TDataSource(TDataSet *dataSet) { SetDataSet(dataSet); }
    ~TDataSource();
    TDataSource(const TDataSource &) = delete;
    TDataSource &operator=(const TDataSource &) = delete;

    TDataSet *DataSet() const { return dataSet_; }
    // Raises "Circular datalinks are not allowed" when the dataset is linked back to this source.
    void SetDataSet(TDataSet *dataSet);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool AutoEdit() const { return autoEdit_; }
    void SetAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }
    // The dataset's state, or dsInactive while disabled or without a dataset.
    TDataSetState State() const { return state_; }

    // Puts the dataset into edit mode when AutoEdit allows it and it is browsing.
    void Edit();
    // Whether this source reaches dataSet through master links.
    bool IsLinkedTo(const TDataSet *dataSet) const;

    int DataLinkCount() const { return static_cast<int>(dataLinks_.size()); }
    TDataLink *DataLinks(int index) const { return dataLinks_[static_cast<std::size_t>(index)]; }

    TDataChangeEvent OnDataChange;
    TNotifyEvent OnStateChange;
    TNotifyEvent OnUpdateData;

private:
    friend class TDataSet;
    friend class TDataLink;

    void dataEvent(TDataEvent event, TDataEventInfo info);
    void notifyDataLinks(TDataEvent event, TDataEventInfo info);
    void updateState();
    void setState(TDataSetState state);
    void addDataLink(TDataLink *link);
    void removeDataLink(TDataLink *link);

    TDataSet *dataSet_ = nullptr;
    bool enabled_ = true;
    bool autoEdit_ = true;
    TDataSetState state_ = dsInactive;
    std::vector<TDataLink *> dataLinks_;
};
