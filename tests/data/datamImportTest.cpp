#include "data/datam.h"
#include "datamTestFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace datamtest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const std::vector<Column> CurriculumFileColumns{
    {"mintatanterv_kod", "String", 50},     {"mintatanterv_nev", "String", 100}, {"targy_tagozat", "String", 20},
    {"kepzesi_szint", "String", 30},        {"targy_nyelv", "String", 20},       {"targy_kod", "String", 50},
    {"targy_nev", "String", 100},           {"targy_nev_angolul", "String", 100}, {"targy_hea", "Integer"},
    {"targy_hgy", "Integer"},               {"targy_hla", "Integer"},            {"targy_eea", "Integer"},
    {"targy_egy", "Integer"},               {"targy_ela", "Integer"},            {"targy_kredit", "Integer"},
    {"targy_kovetelmeny", "String", 50},    {"targy_felveteltipus", "String", 30},
};

// One row of the curricula-and-subjects file.
struct CurriculumLine {
    std::string code = "MI-BSc/2020";
    std::string name = "Mérnökinformatikus BSc";
    std::string mode = "Nappali";
    std::string level = "alapképzés";
    std::string language = "magyar";
    std::string subjectCode = "INB101";
    std::string subjectName = "Programozás";
    std::string englishName = "";
    std::string fullTimeHours = "2\t2\t0";
    std::string partTimeHours = "1\t0\t1";
    std::string credits = "5";
    std::string requirement = "vizsga";
    std::string intake = "kötelező";

    std::string text() const
    {
        return code + "\t" + name + "\t" + mode + "\t" + level + "\t" + language + "\t" + subjectCode + "\t" +
               subjectName + "\t" + englishName + "\t" + fullTimeHours + "\t" + partTimeHours + "\t" + credits + "\t" +
               requirement + "\t" + intake;
    }
};

const std::vector<Column> TemplateFileColumns{
    {"kurzuskod", "String", 50}, {"kurzustipus", "String", 10},     {"felev", "String", 20},
    {"atargykod", "String", 20}, {"atargynev", "String", 100},      {"szervkod", "String", 20},
    {"szervnev", "String", 100}, {"szervkod2", "String", 20},       {"targykod", "String", 20},
    {"targynev", "String", 100}, {"targynev_angol", "String", 100}, {"orarendinfo", "String", 100},
};

// One row of the course-template file; szervkod holds a department code until the import marks
// the row.
struct TemplateLine {
    std::string code = "MAB123MN-01";
    std::string type = "Előadás";
    std::string semester = "2025/26/1";
    std::string subjectCode = "MAB123MN";
    std::string department = "MATI";
    std::string linkedSubjectCode = "MAB123MN";
    std::string note = "hétfő délelőtt";

    std::string text() const
    {
        return code + "\t" + type + "\t" + semester + "\t" + subjectCode + "\tAnalízis\t" + department +
               "\tMatematikai Intézet\t\t" + linkedSubjectCode + "\tAnalízis\tCalculus\t" + note;
    }
};

template <typename Line>
std::vector<std::string> lines(const std::vector<Line> &rows)
{
    std::vector<std::string> texts;
    for (const Line &row : rows)
        texts.push_back(row.text());
    return texts;
}

class Import : public DataFolder {
protected:
    void writeCurricula(const std::vector<CurriculumLine> &rows) const
    {
        write("kastorelboltargy.csv", dataFile(CurriculumFileColumns, lines(rows)));
    }
    void writeTemplates(const std::vector<TemplateLine> &rows) const
    {
        write("kastorelbolkurzus.csv", dataFile(TemplateFileColumns, lines(rows)));
    }

    // Rows the import file holds, read as the next run reads them.
    std::vector<std::string> fileColumn(TDM &dm, TztrMemTable &buffer, const char *fileName, const char *field)
    {
        buffer.LoadFromFile(dm.Mappa + fileName);
        std::vector<std::string> values = columnTexts(buffer, field);
        buffer.Close();
        return values;
    }

