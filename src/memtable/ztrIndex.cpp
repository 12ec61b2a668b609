#include "memtable/ztrIndex.h"

#include "memtable/ztrBoundFilter.h"
#include "memtable/ztrCompare.h"
#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "platform/DB.h"
#include "platform/LocaleCompare.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Below this many entries a scan is cheaper than bisection.
constexpr int MinBinarySearchCount = 21;

// Records paired with their sort keys for one sort: comparing key bytes costs far less than
// comparing fields, above all texts in a locale's order. The keys share one buffer, and each
// item carries its key's first bytes so that most comparisons stay within the item list.
class KeyedRecords {
public:
    // False when some record's values have no sort key. Records of equal keys are ordered by
    // the tie rank that tieRank gives them.
    template <typename TieRank>
    bool build(TztrCustomMemTable &table, const TztrFieldList &fieldList, const std::vector<TztrRecord *> &records,
               TieRank tieRank)
    {
        items_.reserve(records.size());
        // Room for keys of a few fields, so that the buffer seldom moves.
        keys_.reserve(records.size() * 24 * static_cast<std::size_t>(fieldList.Count()));
        for (TztrRecord *record : records) {
            const std::size_t offset = keys_.size();
            if (!AppendSortKey(table, record, fieldList, keys_) || keys_.size() > UINT32_MAX)
                return false;
            const std::string_view key = std::string_view(keys_).substr(offset);
            items_.push_back({TztrIndexKey(key).Prefix,
                              static_cast<std::uint32_t>(offset),
                              static_cast<std::uint32_t>(key.size()),
                              static_cast<std::uint32_t>(items_.size()),
                              tieRank(record),
                              record});
        }
        return true;
    }

    // Records of equal keys and ranks keep their order; telling them apart by it spares the
    // buffer a stable sort needs. Records that arrive in order, as those of a file written in
    // this index's order do, cost one pass.
    void sort()
    {
        const auto before = [this](const Item &a, const Item &b) {
            const int order = compareKeys(a, b);
            if (order != 0)
                return order < 0;
            return a.tieRank != b.tieRank ? a.tieRank < b.tieRank : a.position < b.position;
        };
        if (!std::is_sorted(items_.begin(), items_.end(), before) && !sortByPrefixBytes())
            std::sort(items_.begin(), items_.end(), before);
    }

    // The records in their order, each with its key.
    void assignTo(TztrIndexEntries &entries) const
    {
        entries.AssignKeyed(items_.size(), [this](std::size_t i) {
            const Item &item = items_[i];
            return std::pair(item.record, TztrIndexKey(keyOf(item), item.prefix));
        });
    }

    bool hasEqualNeighbours() const
    {
        for (std::size_t i = 1; i < items_.size(); ++i) {
            if (compareKeys(items_[i - 1], items_[i]) == 0)
                return true;
        }
        return false;
    }

private:
    struct Item {
        TztrKeyPrefix prefix;
        std::uint32_t offset;
        std::uint32_t length;
        std::uint32_t position;
        std::int64_t tieRank;
        TztrRecord *record;
    };

    // A stable byte-wise sort on the prefixes, in place of comparisons: when every key fits its
    // prefix and the tie ranks already rise with the items' order, the keys alone decide it. A
    // byte that every key shares costs no pass. False, with nothing sorted, when it does not apply.
    bool sortByPrefixBytes()
    {
        constexpr std::size_t byteCount = TztrIndexEntry::KeyPrefixBytes;
        const bool keysFit = std::all_of(items_.begin(), items_.end(), [](const Item &item) {
            return item.length <= byteCount;
        });
        const bool ranksRise = std::is_sorted(items_.begin(), items_.end(), [](const Item &a, const Item &b) {
            return a.tieRank < b.tieRank;
        });
        if (!keysFit || !ranksRise)
            return false;
        std::vector<std::array<std::uint32_t, 256>> counts(byteCount);
        for (const Item &item : items_) {
            for (std::size_t at = 0; at < byteCount; ++at)
                ++counts[at][prefixByte(item.prefix, at)];
        }
        std::vector<Item> sorted(items_.size());
        for (std::size_t at = byteCount; at-- > 0;) {
            std::array<std::uint32_t, 256> &places = counts[at];
            if (std::find(places.begin(), places.end(), items_.size()) != places.end())
                continue;
            std::uint32_t next = 0;
            for (std::uint32_t &place : places)
                next += std::exchange(place, next);
            for (const Item &item : items_)
                sorted[places[prefixByte(item.prefix, at)]++] = item;
            items_.swap(sorted);
        }
        return true;
    }

