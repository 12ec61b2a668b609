#include "data/datam.h"
#include "data/datamFileSet.h"
#include "datamTestFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace datamtest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const std::vector<Column> OrarendColumns{
    {"orarend_id", "AutoInc"}, {"megnevezes", "String", 50}, {"megjegyzes", "String", 100},
    {"szak_id", "Integer"},    {"hetek", "String", 15},      {"teszt", "Integer"},
};
const std::vector<Column> KurzusoktatoColumns{
    {"kurzus_id", "Integer"}, {"oktato_id", "Integer"}, {"szazalek", "Integer"}};
const std::vector<Column> KurzusorarendColumns{{"orarend_id", "Integer"}, {"kurzus_id", "Integer"}};
const std::vector<Column> KurzustargyColumns{{"kurzus_id", "Integer"}, {"targy_id", "Integer"}};
const std::vector<Column> KurzusalkalomColumns{{"kurzus_id", "Integer"}, {"alkalom_id", "Integer"}};

const std::vector<std::string> KurzusRows{
    "222\t111\tMAB123MN-EA-01\tMAB123MN\tEA\t01\t120\t\t\t-1\t-1",
};

// A folder holding the three master files the module cannot start without, two rows each.
class DataModule : public DataFolder {
protected:
    DataModule() { writeMasterFiles(); }

    void writeMasterFiles() const
    {
        write("targy.csv", dataFile(TargyColumns, {"111\tAnalízis\tMAB123MN\t2\t2\t0\t5\tvizsga\t-1\t1\t0",
                                                   "112\tFizika\tFIB456AN\t2\t1\t1\t4\tgyakorlati jegy\t-1\t1\t0"}));
        write("oktato.csv", dataFile(OktatoColumns, {"111\tKT01\tKelemen Tódor", "112\tSZA02\tSzabó Aranka"}));
        write("terem.csv", dataFile(TeremColumns, {"1\tA-001\tFő épület\t120\tKelmendor",
                                                   "2\tB-101\tKert\t30\tKelmendor"}));
    }

    // The full set of files a save replaces, so a test can tell old files from new ones.
    void writeTimetableFiles() const
    {
        write("KK_orarend.csv", dataFile(OrarendColumns, {"111\tMérnök BSc 1. félév\t\t3\t111111111111111\t0"}));
        write("KK_kurzus.csv", dataFile(KurzusColumns, KurzusRows));
        write("KK_alkalom.csv",
              dataFile(AlkalomColumns, {"333\t222\t2\t02/01/1900 07:45:00\t02/01/1900 09:15:00\t0\t111111111111111"}));
        write("KK_kurzusoktato.csv", dataFile(KurzusoktatoColumns, {"222\t111\t100"}));
        write("KK_kurzusorarend.csv", dataFile(KurzusorarendColumns, {"111\t222"}));
        write("KK_kurzustargy.csv", dataFile(KurzustargyColumns, {"222\t111"}));
        write("KK_kurzusalkalom.csv", dataFile(KurzusalkalomColumns, {"222\t333"}));
    }
};

std::set<int> columnIds(TDataSet &table, const std::string &fieldName)
{
    std::set<int> ids;
    for (table.First(); !table.Eof(); table.Next())
        ids.insert(table.FieldByName(fieldName)->AsInteger());
    return ids;
}

} // namespace

using DataModuleStart = DataModule;

