// Operations that walk every course of a whole university's data, each against SQLite in memory
// answering the same question: the timetable membership dialog opening and its "no timetable"
// box, the course-occasion link regeneration and the export for the student information system.
// The scaling cases run them on a quarter of the courses and on all of them: the work should
// grow with the rows shown or written (four times), not with their product.

#include "LargeDataSet.h"
#include "RatioReporter.h"
#include "SqliteCopy.h"
#include "app/ProgramForms.h"
#include "app/brelvix_pas.h"
#include "dialogs/orarentitle.h"
#include "dialogs/targybeemeles.h"

#include <QApplication>
#include <QCheckBox>
#include <QSignalBlocker>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using bench::check;
using bench::environmentOn;
using bench::largeDataFolder;
using bench::largestTimetable;
using bench::settle;
using bench::TempFolder;

int intOf(const TDataSet &table, const char *field)
{
    return table.FieldByName(field)->AsInteger();
}

// The program on a data folder, and the same tables in SQLite, copied the first time a peer asks.
struct Planner
{
    TProgramForms forms;
    int timetable = -1;
    std::unique_ptr<sqlite3, int (*)(sqlite3 *)> db{nullptr, sqlite3_close};

    explicit Planner(const fs::path &folder) : forms(environmentOn(folder))
    {
        Form1->show();
        settle();
        timetable = largestTimetable();
    }

    sqlite3 *sqlite()
    {
        if (!db)
            db.reset(sqliteCopy());
        return db.get();
    }

    static sqlite3 *sqliteCopy()
    {
        return bench::sqliteCopyOf(
            {{"kurzus", &DM->MT_kurzus},
             {"alkalom", &DM->MT_alkalom},
             {"kurzusorarend", &DM->MT_kurzusorarend},
             {"kurzusoktato", &DM->MT_kurzusoktato},
             {"kurzustargy", &DM->MT_kurzustargy},
             {"kurzusminta", &DM->MT_kurzusminta},
             {"targy", &DM->MT_targy},
             {"oktato", &DM->MT_oktato},
             {"terem", &DM->MT_terem}},
            // The keys the questions below are asked on, whatever the files declared.
            "CREATE INDEX kurzus_id ON kurzus (kurzus_id);"
            "CREATE INDEX kurzus_csatolt ON kurzus (kurzus_id_csatolt);"
            "CREATE INDEX alkalom_kurzus ON alkalom (kurzus_id);"
            "CREATE INDEX kurzusorarend_key ON kurzusorarend (kurzus_id, orarend_id);"
            "CREATE INDEX kurzusoktato_kurzus ON kurzusoktato (kurzus_id);"
            "CREATE INDEX kurzustargy_kurzus ON kurzustargy (kurzus_id);"
            "CREATE INDEX kurzusminta_id ON kurzusminta (kurzusminta_id);"
            "CREATE INDEX targy_id ON targy (targy_id);"
            "CREATE INDEX oktato_id ON oktato (oktato_id);"
            "CREATE INDEX terem_id ON terem (terem_id);"
            "CREATE TABLE kurzusalkalom (kurzus_id INTEGER, alkalom_id INTEGER);"
            "CREATE UNIQUE INDEX kurzusalkalom_1 ON kurzusalkalom (kurzus_id, alkalom_id)");
    }
};

// Released before the application object, which the windows need to the end.
std::unique_ptr<Planner> thePlanner;
// 1 for the whole large set, 4 for a quarter of its courses.
int plannerShare = 0;

fs::path quarterFolder();

Planner &planner(int share = 1)
{
    if (!thePlanner || plannerShare != share) {
        const fs::path folder = share == 1 ? largeDataFolder() : quarterFolder();
        // The forms are the program's globals: one planner at a time.
        thePlanner.reset();
        thePlanner = std::make_unique<Planner>(folder);
        plannerShare = share;
    }
    return *thePlanner;
}

