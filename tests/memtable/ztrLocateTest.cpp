#include "memtable/ztrLocate.h"

#include "memtable/ztrTestTables.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
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

std::string messageOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Exception &error) {
        return error.what();
    }
    return "nothing raised";
}

} // namespace

TEST_F(LocateTable, FindsTheRecordAndMakesItCurrent)
{
    fill(5);
    EXPECT_TRUE(table.Locate("id", 4, {}));
    EXPECT_TRUE(table.Found());
    EXPECT_EQ(currentId(), 4);
    EXPECT_EQ(table.RecNo(), 4);
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

TEST_F(LocateTable, AMissingKeyLeavesTheCursorWhereItWas)
{
    fill(5);
    table.Locate("id", 3, {});
    EXPECT_FALSE(table.Locate("id", 99, {}));
    EXPECT_FALSE(table.Found());
    EXPECT_EQ(currentId(), 3);
}

TEST_F(LocateTable, SeveralKeyFieldsTakeAnArrayOfValues)
{
    appendPerson(table, 1, "alma", 5);
    appendPerson(table, 1, "korte", 6);
    appendPerson(table, 2, "korte", 7);
    EXPECT_TRUE(table.Locate("id;nev", VarArrayOf({1, "korte"}), {}));
    EXPECT_EQ(table.FieldByName("pont")->AsInteger(), 6);
    EXPECT_FALSE(table.Locate("id;nev", VarArrayOf({2, "alma"}), {}));
}

TEST_F(LocateTable, MatchingIsCaseSensitiveUnlessAsked)
{
    appendPerson(table, 1, "Alma");
    EXPECT_FALSE(table.Locate("nev", "ALMA", {}));
    EXPECT_TRUE(table.Locate("nev", "ALMA", {loCaseInsensitive}));
}

TEST_F(LocateTable, ANullKeyFindsTheRecordWithoutValue)
{
    appendPerson(table, 1, "a", 5);
    appendPerson(table, 2, "b", std::nullopt);
    EXPECT_TRUE(table.Locate("pont", Variant::Null(), {}));
    EXPECT_EQ(currentId(), 2);
}

TEST_F(LocateTable, PartialKeyFindsTheFirstRecordInIndexOrderStartingWithIt)
{
    for (const char *name : {"kx", "bab", "kb", "ka", "kc"})
        appendPerson(table, static_cast<int>(table.RecordCount()) + 1, name);
    table.AddIndex("nevek", "nev", {});
    table.SetIndexFieldNames("nev");
    EXPECT_TRUE(table.Locate("nev", "ka", {loPartialKey}));
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "ka");
    EXPECT_TRUE(table.Locate("nev", "k", {loPartialKey}));
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "ka");
    EXPECT_FALSE(table.Locate("nev", "k", {}));
}

TEST_F(LocateTable, PartialKeyOnALargeTableBisectsToTheFirstMatch)
{
    for (int id = 1; id <= 40; ++id)
        appendPerson(table, id, "n" + std::to_string(100 - id));
    table.AddIndex("nevek", "nev", {});
    table.SetIndexFieldNames("nev");
    EXPECT_TRUE(table.Locate("nev", "n7", {loPartialKey}));
    // n70 is the smallest name beginning with n7, and it belongs to id 30.
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "n70");
    EXPECT_EQ(currentId(), 30);
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

TEST_F(LocateTable, TwentyRecordsAreScannedWithoutAddingAnIndex)
{
    fill(20);
    table.SetAutoAddIndexes(true);
    EXPECT_TRUE(table.Locate("pont", 170, {}));
    EXPECT_EQ(currentId(), 17);
    EXPECT_EQ(indexNames(), (std::vector<std::string>{RowOrderIndexName}));
}

TEST_F(LocateTable, TwentyOneRecordsAddOneSearchIndexThatTheNextLocateReuses)
{
    fill(21);
    table.SetAutoAddIndexes(true);
    EXPECT_TRUE(table.Locate("pont", 170, {}));
    EXPECT_EQ(currentId(), 17);
    EXPECT_EQ(indexNames(), (std::vector<std::string>{RowOrderIndexName, "__MT__AUTO_pont"}));
    EXPECT_TRUE(table.Locate("pont", 30, {}));
    EXPECT_EQ(currentId(), 3);
    EXPECT_EQ(table.Indexes().Count(), 2);
    // The table still reads in row order: the search index only found the record.
    EXPECT_EQ(table.CurrentIndex(), table.Indexes().RowOrderIndex());
    table.Next();
    EXPECT_EQ(currentId(), 4);
}

TEST_F(LocateTable, WithoutAutoAddIndexesALargeTableIsScanned)
{
    fill(30);
    EXPECT_TRUE(table.Locate("pont", 250, {}));
    EXPECT_EQ(currentId(), 25);
    EXPECT_EQ(table.Indexes().Count(), 1);
}

