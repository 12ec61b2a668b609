#include "DataFolder.h"
#include "calendar/veltoCalendar.h"
#include "data/datamFileSet.h"
#include "platform/System.h"

#include <functional>
#include <gmock/gmock.h>

using testing::HasSubstr;

namespace {

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class DataModule : public DataFolder
{
protected:
    // The routine must fail naming the file, say the text and leave every file as it was.
    void expectRefused(const std::function<void()> &routine, const std::string &file, const std::string &says)
    {
        const Files before = snapshot();
        try {
            routine();
            ADD_FAILURE() << file << " was accepted";
        } catch (const EDataFileError &error) {
            EXPECT_EQ(error.FileName(), file);
            EXPECT_THAT(error.what(), testing::AllOf(HasSubstr("A(z) " + file), HasSubstr(says)));
        }
        EXPECT_EQ(snapshot(), before);
    }
    void start() { TDM dm(environment()); }
};

} // namespace

// A sample file stands in for a missing timetable file until the first save; a save replaces its
// whole set of files or, failing at any file while writing or replacing, leaves every old one.
TEST_F(DataModule, StartLoadsEveryTableAndSavesReplaceTheirWholeSetOrNothing)
{
    copySample();
    write("KK_kurzusalkalom.csv", dataFile("kurzus_id=Integer alkalom_id=Integer", {"222\t333"}));
    // An index the file brings is kept; the missing ones are added.
    write("kurzus-minta.csv", replaced(read("kurzus-minta.csv"), "index2=targy_id", "index2=kurzus_kod"));
    const std::string sample = read("kurzus-minta.csv");
    {
        // Only the listed logins in their exact case are administrators.
        TDM dm(environment("Wusnerx.qla"));
        EXPECT_EQ(dm.Mappa + dm.Felev + (dm.SzunetSor ? " break" : "") + (dm.Admin ? " admin" : ""),
                  folder.withSeparator() + "2025-2026-1");
        // Timetables are listed by name; the occasion links are made again, never read.
        EXPECT_EQ(columnTexts(dm.MT_orarend, "megnevezes").front(),
                  "Gazdaságinformatikus BSc nappali 2. évf.");
        EXPECT_TRUE(dm.MT_kurzusalkalom.Active() && dm.MT_kurzusalkalom.IsEmpty());
        const TIndexDefs &indexes = dm.MT_kurzus.IndexDefs();
        EXPECT_EQ(std::to_string(indexes.Count()) + indexes.Find("index1")->Fields() +
                      indexes.Find("index2")->Fields() + indexes.Find("index3")->Fields(),
                  "3kurzus_idkurzus_kodkurzus_kod_osszetett");
        append(dm.MT_kurzus, {{"targy_id", 111}, {"kurzus_kod_osszetett", "UJ-EA-01"}});
        RecordingProgress progress;
        dm.SetProgress(&progress);
        dm.Mentes();
        EXPECT_EQ(progress.events.front() + progress.events.back(), "start 8 Mentésfinish");
        dm.MT_export.Open();
        dm.MT_export_alkalom.Open();
        append(dm.MT_export_alkalom, {{"K_orarendkod", "MB1"}, {"K_felev", "2025/26/1"}});
        dm.ExportMentes();
        EXPECT_EQ(progress.events.size(), 18U) << "only the timetable save shows its progress";
    }
    EXPECT_EQ(read("kurzus-minta.csv"), sample);
    // Files for the student information system: its column labels, no definition block.
    EXPECT_EQ(read("KK_export_ALKALOM.txt").rfind("ORARKOD\tORARNEV\tTAGOZAT\tFELEV\t", 0), 0U);
    EXPECT_THAT(read("KK_export_ALKALOM.txt"), HasSubstr("\r\nMB1\t\t\t2025/26/1\t"));
    EXPECT_EQ(read("KK_export.txt").rfind("K_helyzet\tK_targykod\tK_felev\t", 0), 0U);
    const Files healthy = snapshot();
    {
        TDM again(environment());
        EXPECT_EQ(columnTexts(again.MT_kurzus, "kurzus_kod_osszetett").back(), "UJ-EA-01");
    }
    for (const auto &[file, how] : {std::pair("KK_kurzusoktato.csv", 'w'),
                                    {"KK_kurzusoktato.csv", 'd'},
                                    {"oktato.csv", 'r'},
                                    {"KK_kurzusalkalom.csv", 'r'}}) {
        restore(healthy);
        TDM dm(environment());
        RecordingProgress progress;
        dm.SetProgress(&progress);
        append(dm.MT_oktato, {});
        append(dm.MT_kurzusalkalom, {});
        if (how == 'r')
            fs::permissions(folder / file, fs::perms::owner_read);
        // A folder standing where the file belongs cannot be kept aside nor replaced.
        if (how == 'd' && fs::remove(folder / file))
            fs::create_directories(folder / file / "keep");
        dm.CSV.OnFormatSaveField = [&dm, writing = how == 'w'](TztrCustomCSVStreamFormat &, TField &field,
                                                               bool &, std::string &) {
            if (writing && field.DataSet() == &dm.MT_kurzusoktato)
                throw EStreamError("Nincs hely a lemezen");
        };
        expectRefused([&dm] { dm.Mentes(); }, file,
                      how == 'w'
                          ? " adatfájl mentése nem sikerült, a korábbi adatfájlok változatlanok maradtak.\n"
                            "Nincs hely a lemezen"
                          : " adatfájl mentése nem sikerült");
        EXPECT_EQ(progress.events.back(), "finish");
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
    const struct
    {
        const char *file;
        std::string bytes;
        const char *says;
        const char *removed = nullptr;
    } cases[] = {
        {"terem.csv", "", "A(z) terem.csv adatfájl nem tölthető be, a program nem indul el.\nA fájl üres."},
        // A sample file standing in for a missing timetable file (at a first start, before any
        // timetable file was saved) is checked as strictly.
        {"kurzus-minta.csv", edited("kurzus-minta.csv", "\r\n222\t393\t", "\r\n222\tx\t"), "x", "KK_"},
        {"KK_alkalom.csv", edited("KK_alkalom.csv", "\r\nalkalom_id\t", "\r\nX\t"),
         "A fejléc nem nevezi meg a mező oszlopát. (fájl: KK_alkalom.csv, sor: 16, mező: alkalom_id)"},
        {"KK_alkalom.csv",
         replaced(edited("KK_alkalom.csv", "\r\nhetek=", "\r\nX="), "\thetek\r\n", "\tX\r\n"),
         "A fájl nem határozza meg a program által használt mezőt. (fájl: KK_alkalom.csv, mező: hetek)"},
        {"KK_kurzus.csv", edited("KK_kurzus.csv", "megnevezes=String,100", "megnevezes=String,99"),
         "(String,99 a(z) String,100 helyett), az értékei csonkulnának. (fájl: KK_kurzus.csv, sor: 11"},
        // A value longer than its field is refused where it stands, before the field could cut it.
        {"KK_kurzus.csv", edited("KK_kurzus.csv", "megnevezes=String,100", "megnevezes=String,5"),
         "KK_kurzus.csv\", sor: 40, mező: megnevezes"},
        {"terem.csv", edited("terem.csv", "\r\n1\t103\tA\t24\t", "\r\n1\t103\tA\t24\t" + std::string(37, 'x')),
         "'terem_telephely' mezőbe legfeljebb 50 karakter fér, a szöveg 62 karakteres (fájl: "},
        // The next save would write the column the header leaves out empty.
        {"mintatantervtargy.csv", edited("mintatantervtargy.csv", "\ttargy_felveteltipus\r\n", "\r\n"),
         "sor: 12, mező: targy_felveteltipus"},
        {"oktato.csv",
         healthy.at("oktato.csv").substr(0, healthy.at("oktato.csv").find("\r\noktato_id\t") + 2),
         "A fájl üres vagy csonka: nincs fejléce. (fájl: oktato.csv)"},
        {"oktato.csv", "\r\n\r\n", "A fájl üres."},
        {"terem.csv", "", "terem.csv", "terem.csv"},
        {"KK_alkalom.csv", healthy.at("KK_alkalom.csv").substr(0, healthy.at("KK_alkalom.csv").find("\tveg_ido")) + "\r\n",
         "mező: veg_ido"},
        {"KK_alkalom.csv", edited("KK_alkalom.csv", "kezd_ido\",\"\",10,Data", "kezd_ido\",\"\",10,Calculated"),
         "Calculated), az értékei nem töltődnének be. (fájl: KK_alkalom.csv, sor: 6, mező: kezd_ido"},
        {"terem.csv", edited("terem.csv", "\r\nterem_id\tterem_kod\t", "\r\nterem_id\tteremkod\t"),
         "mező: terem_kod"},
        {"KK_kurzusoktato.csv", edited("KK_kurzusoktato.csv", "kurzus_id=Integer,0", "kurzus_id=String,20"),
         "(String,20 a(z) Integer,0 helyett)"},
        // A field defined under another name but headed as the column the program puts back.
        {"mintatantervtargy.csv", edited("mintatantervtargy.csv", "targy_felveteltipus=String", "targy_x=String"),
         "Két mező oszlopa ugyanazt a nevet kapná"},
        {"KK_orarend.csv",
         healthy.at("KK_orarend.csv").substr(0, healthy.at("KK_orarend.csv").find("@@TABLEDEF END@@")),
         "@@TABLEDEF END@@"},
    };
    for (const auto &c : cases) {
        restore(healthy);
        write(c.file, c.bytes);
        if (c.removed != nullptr)
            for (const auto &[name, bytes] : healthy)
                if (name.rfind(c.removed, 0) == 0)
                    fs::remove(folder / name);
        expectRefused([this] { start(); }, c.file, c.says);
    }
}

// Once a save has put the timetable files into the folder, the samples no longer stand in: a
// timetable file that is missing, a link to nothing or a folder stops the start by name, as does
// a folder or a dangling link in place of an optional master file.
TEST_F(DataModule, TimetableFileThatIsNotThereAfterASaveStopsTheStartInsteadOfTheSample)
{
    copySample();
    TDM(environment()).Mentes();
    const Files healthy = snapshot();
    const char *const missing = "A fájl hiányzik, pedig a mappában vannak más órarendi adatfájlok.";
    const char *const dangling = "A fájl egy nem létező fájlra mutató hivatkozás.";
    const char *const isFolder = "A fájl helyén egy mappa áll.";
    const struct
    {
        const char *file;
        char how;
        const char *says;
    } cases[] = {
        {"KK_alkalom.csv", 'm', missing},         {"KK_alkalom.csv", 'l', dangling},
        {"KK_alkalom.csv", 'd', isFolder},        {"KK_orarend.csv", 'm', missing},
        {"KK_kurzus.csv", 'l', dangling},         {"KK_kurzusoktato.csv", 'm', missing},
        {"KK_kurzustargy.csv", 'd', isFolder},    {"KK_kurzusorarend.csv", 'm', missing},
        {"mintatanterv.csv", 'd', isFolder},      {"kurzusminta.csv", 'l', dangling},
    };
    for (const auto &c : cases) {
        restore(healthy);
        fs::remove(folder / c.file);
        if (c.how == 'l')
            fs::create_symlink(folder / "elveszett" / c.file, folder / c.file);
        if (c.how == 'd')
            fs::create_directories(folder / c.file / "x");
        expectRefused([this] { start(); }, c.file,
                      std::string(" adatfájl nem tölthető be, a program nem indul el.\n") + c.says);
    }
    // The program's own occasion links are rebuilt, never read, so they prove no save.
    restore(healthy);
    for (const char *name : {"KK_orarend.csv", "KK_kurzus.csv", "KK_alkalom.csv", "KK_kurzusoktato.csv",
                             "KK_kurzustargy.csv", "KK_kurzusorarend.csv"})
        fs::remove(folder / name);
    TDM firstStart(environment());
    EXPECT_FALSE(firstStart.MT_alkalom.IsEmpty()) << "the sample occasions";
}

// A start first completes the save a crash cut short after its commit record (one file already in
// place, the other waiting beside its old one), or undoes it when it was being undone. A damaged
// record stops the start by name and touches nothing.
TEST_F(DataModule, StartCompletesOrUndoesAnInterruptedSaveAndClearsWhatSavesLeft)
{
    const std::string teachers = read("oktato.csv");
    copySample({"kurzusminta.csv"});
    fs::rename(folder / "kurzusminta.csv", folder / "kurzusminta.csv.77.new");
    const std::string templates = read("kurzusminta.csv.77.new");
    write("oktato.csv.77.old", teachers);
    const std::string renamed =
        replaced(teachers, utf8ToCp1250("\tFábián Róbert"), utf8ToCp1250("\tÚj Oktató"));
    write("oktato.csv", renamed);
    const std::string record = "oktato.csv\toktato.csv.77.new\toktato.csv.77.old\n"
                               "kurzusminta.csv\tkurzusminta.csv.77.new\t\nend\n";
    for (const std::string &damaged :
         {record.substr(0, record.size() - 4), std::string("../x\ty.77.new\t\nend\n")}) {
        write(DataFileSet::CommitRecord, damaged);
        expectRefused([this] { start(); }, DataFileSet::CommitRecord, "mentési napló sérült");
    }
    write(DataFileSet::CommitRecord, record);
    // What saves leave behind goes; the user's own files stay.
    for (const char *name :
         {"KK_alkalom.csv.4242.new", "targy.csv.17.old", "jegyzet.new", "KK_alkalom.csv.masolat.new"})
        write(name, "x");
    // The planner is told what became of the save, at that start only.
    EXPECT_EQ(TDM(environment()).RecoveryNotice(),
              "Az előző mentést a program váratlan leállása félbeszakította. A program most befejezte: az "
              "adatfájlok a mentett adatokat tartalmazzák.");
    EXPECT_EQ(read("oktato.csv") + read("kurzusminta.csv"), renamed + templates);
    EXPECT_EQ(TDM(environment()).RecoveryNotice(), "");
    const Files left = snapshot();
    EXPECT_EQ(left.size(), 6U);
    EXPECT_TRUE(left.count("jegyzet.new") && left.count("KK_alkalom.csv.masolat.new"));

    // A new file that cannot be moved into place is dropped with its record.
    fs::create_directories(folder / "jegyzet.csv/x");
    write("jegyzet.csv.5.new", "x");
    write(DataFileSet::CommitRecord, "jegyzet.csv\tjegyzet.csv.5.new\t\nend\n");
    EXPECT_THAT(TDM(environment()).RecoveryNotice(), HasSubstr("A program most visszavonta: az adatfájlok a "
                                                               "mentés előtti állapotukban vannak"));
    EXPECT_FALSE(fs::exists(folder / DataFileSet::CommitRecord));

    // Undoing puts the old file back under its name and removes a file the set added.
    write("oktato.csv.77.old", teachers);
    write(DataFileSet::RollbackRecord, record);
    EXPECT_THAT(TDM(environment()).RecoveryNotice(), HasSubstr("visszavonta"));
    EXPECT_EQ(read("oktato.csv"), teachers);
    for (const char *gone : {"kurzusminta.csv", "oktato.csv.77.old", DataFileSet::RollbackRecord})
        EXPECT_FALSE(fs::exists(folder / gone)) << gone;

    // Without a record, a new file left means a save cut short before its commit, second names
    // alone one cut short after its record was gone.
    write("oktato.csv.88.old", teachers);
    EXPECT_THAT(TDM(environment()).RecoveryNotice(), HasSubstr("A program most befejezte"));
    write("oktato.csv.88.old", teachers);
    write("KK_orarend.csv.88.new", "x");
    EXPECT_THAT(TDM(environment()).RecoveryNotice(), HasSubstr("A program most visszavonta"));
}

// Only names a save forms ("<data file>.<process id>.new" or ".old") are taken for its leftovers.
TEST_F(DataModule, StartKeepsFilesThatOnlyLookLikeWhatSavesLeave)
{
    const std::vector<std::string> kept{"oktato.csv.12.3.new", ".csv.5.new",   "oktato.csv..new",
                                        "oktato.csv.5.bak",    "level.doc.5.new", "oktato.csv.5new",
                                        "oktato.csv5.old",     "kurzus.csv.x5.old"};
    for (const std::string &name : kept)
        write(name, "x");
    write("oktato.csv.12.old", "x");
    EXPECT_THAT(TDM(environment()).RecoveryNotice(), HasSubstr("A program most befejezte"));
    const Files left = snapshot();
    EXPECT_FALSE(left.count("oktato.csv.12.old"));
    for (const std::string &name : kept)
        EXPECT_TRUE(left.count(name)) << name;
}

// Grids show a day, frequency and room text for every occasion, in the course's view too; they are
// not saved. A course's links take its own occasions and those of the course it is linked to:
// 223 is linked to 222, 226 to 224, which has none of its own.
TEST_F(DataModule, OccasionsShowTheirTextsAndRegeneratedLinksFollowEveryCourseAndItsLinkedCourse)
{
    const std::vector<std::string> texts{"nap", "gyaknev", "kiiras"}, link{"kurzus_id", "alkalom_id"};
    TDM dm(environment());
    EXPECT_EQ(dm.MT_alkalom.FieldByName("gyaknev")->DisplayText() +
                  dm.MT_alkalom.FieldByName("nap")->DisplayText(),
              std::string(19, ' '));
    dm.KurzusalkalomGeneralas();
    for (int linkedTo : {-1, 222, -1, -1, 224})
        append(dm.MT_kurzus, {{"targy_id", 111}, {"kurzus_id_csatolt", linkedTo}});
    const std::tuple<int, double, int, int> occasions[] = {{222, 0.3, 0, 2},  {222, 1.3, 1, 1},
                                                           {225, 2.3, 2, 77}, {225, 8.3, 4, 1},
                                                           {225, 49.3, 5, 1}, {225, 50.3, -1, 1}};
    for (const auto &[course, start, frequency, room] : occasions)
        append(dm.MT_alkalom, {{"kurzus_id", course},
                               {"terem_id", room},
                               {"kezd_ido", TDateTime(start)},
                               {"gyakorisag", frequency}});
    const std::string ofCourse222 =
        "Vasárnap|Páratlan héten     |A-103\nnapGetText!(0)|Minden héten       |B-302\n";
    EXPECT_EQ(rows(dm.MT_alkalom, texts),
              "Hétfő|Páros héten        |Hiba!\nSzombat|Egyedi beosztás    |A-103\n"
              "Vasárnap|Minden 4. héten    |A-103\n" +
                  ofCourse222 + "napGetText!(50)|Egyedi beosztás    |A-103\n");
    EXPECT_EQ(dm.MT_alkalom.FieldByName("kiiras")->Text(), "Not display");
    dm.MT_alkalom_kurzus.Open();
    ASSERT_TRUE(dm.MT_kurzus.Locate("kurzus_id", 222, {}));
    EXPECT_EQ(rows(dm.MT_alkalom_kurzus, texts), ofCourse222);

    // The main window's filter and current course stay as it left them.
    dm.MT_kurzus.SetFilter("kurzus_id<>223");
    dm.MT_kurzus.SetFiltered(true);
    dm.MT_kurzusalkalom.SetFilter("kurzus_id=0");
    dm.MT_kurzusalkalom.SetFiltered(true);
    ASSERT_TRUE(dm.MT_kurzus.Locate("kurzus_id", 224, {}));
    dm.KurzusalkalomGeneralas();
    dm.KurzusalkalomGeneralas();
    EXPECT_EQ(dm.MT_kurzus.FieldByName("kurzus_id")->AsInteger(), 224);
    EXPECT_EQ(dm.MT_kurzus.RecordCount(), 4);
    dm.MT_kurzusalkalom.SetFiltered(false);
    EXPECT_EQ(rows(dm.MT_kurzusalkalom, link),
              "222|333\n222|334\n223|333\n223|334\n225|335\n225|336\n225|337\n225|338\n");

    // Links of occasions deleted or moved since are dropped.
    for (int occasion : {334, 336, 337, 338, 335}) {
        ASSERT_TRUE(dm.MT_alkalom.Locate("alkalom_id", occasion, {}));
        if (occasion != 335)
            dm.MT_alkalom.Delete();
    }
    dm.MT_alkalom.Edit();
    dm.MT_alkalom.FieldByName("kurzus_id")->SetAsInteger(224);
    dm.MT_alkalom.Post();
    dm.KurzusalkalomGeneralas();
    EXPECT_EQ(rows(dm.MT_kurzusalkalom, link), "222|333\n223|333\n224|335\n226|335\n");
    dm.Mentes();
    EXPECT_THAT(read("KK_alkalom.csv"), testing::Not(HasSubstr("gyaknev")));
    TDM again(environment());
    EXPECT_EQ(rows(again.MT_alkalom, texts),
              "Hétfő|Páros héten        |Hiba!\nnapGetText!(0)|Minden héten       |B-302\n");
}

// Hourly rows run from seven to the last at seven in the evening; the lunch break sits between the
// sixth and seventh lesson and the day ends with the fourteenth.
TEST_F(DataModule, TimeRowPresetsLayOutTheDayInTheirPeriods)
{
    TDM dm(environment());
    dm.SzunetSor = true;
    for (const auto &[mode, expected] : {std::pair(1, "13 13:00 19:00"), {7, "15 SZÜNET 14 19:15-20:00"}}) {
        TveltoCalendar calendar;
        dm.applyTimeRowPreset(mode, calendar);
        const auto &rows = calendar.Rows();
        EXPECT_EQ(std::to_string(rows.size()) + " " + rows[6].Label.toStdString() + " " +
                      rows.back().Label.toStdString(),
                  expected);
    }
}

// Only the listed logins, in their exact case and the login's code page, are administrators; a
// login that cannot be read shows as "Unknown".
TEST_F(DataModule, LoginsAreAdministratorsOnlyAsListedAndShownAsRead)
{
    for (const auto &[login, admin] : {std::pair<const char *, bool>{"WUSNERX.QLA", true},
                                       {"wusnerx.qla", true},
                                       {"Wusnerx.qla", false},
                                       {"wusnerx.qla ", false},
                                       {"Vemdár Pukol", true},
                                       {"", false}}) {
        TDM dm(environment(utf8ToCp1250(login)));
        const std::string shown = *login != '\0' ? utf8ToCp1250(login) : "Unknown";
        EXPECT_EQ(dm.Admin, admin) << login;
        EXPECT_EQ(dm.Felhasznalo + "|" + dm.FelhasznaloNev(), shown + "|" + shown);
    }
}

// A folder with the master files only: every other table is open, with the fields and indexes the
// program uses. Master data saved is read back by the next start; the folder is taken again from
// the environment.
TEST_F(DataModule, TablesWithoutAFileAreOpenAndMasterDataSavesAreReadBack)
{
    {
        TDM dm(environment());
        for (TDataSet *table : {&dm.MT_kurzus, &dm.MT_alkalom, &dm.MT_orarend, &dm.MT_kurzusoktato,
                                &dm.MT_mintatanterv, &dm.MT_mintatantervtargy, &dm.MT_kurzusminta,
                                &dm.MT_kurzusmintatargy, &dm.MT_kurzusmintaoktato, &dm.MT_terem_alkalomhoz})
            EXPECT_TRUE(table->Active()) << table->Name();
        const TIndexDefs &indexes = dm.MT_kurzus.IndexDefs();
        EXPECT_EQ(std::to_string(indexes.Count()) + indexes.Find("index1")->Fields() +
                      indexes.Find("index2")->Fields() + indexes.Find("index3")->Fields(),
                  "3kurzus_idtargy_idkurzus_kod_osszetett");
        EXPECT_TRUE(dm.MT_kurzustargy.FindField("targy_id") && dm.MT_kurzusmintatargy.FindField("kurzusminta_id") &&
                    dm.MT_kurzusmintaoktato.FindField("oktato_id"));
        append(dm.MT_terem, {{"terem_kod", "C-205"}, {"terem_hely", utf8ToCp1250("Új szárny")}});
        dm.TorzsadatMentes();
        dm.Mappa = "/elsewhere/";
        dm.MappaFrissites();
        EXPECT_EQ(dm.Mappa, folder.withSeparator());
    }
    for (const char *file : {"terem.csv", "mintatanterv.csv", "mintatantervtargy.csv", "kurzusminta.csv",
                             "kurzusmintatargy.csv", "kurzusmintaoktato.csv"})
        EXPECT_TRUE(fs::exists(folder / file)) << file;
    TDM again(environment());
    EXPECT_EQ(columnTexts(again.MT_terem, "terem_hely").back(), "Új szárny");
}

// The timetable save names each file it writes, in order, on the progress display.
TEST_F(DataModule, TimetableSaveShowsEachFileItWrites)
{
    TDM dm(environment());
    RecordingProgress progress;
    dm.SetProgress(&progress);
    dm.Mentes();
    EXPECT_THAT(progress.events,
                testing::ElementsAre("start 8 Mentés", "step", "Mentés:Oktatók", "step", "Mentés:Órarendek", "step",
                                     "Mentés:Alkalmak", "step", "Mentés:Kurzusok", "step", "Mentés:Kurzus oktatói",
                                     "step", "Mentés:Kurzus órarendjei", "step", "Mentés:Kurzus tárgyai", "step",
                                     "Mentés:Kurzus-alkalom kapcsolatok", "finish"));
}

// The program's own environment is the folder its file stands in and the login name; the test
// program's folder holds no master files, so a start there is refused.
TEST(ProgramEnvironment, IsTheProgramsFolderAndTheLogin)
{
    const TDMEnvironment program = TDMEnvironment::Program();
    EXPECT_EQ(program.programFolder(), (fs::read_symlink("/proc/self/exe").parent_path() / "").string());
    std::string login, expected;
    EXPECT_EQ(program.userName(login), GetUserName(expected));
    EXPECT_EQ(login, expected);
    EXPECT_THROW(TDM(), EDataFileError);
}