TEST_F(DataModuleStart, MasterAndTimetableTablesAreOpenWithTheirRows)
{
    writeTimetableFiles();
    write("KK_orarend.csv", dataFile(OrarendColumns, {"111\tZene\t\t1\t\t0", "112\tAllattan\t\t2\t\t0",
                                                      "113\tBiologia\t\t3\t\t0"}));
    TDM dm(environment());

    EXPECT_EQ(dm.MT_targy.RecordCount(), 2);
    EXPECT_EQ(dm.MT_oktato.RecordCount(), 2);
    EXPECT_EQ(dm.MT_terem.RecordCount(), 2);
    EXPECT_EQ(dm.MT_kurzus.RecordCount(), 1);
    EXPECT_EQ(dm.MT_alkalom.RecordCount(), 1);
    EXPECT_THAT(columnTexts(dm.MT_orarend, "megnevezes"), ElementsAre("Allattan", "Biologia", "Zene"));
    // The occasion links are made again from the courses, never read.
    EXPECT_TRUE(dm.MT_kurzusalkalom.Active());
    EXPECT_EQ(dm.MT_kurzusalkalom.RecordCount(), 0);
    EXPECT_EQ(dm.Felev, "2025-2026-1");
    EXPECT_FALSE(dm.SzunetSor);
    EXPECT_EQ(dm.Mappa, folder.withSeparator());
    for (TDataSet *table : {&dm.MT_mintatanterv, &dm.MT_mintatantervtargy, &dm.MT_kurzusminta,
                            &dm.MT_kurzusmintatargy, &dm.MT_kurzusmintaoktato, &dm.MT_terem_alkalomhoz})
        EXPECT_TRUE(table->Active()) << table->Name();
}

TEST_F(DataModuleStart, SampleFileStandsInForAMissingTimetableFileUntilTheFirstSave)
{
    write("kurzus-minta.csv", dataFile(KurzusColumns, KurzusRows));
    {
        TDM dm(environment());
        EXPECT_THAT(columnTexts(dm.MT_kurzus, "kurzus_kod_osszetett"), ElementsAre("MAB123MN-EA-01"));
        dm.MT_kurzus.Append();
        dm.MT_kurzus.FieldByName("targy_id")->SetAsInteger(112);
        dm.MT_kurzus.FieldByName("kurzus_kod_osszetett")->SetAsString("FIB456AN-GY-01");
        dm.MT_kurzus.Post();
        dm.Mentes();
    }
    ASSERT_TRUE(fs::exists(folder.path() / "KK_kurzus.csv"));

    TDM again(environment());
    EXPECT_THAT(columnTexts(again.MT_kurzus, "kurzus_kod_osszetett"),
                ElementsAre("MAB123MN-EA-01", "FIB456AN-GY-01"));
}

// An index the file defines is kept; only the missing ones are added, and a table without any
// file still has the fields the program uses.
TEST_F(DataModuleStart, TablesHaveTheIndexesAndFieldsTheProgramUsesWithOrWithoutAFile)
{
    for (const char *fileIndex2 : {"", "kurzus_kod"}) {
        fs::remove(folder.path() / "KK_kurzus.csv");
        if (*fileIndex2 != '\0')
            write("KK_kurzus.csv", dataFile(KurzusColumns, KurzusRows, {"index2=kurzus_kod,index2"}));
        TDM dm(environment());

        EXPECT_TRUE(dm.MT_kurzus.Active());
        EXPECT_EQ(dm.MT_kurzus.IndexDefs().Count(), 3);
        EXPECT_EQ(dm.MT_kurzus.IndexDefs().Find("index1")->Fields(), "kurzus_id");
        EXPECT_EQ(dm.MT_kurzus.IndexDefs().Find("index2")->Fields(), *fileIndex2 ? fileIndex2 : "targy_id");
        EXPECT_EQ(dm.MT_kurzus.IndexDefs().Find("index3")->Fields(), "kurzus_kod_osszetett");
    }
    TDM dm(environment());
    EXPECT_NE(dm.MT_kurzustargy.FindField("targy_id"), nullptr);
    EXPECT_NE(dm.MT_kurzusmintatargy.FindField("kurzusminta_id"), nullptr);
    EXPECT_NE(dm.MT_kurzusmintaoktato.FindField("oktato_id"), nullptr);
}

using DataModuleAdministrator = DataModule;

