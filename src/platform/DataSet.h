#pragma once

// TDataSet: the cursor over a set of records that fields, data sources and data-aware controls
// work against. It runs the state machine (browse, edit, insert, ...), keeps a window of record
// buffers around the current record for the data links, fires the dataset events, and leaves
// record storage to a descendant through the virtual record-buffer protocol below.
// A descendant closes itself in its own destructor: by the time this base is destroyed the
// protocol that frees the buffers is gone.

#include "platform/Component.h"
#include "platform/DBTypes.h"
#include "platform/FieldDefs.h"
#include "platform/Fields.h"
#include "platform/IndexDefs.h"
#include "platform/Variant.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class TDataLink;
class TDataSource;
class TStream;

class TDataSet : public TComponent {
public:
    using TDataSetNotifyEvent = std::function<void(TDataSet &dataSet)>;
    using TDataSetErrorEvent =
        std::function<void(TDataSet &dataSet, EDatabaseError &error, TDataAction &action)>;
    using TFilterRecordEvent = std::function<void(TDataSet &dataSet, bool &accept)>;

    // Assigning a filter handler goes through SetOnFilterRecord, so that a descendant learns
    // that its filtering changed however the handler is set.
    class FilterRecordProperty {
    public:
        FilterRecordProperty &operator=(TFilterRecordEvent handler);
        FilterRecordProperty &operator=(std::nullptr_t);
        explicit operator bool() const { return static_cast<bool>(handler_); }
        void operator()(TDataSet &dataSet, bool &accept) const { handler_(dataSet, accept); }
        const TFilterRecordEvent &Handler() const { return handler_; }

    private:
        friend class TDataSet;
        explicit FilterRecordProperty(TDataSet &owner) : owner_(owner) {}
        TDataSet &owner_;
        TFilterRecordEvent handler_;
    };

    TDataSet();
    virtual ~TDataSet();
    TDataSet(const TDataSet &) = delete;
    TDataSet &operator=(const TDataSet &) = delete;

    // A dataset whose stored Active is read from a form opens once the form has loaded.
    void DefineProperties(TFiler &filer) override;

    // Opening and closing.
    bool Active() const;
    virtual void SetActive(bool active);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState State() const { return state_; }

    // Navigation.
    void First();
    void Last();
    void Next();
    void Prior();
    // Returns the number of records actually moved (negative backwards).
    int MoveBy(int distance);
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    bool IsEmpty() const { return bof_ && eof_; }
    bool Found() const { return found_; }
    // 1-based number of the current record, -1 when unknown.
    int RecNo() const { return GetRecNo(); }
    virtual void SetRecNo(int) {}
    int RecordCount() const { return GetRecordCount(); }
    int RecordSize() const { return GetRecordSize(); }

    // Editing.
    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void AppendRecord(const std::vector<Variant> &values);
    void InsertRecord(const std::vector<Variant> &values);
    // Assigns values to the fields in field order; null (or empty) clears a field.
    void SetFields(const std::vector<Variant> &values);
    void ClearFields();
    bool CanModify() const { return GetCanModify(); }
    bool Modified() const { return modified_; }
    // Makes the data links write their pending edits into the record.
    void UpdateRecord();
    // Posts or cancels a pending edit.
    void CheckBrowseMode();
    // Raise "Cannot perform this operation on a closed (an open) dataset".
    virtual void CheckActive() const;
    virtual void CheckInactive() const;
    void Refresh();
    void Resync(TResyncMode mode);
    void UpdateCursorPos();
    void CursorPosChanged() { currentRecord_ = -1; }

    // Fields and definitions.
    TFields &Fields() { return fields_; }
    const TFields &Fields() const { return fields_; }
    int FieldCount() const { return fields_.Count(); }
    TFieldDefs &FieldDefs() { return fieldDefs_; }
    const TFieldDefs &FieldDefs() const { return fieldDefs_; }
    TIndexDefs &IndexDefs() { return indexDefs_; }
    const TIndexDefs &IndexDefs() const { return indexDefs_; }
    TField *FieldByName(std::string_view fieldName) const { return fields_.FieldByName(fieldName); }
    TField *FindField(std::string_view fieldName) const { return fields_.FindField(fieldName); }
    TField *FieldByNumber(int fieldNo) const { return fields_.FieldByNumber(fieldNo); }
    // The fields named in a ";"-list, in its order; an unknown name raises "Field '%s' not found".
    std::vector<TField *> GetFieldList(const std::string &fieldNames) const;
    std::vector<std::string> GetFieldNames() const;
    // Set while the fields were made from the definitions at open (and go again at close).
    bool DefaultFields() const { return defaultFields_; }
    // Has the descendant fill FieldDefs from its data; they count as up to date afterwards.
    void InitFieldDefs();
    bool AutoCalcFields() const { return autoCalcFields_; }
    void SetAutoCalcFields(bool autoCalc) { autoCalcFields_ = autoCalc; }

