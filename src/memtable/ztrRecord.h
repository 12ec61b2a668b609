#pragma once

// Record memory: one heap block made of a header and the data area behind it. Stored records and
// the dataset's record buffers share this form, so either can be copied into the other directly.

#include "memtable/ztrTypes.h"
#include "platform/FieldTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TztrRecord {
    std::int32_t RecordNo;
    std::int32_t RecordID;
    std::int32_t UniqueRecordID;
    std::uint8_t Flag;
    std::uint8_t UpdateStatus;
    std::int32_t TransactionLevel;
    TztrRecord *PrevRecordVersion;

    std::uint8_t *Data() { return reinterpret_cast<std::uint8_t *>(this + 1); }
    const std::uint8_t *Data() const { return reinterpret_cast<const std::uint8_t *>(this + 1); }
    bool IsStored() const { return (Flag & RecordFlagStored) != 0; }

    static constexpr std::uint8_t RecordFlagStored = 1;
};

// A bookmark names a stored record by its slot and its never-repeating number, so a bookmark to a
// record that was deleted meanwhile is recognised as stale instead of being followed.
struct TztrBookmark {
    std::int32_t RecordID;
    std::int32_t UniqueRecordID;
    std::int32_t TableID;
};

// What a table's bookmark slot in a record buffer holds: the record shown and the framework's flag.
struct TztrBookmarkSlot {
    TztrBookmark Bookmark;
    std::uint8_t Flag;
};

inline constexpr int BookmarkSlotSize = 16;
static_assert(sizeof(TztrBookmarkSlot) <= BookmarkSlotSize);

// An indirect slot: a null byte, then a reference to a value block (or none).
inline constexpr int IndirectSlotSize = 1 + sizeof(std::uint8_t *);

// Field flag bits kept per field number.
inline constexpr std::uint8_t FieldFlagIndirect = 1;
inline constexpr std::uint8_t FieldFlagCompressed = 2;
inline constexpr std::uint8_t FieldFlagWritten = 4;

// Null byte values: 0 is null; writes and copies store 2 for a value.
inline constexpr std::uint8_t NullByteValue = 2;

// One field definition as the layout sees it, in field-number order (children of containers
// already expanded behind their parent).
struct TztrFieldSpec {
    TFieldType DataType = ftUnknown;
    int Size = 0;
    std::string Name;        // UTF-8, for messages
    std::string DisplayText; // UTF-8, for messages
};

// Refuses the first definition of a type the store cannot hold, naming it.
void CheckStorableFields(const std::vector<TztrFieldSpec> &fields);

// Lets the table adjust a non-blob field's flag byte while the layout is made.
using TztrSetupFieldHook = std::function<void(int fieldNo, std::uint8_t &flags)>;

class TztrRecordLayout {
public:
    void Layout(const std::vector<TztrFieldSpec> &fields, int calcAreaSize, int attachMaxCount,
                TztrPerformance performance, const TztrSetupFieldHook &setupField);

    int FieldCount() const { return static_cast<int>(offsets_.size()) - 1; }
    int FieldOffset(int fieldNo) const { return offsets_[fieldNo]; }
    TFieldType FieldType(int fieldNo) const { return types_[fieldNo]; }
    std::uint8_t FieldFlags(int fieldNo) const { return flags_[fieldNo]; }
    bool IsIndirect(int fieldNo) const { return (flags_[fieldNo] & FieldFlagIndirect) != 0; }
    bool IsCompressed(int fieldNo) const { return (flags_[fieldNo] & FieldFlagCompressed) != 0; }
    void MarkWritten(int fieldNo) { flags_[fieldNo] |= FieldFlagWritten; }
    void ClearWrittenMarks();

    int CalcAreaOffset() const { return calcOffset_; }
    int CalcAreaSize() const { return calcSize_; }
    int BookmarkAreaOffset() const { return bookmarkOffset_; }
    int BookmarkAreaSize() const { return bookmarkSize_; }
    int IndirectAreaOffset() const { return indirectOffset_; }
    int IndirectFieldCount() const { return static_cast<int>(indirectFields_.size()); }
    int DataSize() const { return dataSize_; }
    int RecordSize() const { return static_cast<int>(sizeof(TztrRecord)) + dataSize_; }

    // Record memory. Allocation, copies and freeing never touch the store's bookkeeping.
    TztrRecord *AllocateRecord() const;
    void InitialiseRecord(TztrRecord *record) const;
    void CopyRecord(const TztrRecord *source, TztrRecord *destination) const;
    TztrRecord *DuplicateRecord(const TztrRecord *source, bool withIndirectValues) const;
    void TransferRecord(TztrRecord *source, TztrRecord *destination) const;
    // The source's value blocks become the destination's, which had none of its own.
    void MoveIndirectValues(TztrRecord *source, TztrRecord *destination) const;
    // The destination gets copies of the source's value blocks, in place of none of its own.
    void DuplicateIndirectValues(const TztrRecord *source, TztrRecord *destination) const;
    void FreeIndirectValues(TztrRecord *record) const;
    void FreeRecord(TztrRecord *record, bool freeValues, bool freeVersions) const;

    // The null byte of a field (fixed field or indirect slot); the data follows it.
    std::uint8_t *FieldNullByte(TztrRecord *record, int fieldNo) const { return record->Data() + offsets_[fieldNo]; }
    const std::uint8_t *FieldNullByte(const TztrRecord *record, int fieldNo) const
    {
        return record->Data() + offsets_[fieldNo];
    }

    // The value block reference of an indirect field's slot.
    std::uint8_t *IndirectBlock(const TztrRecord *record, int fieldNo) const;
    void SetIndirectBlock(TztrRecord *record, int fieldNo, std::uint8_t *block) const;

    TztrBookmarkSlot BookmarkSlot(const TztrRecord *record, int attachIndex) const;
    void SetBookmarkSlot(TztrRecord *record, int attachIndex, const TztrBookmarkSlot &slot) const;

private:
    TztrRecord *uninitialisedRecord() const;
    std::uint8_t *slotBlockAt(const TztrRecord *record, int slotOffset) const;
    void setSlotBlockAt(TztrRecord *record, int slotOffset, std::uint8_t *block) const;

    // Indexed by field number; entry 0 is unused.
    std::vector<int> offsets_{0};
    std::vector<TFieldType> types_{ftUnknown};
    std::vector<std::uint8_t> flags_{0};
    std::vector<int> indirectFields_;
    int calcOffset_ = 0;
    int calcSize_ = 0;
    int bookmarkOffset_ = 0;
    int bookmarkSize_ = 0;
    int indirectOffset_ = 0;
    int dataSize_ = 0;
};

// A record of a layout for the length of one search or lookup, freed with its values.
class TztrScratchRecord {
public:
    explicit TztrScratchRecord(const TztrRecordLayout &layout) : layout_(layout), record_(layout.AllocateRecord()) {}
    ~TztrScratchRecord() { layout_.FreeRecord(record_, true, false); }
    TztrScratchRecord(const TztrScratchRecord &) = delete;
    TztrScratchRecord &operator=(const TztrScratchRecord &) = delete;
    TztrRecord *get() const { return record_; }

private:
    const TztrRecordLayout &layout_;
    TztrRecord *record_;
};
