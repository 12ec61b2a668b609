#include "memtable/ztrStreamTestTables.h"
#include "platform/Component.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace streamtest;

namespace {

// A form as the program builds one in code: a format and two room tables, one keeping its
// records with the form.
struct RoomForm : TComponent {
    RoomForm()
    {
        configureAsCSV(csv);
        csv.SetName("CSV");
        InsertComponent(&csv);
        for (TztrMemTable *table : {&rooms, &spare}) {
            InsertComponent(table);
            table->FieldDefs().Add("terem_id", ftAutoInc);
            table->FieldDefs().Add("terem_kod", ftString, 40);
            table->FieldDefs().Add("terem_kapacitas", ftInteger);
        }
        rooms.SetName("TeremTabla");
        spare.SetName("Tartalek");
        rooms.SetStoreDataOnForm(true);
        rooms.SetFormFormat(&csv);
    }

    TztrCSVStreamFormat csv;
    TztrMemTable rooms;
    TztrMemTable spare;
};

std::string writtenState(TComponent &form)
{
    TStringStream stream;
    WriteComponentsState(form, stream);
    return stream.DataString();
}

void readState(TComponent &form, const std::string &state)
{
    TStringStream stream(state);
    ReadComponentsState(form, stream);
}

std::vector<std::string> codesInOrder(TDataSet &table)
{
    std::vector<std::string> codes;
    for (table.First(); !table.Eof(); table.Next())
        codes.push_back(table.FieldByName("terem_kod")->AsString());
    return codes;
}

// The rooms table open with an index on the code and three rooms, added out of code order.
void fillRooms(RoomForm &form)
{
    form.rooms.IndexDefs().Add("kod", "terem_kod", {});
    form.rooms.Open();
    form.rooms.AppendRecord({1, "B-2", 30});
    form.rooms.AppendRecord({2, "A-1", 30});
    form.rooms.AppendRecord({3, "C-3", 30});
}

} // namespace

TEST(FormData, ATableStoredWithItsFormComesBackOpenWithItsRecordsAndIndexes)
{
    RoomForm written;
    fillRooms(written);
    written.rooms.SetIndexFieldNames("terem_kod");
    const std::string state = writtenState(written);

    RoomForm read;
    readState(read, state);
    ASSERT_TRUE(read.rooms.Active());
    EXPECT_FALSE(read.spare.Active()) << "a table stored closed stays closed";
    EXPECT_EQ(read.rooms.GetFieldNames(), written.rooms.GetFieldNames());
    EXPECT_EQ(read.rooms.FieldByName("terem_kod")->Size(), 40);
    EXPECT_EQ(read.rooms.RecordCount(), 3);
    ASSERT_EQ(read.rooms.IndexDefs().Count(), 1);
    read.rooms.SetIndexFieldNames("terem_kod");
    EXPECT_EQ(codesInOrder(read.rooms), (std::vector<std::string>{"A-1", "B-2", "C-3"}));
    // The loaded keys count for the next new record.
    read.rooms.Append();
    read.rooms.FieldByName("terem_kod")->SetAsString("D-4");
    read.rooms.Post();
    EXPECT_EQ(read.rooms.FieldByName("terem_id")->AsInteger(), 4);

    // Read once more from what came back, the form is the same again.
    RoomForm again;
    readState(again, writtenState(read));
    EXPECT_EQ(again.rooms.RecordCount(), 4);
}

TEST(FormData, WithoutDesignActivationTheTableStaysClosedUntilOpened)
{
    RoomForm written;
    fillRooms(written);
    const std::string state = writtenState(written);

    RoomForm read;
    read.rooms.SetDesignActivation(false);
    readState(read, state);
    EXPECT_FALSE(read.rooms.Active());
    read.rooms.Open();
    EXPECT_EQ(read.rooms.RecordCount(), 3) << "the records wait for the opening";
    read.rooms.Close();
    read.rooms.Open();
    EXPECT_EQ(read.rooms.RecordCount(), 0) << "and come back only once";
}

TEST(FormData, OnlyTablesThatStoreTheirDataWriteIt)
{
    RoomForm written;
    fillRooms(written);
    written.rooms.SetStoreDataOnForm(false);
    RoomForm read;
    readState(read, writtenState(written));
    EXPECT_TRUE(read.rooms.Active());
    EXPECT_EQ(read.rooms.RecordCount(), 0);

    // Records that cannot be written are not silently left out.
    written.rooms.SetStoreDataOnForm(true);
    written.rooms.SetFormFormat(nullptr);
    EXPECT_EQ(messageOf([&] { writtenState(written); }), "No format specified.");
}

TEST(FormData, ADamagedStreamIsRefusedAndLeavesTheFormUsable)
{
    RoomForm written;
    fillRooms(written);
    const std::string state = writtenState(written);

    for (const std::string &damaged : {std::string("nem űrlap"), state.substr(0, state.size() / 2)}) {
        RoomForm read;
        EXPECT_THROW(readState(read, damaged), EReadError);
        EXPECT_FALSE(read.rooms.ComponentState().Contains(csLoading));
        EXPECT_FALSE(read.rooms.Active());
        read.rooms.Open();
        EXPECT_TRUE(read.rooms.Active()) << "opening is not held back after the failure";
    }

    // A form that lost a component passes over what the stream keeps for it.
    RoomForm fewer;
    fewer.RemoveComponent(&fewer.spare);
    fewer.rooms.SetName("MasTabla");
    readState(fewer, state);
    EXPECT_FALSE(fewer.rooms.Active());
}

