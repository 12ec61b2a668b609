// Filling a working table from a data table, the way the dialogs do with LoadFromDataSet, against
// the two other ways of copying the same 100,000 records: a CSV round trip through memory, and
// SQLite in memory copying one table into another.

#include "RatioReporter.h"
#include "memtable/ztrMemCSVStreamFormat.h"
#include "memtable/ztrMemTable.h"
#include "platform/Classes.h"
#include "platform/Cp1250.h"
#include "platform/DB.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int recordCount = 100'000;

std::unique_ptr<TztrMemTable> emptyCourses()
{
    auto table = std::make_unique<TztrMemTable>();
    table->FieldDefs().Add("kurzus_id", ftAutoInc);
    table->FieldDefs().Add("kurzus_kod", ftString, 40);
    table->FieldDefs().Add("megnevezes", ftString, 100);
    table->FieldDefs().Add("max_letszam", ftInteger);
    table->FieldDefs().Add("kezd_ido", ftDateTime);
    table->IndexDefs().Add("kulcs", "kurzus_id", {ixUnique});
    table->Open();
    return table;
}

TztrMemTable &courses()
{
    static const std::unique_ptr<TztrMemTable> table = [] {
        auto filled = emptyCourses();
        std::mt19937 random(21);
        for (int i = 0; i < recordCount; ++i) {
            filled->AppendRecord({i + 1, "MSB" + std::to_string(random() % 1000) + "-" + std::to_string(i),
                                  utf8ToCp1250("Kurzus megnevezése " + std::to_string(random() % 5000)),
                                  static_cast<int>(random() % 300), TDateTime(2.0 + (random() % 70) / 10.0)});
        }
        return filled;
    }();
    return *table;
}

void LoadFromDataSet(benchmark::State &state)
{
    TztrMemTable &source = courses();
    for (auto _ : state) {
        auto table = emptyCourses();
        table->LoadFromDataSet(source, {});
        benchmark::DoNotOptimize(table->RecordCount());
    }
}
BENCHMARK(LoadFromDataSet)->Unit(benchmark::kMillisecond);

void CsvRoundTrip(benchmark::State &state)
{
    TztrMemTable &source = courses();
    TztrCSVStreamFormat csv;
    for (auto _ : state) {
        TMemoryStream memory;
        source.SaveToStreamViaFormat(memory, &csv);
        auto table = emptyCourses();
        table->LoadFromStreamViaFormat(memory, &csv);
        benchmark::DoNotOptimize(table->RecordCount());
    }
}
BENCHMARK(CsvRoundTrip)->Unit(benchmark::kMillisecond);

class Sqlite
{
public:
    Sqlite()
    {
        if (sqlite3_open(":memory:", &db_) != SQLITE_OK)
            throw std::runtime_error("SQLite in memory could not be opened");
    }
    ~Sqlite() { sqlite3_close(db_); }
    Sqlite(const Sqlite &) = delete;
    Sqlite &operator=(const Sqlite &) = delete;

    void exec(const std::string &sql)
    {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }

private:
    sqlite3 *db_ = nullptr;
};

const char *const courseColumns = "(kurzus_id INTEGER PRIMARY KEY, kurzus_kod TEXT, megnevezes TEXT, "
                                  "max_letszam INTEGER, kezd_ido REAL)";

void CopyTableSqlite(benchmark::State &state)
{
    Sqlite db;
    db.exec(std::string("CREATE TABLE forras ") + courseColumns);
    db.exec("BEGIN");
    db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
            std::to_string(recordCount) +
            ") INSERT INTO forras SELECT i, 'MSB' || (i % 1000) || '-' || i, 'Kurzus megnevezése ' || (i % "
            "5000), "
            "i % 300, 2.0 + (i % 70) / 10.0 FROM n");
    db.exec("COMMIT");
    for (auto _ : state) {
        db.exec(std::string("CREATE TABLE cel ") + courseColumns);
        db.exec("INSERT INTO cel SELECT * FROM forras");
        state.PauseTiming();
        db.exec("DROP TABLE cel");
        state.ResumeTiming();
    }
}
BENCHMARK(CopyTableSqlite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv, [](const RatioReporter &reporter) {
        reporter.printRatio("LoadFromDataSet", "CsvRoundTrip");
        reporter.printRatio("LoadFromDataSet", "CopyTableSqlite");
    });
}
