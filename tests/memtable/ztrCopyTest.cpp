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
    for (int id = firstId; id < firstId + count; ++id)
        dataSet.AppendRecord({id, cp1250("Név ") + std::to_string(id), id * 10});
}

void openPeople(TztrMemTable &table)
{
    definePeople(table);
    table.Open();
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
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{7, 9}));
    table.LoadFromDataSet(source, {mtcpoAppend});
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{7, 9, 10, 11}));
    EXPECT_EQ(namesOf(table), (std::vector<std::string>{"hét", "kilenc", "hét", "kilenc"}));
}

TEST(LoadFromDataSet, LeavesTheTableOnItsFirstRecordWithIndexesInOrder)
{
    ArrayDataSet source;
    openPeopleArray(source, 0);
    source.AppendRecord({3, "c", 1});
    source.AppendRecord({1, "a", 1});
    source.AppendRecord({2, "b", 1});
    TztrMemTable table;
    definePeople(table);
    table.IndexDefs().Add("byId", "id", {});
    table.Open();
    table.SetIndexName("byId");

    table.LoadFromDataSet(source, {});

    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 1);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(table.EnableIndexes());
}

TEST(LoadFromDataSet, StructureOptionTakesTheSourceFields)
{
    ArrayDataSet source;
    source.FieldDefs().Add("kod", ftString, 8);
    source.FieldDefs().Add("ertek", ftFloat);
    source.Open();
    source.AppendRecord({"A-1", 1.5});
    TztrMemTable table;
    openPeople(table);
    appendPerson(table, 1);

    table.LoadFromDataSet(source, {mtcpoStructure});

    ASSERT_TRUE(table.Active());
    EXPECT_EQ(table.FieldCount(), 2);
    EXPECT_EQ(table.FieldByName("kod")->Size(), 8);
    EXPECT_EQ(table.FieldByName("kod")->AsString(), "A-1");
    EXPECT_DOUBLE_EQ(table.FieldByName("ertek")->AsFloat(), 1.5);
    EXPECT_EQ(table.FindField("id"), nullptr);
}

TEST(LoadFromDataSet, PropertiesOptionCopiesFieldProperties)
{
    ArrayDataSet source;
    openPeopleArray(source, 1);
    source.FieldByName("nev")->SetDisplayLabel(cp1250("Név"));
    source.FieldByName("pont")->SetVisible(false);
    TztrMemTable table;
    openPeople(table);

    table.LoadFromDataSet(source, {mtcpoProperties});

    EXPECT_EQ(table.FieldByName("nev")->DisplayLabel(), cp1250("Név"));
    EXPECT_FALSE(table.FieldByName("pont")->Visible());
    EXPECT_TRUE(table.FieldByName("id")->Visible());
}

TEST(LoadFromDataSet, ReadOnlyFieldsAndTablesAreFilledAllTheSame)
{
    ArrayDataSet source;
    openPeopleArray(source, 2);
    TztrMemTable table;
    openPeople(table);
    table.FieldByName("nev")->SetReadOnly(true);

    table.LoadFromDataSet(source, {});
    EXPECT_EQ(namesOf(table), (std::vector<std::string>{cp1250("Név 1"), cp1250("Név 2")}));
    table.First();
    table.Edit();
    EXPECT_THROW(table.FieldByName("nev")->SetAsString("x"), EDatabaseError);
    table.Cancel();

    table.SetReadOnly(true);
    table.LoadFromDataSet(source, {mtcpoAppend});
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 1, 2}));
    EXPECT_FALSE(table.CanModify());
    EXPECT_THROW(table.Append(), EDatabaseError);
}

TEST(LoadFromDataSet, RecordsRefusedByOnLoadRecordAreNotStored)
{
    ArrayDataSet source;
    openPeopleArray(source, 4);
    TztrMemTable table;
    openPeople(table);
    std::vector<int> fieldsSeen;
    table.OnLoadField = [&](TztrCustomMemTable &, int fieldNo, TField &) { fieldsSeen.push_back(fieldNo); };
    table.OnLoadRecord = [](TztrCustomMemTable &self, bool &accept) {
        accept = self.FieldByName("id")->AsInteger() != 2;
    };

    table.LoadFromDataSet(source, {});

    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(table.LoadedCount(), 3);
    EXPECT_EQ(fieldsSeen.size(), 12u);
}

TEST(LoadFromDataSet, ReportsCopyProgress)
{
    ArrayDataSet source;
    openPeopleArray(source, 250);
    TztrMemTable table;
    openPeople(table);
    std::vector<int> percentages;
    table.OnProgress = [&](TztrCustomMemTable &, int percentage, TztrProgressCode code) {
        if (code == mtpcCopy)
            percentages.push_back(percentage);
    };

    table.LoadFromDataSet(source, {});
    EXPECT_EQ(percentages, (std::vector<int>{0, 0, 40, 80, 100}));

    ArrayDataSet single;
    openPeopleArray(single, 1);
    percentages.clear();
    table.LoadFromDataSet(single, {});
    EXPECT_EQ(percentages, (std::vector<int>{0, 0, 100}));
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

    EXPECT_EQ(idsInOrder(destination), (std::vector<int>{1, 2}));
    destination.Last();
    EXPECT_TRUE(destination.FieldByName("pont")->IsNull());
    EXPECT_EQ(table.SavedCount(), 2);
    EXPECT_EQ(saves, (std::vector<TztrMemTableStorageType>{mtstDataSet}));
}

