#include "memtable/ztrIndexedFilter.h"

#include "memtable/ztrCompare.h"
#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrFieldValue.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <unordered_set>

// The values a passing record must hold in its leading key fields, and how the filter compares
// them.
struct TztrIndexedFilter::Key
{
    struct Field
    {
        TField *Field;
        TztrifoOptions Options;
    };
    std::vector<Field> Fields;
    // Held in Fields' places of a record of the store's layout; none for a whole number, which
    // compares alike under every option.
    const TztrRecord *Values = nullptr;
    std::int64_t WholeNumber = 0;
};

namespace {

template <typename T> bool fits(std::int64_t value)
{
    return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
}

// Stores a whole number in an integer field of record, as the field would; false when the
// field's type cannot hold it.
bool writeWholeNumber(TztrRecord &record, const TztrFieldListEntry &entry, std::int64_t value)
{
    std::uint8_t *data = record.Data() + entry.Offset;
    switch (entry.Field->DataType()) {
    case ftSmallint:
        if (!fits<std::int16_t>(value))
            return false;
        writeValue(data + 1, static_cast<std::int16_t>(value));
        break;
    case ftWord:
        if (!fits<std::uint16_t>(value))
            return false;
        writeValue(data + 1, static_cast<std::uint16_t>(value));
        break;
    case ftInteger:
    case ftAutoInc:
        if (!fits<std::int32_t>(value))
            return false;
        writeValue(data + 1, static_cast<std::int32_t>(value));
        break;
    case ftLargeint:
        writeValue(data + 1, value);
        break;
    default:
        return false;
    }
    data[0] = 1;
    return true;
}

bool isNull(const TztrRecord &record, const TztrFieldListEntry &entry)
{
    return record.Data()[entry.Offset] == 0;
}

// Options under which two values count as equal; the order's direction does not matter.
bool sameEquality(TztrifoOptions a, TztrifoOptions b)
{
    for (TztrifoOption option : {mtifoPartial, mtifoIgnoreNull})
        if (a.Contains(option) || b.Contains(option))
            return false;
    return a.Contains(mtifoCaseInsensitive) == b.Contains(mtifoCaseInsensitive) &&
           a.Contains(mtifoIgnoreLocale) == b.Contains(mtifoIgnoreLocale);
}

bool holdsEveryStatus(TztrUpdateStatusSet whole, TztrUpdateStatusSet part)
{
    return (whole * part) == part;
}

TztrFieldList leadingFields(const TztrFieldList &fields, std::size_t count)
{
    TztrFieldList leading;
    for (std::size_t i = 0; i < count; ++i)
        leading[leading.Add(fields[static_cast<int>(i)].Field, {})] = fields[static_cast<int>(i)];
    return leading;
}

// Above this share of the current index, one pass over it beats finding each record in it.
constexpr int PassDivisor = 16;

} // namespace

// Settings under which the filter reads more than the record's stored values, or skipping a
// record would skip an event: the scan stays.
bool TztrIndexedFilter::mayUseIndexes() const
{
    return !table_.recalcOnIndex_ && !table_.OnCompareFields() && !table_.common_->EnableVersioning();
}

std::optional<TztrIndexedFilter::Key> TztrIndexedFilter::masterDetailKey() const
{
    if (!table_.masterDetailApplies() || table_.masterKeyCount_ <= 0 || !table_.masterKeyRecord_)
        return std::nullopt;
    Key key;
    key.Values = table_.masterKeyRecord_;
    const TztrFieldList &fields = table_.detailKeyList();
    for (int i = 0; i < table_.masterKeyCount_; ++i) {
        if (isNull(*key.Values, fields[i]))
            return std::nullopt;
        key.Fields.push_back({fields[i].Field, fields[i].Options});
    }
    return key;
}

// A range whose first key field starts and ends at the same value holds that value there.
std::optional<TztrIndexedFilter::Key> TztrIndexedFilter::rangeKey() const
{
    if (!table_.rangeActive_ || table_.rangeStartCount_ < 1 || table_.rangeEndCount_ < 1 ||
        table_.indexFieldList_.Count() < 1)
        return std::nullopt;
    const TztrFieldList &fields = table_.indexFieldList_;
    const TztrRecord &start = *table_.rangeStart_;
    if (isNull(start, fields[0]) || isNull(*table_.rangeEnd_, fields[0]) ||
        CompareRecords(table_, &start, table_.rangeEnd_, fields, 1, false, false, 0) != 0)
        return std::nullopt;
    Key key;
    key.Values = &start;
    key.Fields.push_back({fields[0].Field, fields[0].Options});
    return key;
}

// OnFilterRecord runs before the expression, for every record the scan passes.
bool TztrIndexedFilter::expressionDecides() const
{
    return table_.Filtered() && !table_.OnFilterRecord && table_.boundFilter();
}

std::optional<TztrFilterCandidates> TztrIndexedFilter::expressionCandidates() const
{
    for (const TztrBoundFilter::IntegerKey &required : table_.boundFilter()->RequiredIntegerKeys()) {
        Key key;
        key.WholeNumber = required.Value;
        key.Fields.push_back({required.Field, {}});
        if (const TztrIndex *lookup = indexFor(key))
            return collect(key, *lookup);
    }
    return std::nullopt;
}