    // Moves the table to the row whose text field holds the value.
    static void goTo(TztrMemTable &table, const char *field, const std::string &value)
    {
        ASSERT_TRUE(table.Locate(field, utf8ToCp1250(value), {})) << table.Name() << " " << value;
    }

    static std::string text(TDataSet &table, const char *field)
    {
        return cp1250ToUtf8(table.FieldByName(field)->AsString());
    }
    static int integer(TDataSet &table, const char *field) { return table.FieldByName(field)->AsInteger(); }

    // The current row's values of the fields, joined by "|".
    static std::string values(TDataSet &table, std::initializer_list<const char *> fields)
    {
        std::string joined;
        for (const char *field : fields)
            joined += (joined.empty() ? "" : "|") + text(table, field);
        return joined;
    }
};

} // namespace

using CurriculumImport = Import;

TEST_F(CurriculumImport, AddsCurriculumSubjectAndLinkAndSavesTheMasterData)
{
    writeCurricula({CurriculumLine{}});
    {
        TDM dm(environment());

        const TDM::ImportResult result = dm.MintatantervBeolvasas();

        EXPECT_TRUE(result.succeeded);
        EXPECT_EQ(result.message, "Mintatantervek és a tárgyak beolvasása kész.");
    }
    // What the next start reads is what the import saved.
    TDM dm(environment());
    goTo(dm.MT_mintatanterv, "mintatanterv_kod", "MI-BSc");
    EXPECT_EQ(values(dm.MT_mintatanterv, {"mintatanterv_nev", "tagozat", "tipus", "nyelv", "szabad"}),
              "Mérnökinformatikus BSc|N|alapképzés|magyar|0");
    const int curriculumId = integer(dm.MT_mintatanterv, "mintatanterv_id");
    goTo(dm.MT_targy, "targy_kod", "INB101");
    EXPECT_EQ(values(dm.MT_targy, {"targy_nev", "targy_ea", "targy_gy", "targy_la", "targy_kredit", "targy_teljesites",
                                   "tanszek_id", "szabad", "evjarat"}),
              "Programozás|2|2|0|5|vizsga|-1|1|0");
    const int subjectId = integer(dm.MT_targy, "targy_id");
    EXPECT_NE(subjectId, 111);
    ASSERT_EQ(dm.MT_mintatantervtargy.RecordCount(), 1);
    dm.MT_mintatantervtargy.First();
    EXPECT_EQ(integer(dm.MT_mintatantervtargy, "mintatanterv_id"), curriculumId);
    EXPECT_EQ(integer(dm.MT_mintatantervtargy, "targy_id"), subjectId);
}

// Codes differing after the slash share one curriculum; part-time subjects take the part-time
// hours; English subjects are named in English where the file has the name. A link keeps how the
// subject is taken where the links' file has that column.
TEST_F(CurriculumImport, RowsBecomeCurriculaAndSubjectsByTheirModeAndLanguage)
{
    write("mintatantervtargy.csv", dataFile({{"mintatanterv_id", "Integer"},
                                             {"targy_id", "Integer"},
                                             {"targy_felveteltipus", "String", 30}},
                                            {}));
    writeCurricula({CurriculumLine{.code = "GEO-MSc/2019", .language = "angol", .subjectCode = "INB201",
                                   .englishName = "Programming"},
                    CurriculumLine{.code = "GEO-MSc/2023", .language = "angol", .subjectCode = "INB202",
                                   .subjectName = "Adatbázisok"},
                    CurriculumLine{.code = "GEO-MSc", .subjectCode = "INB203", .subjectName = "Hálózatok",
                                   .englishName = "Networks"},
                    CurriculumLine{.code = "LEV/1", .mode = "Levelező", .subjectCode = "INB204"}});
    TDM dm(environment());

    dm.MintatantervBeolvasas();

    EXPECT_THAT(columnTexts(dm.MT_mintatanterv, "mintatanterv_kod"), ElementsAre("GEO-MSc", "LEV"));
    EXPECT_THAT(columnTexts(dm.MT_mintatanterv, "tagozat"), ElementsAre("N", "L"));
    EXPECT_THAT(columnTexts(dm.MT_mintatantervtargy, "targy_felveteltipus"), testing::Each("kötelező"));
    EXPECT_EQ(dm.MT_mintatantervtargy.RecordCount(), 4);
    const struct {
        const char *code, *name;
        int lecture, practice, lab;
    } subjects[] = {{"INB201", "Programming", 2, 2, 0},
                    {"INB202", "Adatbázisok", 2, 2, 0},
                    {"INB203", "Hálózatok", 2, 2, 0},
                    {"INB204", "Programozás", 1, 0, 1}};
    for (const auto &subject : subjects) {
        goTo(dm.MT_targy, "targy_kod", subject.code);
        EXPECT_EQ(text(dm.MT_targy, "targy_nev"), subject.name);
        EXPECT_EQ(integer(dm.MT_targy, "targy_ea"), subject.lecture) << subject.code;
        EXPECT_EQ(integer(dm.MT_targy, "targy_gy"), subject.practice) << subject.code;
        EXPECT_EQ(integer(dm.MT_targy, "targy_la"), subject.lab) << subject.code;
    }
}

