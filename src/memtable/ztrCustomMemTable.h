#pragma once

// The in-memory dataset: keeps its records in a record store it may share with attached tables,
// reads them through its current index and offers the framework's whole cursor protocol.

#include "memtable/ztrBoundFilter.h"
#include "memtable/ztrCommon.h"
#include "memtable/ztrCompiledFilters.h"
#include "memtable/ztrCopy.h"
#include "memtable/ztrCreateTableAs.h"
#include "memtable/ztrExprParser.h"
#include "memtable/ztrFieldList.h"
#include "memtable/ztrIndex.h"
#include "memtable/ztrIndexedFilter.h"
#include "memtable/ztrMasterDataLink.h"
#include "memtable/ztrMemTablePersistence.h"
#include "memtable/ztrTypes.h"
#include "platform/Classes.h"
#include "platform/DataSet.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TztrBlobStream;
class TztrCustomDeltaHandler;

class TztrCustomMemTable : public TDataSet, public TztrMemTablePersistence {
public:
    using TztrOnProgress = std::function<void(TztrCustomMemTable &table, int percentage, TztrProgressCode code)>;
    using TztrOnSetupField = std::function<void(TztrCustomMemTable &table, TField *field, std::uint8_t &fieldFlags)>;
    // Turns a value's bytes into their kept (compressed) form, or back.
    using TztrOnCompressField = std::function<void(TztrCustomMemTable &table, TField *field, std::string &data)>;
    using TztrOnCompareFields =
        std::function<void(TztrCustomMemTable &table, TField *field, const void *keyValue, const void *value,
                           TFieldType fieldType, TztrifoOptions options, bool &fullCompare, int &result)>;
    // A blob's bytes on their way into the record (compress) and out of it (decompress).
    using TztrOnCompressBlobStream = std::function<void(TztrCustomMemTable &table, TStream &uncompressed, TStream &compressed)>;
    using TztrOnDecompressBlobStream = std::function<void(TztrCustomMemTable &table, TStream &compressed, TStream &decompressed)>;
    using TztrOnSetupFieldProperties = std::function<void(TztrCustomMemTable &table, TField &field)>;

    TztrCustomMemTable();
    ~TztrCustomMemTable() override;

    // The record store, shared with the tables attached to the same owner.
    TztrCommon &Common() const { return *common_; }
    int AttachIndex() const { return attachIndex_; }

    // Sharing another table's records.
    TztrCustomMemTable *AttachedTo() const { return attachedTo_; }
    void SetAttachedTo(TztrCustomMemTable *table);
    bool AttachedAutoRefresh() const { return attachedAutoRefresh_; }
    void SetAttachedAutoRefresh(bool value) { attachedAutoRefresh_ = value; }

    // Store-level settings; through an attached table they are those of the shared store.
    int AttachMaxCount() const { return common_->AttachMaxCount(); }
    void SetAttachMaxCount(int value);
    TztrPerformance Performance() const { return common_->Performance(); }
    void SetPerformance(TztrPerformance value);
    bool Standalone() const { return common_->Standalone(); }
    void SetStandalone(bool value);
    // A new locale on an open store sorts every index of it again; a locale they cannot be sorted
    // under (an unknown one, or one that makes keys of a unique index equal) is refused.
    int LocaleID() const { return static_cast<int>(common_->LocaleID()); }
    void SetLocaleID(int value);
    int LanguageID() const { return common_->LanguageID(); }
    void SetLanguageID(int value);
    int SubLanguageID() const { return common_->SubLanguageID(); }
    void SetSubLanguageID(int value);
    int SortID() const { return common_->SortID(); }
    void SetSortID(int value);
    int AutoIncMinValue() const { return common_->AutoIncMinValue(); }
    void SetAutoIncMinValue(int value) { common_->SetAutoIncMinValue(value); }
    bool EnableVersioning() const { return common_->EnableVersioning(); }
    void SetEnableVersioning(bool value);
    TztrVersioningMode VersioningMode() const { return common_->VersioningMode(); }
    void SetVersioningMode(TztrVersioningMode value) { common_->SetVersioningMode(value); }