// Every fourth course of the large set, with the courses they are attached to.
fs::path quarterFolder()
{
    static std::unique_ptr<TempFolder> folder;
    if (folder)
        return folder->path();
    planner(1);
    std::set<int> kept;
    TztrMemTable &courses = DM->MT_kurzus;
    courses.SetFiltered(false);
    int row = 0;
    for (courses.First(); !courses.Eof(); courses.Next(), ++row) {
        if (row % 4 != 0)
            continue;
        kept.insert(intOf(courses, "kurzus_id"));
        if (intOf(courses, "kurzus_id_csatolt") > 0)
            kept.insert(intOf(courses, "kurzus_id_csatolt"));
    }
    folder = std::make_unique<TempFolder>();
    for (const auto &file : fs::directory_iterator(largeDataFolder()))
        bench::copyKeepingCourses(file.path(), folder->path() / file.path().filename(), kept);
    return folder->path();
}

// ---- the planner

// Opened as the main window's "Beemelés" button opens it, and closed again.
void openMembership(int timetable)
{
    beemeles->OrarendId = timetable;
    beemeles->show();
    settle();
    beemeles->hide();
}

void MembershipOpen(benchmark::State &state, int share)
{
    Planner &p = planner(share);
    {
        const QSignalBlocker quiet(beemeles->CheckBox1);
        beemeles->CheckBox1->setChecked(false);
    }
    for (auto _ : state)
        openMembership(p.timetable);
    state.counters["left"] = beemeles->MT_kurzus1_temp.RecordCount();
    state.counters["right"] = beemeles->MT_kurzus2_temp.RecordCount();
}

void MembershipNoTimetable(benchmark::State &state, int share)
{
    Planner &p = planner(share);
    beemeles->OrarendId = p.timetable;
    beemeles->show();
    settle();
    for (auto _ : state) {
        state.PauseTiming();
        {
            const QSignalBlocker quiet(beemeles->CheckBox1);
            beemeles->CheckBox1->setChecked(false);
        }
        state.ResumeTiming();
        beemeles->CheckBox1->click();
        settle();
    }
    state.counters["left"] = beemeles->MT_kurzus1_temp.RecordCount();
    state.counters["right"] = beemeles->MT_kurzus2_temp.RecordCount();
    beemeles->hide();
}

void Regeneration(benchmark::State &state, int share)
{
    planner(share);
    for (auto _ : state) {
        state.PauseTiming();
        DM->MT_kurzusalkalom.EmptyTable();
        state.ResumeTiming();
        DM->KurzusalkalomGeneralas();
    }
    state.counters["links"] = DM->MT_kurzusalkalom.RecordCount();
}

void Export(benchmark::State &state, int share)
{
    planner(share);
    for (auto _ : state) {
        orarend->ExportTablak();
        DM->ExportMentes();
    }
    state.counters["rows"] = DM->MT_export.RecordCount();
    state.counters["schedule"] = DM->MT_export_alkalom.RecordCount();
}

// ---- SQLite answering the same questions

const std::string TitleColumns =
    "k.kurzus_id, k.kurzus_kod_osszetett, coalesce(nullif(k.megnevezes, ''), nullif(t.targy_nev, ''), "
    "(SELECT mt.targy_nev FROM kurzusminta m JOIN targy mt ON mt.targy_id = m.targy_id "
    "WHERE m.kurzusminta_id = k.kurzusminta_id))";

const std::string InTimetable =
    "EXISTS (SELECT 1 FROM kurzusorarend r WHERE r.kurzus_id = k.kurzus_id AND r.orarend_id = ?1)";

const std::string MembershipQuery = "SELECT " + TitleColumns + ", " + InTimetable +
                                    " FROM kurzus k LEFT JOIN targy t ON t.targy_id = k.targy_id";

const std::string NoTimetableQuery =
    MembershipQuery + " WHERE " + InTimetable +
    " OR NOT EXISTS (SELECT 1 FROM kurzusorarend r WHERE r.kurzus_id = k.kurzus_id)";