TEST_F(CurriculumImport, ExistingRowsStayAsTheyAreAndNoMasterFileIsWritten)
{
    writeCurricula({CurriculumLine{.subjectCode = "MAB123MN", .subjectName = "Kalkulus", .credits = "9"}});
    {
        TDM dm(environment());
        dm.MintatantervBeolvasas();
    }
    writeCurricula({CurriculumLine{.subjectCode = "MAB123MN", .subjectName = "Kalkulus", .credits = "9"},
                    CurriculumLine{.subjectCode = "MAB123MN"}});
    const std::map<std::string, std::string> before = snapshot();
    TDM dm(environment());

    const TDM::ImportResult result = dm.MintatantervBeolvasas();

    EXPECT_TRUE(result.succeeded);
    goTo(dm.MT_targy, "targy_kod", "MAB123MN");
    EXPECT_EQ(text(dm.MT_targy, "targy_nev"), "Analízis");
    EXPECT_EQ(integer(dm.MT_targy, "targy_kredit"), 5);
    EXPECT_EQ(dm.MT_targy.RecordCount(), 1);
    EXPECT_EQ(dm.MT_mintatanterv.RecordCount(), 1);
    EXPECT_EQ(dm.MT_mintatantervtargy.RecordCount(), 1);
    std::map<std::string, std::string> after = snapshot();
    EXPECT_TRUE(fileColumn(dm, dm.MT_kastorelboltargy, "kastorelboltargy.csv", "targy_kod").empty());
    after.erase("kastorelboltargy.csv");
    std::map<std::string, std::string> unchanged = before;
    unchanged.erase("kastorelboltargy.csv");
    EXPECT_EQ(after, unchanged);
}

TEST_F(Import, FilterLeftOnTheTablesDoesNotHideExistingRows)
{
    writeCurricula({CurriculumLine{.subjectCode = "MAB123MN"}});
    writeTemplates({TemplateLine{}});
    TDM dm(environment());
    dm.MintatantervBeolvasas();
    dm.KurzusmintaBeolvasas();
    const std::pair<TztrMemTable *, const char *> filters[] = {
        {&dm.MT_targy, "szabad=7"},           {&dm.MT_mintatanterv, "szabad=7"},
        {&dm.MT_mintatantervtargy, "targy_id=7"}, {&dm.MT_kurzusminta, "targy_id=7"},
        {&dm.MT_kurzusmintatargy, "targy_id=7"}};
    for (const auto &[table, filter] : filters) {
        table->SetFilter(filter);
        table->SetFiltered(true);
    }
    writeCurricula({CurriculumLine{.subjectCode = "MAB123MN"}});

    dm.MintatantervBeolvasas();
    dm.KurzusmintaBeolvasas();

    for (const auto &[table, filter] : filters) {
        table->SetFiltered(false);
        EXPECT_EQ(table->RecordCount(), 1) << table->Name();
    }
}

