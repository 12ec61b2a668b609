#include "memtable/ztrLocate.h"

#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"

#include <algorithm>

namespace {

// Our variant arrays have one dimension; an array of arrays stands for a matrix.
int arrayDimensions(const Variant &values)
{
    const Variant::Array *elements = values.Get<Variant::Array>();
    if (!elements)
        return 0;
    const bool nested = std::any_of(elements->begin(), elements->end(),
                                    [](const Variant &element) { return element.IsArray(); });
    return nested ? 2 : 1;
}

bool scanCurrentIndex(TztrCustomMemTable &table, const TztrFieldList &searchList, const TztrRecord *keyRecord,
                      int &position, TztrRecord *&found, bool respectFilter, bool nearest)
{
    const TztrIndex &index = *table.CurrentIndex();
    const bool checkFilter = respectFilter && table.MustFilter();
    for (int i = 0; i < index.Count(); ++i) {
        TztrRecord *record = index.Entry(i);
        if (table.RecalcOnIndex())
            table.RecalcStoredRecord(record);
        const int comparison = index.CompareIndexRecords(searchList, keyRecord, record, nearest, false);
        if (comparison != 0 && !(nearest && comparison < 0))
            continue;
        if (checkFilter && !table.FilterRecord(record, false))
            continue;
        position = i;
        found = record;
        return true;
    }
    position = index.Count();
    return false;
}

// The found record is read whole soon after; fetching all its cache lines at once lets their
// misses overlap instead of coming one by one.
void prefetchRecord(const TztrRecord *record, int size)
{
    const auto *bytes = reinterpret_cast<const char *>(record);
    for (int offset = 0; offset < size; offset += 64)
        __builtin_prefetch(bytes + offset);
}

TztrIndex *lastIndexWithPrefix(const TztrIndexes &indexes, const TztrFieldList &searchList)
{
    for (int i = indexes.Count() - 1; i >= 0; --i) {
        TztrIndex *index = indexes.Index(i);
        // A filtered index lacks the records its filter refuses.
        if (index->IsOrdered() && !index->IsRowOrder() && !index->HasFilter() &&
            IsFieldListPrefix(index->FieldList(), searchList, true))
            return index;
    }
    return nullptr;
}

// Equality over a field is the same in the index as in the search when only the order differs.
bool sameEquality(const TztrFieldListEntry &indexed, const TztrFieldListEntry &searched)
{
    return indexed.Options - TztrifoOptions{mtifoDescending} == searched.Options;
}

// The leading fields of an ordered index that are all searched fields, compared alike; of all
// indexes the one with most such fields. Its entries of equal leading values hold every record
// the search can find, side by side.
TztrIndex *indexOnLeadingFields(const TztrIndexes &indexes, const TztrIndex &current,
                                const TztrFieldList &searchList, TztrFieldList &leading)
{
    TztrIndex *best = nullptr;
    for (int i = 0; i < indexes.Count(); ++i) {
        TztrIndex *index = indexes.Index(i);
        // It must hold every record the scan of the current index could meet.
        if (!index->IsOrdered() || index->IsRowOrder() || !index->TakesSameRecordsAs(current))
            continue;
        TztrFieldList fields;
        for (const TztrFieldListEntry &indexed : index->FieldList()) {
            const int searched = searchList.IndexOf(indexed.Field);
            if (searched < 0 || !sameEquality(indexed, searchList[searched]))
                break;
            fields.Add(indexed.Field, indexed.Options);
            fields[fields.Count() - 1] = indexed;
        }
        if (fields.Count() > leading.Count()) {
            fields.AssignTo(leading);
            best = index;
        }
    }
    return best;
}

// The record a scan of the current index would find, looked for among the few records of the
// leading index that share the key's leading values: the one standing first in the current
// index. Returns false when the scan is the cheaper way, with searched false.
bool searchByLeadingFields(TztrCustomMemTable &table, const TztrIndex &leadingIndex,
                           const TztrFieldList &leading, const TztrFieldList &searchList,
                           const TztrRecord *keyRecord, bool respectFilter, int &position, TztrRecord *&found,
                           bool &searched)
{
    TztrIndex &current = *table.CurrentIndex();
    const auto [first, end] = leadingIndex.EqualRange(leading, keyRecord);
    // Placing each candidate costs a search of the current index.
    constexpr int PlacingCost = 16;
    searched = (end - first) * PlacingCost < current.Count();
    if (!searched)
        return false;
    const bool checkFilter = respectFilter && table.MustFilter();
    position = -1;
    for (int i = first; i < end; ++i) {
        TztrRecord *record = leadingIndex.Entry(i);
        if (current.CompareIndexRecords(searchList, keyRecord, record, false, false) != 0)
            continue;
        int place = 0;
        if (!current.SearchStoredRecord(record, place) || (position >= 0 && place > position))
            continue;
        if (checkFilter && !table.FilterRecord(record, false))
            continue;
        position = place;
        found = record;
    }
    return position >= 0;
}

bool hasPartialField(const TztrFieldList &searchList)
{
    return std::any_of(searchList.begin(), searchList.end(),
                       [](const TztrFieldListEntry &entry) { return entry.Options.Contains(mtifoPartial); });
}

// Made once and kept, so the next search on the same fields bisects at once.
TztrIndex *addSearchIndex(TztrCustomMemTable &table, const TztrFieldList &searchList)
{
    std::string fieldNames;
    bool caseInsensitive = true;
    for (const TztrFieldListEntry &entry : searchList) {
        if (!fieldNames.empty())
            fieldNames += ';';
        fieldNames += entry.Field->FieldName();
        caseInsensitive = caseInsensitive && entry.Options.Contains(mtifoCaseInsensitive);
    }
    const std::string name = AutoIndexPrefix + fieldNames;
    // One made earlier that does not fit (mixed case sensitivity) is not made again.
    if (table.Indexes().IndexByName(name))
        return nullptr;
    table.AddIndex(name, fieldNames, caseInsensitive ? TIndexOptions{ixCaseInsensitive} : TIndexOptions{});
    return table.Indexes().IndexByName(name);
}

} // namespace