// The current index when it fits, else the last ordered index that does and holds every record
// the current one can.
TztrIndex *TztrIndexedFilter::indexFor(const Key &key) const
{
    TztrIndex *current = table_.currentIndex_;
    const auto fits = [&](const TztrIndex &index) {
        const TztrFieldList &fields = index.FieldList();
        if (!index.IsOrdered() || index.IsRowOrder() || (&index != current && index.HasFilter()) ||
            fields.Count() < static_cast<int>(key.Fields.size()) ||
            !holdsEveryStatus(index.StatusSet(), current->StatusSet()))
            return false;
        for (std::size_t i = 0; i < key.Fields.size(); ++i) {
            const TztrFieldListEntry &own = fields[static_cast<int>(i)];
            if (own.Field != key.Fields[i].Field || own.FieldNo <= 0 ||
                (key.Values && !sameEquality(own.Options, key.Fields[i].Options)))
                return false;
        }
        return true;
    };
    if (fits(*current))
        return current;
    const TztrIndexes &indexes = table_.indexes_;
    for (int i = indexes.Count() - 1; i >= 0; --i) {
        if (fits(*indexes.Index(i)))
            return indexes.Index(i);
    }
    return nullptr;
}

bool TztrIndexedFilter::stillValid(const std::optional<TztrFilterCandidates> &found) const
{
    if (!found || found->Current != table_.currentIndex_ ||
        found->Current->EntriesVersion() != found->CurrentVersion || !found->Current->IsOrdered())
        return false;
    // The lookup index may have been dropped since; it is read only while the table still has it.
    const TztrIndexes &indexes = table_.indexes_;
    for (int i = 0; i < indexes.Count(); ++i) {
        if (indexes.Index(i) == found->Lookup)
            return found->Lookup->IsOrdered() && found->Lookup->EntriesVersion() == found->LookupVersion;
    }
    return false;
}

TztrIndexedFilter::Positions TztrIndexedFilter::candidates()
{
    if (!mayUseIndexes() || !table_.currentIndex_->IsOrdered())
        return nullptr;
    if (stillValid(known_))
        return known_->Positions;
    known_.reset();
    for (const auto &keyOf : {&TztrIndexedFilter::masterDetailKey, &TztrIndexedFilter::rangeKey}) {
        const std::optional<Key> key = (this->*keyOf)();
        if (TztrIndex *lookup = key ? indexFor(*key) : nullptr) {
            known_ = collect(*key, *lookup);
            return known_->Positions;
        }
    }
    if (!expressionDecides())
        return nullptr;
    // A filter text set again finds what it found last time, while the indexes are unchanged.
    std::optional<TztrFilterCandidates> &kept = table_.compiledFilter_->Candidates;
    if (!stillValid(kept))
        kept = expressionCandidates();
    if (!kept)
        return nullptr;
    known_ = kept;
    return known_->Positions;
}

TztrFilterCandidates TztrIndexedFilter::collect(const Key &key, const TztrIndex &lookup) const
{
    return {table_.currentIndex_, table_.currentIndex_->EntriesVersion(), &lookup, lookup.EntriesVersion(),
            collectPositions(key, lookup)};
}

TztrIndexedFilter::Positions TztrIndexedFilter::collectPositions(const Key &key,
                                                                 const TztrIndex &lookup) const
{
    auto positions = std::make_shared<std::vector<int>>();
    const TztrFieldList fields = leadingFields(lookup.FieldList(), key.Fields.size());
    const TztrScratchRecord scratch(table_.common_->Layout());
    const TztrRecord *values = key.Values;
    if (!values) {
        if (!writeWholeNumber(*scratch.get(), fields[0], key.WholeNumber))
            return positions; // no value of the field's type equals it
        values = scratch.get();
    }
    const auto [first, end] = lookup.EqualRange(fields, values);
    positions->reserve(static_cast<std::size_t>(end - first));
    const TztrIndex &current = *table_.currentIndex_;
    if (&lookup == &current) {
        for (int i = first; i < end; ++i)
            positions->push_back(i);
        return positions;
    }
    if ((end - first) * PassDivisor >= current.Count()) {
        std::unordered_set<const TztrRecord *> wanted;
        for (int i = first; i < end; ++i)
            wanted.insert(lookup.Entry(i));
        for (int i = 0; i < current.Count(); ++i) {
            if (wanted.contains(current.Entry(i)))
                positions->push_back(i);
        }
        return positions;
    }
    for (int i = first; i < end; ++i) {
        int place = 0;
        if (table_.currentIndex_->SearchStoredRecord(lookup.Entry(i), place))
            positions->push_back(place);
    }
    std::sort(positions->begin(), positions->end());
    return positions;
}

std::optional<bool> TztrIndexedFilter::StepForward(int &position)
{
    // Held here: the record filter's event may change the table and with it the candidates.
    const Positions places = candidates();
    if (!places)
        return std::nullopt;
    for (auto at = std::lower_bound(places->begin(), places->end(), std::max(position + 1, 0));
         at != places->end(); ++at) {
        if (table_.FilterRecord(table_.currentIndex_->Entry(*at), false)) {
            position = *at;
            return true;
        }
    }
    return false;
}

std::optional<bool> TztrIndexedFilter::StepBack(int &position)
{
    const Positions places = candidates();
    if (!places)
        return std::nullopt;
    const int start = std::min(position, table_.currentIndex_->Count());
    for (auto at = std::lower_bound(places->begin(), places->end(), start); at != places->begin();) {
        --at;
        if (table_.FilterRecord(table_.currentIndex_->Entry(*at), false)) {
            position = *at;
            return true;
        }
    }
    position = -1;
    return false;
}
