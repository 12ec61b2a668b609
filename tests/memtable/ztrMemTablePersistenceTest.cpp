#include "memtable/ztrMemTablePersistence.h"

#include "memtable/ztrErrors.h"
#include "memtable/ztrStreamFormat.h"
#include "platform/DBConsts.h"
#include "ztrStreamTestTables.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

using namespace streamtest;
namespace fs = std::filesystem;

namespace {

// The room table with the data module's "CSV" as its default format.
class RoomFiles : public ::testing::Test
{
protected:
    RoomFiles()
    {
        configureAsCSV(csv);
        makeRoomTable(table);
        table.SetDefaultFormat(&csv);
    }

    TempFolder folder;
    TztrCSVStreamFormat csv;
    TztrMemTable table;
};

} // namespace

TEST_F(RoomFiles, SaveAndLoadGoThroughTheDefaultFormat)
{
    addExampleRooms(table);
    table.SaveToFile(folder / "terem.csv");
    EXPECT_EQ(readFile(folder / "terem.csv"), ExampleRoomFile);
    table.Last();
    table.LoadFromFile(folder / "terem.csv");
    EXPECT_EQ(table.RecordCount(), 2) << "the definition block starts the table afresh";
    EXPECT_EQ(table.FieldByName("terem_id")->AsInteger(), 111) << "after a load the first record is current";

    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    table.SetDefaultFormat(&nodef);
    writeFile(folder / "uj.csv", "terem_id\tterem_kod\r\n113\tA-003\r\n");
    table.SetAutoReposition(true);
    table.Last();
    table.LoadFromFile(folder / "uj.csv");
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(table.FieldByName("terem_id")->AsInteger(), 112) << "repositioning keeps the current record";
}

TEST_F(RoomFiles, MissingFormatsClosedTablesAndMissingFilesAreRefused)
{
    TztrMemTable bare;
    makeRoomTable(bare);
    EXPECT_EQ(messageOf([&] { bare.SaveToFile(folder / "x.csv"); }), "No format specified.");
    EXPECT_THROW(bare.LoadFromStreamViaFormat(*std::make_unique<TStringStream>("x"), nullptr),
                 EMemTableError);
    EXPECT_THROW(table.LoadFromFile(folder / "nincs.csv"), EFOpenError);
    table.Close();
    EXPECT_NE(messageOf([&] { table.SaveToFile(folder / "terem.csv"); }).find(SDataSetClosed), std::string::npos);
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(RoomFiles, ASaveThatFailsLeavesWhatWasThereAsItWas)
{
    addExampleRooms(table);
    table.SaveToFile(folder / "terem.csv");
    // Enough rooms that the save writes to the file several times before it fails.
    for (int i = 1; i <= 3000; ++i)
        addRoom(table, i, "R" + std::to_string(i), std::string(100, 'h'), i, "Kelmendor");
    int saved = 0;
    table.OnSaveRecord = [&](TztrCustomMemTable &, bool &) {
        if (++saved == 2500)
            throw EMemTableError("megszakítva");
    };
    try {
        table.SaveToFile(folder / "terem.csv");
        FAIL() << "the failing save went through";
    } catch (const EMemTableError &error) {
        EXPECT_TRUE(error.Message().starts_with("megszakítva")) << error.Message();
        EXPECT_NE(error.Message().find((folder / "terem.csv").string()), std::string::npos)
            << error.Message();
    }
    EXPECT_EQ(readFile(folder / "terem.csv"), ExampleRoomFile);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
    EXPECT_FALSE(table.ControlsDisabled());

    // A folder in the way is named and kept.
    table.OnSaveRecord = nullptr;
    fs::create_directory(folder / "mappa.csv");
    try {
        table.SaveToFile(folder / "mappa.csv");
        ADD_FAILURE() << "a folder was replaced";
    } catch (const EStreamError &error) {
        EXPECT_NE(error.Message().find((folder / "mappa.csv").string()), std::string::npos) << error.Message();
    }
    EXPECT_TRUE(fs::is_directory(folder / "mappa.csv"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 2);
}
