// Ranges: a table shows only the records whose key in its current index lies between a start
// key and an end key, each kept in a scratch record of the store's layout.

#include "memtable/ztrCompare.h"
#include "memtable/ztrCustomMemTable.h"

namespace {

int valueCount(const Variant &values)
{
    return values.IsArray() ? values.ElementCount() : 1;
}

// The names of the first count fields of the current index, as a field-list text.
std::string leadingFieldNames(const TztrFieldList &fields, int count)
{
    std::string names;
    for (int i = 0; i < count && i < fields.Count(); ++i) {
        if (!names.empty())
            names += ';';
        names += fields[i].Field->FieldName();
    }
    return names;
}

} // namespace

void TztrCustomMemTable::SetRange(const Variant &startValues, const Variant &endValues)
{
    CheckActive();
    CheckBrowseMode();
    const TztrRecordLayout &layout = common_->Layout();
    if (!rangeStart_)
        rangeStart_ = layout.AllocateRecord();
    if (!rangeEnd_)
        rangeEnd_ = layout.AllocateRecord();
    layout.FreeIndirectValues(rangeStart_);
    layout.InitialiseRecord(rangeStart_);
    layout.FreeIndirectValues(rangeEnd_);
    layout.InitialiseRecord(rangeEnd_);
    SetRangeActive(false);
    PopulateKeyRecord(rangeStart_, leadingFieldNames(indexFieldList_, valueCount(startValues)), startValues);
    PopulateKeyRecord(rangeEnd_, leadingFieldNames(indexFieldList_, valueCount(endValues)), endValues);
    rangeStartCount_ = valueCount(startValues);
    rangeEndCount_ = valueCount(endValues);
    SetRangeActive(true);
    First();
}

void TztrCustomMemTable::CancelRange()
{
    if (!rangeActive_)
        return;
    SetRangeActive(false);
    if (Active())
        First();
}

void TztrCustomMemTable::SetRangeActive(bool value)
{
    rangeActive_ = value && rangeStart_ && rangeEnd_;
    UpdateFilteredState();
}

void TztrCustomMemTable::SetRangeIgnoreNullKeyValues(bool value)
{
    rangeIgnoreNullKeyValues_ = value;
    if (rangeActive_)
        First();
}

// Each field on its own: no start field above the record's, no end field below it.
bool TztrCustomMemTable::inRange(const TztrRecord *record)
{
    if (CompareRecords(*this, rangeStart_, record, indexFieldList_, rangeStartCount_, rangeIgnoreNullKeyValues_,
                       false, 2) > 0)
        return false;
    return CompareRecords(*this, rangeEnd_, record, indexFieldList_, rangeEndCount_, rangeIgnoreNullKeyValues_,
                          false, 1) >= 0;
}
