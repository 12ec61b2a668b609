// A search on several fields may bisect an index on only some of them; what it finds must be what
// a walk of the table's own order finds first, whatever changed the table before.

#include "ztrTestTables.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr LCID Hungarian = 0x040E;

// Several records share each id and each (id, name) pair; the points tell every record apart.
void openTwins(TztrMemTable &table)
{
    definePeople(table);
    table.IndexDefs().Add("ids", "id", {});
    table.IndexDefs().Add("names", "nev", {});
    table.Open();
    int serial = 0;
    for (int round = 0; round < 4; ++round)
        for (int id = 50; id >= 1; --id)
            appendPerson(table, (id * 7 + round) % 50 + 1, round % 2 ? "b" : "a", ++serial);
}

// The points of the first record a walk in the current order meets with this id and name, or -1.
int firstInWalk(TztrMemTable &table, int id, const std::string &name)
{
    for (table.First(); !table.Eof(); table.Next())
        if (table.FieldByName("id")->AsInteger() == id && table.FieldByName("nev")->AsString() == name)
            return table.FieldByName("pont")->AsInteger();
    return -1;
}

void expectLocateFindsWhatTheWalkFinds(TztrMemTable &table)
{
    for (int id = 0; id <= 51; id += 3) {
        for (const char *name : {"a", "b", "c"}) {
            const int expected = firstInWalk(table, id, name);
            const Variant key = VarArrayOf({id, name});
            ASSERT_EQ(table.Locate("id;nev", key, {}), expected >= 0) << id << name;
            if (expected >= 0) {
                EXPECT_EQ(table.FieldByName("pont")->AsInteger(), expected) << id << name;
            }
            const Variant looked = table.Lookup("nev;id", VarArrayOf({name, id}), "pont");
            EXPECT_EQ(looked.IsNull() || looked.IsEmpty() ? -1 : looked.AsInteger(), expected) << id << name;
        }
    }
}

} // namespace

TEST(LocateLeadingIndex, FindsTheFirstRecordOfTheCurrentOrderThroughEveryChange)
{
    TztrMemTable table;
    openTwins(table);
    struct Step
    {
        const char *what;
        std::function<void()> change;
    };
    const std::vector<Step> steps{
        {"appended only", [] {}},
        {"in name order", [&] { table.SetIndexFieldNames("nev"); }},
        {"in id order", [&] { table.SetIndexFieldNames("id"); }},
        {"inserted before equal keys",
         [&] {
             table.SetIndexFieldNames("");
             table.First();
             for (int id : {4, 10, 31}) {
                 table.Insert();
                 setPerson(table, id, "a", 1000 + id);
                 table.Post();
             }
         }},
        {"keys edited",
         [&] {
             ASSERT_TRUE(table.Locate("pont", 5, {}));
             table.Edit();
             table.FieldByName("id")->SetAsInteger(13);
             table.FieldByName("nev")->SetAsString("c");
             table.Post();
         }},
        {"deleted",
         [&] {
             for (int points : {7, 60, 1004})
                 if (table.Locate("pont", points, {}))
                     table.Delete();
         }},
        {"filtered by a handler",
         [&] {
             table.OnFilterRecord = [](TDataSet &data, bool &accept) {
                 accept = data.FieldByName("pont")->AsInteger() % 3 != 0;
             };
             table.SetFiltered(true);
         }},
        {"filtered by a text",
         [&] {
             table.OnFilterRecord = nullptr;
             table.SetFilter("pont > 40");
         }},
        {"in a range of the id order",
         [&] {
             table.SetFiltered(false);
             table.SetIndexFieldNames("id");
             table.SetRange(10, 40);
         }},
        {"locale changed",
         [&] {
             table.CancelRange();
             table.SetIndexFieldNames("nev");
             table.SetLocaleID(Hungarian);
         }},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        expectLocateFindsWhatTheWalkFinds(table);
    }
}

TEST(LocateLeadingIndex, KeepsTheRefusalsAndTheOptionsOfAPlainSearch)
{
    TztrMemTable table;
    openTwins(table);
    // The index on id compares case-sensitively; a case-insensitive search still finds "A" as "a".
    EXPECT_TRUE(table.Locate("id;nev", VarArrayOf({1, "A"}), {loCaseInsensitive}));
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "a");
    EXPECT_FALSE(table.Locate("id;nev", VarArrayOf({1, "A"}), {}));
    EXPECT_TRUE(table.Locate("id;nev", VarArrayOf({1, "b"}), {loPartialKey}));
    EXPECT_THROW(table.Locate("id;nev", 1, {}), EMemTableError);
    EXPECT_THROW(table.Locate("id;nincs", VarArrayOf({1, "a"}), {}), EDatabaseError);
    // Searching adds no index of its own.
    EXPECT_EQ(table.Indexes().Count(), 3);
}

TEST(LocateLeadingIndex, AnIndexHoldingFewerRecordsThanTheCurrentOrderIsNotSearched)
{
    TztrMemTable table;
    definePeople(table);
    table.Open();
    for (int id = 0; id < 40; ++id)
        appendPerson(table, id, "a", id);
    // Holds the records as appended only: an edited one leaves it.
    table.AddIndex2("uj", "id", {}, {usInserted});
    ASSERT_TRUE(table.Locate("pont", 5, {}));
    table.Edit();
    table.FieldByName("nev")->SetAsString("b");
    table.Post();
    EXPECT_TRUE(table.Locate("id;nev", VarArrayOf({5, "b"}), {}));
    EXPECT_EQ(table.FieldByName("pont")->AsInteger(), 5);
}