    // Bookmarks: an opaque byte string naming a record. Empty when no record is current.
    TBookmark Bookmark() { return GetBookmark(); }
    void SetBookmark(const TBookmark &bookmark) { GotoBookmark(bookmark); }
    TBookmark GetBookmark();
    void GotoBookmark(const TBookmark &bookmark);
    void FreeBookmark(TBookmark &bookmark) { bookmark.clear(); }
    virtual bool BookmarkValid(const TBookmark &bookmark);
    // Negative, zero or positive; empty bookmarks sort first.
    virtual int CompareBookmarks(const TBookmark &a, const TBookmark &b);

    // Searching.
    virtual bool Locate(const std::string &keyFields, const Variant &keyValues,
                        TLocateOptions options);
    virtual Variant Lookup(const std::string &keyFields, const Variant &keyValues,
                           const std::string &resultFields);
    bool FindFirst() { return FindRecord(true, true); }
    bool FindLast() { return FindRecord(true, false); }
    bool FindNext() { return FindRecord(false, true); }
    bool FindPrior() { return FindRecord(false, false); }

    // Filtering.
    const std::string &Filter() const { return filterText_; }
    void SetFilter(const std::string &text) { SetFilterText(text); }
    virtual void SetFilterText(const std::string &text) { filterText_ = text; }
    bool Filtered() const { return filtered_; }
    virtual void SetFiltered(bool filtered) { filtered_ = filtered; }
    TFilterOptions FilterOptions() const { return filterOptions_; }
    virtual void SetFilterOptions(TFilterOptions options) { filterOptions_ = options; }
    // Stores the handler of OnFilterRecord; assigning OnFilterRecord comes here.
    virtual void SetOnFilterRecord(TFilterRecordEvent handler);

    // Data-aware controls.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ != 0; }
    // Tells the data sources (and through them the links) about an event.
    virtual void DataEvent(TDataEvent event, TDataEventInfo info);
    // The master data source of a detail dataset, or none.
    TDataSource *DataSource() const { return GetDataSource(); }
    // Whether dataSource reaches this dataset through a chain of master links.
    bool IsLinkedTo(TDataSource *dataSource) const;

    // Reading blocks of records without notifying the controls.
    int BlockReadSize() const { return blockReadSize_; }
    virtual void SetBlockReadSize(int size);

    // Record protocol towards the fields: native-form field data of the active record. The
    // format-choosing forms convert through DataConvert.
    virtual bool GetFieldData(TField *field, void *buffer) = 0;
    bool GetFieldData(TField *field, void *buffer, bool nativeFormat);
    virtual void SetFieldData(TField *field, const void *buffer) = 0;
    void SetFieldData(TField *field, const void *buffer, bool nativeFormat);
    // Converts between a field's native form and the framework's plain form: date and time
    // fields TDateTime, BCD fields Currency, wide-string fields std::u16string.
    virtual void DataConvert(TField *field, const void *source, void *dest, bool toNative);
    // A stream over a blob field's value of the active record.
    virtual std::unique_ptr<TStream> CreateBlobStream(TField *field, TBlobStreamMode mode);
    virtual bool IsSequenced() { return true; }
    virtual TUpdateStatus UpdateStatus() { return usUnmodified; }
    // Copies the active record into buffer; false when there is none.
    virtual bool GetCurrentRecord(TRecordBuffer buffer);

    // Events.
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent BeforeRefresh, AfterRefresh;
    TDataSetNotifyEvent OnCalcFields, OnNewRecord;
    TDataSetErrorEvent OnDeleteError, OnEditError, OnPostError;
    FilterRecordProperty OnFilterRecord{*this};

protected:
    // Opens a dataset whose stored Active was set.
    void Loaded() override;
    // Fields that outlive the opening they were made in (taken over as persistent ones).
    void SetDefaultFields(bool value) { defaultFields_ = value; }