    static unsigned prefixByte(const TztrKeyPrefix &prefix, std::size_t at)
    {
        return static_cast<unsigned>(prefix[at / 8] >> (56 - 8 * (at % 8))) & 0xFF;
    }

    std::string_view keyOf(const Item &item) const { return std::string_view(keys_).substr(item.offset, item.length); }

    // Keys that agree in prefixes holding them whole are equal: the key buffer, read out of
    // order, is left alone for the many equal keys of a non-unique index.
    int compareKeys(const Item &a, const Item &b) const
    {
        const int byPrefix = TztrIndexKey::ComparePrefixes(a.prefix, b.prefix);
        if (byPrefix != 0 || (a.length <= TztrIndexEntry::KeyPrefixBytes && b.length <= TztrIndexEntry::KeyPrefixBytes))
            return byPrefix;
        const int order = keyOf(a).compare(keyOf(b));
        return (order > 0) - (order < 0);
    }

    std::string keys_;
    std::vector<Item> items_;
};

} // namespace

TztrIndex::TztrIndex(const std::string &name, TztrCustomMemTable &table, const std::string &fieldNames,
                     TztrMemTableCompareOptions options, Kind kind)
    : name_(name), table_(table), fieldNames_(fieldNames), options_(options), kind_(kind)
{
    BuildFieldList(table, fieldList_, fieldNames);
    for (int option = 0; option < FieldOptionCount; ++option) {
        if (!options.Contains(TztrMemTableCompareOption(option)))
            continue;
        for (TztrFieldListEntry &entry : fieldList_)
            entry.Options.Include(TztrifoOption(option));
    }
    ordered_ = table.Common().RecordCount() == 0;
}

TztrIndex::TztrIndex(const TIndexDef &definition, TztrCustomMemTable &table)
    : TztrIndex(definition.Name(), table, definition.Fields(), IndexOptionsToCompareOptions(definition.Options()),
                Kind::Sorted)
{
}

TztrIndex::~TztrIndex() = default;

void TztrIndex::SetFilter(const std::string &expression, TztrOnFilterIndex onFilter)
{
    boundFilter_.reset();
    filterExpression_.reset();
    filterExpression_ = table_.CompileFilterText(expression, TFilterOptions{});
    if (filterExpression_)
        boundFilter_ = std::make_unique<TztrBoundFilter>(filterExpression_->Root(), table_);
    onFilter_ = std::move(onFilter);
    hasFilter_ = true;
    Rebuild();
}

bool TztrIndex::passesFilter(TztrRecord *record) const
{
    return !hasFilter_ || table_.FilterIndexRecord(*this, record);
}

bool TztrIndex::isTableCurrent() const
{
    return table_.CurrentIndex() == this;
}

void TztrIndex::Clear()
{
    entries_.Clear();
    ordered_ = false;
    sortKeys_ = false;
}

void TztrIndex::startSortKeys()
{
    // Calculated values may change without a change of the record, so their keys are not kept.
    sortKeys_ = !IsRowOrder() && SortKeysApply(table_, fieldList_) &&
                std::all_of(fieldList_.begin(), fieldList_.end(),
                            [](const TztrFieldListEntry &entry) { return entry.FieldNo > 0; });
    sortKeyLocale_ = table_.Common().LocaleID();
}

bool TztrIndex::sortKeysUsable() const
{
    return sortKeys_ && !table_.OnCompareFields() && table_.Common().LocaleID() == sortKeyLocale_;
}

bool TztrIndex::ordersAsOwnFields(const TztrFieldList &fieldList) const
{
    if (&fieldList == &fieldList_)
        return true;
    return std::equal(fieldList.begin(), fieldList.end(), fieldList_.begin(), fieldList_.end(),
                      [](const TztrFieldListEntry &a, const TztrFieldListEntry &b) {
                          return a.Field == b.Field && a.Options == b.Options;
                      });
}

