// Every view rebuild of the main window and of the occupancy views on a whole university's data,
// each against SQLite in memory answering the same question: the same tables and indexes, one
// query returning the rows and items the view shows. The scaling cases shrink the store around a
// fixed view, so their times should stay flat. The selector cases switch modes and click a
// selector row on the large set and on a store four times as large (every row copied with ids
// of its own).

#include "LargeDataSet.h"
#include "RatioReporter.h"
#include "SqliteCopy.h"
#include "app/ProgramForms.h"
#include "app/brelvix_pas.h"
#include "calendar/veltoCalendar.h"
#include "dialogs/Oktatofoglaltsag.h"
#include "dialogs/Teremfoglaltsag.h"
#include "dialogs/csoportfog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sqlite3.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using bench::TempFolder;
using bench::check;
using bench::environmentOn;
using bench::largeDataFolder;

// The ids the cases show: the largest and the median timetable, the room with most occasions,
// the teacher and the subject with most courses.
struct Picks
{
    int largestTimetable = -1;
    int medianTimetable = -1;
    int busyRoom = -1;
    int busyTeacher = -1;
    int bigSubject = -1;
    int largestCourses = 0;
    int medianCourses = 0;
    // Teachers with courses, busiest first: enough distinct views that none is shown twice
    // within a few hundred rebuilds.
    std::vector<int> teachers;
};

std::map<int, int> countBy(TztrMemTable &table, const char *field)
{
    std::map<int, int> counts;
    table.SetFiltered(false);
    table.DisableControls();
    for (table.First(); !table.Eof(); table.Next())
        ++counts[table.FieldByName(field)->AsInteger()];
    table.EnableControls();
    return counts;
}

std::pair<int, int> largest(const std::map<int, int> &counts, bool excludeNone = true)
{
    std::pair<int, int> best{-1, 0};
    for (const auto &[id, count] : counts)
        if ((!excludeNone || id > 0) && count > best.second)
            best = {id, count};
    return best;
}

Picks pick()
{
    Picks picks;
    const std::map<int, int> perTimetable = countBy(DM->MT_kurzusorarend, "orarend_id");
    std::tie(picks.largestTimetable, picks.largestCourses) = largest(perTimetable);
    std::vector<std::pair<int, int>> bySize;
    for (const auto &[id, count] : perTimetable)
        bySize.emplace_back(count, id);
    std::sort(bySize.begin(), bySize.end());
    std::tie(picks.medianCourses, picks.medianTimetable) = bySize[bySize.size() / 2];
    picks.busyRoom = largest(countBy(DM->MT_alkalom, "terem_id")).first;
    const std::map<int, int> perTeacher = countBy(DM->MT_kurzusoktato, "oktato_id");
    picks.busyTeacher = largest(perTeacher).first;
    std::vector<std::pair<int, int>> byCourses;
    for (const auto &[id, count] : perTeacher)
        if (id > 0)
            byCourses.emplace_back(-count, id);
    std::sort(byCourses.begin(), byCourses.end());
    for (const auto &teacher : byCourses)
        picks.teachers.push_back(teacher.second);
    picks.bigSubject = largest(countBy(DM->MT_kurzustargy, "targy_id")).first;
    return picks;
}

// The program as it runs on a data folder: the data module, every form, the main window shown;
// and the same tables in SQLite, copied the first time a peer asks.
struct Planner
{
    std::unique_ptr<TProgramForms> forms;
    Picks picks;
    sqlite3 *db = nullptr;

    explicit Planner(const fs::path &folder)
    {
        forms = std::make_unique<TProgramForms>(environmentOn(folder));
        Form1->resize(1200, 900);
        Form1->show();
        QApplication::processEvents();
        picks = pick();
    }
    ~Planner()
    {
        if (db)
            sqlite3_close(db);
    }

    sqlite3 *sqlite()
    {
        if (db)
            return db;
        db = bench::sqliteCopyOf({{"kurzus", &DM->MT_kurzus},
                                  {"alkalom", &DM->MT_alkalom},
                                  {"kurzusorarend", &DM->MT_kurzusorarend},
                                  {"kurzusoktato", &DM->MT_kurzusoktato},
                                  {"kurzustargy", &DM->MT_kurzustargy},
                                  {"targy", &DM->MT_targy},
                                  {"oktato", &DM->MT_oktato},
                                  {"terem", &DM->MT_terem},
                                  {"orarend", &DM->MT_orarend}},
                                  // The engine finds a course's linked courses through this view's index.
                                  bench::indexSql("kurzus", DM->MT_kurzus_csatolt));
        return db;
    }
};

