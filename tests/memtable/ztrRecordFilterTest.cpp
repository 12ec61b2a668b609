// The record filter of a memory table: the filter expression, OnFilterRecord and the
// master/detail key, and in which order they decide.

#include "memtable/ztrTestTables.h"
#include "platform/DataSource.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

class FilteredCourses : public ::testing::Test {
protected:
    FilteredCourses()
    {
        table.FieldDefs().Add("kurzus_id", ftInteger);
        table.FieldDefs().Add("teszt", ftInteger);
        table.FieldDefs().Add("targy_kod", ftString, 20);
        table.FieldDefs().Add("aktiv", ftBoolean);
        table.Open();
    }

    // A course: id, teszt, subject code and active flag; 9 stands for null.
    void add(int id, int teszt, const char *code, int active)
    {
        const auto orNull = [](int value) { return value == 9 ? Variant::Null() : Variant(value); };
        table.AppendRecord({id, orNull(teszt), code, active == 9 ? Variant::Null() : Variant(active == 1)});
    }

    // The ids of the records the table shows, in order.
    std::vector<int> shown()
    {
        std::vector<int> ids;
        for (table.First(); !table.Eof(); table.Next())
            ids.push_back(table.FieldByName("kurzus_id")->AsInteger());
        return ids;
    }

    std::vector<int> shownWith(const std::string &filter)
    {
        table.SetFilter(filter);
        table.SetFiltered(true);
        return shown();
    }

    TztrMemTable table;
};

} // namespace

TEST_F(FilteredCourses, ExpressionsShowTheMatchingRecords)
{
    add(1, 9, "MSB293-EA", 9);
    add(2, 1, "msb293", 0);
    for (const auto &[id, teszt, code] : {std::tuple{3, 0, "Msb2931"}, {4, 2, "MSB29"}, {5, 0, "XMSB293"},
                                          {6, 0, "ABC"}, {7, 0, "AC"}, {8, 0, "ABBC"}, {9, 0, "ABCD"},
                                          {10, 0, "O'NEIL"}})
        add(id, teszt, code, 1);
    const std::vector<std::pair<std::string, std::vector<int>>> cases = {
        {"kurzus_id=5", {5}},
        {"(kurzus_id=10)", {10}},
        {"teszt<>0", {2, 4}}, // a null is neither equal nor unequal
        {"targy_kod like 'MSB293**'", {1, 2, 3}},
        {"targy_kod like 'a_c'", {6}},
        {"targy_kod like 'abc?'", {6, 9}},
        {"targy_kod like 'abc_'", {9}},
        {"targy_kod like 'o''n**'", {10}},
        {"not aktiv", {2}},
        {"(teszt=0) and (targy_kod like 'A**')", {6, 7, 8, 9}},
    };
    for (const auto &[filter, ids] : cases) {
        EXPECT_EQ(shownWith(filter), ids) << filter;
        EXPECT_EQ(table.RecordCount(), static_cast<int>(ids.size())) << filter;
    }
    // Switched off, the text is kept but not applied, except by FindFirst.
    table.SetFiltered(false);
    EXPECT_EQ(shown().size(), 10u);
    EXPECT_EQ(table.Filter(), "(teszt=0) and (targy_kod like 'A**')");
    EXPECT_TRUE(table.FindFirst());
    EXPECT_EQ(table.FieldByName("kurzus_id")->AsInteger(), 6);
    table.SetFiltered(true);
    EXPECT_EQ(shown(), (std::vector<int>{6, 7, 8, 9}));
}

TEST_F(FilteredCourses, ATextThatDoesNotCompileIsRefusedAndFiltersNothing)
{
    add(1, 0, "A", 1);
    add(2, 0, "B", 1);
    table.SetFiltered(true);
    table.SetFilter("kurzus_id=1");
    EXPECT_NE(messageOf([&] { table.SetFilter("kurzus_id = = 2"); }).find("position"), std::string::npos);
    EXPECT_EQ(shown(), (std::vector<int>{1, 2}));
    EXPECT_EQ(table.RecordCount(), 2);
    // A filter on an unknown field is refused when the table opens.
    table.Close();
    table.SetFilter("nincs_ilyen=1");
    EXPECT_THROW(table.Open(), EDatabaseError);
    EXPECT_FALSE(table.Active());
    table.SetFilter("");
    table.Open();
    EXPECT_TRUE(table.Active());
}