void TztrIndex::ownSearchKey(const TztrFieldList &fieldList, const TztrRecord *keyRecord, SearchKey &key) const
{
    // A search over other fields or with other options has an order of its own.
    if (!ordersAsOwnFields(fieldList) || !sortKeysUsable())
        return;
    key.Bytes.clear();
    if (AppendSortKey(table_, keyRecord, fieldList_, key.Bytes))
        key.Key.emplace(key.Bytes);
}

std::vector<TztrRecord *> TztrIndex::IndexedRecords() const
{
    const TztrCommon &store = table_.Common();
    TztrStoreLock lock(store);
    std::vector<TztrRecord *> records;
    records.reserve(static_cast<std::size_t>(store.RecordCount()));
    const bool versioning = store.EnableVersioning();
    for (int id = 0; id < store.RecordCount(); ++id) {
        TztrRecord *record = store.Record(id);
        if (!record || !accepts(record))
            continue;
        if (record->UpdateStatus == usDeleted && !versioning)
            continue;
        if (table_.RecalcOnIndex())
            table_.RecalcStoredRecord(record);
        if (passesFilter(record))
            records.push_back(record);
    }
    return records;
}

void TztrIndex::loadEntries(const std::vector<TztrRecord *> &records)
{
    entries_.Assign(records);
    sortKeys_ = false;
    const bool everyRecord = records.size() == static_cast<std::size_t>(table_.Common().RecordCount());
    idPlacesVersion_ = IsRowOrder() && everyRecord ? entries_.Version() : 0;
}

bool TztrIndex::placeInOrder(const std::vector<TztrRecord *> &records)
{
    KeyedRecords keyed;
    const bool byKeys =
        SortKeysApply(table_, fieldList_) &&
        keyed.build(table_, fieldList_, records, [this](const TztrRecord *record) { return tieRank(record); });
    if (byKeys) {
        keyed.sort();
        keyed.assignTo(entries_);
        startSortKeys();
    } else {
        std::vector<TztrRecord *> sorted = records;
        std::stable_sort(sorted.begin(), sorted.end(), [this](const TztrRecord *a, const TztrRecord *b) {
            return CompareIndexRecords(fieldList_, a, b, false, true) < 0;
        });
        entries_.Assign(sorted);
        sortKeys_ = false;
    }
    ordered_ = true;
    return options_.Contains(mtcoUnique) && (byKeys ? keyed.hasEqualNeighbours() : hasEqualNeighbours());
}

void TztrIndex::SortIndex()
{
    if (IsRowOrder()) {
        ordered_ = true;
        return;
    }
    table_.Progress(0, mtpcSort);
    {
        TztrStoreLock lock(table_.Common());
        // Sorted apart and put back whole, so that a comparison that throws leaves every entry.
        if (placeInOrder(entries_.ToVector()))
            throw EMemTableDupKey(SDupKey);
    }
    table_.Progress(100, mtpcSort);
}

bool TztrIndex::hasEqualNeighbours() const
{
    for (int i = 1; i < Count(); ++i) {
        if (CompareIndexRecords(fieldList_, Entry(i - 1), Entry(i), false, false) == 0)
            return true;
    }
    return false;
}

void TztrIndex::Rebuild()
{
    Rebuild(IndexedRecords());
}

bool TztrIndex::TakesSameRecordsAs(const TztrIndex &other) const
{
    // A recalculation on indexing is a side effect each index's walk makes anew.
    return &table_ == &other.table_ && statusSet_ == other.statusSet_ && !table_.RecalcOnIndex() && !hasFilter_ &&
           !other.hasFilter_;
}

void TztrIndex::Rebuild(const std::vector<TztrRecord *> &records)
{
    if (IsRowOrder() || records.empty()) {
        loadEntries(records);
        ordered_ = true;
        if (records.empty())
            startSortKeys();
    } else {
        // Sorted straight from the store: an unsorted entry list would only be thrown away.
        bool duplicates = false;
        try {
            table_.Progress(0, mtpcSort);
            TztrStoreLock lock(table_.Common());
            duplicates = placeInOrder(records);
        } catch (...) {
            // The entries hold no freed record and stay unsorted, as after loading them first.
            loadEntries(records);
            throw;
        }
        if (duplicates)
            throw EMemTableDupKey(SDupKey);
        table_.Progress(100, mtpcSort);
    }
    if (isTableCurrent() && table_.CursorPosition() >= Count())
        table_.SetCursorPosition(Count() - 1);
}