TEST_F(DataModuleAdministrator, ListedNamesMatchOnlyWithTheirExactCaseInTheLoginCodePage)
{
    const struct {
        const char *login; // UTF-8; none when the login name cannot be read
        bool admin;
    } cases[] = {
        {"WUSNERX.QLA", true},  {"wusnerx.qla", true},   {"Wusnerx.qla", false},
        {"wusnerx.qla ", false}, {"Vemdár Pukol", true}, {nullptr, false},
    };
    for (const auto &c : cases) {
        TDMEnvironment login = environment(c.login != nullptr ? utf8ToCp1250(c.login) : "");
        if (c.login == nullptr)
            login.userName = [](std::string &) { return false; };
        TDM dm(login);
        const std::string shown = c.login != nullptr ? utf8ToCp1250(c.login) : "Unknown";
        EXPECT_EQ(dm.Admin, c.admin) << shown;
        EXPECT_EQ(dm.Felhasznalo, shown);
        EXPECT_EQ(dm.FelhasznaloNev(), shown);
    }
}

using DataModuleFailedStart = DataModule;

// A file the start accepted must save back every value it held, so a file that would lose
// values (or leave a table closed) is refused by name before anything is shown.
TEST_F(DataModuleFailedStart, FileThatIsMissingDamagedOrWouldLoseValuesIsRefusedNamingFileLineAndField)
{
    const auto replaced = [](std::string text, const std::string &from, const std::string &to) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    writeTimetableFiles();
    const std::string alkalom = read("KK_alkalom.csv");
    const std::string header = "alkalom_id\tkurzus_id\tterem_id\tkezd_ido\tveg_ido\tgyakorisag\thetek\r\n";
    const struct {
        const char *file;
        std::string bytes;
        const char *says;
        const char *removed = nullptr;
    } cases[] = {
        {"KK_alkalom.csv", replaced(alkalom, "333\t222\t", "333\tketto\t"), "KK_alkalom.csv"},
        {"terem.csv", "", "terem.csv", "terem.csv"},
        // A sample file standing in for a missing timetable file is checked as strictly.
        {"kurzus-minta.csv", dataFile(KurzusColumns, {"222\t111\tMAB123MN-EA-01\t\t\t\t-\t\t\t-1\t-1"}),
         "kurzus-minta.csv", "KK_kurzus.csv"},
        {"KK_alkalom.csv", replaced(alkalom, header, ""), "sor: 11, mező: alkalom_id"},
        {"KK_alkalom.csv", replaced(alkalom, header, "azonosito\tkurzus\r\n"), "sor: 11, mező: alkalom_id"},
        {"KK_alkalom.csv", alkalom.substr(0, alkalom.find("\tveg_ido")), "sor: 11, mező: veg_ido"},
        {"KK_alkalom.csv", replaced(alkalom, "kezd_ido\",\"\",10,Data", "kezd_ido\",\"\",10,Calculated"),
         "Calculated), az értékei nem töltődnének be. (fájl: KK_alkalom.csv, sor: 6, mező: kezd_ido"},
        {"terem.csv", replaced(read("terem.csv"), "\tterem_kod\t", "\tteremkod\t"), "mező: terem_kod"},
        {"KK_kurzusoktato.csv", replaced(read("KK_kurzusoktato.csv"), "kurzus_id=Integer,0", "kurzus_id=String,2"),
         "(String,2 a(z) Integer,0 helyett)"},
        {"KK_kurzus.csv", replaced(read("KK_kurzus.csv"), "megnevezes=String,100", "megnevezes=String,5"),
         "sor: 11, mező: megnevezes"},
        {"mintatantervtargy.csv",
         replaced(dataFile({{"mintatanterv_id", "Integer"}, {"targy_id", "Integer"}, {"targy_felveteltipus", "String", 50}},
                           {"1\t111\tkötelező"}),
                  "\ttargy_felveteltipus\r\n", "\r\n"),
         "sor: 7, mező: targy_felveteltipus"},
        {"oktato.csv", "", "A fájl üres."},
        {"oktato.csv", "\r\n\r\n", "A fájl üres."},
        {"KK_orarend.csv",
         "@@FILE VERSION@@\t251\r\n@@TABLEDEF START@@\r\norarend_id=AutoInc,0,\"orarend_id\",\"\",10,Data,\"\"\r\n",
         "@@TABLEDEF END@@"},
    };
    const auto healthy = snapshot();
    for (const auto &c : cases) {
        fs::remove_all(folder.path());
        fs::create_directory(folder.path());
        for (const auto &[name, bytes] : healthy)
            write(name, bytes);
        write(c.file, c.bytes);
        if (c.removed != nullptr)
            fs::remove(folder.path() / c.removed);
        const auto before = snapshot();
        try {
            TDM dm(environment());
            ADD_FAILURE() << c.file << " was accepted: " << c.says;
        } catch (const EDataFileError &error) {
            EXPECT_EQ(error.FileName(), c.file) << c.says;
            EXPECT_THAT(error.what(), HasSubstr(c.says));
            EXPECT_THAT(error.what(), HasSubstr(c.file));
        }
        EXPECT_EQ(snapshot(), before) << c.says;
    }
}

