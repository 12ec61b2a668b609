#include "memtable/ztrMemTablePersistence.h"

#include "memtable/ztrErrors.h"
#include "memtable/ztrStreamFormat.h"
#include "platform/DBConsts.h"
#include "ztrStreamTestTables.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

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

    // Enough rooms that a save writes to the file several times before it ends.
    void addManyRooms(int count)
    {
        for (int i = 1; i <= count; ++i)
            addRoom(table, i, "R" + std::to_string(i), std::string(100, 'h'), i, "Kelmendor");
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

TEST_F(RoomFiles, SaveLoadAndAppendThroughTheDefaultFormatTellTheFileEvents)
{
    addExampleRooms(table);
    std::vector<TztrMemTableStorageType> seen;
    table.OnSave = [&](TztrCustomMemTable &, TztrMemTableStorageType type, TStream &) { seen.push_back(type); };
    table.OnLoad = [&](TztrCustomMemTable &, TztrMemTableStorageType type, TStream &stream) {
        seen.push_back(type);
        EXPECT_EQ(stream.Size(), static_cast<std::int64_t>(ExampleRoomFile.size()));
    };
    table.SaveToFile(folder / "terem.csv");
    EXPECT_EQ(readFile(folder / "terem.csv"), ExampleRoomFile);
    table.Last();
    table.LoadFromFile(folder / "terem.csv");
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.FieldByName("terem_id")->AsInteger(), 111) << "after a load the first record is current";
    TStringStream data(ExampleRoomFile);
    table.LoadFromStream(data, &csv);
    EXPECT_EQ(seen, (std::vector<TztrMemTableStorageType>{mtstFile, mtstFile, mtstStream}));
    table.OnLoad = nullptr;

    csv.SetsfAppend({sfSaveAppend});
    table.SaveToFile(folder / "uj.csv");
    EXPECT_EQ(readFile(folder / "uj.csv"), ExampleRoomFile);
    table.SaveToFile(folder / "uj.csv");
    EXPECT_EQ(readFile(folder / "uj.csv"), ExampleRoomFile + ExampleRoomFile);

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

TEST_F(RoomFiles, SaveOverAFolderNamesTheFileAndKeepsTheFolder)
{
    addExampleRooms(table);
    fs::create_directory(folder / "terem.csv");
    try {
        table.SaveToFile(folder / "terem.csv");
        FAIL() << "a folder was replaced";
    } catch (const EStreamError &error) {
        EXPECT_NE(error.Message().find((folder / "terem.csv").string()), std::string::npos)
            << error.Message();
    }
    EXPECT_TRUE(fs::is_directory(folder / "terem.csv"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);
}

TEST_F(RoomFiles, FileWithMoreColumnsThanFieldsFillsTheNamedFields)
{
    TztrMemTable narrow;
    narrow.FieldDefs().Add("terem_kod", ftString, 40);
    narrow.Open();
    TztrCSVStreamFormat nodef;
    configureAsCSVNodef(nodef);
    narrow.SetDefaultFormat(&nodef);
    writeFile(folder / "terem.csv", ExampleRoomFile);
    narrow.LoadFromFile(folder / "terem.csv");
    ASSERT_EQ(narrow.FieldCount(), 1);
    EXPECT_EQ(narrow.RecordCount(), 2);
    EXPECT_EQ(narrow.Fields()[0]->AsString(), "A-001");
}

TEST_F(RoomFiles, ProgressIsReportedAroundSavesAndLoads)
{
    addManyRooms(250);
    std::vector<std::pair<int, TztrProgressCode>> reports;
    table.OnProgress = [&](TztrCustomMemTable &, int percentage, TztrProgressCode code) {
        reports.emplace_back(percentage, code);
    };
    table.SaveToFile(folder / "terem.csv");
    const std::vector<std::pair<int, TztrProgressCode>> saving = {
        {0, mtpcSave}, {0, mtpcSave}, {40, mtpcSave}, {80, mtpcSave}, {100, mtpcSave}};
    EXPECT_EQ(reports, saving);

    reports.clear();
    table.LoadFromFile(folder / "terem.csv");
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.front(), std::make_pair(0, mtpcLoad));
    EXPECT_EQ(reports.back(), std::make_pair(100, mtpcLoad));

    reports.clear();
    table.SetProgressFlags({mtpcLoad});
    table.SaveToFile(folder / "terem.csv");
    EXPECT_TRUE(reports.empty());
}

TEST(PersistentTable, MissingFileOpensEmptyAndClosingWritesIt)
{
    TempFolder folder;
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    const std::string fileName = (folder / "terem.csv").string();
    {
        TztrMemTable table;
        table.SetPersistentFormat(&csv);
        table.SetPersistentFile(fileName);
        table.SetPersistent(true);
        makeRoomTable(table);
        EXPECT_EQ(table.RecordCount(), 0);
        addExampleRooms(table);
        table.Close();
        EXPECT_EQ(readFile(fileName), ExampleRoomFile);
    }
    TztrMemTable reopened;
    reopened.SetPersistentFormat(&csv);
    reopened.SetPersistentFile(fileName);
    reopened.SetPersistent(true);
    reopened.FieldDefs().Add("terem_id", ftInteger);
    reopened.Open();
    EXPECT_TRUE(reopened.Persistent());
    EXPECT_EQ(reopened.RecordCount(), 2);
    EXPECT_EQ(reopened.FieldCount(), 5);
}

TEST(PersistentTable, ASaveThatFailsIsRaisedByCloseAndEndsNoProgramAtDestruction)
{
    TempFolder folder;
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    const fs::path missingFolder = folder / "nincs";
    auto table = std::make_unique<TztrMemTable>();
    table->SetPersistentFormat(&csv);
    table->SetPersistentFile((missingFolder / "terem.csv").string());
    table->SetPersistent(true);
    makeRoomTable(*table);
    addExampleRooms(*table);
    EXPECT_ANY_THROW(table->Close());
    EXPECT_TRUE(table->Active());
    table.reset();
    EXPECT_FALSE(fs::exists(missingFolder));
}

TEST(PersistentTable, ClosingKeepsTheOldFileAsBackup)
{
    TempFolder folder;
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    writeFile(folder / "terem.csv", ExampleRoomFile);
    TztrMemTable table;
    table.SetPersistentFormat(&csv);
    table.SetPersistentFile((folder / "terem.csv").string());
    table.SetPersistentBackup(true);
    table.SetPersistentBackupExt(".bak");
    table.SetPersistent(true);
    table.FieldDefs().Add("terem_id", ftInteger);
    table.Open();
    addRoom(table, 113, "A-003", std::nullopt, std::nullopt, "Kelmendor");
    table.Close();
    EXPECT_EQ(readFile(folder / "terem.bak"), ExampleRoomFile);
    EXPECT_NE(readFile(folder / "terem.csv").find("\r\n113\tA-003\t"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "terem.$$$"));
}