int TztrIndex::CompareIndexRecords(const TztrFieldList &fieldList, const TztrRecord *keyRecord,
                                   const TztrRecord *record, bool partial, bool tieBreak) const
{
    const int result = CompareRecords(table_, keyRecord, record, fieldList, 0, false, partial, 0);
    if (result != 0 || !tieBreak)
        return result;
    const std::int64_t keyRank = tieRank(keyRecord, fieldList);
    const std::int64_t recordRank = tieRank(record, fieldList);
    return (keyRank > recordRank) - (keyRank < recordRank);
}

std::int64_t TztrIndex::tieRank(const TztrRecord *record, const TztrFieldList &fieldList) const
{
    // Records without a position come first, by RecordID; records with one are all alike.
    constexpr std::int64_t placed = std::int64_t{1} << 40;
    const std::int64_t rank = record->RecordNo >= 0 ? placed : record->RecordID;
    const bool descending = fieldList.Count() > 0 && fieldList[0].Options.Contains(mtifoDescending);
    return descending ? -rank : rank;
}

std::int64_t TztrIndex::tieRank(const TztrRecord *record) const
{
    return tieRank(record, fieldList_);
}

int TztrIndex::compareToEntry(const TztrFieldList &fieldList, const TztrRecord *keyRecord, const SearchKey &key,
                              const TztrIndexEntry &entry) const
{
    if (key.Key)
        return key.Key->CompareTo(entry);
    return CompareIndexRecords(fieldList, keyRecord, entry.Record, false, false);
}

int TztrIndex::lowerBound(const TztrFieldList &fieldList, const TztrRecord *keyRecord, const SearchKey &key) const
{
    return entries_.PartitionPoint(
        [&](const TztrIndexEntry &entry) { return compareToEntry(fieldList, keyRecord, key, entry) > 0; });
}

bool TztrIndex::binarySearch(const TztrFieldList &fieldList, const TztrRecord *keyRecord, const SearchKey &key,
                             int &position, bool respectFilter, bool nearest)
{
    position = lowerBound(fieldList, keyRecord, key);
    if (position >= Count())
        return false;
    const bool checkFilter = respectFilter && table_.MustFilter();
    for (int i = position; i < Count(); ++i) {
        const TztrIndexEntry &entry = entries_.EntryAt(i);
        const int comparison = compareToEntry(fieldList, keyRecord, key, entry);
        if (comparison != 0)
            return nearest && i == position;
        if (!checkFilter || table_.FilterRecord(entry.Record, false)) {
            position = i;
            return true;
        }
    }
    return false;
}

bool TztrIndex::sequentialSearch(const TztrFieldList &fieldList, const TztrRecord *keyRecord, int &position,
                                 bool respectFilter, bool nearest, bool partial)
{
    const bool checkFilter = respectFilter && table_.MustFilter();
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        if (i > 0 && i % 100 == 0)
            table_.Progress(i * 100 / count, mtpcSearch);
        TztrRecord *entry = Entry(i);
        if (table_.RecalcOnIndex())
            table_.RecalcStoredRecord(entry);
        const int comparison = CompareIndexRecords(fieldList, keyRecord, entry, partial, false);
        if ((comparison == 0 && (!checkFilter || table_.FilterRecord(entry, false))) ||
            (nearest && comparison < 0)) {
            position = i;
            return true;
        }
    }
    position = count;
    return false;
}

bool TztrIndex::Search(const TztrFieldList *fieldList, const TztrRecord *keyRecord, int &position,
                       bool respectFilter, bool nearest)
{
    SearchKey key;
    return search(fieldList ? *fieldList : fieldList_, keyRecord, key, position, respectFilter, nearest, nearest);
}

