#include "DataFolder.h"

#include <gmock/gmock.h>
#include <iterator>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

std::string outcome(const TDM::ImportResult &result)
{
    return (result.succeeded ? "ok " : "failed ") + result.message;
}

std::vector<std::string> words(const std::string &text)
{
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), {}};
}

const std::string CurriculumColumns =
    "mintatanterv_kod=String,50 mintatanterv_nev=String,100 targy_tagozat=String,20 kepzesi_szint=String,30 "
    "targy_nyelv=String,20 targy_kod=String,50 targy_nev=String,100 targy_nev_angolul=String,100 "
    "targy_hea=Integer targy_hgy=Integer targy_hla=Integer targy_eea=Integer targy_egy=Integer "
    "targy_ela=Integer targy_kredit=Integer targy_kovetelmeny=String,50 targy_felveteltipus=String,30";

struct Curriculum
{
    std::string code = "MI/2020", mode = "Nappali", language = "magyar", subjectCode = "INB101",
                subjectName = "Programozás", englishName = "", credits = "5";
    operator std::string() const
    {
        return code + "\tMérnökinformatikus BSc\t" + mode + "\talapképzés\t" + language + "\t" + subjectCode +
               "\t" + subjectName + "\t" + englishName + "\t2\t2\t0\t1\t0\t1\t" + credits +
               "\tvizsga\tkötelező";
    }
};

const std::string TemplateColumns =
    "kurzuskod=String,50 kurzustipus=String,20 felev=String,20 atargykod=String,20 atargynev=String,100 "
    "szervkod=String,20 szervnev=String,100 szervkod2=String,20 targykod=String,20 targynev=String,100 "
    "targynev_angol=String,100 orarendinfo=String,100";

// szervkod holds a department code until the import marks the row.
struct Template
{
    std::string code = "K1", type = "Előadás", subjectCode = "IDTDIPLOM", linkedSubjectCode = "IDTDIPLOM",
                semester = "2025/26/1";
    operator std::string() const
    {
        return code + "\t" + type + "\t" + semester + "\t" + subjectCode + "\tDiplomamunka\tMATI\tIntézet\t\t" +
               linkedSubjectCode + "\tDiplomamunka\tThesis\thétfő délelőtt";
    }
};

class Import : public DataFolder
{
protected:
    // A column of the import file as the next run reads it.
    std::vector<std::string> fileColumn(TztrMemTable &buffer, const char *fileName, const char *field)
    {
        buffer.LoadFromFile(folder / fileName);
        std::vector<std::string> values = columnTexts(buffer, field);
        buffer.Close();
        return values;
    }
    // The fields of the row whose key holds the value, joined by "|".
    static std::string row(TztrMemTable &table, const char *key, const std::string &value, const char *fields)
    {
        EXPECT_TRUE(table.Locate(key, utf8ToCp1250(value), {})) << value;
        std::string joined;
        for (const std::string &field : words(fields))
            joined += (joined.empty() ? "" : "|") + cp1250ToUtf8(table.FieldByName(field)->AsString());
        return joined;
    }
};

} // namespace

