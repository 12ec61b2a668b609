#include "DataFolder.h"
#include "calendar/veltoCalendar.h"
#include "data/datamFileSet.h"

#include <gmock/gmock.h>

#include <functional>
#include <set>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

using DataModule = DataFolder;

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::string display(TDataSet &table, const char *field) { return cp1250ToUtf8(table.FieldByName(field)->DisplayText()); }

std::set<std::pair<int, int>> pairs(TDataSet &table, const char *first, const char *second)
{
    std::set<std::pair<int, int>> values;
    for (table.First(); !table.Eof(); table.Next())
        values.emplace(table.FieldByName(first)->AsInteger(), table.FieldByName(second)->AsInteger());
    return values;
}

} // namespace

TEST_F(DataModule, StartLoadsEveryTableAndASampleFileStandsInUntilTheFirstSave)
{
    copySample();
    write("KK_kurzusalkalom.csv", dataFile({"kurzus_id=Integer,0", "alkalom_id=Integer,0"}, {"222\t333"}));
    // An index the file brings is kept; the missing ones are added.
    write("kurzus-minta.csv", replaced(read("kurzus-minta.csv"), "index2=targy_id", "index2=kurzus_kod"));
    const Files before = snapshot();
    int courses = 0;
    {
        TDM dm(environment());
        EXPECT_EQ(dm.Mappa, folder.withSeparator());
        EXPECT_EQ(dm.Felev, "2025-2026-1");
        EXPECT_FALSE(dm.SzunetSor);
        const std::vector<std::string> timetables = columnTexts(dm.MT_orarend, "megnevezes");
        EXPECT_EQ(timetables.front(), "Gazdaságinformatikus BSc nappali 2. évf.");
        EXPECT_EQ(timetables.back(), "Programtervező informatikus BSc nappali 4. évf.");
        // The links are made again from the occasions, never read.
        EXPECT_TRUE(dm.MT_kurzusalkalom.Active());
        EXPECT_EQ(dm.MT_kurzusalkalom.RecordCount(), 0);
        for (TDataSet *table : {&dm.MT_targy, &dm.MT_oktato, &dm.MT_terem, &dm.MT_mintatanterv, &dm.MT_alkalom,
                                &dm.MT_mintatantervtargy, &dm.MT_kurzusminta, &dm.MT_kurzusmintatargy,
                                &dm.MT_kurzusmintaoktato, &dm.MT_kurzusoktato, &dm.MT_kurzustargy, &dm.MT_kurzusorarend})
            EXPECT_GT(table->RecordCount(), 0) << table->Name();
        EXPECT_TRUE(dm.MT_terem_alkalomhoz.Active());
        const TIndexDefs &indexes = dm.MT_kurzus.IndexDefs();
        EXPECT_EQ(indexes.Count(), 3);
        EXPECT_EQ(indexes.Find("index1")->Fields(), "kurzus_id");
        EXPECT_EQ(indexes.Find("index2")->Fields(), "kurzus_kod");
        EXPECT_EQ(indexes.Find("index3")->Fields(), "kurzus_kod_osszetett");
        append(dm.MT_kurzus, {{"targy_id", 111}, {"kurzus_kod_osszetett", "UJ-EA-01"}});
        courses = dm.MT_kurzus.RecordCount();
        dm.Mentes();
    }
    const Files after = snapshot();
    for (const auto &[name, bytes] : before)
        EXPECT_TRUE(name.find("-minta") == std::string::npos || after.at(name) == bytes) << name;
    TDM again(environment());
    EXPECT_EQ(again.MT_kurzus.RecordCount(), courses);
    again.MT_kurzus.Last();
    EXPECT_EQ(display(again.MT_kurzus, "kurzus_kod_osszetett"), "UJ-EA-01");
}