bool TztrIndex::search(const TztrFieldList &fieldList, const TztrRecord *keyRecord, SearchKey &key, int &position,
                       bool respectFilter, bool nearest, bool partial)
{
    table_.Progress(0, mtpcSearch);
    bool found = false;
    position = 0;
    {
        TztrStoreLock lock(table_.Common());
        if (!entries_.Empty()) {
            if (ordered_ && !IsRowOrder() && Count() >= MinBinarySearchCount) {
                if (!key.Key)
                    ownSearchKey(fieldList, keyRecord, key);
                found = binarySearch(fieldList, keyRecord, key, position, respectFilter, nearest);
            } else {
                found = sequentialSearch(fieldList, keyRecord, position, respectFilter, nearest, partial);
            }
        }
    }
    table_.Progress(100, mtpcSearch);
    return found;
}

bool TztrIndex::SearchRecordID(int recordID, int &position)
{
    auto hit = [&](int at) {
        if (at >= Count() || Entry(at)->RecordID != recordID)
            return false;
        position = at;
        return true;
    };
    auto below = [recordID](const TztrIndexEntry &entry) { return entry.Record->RecordID < recordID; };
    auto above = [recordID](const TztrIndexEntry &entry) { return entry.Record->RecordID > recordID; };
    // Row order follows the IDs as long as records were only appended; the bisections are a
    // shortcut, the scan the answer.
    if (IsRowOrder() && ordered_) {
        if (hit(entries_.PartitionPoint(below)) || hit(entries_.PartitionPoint(above)))
            return true;
    }
    return hit(entries_.FindFrom(0, [recordID](const TztrIndexEntry &entry) { return entry.Record->RecordID == recordID; }));
}

bool TztrIndex::SearchRecord(const TztrRecord *record, int &position)
{
    if (IsRowOrder() && ordered_ && Count() > 5)
        return SearchRecordID(record->RecordID, position);
    auto isRecord = [record](const TztrIndexEntry &entry) { return entry.Record == record; };
    int at = Count();
    if (!IsRowOrder() && ordered_ && Count() > 5) {
        // The record sits among the entries of its key, met without reading any of them.
        SearchKey key;
        ownSearchKey(fieldList_, record, key);
        at = entries_.FindFrom(lowerBound(fieldList_, record, key), isRecord);
    }
    // Calculated values, or a comparison that changed without a sort, can leave the record
    // elsewhere; an entry missed here would outlive its record.
    if (at >= Count())
        at = entries_.FindFrom(0, isRecord);
    if (at >= Count())
        return false;
    position = at;
    return true;
}

bool TztrIndex::SearchStoredRecord(const TztrRecord *record, int &position)
{
    // Read from the record alone: checking an entry would cost a second wait on memory.
    if (ordered_ && idPlacesVersion_ == entries_.Version() && record->RecordID < Count()) {
        position = record->RecordID;
        return true;
    }
    // As a rule the record has not moved in the index that placed it last.
    const int hint = record->RecordNo;
    if (hint >= 0 && hint < Count() && Entry(hint) == record) {
        position = hint;
        return true;
    }
    return SearchRecord(record, position);
}

bool TztrIndex::keyBeginsEntryPrefixes(const TztrFieldList &fieldList) const
{
    if (!sortKeysUsable() || fieldList.Count() > fieldList_.Count())
        return false;
    int width = 0;
    for (int i = 0; i < fieldList.Count(); ++i) {
        const TztrFieldListEntry &own = fieldList_[i];
        if (fieldList[i].Field != own.Field || fieldList[i].Options != own.Options)
            return false;
        // A text's key has no fixed end, so one text's key could begin another's.
        const int valueWidth = FixedSortKeyWidth(own.Field->DataType());
        if (valueWidth == 0)
            return false;
        width += 1 + valueWidth;
    }
    return width <= static_cast<int>(TztrIndexEntry::KeyPrefixBytes);
}

std::pair<int, int> TztrIndex::EqualRange(const TztrFieldList &fieldList, const TztrRecord *keyRecord) const
{
    std::string bytes;
    // The entries' own key bytes answer without a read of any record.
    if (keyBeginsEntryPrefixes(fieldList) && AppendSortKey(table_, keyRecord, fieldList, bytes)) {
        const TztrIndexKey key(bytes);
        const auto order = [&key](const TztrIndexEntry &entry) { return key.CompareToBeginningOf(entry); };
        return {entries_.PartitionPoint([&](const TztrIndexEntry &entry) { return order(entry) > 0; }),
                entries_.PartitionPoint([&](const TztrIndexEntry &entry) { return order(entry) >= 0; })};
    }
    const int first = entries_.PartitionPoint([&](const TztrIndexEntry &entry) {
        return CompareIndexRecords(fieldList, keyRecord, entry.Record, false, false) > 0;
    });
    int end = first;
    while (end < Count() && CompareIndexRecords(fieldList, keyRecord, Entry(end), false, false) == 0)
        ++end;
    return {first, end};
}

