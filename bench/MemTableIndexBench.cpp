// The memory table's index upkeep against SQLite in memory doing the same work: appending with
// three maintained indexes, editing an indexed field, and building an index. Names are compared
// the same way on both sides: SQLite is given the engine's Hungarian case-insensitive order.

#include "memtable/ztrMemTable.h"
#include "platform/Cp1250.h"
#include "platform/DB.h"
#include "platform/LocaleCompare.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int recordCount = 100'000;
constexpr LCID hungarian = 0x040E;

struct Person {
    int id;
    std::string name; // cp1250
    int points;
};

const std::vector<Person> &people()
{
    static const std::vector<Person> rows = [] {
        const char *family[] = {"Kovács", "Szabó", "Tóth", "Nagy", "Horváth", "Kiss", "Molnár", "Németh",
                                "Farkas", "Balogh", "Csizmadia", "Dzsida", "Őri", "Ürge", "Lakatos"};
        const char *given[] = {"Péter", "Éva", "Zsófia", "Ödön", "Csaba", "Ágnes", "László", "Tünde", "Gyula",
                               "Ilona", "Béla"};
        std::mt19937 random(8);
        std::vector<Person> result;
        for (int i = 0; i < recordCount; ++i) {
            const std::string name = std::string(family[random() % 15]) + " " + given[random() % 11] + " " +
                                     std::to_string(random() % 1000);
            result.push_back({i + 1, utf8ToCp1250(name), static_cast<int>(random() % 500)});
        }
        return result;
    }();
    return rows;
}

// ---- The memory table ----------------------------------------------------------------------

std::unique_ptr<TztrMemTable> peopleTable(bool withIndexes)
{
    auto table = std::make_unique<TztrMemTable>();
    table->FieldDefs().Add("id", ftInteger);
    table->FieldDefs().Add("nev", ftString, 40);
    table->FieldDefs().Add("pont", ftInteger);
    table->SetLocaleID(hungarian);
    if (withIndexes) {
        table->IndexDefs().Add("kulcs", "id", {ixUnique});
        table->IndexDefs().Add("nevek", "nev", {ixCaseInsensitive});
        table->IndexDefs().Add("pontok", "pont", {});
    }
    table->Open();
    return table;
}

void appendPeople(TztrMemTable &table)
{
    TField *id = table.FieldByName("id");
    TField *name = table.FieldByName("nev");
    TField *points = table.FieldByName("pont");
    for (const Person &person : people()) {
        table.Append();
        id->SetAsInteger(person.id);
        name->SetAsString(person.name);
        points->SetAsInteger(person.points);
        table.Post();
    }
}

void AppendWithThreeIndexes(benchmark::State &state)
{
    people();
    for (auto _ : state) {
        auto table = peopleTable(true);
        appendPeople(*table);
        benchmark::DoNotOptimize(table->RecordCount());
    }
}
BENCHMARK(AppendWithThreeIndexes)->Unit(benchmark::kMillisecond);

void EditIndexedField(benchmark::State &state)
{
    auto table = peopleTable(true);
    appendPeople(*table);
    TField *points = table->FieldByName("pont");
    std::mt19937 random(13);
    for (auto _ : state) {
        for (int i = 0; i < recordCount; ++i) {
            table->SetRecNo(static_cast<int>(random() % recordCount) + 1);
            table->Edit();
            points->SetAsInteger(static_cast<int>(random() % 500));
            table->Post();
        }
    }
}
BENCHMARK(EditIndexedField)->Unit(benchmark::kMillisecond);

void BuildIndex(benchmark::State &state)
{
    auto table = peopleTable(false);
    appendPeople(*table);
    for (auto _ : state) {
        table->AddIndex("nevek", "nev", {ixCaseInsensitive});
        state.PauseTiming();
        table->Indexes().Delete(table->Indexes().IndexByName("nevek"));
        table->IndexDefs().Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BuildIndex)->Unit(benchmark::kMillisecond);

// ---- SQLite --------------------------------------------------------------------------------

class Sqlite {
public:
    Sqlite()
    {
        if (sqlite3_open(":memory:", &db_) != SQLITE_OK)
            throw std::runtime_error("SQLite in memory could not be opened");
        if (sqlite3_create_collation_v2(db_, "HU_CI", SQLITE_UTF8, nullptr, &compareHungarianIgnoringCase,
                                        nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }
    ~Sqlite() { sqlite3_close(db_); }

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

    void createPeople(bool withIndexes)
    {
        exec("CREATE TABLE people (id INTEGER, nev TEXT, pont INTEGER)");
        if (withIndexes) {
            exec("CREATE UNIQUE INDEX kulcs ON people (id)");
            exec("CREATE INDEX nevek ON people (nev COLLATE HU_CI)");
            exec("CREATE INDEX pontok ON people (pont)");
        }
    }

    void insertPeople()
    {
        exec("BEGIN");
        sqlite3_stmt *insert = prepare("INSERT INTO people (id, nev, pont) VALUES (?, ?, ?)");
        for (const Person &person : people()) {
            sqlite3_bind_int(insert, 1, person.id);
            sqlite3_bind_text(insert, 2, person.name.c_str(), static_cast<int>(person.name.size()), SQLITE_STATIC);
            sqlite3_bind_int(insert, 3, person.points);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        exec("COMMIT");
    }

private:
    // The names are stored as the table holds them, in cp1250.
    static int compareHungarianIgnoringCase(void *, int aLength, const void *a, int bLength, const void *b)
    {
        const int order = CompareStringA(hungarian, NORM_IGNORECASE,
                                         {static_cast<const char *>(a), static_cast<std::size_t>(aLength)},
                                         {static_cast<const char *>(b), static_cast<std::size_t>(bLength)});
        return order - CSTR_EQUAL;
    }

    sqlite3 *db_ = nullptr;
};

void AppendWithThreeIndexesSqlite(benchmark::State &state)
{
    people();
    for (auto _ : state) {
        Sqlite db;
        db.createPeople(true);
        db.insertPeople();
    }
}
BENCHMARK(AppendWithThreeIndexesSqlite)->Unit(benchmark::kMillisecond);

void EditIndexedFieldSqlite(benchmark::State &state)
{
    Sqlite db;
    db.createPeople(true);
    db.insertPeople();
    sqlite3_stmt *update = db.prepare("UPDATE people SET pont = ? WHERE rowid = ?");
    std::mt19937 random(13);
    for (auto _ : state) {
        db.exec("BEGIN");
        for (int i = 0; i < recordCount; ++i) {
            const int row = static_cast<int>(random() % recordCount) + 1;
            sqlite3_bind_int(update, 1, static_cast<int>(random() % 500));
            sqlite3_bind_int(update, 2, row);
            sqlite3_step(update);
            sqlite3_reset(update);
        }
        db.exec("COMMIT");
    }
    sqlite3_finalize(update);
}
BENCHMARK(EditIndexedFieldSqlite)->Unit(benchmark::kMillisecond);

void BuildIndexSqlite(benchmark::State &state)
{
    Sqlite db;
    db.createPeople(false);
    db.insertPeople();
    for (auto _ : state) {
        db.exec("CREATE INDEX nevek ON people (nev COLLATE HU_CI)");
        state.PauseTiming();
        db.exec("DROP INDEX nevek");
        state.ResumeTiming();
    }
}
BENCHMARK(BuildIndexSqlite)->Unit(benchmark::kMillisecond);

} // namespace