using DataModuleSave = DataModule;

TEST_F(DataModuleSave, MentesWritesTeachersAndTheSevenTimetableFilesWithItsCaptions)
{
    const std::string sample = dataFile(OrarendColumns, {"111\tMinta\t\t1\t\t0"});
    write("orarend-minta.csv", sample);
    TDM dm(environment());
    RecordingProgress progress;
    dm.SetProgress(&progress);

    dm.Mentes();

    EXPECT_THAT(progress.events,
                ElementsAre("start 8 Mentés", "step", "Mentés:Oktatók", "step", "Mentés:Órarendek", "step",
                            "Mentés:Alkalmak", "step", "Mentés:Kurzusok", "step", "Mentés:Kurzus oktatói", "step",
                            "Mentés:Kurzus órarendjei", "step", "Mentés:Kurzus tárgyai", "step",
                            "Mentés:Kurzus-alkalom kapcsolatok", "finish"));
    for (const char *file : {"oktato.csv", "KK_orarend.csv", "KK_alkalom.csv", "KK_kurzus.csv", "KK_kurzusoktato.csv",
                             "KK_kurzusorarend.csv", "KK_kurzustargy.csv", "KK_kurzusalkalom.csv"})
        EXPECT_TRUE(fs::exists(folder.path() / file)) << file;
    EXPECT_EQ(read("orarend-minta.csv"), sample);
}

// A save that fails at any file, before or while replacing, names it and leaves every old file
// as it was, with no stray files beside them.
TEST_F(DataModuleSave, FailingFileIsNamedAndEveryOldFileStays)
{
    const auto readOnly = [](const char *file) {
        return [file](TDM &dm) {
            fs::permissions(fs::path(dm.Mappa) / file, fs::perms::owner_read | fs::perms::group_read);
        };
    };
    const struct {
        const char *file;
        std::function<void(TDM &)> block;
        const char *says;
    } cases[] = {
        {"KK_kurzusoktato.csv",
         [](TDM &dm) {
             dm.CSV.OnFormatSaveField = [&dm](TztrCustomCSVStreamFormat &, TField &field, bool &, std::string &) {
                 if (field.DataSet() == &dm.MT_kurzusoktato)
                     throw EStreamError("Nincs hely a lemezen");
             };
         },
         "Nincs hely a lemezen"},
        // A folder where the teachers' links belong cannot be replaced by a file.
        {"KK_kurzusoktato.csv",
         [](TDM &dm) {
             fs::remove(dm.Mappa + "KK_kurzusoktato.csv");
             fs::create_directories(dm.Mappa + "KK_kurzusoktato.csv/keep");
         },
         "KK_kurzusoktato.csv"},
        {"oktato.csv", readOnly("oktato.csv"), "változatlanok maradtak"},
        {"KK_kurzus.csv", readOnly("KK_kurzus.csv"), "változatlanok maradtak"},
        {"KK_kurzusalkalom.csv", readOnly("KK_kurzusalkalom.csv"), "változatlanok maradtak"},
    };
    for (const auto &c : cases) {
        for (const fs::directory_entry &entry : fs::directory_iterator(folder.path())) {
            fs::permissions(entry.path(), fs::perms::owner_all);
            fs::remove_all(entry.path());
        }
        writeMasterFiles();
        writeTimetableFiles();
        TDM dm(environment());
        RecordingProgress progress;
        dm.SetProgress(&progress);
        for (TztrMemTable *table : {&dm.MT_oktato, &dm.MT_orarend}) {
            table->First();
            table->Edit();
            table->Fields()[1]->SetAsString("új");
            table->Post();
        }
        c.block(dm);
        const auto before = snapshot();

        try {
            dm.Mentes();
            ADD_FAILURE() << c.file << " was replaced: " << c.says;
        } catch (const EDataFileError &error) {
            EXPECT_EQ(error.FileName(), c.file) << c.says;
            EXPECT_THAT(error.what(), HasSubstr(c.file));
            EXPECT_THAT(error.what(), HasSubstr(c.says));
        }
        EXPECT_EQ(snapshot(), before) << c.says;
        EXPECT_EQ(progress.events.back(), "finish") << c.says;
    }
}

