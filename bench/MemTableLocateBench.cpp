// Finding records against SQLite in memory doing the same: 100,000 Locate calls on an indexed
// integer key of a 100,000-record table, and walking the records a "kurzus_id=" filter or a LIKE
// filter on a text lets through: without an index on the field both sides test every record,
// with one both reach the records through it.

#include "memtable/ztrMemTable.h"
#include "platform/DB.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int recordCount = 100'000;
constexpr int locateCount = 100'000;
// Occasions per course: a filter on one course lets through a hundred records.
constexpr int courseCount = 1'000;

int courseOf(int id)
{
    return id % courseCount;
}

// The keys looked up, the same for both sides.
const std::vector<int> &keysToFind()
{
    static const std::vector<int> keys = [] {
        std::mt19937 random(21);
        std::vector<int> result;
        for (int i = 0; i < locateCount; ++i)
            result.push_back(static_cast<int>(random() % recordCount) + 1);
        return result;
    }();
    return keys;
}

std::unique_ptr<TztrMemTable> occasionTable(bool courseIndex = false)
{
    auto table = std::make_unique<TztrMemTable>();
    table->FieldDefs().Add("alkalom_id", ftInteger);
    table->FieldDefs().Add("kurzus_id", ftInteger);
    table->FieldDefs().Add("terem", ftString, 20);
    table->IndexDefs().Add("kulcs", "alkalom_id", {ixUnique});
    if (courseIndex)
        table->IndexDefs().Add("kurzus", "kurzus_id", {});
    table->Open();
    TField *id = table->FieldByName("alkalom_id");
    TField *course = table->FieldByName("kurzus_id");
    TField *room = table->FieldByName("terem");
    for (int i = 1; i <= recordCount; ++i) {
        table->Append();
        id->SetAsInteger(i);
        course->SetAsInteger(courseOf(i));
        room->SetAsString("A-" + std::to_string(i % 300));
        table->Post();
    }
    return table;
}

void LocateIndexedKey(benchmark::State &state)
{
    auto table = occasionTable();
    for (auto _ : state) {
        for (const int key : keysToFind()) {
            if (!table->Locate("alkalom_id", key, {}))
                state.SkipWithError("a key was not found");
        }
    }
}
BENCHMARK(LocateIndexedKey)->Unit(benchmark::kMillisecond);

// The records stay in row order; with the course index the filter finds them through it.
void FilteredWalk(benchmark::State &state, bool courseIndex)
{
    auto table = occasionTable(courseIndex);
    TField *room = table->FieldByName("terem");
    table->SetFiltered(true);
    int course = 0;
    for (auto _ : state) {
        table->SetFilter("kurzus_id=" + std::to_string(course));
        int shown = 0;
        for (table->First(); !table->Eof(); table->Next()) {
            benchmark::DoNotOptimize(room->AsString());
            ++shown;
        }
        if (shown != recordCount / courseCount)
            state.SkipWithError("the filter let through the wrong records");
        course = (course + 7) % courseCount;
    }
}
BENCHMARK_CAPTURE(FilteredWalk, Scan, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FilteredWalk, Indexed, true)->Unit(benchmark::kMillisecond);

// Rooms "A-" + (id % 300): a pattern ending in a room number and "*" lets through one room in 300.
std::string roomPattern(int room)
{
    return "A-" + std::to_string(room) + "*";
}

int roomMatches(int room)
{
    int count = 0;
    for (int i = 1; i <= recordCount; ++i) {
        const std::string name = "A-" + std::to_string(i % 300);
        count += name.rfind("A-" + std::to_string(room), 0) == 0;
    }
    return count;
}

void FilteredWalkLike(benchmark::State &state)
{
    auto table = occasionTable();
    TField *course = table->FieldByName("kurzus_id");
    table->SetFiltered(true);
    const int room = 123;
    table->SetFilter("terem like '" + roomPattern(room) + "'");
    const int expected = roomMatches(room);
    for (auto _ : state) {
        int shown = 0;
        for (table->First(); !table->Eof(); table->Next()) {
            benchmark::DoNotOptimize(course->AsInteger());
            ++shown;
        }
        if (shown != expected)
            state.SkipWithError("the filter let through the wrong records");
    }
}
BENCHMARK(FilteredWalkLike)->Unit(benchmark::kMillisecond);