// Released before the application object, which the windows need to the end.
std::unique_ptr<Planner> thePlanner;
// The data folder thePlanner runs on.
fs::path plannerFolder;

fs::path shrunkFolder(int share);
fs::path grownFolder(int times);

Planner &plannerOn(const fs::path &folder)
{
    if (!thePlanner || plannerFolder != folder) {
        // The forms are the program's globals: one planner at a time.
        thePlanner.reset();
        thePlanner = std::make_unique<Planner>(folder);
        plannerFolder = folder;
    }
    return *thePlanner;
}

// The large set, or the part of its courses given as 1/share.
Planner &planner(int share = 1)
{
    return plannerOn(share == 1 ? largeDataFolder() : shrunkFolder(share));
}

// The large set, or a store `times` as large.
Planner &grownPlanner(int times)
{
    return plannerOn(times == 1 ? largeDataFolder() : grownFolder(times));
}

// Lets the window finish what the action posted (deferred deletions, layouts, paints).
void settle()
{
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

// The settings a planner's choice leaves before the view is rebuilt.
void chooseTimetable(int id)
{
    Form1->WorkMode = 0;
    Form1->TimetableId = Form1->SelectionId = id;
}

void chooseSelection(int mode, int id, bool everyOccasion = false)
{
    {
        const QSignalBlocker quiet(Form1->AlkalomCB);
        Form1->AlkalomCB->setChecked(everyOccasion);
    }
    Form1->WorkMode = mode;
    Form1->TimetableId = -1;
    Form1->SelectionId = id;
}

void showTimetable(int id)
{
    chooseTimetable(id);
    Form1->RefreshView();
    settle();
}

void showSelection(int mode, int id, bool everyOccasion = false)
{
    chooseSelection(mode, id, everyOccasion);
    Form1->RefreshView();
    settle();
}

void reportView(benchmark::State &state)
{
    state.counters["rows"] = Form1->LV->topLevelItemCount();
    state.counters["items"] = Form1->VL->Items().Count();
}

// ---- the window

void LargestTimetable(benchmark::State &state)
{
    Planner &p = planner();
    for (auto _ : state)
        showTimetable(p.picks.largestTimetable);
    reportView(state);
}

void MedianTimetable(benchmark::State &state)
{
    Planner &p = planner();
    for (auto _ : state)
        showTimetable(p.picks.medianTimetable);
    reportView(state);
}

void Room(benchmark::State &state)
{
    Planner &p = planner();
    for (auto _ : state)
        showSelection(2, p.picks.busyRoom, true);
    reportView(state);
}

void Teacher(benchmark::State &state)
{
    Planner &p = planner();
    for (auto _ : state)
        showSelection(3, p.picks.busyTeacher);
    reportView(state);
}

// A teacher not shown in the last few hundred rebuilds at every step: nothing a view drew before
// can be reused.
void TeacherNotShownBefore(benchmark::State &state)
{
    Planner &p = planner();
    std::size_t next = 0;
    for (auto _ : state) {
        showSelection(3, p.picks.teachers[next]);
        next = (next + 1) % p.picks.teachers.size();
    }
    reportView(state);
}

void Subject(benchmark::State &state)
{
    Planner &p = planner();
    for (auto _ : state)
        showSelection(4, p.picks.bigSubject);
    reportView(state);
}

// The rebuild without its painting, which is left out of the time: the part of a view that
// answers what SQLite's query answers.
template <class Choose>
void rebuildOnly(benchmark::State &state, Choose choose)
{
    for (auto _ : state) {
        choose();
        Form1->RefreshView();
        state.PauseTiming();
        settle();
        state.ResumeTiming();
    }
    reportView(state);
}

void LargestTimetableUnpainted(benchmark::State &state)
{
    rebuildOnly(state, [id = planner().picks.largestTimetable] { chooseTimetable(id); });
}

void MedianTimetableUnpainted(benchmark::State &state)
{
    rebuildOnly(state, [id = planner().picks.medianTimetable] { chooseTimetable(id); });
}

void RoomUnpainted(benchmark::State &state)
{
    rebuildOnly(state, [id = planner().picks.busyRoom] { chooseSelection(2, id, true); });
}

void TeacherUnpainted(benchmark::State &state)
{
    rebuildOnly(state, [id = planner().picks.busyTeacher] { chooseSelection(3, id); });
}

void SubjectUnpainted(benchmark::State &state)
{
    rebuildOnly(state, [id = planner().picks.bigSubject] { chooseSelection(4, id); });
}

// Flips one view setting between two values on the largest timetable; `set` is told which one.
template <class Set>
void flipping(benchmark::State &state, Set set)
{
    showTimetable(planner().picks.largestTimetable);
    bool first = false;
    for (auto _ : state) {
        set(first = !first);
        settle();
    }
    reportView(state);
}

void WeekChange(benchmark::State &state)
{
    flipping(state, [](bool first) { Form1->HetekCB->setCurrentIndex(first ? 3 : 5); });
    const QSignalBlocker quiet(Form1->HetekCB);
    Form1->HetekCB->setCurrentIndex(0);
}

void ListFilterChange(benchmark::State &state)
{
    flipping(state, [](bool first) { Form1->ListFilterClick(first ? 2 : 3); });
    Form1->ListFilter = 3;
}

// From the largest timetable to the room mode: the old view is rebuilt first, then the empty one.
void ModeSwitch(benchmark::State &state)
{
    Planner &p = planner();
    for (auto _ : state) {
        state.PauseTiming();
        showSelection(0, -1);
        showTimetable(p.picks.largestTimetable);
        state.ResumeTiming();
        Form1->UM_tipusClick(Form1->UM_terem);
        settle();
    }
}

void CourseClick(benchmark::State &state)
{
    Planner &p = planner();
    showTimetable(p.picks.largestTimetable);
    int row = 0;
    for (auto _ : state) {
        row = row == 1 ? 2 : 1;
        Form1->LV->setCurrentItem(Form1->LV->topLevelItem(row));
        settle();
    }
}

// ---- the occupancy views

void RoomOccupancy(benchmark::State &state)
{
    Planner &p = planner();
    QTreeWidgetItem *row = nullptr;
    for (int i = 0; i < Teremfog->LV->topLevelItemCount() && !row; ++i)
        if (Teremfog->LV->topLevelItem(i)->text(1).toInt() == p.picks.busyRoom)
            row = Teremfog->LV->topLevelItem(i);
    if (!row) {
        state.SkipWithError("room not listed");
        return;
    }
    for (auto _ : state) {
        Teremfog->LVSelectItem(row, true);
        settle();
    }
    state.counters["items"] = Teremfog->VL->Items().Count();
}

void TeacherOccupancy(benchmark::State &state)
{
    Planner &p = planner();
    Oktatofog->OktatoId = p.picks.busyTeacher;
    for (auto _ : state) {
        Oktatofog->FormShow();
        settle();
    }
    state.counters["items"] = Oktatofog->VL->Items().Count();
}

void GroupOccupancy(benchmark::State &state)
{
    Planner &p = planner();
    DM->MT_terem.Locate("terem_id", p.picks.busyRoom, {});
    csoportfoglalasok->FoglalasMod = Tcsoportfoglalasok::TeremFoglalasai;
    for (auto _ : state) {
        csoportfoglalasok->FormShow();
        settle();
    }
    state.counters["items"] = csoportfoglalasok->VL->Items().Count();
}

// ---- the working modes and their selector lists

QAction *modeEntry(int mode)
{
    return mode == 4 ? Form1->UM_tantargy : Form1->UM_orarend;
}

QTreeWidget *modeList(int mode)
{
    return mode == 4 ? Form1->LV_tantargy : Form1->LV_orarend;
}

// The selector's source table, with a text field an edit can touch.
std::pair<TztrMemTable *, const char *> modeTable(int mode)
{
    return mode == 4 ? std::pair{&DM->MT_targy, "targy_nev"} : std::pair{&DM->MT_orarend, "megjegyzes"};
}

// Changes a text of the first row and puts it back, as an edit in a dialog and its undoing would:
// the list must be filled anew at the next switch.
void editAndUndo(int mode)
{
    auto [table, field] = modeTable(mode);
    table->First();
    const std::string text = table->FieldByName(field)->AsString();
    for (const std::string &value : {text + "x", text}) {
        table->Edit();
        table->FieldByName(field)->SetAsString(value);
        table->Post();
    }
}

// A person's click on a list row, where the row is drawn.
void clickRow(QTreeWidget &list, QTreeWidgetItem *row)
{
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(row).center());
    settle();
}