TEST_F(CurriculumImport, CodeLongerThanItsFieldIsAddedOnce)
{
    const std::string longCode = "INFORMATIKA-MESTERKEPZES-LEVELEZO-2024";
    writeCurricula({CurriculumLine{.code = longCode + "/1"}, CurriculumLine{.code = longCode + "/2"}});
    TDM dm(environment());

    dm.MintatantervBeolvasas();
    writeCurricula({CurriculumLine{.code = longCode}});
    dm.MintatantervBeolvasas();

    EXPECT_THAT(columnTexts(dm.MT_mintatanterv, "mintatanterv_kod"), ElementsAre(longCode.substr(0, 20)));
    EXPECT_EQ(dm.MT_mintatantervtargy.RecordCount(), 1);
}

TEST_F(CurriculumImport, LargeFileIsImportedOverThreeRunsAndKeepsTheRowsStillToDo)
{
    std::vector<CurriculumLine> rows;
    for (int i = 0; i < 25000; ++i)
        rows.push_back({.code = "MT" + std::to_string(i % 40), .subjectCode = "T" + std::to_string(i)});
    writeCurricula(rows);
    TDM dm(environment());
    RecordingProgress progress;
    dm.SetProgress(&progress);

    const std::size_t before[] = {25000, 15000, 5000};
    const std::size_t after[] = {15000, 5000, 0};
    for (std::size_t run = 0; run < 3; ++run) {
        progress.events.clear();
        EXPECT_TRUE(dm.MintatantervBeolvasas().succeeded);
        // The bar spans the whole file; the run steps through its batch only.
        EXPECT_EQ(progress.events.front(),
                  "start " + std::to_string(before[run]) + " Mintatantervek és tárgyak beolvasása");
        EXPECT_EQ(progress.events.size(), before[run] - after[run] + 2);
        const std::vector<std::string> left =
            fileColumn(dm, dm.MT_kastorelboltargy, "kastorelboltargy.csv", "targy_kod");
        ASSERT_EQ(left.size(), after[run]) << "run " << run + 1;
        if (!left.empty()) {
            EXPECT_EQ(left.front(), "T" + std::to_string(25000 - after[run]));
        }
    }
    EXPECT_EQ(dm.MT_targy.RecordCount(), 25001);
    EXPECT_EQ(dm.MT_mintatanterv.RecordCount(), 40);
    EXPECT_EQ(dm.MT_mintatantervtargy.RecordCount(), 25000);
}

TEST_F(CurriculumImport, MasterDataThatCannotBeSavedKeepsTheImportFile)
{
    writeCurricula({CurriculumLine{}});
    TDM dm(environment());
    RecordingProgress progress;
    dm.SetProgress(&progress);
    // A folder where the subjects' file belongs cannot be replaced by a file.
    fs::remove(folder.path() / "targy.csv");
    fs::create_directory(folder.path() / "targy.csv");
    const std::string importFile = read("kastorelboltargy.csv");

    const TDM::ImportResult result = dm.MintatantervBeolvasas();

    EXPECT_FALSE(result.succeeded);
    EXPECT_THAT(result.message, HasSubstr("targy.csv"));
    EXPECT_EQ(read("kastorelboltargy.csv"), importFile);
    EXPECT_EQ(progress.events.back(), "finish");
}

using TemplateImport = Import;

TEST_F(TemplateImport, AddsTemplateAndSubjectLinkAndMarksTheRow)
{
    writeTemplates({TemplateLine{}});
    {
        TDM dm(environment());

        const TDM::ImportResult result = dm.KurzusmintaBeolvasas();

        EXPECT_TRUE(result.succeeded);
        EXPECT_EQ(result.message, "Minta kurzusok és kapcsolódó tárgyak beolvasása kész.");
        EXPECT_THAT(fileColumn(dm, dm.MT_kastorelbolkurzus, "kastorelbolkurzus.csv", "szervkod"), ElementsAre("Ok"));
    }
    TDM dm(environment());
    ASSERT_EQ(dm.MT_kurzusminta.RecordCount(), 1);
    dm.MT_kurzusminta.First();
    EXPECT_EQ(values(dm.MT_kurzusminta,
                     {"kurzusminta_kod", "kurzusminta_tipus", "felev", "atargykod", "orarendiinfo", "targy_id"}),
              "MAB123MN-01|EA|2025/26/1|MAB123MN|hétfő délelőtt|111");
    ASSERT_EQ(dm.MT_kurzusmintatargy.RecordCount(), 1);
    dm.MT_kurzusmintatargy.First();
    EXPECT_EQ(integer(dm.MT_kurzusmintatargy, "kurzusminta_id"), integer(dm.MT_kurzusminta, "kurzusminta_id"));
    EXPECT_EQ(integer(dm.MT_kurzusmintatargy, "targy_id"), 111);
}

