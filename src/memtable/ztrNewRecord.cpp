// The values a new record starts with: the master's key values in a detail table, the fields'
// default expressions and the next autoincrement number.

#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "platform/DataSource.h"

#include <cstdint>
#include <limits>

void TztrCustomMemTable::DoOnNewRecord()
{
    if (masterDetailApplies()) {
        const TztrFieldList &keys = detailKeyList();
        const std::vector<TField *> &masterFields = masterLink_.Fields();
        for (int i = 0; i < masterKeyCount_; ++i)
            keys[i].Field->SetAsVariant(masterFields[static_cast<std::size_t>(i)]->AsVariant());
    }
    for (const auto &field : Fields()) {
        if (field->DataType() != ftLargeint && !field->DefaultExpression().empty())
            field->SetAsString(field->DefaultExpression());
    }
    TDataSet::DoOnNewRecord();
    // Loaded records keep the numbers they were saved with.
    if (autoIncField_ && !KeepLoadedAutoIncValues()) {
        const std::int64_t next = common_->AutoIncMax() + 1;
        // Wrapping round would hand out keys that exist already.
        if (next > std::numeric_limits<std::int32_t>::max())
            throw EMemTableError(SAutoIncExhausted);
        autoIncField_->SetAsInteger(static_cast<int>(next));
    }
}

void TztrCustomMemTable::DoBeforePost()
{
    TDataSet::DoBeforePost();
    if (autoIncField_ && !autoIncField_->IsNull() && autoIncField_->AsInteger() > common_->AutoIncMax())
        common_->SetAutoIncMax(autoIncField_->AsInteger());
}
