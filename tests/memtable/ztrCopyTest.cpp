#include "memtable/ztrCopy.h"

#include "memtable/ztrTestTables.h"
#include "platform/ArrayDataSet.h"
#include "platform/Classes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A dataset of another class than the memory table: id (integer), nev (text), pont (integer).
void openPeopleArray(ArrayDataSet &dataSet, int count, int firstId = 1)
{
    dataSet.FieldDefs().Add("id", ftInteger);
    dataSet.FieldDefs().Add("nev", ftString, 20);
    dataSet.FieldDefs().Add("pont", ftInteger);
    dataSet.Open();
    for (int i = 0; i < count; ++i)
        dataSet.AppendRecord({firstId + i, cp1250("Név ") + std::to_string(firstId + i), (firstId + i) * 10});
}

void openPeople(TztrMemTable &table)
{
    definePeople(table);
    table.Open();
}

std::vector<int> idsOf(TDataSet &dataSet)
{
    std::vector<int> ids;
    dataSet.First();
    while (!dataSet.Eof()) {
        ids.push_back(dataSet.FieldByName("id")->AsInteger());
        dataSet.Next();
    }
    return ids;
}

std::vector<std::string> namesOf(TDataSet &dataSet)
{
    std::vector<std::string> names;
    dataSet.First();
    while (!dataSet.Eof()) {
        names.push_back(dataSet.FieldByName("nev")->AsString());
        dataSet.Next();
    }
    return names;
}

} // namespace

TEST(LoadFromDataSet, WithoutAppendEmptiesEveryTableOnTheStoreAndWithAppendKeepsThem)
{
    TztrMemTable owner;
    owner.SetAttachMaxCount(2);
    openPeople(owner);
    appendPerson(owner, 100, "régi");
    appendPerson(owner, 101, "régi");
    TztrMemTable view;
    view.SetAttachedTo(&owner);
    view.Open();
    ArrayDataSet source;
    openPeopleArray(source, 2);

    owner.LoadFromDataSet(source, {});
    EXPECT_EQ(idsOf(owner), (std::vector<int>{1, 2}));
    EXPECT_EQ(idsOf(view), (std::vector<int>{1, 2}));
    EXPECT_EQ(owner.LoadedCount(), 2);

    // Loading from the table itself or from a view of its records changes nothing.
    owner.LoadFromDataSet(owner, {});
    owner.LoadFromDataSet(view, {});
    owner.LoadFromDataSet(view, {mtcpoAppend});
    view.SaveToDataSet(owner, {});
    view.UpdateToDataSet(owner, "id");
    EXPECT_EQ(idsOf(owner), (std::vector<int>{1, 2}));
    owner.LoadFromDataSet(source, {mtcpoAppend});
    EXPECT_EQ(idsOf(owner), (std::vector<int>{1, 2, 1, 2}));
}

TEST(LoadFromDataSet, MatchesFieldsByNameAndConvertsValuesBetweenFieldClasses)
{
    ArrayDataSet source;
    source.FieldDefs().Add("nev", ftString, 20);
    source.FieldDefs().Add("csak_forrasban", ftInteger);
    source.FieldDefs().Add("id", ftInteger);
    source.FieldDefs().Add("pont", ftString, 10);
    source.FieldDefs().Add("nagy", ftLargeint);
    source.Open();
    source.AppendRecord({cp1250("Ákos"), 77, 5, "42", std::int64_t{9007199254740993}});
    source.AppendRecord({"", 1, 6, Variant::Null(), Variant::Null()});
    TztrMemTable table;
    table.FieldDefs().Add("id", ftInteger);
    table.FieldDefs().Add("nev", ftString, 20);
    table.FieldDefs().Add("megjegyzes", ftString, 30);
    table.FieldDefs().Add("pont", ftInteger);
    table.FieldDefs().Add("nagy", ftLargeint);
    table.Open();

    table.LoadFromDataSet(source, {});

    ASSERT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 5);
    EXPECT_EQ(table.FieldByName("nev")->AsString(), cp1250("Ákos"));
    EXPECT_TRUE(table.FieldByName("megjegyzes")->IsNull());
    EXPECT_EQ(table.FieldByName("pont")->AsInteger(), 42);
    EXPECT_EQ(table.FieldByName("nagy")->AsLargeInt(), 9007199254740993);
    EXPECT_EQ(table.FindField("csak_forrasban"), nullptr);
    table.Last();
    EXPECT_TRUE(table.FieldByName("pont")->IsNull());
    EXPECT_TRUE(table.FieldByName("nagy")->IsNull());
}