TEST(FilterWithMasterDetail, MasterDetailStillAppliesWithFilteredOff)
{
    TztrMemTable master;
    definePeople(master);
    master.Open();
    appendPerson(master, 1, "a");
    appendPerson(master, 2, "b");
    TDataSource source(&master);

    TztrMemTable detail;
    definePeople(detail);
    detail.Open();
    for (int i = 1; i <= 6; ++i)
        appendPerson(detail, 10 + i, "", i % 2 + 1);
    detail.SetMasterSource(&source);
    detail.SetDetailFields("pont");
    detail.SetMasterFields("id");
    detail.OnFilterRecord = [](TDataSet &, bool &accept) { accept = false; };
    detail.SetFilter("id=99");
    detail.SetFiltered(false);

    master.First();
    EXPECT_EQ(idsInOrder(detail), (std::vector<int>{12, 14, 16}));
    master.Next();
    EXPECT_EQ(idsInOrder(detail), (std::vector<int>{11, 13, 15}));
}

// A function name the evaluator does not know passes the compiler and is refused by name when a
// record is tested; a known one is found whatever its letter case.
TEST_F(FilteredCourses, AnUnknownFunctionIsRefusedByNameWhenARecordIsTested)
{
    add(1, 0, "msb", 1);
    add(2, 0, "ABC", 1);
    EXPECT_EQ(shownWith("SubString(targy_kod, 1, 2) = 'AB'"), (std::vector<int>{2}));
    table.SetFiltered(false);
    table.SetFilter("Kisbetus(targy_kod) = 'msb'");
    EXPECT_EQ(messageOf([&] { table.SetFiltered(true); }), "Invalid function name Kisbetus");
    EXPECT_THROW(table.First(), EMemTableFilterError);
    table.SetFilter("");
    EXPECT_EQ(shown(), (std::vector<int>{1, 2}));
}

TEST_F(FilteredCourses, ATextSetWhileClosedIsCompiledWhenTheTableOpens)
{
    table.Close();
    table.SetFilter("kurzus_id=2");
    table.SetFiltered(true);
    table.Open();
    add(1, 0, "A", 1);
    add(2, 0, "B", 1);
    EXPECT_EQ(shown(), (std::vector<int>{2}));
}

TEST_F(FilteredCourses, SwitchingOnWithARefusedTextRaisesAgain)
{
    add(1, 0, "A", 1);
    EXPECT_THROW(table.SetFilter("kurzus_id ="), EDatabaseError);
    EXPECT_THROW(table.SetFiltered(true), EDatabaseError);
    EXPECT_FALSE(table.Filtered());
    table.SetFilter("kurzus_id = 1");
    table.SetFiltered(true);
    EXPECT_EQ(shown(), (std::vector<int>{1}));
}

TEST_F(FilteredCourses, CaseInsensitiveOptionRecompilesTheText)
{
    add(1, 0, "abc", 1);
    add(2, 0, "ABC", 1);
    EXPECT_EQ(shownWith("targy_kod = 'ABC'"), (std::vector<int>{2}));
    table.SetFilterOptions({foCaseInsensitive});
    EXPECT_EQ(shown(), (std::vector<int>{1, 2}));
}

TEST_F(FilteredCourses, SwitchedOffTheTextIsKeptButNotApplied)
{
    add(1, 0, "A", 1);
    add(2, 0, "B", 1);
    shownWith("kurzus_id=1");
    table.SetFiltered(false);
    EXPECT_EQ(shown(), (std::vector<int>{1, 2}));
    EXPECT_EQ(table.Filter(), "kurzus_id=1");
    table.SetFiltered(true);
    EXPECT_EQ(shown(), (std::vector<int>{1}));
}

TEST_F(FilteredCourses, TheEventDecidesBeforeTheExpression)
{
    for (int id = 1; id <= 4; ++id)
        add(id, id % 2, "A", 1);
    std::vector<int> asked;
    table.OnFilterRecord = [&asked](TDataSet &dataSet, bool &accept) {
        const int id = dataSet.FieldByName("kurzus_id")->AsInteger();
        asked.push_back(id);
        accept = id != 3;
    };
    table.SetFilter("teszt=1");
    table.SetFiltered(true);
    asked.clear();
    EXPECT_EQ(shown(), (std::vector<int>{1}));
    // Every record reaches the event; the expression would have let 3 through.
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(FilteredCourses, FindFirstAppliesTheExpressionEvenWhenNotFiltered)
{
    add(1, 0, "A", 1);
    add(2, 1, "B", 1);
    table.SetFilter("teszt=1");
    EXPECT_TRUE(table.FindFirst());
    EXPECT_EQ(table.FieldByName("kurzus_id")->AsInteger(), 2);
    EXPECT_EQ(shown(), (std::vector<int>{1, 2}));
}