const std::string RegenerationSql =
    "DELETE FROM kurzusalkalom;"
    "INSERT OR IGNORE INTO kurzusalkalom SELECT k.kurzus_id, a.alkalom_id FROM kurzus k "
    "JOIN alkalom a ON a.kurzus_id = k.kurzus_id;"
    "INSERT OR IGNORE INTO kurzusalkalom SELECT c.kurzus_id, a.alkalom_id FROM kurzus c "
    "JOIN alkalom a ON a.kurzus_id = c.kurzus_id_csatolt WHERE c.kurzus_id_csatolt > 0;";

// The courses the export writes, joined with the rows of each that a query reads.
std::string exportedCourses(const std::string &joins, const std::string &condition = "")
{
    return " FROM kurzus k JOIN targy t ON t.targy_id = k.targy_id" + joins +
           " WHERE k.targy_id >= 0 AND EXISTS (SELECT 1 FROM kurzusorarend r WHERE r.kurzus_id = "
           "k.kurzus_id)" +
           condition;
}

const std::vector<std::string> ExportQueries = {
    "SELECT t.targy_kod, k.kurzus_kod_osszetett, k.max_letszam, k.megjegyzes" + exportedCourses(""),
    "SELECT t.targy_kod, k.kurzus_kod_osszetett, o.oktato_kkod, o.oktato_nev, ko.szazalek" +
        exportedCourses(" JOIN kurzusoktato ko ON ko.kurzus_id = k.kurzus_id"
                        " LEFT JOIN oktato o ON o.oktato_id = ko.oktato_id"),
    "SELECT t.targy_kod, k.kurzus_kod_osszetett, s.targy_kod, ks.maxletszam" +
        exportedCourses(" JOIN kurzustargy ks ON ks.kurzus_id = k.kurzus_id AND ks.targy_id <> k.targy_id"
                        " LEFT JOIN targy s ON s.targy_id = ks.targy_id"),
    "SELECT t.targy_kod, k.kurzus_kod_osszetett, a.kezd_ido, a.veg_ido, a.hetek, te.terem_hely || "
    "te.terem_kod, "
    "(SELECT group_concat(ct.targy_kod || '{' || c.kurzus_kod_osszetett || '}', ';') FROM kurzus c "
    "JOIN targy ct ON ct.targy_id = c.targy_id WHERE c.kurzus_id_csatolt = k.kurzus_id)" +
        exportedCourses(
            " JOIN alkalom a ON a.kurzus_id = k.kurzus_id LEFT JOIN terem te ON te.terem_id = a.terem_id",
            " AND (k.kurzus_id_csatolt <= 0 OR k.kurzus_id_csatolt = k.kurzus_id)")};

// Runs the statements, reading every column of every row.
long runQueries(sqlite3 *db, const std::vector<std::string> &queries, int parameter)
{
    long cells = 0;
    for (const std::string &sql : queries) {
        sqlite3_stmt *statement = nullptr;
        check(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), db);
        sqlite3_bind_int(statement, 1, parameter);
        while (sqlite3_step(statement) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                cells += sqlite3_column_bytes(statement, c) + 1;
        sqlite3_finalize(statement);
    }
    return cells;
}

using Keys = std::multiset<std::pair<int, int>>;

// The first two columns of every row of a query (the second 0 when there is one column).
Keys keysOf(sqlite3 *db, const std::string &sql, int parameter)
{
    Keys keys;
    sqlite3_stmt *statement = nullptr;
    check(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), db);
    sqlite3_bind_int(statement, 1, parameter);
    while (sqlite3_step(statement) == SQLITE_ROW)
        keys.emplace(sqlite3_column_int(statement, 0),
                     sqlite3_column_count(statement) > 1 ? sqlite3_column_int(statement, 1) : 0);
    sqlite3_finalize(statement);
    return keys;
}

Keys keysOf(TztrMemTable &table, const char *first, const char *second = nullptr)
{
    Keys keys;
    const ControlsDisabled still(table);
    for (table.First(); !table.Eof(); table.Next())
        keys.emplace(intOf(table, first), second ? intOf(table, second) : 0);
    return keys;
}