TEST(LoadFromDataSet, AnEmptyTableKeepsTheSourceKeysAndAppendedRecordsNumberOn)
{
    ArrayDataSet source;
    openPeopleArray(source, 0);
    source.AppendRecord({7, "hét", 1});
    source.AppendRecord({9, "kilenc", 2});
    TztrMemTable table;
    table.FieldDefs().Add("id", ftAutoInc);
    table.FieldDefs().Add("nev", ftString, 20);
    table.Open();

    table.LoadFromDataSet(source, {});
    EXPECT_EQ(idsOf(table), (std::vector<int>{7, 9}));
    table.LoadFromDataSet(source, {mtcpoAppend});
    EXPECT_EQ(idsOf(table), (std::vector<int>{7, 9, 10, 11}));
    EXPECT_EQ(namesOf(table), (std::vector<std::string>{"hét", "kilenc", "hét", "kilenc"}));
}

TEST(CopyLimits, LoadsSavesAndUpdatesStopAtTheLimitAndZeroMeansNone)
{
    ArrayDataSet source;
    openPeopleArray(source, 10);
    for (const auto &[limit, count] : {std::pair{4, 4}, {10, 10}, {0, 10}}) {
        TztrMemTable table;
        openPeople(table);
        table.SetLoadLimit(limit);
        table.LoadFromDataSet(source, {});
        EXPECT_EQ(table.RecordCount(), count) << limit;
        EXPECT_EQ(table.LoadedCount(), count) << limit;
        EXPECT_EQ(table.LoadedCompletely(), count == 10) << limit;

        table.SetLoadLimit(0);
        table.LoadFromDataSet(source, {});
        table.SetSaveLimit(limit);
        ArrayDataSet destination;
        openPeopleArray(destination, 0);
        table.SaveToDataSet(destination, {});
        EXPECT_EQ(destination.RowCount(), count) << limit;
        EXPECT_EQ(table.SavedCompletely(), count == 10) << limit;

        ArrayDataSet updated;
        openPeopleArray(updated, 0);
        EXPECT_EQ(table.UpdateRecords(table, updated, {mtufEdit, mtufAppend}, limit, "id"), count) << limit;
        EXPECT_EQ(updated.RowCount(), count) << limit;
    }
}

TEST(LoadFromDataSet, LoadsEveryRecordPastAFilterAndAMasterAndKeepsThem)
{
    TztrMemTable master;
    master.FieldDefs().Add("id", ftInteger);
    master.Open();
    master.AppendRecord({2});
    TDataSource masterSource;
    masterSource.SetDataSet(&master);
    TztrMemTable table;
    definePeople(table);
    table.SetMasterSource(&masterSource);
    table.SetMasterFields("id");
    table.SetDetailFields("id");
    table.Open();
    table.OnFilterRecord = [](TDataSet &dataSet, bool &accept) {
        accept = dataSet.FieldByName("id")->AsInteger() % 2 == 0;
    };
    table.SetFiltered(true);
    ArrayDataSet source;
    openPeopleArray(source, 4);

    table.LoadFromDataSet(source, {});

    EXPECT_TRUE(table.Filtered());
    EXPECT_EQ(table.MasterSource(), &masterSource);
    EXPECT_EQ(idsOf(table), (std::vector<int>{2}));
    table.SetMasterSource(nullptr);
    EXPECT_EQ(idsOf(table), (std::vector<int>{2, 4}));
    table.SetFiltered(false);
    EXPECT_EQ(idsOf(table), (std::vector<int>{1, 2, 3, 4}));
}

TEST(LoadFromDataSet, AppendTogetherWithStructureOrPropertiesIsRefused)
{
    ArrayDataSet source;
    openPeopleArray(source, 2);
    TztrMemTable table;
    openPeople(table);
    appendPerson(table, 50);

    EXPECT_EQ(messageOf([&] {
                  table.LoadFromDataSet(source, {mtcpoAppend, mtcpoStructure});
              }),
              "Cannot both append and copy structure.");
    EXPECT_THROW(table.LoadFromDataSet(source, {mtcpoAppend, mtcpoProperties}), EMemTableError);
    EXPECT_EQ(idsOf(table), (std::vector<int>{50}));
}

