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

TEST(RecordLayoutPerformance, BalancedAndSmallMoveTextsOfThirteenBytesOutAndSmallCompressesThem)
{
    for (const TztrPerformance performance : {mtpfFast, mtpfBalanced, mtpfSmall}) {
        const TztrRecordLayout layout = layoutOf(shortAndLongText(), performance);
        const bool outside = performance != mtpfFast;
        EXPECT_FALSE(layout.IsIndirect(1));
        EXPECT_EQ(layout.IsIndirect(2), outside);
        EXPECT_EQ(layout.IsCompressed(2), performance == mtpfSmall);
        EXPECT_EQ(layout.IndirectFieldCount(), outside ? 1 : 0);
        EXPECT_EQ(layout.FieldOffset(3), outside ? 14 : 14 + 15);
        EXPECT_EQ(layout.FieldOffset(2), outside ? layout.IndirectAreaOffset() : 14);
    }
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

TEST(RecordLayoutAreas, GuidsAndTimeStampsTakeTheirFixedWidthAndContainersOnlyTheirNullByte)
{
    // A guid is 38 characters and a terminating 0; a time stamp is six 16-bit parts and a 32-bit fraction.
    const TztrRecordLayout layout = layoutOf(
        {{ftGuid, 38, "g", "g"}, {ftTimeStamp, 0, "t", "t"}, {ftADT, 0, "c", "c"}, {ftInteger, 0, "id", "id"}},
        mtpfBalanced);
    EXPECT_EQ(layout.FieldOffset(1), 0);
    EXPECT_EQ(layout.FieldOffset(2), 40);
    EXPECT_EQ(layout.FieldOffset(3), 57);
    EXPECT_EQ(layout.FieldOffset(4), 58);
    EXPECT_FALSE(layout.IsIndirect(1));
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

TEST(RecordLayoutRefusals, NoFieldsAndUnstorableTypesAreRefused)
{
    TztrRecordLayout layout;
    try {
        layout.Layout({}, 0, 1, mtpfFast, {});
        FAIL() << "an empty layout was accepted";
    } catch (const EMemTableError &error) {
        EXPECT_STREQ(error.what(), "Legalább egy mezőnek lennie kell");
    }
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

TEST(RecordMemory, CopyLeavesValueBlocksWithTheirOwnerAndDuplicateOwnsItsOwn)
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
    TztrRecord *duplicate = layout.DuplicateRecord(source, true);
    setText(layout, source, 2, "mas szoveg");
    EXPECT_EQ(textOf(layout, duplicate, 2), "egy hosszu szoveg");

    for (TztrRecord *record : {duplicate, copy, source})
        layout.FreeRecord(record, true, true);
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
