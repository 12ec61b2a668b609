#include "memtable/ztrRecord.h"

#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldValue.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

bool livesOutsideRecord(const TztrFieldSpec &field, TztrPerformance performance)
{
    // Long texts and byte strings leave the record so that copying and sorting move little memory.
    constexpr int LongValueSize = 13;
    return isBlobType(field.DataType) || (performance != mtpfFast && IsIndirectCandidateType(field.DataType) &&
                                          field.Size >= LongValueSize);
}

} // namespace

void CheckStorableFields(const std::vector<TztrFieldSpec> &fields)
{
    for (const TztrFieldSpec &field : fields) {
        if (!IsStorableFieldType(field.DataType))
            throw EMemTableError(unsupportedFieldDefMessage(field.Name, field.DisplayText, field.DataType));
    }
}

void TztrRecordLayout::Layout(const std::vector<TztrFieldSpec> &fields, int calcAreaSize, int attachMaxCount,
                              TztrPerformance performance, const TztrSetupFieldHook &setupField)
{
    if (fields.empty())
        throw EMemTableError(SNoFields);
    if (fields.size() > MaxFields)
        throw EMemTableError(STooManyFieldDefs);
    CheckStorableFields(fields);

    const int count = static_cast<int>(fields.size());
    std::vector<int> offsets(count + 1, 0);
    std::vector<TFieldType> types(count + 1, ftUnknown);
    std::vector<std::uint8_t> flags(count + 1, 0);
    std::vector<int> indirectFields;
    int running = 0;
    for (int fieldNo = 1; fieldNo <= count; ++fieldNo) {
        const TztrFieldSpec &field = fields[fieldNo - 1];
        types[fieldNo] = field.DataType;
        std::uint8_t fieldFlags = livesOutsideRecord(field, performance) ? FieldFlagIndirect : 0;
        if (!isBlobType(field.DataType) && setupField)
            setupField(fieldNo, fieldFlags);
        flags[fieldNo] = fieldFlags & ~(FieldFlagCompressed | FieldFlagWritten);
        if (flags[fieldNo] & FieldFlagIndirect) {
            indirectFields.push_back(fieldNo);
        } else {
            offsets[fieldNo] = running;
            running += FieldDataWidth(field.DataType, field.Size) + 1;
        }
    }

    calcOffset_ = running;
    calcSize_ = calcAreaSize;
    bookmarkOffset_ = calcOffset_ + calcAreaSize;
    bookmarkSize_ = attachMaxCount * BookmarkSlotSize;
    indirectOffset_ = bookmarkOffset_ + bookmarkSize_;
    int slot = indirectOffset_;
    for (int fieldNo : indirectFields) {
        if (performance == mtpfSmall)
            flags[fieldNo] |= FieldFlagCompressed;
        offsets[fieldNo] = slot;
        slot += IndirectSlotSize;
    }
    dataSize_ = slot;
    offsets_ = std::move(offsets);
    types_ = std::move(types);
    flags_ = std::move(flags);
    indirectFields_ = std::move(indirectFields);
}

void TztrRecordLayout::ClearWrittenMarks()
{
    for (std::uint8_t &fieldFlags : flags_)
        fieldFlags &= ~FieldFlagWritten;
}

TztrRecord *TztrRecordLayout::AllocateRecord() const
{
    TztrRecord *record = uninitialisedRecord();
    InitialiseRecord(record);
    return record;
}

TztrRecord *TztrRecordLayout::uninitialisedRecord() const
{
    void *memory = std::malloc(static_cast<std::size_t>(RecordSize()));
    if (!memory)
        throw std::bad_alloc();
    return static_cast<TztrRecord *>(memory);
}

void TztrRecordLayout::InitialiseRecord(TztrRecord *record) const
{
    record->RecordNo = -1;
    record->RecordID = -1;
    record->UniqueRecordID = -1;
    record->Flag = 0;
    record->UpdateStatus = usUnmodified;
    record->TransactionLevel = -1;
    record->PrevRecordVersion = nullptr;
    std::memset(record->Data(), 0, static_cast<std::size_t>(dataSize_));
}

void TztrRecordLayout::CopyRecord(const TztrRecord *source, TztrRecord *destination) const
{
    destination->RecordNo = source->RecordNo;
    destination->RecordID = source->RecordID;
    destination->UniqueRecordID = source->UniqueRecordID;
    destination->UpdateStatus = source->UpdateStatus;
    destination->PrevRecordVersion = source->PrevRecordVersion;
    destination->TransactionLevel = source->TransactionLevel;
    std::memcpy(destination->Data(), source->Data(), static_cast<std::size_t>(indirectOffset_));
    // Value blocks stay with their owner; the copy only learns whether a value is present.
    for (int fieldNo : indirectFields_)
        *FieldNullByte(destination, fieldNo) = *FieldNullByte(source, fieldNo);
}