TEST_F(DataModule, AdministratorsAreTheListedLoginsInTheirExactCase)
{
    const struct {
        const char *login; // UTF-8; none when the login name cannot be read
        bool admin;
    } cases[] = {{"qadlepu", true},         {"WUSNERX.QLA", true},     {"wusnerx.qla", true},
                 {"Wusnerx.qla", false},    {"wusnerx.qla ", false},   {"Vemdár Pukol", true},
                 {"trevudon.lomak", true},  {"tesztelo", false},       {nullptr, false}};
    for (const auto &c : cases) {
        TDMEnvironment login = environment(c.login != nullptr ? utf8ToCp1250(c.login) : "");
        if (c.login == nullptr)
            login.userName = [](std::string &) { return false; };
        TDM dm(login);
        EXPECT_EQ(dm.Admin, c.admin) << dm.Felhasznalo;
        EXPECT_EQ(dm.Felhasznalo, c.login != nullptr ? utf8ToCp1250(c.login) : "Unknown");
    }
}

// A file the start accepted must save back every value it held, so one that would lose values is
// refused by name, line and field before anything is shown or written.
TEST_F(DataModule, FileThatWouldLoseValuesStopsTheStartAndNoFileChanges)
{
    copySample();
    TDM(environment()).Mentes();
    const Files healthy = snapshot();
    const auto edited = [&healthy](const char *file, const std::string &from, const std::string &to) {
        return replaced(healthy.at(file), from, to);
    };
    const std::string occasions = healthy.at("KK_alkalom.csv");
    const struct {
        const char *file;
        std::string bytes;
        const char *says;
        const char *removed = nullptr;
    } cases[] = {
        {"KK_alkalom.csv", edited("KK_alkalom.csv", "\r\n333\t222\t", "\r\n333\tketto\t"), "KK_alkalom.csv"},
        {"terem.csv", "", "A fájl üres. (fájl: terem.csv)"},
        {"oktato.csv", "\r\n\r\n", "A fájl üres."},
        // A sample file standing in for a missing timetable file is checked as strictly.
        {"kurzus-minta.csv", replaced(healthy.at("kurzus-minta.csv"), "\r\n222\t393\t", "\r\n222\tx\t"),
         "kurzus-minta.csv", "KK_kurzus.csv"},
        {"KK_alkalom.csv", edited("KK_alkalom.csv", "alkalom_id\tkurzus_id\tterem_id\tkezd_ido\tveg_ido\tgyakorisag\thetek\r\n", ""),
         "sor: 16, mező: alkalom_id"},
        {"KK_alkalom.csv",
         replaced(replaced(occasions, "hetek=String,50,\"hetek\",\"\",50,Data,\"\"\r\n", ""), "\thetek", ""),
         "A fájl nem határozza meg a program által használt mezőt. (fájl: KK_alkalom.csv, mező: hetek)"},
        {"KK_alkalom.csv", edited("KK_alkalom.csv", "kezd_ido\",\"\",10,Data", "kezd_ido\",\"\",10,Calculated"),
         "Calculated), az értékei nem töltődnének be. (fájl: KK_alkalom.csv, sor: 6, mező: kezd_ido"},
        {"terem.csv", edited("terem.csv", "\tterem_kod\t", "\tteremkod\t"), "sor: 16, mező: terem_kod"},
        {"KK_kurzusoktato.csv", edited("KK_kurzusoktato.csv", "kurzus_id=Integer,0", "kurzus_id=String,2"),
         "(String,2 a(z) Integer,0 helyett)"},
        {"KK_kurzus.csv", edited("KK_kurzus.csv", "megnevezes=String,100", "megnevezes=String,5"),
         "sor: 11, mező: megnevezes"},
        // The next save would write the column the header leaves out empty.
        {"mintatantervtargy.csv", edited("mintatantervtargy.csv", "\ttargy_felveteltipus\r\n", "\r\n"),
         "sor: 12, mező: targy_felveteltipus"},
        {"KK_orarend.csv", healthy.at("KK_orarend.csv").substr(0, 80), "@@TABLEDEF END@@"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.says);
        restore(healthy);
        write(c.file, c.bytes);
        if (c.removed != nullptr)
            fs::remove(folder / c.removed);
        const Files before = snapshot();
        try {
            TDM dm(environment());
            ADD_FAILURE() << c.file << " was accepted";
        } catch (const EDataFileError &error) {
            EXPECT_EQ(error.FileName(), c.file);
            EXPECT_THAT(error.what(), HasSubstr(std::string("A(z) ") + c.file + " adatfájl nem tölthető be"));
            EXPECT_THAT(error.what(), HasSubstr(c.says));
        }
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(DataModule, SavesReplaceTheirWholeSetOrLeaveEveryOldFile)
{
    copySample();
    {
        TDM dm(environment());
        RecordingProgress progress;
        dm.SetProgress(&progress);
        dm.Mentes();
        EXPECT_THAT(progress.events,
                    ElementsAre("start 8 Mentés", "step", "Mentés:Oktatók", "step", "Mentés:Órarendek", "step",
                                "Mentés:Alkalmak", "step", "Mentés:Kurzusok", "step", "Mentés:Kurzus oktatói", "step",
                                "Mentés:Kurzus órarendjei", "step", "Mentés:Kurzus tárgyai", "step",
                                "Mentés:Kurzus-alkalom kapcsolatok", "finish"));
        append(dm.MT_terem, {{"terem_kod", "C-205"}, {"terem_hely", utf8ToCp1250("Új szárny")}});
        dm.TorzsadatMentes();
        dm.MT_export.Open();
        dm.MT_export_alkalom.Open();
        append(dm.MT_export_alkalom, {{"K_orarendkod", "MB1"}, {"K_nap", 3}});
        dm.ExportMentes();
        EXPECT_EQ(progress.events.size(), 18U) << "only the timetable save shows its progress";
    }
    for (const char *file : {"KK_orarend.csv", "KK_alkalom.csv", "KK_kurzus.csv", "KK_kurzusoktato.csv",
                             "KK_kurzusorarend.csv", "KK_kurzustargy.csv", "KK_kurzusalkalom.csv"})
        EXPECT_THAT(read(file), HasSubstr("@@TABLEDEF START@@")) << file;
    const std::string exported = read("KK_export_ALKALOM.txt");
    EXPECT_EQ(exported.rfind("ORARKOD\tORARNEV\tTAGOZAT\tFELEV\t", 0), 0U) << exported;
    EXPECT_THAT(exported, HasSubstr("\r\nMB1\t"));
    EXPECT_THAT(read("KK_export.txt"), testing::Not(HasSubstr("@@TABLEDEF")));
    EXPECT_THAT(read("KK_export.txt"), HasSubstr("\tK_felev\t"));
    const Files healthy = snapshot();
    TDM reread(environment());
    EXPECT_EQ(columnTexts(reread.MT_terem, "terem_hely").back(), "Új szárny");

    const auto readOnly = [](const char *file) {
        return [file](TDM &dm) { fs::permissions(dm.Mappa + file, fs::perms::owner_read); };
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
        // A folder standing where the file belongs cannot be replaced by a file.
        {"KK_kurzusoktato.csv",
         [](TDM &dm) {
             fs::remove(dm.Mappa + "KK_kurzusoktato.csv");
             fs::create_directories(dm.Mappa + "KK_kurzusoktato.csv/keep");
         },
         "KK_kurzusoktato.csv"},
        {"oktato.csv", readOnly("oktato.csv"), "oktato.csv"},
        {"KK_kurzus.csv", readOnly("KK_kurzus.csv"), "KK_kurzus.csv"},
        {"KK_kurzusalkalom.csv", readOnly("KK_kurzusalkalom.csv"), "KK_kurzusalkalom.csv"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.says);
        restore(healthy);
        TDM dm(environment());
        RecordingProgress progress;
        dm.SetProgress(&progress);
        for (TztrMemTable *table : {&dm.MT_oktato, &dm.MT_orarend, &dm.MT_kurzus}) {
            table->Edit();
            table->Fields()[1]->SetAsString("1");
            table->Post();
        }
        c.block(dm);
        const Files before = snapshot();
        try {
            dm.Mentes();
            ADD_FAILURE() << c.file << " was replaced";
        } catch (const EDataFileError &error) {
            EXPECT_EQ(error.FileName(), c.file);
            EXPECT_THAT(error.what(), HasSubstr(std::string("A(z) ") + c.file +
                                                " adatfájl mentése nem sikerült, a korábbi adatfájlok "
                                                "változatlanok maradtak."));
            EXPECT_THAT(error.what(), HasSubstr(c.says));
        }
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(progress.events.back(), "finish");
    }
}

// A start first completes the save a crash cut short after its commit record (one file already in
// place, the other waiting beside its old one), or undoes it when it was being undone. A damaged
// record stops the start by name and touches nothing.
TEST_F(DataModule, StartCompletesOrUndoesAnInterruptedSaveAndClearsWhatSavesLeft)
{
    const std::string teachers = read("oktato.csv");
    const std::string newTeachers = replaced(teachers, utf8ToCp1250("\tFábián Róbert"), utf8ToCp1250("\tÚj Oktató"));
    copySample({"kurzus-minta.csv"});
    fs::rename(folder / "kurzus-minta.csv", folder / "KK_kurzus.csv.77.new");
    const std::string newCourses = read("KK_kurzus.csv.77.new");
    write("oktato.csv.77.old", teachers);
    write("oktato.csv", newTeachers);
    const std::string record = "oktato.csv\toktato.csv.77.new\toktato.csv.77.old\n"
                               "KK_kurzus.csv\tKK_kurzus.csv.77.new\t\nend\n";
    for (const std::string &damaged : {record.substr(0, record.size() - 4), std::string("../oktato.csv\toktato.csv.77.new\t\nend\n")}) {
        write(DataFileSet::CommitRecord, damaged);
        const Files before = snapshot();
        EXPECT_THROW(
            try { TDM dm(environment()); } catch (const EDataFileError &error) {
                EXPECT_EQ(error.FileName(), DataFileSet::CommitRecord);
                EXPECT_THAT(error.what(), HasSubstr("mentési napló sérült"));
                throw;
            },
            EDataFileError);
        EXPECT_EQ(snapshot(), before);
    }
    write(DataFileSet::CommitRecord, record);
    write("KK_alkalom.csv.4242.new", "félig írt");
    write("targy.csv.17.old", "régi");
    write("jegyzet.new", "a felhasználóé");
    write("KK_alkalom.csv.masolat.new", "a felhasználóé");
    const Files completed = [&] {
        TDM dm(environment());
        EXPECT_THAT(columnTexts(dm.MT_oktato, "oktato_nev"), testing::Contains("Új Oktató"));
        EXPECT_FALSE(dm.MT_kurzus.IsEmpty());
        return snapshot();
    }();
    EXPECT_EQ(completed.at("KK_kurzus.csv"), newCourses);
    for (const char *gone : {DataFileSet::CommitRecord, "oktato.csv.77.old", "KK_kurzus.csv.77.new",
                             "KK_alkalom.csv.4242.new", "targy.csv.17.old"})
        EXPECT_FALSE(completed.count(gone)) << gone;
    EXPECT_TRUE(completed.count("jegyzet.new") && completed.count("KK_alkalom.csv.masolat.new"));

    // Undoing puts the old file back under its name and removes a file the set added.
    write("oktato.csv.77.old", teachers);
    write(DataFileSet::RollbackRecord, record);
    TDM dm(environment());
    EXPECT_EQ(read("oktato.csv"), teachers);
    EXPECT_FALSE(fs::exists(folder / "KK_kurzus.csv"));
    EXPECT_FALSE(fs::exists(folder / "oktato.csv.77.old"));
    EXPECT_FALSE(fs::exists(folder / DataFileSet::RollbackRecord));
}

// Grids show these texts for every occasion, in the course's view too; they are not saved.
TEST_F(DataModule, OccasionsShowTheirDayFrequencyAndRoomInEveryViewAndAfterTheNextStart)
{
    const struct {
        double start;
        int frequency, room;
        const char *day, *frequencyName, *roomText;
    } cases[] = {
        {0.3, 0, 2, "napGetText!(0)", "Minden héten       ", "B-302"},
        {1.3, 1, 1, "Vasárnap", "Páratlan héten     ", "A-103"},
        {2.3, 2, 77, "Hétfő", "Páros héten        ", "Hiba!"},
        {7.3, 3, 1, "Szombat", "Minden 3. héten    ", "A-103"},
        {8.3, 4, 1, "Vasárnap", "Minden 4. héten    ", "A-103"},
        {49.3, 5, 1, "Szombat", "Egyedi beosztás    ", "A-103"},
        {50.3, -1, 1, "napGetText!(50)", "Egyedi beosztás    ", "A-103"},
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
        append(dm.MT_kurzus, {{"targy_id", 111}});
        for (const auto &c : cases)
            append(dm.MT_alkalom, {{"kurzus_id", dm.MT_kurzus.FieldByName("kurzus_id")->AsInteger()},
                                   {"terem_id", c.room}, {"kezd_ido", TDateTime(c.start)},
                                   {"gyakorisag", c.frequency}});
        expectTexts(dm.MT_alkalom);
        EXPECT_EQ(dm.MT_alkalom.FieldByName("kiiras")->Text(), "Not display");
        dm.MT_alkalom_kurzus.Open();
        expectTexts(dm.MT_alkalom_kurzus);
        dm.Mentes();
    }
    EXPECT_THAT(read("KK_alkalom.csv"), testing::Not(HasSubstr("gyaknev")));
    TDM again(environment());
    expectTexts(again.MT_alkalom);
}

// Courses 222 and 225 have occasions; 223 is linked to 222, 226 to 224, which has none.
TEST_F(DataModule, CourseViewsAndRegeneratedLinksFollowTheOccasionsOfTheCourseAndItsLinkedCourses)
{
    TDM dm(environment());
    for (int linkedTo : {-1, 222, -1, -1, 224})
        append(dm.MT_kurzus, {{"targy_id", 111}, {"kurzus_id_csatolt", linkedTo}});
    for (int course : {222, 222, 225})
        append(dm.MT_alkalom, {{"kurzus_id", course}});
    dm.MT_alkalom_kurzus.Open();
    dm.MT_alkalom_kurzus2.Open();
    ASSERT_TRUE(dm.MT_kurzus.Locate("kurzus_id", 222, {}));
    EXPECT_THAT(columnTexts(dm.MT_alkalom_kurzus, "alkalom_id"), ElementsAre("333", "334"));
    EXPECT_THAT(columnTexts(dm.MT_kurzus_csatolt, "kurzus_id"), ElementsAre("223"));
    ASSERT_TRUE(dm.MT_kurzus.Locate("kurzus_id", 225, {}));
    EXPECT_THAT(columnTexts(dm.MT_alkalom_kurzus2, "alkalom_id"), ElementsAre("335"));
    EXPECT_TRUE(dm.MT_kurzus_csatolt.IsEmpty());

    // The main window's filter and current course stay as it left them.
    dm.MT_kurzus.SetFilter("kurzus_id<>223");
    dm.MT_kurzus.SetFiltered(true);
    dm.MT_kurzusalkalom.SetFilter("kurzus_id=0");
    dm.MT_kurzusalkalom.SetFiltered(true);
    ASSERT_TRUE(dm.MT_kurzus.Locate("kurzus_id", 224, {}));
    RecordingProgress progress;
    dm.SetProgress(&progress);
    dm.KurzusalkalomGeneralas();
    dm.KurzusalkalomGeneralas();
    EXPECT_THAT(std::vector(progress.events.begin(), progress.events.begin() + 7),
                ElementsAre("start 5 Generálás", "step", "step", "step", "step", "step", "finish"));
    EXPECT_EQ(dm.MT_kurzus.FieldByName("kurzus_id")->AsInteger(), 224);
    EXPECT_EQ(dm.MT_kurzus.RecordCount(), 4);
    dm.MT_kurzusalkalom.SetFiltered(false);
    const std::set<std::pair<int, int>> links{{222, 333}, {222, 334}, {223, 333}, {223, 334}, {225, 335}};
    EXPECT_EQ(pairs(dm.MT_kurzusalkalom, "kurzus_id", "alkalom_id"), links);
    EXPECT_EQ(dm.MT_kurzusalkalom.RecordCount(), 5);

    // Links of occasions deleted or moved since are dropped.
    ASSERT_TRUE(dm.MT_alkalom.Locate("alkalom_id", 334, {}));
    dm.MT_alkalom.Delete();
    ASSERT_TRUE(dm.MT_alkalom.Locate("alkalom_id", 335, {}));
    dm.MT_alkalom.Edit();
    dm.MT_alkalom.FieldByName("kurzus_id")->SetAsInteger(224);
    dm.MT_alkalom.Post();
    dm.KurzusalkalomGeneralas();
    dm.Mentes();
    TztrMemTable saved;
    saved.LoadFromFileViaFormat(folder / "KK_kurzusalkalom.csv", &dm.CSV);
    EXPECT_EQ(pairs(saved, "kurzus_id", "alkalom_id"),
              (std::set<std::pair<int, int>>{{222, 333}, {223, 333}, {224, 335}, {226, 335}}));
}

TEST_F(DataModule, TimeRowPresetsLayOutTheDayInTheirPeriods)
{
    struct Row {
        int start, length;
        QString label;
        bool operator==(const Row &) const = default;
    };
    const struct {
        int mode;
        bool lunchBreak;
        std::size_t count, breakAt;
        Row first, second, last;
    } cases[] = {
        {0, true, 7, 0, {465, 90, " 1- 2 07:45-09:15"}, {570, 90, " 3- 4 09:30-11:00"}, {1095, 90, "13-14 18:15-19:45"}},
        {1, false, 13, 0, {420, 60, "07:00"}, {480, 60, "08:00"}, {1140, 60, "19:00"}},
        {2, false, 25, 0, {450, 30, "07:30"}, {480, 30, "08:00"}, {1170, 30, "19:30"}},
        {3, false, 25, 0, {465, 30, "07:45"}, {495, 30, "08:15"}, {1185, 30, "19:45"}},
        {4, false, 14, 0, {465, 45, " 1 07:45-08:30"}, {510, 45, " 2 08:30-09:15"}, {1155, 45, "14 19:15-20:00"}},
        {7, true, 15, 6, {465, 45, " 1 07:45-08:30"}, {510, 45, " 2 08:30-09:15"}, {1155, 45, "14 19:15-20:00"}},
    };
    TDM dm(environment());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        TveltoCalendar calendar;
        dm.SzunetSor = c.lunchBreak;
        dm.applyTimeRowPreset(c.mode, calendar);
        std::vector<Row> rows;
        for (const TveltoCalendarRow &row : calendar.Rows())
            rows.push_back({row.Start, row.Length, row.Label});
        ASSERT_EQ(rows.size(), c.count);
        EXPECT_EQ(rows[0], c.first);
        EXPECT_EQ(rows[1], c.second);
        EXPECT_EQ(rows.back(), c.last);
        if (c.breakAt > 0) {
            EXPECT_EQ(rows[c.breakAt], (Row{765, 30, "SZÜNET"}));
        }
        EXPECT_EQ(calendar.Scale(), -1);
        EXPECT_EQ(calendar.RowOfStartMinute(c.first.start), 1);
    }
}
