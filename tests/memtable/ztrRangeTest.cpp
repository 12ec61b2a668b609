// Ranges over the current index of a memory table.

#include "memtable/ztrTestTables.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RangedPeople : public ::testing::Test {
protected:
    RangedPeople()
    {
        definePeople(table);
        table.IndexDefs().Add("pontok", "pont;nev", {});
        table.Open();
        appendPerson(table, 1, "a", 10);
        appendPerson(table, 2, "b", 20);
        appendPerson(table, 3, "c", 30);
        appendPerson(table, 4, "d", std::nullopt);
        appendPerson(table, 5, "e", 20);
        table.SetIndexName("pontok");
    }

    TztrMemTable table;
};

} // namespace

TEST_F(RangedPeople, OnlyKeysBetweenTheBoundsPass)
{
    table.SetRange(20, 30);
    EXPECT_TRUE(table.RangeActive());
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 5, 3}));
    EXPECT_EQ(table.RecordCount(), 3);
}

TEST_F(RangedPeople, BothBoundsMayTakeSeveralFields)
{
    table.SetRange(VarArrayOf({20, "b"}), VarArrayOf({20, "d"}));
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2}));
}

TEST_F(RangedPeople, ANullBoundIsOpenWhileNullKeysAreIgnored)
{
    table.SetRange(20, Variant::Null());
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 5, 3}));
    // Taken as a value, null is below every key, so nothing reaches from 20 up to it.
    table.SetRangeIgnoreNullKeyValues(false);
    EXPECT_TRUE(idsInOrder(table).empty());
}

TEST_F(RangedPeople, CancellingShowsEverythingAgain)
{
    table.SetRange(10, 10);
    table.CancelRange();
    EXPECT_FALSE(table.RangeActive());
    EXPECT_EQ(table.RecordCount(), 5);
}

TEST_F(RangedPeople, TheRangeAppliesWithFilteredOffAndBeforeTheFilter)
{
    int asked = 0;
    table.OnFilterRecord = [&asked](TDataSet &, bool &accept) {
        ++asked;
        accept = true;
    };
    table.SetRange(30, 30);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{3}));
    EXPECT_EQ(asked, 0);
    table.SetFiltered(true);
    asked = 0;
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{3}));
    EXPECT_EQ(asked, 1);
}

TEST_F(RangedPeople, LocateFindsOnlyRecordsInTheRange)
{
    table.SetRange(20, 30);
    EXPECT_FALSE(table.Locate("id", 1, {}));
    EXPECT_TRUE(table.Locate("id", 3, {}));
}

TEST_F(RangedPeople, SortOnKeepsTheRange)
{
    table.SetRange(20, 20);
    table.SortOn("pont;id:D", {});
    EXPECT_TRUE(table.RangeActive());
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{5, 2}));
    table.CancelRange();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{4, 1, 5, 2, 3}));
}

TEST_F(RangedPeople, ClosingForgetsTheRange)
{
    table.SetRange(20, 20);
    table.Close();
    table.Open();
    EXPECT_FALSE(table.RangeActive());
}

TEST_F(RangedPeople, ARangeNeedsAnOrderedIndex)
{
    table.SetIndexName("");
    EXPECT_THROW(table.SetRange(1, 2), EMemTableError);
    EXPECT_FALSE(table.RangeActive());
}
