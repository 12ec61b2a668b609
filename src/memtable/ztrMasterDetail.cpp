// Master/detail: a detail table keeps the master's current key values in a key record of its
// own and lets only the records whose key fields equal them through its record filter.

#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "platform/DB.h"
#include "platform/DataSource.h"

#include <algorithm>

void TztrCustomMemTable::SetMasterSource(TDataSource *source)
{
    if (source && IsLinkedTo(source))
        DatabaseError(SCircularMasterDetail, this);
    masterLink_.SetDataSource(source);
    UpdateFilteredState();
}

void TztrCustomMemTable::SetMasterFields(const std::string &fieldNames)
{
    masterLink_.SetFieldNames(fieldNames);
    UpdateFilteredState();
}

void TztrCustomMemTable::SetDetailFields(const std::string &fieldNames)
{
    if (cursorOpen_)
        BuildFieldList(*this, detailFieldList_, fieldNames);
    detailFields_ = fieldNames;
    if (cursorOpen_ && masterLink_.Active() && !masterLink_.Fields().empty())
        MasterChanged();
    else
        UpdateFilteredState();
}

void TztrCustomMemTable::SetMasterDetailEnabled(bool value)
{
    masterDetailEnabled_ = value;
    UpdateFilteredState();
}

bool TztrCustomMemTable::masterDetailApplies() const
{
    return masterDetailEnabled_ && masterLink_.Active() && masterLink_.DataSource() &&
           (detailFieldList_.Count() > 0 || !masterLink_.Fields().empty());
}

const TztrFieldList &TztrCustomMemTable::detailKeyList() const
{
    return detailFieldList_.Count() > 0 ? detailFieldList_ : indexFieldList_;
}

// Only as many key fields count as both sides have: a detail index of one field follows the
// first master field alone.
void TztrCustomMemTable::fillMasterKey()
{
    indexedFilter_.Forget();
    masterKeyCount_ = 0;
    if (!cursorOpen_ || !masterLink_.Active())
        return;
    const std::vector<TField *> &masterFields = masterLink_.Fields();
    const TztrFieldList &keys = detailKeyList();
    const int count = std::min(static_cast<int>(masterFields.size()), keys.Count());
    if (count == 0)
        return;
    if (!masterKeyRecord_)
        masterKeyRecord_ = common_->Layout().AllocateRecord();
    for (int i = 0; i < count; ++i)
        PopulateField(masterKeyRecord_, keys[i].Field, masterFields[static_cast<std::size_t>(i)]->AsVariant());
    masterKeyCount_ = count;
}

// The master key, the range keys and the parsed locate fields belong to one opening.
void TztrCustomMemTable::freeScratchRecords()
{
    for (TztrRecord **scratch : {&masterKeyRecord_, &rangeStart_, &rangeEnd_}) {
        if (*scratch)
            common_->Layout().FreeRecord(*scratch, true, false);
        *scratch = nullptr;
    }
    masterKeyCount_ = 0;
    rangeActive_ = false;
    locateFieldNames_.clear();
    locateFields_.Clear();
}

void TztrCustomMemTable::MasterChanged()
{
    UpdateFilteredState();
    fillMasterKey();
    CheckBrowseMode();
    First();
}

void TztrCustomMemTable::MasterDisabled()
{
    UpdateFilteredState();
    fillMasterKey();
    First();
}