// ---- SQLite --------------------------------------------------------------------------------

class Sqlite {
public:
    explicit Sqlite(bool courseIndex = false)
    {
        if (sqlite3_open(":memory:", &db_) != SQLITE_OK)
            throw std::runtime_error("SQLite in memory could not be opened");
        exec("CREATE TABLE alkalom (alkalom_id INTEGER, kurzus_id INTEGER, terem TEXT)");
        exec("CREATE UNIQUE INDEX kulcs ON alkalom (alkalom_id)");
        if (courseIndex)
            exec("CREATE INDEX kurzus ON alkalom (kurzus_id)");
        exec("BEGIN");
        sqlite3_stmt *insert = prepare("INSERT INTO alkalom VALUES (?, ?, ?)");
        for (int i = 1; i <= recordCount; ++i) {
            const std::string room = "A-" + std::to_string(i % 300);
            sqlite3_bind_int(insert, 1, i);
            sqlite3_bind_int(insert, 2, courseOf(i));
            sqlite3_bind_text(insert, 3, room.c_str(), static_cast<int>(room.size()), SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        exec("COMMIT");
    }
    ~Sqlite() { sqlite3_close(db_); }
    Sqlite(const Sqlite &) = delete;
    Sqlite &operator=(const Sqlite &) = delete;

    void exec(const char *sql)
    {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }

    sqlite3_stmt *prepare(const char *sql)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        return statement;
    }

private:
    sqlite3 *db_ = nullptr;
};

// The index alone answers this query: it never reads the row, as Locate, which loads the record,
// must. The row case below reads it.
void LocateIndexedKeySqlite(benchmark::State &state, const char *query)
{
    Sqlite db;
    sqlite3_stmt *find = db.prepare(query);
    for (auto _ : state) {
        for (const int key : keysToFind()) {
            sqlite3_bind_int(find, 1, key);
            if (sqlite3_step(find) != SQLITE_ROW)
                state.SkipWithError("a key was not found");
            sqlite3_reset(find);
        }
    }
    sqlite3_finalize(find);
}
BENCHMARK_CAPTURE(LocateIndexedKeySqlite, Key, "SELECT rowid FROM alkalom WHERE alkalom_id = ?")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LocateIndexedKeySqlite, Row, "SELECT * FROM alkalom WHERE alkalom_id = ?")
    ->Unit(benchmark::kMillisecond);

// Without the course index the query, like the filter, tests every record; with it, the rows come
// in row order as the table's do.
void FilteredWalkSqlite(benchmark::State &state, bool courseIndex)
{
    Sqlite db(courseIndex);
    sqlite3_stmt *select = db.prepare("SELECT terem FROM alkalom WHERE kurzus_id = ? ORDER BY rowid");
    int course = 0;
    for (auto _ : state) {
        sqlite3_bind_int(select, 1, course);
        int shown = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            benchmark::DoNotOptimize(std::string(reinterpret_cast<const char *>(sqlite3_column_text(select, 0))));
            ++shown;
        }
        sqlite3_reset(select);
        if (shown != recordCount / courseCount)
            state.SkipWithError("the query returned the wrong rows");
        course = (course + 7) % courseCount;
    }
    sqlite3_finalize(select);
}
BENCHMARK_CAPTURE(FilteredWalkSqlite, Scan, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FilteredWalkSqlite, Indexed, true)->Unit(benchmark::kMillisecond);

void FilteredWalkLikeSqlite(benchmark::State &state)
{
    Sqlite db;
    sqlite3_stmt *select = db.prepare("SELECT kurzus_id FROM alkalom WHERE terem LIKE ?");
    const int room = 123;
    const std::string pattern = "A-" + std::to_string(room) + "%";
    const int expected = roomMatches(room);
    for (auto _ : state) {
        sqlite3_bind_text(select, 1, pattern.c_str(), static_cast<int>(pattern.size()), SQLITE_TRANSIENT);
        int shown = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int(select, 0));
            ++shown;
        }
        sqlite3_reset(select);
        if (shown != expected)
            state.SkipWithError("the query returned the wrong rows");
    }
    sqlite3_finalize(select);
}
BENCHMARK(FilteredWalkLikeSqlite)->Unit(benchmark::kMillisecond);

} // namespace