    // Indexes.
    TztrIndexes &Indexes() { return indexes_; }
    TztrIndex *CurrentIndex() const { return currentIndex_; }
    bool EnableIndexes() const { return enableIndexes_; }
    void SetEnableIndexes(bool value) { enableIndexes_ = value; }
    bool AutoAddIndexes() const { return autoAddIndexes_; }
    void SetAutoAddIndexes(bool value) { autoAddIndexes_ = value; }
    bool AutoReposition() const { return autoReposition_; }
    void SetAutoReposition(bool value) { autoReposition_ = value; }
    const std::string &IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(const std::string &fieldNames);
    const std::string &IndexName() const { return indexName_; }
    void SetIndexName(const std::string &name);
    // Makes index (none: the row-order index) the one the table reads through, keeping the
    // current record current when the new index holds it.
    void SwitchToIndex(TztrIndex *index);
    void AddIndex(const std::string &name, const std::string &fields, TIndexOptions options);
    void AddIndex2(const std::string &name, const std::string &fields, TztrMemTableCompareOptions options,
                   TztrUpdateStatusSet statuses);
    // Orders an open table by fieldNames through its own sort index; an empty text goes back to
    // row order.
    void SortOn(const std::string &fieldNames, TztrMemTableCompareOptions options);
    // The field list and options of the last SortOn; writing them stores them without sorting.
    const std::string &SortFields() const { return sortFields_; }
    void SetSortFields(const std::string &fieldNames) { sortFields_ = fieldNames; }
    TztrMemTableCompareOptions SortOptions() const { return sortOptions_; }
    void SetSortOptions(TztrMemTableCompareOptions options) { sortOptions_ = options; }

    // Calculated fields of stored records, for comparisons.
    bool RecalcOnIndex() const { return recalcOnIndex_; }
    void SetRecalcOnIndex(bool value) { recalcOnIndex_ = value; }
    bool RecalcOnFetch() const { return recalcOnFetch_; }
    void SetRecalcOnFetch(bool value) { recalcOnFetch_ = value; }
    void RecalcStoredRecord(TztrRecord *record);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    TztrProgressCodes ProgressFlags() const { return progressFlags_; }
    void SetProgressFlags(TztrProgressCodes value) { progressFlags_ = value; }
    std::string Version() const { return "5.60"; }

    // Cursor position in the current index (-1 before the first entry).
    int CursorPosition() const { return position_; }
    void SetCursorPosition(int position) { position_ = position; }
    // Where the last change put the record in the current index, for AutoReposition.
    void RememberRepositionPlace(int place) { repositionPlace_ = place; }
    // Told by the index set before it drops an index.
    void IndexRemoved(TztrIndex *index);

    // The record filter. Unfiltered tables answer from one flag.
    bool MustFilter() const { return mustFilter_; }
    virtual bool FilterRecord(TztrRecord *record, bool forceUseFilter);
    // Whether record belongs in an index with a filter (its event, OnFilterIndex, its expression).
    bool FilterIndexRecord(const TztrIndex &index, TztrRecord *record);
    // None for a blank text; the compiler's error for one it refuses.
    std::unique_ptr<TztrExprParser> CompileFilterText(const std::string &text, TFilterOptions options) const;
    virtual void UpdateFilteredState();
    void SetFiltered(bool filtered) override;
    void SetOnFilterRecord(TFilterRecordEvent handler) override;
    // A text that does not compile is refused with the compiler's message, leaving no expression.
    void SetFilterText(const std::string &text) override;
    void SetFilterOptions(TFilterOptions options) override;

    // Master/detail: the table shows only the records whose key fields (DetailFields, else the
    // current index's fields) equal the master's MasterFields.
    TDataSource *MasterSource() const { return masterLink_.DataSource(); }
    void SetMasterSource(TDataSource *source);
    const std::string &MasterFields() const { return masterLink_.FieldNames(); }
    void SetMasterFields(const std::string &fieldNames);
    const std::string &DetailFields() const { return detailFields_; }
    void SetDetailFields(const std::string &fieldNames);
    // Off while a save writes every record regardless of the master.
    bool MasterDetailEnabled() const { return masterDetailEnabled_; }
    void SetMasterDetailEnabled(bool value);

    // Ranges: only the records whose current-index key lies between two keys pass. A key gives
    // values to the first index fields (an array for several); a null value with
    // RangeIgnoreNullKeyValues leaves that end open.
    void SetRange(const Variant &startValues, const Variant &endValues);
    void CancelRange();
    bool RangeActive() const { return rangeActive_; }
    // Switches a set range off and on again; a table without range keys stays without.
    void SetRangeActive(bool value);
    bool RangeIgnoreNullKeyValues() const { return rangeIgnoreNullKeyValues_; }
    void SetRangeIgnoreNullKeyValues(bool value);