// A caller that holds both tables' controls still keeps them held when the save event refuses
// the save, and nothing reaches the destination.
TEST(SaveToDataSet, ARefusingSaveEventLeavesBothTablesAsTheCallerHeldThem)
{
    TztrMemTable table;
    openPeople(table);
    appendPerson(table, 1);
    ArrayDataSet destination;
    openPeopleArray(destination, 0);
    table.OnSave = [](TztrCustomMemTable &, TztrMemTableStorageType, TStream &) { throw EMemTableError("tele"); };
    table.DisableControls();
    destination.DisableControls();

    EXPECT_EQ(messageOf([&] { table.SaveToDataSet(destination, {}); }), "tele");

    EXPECT_TRUE(table.ControlsDisabled());
    EXPECT_TRUE(destination.ControlsDisabled());
    EXPECT_EQ(destination.RowCount(), 0);
    table.EnableControls();
    destination.EnableControls();
    EXPECT_FALSE(table.ControlsDisabled());
    EXPECT_FALSE(destination.ControlsDisabled());
}

TEST(SaveToDataSet, OnSaveRecordChoosesTheRecordsAndOnSaveFieldSeesThem)
{
    TztrMemTable table;
    openPeople(table);
    for (int id = 1; id <= 4; ++id)
        appendPerson(table, id);
    table.OnSaveRecord = [](TztrCustomMemTable &self, bool &accept) {
        accept = self.FieldByName("id")->AsInteger() > 2;
    };
    std::vector<std::string> savedFields;
    table.OnSaveField = [&](TztrCustomMemTable &, int, TField &field) {
        savedFields.push_back(field.FieldName());
    };
    ArrayDataSet destination;
    openPeopleArray(destination, 0);

    table.SaveToDataSet(destination, {});

    EXPECT_EQ(idsInOrder(destination), (std::vector<int>{3, 4}));
    EXPECT_EQ(savedFields, (std::vector<std::string>{"id", "nev", "pont", "id", "nev", "pont"}));
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

        EXPECT_EQ(idsInOrder(destination), c.ids);
        EXPECT_EQ(namesOf(destination), c.names);
    }
}

TEST(UpdateToDataSet, MatchesOnSeveralKeyFieldsAndOpensAClosedTable)
{
    TztrMemTable table;
    definePeople(table);
    ArrayDataSet destination;
    openPeopleArray(destination, 0);
    destination.AppendRecord({1, "b", 0});
    table.UpdateToDataSet(destination, "id");
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(destination.RowCount(), 1);

    appendPerson(table, 1, "a", 100);
    appendPerson(table, 1, "b", 200);
    table.UpdateToDataSet(destination, "id;nev:C");
    EXPECT_EQ(destination.RowCount(), 2);
    destination.First();
    EXPECT_EQ(destination.FieldByName("pont")->AsInteger(), 200);
}

TEST(UpdateRecords, UpdatesAMemoryTableFromAnotherDataSet)
{
    ArrayDataSet source;
    openPeopleArray(source, 3);
    TztrMemTable table;
    openPeople(table);
    appendPerson(table, 2, "régi", 0);

    table.UpdateRecords(source, table, {mtufEdit, mtufAppend}, 0, "id");

    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 1, 3}));
    table.First();
    EXPECT_EQ(table.FieldByName("pont")->AsInteger(), 20);
}

TEST(CopyFieldProperties, CopiesTheTypeSpecificProperties)
{
    TztrMemTable source;
    source.FieldDefs().Add("ar", ftFloat);
    source.FieldDefs().Add("db", ftInteger);
    source.FieldDefs().Add("kesz", ftBoolean);
    source.Open();
    auto *price = static_cast<TFloatField *>(source.FieldByName("ar"));
    price->SetDisplayFormat("0.00");
    price->SetMaxValue(99.5);
    price->SetCurrency(true);
    auto *count = static_cast<TIntegerField *>(source.FieldByName("db"));
    count->SetMinValue(1);
    count->SetMaxValue(9);
    count->SetRequired(true);
    static_cast<TBooleanField *>(source.FieldByName("kesz"))->SetDisplayValues("igen;nem");
    TztrMemTable destination;
    destination.FieldDefs().Assign(source.FieldDefs());
    destination.Open();
    std::vector<std::string> setUp;
    destination.OnSetupFieldProperties = [&](TztrCustomMemTable &, TField &field) {
        setUp.push_back(field.FieldName());
    };

    destination.CopyFieldsProperties(source, destination);

    auto *copiedPrice = static_cast<TFloatField *>(destination.FieldByName("ar"));
    EXPECT_EQ(copiedPrice->DisplayFormat(), "0.00");
    EXPECT_DOUBLE_EQ(copiedPrice->MaxValue(), 99.5);
    EXPECT_TRUE(copiedPrice->IsCurrency());
    auto *copiedCount = static_cast<TIntegerField *>(destination.FieldByName("db"));
    EXPECT_EQ(copiedCount->MinValue(), 1);
    EXPECT_EQ(copiedCount->MaxValue(), 9);
    EXPECT_TRUE(copiedCount->Required());
    EXPECT_EQ(static_cast<TBooleanField *>(destination.FieldByName("kesz"))->DisplayValues(), "igen;nem");
    EXPECT_EQ(setUp, (std::vector<std::string>{"ar", "db", "kesz"}));
}