// A save cut short after its commit record is completed by the next start: one file of the set
// already moved into place, the other still waiting beside its old file. A damaged record stops
// the start by name and touches nothing.
TEST_F(DataModuleStart, SaveInterruptedAfterItsCommitIsCompletedAndADamagedRecordIsRefused)
{
    writeTimetableFiles();
    write("oktato.csv.77.old", read("oktato.csv"));
    write("oktato.csv", dataFile(OktatoColumns, {"111\tKT01\tKelemen Tódor", "113\tUJ03\tÚj Oktató"}));
    write("KK_kurzus.csv.77.old", read("KK_kurzus.csv"));
    write("KK_kurzus.csv.77.new", dataFile(KurzusColumns, {"222\t111\tMAB123MN-EA-02\t\t\t\t\t\t\t-1\t-1"}));
    const std::string completed = "oktato.csv\toktato.csv.77.new\toktato.csv.77.old\n"
                                  "KK_kurzus.csv\tKK_kurzus.csv.77.new\tKK_kurzus.csv.77.old\nend\n";
    for (const std::string &damaged :
         {completed.substr(0, completed.size() - 4), std::string("../oktato.csv\toktato.csv.77.new\t\nend\n")}) {
        write(DataFileSet::CommitRecord, damaged);
        const auto before = snapshot();
        try {
            TDM dm(environment());
            ADD_FAILURE() << "a damaged record was acted on: " << damaged;
        } catch (const EDataFileError &error) {
            EXPECT_EQ(error.FileName(), DataFileSet::CommitRecord);
        }
        EXPECT_EQ(snapshot(), before);
    }
    write(DataFileSet::CommitRecord, completed);

    TDM dm(environment());

    EXPECT_THAT(columnTexts(dm.MT_kurzus, "kurzus_kod_osszetett"), ElementsAre("MAB123MN-EA-02"));
    EXPECT_THAT(columnTexts(dm.MT_oktato, "oktato_kkod"), ElementsAre("KT01", "UJ03"));
    for (const char *gone : {DataFileSet::CommitRecord, "oktato.csv.77.old", "KK_kurzus.csv.77.old",
                             "KK_kurzus.csv.77.new"})
        EXPECT_FALSE(fs::exists(folder.path() / gone)) << gone;
}