// From the other mode with its first row picked to `to` (4 subjects, 1 timetables) through the
// mode menu; after an edit of the list's table or with the table as the list last showed it.
void ModeSwitchTo(benchmark::State &state)
{
    const int to = int(state.range(0));
    const bool edited = state.range(1) == 1;
    grownPlanner(int(state.range(2)));
    const int from = to == 4 ? 1 : 4;
    for (auto _ : state) {
        state.PauseTiming();
        modeEntry(from)->trigger();
        clickRow(*modeList(from), modeList(from)->topLevelItem(0));
        if (edited)
            editAndUndo(to);
        state.ResumeTiming();
        modeEntry(to)->trigger();
        settle();
    }
    state.counters["rows"] = modeList(to)->topLevelItemCount();
}

// From the room mode with its first room picked to `to` through the mode menu: unchecking
// "Minden alkalom (terem)" rebuilds the room view once more before the switch.
void ModeSwitchFromRooms(benchmark::State &state)
{
    const int to = int(state.range(0));
    grownPlanner(int(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        Form1->UM_terem->trigger();
        clickRow(*Form1->LV_terem, Form1->LV_terem->topLevelItem(0));
        state.ResumeTiming();
        modeEntry(to)->trigger();
        settle();
    }
    state.counters["rows"] = modeList(to)->topLevelItemCount();
}

// The first click in the subject list, the longest selector, just filled, on its first row or,
// after the scroll bar is dragged to the end, on its last: the list lays out its rows and the
// view shows the subject clicked.
void SelectorFirstClick(benchmark::State &state)
{
    const bool last = state.range(0) == 1;
    grownPlanner(int(state.range(1)));
    QTreeWidget *list = Form1->LV_tantargy;
    for (auto _ : state) {
        state.PauseTiming();
        Form1->UM_orarend->trigger();
        editAndUndo(4);
        Form1->UM_tantargy->trigger();
        settle();
        state.ResumeTiming();
        if (last) {
            QScrollBar *bar = list->verticalScrollBar();
            bar->setSliderDown(true);
            bar->setSliderPosition(bar->maximum());
            bar->setSliderDown(false);
            settle();
        }
        clickRow(*list, list->topLevelItem(last ? list->topLevelItemCount() - 1 : 0));
    }
    state.counters["rows"] = list->topLevelItemCount();
    reportView(state);
}

// ---- SQLite answering the same questions

// The teacher names an item shows, and its room.
const char *const ItemColumns =
    "a.alkalom_id, a.kezd_ido, a.veg_ido, a.hetek, a.gyakorisag, te.terem_hely || te.terem_kod, "
    "(SELECT group_concat(o.oktato_nev) FROM kurzusoktato ko JOIN oktato o ON o.oktato_id = ko.oktato_id "
    "WHERE ko.kurzus_id = k.kurzus_id)";

const std::string CourseColumns =
    "k.kurzus_id, k.kurzus_kod_osszetett, coalesce(nullif(k.megnevezes, ''), t.targy_nev), k.max_letszam, "
    "k.megjegyzes, k.targy_id";

std::string timetableQuery(const std::string &occasionCondition, const std::string &courseCondition)
{
    return "SELECT " + CourseColumns + ", " + ItemColumns +
           " FROM kurzusorarend r JOIN kurzus k ON k.kurzus_id = r.kurzus_id"
           " LEFT JOIN targy t ON t.targy_id = k.targy_id"
           " LEFT JOIN alkalom a ON a.kurzus_id = CASE WHEN k.kurzus_id_csatolt > 0 THEN k.kurzus_id_csatolt"
           " ELSE k.kurzus_id END" +
           occasionCondition +
           " LEFT JOIN terem te ON te.terem_id = a.terem_id"
           " WHERE r.orarend_id = ?1" +
           courseCondition + " ORDER BY k.kurzus_kod_osszetett";
}

const std::string RoomQuery = "SELECT " + CourseColumns + ", " + ItemColumns +
                              " FROM kurzus k LEFT JOIN targy t ON t.targy_id = k.targy_id"
                              " JOIN alkalom a ON a.kurzus_id = k.kurzus_id"
                              " LEFT JOIN terem te ON te.terem_id = a.terem_id"
                              " WHERE k.kurzus_id IN (SELECT kurzus_id FROM alkalom WHERE terem_id = ?1)"
                              " ORDER BY k.kurzus_kod";

std::string linkedQuery(const char *links, const char *key)
{
    return "SELECT " + CourseColumns + ", " + ItemColumns + " FROM " + links +
           " l JOIN kurzus k ON k.kurzus_id = l.kurzus_id LEFT JOIN targy t ON t.targy_id = k.targy_id"
           " LEFT JOIN alkalom a ON a.kurzus_id = k.kurzus_id LEFT JOIN terem te ON te.terem_id = a.terem_id"
           " WHERE l." +
           key + " = ?1 ORDER BY k.kurzus_kod_osszetett";
}

const std::string RoomOccupancyQuery =
    "SELECT " + CourseColumns + ", " + ItemColumns +
    " FROM alkalom a JOIN kurzus k ON k.kurzus_id = a.kurzus_id"
    " LEFT JOIN targy t ON t.targy_id = k.targy_id"
    " LEFT JOIN terem te ON te.terem_id = a.terem_id WHERE a.terem_id = ?1";

const std::string TeacherOccupancyQuery = "SELECT " + CourseColumns + ", " + ItemColumns +
                                          " FROM kurzusoktato l JOIN alkalom a ON a.kurzus_id = l.kurzus_id"
                                          " JOIN kurzus k ON k.kurzus_id = a.kurzus_id"
                                          " LEFT JOIN targy t ON t.targy_id = k.targy_id"
                                          " LEFT JOIN terem te ON te.terem_id = a.terem_id"
                                          " WHERE l.oktato_id = ?1 ORDER BY a.alkalom_id LIMIT 100";

const std::string GroupOccupancyQuery =
    "SELECT " + CourseColumns + ", " + ItemColumns +
    " FROM kurzus k LEFT JOIN targy t ON t.targy_id = k.targy_id"
    " JOIN alkalom a ON a.kurzus_id = k.kurzus_id AND a.terem_id = ?1"
    " LEFT JOIN terem te ON te.terem_id = a.terem_id"
    " WHERE k.kurzus_id IN (SELECT kurzus_id FROM alkalom WHERE terem_id = ?1)";

const std::string RoomListQuery =
    "SELECT terem_hely || '-' || terem_kod || ' (' || terem_telephely || '/' || "
    "terem_kapacitas || ' fő)', terem_id FROM terem ORDER BY 1";

const std::string CourseQuery =
    "SELECT " + CourseColumns + ", " + ItemColumns +
    ", (SELECT group_concat(s.targy_nev) FROM kurzustargy ks JOIN targy s ON s.targy_id = ks.targy_id"
    " WHERE ks.kurzus_id = k.kurzus_id),"
    " (SELECT group_concat(c.kurzus_kod) FROM kurzus c WHERE c.kurzus_id_csatolt = k.kurzus_id)"
    " FROM kurzus k LEFT JOIN targy t ON t.targy_id = k.targy_id LEFT JOIN alkalom a ON a.kurzus_id = "
    "k.kurzus_id"
    " LEFT JOIN terem te ON te.terem_id = a.terem_id WHERE k.kurzus_id = ?1";

// Runs the queries as the view would, reading every column of every row.
long runQueries(sqlite3 *db, const std::vector<std::pair<std::string, int>> &queries)
{
    long cells = 0;
    for (const auto &[sql, parameter] : queries) {
        sqlite3_stmt *statement = nullptr;
        check(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), db);
        sqlite3_bind_int(statement, 1, parameter);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                cells += sqlite3_column_bytes(statement, c) + 1;
        }
        sqlite3_finalize(statement);
    }
    return cells;
}