// Rows whose subject codes are unknown are marked with the code for correction; the template of a
// row with an unknown linked subject exists, only its link is missing.
TEST_F(TemplateImport, TypesBecomeCourseTypesUnknownCodesAreMarkedAndASecondRunAddsNothing)
{
    writeTemplates({TemplateLine{.code = "K1", .type = "Előadás"}, TemplateLine{.code = "K2", .type = "Gyakorlat"},
                    TemplateLine{.code = "K3", .type = "Labor"}, TemplateLine{.code = "K4", .type = "Konzultáció"},
                    TemplateLine{.code = "K5", .subjectCode = "NINCS01"},
                    TemplateLine{.code = "K6", .linkedSubjectCode = "NINCS02"}});
    TDM dm(environment());
    RecordingProgress progress;
    dm.SetProgress(&progress);

    dm.KurzusmintaBeolvasas();

    EXPECT_THAT(columnTexts(dm.MT_kurzusminta, "kurzusminta_kod"), ElementsAre("K1", "K2", "K3", "K4", "K6"));
    EXPECT_THAT(columnTexts(dm.MT_kurzusminta, "kurzusminta_tipus"), ElementsAre("EA", "GY", "LA", "Ko", "EA"));
    EXPECT_EQ(dm.MT_kurzusmintatargy.RecordCount(), 4);
    const std::vector<std::string> marks{"Ok", "Ok", "Ok", "Ok", "atkod hiba", "tkod hiba"};
    EXPECT_EQ(fileColumn(dm, dm.MT_kastorelbolkurzus, "kastorelbolkurzus.csv", "szervkod"), marks);
    const std::vector<std::string> corrections =
        fileColumn(dm, dm.MT_kastorelbolkurzus, "kastorelbolkurzus.csv", "szervkod2");
    EXPECT_THAT(std::vector(corrections.end() - 2, corrections.end()), ElementsAre("NINCS01", "NINCS02"));

    const std::string templates = read("kurzusminta.csv");
    const std::string links = read("kurzusmintatargy.csv");
    progress.events.clear();
    // A run that adds nothing writes no master file: a read-only one does not fail it.
    fs::permissions(folder.path() / "kurzusminta.csv", fs::perms::owner_read);
    EXPECT_TRUE(dm.KurzusmintaBeolvasas().succeeded);
    fs::permissions(folder.path() / "kurzusminta.csv", fs::perms::owner_all);
    std::vector<std::string> shown{"start 6 Kurzus minták beolvasása"};
    shown.resize(7, "step");
    shown.push_back("finish");
    EXPECT_EQ(progress.events, shown);
    EXPECT_EQ(dm.MT_kurzusminta.RecordCount(), 5);
    EXPECT_EQ(dm.MT_kurzusmintatargy.RecordCount(), 4);
    EXPECT_EQ(read("kurzusminta.csv"), templates);
    EXPECT_EQ(read("kurzusmintatargy.csv"), links);
    EXPECT_EQ(fileColumn(dm, dm.MT_kastorelbolkurzus, "kastorelbolkurzus.csv", "szervkod"), marks);
}