TEST_F(DataModuleStart, NewFilesLeftByAnInterruptedSaveAreRemovedAndOthersKept)
{
    write("KK_alkalom.csv.4242.new", "félig írt");
    write("oktato.csv.17.old", "régi");
    write("jegyzet.new", "a felhasználóé");
    write("KK_alkalom.csv.masolat.new", "a felhasználóé");

    TDM dm(environment());

    EXPECT_FALSE(fs::exists(folder.path() / "KK_alkalom.csv.4242.new"));
    EXPECT_FALSE(fs::exists(folder.path() / "oktato.csv.17.old"));
    EXPECT_TRUE(fs::exists(folder.path() / "jegyzet.new"));
    EXPECT_TRUE(fs::exists(folder.path() / "KK_alkalom.csv.masolat.new"));
}

TEST_F(DataModuleSave, MasterDataSaveIsReadBackByTheNextStart)
{
    {
        TDM dm(environment());
        dm.MT_terem.Append();
        dm.MT_terem.FieldByName("terem_kod")->SetAsString("C-205");
        dm.MT_terem.FieldByName("terem_hely")->SetAsString(utf8ToCp1250("Új szárny"));
        dm.MT_terem.Post();
        dm.TorzsadatMentes();
    }
    for (const char *file : {"mintatanterv.csv", "mintatantervtargy.csv", "kurzusminta.csv", "kurzusmintatargy.csv",
                             "kurzusmintaoktato.csv"})
        EXPECT_TRUE(fs::exists(folder.path() / file)) << file;

    TDM again(environment());
    EXPECT_THAT(columnTexts(again.MT_terem, "terem_hely"), ElementsAre("Fő épület", "Kert", "Új szárny"));
}

TEST_F(DataModuleSave, ExportFilesCarryNoDefinitionBlock)
{
    TDM dm(environment());
    dm.MT_export.Open();
    dm.MT_export_alkalom.Open();
    dm.MT_export_alkalom.Append();
    dm.MT_export_alkalom.FieldByName("K_orarendkod")->SetAsString("MB1");
    dm.MT_export_alkalom.Post();

    dm.ExportMentes();

    const std::string alkalom = read("KK_export_ALKALOM.txt");
    EXPECT_EQ(alkalom.rfind("ORARKOD\tORARNEV\t", 0), 0U) << alkalom;
    EXPECT_THAT(alkalom, HasSubstr("\r\nMB1\t"));
    EXPECT_THAT(read("KK_export.txt"), ::testing::Not(HasSubstr("@@TABLEDEF")));
}

TEST_F(DataModuleSave, FolderIsTakenAgainFromTheEnvironment)
{
    TDM dm(environment());
    dm.Mappa = "/elsewhere/";

    dm.MappaFrissites();

    EXPECT_EQ(dm.Mappa, folder.withSeparator());
}

class DataModuleTexts : public DataModule {
protected:
    DataModuleTexts()
    {
        write("KK_kurzus.csv", dataFile(KurzusColumns, KurzusRows));
        write("KK_alkalom.csv", dataFile(AlkalomColumns, {}));
    }

    static std::string display(TDataSet &table, const std::string &field)
    {
        return cp1250ToUtf8(table.FieldByName(field)->DisplayText());
    }
};