void sqliteCase(benchmark::State &state, const std::vector<std::pair<std::string, int>> &queries,
                Planner &p = planner())
{
    long cells = 0;
    sqlite3 *db = p.sqlite();
    for (auto _ : state)
        benchmark::DoNotOptimize(cells = runQueries(db, queries));
    state.counters["cells"] = double(cells);
}

const std::string WeekCondition = " AND substr(a.hetek, 3, 1) = '1'";
const std::string NoRoomCondition =
    " AND EXISTS (SELECT 1 FROM alkalom n WHERE n.kurzus_id = k.kurzus_id AND n.terem_id <= 0)";

void LargestTimetableSqlite(benchmark::State &s)
{
    sqliteCase(s, {{timetableQuery("", ""), planner().picks.largestTimetable}});
}
void MedianTimetableSqlite(benchmark::State &s)
{
    sqliteCase(s, {{timetableQuery("", ""), planner().picks.medianTimetable}});
}
void RoomSqlite(benchmark::State &s)
{
    sqliteCase(s, {{RoomQuery, planner().picks.busyRoom}});
}
void TeacherSqlite(benchmark::State &s)
{
    sqliteCase(s, {{linkedQuery("kurzusoktato", "oktato_id"), planner().picks.busyTeacher}});
}
void TeacherNotShownBeforeSqlite(benchmark::State &s)
{
    Planner &p = planner();
    const std::string query = linkedQuery("kurzusoktato", "oktato_id");
    sqlite3 *db = p.sqlite();
    std::size_t next = 0;
    for (auto _ : s) {
        benchmark::DoNotOptimize(runQueries(db, {{query, p.picks.teachers[next]}}));
        next = (next + 1) % p.picks.teachers.size();
    }
}
void SubjectSqlite(benchmark::State &s)
{
    sqliteCase(s, {{linkedQuery("kurzustargy", "targy_id"), planner().picks.bigSubject}});
}
void WeekChangeSqlite(benchmark::State &s)
{
    sqliteCase(s, {{timetableQuery(WeekCondition, ""), planner().picks.largestTimetable}});
}
void ListFilterChangeSqlite(benchmark::State &s)
{
    sqliteCase(s, {{timetableQuery("", NoRoomCondition), planner().picks.largestTimetable}});
}
void ModeSwitchSqlite(benchmark::State &s)
{
    sqliteCase(s, {{timetableQuery("", ""), planner().picks.largestTimetable}, {RoomListQuery, 0}});
}
void CourseClickSqlite(benchmark::State &s)
{
    int course = -1;
    if (QTreeWidgetItem *row = Form1->LV->topLevelItem(1))
        course = row->text(4).toInt();
    sqliteCase(s, {{CourseQuery, course}});
}
void RoomOccupancySqlite(benchmark::State &s)
{
    sqliteCase(s, {{RoomOccupancyQuery, planner().picks.busyRoom}});
}
void TeacherOccupancySqlite(benchmark::State &s)
{
    sqliteCase(s, {{TeacherOccupancyQuery, planner().picks.busyTeacher}});
}
void GroupOccupancySqlite(benchmark::State &s)
{
    sqliteCase(s, {{GroupOccupancyQuery, planner().picks.busyRoom}});
}