int TztrIndex::insertionPlace(const TztrRecord *values, SearchKey &key)
{
    int place = 0;
    // Whole keys: in a descending index "A" belongs after "ABD", though it begins it.
    search(fieldList_, values, key, place, false, true, false);
    return place;
}

void TztrIndex::insertAt(int place, TztrRecord *stored, const TztrRecord *values, SearchKey &key)
{
    const bool idPlacesKept =
        idPlacesVersion_ == entries_.Version() && place == Count() && stored->RecordID == place;
    if (sortKeys_ && !key.Key)
        ownSearchKey(fieldList_, values, key);
    if (key.Key) {
        entries_.InsertKeyed(place, stored, *key.Key);
    } else {
        // An entry without its key leaves the index comparing records until its next sort.
        sortKeys_ = false;
        entries_.Insert(place, stored);
    }
    if (idPlacesKept)
        idPlacesVersion_ = entries_.Version();
    if (isTableCurrent()) {
        stored->RecordNo = place;
        table_.RememberRepositionPlace(place);
    }
}

void TztrIndex::ReflectChange(TztrChangeKind kind, TztrRecord *oldRecord, bool versioned, int position,
                              TztrRecord *record)
{
    const bool maintained = !options_.Contains(mtcoNonMaintained) && table_.EnableIndexes() && enabled_;
    if (!maintained) {
        if (!(kind == TztrChangeKind::Edit && IsRowOrder()))
            ordered_ = false;
        // The current index must never keep a freed record, whatever its upkeep.
        if (kind == TztrChangeKind::Delete && isTableCurrent())
            reflectDelete(versioned, position, record);
        return;
    }
    switch (kind) {
    case TztrChangeKind::Insert:
        reflectInsert(position, record);
        break;
    case TztrChangeKind::Edit:
        reflectEdit(position, oldRecord, record);
        break;
    case TztrChangeKind::Delete:
        reflectDelete(versioned, position, record);
        break;
    }
}

void TztrIndex::reflectInsert(int position, TztrRecord *stored)
{
    if (!statusSet_.Contains(usInserted) || !passesFilter(stored))
        return;
    SearchKey key;
    if (!IsRowOrder()) {
        const int place = insertionPlace(stored, key);
        insertAt(place, stored, stored, key);
        return;
    }
    const bool beforeCurrent = isTableCurrent() && position >= 0 && position < Count();
    insertAt(beforeCurrent ? position : Count(), stored, stored, key);
}

void TztrIndex::reflectEdit(int position, TztrRecord *stored, TztrRecord *newValues)
{
    // Under a filter an edit may take the record in or out whatever its key does.
    if (!hasFilter_ && statusSet_.Contains(usModified) &&
        CompareIndexRecords(fieldList_, stored, newValues, false, false) == 0) {
        if (isTableCurrent())
            table_.RememberRepositionPlace(stored->RecordNo);
        return;
    }
    int oldPlace = position;
    SearchKey key;
    const bool atPosition = isTableCurrent() && position >= 0 && position < Count() && Entry(position) == stored;
    const bool takesNewValues = accepts(stored) && passesFilter(newValues);
    if (!atPosition && !SearchRecord(stored, oldPlace)) {
        if (takesNewValues) {
            const int place = IsRowOrder() ? Count() : insertionPlace(newValues, key);
            insertAt(place, stored, newValues, key);
        }
        return;
    }
    if (!takesNewValues) {
        entries_.Erase(oldPlace);
        return;
    }
    if (IsRowOrder())
        return;
    // The new place is searched while the old entry is still in place, then counted without it.
    int newPlace = insertionPlace(newValues, key);
    if (newPlace > oldPlace)
        --newPlace;
    entries_.Erase(oldPlace);
    insertAt(newPlace, stored, newValues, key);
}

