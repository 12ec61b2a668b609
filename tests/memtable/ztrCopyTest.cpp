#include "memtable/ztrCopy.h"

#include "memtable/ztrTestTables.h"
#include "platform/ArrayDataSet.h"
#include "platform/Classes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A dataset of another class than the memory table: id (integer), nev (text), pont (integer).
void openPeopleArray(ArrayDataSet &dataSet, int count)
{
    dataSet.FieldDefs().Add("id", ftInteger);
    dataSet.FieldDefs().Add("nev", ftString, 20);
    dataSet.FieldDefs().Add("pont", ftInteger);
    dataSet.Open();
    for (int id = 1; id <= count; ++id)
        dataSet.AppendRecord({id, cp1250("Név ") + std::to_string(id), id * 10});
}

void openPeople(TztrMemTable &table)
{
    definePeople(table);
    table.Open();
}

} // namespace

TEST(LoadFromDataSet, ReplacesOrAppendsRecordsMatchingFieldsByName)
{
    TztrMemTable owner;
    owner.SetAttachMaxCount(2);
    owner.FieldDefs().Add("id", ftAutoInc);
    owner.FieldDefs().Add("nev", ftString, 20);
    owner.FieldDefs().Add("megjegyzes", ftString, 30);
    owner.FieldDefs().Add("pont", ftInteger);
    owner.FieldDefs().Add("nagy", ftLargeint);
    owner.Open();
    owner.AppendRecord({100, "régi"});
    TztrMemTable view;
    view.SetAttachedTo(&owner);
    view.Open();
    ArrayDataSet source;
    source.FieldDefs().Add("nev", ftString, 20);
    source.FieldDefs().Add("csak_forrasban", ftInteger);
    source.FieldDefs().Add("id", ftInteger);
    source.FieldDefs().Add("pont", ftString, 10);
    source.FieldDefs().Add("nagy", ftLargeint);
    source.Open();
    source.AppendRecord({cp1250("Ákos"), 77, 7, "42", std::int64_t{9007199254740993}});
    source.AppendRecord({"", 1, 9, Variant::Null(), Variant::Null()});

    // Without append every table on the store is emptied; loaded keys are kept.
    owner.LoadFromDataSet(source, {});
    EXPECT_EQ(idsInOrder(owner), (std::vector<int>{7, 9}));
    EXPECT_EQ(idsInOrder(view), (std::vector<int>{7, 9}));
    EXPECT_EQ(owner.LoadedCount(), 2);
    owner.First();
    EXPECT_EQ(owner.FieldByName("nev")->AsString(), cp1250("Ákos"));
    EXPECT_TRUE(owner.FieldByName("megjegyzes")->IsNull());
    EXPECT_EQ(owner.FieldByName("pont")->AsInteger(), 42);
    EXPECT_EQ(owner.FieldByName("nagy")->AsLargeInt(), 9007199254740993);
    EXPECT_EQ(owner.FindField("csak_forrasban"), nullptr);
    owner.Last();
    EXPECT_TRUE(owner.FieldByName("pont")->IsNull());
    EXPECT_TRUE(owner.FieldByName("nagy")->IsNull());

    // Loading from the table itself or from a view of its records changes nothing.
    owner.LoadFromDataSet(owner, {});
    owner.LoadFromDataSet(view, {});
    owner.LoadFromDataSet(view, {mtcpoAppend});
    view.SaveToDataSet(owner, {});
    view.UpdateToDataSet(owner, "id");
    EXPECT_EQ(idsInOrder(owner), (std::vector<int>{7, 9}));
    // Appended records number on after the largest key the store ever gave.
    owner.LoadFromDataSet(source, {mtcpoAppend});
    EXPECT_EQ(idsInOrder(owner), (std::vector<int>{7, 9, 101, 102}));
    EXPECT_EQ(messageOf([&] { owner.LoadFromDataSet(source, {mtcpoAppend, mtcpoStructure}); }),
              "Cannot both append and copy structure.");
    EXPECT_THROW(owner.LoadFromDataSet(source, {mtcpoAppend, mtcpoProperties}), EMemTableError);
    EXPECT_EQ(owner.RecordCount(), 4);
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

TEST(LoadFromDataSet, KeepsTheTablesViewAndPutsTheSourceBackEvenWhenAValueFails)
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
    table.OnFilterRecord = [](TDataSet &dataSet, bool &accept) { accept = currentId(dataSet) % 2 == 0; };
    table.SetFiltered(true);
    ArrayDataSet source;
    openPeopleArray(source, 4);
    source.First();
    source.MoveBy(2);
    source.DisableControls();

    // The table's record event may turn records away.
    table.OnLoadRecord = [](TztrCustomMemTable &self, bool &accept) { accept = currentId(self) != 3; };
    table.LoadFromDataSet(source, {});
    EXPECT_EQ(table.LoadedCount(), 3);
    table.OnLoadRecord = nullptr;
    // Every record is loaded past the filter and the master link, which stay in place.
    table.LoadFromDataSet(source, {});
    EXPECT_TRUE(table.Filtered());
    EXPECT_EQ(table.MasterSource(), &masterSource);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2}));
    EXPECT_EQ(currentId(source), 3);
    EXPECT_TRUE(source.ControlsDisabled());
    source.EnableControls();
    table.SetMasterSource(nullptr);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 4}));
    table.SetFiltered(false);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3, 4}));

    ArrayDataSet bad;
    bad.FieldDefs().Add("id", ftString, 5);
    bad.Open();
    for (const char *id : {"1", "2", "x", "4"})
        bad.AppendRecord({id});
    bad.Last();
    EXPECT_THROW(table.LoadFromDataSet(bad, {}), EConvertError);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2}));
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(bad.FieldByName("id")->AsString(), "4");
    EXPECT_FALSE(bad.ControlsDisabled());
    EXPECT_FALSE(table.ControlsDisabled());

    source.Close();
    table.LoadFromDataSet(source, {});
    EXPECT_FALSE(source.Active()) << "a closed source is opened for the copy only";
    EXPECT_EQ(table.RecordCount(), 4);
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