bool FindIndexAndSearch(TztrCustomMemTable &table, TztrFieldList &searchList, const TztrRecord *keyRecord,
                        int &position, TztrRecord *&found, bool mayAddIndex, bool respectFilter, bool nearest)
{
    TztrStoreLock lock(table.Common());
    TztrIndex &current = *table.CurrentIndex();
    TztrIndex *index = nullptr;
    // A short walk of the current order is cheaper than any index.
    const bool worthAnIndex = current.IsOrdered() && current.Count() > MaxScannedRecords;
    // Under a filter of its own the current index holds records other indexes place elsewhere.
    if (worthAnIndex && !current.HasFilter()) {
        index = lastIndexWithPrefix(table.Indexes(), searchList);
        if (!index && mayAddIndex)
            index = addSearchIndex(table, searchList);
    }
    if (!index && worthAnIndex && !nearest && !table.RecalcOnIndex() && !hasPartialField(searchList)) {
        TztrFieldList leading;
        if (const TztrIndex *leadingIndex =
                indexOnLeadingFields(table.Indexes(), current, searchList, leading)) {
            bool searched = false;
            const bool hit = searchByLeadingFields(table, *leadingIndex, leading, searchList, keyRecord,
                                                   respectFilter, position, found, searched);
            if (searched)
                return hit;
        }
    }
    if (!index)
        return scanCurrentIndex(table, searchList, keyRecord, position, found, respectFilter, nearest);
    index->FieldList().MergeOptionsInto(searchList);
    int place = 0;
    if (!index->Search(&searchList, keyRecord, place, respectFilter, nearest))
        return false;
    found = index->Entry(place);
    if (index == &current) {
        position = place;
        return true;
    }
    prefetchRecord(found, table.Common().Layout().RecordSize());
    return current.SearchStoredRecord(found, position);
}