void TztrIndex::reflectDelete(bool versioned, int position, TztrRecord *stored)
{
    if (versioned && statusSet_.Contains(usDeleted))
        return;
    int place = position;
    const bool atPosition = isTableCurrent() && position >= 0 && position < Count() && Entry(position) == stored;
    if (!atPosition && !(IsRowOrder() ? SearchRecordID(stored->RecordID, place) : SearchRecord(stored, place)))
        return;
    entries_.Erase(place);
    if (isTableCurrent())
        table_.RememberRepositionPlace(place);
}

TztrIndexes::TztrIndexes(TztrCustomMemTable &table) : table_(table)
{
    rowOrder_ = Add(std::make_unique<TztrIndex>(RowOrderIndexName, table, "", TztrMemTableCompareOptions{},
                                                TztrIndex::Kind::RowOrder));
}

void TztrIndexes::renumber()
{
    for (int i = 0; i < Count(); ++i)
        indexes_[i]->SetPosition(i);
}

TztrIndex *TztrIndexes::Add(std::unique_ptr<TztrIndex> index)
{
    indexes_.push_back(std::move(index));
    renumber();
    return indexes_.back().get();
}

TztrIndex *TztrIndexes::AddIndex(const TIndexDef &definition)
{
    if (definition.Name().empty() || definition.Fields().empty())
        throw EMemTableError(SMissingIndexFields);
    return Add(std::make_unique<TztrIndex>(definition, table_));
}

void TztrIndexes::Delete(TztrIndex *index)
{
    if (!index || index == rowOrder_)
        return;
    table_.IndexRemoved(index);
    std::erase_if(indexes_, [index](const std::unique_ptr<TztrIndex> &owned) { return owned.get() == index; });
    renumber();
}

void TztrIndexes::Clear()
{
    std::vector<TztrIndex *> removable;
    for (const auto &index : indexes_) {
        if (index.get() != rowOrder_)
            removable.push_back(index.get());
    }
    for (TztrIndex *index : removable)
        Delete(index);
}

TztrIndex *TztrIndexes::IndexByName(const std::string &name) const
{
    for (const auto &index : indexes_) {
        if (CompareText(index->Name(), name) == 0)
            return index.get();
    }
    return nullptr;
}

TztrIndex *TztrIndexes::GetByFieldNames(const std::string &fieldNames) const
{
    for (const auto &index : indexes_) {
        if (!index->IsRowOrder() && CompareText(index->FieldNames(), fieldNames) == 0)
            return index.get();
    }
    return nullptr;
}

void TztrIndexes::ReBuildAll()
{
    // Indexes that take the same records share one walk over the store.
    std::vector<TztrRecord *> records;
    const TztrIndex *walked = nullptr;
    for (const auto &index : indexes_) {
        if (!walked || !index->TakesSameRecordsAs(*walked)) {
            records = index->IndexedRecords();
            walked = index.get();
        }
        index->Rebuild(records);
    }
}

void TztrIndexes::MarkAllUnordered()
{
    for (const auto &index : indexes_)
        index->SetOrdered(false);
}

void TztrIndexes::EmptyAll()
{
    for (const auto &index : indexes_)
        index->Clear();
}

void TztrIndexes::CheckRecordUniqueness(const TztrRecord *record, const TztrRecord *recordToIgnore)
{
    if (!table_.EnableIndexes())
        return;
    for (const auto &index : indexes_) {
        const TztrMemTableCompareOptions options = index->Options();
        if (!index->Enabled() || options.Contains(mtcoNonMaintained) || !options.Contains(mtcoUnique))
            continue;
        // An edit that keeps the record's key cannot make it equal to another.
        if (recordToIgnore &&
            index->CompareIndexRecords(index->FieldList(), record, recordToIgnore, false, false) == 0)
            continue;
        int position = 0;
        if (index->Search(nullptr, record, position, false, false) && index->Entry(position) != recordToIgnore)
            throw EMemTableDupKey(SDupKey);
    }
}

void TztrIndexes::ReflectChange(TztrChangeKind kind, TztrRecord *oldRecord, bool versioned, int position,
                                TztrRecord *record)
{
    for (const auto &index : indexes_)
        index->ReflectChange(kind, oldRecord, versioned, position, record);
}
