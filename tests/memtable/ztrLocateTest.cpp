#include "memtable/ztrLocate.h"

#include "memtable/ztrTestTables.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

class LocateTable : public ::testing::Test {
protected:
    LocateTable()
    {
        definePeople(table);
        table.Open();
    }

    // Records 1..count named "n1", "n2", ... with ten times the id as points.
    void fill(int count)
    {
        for (int id = 1; id <= count; ++id)
            appendPerson(table, id, "n" + std::to_string(id), id * 10);
    }

    int currentId() const { return table.FieldByName("id")->AsInteger(); }

    std::vector<std::string> indexNames()
    {
        std::vector<std::string> names;
        for (int i = 0; i < table.Indexes().Count(); ++i)
            names.push_back(table.Indexes().Index(i)->Name());
        return names;
    }

    TztrMemTable table;
};

} // namespace

TEST_F(LocateTable, FindsTheFirstMatchOrLeavesTheCursor)
{
    appendPerson(table, 1, "alma", 5);
    appendPerson(table, 1, "korte", 6);
    appendPerson(table, 2, "szilva", 7);
    appendPerson(table, 3, "Alma", std::nullopt);
    appendPerson(table, 4, "abc", 40);
    struct Case
    {
        std::string fields;
        Variant key;
        TLocateOptions options;
        std::string found; // the name of the record found; empty when none
    };
    const std::vector<Case> cases = {
        {"id", 2, {}, "szilva"},
        {"id", 99, {}, ""},
        {"id", "4", {}, "abc"},
        {"id;nev", VarArrayOf({1, "korte"}), {}, "korte"},
        {"id;nev", VarArrayOf({2, "alma"}), {}, ""},
        {"nev", "ALMA", {}, ""},
        {"nev", "ALMA", {loCaseInsensitive}, "alma"},
        {"pont", Variant::Null(), {}, "Alma"},
    };
    for (const Case &c : cases) {
        table.Last();
        EXPECT_EQ(table.Locate(c.fields, c.key, c.options), !c.found.empty()) << c.fields;
        EXPECT_EQ(table.Found(), !c.found.empty()) << c.fields;
        EXPECT_EQ(table.FieldByName("nev")->AsString(), c.found.empty() ? "abc" : c.found) << c.fields;
    }
    table.Locate("id", 2, {});
    EXPECT_EQ(table.RecNo(), 3);
    // Records the filter refuses are passed over.
    table.OnFilterRecord = [](TDataSet &data, bool &accept) { accept = data.FieldByName("nev")->AsString() != "alma"; };
    table.SetFiltered(true);
    EXPECT_TRUE(table.Locate("id", 1, {}));
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "korte");
}

TEST_F(LocateTable, APartialKeyFindsTheFirstRecordStartingWithItButARangeEndsAtTheWholeKey)
{
    for (const char *name : {"kx", "bab", "kb", "ka", "kc"})
        appendPerson(table, static_cast<int>(table.RecordCount()) + 1, name);
    for (int id = 6; id <= 40; ++id)
        appendPerson(table, id, "n" + std::to_string(100 - id));
    table.AddIndex("nevek", "nev", {});
    table.SetIndexFieldNames("nev");
    EXPECT_TRUE(table.Locate("nev", "ka", {loPartialKey}));
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "ka");
    EXPECT_TRUE(table.Locate("nev", "k", {loPartialKey}));
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "ka");
    EXPECT_FALSE(table.Locate("nev", "k", {}));
    EXPECT_TRUE(table.Locate("nev", "n7", {loPartialKey}));
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "n70");
    table.SetRange("bab", "k");
    EXPECT_EQ(table.RecordCount(), 1) << "a range, unlike a partial search, ends at the whole key";
    TztrMemTable narrow;
    definePeople(narrow, 3);
    narrow.Open();
    appendPerson(narrow, 1, "abc");
    EXPECT_TRUE(narrow.Locate("nev", "abcdef", {})) << "a key longer than the field is cut to it";
}

TEST_F(LocateTable, AHitInAnyIndexLandsOnTheSameRecordInTheCurrentOrder)
{
    for (int id = 1; id <= 30; ++id)
        appendPerson(table, id, "n" + std::to_string(id % 7), id);
    table.AddIndex("pontok", "pont", {});
    table.AddIndex("nevek", "nev;id:D", {});
    table.AddIndex("visszafele", "pont:D", {});
    table.SetIndexName("nevek");
    EXPECT_TRUE(table.Locate("pont", 12, {}));
    EXPECT_EQ(currentId(), 12);
    // The cursor walks on in the current order from there: name n5, the next smaller id.
    table.Next();
    EXPECT_EQ(currentId(), 5);
    table.SetIndexName("visszafele");
    EXPECT_TRUE(table.Locate("pont", 12, {}));
    table.Next();
    EXPECT_EQ(currentId(), 11);
}

TEST_F(LocateTable, APendingEditIsPostedAndScrollEventsSurroundOnlyAHit)
{
    fill(3);
    table.Locate("id", 2, {});
    table.Edit();
    table.FieldByName("nev")->SetAsString("uj");
    std::vector<std::string> events;
    table.BeforeScroll = [&events](TDataSet &) { events.push_back("before"); };
    table.AfterScroll = [&events](TDataSet &) { events.push_back("after"); };
    bool changed = false;
    table.FieldByName("id")->OnChange = [&changed](TField &) { changed = true; };
    EXPECT_TRUE(table.Locate("nev", "uj", {}));
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(currentId(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"before", "after"}));
    events.clear();
    table.Locate("id", 9, {});
    EXPECT_EQ(events, (std::vector<std::string>{"before"}));
    EXPECT_FALSE(changed) << "the key record is no edit of the table";
    EXPECT_FALSE(table.Modified());
}