// Codes differing after the slash share a curriculum; part-time subjects take the part-time hours;
// English subjects are named in English where the file has the name; existing rows stay as they are.
TEST_F(Import, CurriculaSubjectsAndLinksThatAreMissingAreAddedAndSaved)
{
    write("mintatantervtargy.csv",
          dataFile("mintatanterv_id=Integer targy_id=Integer targy_felveteltipus=String,30", {}));
    const std::string longCode = "INFORMATIKA-MESTERKEPZES-2024";
    write(
        "kastorelboltargy.csv",
        dataFile(
            CurriculumColumns,
            {Curriculum{},
             Curriculum{
                 .code = "MI/2023", .language = "angol", .subjectCode = "INB201", .englishName = "Angol"},
             Curriculum{.code = "MI", .language = "angol", .subjectCode = "INB202", .subjectName = "Magyar"},
             Curriculum{.code = "LEV/1", .mode = "Levelező", .subjectCode = "INB204"},
             Curriculum{.subjectCode = "IDTGYAKOB", .subjectName = "Más", .credits = "9"},
             Curriculum{.code = longCode + "/1"}, Curriculum{.code = longCode + "/2"}}));
    {
        TDM dm(environment());
        EXPECT_EQ(outcome(dm.MintatantervBeolvasas()), "ok Mintatantervek és a tárgyak beolvasása kész.");
        EXPECT_TRUE(fileColumn(dm.MT_kastorelboltargy, "kastorelboltargy.csv", "targy_kod").empty());
    }
    TDM dm(environment());
    const std::vector<std::string> curricula =
        words("mintatanterv_kod mintatanterv_nev tagozat tipus nyelv szabad");
    EXPECT_EQ(rows(dm.MT_mintatanterv, curricula),
              "INFORMATIKA-MESTERKE|Mérnökinformatikus BSc|N|alapképzés|magyar|0\n"
              "LEV|Mérnökinformatikus BSc|L|alapképzés|magyar|0\nMI|Mérnökinformatikus "
              "BSc|N|alapképzés|magyar|0\n");
    const int curriculum = std::stoi(row(dm.MT_mintatanterv, "mintatanterv_kod", "LEV", "mintatanterv_id"));
    EXPECT_EQ(
        row(dm.MT_targy, "targy_kod", "INB101",
            "targy_nev targy_ea targy_gy targy_la targy_kredit targy_teljesites tanszek_id szabad evjarat"),
        "Programozás|2|2|0|5|vizsga|-1|1|0");
    EXPECT_EQ(row(dm.MT_targy, "targy_kod", "INB201", "targy_nev") +
                  row(dm.MT_targy, "targy_kod", "INB202", "targy_nev") +
                  row(dm.MT_targy, "targy_kod", "IDTGYAKOB", "targy_nev targy_kredit"),
              "AngolMagyarSzakmai gyakorlat|30");
    EXPECT_EQ(row(dm.MT_targy, "targy_kod", "INB204", "targy_ea targy_gy targy_la"), "1|0|1");
    const int subject = dm.MT_targy.FieldByName("targy_id")->AsInteger();
    EXPECT_EQ(dm.MT_mintatantervtargy.RecordCount(), 6);
    EXPECT_TRUE(
        dm.MT_mintatantervtargy.Locate("mintatanterv_id;targy_id", VarArrayOf({curriculum, subject}), {}));
    EXPECT_THAT(columnTexts(dm.MT_mintatantervtargy, "targy_felveteltipus"), testing::Each("kötelező"));
}

// How each subject is taken is kept in a folder without a links' file, and in one whose links'
// file was saved without the column, which loads and is written with it from then on.
TEST_F(Import, HowASubjectIsTakenIsKeptWhateverTheLinksFileHeld)
{
    for (const bool oldLinks : {false, true}) {
        SCOPED_TRACE(oldLinks ? "links' file without the column" : "no links' file");
        fs::remove(folder / "mintatantervtargy.csv");
        if (oldLinks)
            write("mintatantervtargy.csv", dataFile("mintatanterv_id=Integer targy_id=Integer", {"5\t7"}));
        write("kastorelboltargy.csv", dataFile(CurriculumColumns, {Curriculum{}}));
        {
            TDM dm(environment());
            EXPECT_THAT(outcome(dm.MintatantervBeolvasas()), testing::StartsWith("ok "));
        }
        TDM dm(environment());
        const std::vector<std::string> expected =
            oldLinks ? std::vector<std::string>{"", "kötelező"} : std::vector<std::string>{"kötelező"};
        EXPECT_EQ(columnTexts(dm.MT_mintatantervtargy, "targy_felveteltipus"), expected);
        EXPECT_NE(read("mintatantervtargy.csv").find("targy_felveteltipus"), std::string::npos);
    }
}

