#include "memtable/ztrBlobStream.h"

#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldValue.h"
#include "platform/Cp1250.h"
#include "platform/DB.h"

TztrBlobStream::TztrBlobStream(TztrCustomMemTable &table, TField &field, TBlobStreamMode mode)
    : field_(field), table_(table), common_(table.Common()), mode_(mode)
{
    if (writing()) {
        if ((field.ReadOnly() || table.ReadOnly()) && !table.Loading())
            DatabaseError(readOnlyFieldMessage(cp1250ToUtf8(field.DisplayName())), &table);
        if (table.State() != dsEdit && table.State() != dsInsert)
            DatabaseError(SNotInEditMode, &table);
    }
    record_ = table.activeRecord();
    if (mode == bmWrite)
        TruncateBlob();
    else
        ReadBlob();
}

TztrBlobStream::~TztrBlobStream()
{
    if (!modified_)
        return;
    try {
        WriteBlob();
        if (auto *blob = dynamic_cast<TBlobField *>(&field_))
            blob->SetModified(true);
        table_.DataEvent(deFieldChange, reinterpret_cast<TDataEventInfo>(&field_));
    } catch (...) {
        // A destructor cannot raise: the record's post raises the failure instead.
        table_.blobWriteFailure_ = std::current_exception();
    }
}

std::int64_t TztrBlobStream::Write(const void *buffer, std::int64_t count)
{
    if (writing())
        modified_ = true;
    return TMemoryStream::Write(buffer, count);
}

void TztrBlobStream::SetSize(std::int64_t newSize)
{
    // Cutting a written stream short changes the value as much as writing does.
    if (writing())
        modified_ = true;
    TMemoryStream::SetSize(newSize);
}

void TztrBlobStream::ReadBlob()
{
    TztrStoreLock lock(common_);
    Clear();
    const std::uint8_t *block = record_ ? common_.IndirectValue(record_, field_.FieldNo()) : nullptr;
    if (block) {
        const std::string_view bytes = ValueBlock::view(block);
        if (table_.OnDecompressBlobStream) {
            TMemoryStream compressed;
            compressed.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
            compressed.SetPosition(0);
            table_.OnDecompressBlobStream(table_, compressed, *this);
        } else {
            TMemoryStream::Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        }
    }
    SetPosition(0);
    // The stream now holds exactly what the record holds.
    modified_ = false;
}

void TztrBlobStream::TruncateBlob()
{
    // The record's value is replaced at write-back, in one step, so a write-back that fails
    // (a compression handler raising) leaves the old value instead of none.
    Clear();
    modified_ = true;
}

void TztrBlobStream::WriteBlob()
{
    TztrStoreLock lock(common_);
    std::uint8_t *block = nullptr;
    if (Size() > 0) {
        if (table_.OnCompressBlobStream) {
            TMemoryStream compressed;
            SetPosition(0);
            table_.OnCompressBlobStream(table_, *this, compressed);
            block = ValueBlock::makeFrom(compressed.Memory(), static_cast<std::uint32_t>(compressed.Size()));
        } else {
            block = ValueBlock::makeFrom(Memory(), static_cast<std::uint32_t>(Size()));
        }
    }
    // The old value goes only once the new one is ready, so a failing handler leaves it.
    const TztrRecordLayout &layout = common_.Layout();
    const int fieldNo = field_.FieldNo();
    ValueBlock::free(layout.IndirectBlock(record_, fieldNo));
    layout.SetIndirectBlock(record_, fieldNo, block);
    *layout.FieldNullByte(record_, fieldNo) = block ? NullByteValue : 0;
}

// ---- The table's side ------------------------------------------------------------------------

std::unique_ptr<TStream> TztrCustomMemTable::CreateBlobStream(TField *field, TBlobStreamMode mode)
{
    // Only blob fields have a slot of their own to stream.
    if (!field || !isBlobType(field->DataType()) || field->FieldNo() <= 0 || !IsCursorOpen())
        return nullptr;
    return std::make_unique<TztrBlobStream>(*this, *field, mode);
}

void TztrCustomMemTable::CloseBlob(TField *field)
{
    if (!isBlobType(field->DataType()) || field->FieldNo() <= 0 || !Active() || !ActiveBuffer())
        return;
    TztrRecord *buffer = reinterpret_cast<TztrRecord *>(ActiveBuffer());
    // An edited record keeps its written value until the buffer is refilled from the store.
    if (State() == dsEdit && common_->Record(buffer->RecordID))
        return;
    const TztrRecordLayout &layout = common_->Layout();
    ValueBlock::free(layout.IndirectBlock(buffer, field->FieldNo()));
    layout.SetIndirectBlock(buffer, field->FieldNo(), nullptr);
    *layout.FieldNullByte(buffer, field->FieldNo()) = 0;
}