    // Buffers the descendant allocates and fills.
    virtual TRecordBuffer AllocRecordBuffer() = 0;
    virtual void FreeRecordBuffer(TRecordBuffer &buffer) = 0;
    virtual int GetRecordSize() const = 0;
    virtual TGetResult GetRecord(TRecordBuffer buffer, TGetMode getMode, bool doCheck) = 0;
    virtual void InternalInitRecord(TRecordBuffer buffer) = 0;
    virtual void GetBookmarkData(TRecordBuffer buffer, void *data) = 0;
    virtual void SetBookmarkData(TRecordBuffer buffer, const void *data) = 0;
    virtual TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) = 0;
    virtual void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) = 0;

    // Cursor operations of the descendant.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual void InternalInitFieldDefs() = 0;
    virtual bool IsCursorOpen() const = 0;
    virtual void InternalFirst() = 0;
    virtual void InternalLast() = 0;
    virtual void InternalAddRecord(TRecordBuffer buffer, bool append) = 0;
    virtual void InternalDelete() = 0;
    // The base checks the required fields.
    virtual void InternalPost();
    virtual void InternalEdit() {}
    virtual void InternalInsert() {}
    virtual void InternalCancel() {}
    virtual void InternalRefresh() {}
    virtual void InternalGotoBookmark(const void *bookmark) = 0;
    virtual void InternalSetToRecord(TRecordBuffer buffer) = 0;
    // Called where an exception cannot travel on; the base rethrows nothing and does nothing.
    virtual void InternalHandleException() {}

    // Overridable parts of the public operations.
    virtual int GetRecNo() const { return -1; }
    virtual int GetRecordCount() const { return -1; }
    virtual bool GetCanModify() const { return true; }
    virtual TDataSource *GetDataSource() const { return nullptr; }
    virtual bool GetIsIndexField(const TField *) const { return false; }
    virtual bool FindRecord(bool restart, bool goForward);
    virtual void CloseBlob(TField *) {}
    // Refreshes IndexDefs from the data; the base does nothing.
    virtual void UpdateIndexDefs() {}

    // Event steps; descendants extend them and call the base.
    virtual void DoBeforeOpen() { fire(BeforeOpen); }
    virtual void DoAfterOpen() { fire(AfterOpen); }
    virtual void DoBeforeClose() { fire(BeforeClose); }
    virtual void DoAfterClose() { fire(AfterClose); }
    virtual void DoBeforeInsert() { fire(BeforeInsert); }
    virtual void DoAfterInsert() { fire(AfterInsert); }
    virtual void DoBeforeEdit() { fire(BeforeEdit); }
    virtual void DoAfterEdit() { fire(AfterEdit); }
    virtual void DoBeforePost() { fire(BeforePost); }
    virtual void DoAfterPost() { fire(AfterPost); }
    virtual void DoBeforeCancel() { fire(BeforeCancel); }
    virtual void DoAfterCancel() { fire(AfterCancel); }
    virtual void DoBeforeDelete() { fire(BeforeDelete); }
    virtual void DoAfterDelete() { fire(AfterDelete); }
    virtual void DoBeforeScroll() { fire(BeforeScroll); }
    virtual void DoAfterScroll() { fire(AfterScroll); }
    virtual void DoBeforeRefresh() { fire(BeforeRefresh); }
    virtual void DoAfterRefresh() { fire(AfterRefresh); }
    virtual void DoOnCalcFields() { fire(OnCalcFields); }
    virtual void DoOnNewRecord() { fire(OnNewRecord); }

    // Fields at open and close.
    void CreateFields();
    void DestroyFields();
    // Binding numbers the data fields from their definitions (raising "Field '%s' not found" for
    // one without a definition) and lays the calculated and lookup fields out in the
    // calculated-fields buffer.
    virtual void BindFields(bool binding);
    void CheckRequiredFields();
    void CheckCanModify() const;

    // Calculated fields: computed into a buffer under the dsCalcFields state.
    int CalcFieldsSize() const { return calcFieldsSize_; }
    TRecordBuffer CalcBuffer() const { return calcBuffer_; }
    // Computes the calculated fields of buffer when there are any.
    virtual void GetCalcFields(TRecordBuffer buffer);
    void CalculateFields(TRecordBuffer buffer);
    // Empties the calculated part of buffer; the base does nothing.
    virtual void ClearCalcFields(TRecordBuffer) {}
    // Recomputes internal-calc fields stored in the record; the base does nothing.
    virtual void RefreshInternalCalcFields(TRecordBuffer) {}
    void InitRecord(TRecordBuffer buffer);

    // State changes.
    void SetState(TDataSetState state);
    // Enters a state for a moment (calculating, filtering, ...) without telling the controls;
    // returns the state to give back to RestoreState.
    TDataSetState SetTempState(TDataSetState state);
    void RestoreState(TDataSetState state);
    void SetModified(bool modified) { modified_ = modified; }
    void SetFound(bool found) { found_ = found; }
    void SetBof(bool bof) { bof_ = bof; }
    void SetEof(bool eof) { eof_ = eof; }

    // The window of record buffers. Buffers 0 .. BufferedRecordCount()-1 hold records, the
    // active one among them; one more buffer is kept spare for reading ahead.
    int BufferCount() const { return bufferCount_; }
    void SetBufferCount(int count);
    // Makes the buffer count meet the largest need of the data links.
    void UpdateBufferCount();
    int BufferedRecordCount() const { return recordCount_; }
    int ActiveRecord() const { return activeRecord_; }
    void SetActiveRecord(int index);
    int CurrentRecord() const { return currentRecord_; }
    TRecordBuffer Buffer(int index) const { return buffers_[static_cast<std::size_t>(index)]; }
    TRecordBuffer ActiveBuffer() const;
    // The spare buffer behind the filled ones.
    TRecordBuffer TempBuffer() const { return buffers_[static_cast<std::size_t>(recordCount_)]; }
    virtual void ClearBuffers();
    void ActivateBuffers();
    // Reads the record after the last buffered one into the buffers; false at the end.
    bool GetNextRecord();
    bool GetPriorRecord();
    int GetNextRecords();
    int GetPriorRecords();
    void SetCurrentRecord(int index);
    void MoveBuffer(int curIndex, int newIndex);
    // Lets go of what fields hold for the record being left (a written blob is closed).
    void FreeFieldBuffers();

    int BookmarkSize() const { return bookmarkSize_; }
    void SetBookmarkSize(int size) { bookmarkSize_ = size; }
    bool BookmarkAvailable();