    // Searching. Several key fields are joined by ";" and take an array of values.
    bool Locate(const std::string &keyFields, const Variant &keyValues, TLocateOptions options) override;
    Variant Lookup(const std::string &keyFields, const Variant &keyValues, const std::string &resultFields) override;
    // The place of the first matching record the filter accepts in the current index, or -1.
    int LocateRecord(const std::string &keyFields, const Variant &keyValues, TLocateOptions options);
    // Writes values into a record that is not the table's current one (a search key).
    void PopulateKeyRecord(TztrRecord *record, const std::string &fieldNames, const Variant &values);
    void PopulateField(TztrRecord *record, TField *field, const Variant &value);

    // Closes every table of the store and takes the source's field definitions (and fields, as
    // the options say); with mtctoCopyData the table opens with the source's records.
    void CreateTableAs(TDataSet &source, TztrCreateTableOptions options);
    // Closes every table of the store and destroys this table's fields; the definitions stay.
    void CloseAndDestroyFields();
    // Makes the fields persistent fields of the table's owner, named after the table and the
    // field, leaving out those whose name the owner already has.
    void MoveFieldsToOwner();
    void EmptyTable();
    void Progress(int percentage, TztrProgressCode code);
    // Holds the store over several operations.
    void Lock();
    void Unlock();
    void StartTransaction();
    void Commit();
    void Rollback();
    // Makes the active record of another table of the same store the current one here.
    void GotoCurrent(TztrCustomMemTable &other);

    // Copying between this table and any dataset; each does nothing when both sides are the same.
    virtual void LoadFromDataSet(TDataSet &source, TztrCopyOptions options);
    virtual void SaveToDataSet(TDataSet &destination, TztrCopyOptions options);
    virtual void UpdateToDataSet(TDataSet &destination, const std::string &keyFields, TztrUpdateFlags flags);
    virtual void UpdateToDataSet(TDataSet &destination, const std::string &keyFields);
    // Appends a destination record per source record from the source's position on; returns
    // the number posted. limit above 0 stops after that many.
    virtual int CopyRecords(TDataSet &source, TDataSet &destination, bool convertWide, bool spareFlag, int limit);
    // Edits or appends a destination record per source record, matched on keyFields.
    int UpdateRecords(TDataSet &source, TDataSet &destination, TztrUpdateFlags flags, int limit,
                      const std::string &keyFields);
    void CopyFieldProperties(TField &source, TField &destination);
    // For every field of destination that source has a field of the same name for.
    void CopyFieldsProperties(TDataSet &source, TDataSet &destination);

    // Blob values are reached through streams over the active record.
    std::unique_ptr<TStream> CreateBlobStream(TField *field, TBlobStreamMode mode) override;
    // The handler that reports this table's net changes; none by default.
    TztrCustomDeltaHandler *DeltaHandler() const { return deltaHandler_; }
    void SetDeltaHandler(TztrCustomDeltaHandler *handler);

    // Stored with the form: with StoreDataOnForm an open table writes its records through
    // FormFormat and, read back, loads them when it opens. A table read back as active opens
    // once the form has loaded, unless DesignActivation is off.
    bool StoreDataOnForm() const { return storeDataOnForm_; }
    void SetStoreDataOnForm(bool value) { storeDataOnForm_ = value; }
    bool DesignActivation() const { return designActivation_; }
    void SetDesignActivation(bool value) { designActivation_ = value; }
    void DefineProperties(TFiler &filer) override;

    // Dataset protocol.
    // Closing a persistent table writes its file first.
    void SetActive(bool active) override;
    void SetRecNo(int recNo) override;
    bool BookmarkValid(const TBookmark &bookmark) override;
    int CompareBookmarks(const TBookmark &a, const TBookmark &b) override;
    bool GetFieldData(TField *field, void *buffer) override;
    void SetFieldData(TField *field, const void *buffer) override;
    void DataEvent(TDataEvent event, TDataEventInfo info) override;
    bool IsSequenced() override { return !Filtered(); }
    void SetBlockReadSize(int size) override;
    TUpdateStatus UpdateStatus() override;
    using TDataSet::GetFieldData;
    using TDataSet::SetFieldData;
    // True for a data field of type ftString whose stored value a save can read in place.
    bool StringReadInPlace(const TField &field) const;
    // The same for a data field of type ftInteger.
    bool IntegerReadInPlace(const TField &field) const;

