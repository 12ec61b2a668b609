#pragma once

// The record store: every record of a memory table and of the tables attached to it, their
// layout, the record IDs that make bookmarks safe, the comparison locale, the autoincrement
// bounds, versioning and the one lock that guards it all.

#include "memtable/ztrRecord.h"
#include "memtable/ztrTypes.h"
#include "platform/LocaleCompare.h"

#include <cstdint>
#include <mutex>
#include <vector>

class TField;
class TztrCustomMemTable;

// What an index change is about, as the store broadcasts it to every table sharing it.
enum class TztrChangeKind { Insert, Edit, Delete };

class TztrCommon {
public:
    explicit TztrCommon(TztrCustomMemTable *owner);
    ~TztrCommon();
    TztrCommon(const TztrCommon &) = delete;
    TztrCommon &operator=(const TztrCommon &) = delete;

    TztrCustomMemTable *Owner() const { return owner_; }

    // Layout and record memory.
    void LayoutRecord(const std::vector<TztrFieldSpec> &fields, int calcAreaSize,
                      const TztrSetupFieldHook &setupField);
    TztrRecordLayout &Layout() { return layout_; }
    const TztrRecordLayout &Layout() const { return layout_; }

    // Where a field's null byte lies in a record's data area: by its field number, or for a
    // calculated or lookup field in the calculated area.
    int FieldAreaOffset(const TField &field) const;
    std::uint8_t *FieldNullByte(TztrRecord *record, const TField &field) const
    {
        return record->Data() + FieldAreaOffset(field);
    }
    const std::uint8_t *FieldNullByte(const TztrRecord *record, const TField &field) const
    {
        return record->Data() + FieldAreaOffset(field);
    }

    // Stored records, indexed by RecordID; a freed slot holds none.
    int RecordCount() const { return static_cast<int>(records_.size()); }
    TztrRecord *Record(int recordID) const;
    void AddRecord(TztrRecord *record);
    void RemoveRecord(TztrRecord *record);
    void ClearRecords();
    // The value block of an indirect field: the record's own, else that of the stored record
    // the record is a copy of. Null when the field is null.
    const std::uint8_t *IndirectValue(const TztrRecord *record, int fieldNo) const;

    // Bookmarks stay valid only while the store keeps its TableID and the record lives.
    std::int32_t TableID() const { return tableID_; }
    TztrBookmark BookmarkOf(const TztrRecord *stored) const;
    TztrRecord *RecordOfBookmark(const TztrBookmark &bookmark) const;

    // Locale of text comparison.
    LCID LocaleID() const { return localeID_; }
    void SetLocaleID(LCID value);
    int LanguageID() const { return languageID_; }
    int SubLanguageID() const { return subLanguageID_; }
    int SortID() const { return sortID_; }
    void SetLanguageID(int value);
    void SetSubLanguageID(int value);
    void SetSortID(int value);

    // Autoincrement bounds.
    int AutoIncMinValue() const { return autoIncMin_; }
    void SetAutoIncMinValue(int value);
    // Wider than the field, so that the number after the largest key is known to be too large.
    std::int64_t AutoIncMax() const { return autoIncMax_; }
    void SetAutoIncMax(std::int64_t value);

    TztrPerformance Performance() const { return performance_; }
    void SetPerformance(TztrPerformance value);

    // Tables sharing the store; a table's place number is its attach index.
    int AttachMaxCount() const { return static_cast<int>(attached_.size()); }
    void SetAttachMaxCount(int value);
    int AttachTable(TztrCustomMemTable *table);
    void DetachTable(TztrCustomMemTable *table);
    const std::vector<TztrCustomMemTable *> &AttachedTables() const { return attached_; }
    int AttachedCount() const;
    bool AnyAttachedActive() const;

    bool Standalone() const { return standalone_; }
    void SetStandalone(bool value);

    // Versions and transactions.
    bool EnableVersioning() const { return enableVersioning_; }
    void SetEnableVersioning(bool value);
    TztrVersioningMode VersioningMode() const { return versioningMode_; }
    void SetVersioningMode(TztrVersioningMode value);
    int TransactionLevel() const { return transactionLevel_; }
    void IncTransactionLevel();
    void CommitTransactionLevel();
    void RollbackTransactionLevel();
    bool DataModified() const { return dataModified_; }
    void SetDataModified(bool value) { dataModified_ = value; }
    bool LockedByTable() const { return lockedByTable_; }
    void SetLockedByTable(bool value) { lockedByTable_ = value; }

    // The re-entrant lock; a standalone store skips it.
    void Lock() const;
    void Unlock() const;

    // Broadcasts to the active tables of the store.
    void CloseTables(TztrCustomMemTable *except);
    void RefreshTables(TztrCustomMemTable *except);
    void RebuildAllIndexes();
    void MarkAllIndexesUnordered();
    void RebuildIndexDefs();
    void ReflectChange(TztrChangeKind kind, TztrRecord *oldRecord, bool versioned, int position,
                       TztrRecord *record, TztrCustomMemTable *caller);

private:
    void drawTableID();
    void rebuildLocaleID();
    void checkNoActiveTable() const;

    TztrCustomMemTable *owner_;
    TztrRecordLayout layout_;
    std::vector<TztrRecord *> records_;
    std::vector<std::int32_t> freeIDs_;
    std::vector<TztrCustomMemTable *> attached_;
    mutable std::recursive_mutex mutex_;
    bool standalone_ = false;
    LCID localeID_ = 0;
    int languageID_ = 0;
    int subLanguageID_ = 0;
    int sortID_ = 0;
    int autoIncMin_ = 0;
    std::int64_t autoIncMax_ = -1;
    TztrPerformance performance_ = mtpfFast;
    bool enableVersioning_ = false;
    TztrVersioningMode versioningMode_ = mtvm1SinceCheckPoint;
    int transactionLevel_ = 0;
    bool lockedByTable_ = false;
    bool dataModified_ = false;
    std::int32_t nextRecordID_ = 0;
    std::int32_t nextUniqueRecordID_ = 0;
    std::int32_t tableID_ = -1;
};

// Holds the store's lock for a scope.
class TztrStoreLock {
public:
    explicit TztrStoreLock(const TztrCommon &store) : store_(store) { store_.Lock(); }
    ~TztrStoreLock() { store_.Unlock(); }
    TztrStoreLock(const TztrStoreLock &) = delete;
    TztrStoreLock &operator=(const TztrStoreLock &) = delete;

private:
    const TztrCommon &store_;
};