TztrRecord *TztrRecordLayout::DuplicateRecord(const TztrRecord *source, bool withIndirectValues) const
{
    // The copy overwrites all but the indirect slots, which start empty.
    TztrRecord *copy = uninitialisedRecord();
    copy->Flag = 0;
    std::memset(copy->Data() + indirectOffset_, 0, static_cast<std::size_t>(dataSize_ - indirectOffset_));
    CopyRecord(source, copy);
    if (withIndirectValues)
        DuplicateIndirectValues(source, copy);
    return copy;
}

void TztrRecordLayout::DuplicateIndirectValues(const TztrRecord *source, TztrRecord *destination) const
{
    for (int fieldNo : indirectFields_) {
        if (const std::uint8_t *block = IndirectBlock(source, fieldNo)) {
            SetIndirectBlock(destination, fieldNo, ValueBlock::duplicate(block));
            *FieldNullByte(destination, fieldNo) = NullByteValue;
        }
    }
}

void TztrRecordLayout::MoveIndirectValues(TztrRecord *source, TztrRecord *destination) const
{
    for (int fieldNo : indirectFields_) {
        if (std::uint8_t *block = IndirectBlock(source, fieldNo)) {
            SetIndirectBlock(destination, fieldNo, block);
            SetIndirectBlock(source, fieldNo, nullptr);
            *FieldNullByte(destination, fieldNo) = NullByteValue;
        }
    }
}

void TztrRecordLayout::TransferRecord(TztrRecord *source, TztrRecord *destination) const
{
    for (int fieldNo : indirectFields_) {
        std::uint8_t *block = IndirectBlock(source, fieldNo);
        if (*FieldNullByte(source, fieldNo) == 0) {
            ValueBlock::free(IndirectBlock(destination, fieldNo));
            SetIndirectBlock(destination, fieldNo, nullptr);
        } else if (block) {
            ValueBlock::free(IndirectBlock(destination, fieldNo));
            SetIndirectBlock(destination, fieldNo, block);
            SetIndirectBlock(source, fieldNo, nullptr);
        }
        // A present value without a block of its own is the destination's value unchanged.
    }
    CopyRecord(source, destination);
}

void TztrRecordLayout::FreeIndirectValues(TztrRecord *record) const
{
    for (int fieldNo : indirectFields_) {
        ValueBlock::free(IndirectBlock(record, fieldNo));
        std::memset(FieldNullByte(record, fieldNo), 0, IndirectSlotSize);
    }
}

void TztrRecordLayout::FreeRecord(TztrRecord *record, bool freeValues, bool freeVersions) const
{
    if (!record)
        return;
    if (freeValues)
        FreeIndirectValues(record);
    if (freeVersions && record->IsStored()) {
        TztrRecord *version = record->PrevRecordVersion;
        while (version) {
            TztrRecord *older = version->PrevRecordVersion;
            FreeIndirectValues(version);
            std::free(version);
            version = older;
        }
    }
    std::free(record);
}

std::uint8_t *TztrRecordLayout::slotBlockAt(const TztrRecord *record, int slotOffset) const
{
    return readValue<std::uint8_t *>(record->Data() + slotOffset + 1);
}

void TztrRecordLayout::setSlotBlockAt(TztrRecord *record, int slotOffset, std::uint8_t *block) const
{
    writeValue(record->Data() + slotOffset + 1, block);
}

std::uint8_t *TztrRecordLayout::IndirectBlock(const TztrRecord *record, int fieldNo) const
{
    return slotBlockAt(record, offsets_[fieldNo]);
}

void TztrRecordLayout::SetIndirectBlock(TztrRecord *record, int fieldNo, std::uint8_t *block) const
{
    setSlotBlockAt(record, offsets_[fieldNo], block);
}

TztrBookmarkSlot TztrRecordLayout::BookmarkSlot(const TztrRecord *record, int attachIndex) const
{
    return readValue<TztrBookmarkSlot>(record->Data() + bookmarkOffset_ + attachIndex * BookmarkSlotSize);
}

void TztrRecordLayout::SetBookmarkSlot(TztrRecord *record, int attachIndex, const TztrBookmarkSlot &slot) const
{
    writeValue(record->Data() + bookmarkOffset_ + attachIndex * BookmarkSlotSize, slot);
}