// The planner's answer, left by the case run just before, is checked against SQLite's.
void expectSameAnswer(benchmark::State &state, const Keys &ours, const Keys &theirs)
{
    if (ours != theirs)
        state.SkipWithError("the planner's answer differs from SQLite's");
}

const std::string CourseIds = "SELECT k.kurzus_id FROM kurzus k WHERE ";

void MembershipOpenSqlite(benchmark::State &state, int share)
{
    Planner &p = planner(share);
    sqlite3 *db = p.sqlite();
    for (auto _ : state)
        benchmark::DoNotOptimize(runQueries(db, {MembershipQuery}, p.timetable));
    expectSameAnswer(state, keysOf(beemeles->MT_kurzus1_temp, "kurzus_id"),
                     keysOf(db, CourseIds + "NOT " + InTimetable, p.timetable));
    expectSameAnswer(state, keysOf(beemeles->MT_kurzus2_temp, "kurzus_id"),
                     keysOf(db, CourseIds + InTimetable, p.timetable));
}

void MembershipNoTimetableSqlite(benchmark::State &state, int share)
{
    Planner &p = planner(share);
    sqlite3 *db = p.sqlite();
    for (auto _ : state)
        benchmark::DoNotOptimize(runQueries(db, {NoTimetableQuery}, p.timetable));
    expectSameAnswer(
        state, keysOf(beemeles->MT_kurzus1_temp, "kurzus_id"),
        keysOf(db, CourseIds + "NOT EXISTS (SELECT 1 FROM kurzusorarend r WHERE r.kurzus_id = k.kurzus_id)",
               0));
}

void RegenerationSqlite(benchmark::State &state, int share)
{
    sqlite3 *db = planner(share).sqlite();
    for (auto _ : state)
        check(sqlite3_exec(db, RegenerationSql.c_str(), nullptr, nullptr, nullptr), db);
    expectSameAnswer(state, keysOf(DM->MT_kurzusalkalom, "kurzus_id", "alkalom_id"),
                     keysOf(db, "SELECT kurzus_id, alkalom_id FROM kurzusalkalom", 0));
}

void ExportSqlite(benchmark::State &state, int share)
{
    sqlite3 *db = planner(share).sqlite();
    for (auto _ : state)
        benchmark::DoNotOptimize(runQueries(db, ExportQueries, 0));
    // The course-level rows: one per course, teacher link and further subject.
    long rows = 0;
    for (std::size_t i = 0; i < 3; ++i)
        rows += long(keysOf(db, ExportQueries[i], 0).size());
    if (rows != DM->MT_export.RecordCount())
        state.SkipWithError("the planner's export rows differ from SQLite's");
}

using Case = void (*)(benchmark::State &, int);

const std::pair<const char *, std::pair<Case, Case>> Cases[] = {
    {"MembershipOpen", {MembershipOpen, MembershipOpenSqlite}},
    {"MembershipNoTimetable", {MembershipNoTimetable, MembershipNoTimetableSqlite}},
    {"Regeneration", {Regeneration, RegenerationSqlite}},
    {"Export", {Export, ExportSqlite}}};

std::string caseName(const char *name, bool sqlite, int share)
{
    return std::string("WholeData/") + name + (sqlite ? "Sqlite" : "") + (share == 4 ? "/quarter" : "");
}

// The quarter runs after the whole set, so the planner is loaded twice only.
void registerCases()
{
    for (const int share : {1, 4})
        for (const auto &[name, cases] : Cases)
            for (const bool sqlite : {false, true})
                benchmark::RegisterBenchmark(caseName(name, sqlite, share).c_str(),
                                             sqlite ? cases.second : cases.first, share)
                    ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerCases();
    return runBenchmarks(argc, argv, [](const RatioReporter &reporter) {
        for (const auto &[name, cases] : Cases) {
            for (const int share : {1, 4})
                reporter.printRatio(caseName(name, false, share), caseName(name, true, share));
            reporter.printRatio(caseName(name, false, 1), caseName(name, false, 4));
        }
        thePlanner.reset();
    });
}