const std::string SubjectListQuery = "SELECT targy_kod, targy_nev, targy_id FROM targy ORDER BY targy_kod";

const std::string TimetableListQuery =
    "SELECT megnevezes || CASE WHEN megjegyzes <> '' THEN ' (' || megjegyzes || ')' ELSE '' END, orarend_id "
    "FROM orarend ORDER BY 1";

void ModeSwitchToSqlite(benchmark::State &s)
{
    sqliteCase(s, {{s.range(0) == 4 ? SubjectListQuery : TimetableListQuery, 0}}, grownPlanner(int(s.range(1))));
}

void SelectorFirstClickSqlite(benchmark::State &s)
{
    Planner &p = grownPlanner(int(s.range(1)));
    QTreeWidget *list = Form1->LV_tantargy;
    const int row = s.range(0) == 1 ? list->topLevelItemCount() - 1 : 0;
    sqliteCase(s, {{linkedQuery("kurzustargy", "targy_id"), list->topLevelItem(row)->text(2).toInt()}}, p);
}

// ---- the store shrunk around a fixed view

// The courses the scaling cases show: the largest timetable's, the busy room's, and the heads
// they are attached to; then others in file order up to 1/share of all courses.
std::set<int> keptCourses(int share)
{
    Planner &full = planner();
    std::set<int> kept;
    const auto each = [](TztrMemTable &table, const std::function<void(TztrMemTable &)> &visit) {
        TztrMemTable rows;
        rows.SetAttachedTo(&table);
        rows.Open();
        for (rows.First(); !rows.Eof(); rows.Next())
            visit(rows);
    };
    const auto id = [](TztrMemTable &rows, const char *field) {
        return rows.FieldByName(field)->AsInteger();
    };
    each(DM->MT_kurzusorarend, [&](TztrMemTable &rows) {
        if (id(rows, "orarend_id") == full.picks.largestTimetable)
            kept.insert(id(rows, "kurzus_id"));
    });
    each(DM->MT_alkalom, [&](TztrMemTable &rows) {
        if (id(rows, "terem_id") == full.picks.busyRoom)
            kept.insert(id(rows, "kurzus_id"));
    });
    std::vector<int> courses;
    std::map<int, int> heads;
    each(DM->MT_kurzus, [&](TztrMemTable &rows) {
        courses.push_back(id(rows, "kurzus_id"));
        heads[id(rows, "kurzus_id")] = id(rows, "kurzus_id_csatolt");
    });
    for (const int course : std::set<int>(kept))
        if (heads[course] > 0)
            kept.insert(heads[course]);
    for (const int course : courses) {
        if (kept.size() >= courses.size() / std::size_t(share))
            break;
        kept.insert(course);
    }
    return kept;
}

