#include "memtable/ztrCommon.h"

#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldValue.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A store with a record layout of one integer and one long text, owned by no table.
class StoreFixture : public ::testing::Test {
protected:
    StoreFixture() : store(nullptr)
    {
        store.SetPerformance(mtpfBalanced);
        store.LayoutRecord({{ftInteger, 0, "id", "id"}, {ftString, 40, "nev", "nev"}}, 0, {});
    }

    TztrRecord *add()
    {
        TztrRecord *record = store.Layout().AllocateRecord();
        store.AddRecord(record);
        return record;
    }

    void remove(TztrRecord *record)
    {
        store.RemoveRecord(record);
        store.Layout().FreeRecord(record, true, true);
    }

    TztrCommon store;
};

} // namespace

TEST_F(StoreFixture, FreedIDsAreReusedLastFreedFirstWhileUniqueIDsAndBookmarksGoStale)
{
    std::vector<TztrRecord *> records;
    for (int i = 0; i < 10; ++i)
        records.push_back(add());
    const TztrBookmark bookmark = store.BookmarkOf(records[9]);
    EXPECT_EQ(store.RecordOfBookmark(bookmark), records[9]);
    const int unique = records[9]->UniqueRecordID;
    remove(records[5]);
    remove(records[9]);
    TztrRecord *reused = add();
    EXPECT_EQ(reused->RecordID, 9);
    EXPECT_GT(reused->UniqueRecordID, unique);
    EXPECT_TRUE(reused->IsStored());
    EXPECT_EQ(store.RecordOfBookmark(bookmark), nullptr) << "the slot is reused, the bookmark is stale";
    EXPECT_EQ(add()->RecordID, 5);
    EXPECT_EQ(add()->RecordID, 10);
    EXPECT_EQ(store.RecordCount(), 11);

    const TztrBookmark beforeClearing = store.BookmarkOf(records[1]);
    const std::int32_t oldTableID = store.TableID();
    store.ClearRecords();
    add();
    add();
    EXPECT_NE(store.TableID(), oldTableID);
    EXPECT_EQ(store.RecordOfBookmark(beforeClearing), nullptr);
    EXPECT_EQ(store.Record(1)->RecordID, 1);
}

TEST_F(StoreFixture, VersioningMarksAddedRecordsInserted)
{
    EXPECT_EQ(add()->UpdateStatus, usUnmodified);
    store.SetEnableVersioning(true);
    EXPECT_EQ(add()->UpdateStatus, usInserted);
}

TEST_F(StoreFixture, IndirectValueOfACopyComesFromTheStoredRecord)
{
    const TztrRecordLayout &layout = store.Layout();
    TztrRecord *stored = add();
    const std::string text = "Kovács Éva";
    layout.SetIndirectBlock(stored, 2, ValueBlock::makeFrom(text.c_str(), text.size() + 1));
    *layout.FieldNullByte(stored, 2) = NullByteValue;

    TztrRecord *buffer = layout.AllocateRecord();
    layout.CopyRecord(stored, buffer);
    EXPECT_EQ(store.IndirectValue(buffer, 2), layout.IndirectBlock(stored, 2));

    buffer->RecordID = -1;
    EXPECT_THROW(store.IndirectValue(buffer, 2), EMemTableInvalidRecord);
    *layout.FieldNullByte(buffer, 2) = 0;
    EXPECT_EQ(store.IndirectValue(buffer, 2), nullptr);
    layout.FreeRecord(buffer, true, true);
}

TEST_F(StoreFixture, AValueMarkedPresentButNotYetWrittenReadsAsNone)
{
    const TztrRecordLayout &layout = store.Layout();
    TztrRecord *stored = add();
    *layout.FieldNullByte(stored, 2) = NullByteValue;
    EXPECT_EQ(store.IndirectValue(stored, 2), nullptr);

    // A copy of a record whose value is null has nothing to borrow from it.
    *layout.FieldNullByte(stored, 2) = 0;
    TztrRecord *buffer = layout.AllocateRecord();
    layout.CopyRecord(stored, buffer);
    *layout.FieldNullByte(buffer, 2) = NullByteValue;
    EXPECT_EQ(store.IndirectValue(buffer, 2), nullptr);
    layout.FreeRecord(buffer, true, true);
}

TEST_F(StoreFixture, AttachPlacesBelowOneAreRefused)
{
    const int before = store.AttachMaxCount();
    EXPECT_THROW(store.SetAttachMaxCount(0), ERangeError);
    EXPECT_THROW(store.SetAttachMaxCount(-3), ERangeError);
    EXPECT_EQ(store.AttachMaxCount(), before);
}

TEST(StoreLocale, PartsSplitAndRebuildTheLocaleID)
{
    TztrCommon store(nullptr);
    EXPECT_EQ(store.LocaleID(), 1024u);
    EXPECT_EQ(store.SubLanguageID(), 1);
    store.SetLocaleID(0x1040E);
    EXPECT_EQ(store.LanguageID(), 0x0E);
    EXPECT_EQ(store.SubLanguageID(), 1);
    EXPECT_EQ(store.SortID(), 1);
    store.SetSortID(0);
    EXPECT_EQ(store.LocaleID(), 0x040Eu);
    store.SetLanguageID(0x07);
    EXPECT_EQ(store.LocaleID(), 0x0407u);
}

TEST(StoreAutoIncrement, RaisingTheMinimumMovesTheMaximumBelowIt)
{
    TztrCommon store(nullptr);
    store.SetAutoIncMinValue(222);
    EXPECT_EQ(store.AutoIncMax(), 221);
    store.SetAutoIncMax(500);
    store.SetAutoIncMinValue(300);
    EXPECT_EQ(store.AutoIncMax(), 500);
}