TEST_F(LocateTable, CaseInsensitiveLocateAddsACaseInsensitiveIndex)
{
    fill(25);
    table.SetAutoAddIndexes(true);
    EXPECT_TRUE(table.Locate("nev", "N12", {loCaseInsensitive}));
    EXPECT_EQ(currentId(), 12);
    const TztrIndex *added = table.Indexes().IndexByName("__MT__AUTO_nev");
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(added->Options().Contains(mtcoCaseInsensitive));
    // A case-sensitive search cannot use it and is answered by a scan.
    EXPECT_FALSE(table.Locate("nev", "N12", {}));
    EXPECT_EQ(table.Indexes().Count(), 2);
}

TEST_F(LocateTable, AHitInAnotherIndexLandsOnTheSameRecordInTheCurrentOrder)
{
    for (int id = 1; id <= 30; ++id)
        appendPerson(table, id, "n" + std::to_string(id % 7), id);
    table.AddIndex("pontok", "pont", {});
    table.AddIndex("nevek", "nev;id:D", {});
    table.SetIndexName("nevek");
    EXPECT_TRUE(table.Locate("pont", 12, {}));
    EXPECT_EQ(currentId(), 12);
    // The cursor walks on in the current order from there: name n5, the next smaller id.
    table.Next();
    EXPECT_EQ(currentId(), 5);
}

TEST_F(LocateTable, ADescendingIndexIsSearchedInItsOwnOrder)
{
    fill(30);
    table.AddIndex("visszafele", "pont:D", {});
    table.SetIndexName("visszafele");
    EXPECT_TRUE(table.Locate("pont", 120, {}));
    EXPECT_EQ(currentId(), 12);
    table.Next();
    EXPECT_EQ(currentId(), 11);
}

TEST_F(LocateTable, APendingEditIsPostedFirst)
{
    fill(3);
    table.Locate("id", 2, {});
    table.Edit();
    table.FieldByName("nev")->SetAsString("uj");
    EXPECT_TRUE(table.Locate("nev", "uj", {}));
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(currentId(), 2);
}

TEST_F(LocateTable, ScrollEventsSurroundASuccessfulLocateOnly)
{
    fill(3);
    std::vector<std::string> events;
    table.BeforeScroll = [&events](TDataSet &) { events.push_back("before"); };
    table.AfterScroll = [&events](TDataSet &) { events.push_back("after"); };
    table.Locate("id", 3, {});
    EXPECT_EQ(events, (std::vector<std::string>{"before", "after"}));
    events.clear();
    table.Locate("id", 9, {});
    EXPECT_EQ(events, (std::vector<std::string>{"before"}));
}

TEST_F(LocateTable, LocateInAClosedTableIsRefused)
{
    table.Close();
    EXPECT_THROW(table.Locate("id", 1, {}), EDatabaseError);
}

TEST_F(LocateTable, KeyValuesThatDoNotFitTheFieldsAreRefused)
{
    fill(2);
    table.First();
    EXPECT_EQ(messageOf([&] { table.Locate("id;nev", 1, {}); }), "Több mező, mint érték");
    EXPECT_EQ(messageOf([&] { table.Locate("", 1, {}); }), "Legalább egy mezőnek lennie kell");
    EXPECT_EQ(messageOf([&] { table.Locate("id", VarArrayOf({VarArrayOf({1, 2})}), {}); }),
              "A Values variant tömb dimenziószáma invalid");
    EXPECT_EQ(currentId(), 1);
}

TEST_F(LocateTable, KeyTextsLongerThanTheFieldAreCutToIt)
{
    TztrMemTable narrow;
    definePeople(narrow, 3);
    narrow.Open();
    appendPerson(narrow, 1, "abc");
    EXPECT_TRUE(narrow.Locate("nev", "abcdef", {}));
}

TEST_F(LocateTable, TextKeysConvertToTheFieldType)
{
    fill(5);
    EXPECT_TRUE(table.Locate("id", "4", {}));
    EXPECT_EQ(currentId(), 4);
}

TEST_F(LocateTable, AKeyRecordHasNoEffectOnTheTable)
{
    fill(3);
    table.Locate("id", 2, {});
    bool changed = false;
    table.FieldByName("id")->OnChange = [&changed](TField &) { changed = true; };
    table.Locate("id", 3, {});
    EXPECT_FALSE(changed);
    EXPECT_FALSE(table.Modified());
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
}

TEST_F(LocateTable, LookupOfAMissingKeyIsEmpty)
{
    fill(2);
    const Variant result = table.Lookup("id", 9, "nev");
    EXPECT_TRUE(result.IsEmpty());
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