// Rows whose subject codes are unknown are marked with the code for correction; the template of a
// row whose linked subject is unknown is made, only its link is missing.
TEST_F(Import, TemplatesAndTheirSubjectLinksAreAddedAndEveryRowIsMarked)
{
    write("kastorelbolkurzus.csv",
          dataFile(TemplateColumns,
                   {Template{.linkedSubjectCode = "NINCS02"}, Template{.code = "K2", .type = "Gyakorlat"},
                    Template{.code = "K3", .type = "Labor"}, Template{.code = "K4", .type = "Konzultáció"},
                    Template{.code = "K5", .subjectCode = "NINCS01"}, Template{.code = "K6"},
                    Template{.code = "K7", .linkedSubjectCode = "IDTGYAKOB"}}));
    const std::vector<std::string> marks{"tkod hiba", "Ok", "Ok", "Ok", "atkod hiba", "Ok", "Ok"};
    {
        TDM dm(environment());
        EXPECT_EQ(outcome(dm.KurzusmintaBeolvasas()),
                  "ok Minta kurzusok és kapcsolódó tárgyak beolvasása kész.");
        EXPECT_EQ(fileColumn(dm.MT_kastorelbolkurzus, "kastorelbolkurzus.csv", "szervkod"), marks);
        EXPECT_THAT(fileColumn(dm.MT_kastorelbolkurzus, "kastorelbolkurzus.csv", "szervkod2"),
                    ElementsAre("NINCS02", "", "", "", "NINCS01", "", ""));
        // Once every row is marked, a run goes over them all again, finding what it added even
        // where a window left a filter on; with nothing added it writes no master file, so a
        // read-only one does not fail it.
        dm.MT_targy.SetFilter("szabad=7");
        dm.MT_targy.SetFiltered(true);
        const Files before = snapshot();
        RecordingProgress progress;
        dm.SetProgress(&progress);
        fs::permissions(folder / "kurzusminta.csv", fs::perms::owner_read);
        EXPECT_THAT(outcome(dm.KurzusmintaBeolvasas()), testing::StartsWith("ok "));
        EXPECT_EQ(progress.events.size(), 9U) << "each of the seven rows is gone over";
        EXPECT_EQ(snapshot(), before);
    }
    TDM dm(environment());
    EXPECT_EQ(rows(dm.MT_kurzusminta, {"kurzusminta_kod", "kurzusminta_tipus"}),
              "K1|EA\nK2|GY\nK3|LA\nK4|Ko\nK6|EA\nK7|EA\n");
    EXPECT_EQ(row(dm.MT_kurzusminta, "kurzusminta_kod", "K7",
                  "kurzusminta_kod felev atargykod orarendiinfo targy_id"),
              "K7|2025/26/1|IDTDIPLOM|hétfő délelőtt|119");
    const int k7 = dm.MT_kurzusminta.FieldByName("kurzusminta_id")->AsInteger();
    EXPECT_EQ(dm.MT_kurzusmintatargy.RecordCount(), 5);
    EXPECT_TRUE(dm.MT_kurzusmintatargy.Locate("kurzusminta_id;targy_id", VarArrayOf({k7, 118}), {}));
}

// An empty part of a key is saved as nothing and read back as null; a restart and a new run
// still find the curriculum and template, so nothing is added twice.
TEST_F(Import, KeysWithAnEmptyPartAreFoundAgainAfterARestart)
{
    const std::string curricula = dataFile(CurriculumColumns, {Curriculum{.code = "/2020"}});
    const std::string templates =
        dataFile(TemplateColumns, {Template{.code = "", .semester = ""}, Template{.code = "", .type = ""}});
    std::string counts;
    for (int start = 0; start < 3; ++start) {
        write("kastorelboltargy.csv", curricula);
        write("kastorelbolkurzus.csv", templates);
        TDM dm(environment());
        EXPECT_TRUE(dm.MintatantervBeolvasas().succeeded);
        EXPECT_TRUE(dm.KurzusmintaBeolvasas().succeeded);
        const std::string now = std::to_string(dm.MT_mintatanterv.RecordCount()) + " " +
                                std::to_string(dm.MT_mintatantervtargy.RecordCount()) + " " +
                                std::to_string(dm.MT_kurzusminta.RecordCount()) + " " +
                                std::to_string(dm.MT_kurzusmintatargy.RecordCount());
        EXPECT_EQ(now, counts.empty() ? now : counts) << "start " << start;
        counts = now;
    }
}

