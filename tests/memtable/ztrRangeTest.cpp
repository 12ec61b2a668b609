// Ranges over the current index of a memory table.

#include "memtable/ztrTestTables.h"

#include <gtest/gtest.h>

#include <tuple>
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
    const std::vector<std::tuple<Variant, Variant, std::vector<int>>> cases = {
        {20, 30, {2, 5, 3}},
        {VarArrayOf({20, "b"}), VarArrayOf({20, "d"}), {2}},
        {20, Variant::Null(), {2, 5, 3}}, // a null bound is open
        {10, 10, {1}},
    };
    for (const auto &[low, high, ids] : cases) {
        table.SetRange(low, high);
        EXPECT_TRUE(table.RangeActive());
        EXPECT_EQ(idsInOrder(table), ids);
        EXPECT_EQ(table.RecordCount(), static_cast<int>(ids.size()));
    }
    // Taken as a value, null is below every key, so nothing reaches from 10 up to it.
    table.SetRange(10, Variant::Null());
    table.SetRangeIgnoreNullKeyValues(false);
    EXPECT_TRUE(idsInOrder(table).empty());
    table.CancelRange();
    EXPECT_FALSE(table.RangeActive());
    EXPECT_EQ(table.RecordCount(), 5);
}

TEST_F(RangedPeople, TheRangeAppliesBeforeTheFilterAndToLocate)
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
    EXPECT_FALSE(table.Locate("id", 1, {}));
    EXPECT_TRUE(table.Locate("id", 3, {}));
}

TEST_F(RangedPeople, SortOnKeepsTheRangeAndClosingForgetsIt)
{
    table.SetRange(20, 20);
    table.SortOn("pont;id:D", {});
    EXPECT_TRUE(table.RangeActive());
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{5, 2}));
    table.CancelRange();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{4, 1, 5, 2, 3}));
    table.SetRange(20, 20);
    table.Close();
    table.Open();
    EXPECT_FALSE(table.RangeActive());
    EXPECT_THROW(table.SetRange(1, 2), EMemTableError) << "a range needs an ordered index";
    EXPECT_FALSE(table.RangeActive());
}