TEST(FormData, ADestroyedFormatIsForgottenByEveryTableThatHeldIt)
{
    TempFolder folder;
    TztrMemTable table;
    makeRoomTable(table);
    addExampleRooms(table);
    auto format = std::make_unique<TztrCSVStreamFormat>();
    TztrCSVStreamFormat other;
    configureAsCSV(other);
    table.SetDefaultFormat(format.get());
    table.SetCommaTextFormat(format.get());
    table.SetAllDataFormat(format.get());
    table.SetFormFormat(format.get());
    table.SetPersistentFormat(&other);
    table.SetPersistentFormat(format.get());
    table.SetPersistentFile((folder.path() / "rooms.csv").string());
    table.SetPersistent(true);
    TztrMemTable view;
    view.SetDefaultFormat(format.get());

    format.reset();
    EXPECT_EQ(table.DefaultFormat(), nullptr);
    EXPECT_EQ(table.CommaTextFormat(), nullptr);
    EXPECT_EQ(table.AllDataFormat(), nullptr);
    EXPECT_EQ(table.FormFormat(), nullptr);
    EXPECT_EQ(table.PersistentFormat(), nullptr);
    EXPECT_EQ(view.DefaultFormat(), nullptr);
    EXPECT_EQ(messageOf([&] { table.SaveToFile(folder.path() / "x.csv"); }), "No format specified.");
    table.Close();
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "rooms.csv"));

    // A format outliving the table it served keeps working for others.
    {
        TztrMemTable shortLived;
        shortLived.SetDefaultFormat(&other);
    }
    TztrMemTable later;
    makeRoomTable(later);
    addExampleRooms(later);
    EXPECT_EQ(saveToText(later, other), ExampleRoomFile);
}

TEST(FormData, CommaTextAndAllDataGoThroughTheirFormats)
{
    TztrMemTable table;
    makeRoomTable(table);
    addExampleRooms(table);
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    EXPECT_EQ(messageOf([&] { table.CommaText(); }), "No format specified.");
    table.SetCommaTextFormat(&csv);
    table.SetAllDataFormat(&csv);
    EXPECT_EQ(table.CommaText(), ExampleRoomFile);
    EXPECT_EQ(table.AllData(), ExampleRoomFile);

    TztrMemTable copy;
    copy.SetAllDataFormat(&csv);
    copy.SetAllData(ExampleRoomFile);
    EXPECT_EQ(copy.RecordCount(), 2);
    copy.SetCommaTextFormat(&csv);
    EXPECT_EQ(copy.CommaText(), ExampleRoomFile);
}

TEST(FormData, MovedFieldsBelongToTheOwnerAndOutliveTheOpening)
{
    TComponent form;
    TztrMemTable table;
    table.SetName("TeremTabla");
    definePeople(table);
    table.MoveFieldsToOwner();
    EXPECT_EQ(form.ComponentCount(), 0) << "a table without an owner moves nothing";

    form.InsertComponent(&table);
    TComponent taken;
    taken.SetName("TeremTablanev");
    form.InsertComponent(&taken);
    table.Open();
    appendPerson(table, 1, "Anna", 3);
    table.MoveFieldsToOwner();
    EXPECT_EQ(form.FindComponent("TeremTablaid"), table.FieldByName("id"));
    EXPECT_EQ(form.FindComponent("TeremTablapont"), table.FieldByName("pont"));
    EXPECT_EQ(form.FindComponent("TeremTablanev"), &taken) << "a name the owner has is left alone";
    EXPECT_EQ(table.FieldByName("nev")->Owner(), nullptr);

    TField *id = table.FieldByName("id");
    table.Close();
    ASSERT_EQ(table.FieldCount(), 3) << "persistent fields stay when the table closes";
    EXPECT_EQ(table.FieldByName("id"), id);
    table.Open();
    appendPerson(table, 2, "Bea", 4);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2}));

    const int before = form.ComponentCount();
    table.CloseAndDestroyFields();
    EXPECT_EQ(form.ComponentCount(), before - 2) << "destroyed fields leave the owner";
}

TEST(FormData, ClosingTheStoreAndDestroyingFieldsKeepsTheDefinitions)
{
    TztrMemTable owner;
    definePeople(owner);
    owner.SetAttachMaxCount(2);
    owner.Open();
    appendPerson(owner, 1);
    TztrMemTable view;
    view.SetAttachedTo(&owner);
    view.Open();

    view.CloseAndDestroyFields();
    EXPECT_FALSE(owner.Active());
    EXPECT_FALSE(view.Active());
    EXPECT_EQ(view.FieldCount(), 0);
    EXPECT_EQ(view.FieldDefs().Count(), 3);
    view.Open();
    EXPECT_TRUE(owner.Active());
    EXPECT_EQ(view.FieldCount(), 3);
    EXPECT_EQ(view.RecordCount(), 0);
}

TEST(FormData, AViewLoadedBeforeItsOwnerOpensItWithItsRecords)
{
    const auto build = [](TComponent &form, TztrMemTable &view, RoomForm &rooms) {
        // The view comes first, so it finishes loading while the owner still loads.
        view.SetName("Nezet");
        form.InsertComponent(&view);
        for (TComponent *component : {static_cast<TComponent *>(&rooms.csv), static_cast<TComponent *>(&rooms.rooms)})
            form.InsertComponent(component);
        rooms.rooms.SetAttachMaxCount(2);
        view.SetAttachedTo(&rooms.rooms);
    };
    TComponent written;
    RoomForm writtenRooms;
    TztrMemTable writtenView;
    build(written, writtenView, writtenRooms);
    fillRooms(writtenRooms);
    writtenView.Open();
    const std::string state = writtenState(written);

    TComponent read;
    RoomForm readRooms;
    TztrMemTable readView;
    build(read, readView, readRooms);
    readState(read, state);
    ASSERT_TRUE(readView.Active());
    EXPECT_TRUE(readRooms.rooms.Active());
    EXPECT_EQ(readView.RecordCount(), 3);
}