// A file that is missing or lacks a column is refused by name
// before any row is taken. A run that breaks off, cannot save the master data it added or cannot
// write the import file back fails too. Either way the import file keeps every row it had.
TEST_F(Import, RunThatCannotBeCompletedFailsKeepingTheImportFile)
{
    std::string unnamedColumn = dataFile(TemplateColumns, {Template{}});
    unnamedColumn.replace(unnamedColumn.find("\ttargynev_angol\t"), 16, "\t");
    // The status column cannot take the status: found when the row is marked, before any adding.
    std::string numberStatus = TemplateColumns;
    numberStatus.replace(numberStatus.find("szervkod=String,20"), 18, "szervkod=Integer");
    numberStatus = dataFile(numberStatus, {Template{}});
    numberStatus.replace(numberStatus.find("\tMATI\t"), 6, "\t\t");
    const std::string curricula = "kastorelboltargy.csv", templates = "kastorelbolkurzus.csv";
    const std::string refused = " importfájl nem olvasható be, semmi sem változott.\n";
    const struct
    {
        std::string file, bytes; // none when empty
        char how;
        std::string says;
    } cases[] = {
        {curricula, "", ' ', "A(z) kastorelboltargy.csv importfájl nem található a program mappájában."},
        {curricula, dataFile(CurriculumColumns.substr(0, CurriculumColumns.rfind(' ')), {}), ' ',
         "A(z) " + curricula + refused + "MT_kastorelboltargy: Field 'targy_felveteltipus' not found"},
        {templates, unnamedColumn, ' ',
         "A(z) " + templates + refused +
             "A fejléc nem nevezi meg a mező oszlopát. "
             "(fájl: kastorelbolkurzus.csv, sor: 16, mező: targynev_angol)"},
        {curricula, dataFile(CurriculumColumns, {Curriculum{.subjectCode = "UJ1"}}), 'c',
         "A(z) kastorelboltargy.csv beolvasása megszakadt, az importfájl változatlan maradt.\n"},
        {templates, numberStatus, 'n',
         "A(z) kastorelbolkurzus.csv beolvasása megszakadt, az importfájl változatlan maradt.\n"},
        {curricula, dataFile(CurriculumColumns, {Curriculum{.subjectCode = "UJ2"}}), 'r',
         "A(z) kastorelboltargy.csv importfájl visszaírása nem sikerült.\n"},
        // A folder standing where the subjects' file belongs cannot be replaced by a file.
        {curricula, dataFile(CurriculumColumns, {Curriculum{.subjectCode = "UJ3"}}), 'd',
         "A(z) targy.csv adatfájl mentése nem sikerült, a korábbi adatfájlok változatlanok maradtak."},
    };
    for (const auto &c : cases) {
        fs::remove(folder / curricula);
        if (!c.bytes.empty())
            write(c.file, c.bytes);
        TDM dm(environment());
        RecordingProgress progress;
        dm.SetProgress(&progress);
        if (c.how == 'c')
            dm.MT_mintatanterv.Close();
        if (c.how == 'r')
            fs::permissions(folder / c.file, fs::perms::owner_read);
        if (c.how == 'd' && fs::remove(folder / "targy.csv"))
            fs::create_directory(folder / "targy.csv");
        EXPECT_THAT(outcome(c.file == curricula ? dm.MintatantervBeolvasas() : dm.KurzusmintaBeolvasas()),
                    testing::AllOf(testing::StartsWith("failed "), HasSubstr(c.says)));
        EXPECT_EQ(read(c.file), c.bytes);
        EXPECT_EQ(progress.events.size() > 0, c.how != ' ') << c.says;
        EXPECT_FALSE(dm.MT_kastorelboltargy.Active() || dm.MT_kastorelbolkurzus.Active());
        EXPECT_EQ(dm.MT_kurzusminta.RecordCount(), 0) << c.says;
    }
}