    TztrOnProgress OnProgress;
    TztrOnSetupField OnSetupField;
    TztrOnCompressField OnCompressField;
    TztrOnCompressField OnDecompressField;
    // Replaces the value comparison; on an open table its indexes are sorted again by it.
    const TztrOnCompareFields &OnCompareFields() const { return onCompareFields_; }
    void SetOnCompareFields(TztrOnCompareFields handler);
    TztrOnCompressBlobStream OnCompressBlobStream;
    TztrOnDecompressBlobStream OnDecompressBlobStream;
    TztrOnSetupFieldProperties OnSetupFieldProperties;
    // Asked for every record an index with a filter is about to take.
    TztrOnFilterIndex OnFilterIndex;

protected:
    void Notification(TComponent *component, TOperation operation) override;
    void Loaded() override;

    TRecordBuffer AllocRecordBuffer() override;
    void FreeRecordBuffer(TRecordBuffer &buffer) override;
    int GetRecordSize() const override;
    TGetResult GetRecord(TRecordBuffer buffer, TGetMode getMode, bool doCheck) override;
    void InternalInitRecord(TRecordBuffer buffer) override;
    void GetBookmarkData(TRecordBuffer buffer, void *data) override;
    void SetBookmarkData(TRecordBuffer buffer, const void *data) override;
    TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override;
    void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) override;

    void InternalOpen() override;
    void InternalClose() override;
    void InternalInitFieldDefs() override;
    bool IsCursorOpen() const override { return cursorOpen_; }
    void InternalFirst() override { position_ = -1; }
    void InternalLast() override;
    void InternalAddRecord(TRecordBuffer buffer, bool append) override;
    void InternalDelete() override;
    void InternalPost() override;
    void InternalCancel() override;
    void InternalGotoBookmark(const void *bookmark) override;
    void InternalSetToRecord(TRecordBuffer buffer) override;

    int GetRecNo() const override;
    int GetRecordCount() const override;
    // A table being filled takes records even when it is read-only.
    bool GetCanModify() const override { return !readOnly_ || Loading(); }
    bool GetIsIndexField(const TField *field) const override;
    bool FindRecord(bool restart, bool goForward) override;
    void CloseBlob(TField *field) override;

    void ClearCalcFields(TRecordBuffer buffer) override;

    void DoAfterOpen() override;
    void DoBeforeClose() override;
    void DoBeforeInsert() override;
    void DoAfterPost() override;
    void DoAfterDelete() override;
    TDataSource *GetDataSource() const override { return masterLink_.DataSource(); }
    void DoOnNewRecord() override;
    void DoBeforePost() override;
    virtual void MasterChanged();
    virtual void MasterDisabled();

    // Steps the position to the next (prior) record the filter accepts; false when there is none.
    bool MoveToNextAccepted(bool forceUseFilter);
    bool MoveToPriorAccepted(bool forceUseFilter);
    virtual void DoOnFilterRecord(bool &accept);

