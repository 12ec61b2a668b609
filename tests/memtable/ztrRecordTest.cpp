#include "memtable/ztrRecord.h"

#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldValue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<TztrFieldSpec> shortAndLongText()
{
    return {{ftString, 12, "rovid", "rovid"}, {ftString, 13, "hosszu", "hosszu"}, {ftInteger, 0, "id", "id"}};
}

TztrRecordLayout layoutOf(const std::vector<TztrFieldSpec> &fields, TztrPerformance performance,
                          const TztrSetupFieldHook &hook = {})
{
    TztrRecordLayout layout;
    layout.Layout(fields, 0, 1, performance, hook);
    return layout;
}

void setText(const TztrRecordLayout &layout, TztrRecord *record, int fieldNo, const std::string &text)
{
    ValueBlock::free(layout.IndirectBlock(record, fieldNo));
    layout.SetIndirectBlock(record, fieldNo, ValueBlock::makeFrom(text.c_str(), text.size() + 1));
    *layout.FieldNullByte(record, fieldNo) = NullByteValue;
}

std::string textOf(const TztrRecordLayout &layout, const TztrRecord *record, int fieldNo)
{
    const std::uint8_t *block = layout.IndirectBlock(record, fieldNo);
    return block ? std::string(reinterpret_cast<const char *>(ValueBlock::bytes(block))) : std::string("<none>");
}

} // namespace

TEST(RecordLayoutPerformance, FastKeepsEveryTextInTheRecord)
{
    const TztrRecordLayout layout = layoutOf(shortAndLongText(), mtpfFast);
    EXPECT_FALSE(layout.IsIndirect(1));
    EXPECT_FALSE(layout.IsIndirect(2));
    EXPECT_EQ(layout.FieldOffset(1), 0);
    EXPECT_EQ(layout.FieldOffset(2), 14);
    EXPECT_EQ(layout.FieldOffset(3), 14 + 15);
    EXPECT_EQ(layout.IndirectFieldCount(), 0);
}

TEST(RecordLayoutPerformance, BalancedMovesThirteenByteTextOut)
{
    const TztrRecordLayout layout = layoutOf(shortAndLongText(), mtpfBalanced);
    EXPECT_FALSE(layout.IsIndirect(1));
    EXPECT_TRUE(layout.IsIndirect(2));
    EXPECT_FALSE(layout.IsCompressed(2));
    EXPECT_EQ(layout.FieldOffset(3), 14);
    EXPECT_EQ(layout.FieldOffset(2), layout.IndirectAreaOffset());
}

TEST(RecordLayoutPerformance, SmallAlsoMarksOutsideValuesCompressed)
{
    const TztrRecordLayout layout = layoutOf(shortAndLongText(), mtpfSmall);
    EXPECT_FALSE(layout.IsIndirect(1));
    EXPECT_TRUE(layout.IsIndirect(2));
    EXPECT_TRUE(layout.IsCompressed(2));
}

TEST(RecordLayoutAreas, CalculatedBookmarkAndIndirectAreasFollowTheFixedFields)
{
    TztrRecordLayout layout;
    layout.Layout({{ftInteger, 0, "a", "a"}, {ftMemo, 0, "b", "b"}}, 10, 3, mtpfFast, {});
    EXPECT_TRUE(layout.IsIndirect(2));
    EXPECT_EQ(layout.CalcAreaOffset(), 5);
    EXPECT_EQ(layout.BookmarkAreaOffset(), 15);
    EXPECT_EQ(layout.BookmarkAreaSize(), 3 * BookmarkSlotSize);
    EXPECT_EQ(layout.IndirectAreaOffset(), 15 + 3 * BookmarkSlotSize);
    EXPECT_EQ(layout.DataSize(), layout.IndirectAreaOffset() + IndirectSlotSize);
    EXPECT_EQ(layout.RecordSize(), static_cast<int>(sizeof(TztrRecord)) + layout.DataSize());
}

TEST(RecordLayoutAreas, SetupHookCanMoveAFieldOutOfTheRecord)
{
    const TztrRecordLayout layout = layoutOf(shortAndLongText(), mtpfFast, [](int fieldNo, std::uint8_t &flags) {
        if (fieldNo == 1)
            flags |= FieldFlagIndirect;
    });
    EXPECT_TRUE(layout.IsIndirect(1));
    EXPECT_EQ(layout.FieldOffset(2), 0);
}

TEST(RecordLayoutRefusals, NoFieldsIsRefused)
{
    TztrRecordLayout layout;
    try {
        layout.Layout({}, 0, 1, mtpfFast, {});
        FAIL() << "an empty layout was accepted";
    } catch (const EMemTableError &error) {
        EXPECT_STREQ(error.what(), "Legalább egy mezőnek lennie kell");
    }
}

TEST(RecordLayoutRefusals, UnstorableTypeNamesTheDefinition)
{
    TztrRecordLayout layout;
    try {
        layout.Layout({{ftInteger, 0, "a", "a"}, {ftVariant, 0, "v", "Valami"}}, 0, 1, mtpfFast, {});
        FAIL() << "a variant field was accepted";
    } catch (const EMemTableError &error) {
        EXPECT_STREQ(error.what(), "Fielddef v (Valami) A(z) 32 adattípus nem támogatott.)");
    }
}