// A run takes a batch of rows and leaves the rest in the file for the next run; the progress bar
// spans the whole file and steps through the batch only.
TEST_F(Import, LargeFilesAreTakenOverSeveralRunsKeepingTheRowsStillToDo)
{
    std::vector<std::string> curricula;
    for (int i = 0; i < 25000; ++i)
        curricula.push_back(Curriculum{.code = "MT" + std::to_string(i % 40), .subjectCode = "T" + std::to_string(i)});
    write("kastorelboltargy.csv", dataFile(CurriculumColumns, curricula));
    std::vector<std::string> templates(40000, Template{});
    templates.push_back(Template{.code = "UTOLSO"});
    write("kastorelbolkurzus.csv", dataFile(TemplateColumns, templates));
    TDM dm(environment());
    const int subjects = dm.MT_targy.RecordCount();
    RecordingProgress progress;
    dm.SetProgress(&progress);
    for (const auto &[before, after] : {std::pair(25000U, 15000U), {15000U, 5000U}, {5000U, 0U}}) {
        progress.events.clear();
        EXPECT_THAT(outcome(dm.MintatantervBeolvasas()), testing::StartsWith("ok "));
        EXPECT_EQ(progress.events.front(), "start " + std::to_string(before) + " Mintatantervek és tárgyak beolvasása");
        EXPECT_EQ(progress.events.size(), before - after + 2);
        const std::vector<std::string> left = fileColumn(dm.MT_kastorelboltargy, "kastorelboltargy.csv", "targy_kod");
        ASSERT_EQ(left.size(), after);
        EXPECT_EQ(left.empty() ? "" : left.front(), after ? "T" + std::to_string(25000 - after) : "");
    }
    EXPECT_EQ(dm.MT_targy.RecordCount(), subjects + 25000);
    EXPECT_EQ(dm.MT_mintatanterv.RecordCount(), 40);
    EXPECT_EQ(dm.MT_mintatantervtargy.RecordCount(), 25000);

    dm.KurzusmintaBeolvasas();
    EXPECT_EQ(fileColumn(dm.MT_kastorelbolkurzus, "kastorelbolkurzus.csv", "szervkod").back(), "MATI");
    progress.events.clear();
    dm.KurzusmintaBeolvasas();
    EXPECT_THAT(progress.events, ElementsAre("start 40001 Kurzus minták beolvasása", "step", "finish"));
    EXPECT_EQ(fileColumn(dm.MT_kastorelbolkurzus, "kastorelbolkurzus.csv", "szervkod").back(), "Ok");
    EXPECT_EQ(rows(dm.MT_kurzusminta, {"kurzusminta_kod"}), "K1\nUTOLSO\n");
}

