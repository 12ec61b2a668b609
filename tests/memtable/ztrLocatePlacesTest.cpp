// Locate finds a record through an index and then needs its place in the table's own order; that
// place, and the record fetched from it, must stay right whatever changed the order before.

#include "ztrTestTables.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr LCID Hungarian = 0x040E;

// Above the size a search scans, so that Locate goes through the key index.
constexpr int PeopleCount = 60;

void openPeople(TztrMemTable &table)
{
    definePeople(table);
    table.IndexDefs().Add("kulcs", "id", {ixUnique});
    table.Open();
    for (int id = 1; id <= PeopleCount; ++id)
        appendPerson(table, id, "N" + std::to_string(id), id * 10);
}

// Every id is found, shown with its own values, at its place in a walk of the table's order.
void expectEveryIdLocatedAtItsPlace(TztrMemTable &table)
{
    const std::vector<int> order = idsInOrder(table);
    for (std::size_t place = 0; place < order.size(); ++place) {
        const int id = order[place];
        ASSERT_TRUE(table.Locate("id", id, {})) << id;
        EXPECT_EQ(table.FieldByName("id")->AsInteger(), id);
        EXPECT_EQ(table.FieldByName("nev")->AsString(), "N" + std::to_string(id));
        EXPECT_EQ(table.RecNo(), static_cast<int>(place) + 1) << id;
    }
}

} // namespace

TEST(LocatePlaces, StayRightThroughInsertsDeletesReusedSlotsEditsAndLocaleChanges)
{
    TztrMemTable table;
    openPeople(table);
    struct Step
    {
        const char *what;
        std::function<void()> change;
    };
    const std::vector<Step> steps{
        {"appended only", [] {}},
        {"inserted in the middle",
         [&] {
             ASSERT_TRUE(table.Locate("id", 10, {}));
             table.Insert();
             setPerson(table, 100, "N100", 1);
             table.Post();
         }},
        {"deleted",
         [&] {
             ASSERT_TRUE(table.Locate("id", 20, {}));
             table.Delete();
             EXPECT_FALSE(table.Locate("id", 20, {}));
         }},
        {"appended into a freed slot", [&] { appendPerson(table, 101, "N101", 2); }},
        {"key edited",
         [&] {
             ASSERT_TRUE(table.Locate("id", 30, {}));
             table.Edit();
             table.FieldByName("id")->SetAsInteger(130);
             table.FieldByName("nev")->SetAsString("N130");
             table.Post();
         }},
        {"locale changed", [&] { table.SetLocaleID(Hungarian); }},
        {"emptied and filled again",
         [&] {
             table.EmptyTable();
             for (int id = PeopleCount; id >= 1; --id)
                 appendPerson(table, id, "N" + std::to_string(id), id);
         }},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        expectEveryIdLocatedAtItsPlace(table);
    }
}

TEST(LocatePlaces, TheFoundRecordIsNotShownAgainOnceAnotherCursorChangedTheOrder)
{
    TztrMemTable table;
    table.SetAttachMaxCount(2);
    openPeople(table);
    TztrMemTable other;
    other.SetAttachedTo(&table);
    other.Open();

    ASSERT_TRUE(table.Locate("id", 30, {}));
    ASSERT_TRUE(other.Locate("id", 30, {}));
    other.Delete();
    table.Refresh();
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 31);

    ASSERT_TRUE(table.Locate("id", 40, {}));
    ASSERT_TRUE(other.Locate("id", 40, {}));
    other.Edit();
    other.FieldByName("nev")->SetAsString("Negyven");
    other.Post();
    table.Refresh();
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "Negyven");
    EXPECT_EQ(table.Lookup("id", 40, "nev").AsString(), "Negyven");
}