TEST_F(TemplateImport, RowsBeyondOneRunAreTakenByTheNextRun)
{
    std::vector<TemplateLine> rows(40000, TemplateLine{});
    rows.push_back(TemplateLine{.code = "UTOLSO"});
    writeTemplates(rows);
    TDM dm(environment());
    RecordingProgress progress;
    dm.SetProgress(&progress);

    dm.KurzusmintaBeolvasas();
    EXPECT_EQ(fileColumn(dm, dm.MT_kastorelbolkurzus, "kastorelbolkurzus.csv", "szervkod").back(), "MATI");
    progress.events.clear();
    dm.KurzusmintaBeolvasas();

    EXPECT_THAT(progress.events, ElementsAre("start 40001 Kurzus minták beolvasása", "step", "finish"));
    EXPECT_EQ(fileColumn(dm, dm.MT_kastorelbolkurzus, "kastorelbolkurzus.csv", "szervkod").back(), "Ok");
    EXPECT_THAT(columnTexts(dm.MT_kurzusminta, "kurzusminta_kod"), ElementsAre("MAB123MN-01", "UTOLSO"));
}

// A file that is missing, lacks a column or holds a value that cannot be read is refused by name
// before any row is taken; no file changes.
TEST_F(Import, UnusableFileIsRefusedByNameAndChangesNothing)
{
    std::vector<Column> curriculumColumns = CurriculumFileColumns;
    curriculumColumns.pop_back();
    std::string curriculumRow = CurriculumLine{}.text();
    curriculumRow.erase(curriculumRow.rfind('\t'));
    std::vector<Column> textCredits = CurriculumFileColumns;
    textCredits[14] = {"targy_kredit", "String", 10};
    std::vector<Column> templateColumns = TemplateFileColumns;
    templateColumns.erase(templateColumns.begin() + 7);
    std::string templateRow = TemplateLine{}.text();
    templateRow.erase(templateRow.find("\t\t"), 1);
    std::string unnamedColumn = dataFile(TemplateFileColumns, lines(std::vector{TemplateLine{}}));
    unnamedColumn.replace(unnamedColumn.find("\ttargynev_angol\t"), std::string("\ttargynev_angol\t").size(), "\t");

    const auto curricula = &TDM::MintatantervBeolvasas;
    const auto templates = &TDM::KurzusmintaBeolvasas;
    const struct {
        TDM::ImportResult (TDM::*import)();
        const char *file;
        std::string bytes; // none when empty
        std::vector<const char *> says;
    } cases[] = {
        {curricula, "kastorelboltargy.csv", "", {"kastorelboltargy.csv"}},
        {curricula, "kastorelboltargy.csv", dataFile(curriculumColumns, {curriculumRow}),
         {"kastorelboltargy.csv", "targy_felveteltipus"}},
        {curricula, "kastorelboltargy.csv",
         dataFile(textCredits, lines(std::vector{CurriculumLine{}, CurriculumLine{.subjectCode = "INB102", .credits = "öt"}})),
         {"kastorelboltargy.csv"}},
        {templates, "kastorelbolkurzus.csv", "", {"kastorelbolkurzus.csv"}},
        {templates, "kastorelbolkurzus.csv", dataFile(templateColumns, {templateRow}),
         {"kastorelbolkurzus.csv", "szervkod2"}},
        {templates, "kastorelbolkurzus.csv", unnamedColumn, {"sor: 16, mező: targynev_angol"}},
    };
    for (const auto &c : cases) {
        fs::remove(folder.path() / "kastorelboltargy.csv");
        fs::remove(folder.path() / "kastorelbolkurzus.csv");
        if (!c.bytes.empty())
            write(c.file, c.bytes);
        TDM dm(environment());
        RecordingProgress progress;
        dm.SetProgress(&progress);
        const auto before = snapshot();

        const TDM::ImportResult result = (dm.*c.import)();

        SCOPED_TRACE(c.says.back());
        EXPECT_FALSE(result.succeeded);
        for (const char *text : c.says)
            EXPECT_THAT(result.message, HasSubstr(text));
        EXPECT_TRUE(progress.events.empty());
        EXPECT_EQ(dm.MT_targy.RecordCount(), 1);
        EXPECT_EQ(dm.MT_mintatanterv.RecordCount(), 0);
        EXPECT_EQ(dm.MT_kurzusminta.RecordCount(), 0);
        EXPECT_FALSE(dm.MT_kastorelboltargy.Active());
        EXPECT_FALSE(dm.MT_kastorelbolkurzus.Active());
        EXPECT_EQ(snapshot(), before);
    }
}