fs::path shrunkFolder(int share)
{
    static std::map<int, std::unique_ptr<TempFolder>> folders;
    auto &folder = folders[share];
    if (!folder) {
        const std::set<int> kept = keptCourses(share);
        folder = std::make_unique<TempFolder>();
        for (const auto &file : fs::directory_iterator(largeDataFolder()))
            bench::copyKeepingCourses(file.path(), folder->path() / file.path().filename(), kept);
    }
    return folder->path();
}

fs::path grownFolder(int times)
{
    static std::map<int, std::unique_ptr<TempFolder>> folders;
    auto &folder = folders[times];
    if (!folder) {
        folder = std::make_unique<TempFolder>();
        for (const auto &file : fs::directory_iterator(largeDataFolder()))
            bench::copyGrowing(file.path(), folder->path() / file.path().filename(), times);
    }
    return folder->path();
}

void ViewRebuildScaling(benchmark::State &state)
{
    const bool room = state.range(0) == 1;
    const int share = int(state.range(1));
    // The ids the full set picked, which every shrunk copy keeps.
    static const Picks full = planner().picks;
    if (share != 1)
        shrunkFolder(share);
    planner(share);
    for (auto _ : state) {
        if (room)
            showSelection(2, full.busyRoom, true);
        else
            showTimetable(full.largestTimetable);
    }
    reportView(state);
    state.counters["store"] = DM->MT_alkalom.RecordCount();
}

