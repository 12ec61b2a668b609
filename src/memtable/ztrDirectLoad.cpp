#include "memtable/ztrDirectLoad.h"

#include "platform/Field.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

namespace {

// Types whose values live in the record itself or in one value block, written by one field write.
bool isPlainType(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
    case ftBoolean:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
    case ftBytes:
    case ftVarBytes:
        return true;
    default:
        return false;
    }
}

bool quietField(const TField &field)
{
    return field.FieldKind() == fkData && field.FieldNo() > 0 && isPlainType(field.DataType()) &&
           !field.OnValidate && !field.OnChange && field.DefaultExpression().empty();
}

} // namespace

bool TztrDirectLoadRecord::Applies(const TztrCustomMemTable &table)
{
    return table.Loading() && unwatched(table);
}

bool TztrDirectLoadRecord::AppliesToAppend(const TztrCustomMemTable &table)
{
    if (table.Loading() || !table.ControlsDisabled() || table.autoIncField_ || !unwatched(table))
        return false;
    for (const auto &field : table.Fields()) {
        if (field->Required())
            return false;
    }
    return true;
}

bool TztrDirectLoadRecord::unwatched(const TztrCustomMemTable &table)
{
    if (table.State() != dsBrowse || !table.CanModify() || table.masterDetailApplies())
        return false;
    // The cancel and error events would hear of a refused line.
    if (table.BeforeInsert || table.AfterInsert || table.OnNewRecord || table.BeforePost || table.AfterPost ||
        table.BeforeCancel || table.AfterCancel || table.OnPostError || table.BeforeScroll ||
        table.AfterScroll || table.OnCalcFields || table.OnFilterRecord)
        return false;
    for (const TztrCustomMemTable *other : table.common_->AttachedTables()) {
        if (other && other != &table && other->Active())
            return false;
    }
    for (const auto &field : table.Fields()) {
        if (!quietField(*field))
            return false;
    }
    return true;
}

TztrDirectLoadRecord::TztrDirectLoadRecord(TztrCustomMemTable &table)
    : table_(table), record_(table.common_->Layout().AllocateRecord())
{
    redirect_.emplace(table_, record_, dsSetKey);
}

TztrDirectLoadRecord::~TztrDirectLoadRecord()
{
    redirect_.reset();
    if (record_)
        table_.common_->Layout().FreeRecord(record_, true, false);
}

bool TztrDirectLoadRecord::WriteString(const TField &field, const std::string &value)
{
    const TztrCommon &store = *table_.common_;
    if (store.Layout().IsIndirect(field.FieldNo()))
        return false;
    std::uint8_t *nullByte = store.FieldNullByte(record_, field);
    if (!field.StringToNative(value, nullByte + 1))
        return false;
    *nullByte = NullByteValue;
    return true;
}

bool TztrDirectLoadRecord::RequiredFieldsFilled() const
{
    for (const auto &field : table_.Fields()) {
        if (field->Required() && !field->ReadOnly() && field->IsNull())
            return false;
    }
    return true;
}

void TztrDirectLoadRecord::StoreAndRepeat()
{
    const TztrRecordLayout &layout = table_.common_->Layout();
    // Copied while the record is still new: storing gives it its place and number.
    std::unique_ptr<TztrRecord, std::function<void(TztrRecord *)>> next(
        layout.DuplicateRecord(record_, true), [&layout](TztrRecord *record) { layout.FreeRecord(record, true, false); });
    Store();
    record_ = next.release();
    redirect_.emplace(table_, record_, dsSetKey);
}

void TztrDirectLoadRecord::Store()
{
    TztrCommon &store = *table_.common_;
    TztrStoreLock lock(store);
    redirect_.reset();
    // Loaded records keep their keys; the next new record must come after the largest.
    if (const TField *autoInc = table_.autoIncField_) {
        const std::uint8_t *nullByte = store.FieldNullByte(record_, *autoInc);
        std::int32_t key = 0;
        std::memcpy(&key, nullByte + 1, sizeof key);
        if (*nullByte != 0 && key > store.AutoIncMax())
            store.SetAutoIncMax(key);
    }
    table_.indexes_.CheckRecordUniqueness(record_, nullptr);
    table_.storeNewRecord(std::exchange(record_, nullptr), -1);
}