TEST(RecordMemory, FreshRecordCarriesNoIdentityAndNoValues)
{
    const TztrRecordLayout layout = layoutOf(shortAndLongText(), mtpfBalanced);
    TztrRecord *record = layout.AllocateRecord();
    EXPECT_EQ(record->RecordNo, -1);
    EXPECT_EQ(record->RecordID, -1);
    EXPECT_EQ(record->UniqueRecordID, -1);
    EXPECT_EQ(record->TransactionLevel, -1);
    EXPECT_EQ(record->PrevRecordVersion, nullptr);
    EXPECT_EQ(*layout.FieldNullByte(record, 1), 0);
    EXPECT_EQ(layout.IndirectBlock(record, 2), nullptr);
    layout.FreeRecord(record, true, true);
}

TEST(RecordMemory, CopyLeavesValueBlocksWithTheirOwner)
{
    const TztrRecordLayout layout = layoutOf(shortAndLongText(), mtpfBalanced);
    TztrRecord *source = layout.AllocateRecord();
    TztrRecord *copy = layout.AllocateRecord();
    source->RecordID = 7;
    std::strcpy(reinterpret_cast<char *>(layout.FieldNullByte(source, 1) + 1), "rovid");
    *layout.FieldNullByte(source, 1) = NullByteValue;
    setText(layout, source, 2, "egy hosszu szoveg");

    layout.CopyRecord(source, copy);
    EXPECT_EQ(copy->RecordID, 7);
    EXPECT_STREQ(reinterpret_cast<const char *>(layout.FieldNullByte(copy, 1) + 1), "rovid");
    EXPECT_NE(*layout.FieldNullByte(copy, 2), 0);
    EXPECT_EQ(layout.IndirectBlock(copy, 2), nullptr);

    layout.FreeRecord(copy, true, true);
    layout.FreeRecord(source, true, true);
}

TEST(RecordMemory, DuplicateWithValuesOwnsItsOwnBlocks)
{
    const TztrRecordLayout layout = layoutOf(shortAndLongText(), mtpfBalanced);
    TztrRecord *source = layout.AllocateRecord();
    setText(layout, source, 2, "egy hosszu szoveg");
    TztrRecord *copy = layout.DuplicateRecord(source, true);
    setText(layout, source, 2, "mas szoveg");
    EXPECT_EQ(textOf(layout, copy, 2), "egy hosszu szoveg");
    layout.FreeRecord(copy, true, true);
    layout.FreeRecord(source, true, true);
}

TEST(RecordMemory, TransferMovesWrittenValuesAndKeepsUntouchedOnes)
{
    const std::vector<TztrFieldSpec> fields = {{ftString, 20, "a", "a"}, {ftString, 20, "b", "b"},
                                               {ftString, 20, "c", "c"}};
    const TztrRecordLayout layout = layoutOf(fields, mtpfBalanced);
    TztrRecord *stored = layout.AllocateRecord();
    setText(layout, stored, 1, "regi a");
    setText(layout, stored, 2, "regi b");
    setText(layout, stored, 3, "regi c");

    // An edit buffer: copied from the stored record, one value rewritten, one cleared.
    TztrRecord *buffer = layout.AllocateRecord();
    layout.CopyRecord(stored, buffer);
    setText(layout, buffer, 1, "uj a");
    *layout.FieldNullByte(buffer, 3) = 0;

    layout.TransferRecord(buffer, stored);
    EXPECT_EQ(textOf(layout, stored, 1), "uj a");
    EXPECT_EQ(textOf(layout, stored, 2), "regi b");
    EXPECT_EQ(textOf(layout, stored, 3), "<none>");
    EXPECT_EQ(*layout.FieldNullByte(stored, 3), 0);
    EXPECT_EQ(layout.IndirectBlock(buffer, 1), nullptr);

    layout.FreeRecord(buffer, true, true);
    layout.FreeRecord(stored, true, true);
}

TEST(RecordMemory, BookmarkSlotsArePerAttachedTable)
{
    TztrRecordLayout layout;
    layout.Layout({{ftInteger, 0, "a", "a"}}, 0, 2, mtpfFast, {});
    TztrRecord *record = layout.AllocateRecord();
    layout.SetBookmarkSlot(record, 1, {{3, 4, 5}, 1});
    EXPECT_EQ(layout.BookmarkSlot(record, 1).Bookmark.RecordID, 3);
    EXPECT_EQ(layout.BookmarkSlot(record, 1).Flag, 1);
    EXPECT_EQ(layout.BookmarkSlot(record, 0).Bookmark.RecordID, 0);
    layout.FreeRecord(record, true, true);
}

TEST(ValueBlocks, HoldLengthAndBytesAndDuplicateIndependently)
{
    std::uint8_t *block = ValueBlock::makeFrom("abc", 3);
    std::uint8_t *copy = ValueBlock::duplicate(block);
    ValueBlock::bytes(block)[0] = 'x';
    EXPECT_EQ(ValueBlock::length(copy), 3u);
    EXPECT_EQ(ValueBlock::view(copy), "abc");
    EXPECT_EQ(ValueBlock::view(block), "xbc");
    std::uint8_t *empty = ValueBlock::make(5);
    EXPECT_EQ(ValueBlock::view(empty), std::string(5, '\0'));
    ValueBlock::free(block);
    ValueBlock::free(copy);
    ValueBlock::free(empty);
    ValueBlock::free(nullptr);
}