TEST(LoadFromDataSet, AFailedConversionStopsAtThatRecordAndPutsTheSourceBack)
{
    ArrayDataSet source;
    source.FieldDefs().Add("id", ftString, 5);
    source.Open();
    source.AppendRecord({"1"});
    source.AppendRecord({"2"});
    source.AppendRecord({"x"});
    source.AppendRecord({"4"});
    source.Last();
    TztrMemTable table;
    openPeople(table);

    EXPECT_THROW(table.LoadFromDataSet(source, {}), EConvertError);

    EXPECT_EQ(idsOf(table), (std::vector<int>{1, 2}));
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(source.FieldByName("id")->AsString(), "4");
    EXPECT_FALSE(source.ControlsDisabled());
    EXPECT_FALSE(table.ControlsDisabled());
}

TEST(CopyRecords, WideConversionTurnsEightBitTextToWideAndBackAsUtf8)
{
    const std::string utf8 = "Árvíztűrő";
    ArrayDataSet source;
    source.FieldDefs().Add("szoveg", ftString, 30);
    source.Open();
    source.AppendRecord({utf8});
    TztrMemTable table;
    table.FieldDefs().Add("szoveg", ftWideString, 30);
    table.Open();

    table.LoadFromDataSet(source, {});
    EXPECT_NE(table.FieldByName("szoveg")->AsWideString(), u"Árvíztűrő");
    table.LoadFromDataSet(source, {mtcpoConvertWide});
    EXPECT_EQ(table.FieldByName("szoveg")->AsWideString(), u"Árvíztűrő");

    ArrayDataSet destination;
    destination.FieldDefs().Add("szoveg", ftString, 30);
    table.SaveToDataSet(destination, {mtcpoConvertWide});
    EXPECT_FALSE(destination.Active()) << "a destination it had to open is closed again";
    destination.Open();
    destination.First();
    EXPECT_EQ(destination.FieldByName("szoveg")->AsString(), utf8);
}

TEST(SaveToDataSet, WritesEveryRecordIntoAnotherDataSet)
{
    TztrMemTable table;
    openPeople(table);
    appendPerson(table, 1, "a", 10);
    appendPerson(table, 2, "b");
    ArrayDataSet destination;
    openPeopleArray(destination, 0);
    std::vector<TztrMemTableStorageType> saves;
    table.OnSave = [&](TztrCustomMemTable &, TztrMemTableStorageType type, TStream &) {
        saves.push_back(type);
    };

    table.SaveToDataSet(destination, {});

    EXPECT_EQ(idsOf(destination), (std::vector<int>{1, 2}));
    destination.Last();
    EXPECT_TRUE(destination.FieldByName("pont")->IsNull());
    EXPECT_EQ(table.SavedCount(), 2);
    EXPECT_EQ(saves, (std::vector<TztrMemTableStorageType>{mtstDataSet}));
}

TEST(UpdateToDataSet, FlagsChooseWhetherFoundKeysAreUpdatedAndOthersAppended)
{
    struct Case
    {
        TztrUpdateFlags flags;
        std::vector<int> ids;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {{mtufEdit, mtufAppend}, {1, 3, 2}, {"új", "harmadik", "második"}},
        {{mtufEdit}, {1, 3}, {"új", "harmadik"}},
        {{mtufAppend}, {1, 3, 2}, {"régi", "harmadik", "második"}},
    };
    for (const Case &c : cases) {
        TztrMemTable table;
        openPeople(table);
        appendPerson(table, 1, "új", 11);
        appendPerson(table, 2, "második", 22);
        ArrayDataSet destination;
        openPeopleArray(destination, 0);
        destination.AppendRecord({1, "régi", 1});
        destination.AppendRecord({3, "harmadik", 3});

        table.UpdateToDataSet(destination, "id", c.flags);

        EXPECT_EQ(idsOf(destination), c.ids);
        EXPECT_EQ(namesOf(destination), c.names);
    }
}

TEST(UpdateRecords, UpdatesAMemoryTableFromAnotherDataSet)
{
    ArrayDataSet source;
    openPeopleArray(source, 3);
    TztrMemTable table;
    openPeople(table);
    appendPerson(table, 2, "régi", 0);

    table.UpdateRecords(source, table, {mtufEdit, mtufAppend}, 0, "id");

    EXPECT_EQ(idsOf(table), (std::vector<int>{2, 1, 3}));
    table.First();
    EXPECT_EQ(table.FieldByName("pont")->AsInteger(), 20);
}