private:
    friend class TztrCommon;
    friend class TztrCustomStreamFormat;
    friend class TztrBlobStream;
    friend class TztrCustomDeltaHandler;
    friend class TztrIndexedFilter;
    friend class TztrDirectLoadRecord;

    TztrRecord *activeRecord();
    // The value AsString gives for a StringReadInPlace field of a stored record, without copying
    // it; nullopt for a null value. For a caller that holds the store's lock, as a save does
    // throughout.
    std::optional<std::string_view> storedStringLocked(const TztrRecord *record, const TField &field) const;
    // The same for an IntegerReadInPlace field.
    std::optional<std::int32_t> storedIntegerLocked(const TztrRecord *record, const TField &field) const;
    // The record at a place of the current index.
    TztrRecord *currentEntry(int position) const;
    TztrRecord *storedRecordOf(const TztrRecord *buffer) const;
    void fillBuffer(TztrRecord *buffer, TztrRecord *stored);
    void insertRecord(TztrRecord *buffer, bool append);
    // Takes stored (a copy no store holds yet) into the store and tells every index of it.
    void storeNewRecord(TztrRecord *stored, int position);
    void postEdit(TztrRecord *buffer);
    void keepPreviousVersion(TztrRecord *stored, bool always);
    void readFieldValue(const TztrRecord *record, TField *field, void *buffer);
    void writeFieldValue(TztrRecord *record, TField *field, const void *buffer);
    std::vector<TztrFieldSpec> fieldSpecs() const;
    void changeLocale(const std::function<void()> &change);
    // Sorts the indexes again after a change of their comparison (those of every table of the
    // store, or of this table only), each table keeping its current record; a sort that fails
    // undoes the change.
    void resortIndexes(const std::function<void()> &undoChange, bool wholeStore);
    void keepRecordAfterResort(int recordID);
    void rebuildIndexesFromDefs();
    void selectIndex(TztrIndex *index);
    void emptyCursor();
    void refreshIfBrowsing();
    void takePrivateStore();
    // A field like source, with its settings, for a view or a copied structure.
    TField *addFieldLike(const TField &source);
    void loadFormData();
    void ownerStoreClosing();
    TztrBookmark bookmarkOf(const TBookmark &bookmark) const;
    void compileFilter();
    const TztrBoundFilter *boundFilter() const
    {
        return compiledFilter_ ? compiledFilter_->Bound.get() : nullptr;
    }
    bool masterDetailApplies() const;
    bool inRange(const TztrRecord *record);
    void fillMasterKey();
    const TztrFieldList &detailKeyList() const;
    void freeScratchRecords();
    const TztrFieldList &locateFieldList(const std::string &keyFields);
    void populateKeyRecord(TztrRecord *record, const TztrFieldList &fields, const Variant &values);

    // While one lives, field reads reach record instead of the record buffers, in state (writes
    // too, in dsSetKey).
    class RecordRedirect {
    public:
        RecordRedirect(TztrCustomMemTable &table, TztrRecord *record, TDataSetState state);
        ~RecordRedirect();
        RecordRedirect(const RecordRedirect &) = delete;
        RecordRedirect &operator=(const RecordRedirect &) = delete;

    private:
        TztrCustomMemTable &table_;
        TztrRecord *previous_;
        TDataSetState state_;
    };

    std::unique_ptr<TztrCommon> privateStore_;
    TztrCommon *common_ = nullptr;
    int attachIndex_ = 0;
    TztrCustomMemTable *attachedTo_ = nullptr;
    TztrIndexes indexes_;
    TztrIndex *currentIndex_ = nullptr;
    // The record a search just found at a place of the current index, good while the index's
    // entries stay as they were: fetching it then waits on one memory read less.
    struct FoundRecord
    {
        std::uint64_t entriesVersion = 0;
        int position = -1;
        TztrRecord *record = nullptr;
    };
    FoundRecord found_;
    TztrIndex *sortIndex_ = nullptr;
    int position_ = -1;
    int repositionPlace_ = -1;
    int beforeInsertPosition_ = -1;
    TztrFieldList indexFieldList_;
    // The filter text compiled and bound to this table's fields; none for a blank text.
    std::shared_ptr<const TztrCompiledFilter> compiledFilter_;
    TztrCompiledFilters compiledFilters_;
    TztrIndexedFilter indexedFilter_{*this};
    TztrMasterDataLink masterLink_{this};
    std::string detailFields_;
    TztrFieldList detailFieldList_;
    // The master's key values in the detail's key fields, and how many of those fields count.
    TztrRecord *masterKeyRecord_ = nullptr;
    int masterKeyCount_ = 0;
    bool masterDetailEnabled_ = true;
    TztrRecord *rangeStart_ = nullptr;
    TztrRecord *rangeEnd_ = nullptr;
    int rangeStartCount_ = 0;
    int rangeEndCount_ = 0;
    bool rangeActive_ = false;
    bool rangeIgnoreNullKeyValues_ = true;
    // The key fields of the last Locate, parsed once for as long as the table stays open.
    std::string locateFieldNames_;
    TztrFieldList locateFields_;
    TField *autoIncField_ = nullptr;
    // The stored record a filter test or an index fill reads its fields from.
    TztrRecord *recordUnderTest_ = nullptr;
    bool cursorOpen_ = false;
    bool mustFilter_ = false;
    bool attachedAutoRefresh_ = true;
    bool enableIndexes_ = true;
    bool autoAddIndexes_ = false;
    bool autoReposition_ = false;
    bool recalcOnIndex_ = false;
    bool recalcOnFetch_ = true;
    bool readOnly_ = false;
    std::string indexFieldNames_;
    std::string indexName_;
    std::string sortFields_;
    TztrMemTableCompareOptions sortOptions_;
    TztrProgressCodes progressFlags_{mtpcLoad, mtpcSave, mtpcCopy};
    TztrCustomDeltaHandler *deltaHandler_ = nullptr;
    bool storeDataOnForm_ = false;
    bool designActivation_ = true;
    // Set while a form that loaded keeps a table stored as active closed.
    bool refuseOpen_ = false;
    // The records read with the form, loaded at the next opening.
    std::unique_ptr<TMemoryStream> formData_;
    TztrOnCompareFields onCompareFields_;
    // A blob stream that could not write its value back, raised by the next post.
    std::exception_ptr blobWriteFailure_;
};