int TztrCustomMemTable::LocateRecord(const std::string &keyFields, const Variant &keyValues,
                                     TLocateOptions options)
{
    if (arrayDimensions(keyValues) > 1)
        throw EMemTableError(SBadValuesDimension);
    CheckActive();
    CheckBrowseMode();
    CursorPosChanged();
    TztrStoreLock lock(*common_);
    TztrFieldList searchList;
    locateFieldList(keyFields).AssignTo(searchList);
    for (TztrFieldListEntry &entry : searchList) {
        if (options.Contains(loCaseInsensitive))
            entry.Options.Include(mtifoCaseInsensitive);
        if (options.Contains(loPartialKey))
            entry.Options.Include(mtifoPartial);
    }
    const TztrScratchRecord key(common_->Layout());
    populateKeyRecord(key.get(), searchList, keyValues);
    int position = -1;
    TztrRecord *found = nullptr;
    if (!FindIndexAndSearch(*this, searchList, key.get(), position, found, autoAddIndexes_, true, false))
        return -1;
    found_ = {currentIndex_->EntriesVersion(), position, found};
    return position;
}

bool TztrCustomMemTable::Locate(const std::string &keyFields, const Variant &keyValues,
                                TLocateOptions options)
{
    DoBeforeScroll();
    const int place = LocateRecord(keyFields, keyValues, options);
    SetFound(place >= 0);
    if (place < 0)
        return false;
    position_ = place;
    Resync({rmExact, rmCenter});
    DoAfterScroll();
    return true;
}

Variant TztrCustomMemTable::Lookup(const std::string &keyFields, const Variant &keyValues,
                                   const std::string &resultFields)
{
    const int place = LocateRecord(keyFields, keyValues, {});
    SetFound(place >= 0);
    if (place < 0)
        return Variant();
    const std::vector<TField *> fields = GetFieldList(resultFields);
    TztrStoreLock lock(*common_);
    TztrRecord *record = currentEntry(place);
    const RecordRedirect redirect(*this, record, dsCalcFields);
    RecalcStoredRecord(record);
    if (fields.size() == 1)
        return fields.front()->AsVariant();
    Variant::Array values;
    for (const TField *field : fields)
        values.push_back(field->AsVariant());
    return Variant(std::move(values));
}

const TztrFieldList &TztrCustomMemTable::locateFieldList(const std::string &keyFields)
{
    if (keyFields != locateFieldNames_ || locateFields_.Count() == 0) {
        // Cleared first, so that a refused text leaves nothing to be taken for it.
        locateFieldNames_.clear();
        BuildFieldList(*this, locateFields_, keyFields);
        locateFieldNames_ = keyFields;
    }
    return locateFields_;
}

void TztrCustomMemTable::PopulateKeyRecord(TztrRecord *record, const std::string &fieldNames,
                                           const Variant &values)
{
    TztrFieldList fields;
    BuildFieldList(*this, fields, fieldNames);
    populateKeyRecord(record, fields, values);
}

void TztrCustomMemTable::populateKeyRecord(TztrRecord *record, const TztrFieldList &fields,
                                           const Variant &values)
{
    if (arrayDimensions(values) > 1)
        throw EMemTableError(SBadValuesDimension);
    if (!values.IsArray() && fields.Count() > 1)
        throw EMemTableError(SMoreFieldsThanValues);
    if (fields.Count() == 0)
        throw EMemTableError(SNoFields);
    if (!values.IsArray()) {
        PopulateField(record, fields[0].Field, values);
        return;
    }
    for (int i = 0; i < fields.Count(); ++i)
        PopulateField(record, fields[i].Field, values.Element(i));
}

// The field converts the value into its stored form, as it would for the current record.
void TztrCustomMemTable::PopulateField(TztrRecord *record, TField *field, const Variant &value)
{
    TztrStoreLock lock(*common_);
    const RecordRedirect redirect(*this, record, dsSetKey);
    field->SetAsVariant(value);
}