// A file that is missing, lacks a column or holds a value that cannot be read is refused by name
// before any row is taken, and no file changes.
TEST_F(Import, UnreadableImportFilesAreRefusedByNameBeforeAnyRowIsTaken)
{
    std::string textCredits = CurriculumColumns;
    textCredits.replace(textCredits.find("targy_kredit=Integer"), 20, "targy_kredit=String,10");
    std::string withoutCorrection = TemplateColumns, row = Template{};
    withoutCorrection.erase(withoutCorrection.find("szervkod2=String,20 "), 20);
    row.erase(row.find("\t\t"), 1);
    const auto curricula = &TDM::MintatantervBeolvasas;
    const auto templates = &TDM::KurzusmintaBeolvasas;
    const struct
    {
        TDM::ImportResult (TDM::*import)();
        const char *file;
        std::string bytes; // none when empty
        const char *says;
    } cases[] = {
        {curricula, "kastorelboltargy.csv",
         dataFile(textCredits, {Curriculum{}, Curriculum{.subjectCode = "INB102", .credits = "öt"}}),
         "kastorelboltargy.csv"},
        {templates, "kastorelbolkurzus.csv", "", "A(z) kastorelbolkurzus.csv importfájl nem található"},
        {templates, "kastorelbolkurzus.csv", dataFile(withoutCorrection, {row}), "szervkod2"},
    };
    for (const auto &c : cases) {
        fs::remove(folder / "kastorelboltargy.csv");
        fs::remove(folder / "kastorelbolkurzus.csv");
        if (!c.bytes.empty())
            write(c.file, c.bytes);
        TDM dm(environment());
        const int subjects = dm.MT_targy.RecordCount();
        RecordingProgress progress;
        dm.SetProgress(&progress);
        const Files before = snapshot();
        EXPECT_THAT(outcome((dm.*c.import)()), testing::AllOf(testing::StartsWith("failed "), HasSubstr(c.says)));
        EXPECT_TRUE(progress.events.empty()) << c.says;
        EXPECT_EQ(dm.MT_targy.RecordCount(), subjects);
        EXPECT_TRUE(dm.MT_mintatanterv.IsEmpty() && dm.MT_kurzusminta.IsEmpty());
        EXPECT_FALSE(dm.MT_kastorelboltargy.Active() || dm.MT_kastorelbolkurzus.Active());
        EXPECT_EQ(snapshot(), before) << c.says;
    }
}

// Rows whose curriculum, subject and link, or template and link, all exist change nothing: an
// existing subject keeps its values, and no master file is written again.
TEST_F(Import, RowsThatAllExistWriteNoMasterFile)
{
    write("kastorelboltargy.csv", dataFile(CurriculumColumns, {Curriculum{.subjectCode = "IDTGYAKOB"}}));
    write("kastorelbolkurzus.csv", dataFile(TemplateColumns, {Template{}}));
    TDM dm(environment());
    EXPECT_THAT(outcome(dm.MintatantervBeolvasas()) + outcome(dm.KurzusmintaBeolvasas()),
                testing::AllOf(testing::StartsWith("ok "), HasSubstr("kész.ok ")));
    write("kastorelboltargy.csv",
          dataFile(CurriculumColumns, {Curriculum{.subjectCode = "IDTGYAKOB", .subjectName = "Más", .credits = "9"},
                                       Curriculum{.code = "MI/2024", .subjectCode = "IDTGYAKOB"}}));
    write("kastorelbolkurzus.csv", dataFile(TemplateColumns, {Template{}}));
    const auto written = [this] {
        std::vector<fs::file_time_type> times;
        for (const char *file : {"targy.csv", "mintatanterv.csv", "mintatantervtargy.csv", "kurzusminta.csv",
                                 "kurzusmintatargy.csv", "kurzusmintaoktato.csv"})
            times.push_back(fs::last_write_time(folder / file));
        return times;
    };
    const auto before = written();
    EXPECT_THAT(outcome(dm.MintatantervBeolvasas()) + outcome(dm.KurzusmintaBeolvasas()),
                testing::AllOf(testing::StartsWith("ok "), HasSubstr("kész.ok ")));
    EXPECT_EQ(written(), before);
    EXPECT_EQ(row(dm.MT_targy, "targy_kod", "IDTGYAKOB", "targy_nev targy_kredit"), "Szakmai gyakorlat|30");
    EXPECT_EQ(dm.MT_mintatantervtargy.RecordCount() + dm.MT_kurzusminta.RecordCount(), 2);
    EXPECT_TRUE(fileColumn(dm.MT_kastorelboltargy, "kastorelboltargy.csv", "targy_kod").empty());
}