// Grids show these texts, the frequency padded to one width, for every occasion, in the course's view too, and they are not saved.
TEST_F(DataModuleTexts, OccasionsShowDayFrequencyAndRoomInEveryViewAndAfterTheNextStart)
{
    const struct {
        double start;
        int frequency;
        int room;
        const char *day, *frequencyName, *roomText;
    } cases[] = {
        {0.3, 0, 2, "napGetText!(0)", "Minden héten       ", "Kert-B-101"},
        {1.3, 1, 1, "Vasárnap", "Páratlan héten     ", "Fő épület-A-001"},
        {2.3, 4, 77, "Hétfő", "Minden 4. héten    ", "Hiba!"},
        {49.3, 5, 1, "Szombat", "Egyedi beosztás    ", "Fő épület-A-001"},
        {50.3, -1, 1, "napGetText!(50)", "Egyedi beosztás    ", "Fő épület-A-001"},
    };
    const auto expectTexts = [&cases](TDataSet &table) {
        table.First();
        for (const auto &c : cases) {
            SCOPED_TRACE(table.Name() + " " + c.day);
            EXPECT_EQ(display(table, "nap"), c.day);
            EXPECT_EQ(display(table, "gyaknev"), c.frequencyName);
            EXPECT_EQ(display(table, "kiiras"), c.roomText);
            table.Next();
        }
        EXPECT_TRUE(table.Eof());
    };
    {
        TDM dm(environment());
        EXPECT_EQ(display(dm.MT_alkalom, "gyaknev"), std::string(19, ' '));
        EXPECT_EQ(display(dm.MT_alkalom, "nap"), "");
        for (const auto &c : cases) {
            dm.MT_alkalom.Append();
            dm.MT_alkalom.FieldByName("kurzus_id")->SetAsInteger(222);
            dm.MT_alkalom.FieldByName("terem_id")->SetAsInteger(c.room);
            dm.MT_alkalom.FieldByName("kezd_ido")->SetAsDateTime(TDateTime(c.start));
            dm.MT_alkalom.FieldByName("veg_ido")->SetAsDateTime(TDateTime(c.start + 1.0 / 16));
            dm.MT_alkalom.FieldByName("gyakorisag")->SetAsInteger(c.frequency);
            dm.MT_alkalom.Post();
        }
        expectTexts(dm.MT_alkalom);
        EXPECT_EQ(dm.MT_alkalom.FieldByName("kiiras")->Text(), "Not display");
        dm.MT_alkalom_kurzus.Open();
        expectTexts(dm.MT_alkalom_kurzus);
        dm.Mentes();
    }
    EXPECT_THAT(read("KK_alkalom.csv"), ::testing::Not(HasSubstr("gyaknev")));
    TDM again(environment());
    expectTexts(again.MT_alkalom);
}

using DataModuleViews = DataModule;

// The course's own views follow the main window's current course.
TEST_F(DataModuleViews, OccasionAndLinkedCourseViewsHoldTheRowsOfTheCurrentCourse)
{
    write("KK_kurzus.csv", dataFile(KurzusColumns, {"222\t111\tMAB123MN-EA-01\t\t\t\t\t\t\t-1\t-1",
                                                    "223\t111\tMAB123MN-GY-01\t\t\t\t\t\t\t-1\t222",
                                                    "224\t111\tMAB123MN-GY-02\t\t\t\t\t\t\t-1\t222",
                                                    "225\t112\tFIB456AN-EA-01\t\t\t\t\t\t\t-1\t-1"}));
    write("KK_alkalom.csv", dataFile(AlkalomColumns, {"333\t222\t1\t01/01/1900 07:45:00\t01/01/1900 09:15:00\t0\t",
                                                      "334\t225\t2\t02/01/1900 07:45:00\t02/01/1900 09:15:00\t0\t",
                                                      "335\t222\t2\t03/01/1900 07:45:00\t03/01/1900 09:15:00\t0\t"}));
    TDM dm(environment());
    dm.MT_alkalom_kurzus.Open();
    dm.MT_alkalom_kurzus2.Open();

    ASSERT_TRUE(dm.MT_kurzus.Locate("kurzus_id", Variant(222), {}));
    EXPECT_EQ(columnIds(dm.MT_alkalom_kurzus, "alkalom_id"), (std::set<int>{333, 335}));
    EXPECT_THAT(columnTexts(dm.MT_kurzus_csatolt, "kurzus_kod_osszetett"),
                ElementsAre("MAB123MN-GY-01", "MAB123MN-GY-02"));
    ASSERT_TRUE(dm.MT_kurzus.Locate("kurzus_id", Variant(225), {}));
    EXPECT_EQ(columnIds(dm.MT_alkalom_kurzus, "alkalom_id"), (std::set<int>{334}));
    EXPECT_EQ(columnIds(dm.MT_alkalom_kurzus2, "alkalom_id"), (std::set<int>{334}));
    EXPECT_TRUE(dm.MT_kurzus_csatolt.IsEmpty());
}