private:
    friend class TDataLink;
    friend class TDataSource;
    friend class TField;
    friend class TFieldDefs;
    friend class TIndexDefs;

    void fire(const TDataSetNotifyEvent &event)
    {
        if (event)
            event(*this);
    }
    void openCursor();
    void closeCursor();
    void beginInsertAppend();
    void endInsertAppend();
    void checkOperation(void (TDataSet::*operation)(), const TDataSetErrorEvent &onError);
    void updateCalcFields();
    void calculateLookupFields();
    void allocateBuffers(int count);
    void freeBuffers();
    void addDataSource(TDataSource *source);
    void removeDataSource(TDataSource *source);

    TFields fields_;
    TFieldDefs fieldDefs_;
    TIndexDefs indexDefs_;
    TDataSetState state_ = dsInactive;
    TDataSetState disableState_ = dsInactive;
    TDataEvent enableEvent_ = deDataSetChange;
    int disableCount_ = 0;
    bool bof_ = true;
    bool eof_ = true;
    bool found_ = false;
    bool modified_ = false;
    bool defaultFields_ = false;
    bool autoCalcFields_ = true;
    // Active as read from a form, applied once the form has loaded.
    bool streamedActive_ = false;
    bool internalOpenComplete_ = false;
    bool filtered_ = false;
    std::string filterText_;
    TFilterOptions filterOptions_;
    int blockReadSize_ = 0;
    int bookmarkSize_ = 0;
    int calcFieldsSize_ = 0;
    // Whether a bound field is internally calculated; kinds cannot change while bound.
    bool internalCalcFields_ = false;
    TRecordBuffer calcBuffer_ = nullptr;
    // bufferCount_ + 1 buffers once open; the last is the spare.
    std::vector<TRecordBuffer> buffers_;
    int bufferCount_ = 0;
    int recordCount_ = 0;
    int activeRecord_ = 0;
    int currentRecord_ = -1;
    std::vector<TDataSource *> dataSources_;
};

// Keeps the data-aware controls of tables still while a routine walks them, and lets them go
// again however the routine ends.
class ControlsDisabled {
public:
    explicit ControlsDisabled(TDataSet &table) : ControlsDisabled({&table}) {}
    explicit ControlsDisabled(std::initializer_list<TDataSet *> tables) : tables_(tables)
    {
        for (TDataSet *table : tables_)
            table->DisableControls();
    }
    ~ControlsDisabled()
    {
        for (TDataSet *table : tables_)
            table->EnableControls();
    }
    ControlsDisabled(const ControlsDisabled &) = delete;
    ControlsDisabled &operator=(const ControlsDisabled &) = delete;

private:
    std::vector<TDataSet *> tables_;
};
