#pragma once

// Indexes: ordered lists of references to the records of the shared store, through which a
// table reads its records, and the set of them each table keeps.

#include "memtable/ztrCommon.h"
#include "memtable/ztrFieldList.h"
#include "memtable/ztrIndexEntries.h"
#include "memtable/ztrTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TIndexDef;
class TztrBoundFilter;
class TztrCustomMemTable;
class TztrExprParser;
class TztrIndex;

// Decides whether a record belongs in an index with a filter; field reads reach that record.
using TztrOnFilterIndex = std::function<void(TztrCustomMemTable &table, const TztrIndex &index, bool &accept)>;

inline constexpr const char *RowOrderIndexName = "__MT__ROWORDER";
inline constexpr const char *DefaultSortIndexName = "__MT__DEFSORT";
inline constexpr const char *AutoIndexPrefix = "__MT__AUTO_";

class TztrIndex {
public:
    enum class Kind { RowOrder, Sorted };

    TztrIndex(const std::string &name, TztrCustomMemTable &table, const std::string &fieldNames,
              TztrMemTableCompareOptions options, Kind kind);
    TztrIndex(const TIndexDef &definition, TztrCustomMemTable &table);
    ~TztrIndex();

    const std::string &Name() const { return name_; }
    const std::string &FieldNames() const { return fieldNames_; }
    const TztrFieldList &FieldList() const { return fieldList_; }
    TztrMemTableCompareOptions Options() const { return options_; }
    bool IsRowOrder() const { return kind_ == Kind::RowOrder; }
    bool IsOrdered() const { return ordered_; }
    void SetOrdered(bool ordered) { ordered_ = ordered; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    TztrUpdateStatusSet StatusSet() const { return statusSet_; }
    void SetStatusSet(TztrUpdateStatusSet statuses) { statusSet_ = statuses; }
    int Position() const { return position_; }
    void SetPosition(int position) { position_ = position; }

    // An index with a filter holds only the records that pass its own event, the table's
    // OnFilterIndex and its expression, tested in that order, from now until the table closes
    // (opening makes the indexes anew from IndexDefs). An expression names fields of the open
    // table.
    void SetFilter(const std::string &expression, TztrOnFilterIndex onFilter);
    bool HasFilter() const { return hasFilter_; }
    const TztrOnFilterIndex &OnFilter() const { return onFilter_; }
    // The compiled expression, none when the filter has none.
    const TztrBoundFilter *FilterExpression() const { return boundFilter_.get(); }

    int Count() const { return entries_.Count(); }
    TztrRecord *Entry(int position) const { return entries_.At(position); }
    // Changes whenever an entry is added, removed or moved.
    std::uint64_t EntriesVersion() const { return entries_.Version(); }

    // Refuses equal keys of a unique index with EMemTableDupKey.
    void SortIndex();
    void Rebuild();
    // From the records IndexedRecords gave.
    void Rebuild(const std::vector<TztrRecord *> &records);
    // The store's records this index holds, in store order.
    std::vector<TztrRecord *> IndexedRecords() const;
    // True when IndexedRecords of both give the same records.
    bool TakesSameRecordsAs(const TztrIndex &other) const;
    void Clear();

    // Field comparison of two records in index order; with tieBreak equal keys are told apart by
    // their position numbers.
    int CompareIndexRecords(const TztrFieldList &fieldList, const TztrRecord *keyRecord,
                            const TztrRecord *record, bool partial, bool tieBreak) const;
    // Finds the first entry equal to the key (or, with nearest, the first not below it). The
    // position is the entry found, else where the key would go.
    bool Search(const TztrFieldList *fieldList, const TztrRecord *keyRecord, int &position, bool respectFilter,
                bool nearest);
    // Finds the entry holding exactly this stored record.
    bool SearchRecord(const TztrRecord *record, int &position);
    bool SearchRecordID(int recordID, int &position);
    // SearchRecord for a stored record, trying first the place a table last gave it.
    bool SearchStoredRecord(const TztrRecord *record, int &position);
    // The entries [first, end) equal to the key over fieldList, on an ordered index whose own
    // fields begin with those; no events, no filter.
    std::pair<int, int> EqualRange(const TztrFieldList &fieldList, const TztrRecord *keyRecord) const;

    // Follows one insert, edit or delete of the store. position is the calling table's cursor
    // position when this index belongs to that table, else -1.
    void ReflectChange(TztrChangeKind kind, TztrRecord *oldRecord, bool versioned, int position,
                       TztrRecord *record);

private:
    // The sort key of a search key, known when the index keeps keys and searches its own fields.
    struct SearchKey {
        SearchKey() = default;
        SearchKey(const SearchKey &) = delete;
        SearchKey &operator=(const SearchKey &) = delete;

        std::string Bytes;
        std::optional<TztrIndexKey> Key; // on Bytes
    };

    bool isTableCurrent() const;
    void loadEntries(const std::vector<TztrRecord *> &records);
    // Fills the entries with the records in index order; true when a unique index then holds
    // equal keys.
    bool placeInOrder(const std::vector<TztrRecord *> &records);
    bool accepts(const TztrRecord *record) const { return statusSet_.Contains(TUpdateStatus(record->UpdateStatus)); }
    bool passesFilter(TztrRecord *record) const;
    // Entries carry their sort keys while every one of them has its key and the keys' order
    // holds (the locale and the comparison event unchanged since).
    void startSortKeys();
    bool sortKeysUsable() const;
    bool ordersAsOwnFields(const TztrFieldList &fieldList) const;
    // Whether the keys of these leading fields are the first bytes of the entries' keys, few
    // enough for their prefixes to hold.
    bool keyBeginsEntryPrefixes(const TztrFieldList &fieldList) const;
    void ownSearchKey(const TztrFieldList &fieldList, const TztrRecord *keyRecord, SearchKey &key) const;
    int compareToEntry(const TztrFieldList &fieldList, const TztrRecord *keyRecord, const SearchKey &key,
                       const TztrIndexEntry &entry) const;
    int lowerBound(const TztrFieldList &fieldList, const TztrRecord *keyRecord, const SearchKey &key) const;
    // partial compares each text key over its own length only, as a search for a beginning does.
    bool search(const TztrFieldList &fieldList, const TztrRecord *keyRecord, SearchKey &key, int &position,
                bool respectFilter, bool nearest, bool partial);
    bool binarySearch(const TztrFieldList &fieldList, const TztrRecord *keyRecord, const SearchKey &key,
                      int &position, bool respectFilter, bool nearest);
    bool sequentialSearch(const TztrFieldList &fieldList, const TztrRecord *keyRecord, int &position,
                          bool respectFilter, bool nearest, bool partial);
    // Where a record with these values goes: before the first entry not below them.
    int insertionPlace(const TztrRecord *values, SearchKey &key);
    void insertAt(int place, TztrRecord *stored, const TztrRecord *values, SearchKey &key);
    void reflectInsert(int position, TztrRecord *stored);
    void reflectEdit(int position, TztrRecord *stored, TztrRecord *newValues);
    void reflectDelete(bool versioned, int position, TztrRecord *stored);
    bool hasEqualNeighbours() const;
    // Where a record goes among records of equal keys: by its position number and RecordID.
    std::int64_t tieRank(const TztrRecord *record, const TztrFieldList &fieldList) const;
    std::int64_t tieRank(const TztrRecord *record) const;

    std::string name_;
    TztrCustomMemTable &table_;
    std::string fieldNames_;
    TztrFieldList fieldList_;
    TztrMemTableCompareOptions options_;
    Kind kind_;
    bool ordered_ = false;
    bool enabled_ = true;
    int position_ = -1;
    TztrUpdateStatusSet statusSet_{usUnmodified, usModified, usInserted};
    bool hasFilter_ = false;
    TztrOnFilterIndex onFilter_;
    std::unique_ptr<TztrExprParser> filterExpression_;
    // Bound to the expression above, so declared after it and freed first.
    std::unique_ptr<TztrBoundFilter> boundFilter_;
    TztrIndexEntries entries_;
    bool sortKeys_ = false;
    LCID sortKeyLocale_ = 0;
    // The entries' version while entry i holds the record of ID i, as in a row order that was
    // only ever appended to; 0 when they may not. Any other change of the entries ends it.
    std::uint64_t idPlacesVersion_ = 0;
};

class TztrIndexes {
public:
    explicit TztrIndexes(TztrCustomMemTable &table);

    TztrIndex *RowOrderIndex() const { return rowOrder_; }
    int Count() const { return static_cast<int>(indexes_.size()); }
    TztrIndex *Index(int position) const { return indexes_[position].get(); }

    TztrIndex *Add(std::unique_ptr<TztrIndex> index);
    TztrIndex *AddIndex(const TIndexDef &definition);
    // The row-order index is never deleted.
    void Delete(TztrIndex *index);
    // Every index except the row-order index.
    void Clear();
    TztrIndex *IndexByName(const std::string &name) const;
    TztrIndex *GetByFieldNames(const std::string &fieldNames) const;

    void ReBuildAll();
    void MarkAllUnordered();
    void EmptyAll();
    // Refuses a record whose key another record already holds in a unique index.
    void CheckRecordUniqueness(const TztrRecord *record, const TztrRecord *recordToIgnore);
    void ReflectChange(TztrChangeKind kind, TztrRecord *oldRecord, bool versioned, int position,
                       TztrRecord *record);

private:
    void renumber();

    TztrCustomMemTable &table_;
    std::vector<std::unique_ptr<TztrIndex>> indexes_;
    TztrIndex *rowOrder_;
};