const char *const Cases[] = {"LargestTimetable", "MedianTimetable",  "Room",
                             "Teacher",          "TeacherNotShownBefore", "Subject",
                             "WeekChange",       "ListFilterChange", "ModeSwitch",
                             "CourseClick",      "RoomOccupancy",    "TeacherOccupancy",
                             "GroupOccupancy"};

void registerCases()
{
    using Case = void (*)(benchmark::State &);
    const std::pair<Case, Case> cases[] = {{LargestTimetable, LargestTimetableSqlite},
                                           {MedianTimetable, MedianTimetableSqlite},
                                           {Room, RoomSqlite},
                                           {Teacher, TeacherSqlite},
                                           {TeacherNotShownBefore, TeacherNotShownBeforeSqlite},
                                           {Subject, SubjectSqlite},
                                           {WeekChange, WeekChangeSqlite},
                                           {ListFilterChange, ListFilterChangeSqlite},
                                           {ModeSwitch, ModeSwitchSqlite},
                                           {CourseClick, CourseClickSqlite},
                                           {RoomOccupancy, RoomOccupancySqlite},
                                           {TeacherOccupancy, TeacherOccupancySqlite},
                                           {GroupOccupancy, GroupOccupancySqlite}};
    const std::pair<const char *, Case> unpainted[] = {{"LargestTimetable", LargestTimetableUnpainted},
                                                       {"MedianTimetable", MedianTimetableUnpainted},
                                                       {"Room", RoomUnpainted},
                                                       {"Teacher", TeacherUnpainted},
                                                       {"Subject", SubjectUnpainted}};
    for (const auto &[name, run] : unpainted)
        benchmark::RegisterBenchmark((std::string("ViewRebuild/") + name + "Unpainted").c_str(), run)
            ->Unit(benchmark::kMillisecond);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = std::string("ViewRebuild/") + Cases[i];
        benchmark::RegisterBenchmark(name.c_str(), cases[i].first)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "Sqlite").c_str(), cases[i].second)->Unit(benchmark::kMillisecond);
    }
    // The large set first, then the store four times as large, each loaded once.
    const auto selectors = [](int times) {
        for (const int to : {4, 1}) {
            for (const int edited : {0, 1})
                benchmark::RegisterBenchmark("Selectors/ModeSwitchTo", ModeSwitchTo)
                    ->ArgNames({"to", "edited", "times"})
                    ->Args({to, edited, times})
                    ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark("Selectors/ModeSwitchToSqlite", ModeSwitchToSqlite)
                ->ArgNames({"to", "times"})
                ->Args({to, times})
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark("Selectors/ModeSwitchFromRooms", ModeSwitchFromRooms)
                ->ArgNames({"to", "times"})
                ->Args({to, times})
                ->Unit(benchmark::kMillisecond);
        }
        for (const int last : {0, 1}) {
            benchmark::RegisterBenchmark("Selectors/FirstClick", SelectorFirstClick)
                ->ArgNames({"last", "times"})
                ->Args({last, times})
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark("Selectors/FirstClickSqlite", SelectorFirstClickSqlite)
                ->ArgNames({"last", "times"})
                ->Args({last, times})
                ->Unit(benchmark::kMillisecond);
        }
    };
    selectors(1);
    // {0 timetable | 1 room, share of the courses as 1/n}.
    benchmark::RegisterBenchmark("ViewRebuildScaling", ViewRebuildScaling)
        ->ArgNames({"room", "over"})
        ->Args({0, 1})
        ->Args({1, 1})
        ->Args({0, 2})
        ->Args({1, 2})
        ->Args({0, 4})
        ->Args({1, 4})
        ->Unit(benchmark::kMillisecond);
    selectors(4);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerCases();
    return runBenchmarks(argc, argv, [](const RatioReporter &reporter) {
        for (const char *name : Cases) {
            const std::string ours = std::string("ViewRebuild/") + name;
            reporter.printRatio(ours, ours + "Sqlite");
            reporter.printRatio(ours + "Unpainted", ours + "Sqlite");
        }
        for (const char *view : {"room:0", "room:1"}) {
            const std::string scaling = std::string("ViewRebuildScaling/") + view;
            reporter.printRatio(scaling + "/over:1", scaling + "/over:4");
        }
        for (const std::string times : {"times:1", "times:4"}) {
            for (const std::string to : {"to:4", "to:1"}) {
                for (const std::string edited : {"edited:0", "edited:1"})
                    reporter.printRatio("Selectors/ModeSwitchTo/" + to + "/" + edited + "/" + times,
                                        "Selectors/ModeSwitchToSqlite/" + to + "/" + times);
                reporter.printRatio("Selectors/ModeSwitchFromRooms/" + to + "/" + times,
                                    "Selectors/ModeSwitchToSqlite/" + to + "/" + times);
            }
            for (const std::string last : {"last:0", "last:1"})
                reporter.printRatio("Selectors/FirstClick/" + last + "/" + times,
                                    "Selectors/FirstClickSqlite/" + last + "/" + times);
        }
        // Growth from the large set to four times its data.
        for (const std::string to : {"to:4", "to:1"}) {
            for (const std::string edited : {"edited:0", "edited:1"})
                reporter.printRatio("Selectors/ModeSwitchTo/" + to + "/" + edited + "/times:4",
                                    "Selectors/ModeSwitchTo/" + to + "/" + edited + "/times:1");
            reporter.printRatio("Selectors/ModeSwitchFromRooms/" + to + "/times:4",
                                "Selectors/ModeSwitchFromRooms/" + to + "/times:1");
        }
        for (const std::string last : {"last:0", "last:1"})
            reporter.printRatio("Selectors/FirstClick/" + last + "/times:4", "Selectors/FirstClick/" + last + "/times:1");
        thePlanner.reset();
    });
}