TEST_F(LocateTable, KeyValuesThatDoNotFitAreRefusedAndLeaveTheCursor)
{
    fill(2);
    table.First();
    EXPECT_EQ(messageOf([&] { table.Locate("id;nev", 1, {}); }), "Több mező, mint érték");
    EXPECT_EQ(messageOf([&] { table.Locate("", 1, {}); }), "Legalább egy mezőnek lennie kell");
    EXPECT_EQ(messageOf([&] { table.Locate("id", VarArrayOf({VarArrayOf({1, 2})}), {}); }),
              "A Values variant tömb dimenziószáma invalid");
    EXPECT_EQ(currentId(), 1);
    table.Last();
    EXPECT_EQ(table.Lookup("id", 1, "nev").AsString(), "n1") << "the first record, without moving";
    EXPECT_EQ(currentId(), 2);
    table.Close();
    EXPECT_THROW(table.Locate("id", 1, {}), EDatabaseError);
}

TEST_F(LocateTable, AReopenedTableWithOtherFieldsLocatesOnItsNewFields)
{
    fill(5);
    ASSERT_TRUE(table.Locate("pont", 30, {}));
    table.Close();
    table.FieldDefs().Clear();
    table.FieldDefs().Add("nev", ftString, 10);
    table.FieldDefs().Add("pont", ftSmallint);
    table.Open();
    for (int points : {7, 8, 9}) {
        table.Append();
        table.FieldByName("pont")->SetAsInteger(points);
        table.FieldByName("nev")->SetAsString("p" + std::to_string(points));
        table.Post();
    }
    ASSERT_TRUE(table.Locate("pont", 8, {}));
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "p8");
}

TEST_F(LocateTable, RecordsTheFilterRefusesArePassedOver)
{
    appendPerson(table, 7, "rejtett", 1);
    appendPerson(table, 7, "latszik", 2);
    table.OnFilterRecord = [](TDataSet &dataSet, bool &accept) {
        accept = dataSet.FieldByName("pont")->AsInteger() != 1;
    };
    table.SetFiltered(true);
    EXPECT_TRUE(table.Locate("id", 7, {}));
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "latszik");
}

TEST_F(LocateTable, MoreThanTwentyRecordsAddOneSearchIndexThatTheNextLocateReuses)
{
    for (const auto &[count, autoAdd, indexes] : {std::tuple{20, true, 1}, {21, true, 2}, {30, false, 1}}) {
        table.EmptyTable();
        if (TztrIndex *added = table.Indexes().IndexByName("__MT__AUTO_pont"))
            table.Indexes().Delete(added);
        fill(count);
        table.SetAutoAddIndexes(autoAdd);
        EXPECT_TRUE(table.Locate("pont", 170, {}));
        EXPECT_EQ(currentId(), 17);
        EXPECT_EQ(table.Indexes().Count(), indexes) << count;
    }
    table.SetAutoAddIndexes(true);
    EXPECT_TRUE(table.Locate("pont", 170, {}));
    EXPECT_EQ(indexNames(), (std::vector<std::string>{RowOrderIndexName, "__MT__AUTO_pont"}));
    EXPECT_TRUE(table.Locate("pont", 30, {}));
    EXPECT_EQ(currentId(), 3);
    EXPECT_EQ(table.Indexes().Count(), 2);
    // The table still reads in row order: the search index only found the record.
    EXPECT_EQ(table.CurrentIndex(), table.Indexes().RowOrderIndex());
    table.Next();
    EXPECT_EQ(currentId(), 4);

    EXPECT_TRUE(table.Locate("nev", "N12", {loCaseInsensitive}));
    EXPECT_EQ(currentId(), 12);
    const TztrIndex *added = table.Indexes().IndexByName("__MT__AUTO_nev");
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(added->Options().Contains(mtcoCaseInsensitive));
    // A case-sensitive search cannot use it and is answered by a scan.
    EXPECT_FALSE(table.Locate("nev", "N12", {}));
    EXPECT_EQ(table.Indexes().Count(), 3);
}

TEST_F(LocateTable, LookupReadsTheResultFieldsOfTheMatchWithoutMoving)
{
    fill(5);
    table.Locate("id", 1, {});
    EXPECT_EQ(table.Lookup("id", 3, "nev").AsString(), "n3");
    const Variant both = table.Lookup("nev", "n4", "id;pont");
    ASSERT_TRUE(both.IsArray());
    EXPECT_EQ(both.Element(0).AsInteger(), 4);
    EXPECT_EQ(both.Element(1).AsInteger(), 40);
    EXPECT_EQ(currentId(), 1);
    EXPECT_TRUE(table.Lookup("id", 9, "nev").IsEmpty());
    EXPECT_FALSE(table.Found());
}

TEST_F(LocateTable, LookupComputesCalculatedFields)
{
    TztrMemTable calculated;
    auto addField = [&calculated](const char *name, TFieldType type, int size) {
        TField *field = calculated.Fields().Add(CreateFieldOfType(type));
        field->SetFieldName(name);
        field->SetSize(size);
        return field;
    };
    addField("id", ftInteger, 0);
    addField("nev", ftString, 20);
    addField("pont", ftInteger, 0);
    addField("dupla", ftInteger, 0)->SetFieldKind(fkCalculated);
    calculated.OnCalcFields = [](TDataSet &dataSet) {
        dataSet.FieldByName("dupla")->SetAsInteger(dataSet.FieldByName("pont")->AsInteger() * 2);
    };
    calculated.Open();
    appendPerson(calculated, 1, "a", 4);
    appendPerson(calculated, 2, "b", 6);
    EXPECT_EQ(calculated.Lookup("id", 2, "dupla").AsInteger(), 12);
}
