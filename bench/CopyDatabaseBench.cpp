// The administrator's database copy ("Generálás") of a whole university's data into SQLite through
// its ODBC driver, one transaction per row, against the same rows written straight through
// SQLite's own interface, also one transaction per row.

#include "LargeDataSet.h"
#include "RatioReporter.h"
#include "data/datam.h"
#include "data/kozepreteg.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using bench::TempFolder;
using bench::largeDataFolder;

// The copy's limit per table.
constexpr int RowLimit = 99999;

// The data module on the large set, with the course-occasion links made as the administrator
// makes them before a copy.
TDM &largeData()
{
    static const std::unique_ptr<TDM> dm = [] {
        auto module = std::make_unique<TDM>(bench::environmentOn(largeDataFolder()));
        module->KurzusalkalomGeneralas();
        return module;
    }();
    return *dm;
}

std::string connectionTo(const fs::path &database)
{
    return "Provider=MSDASQL.1;Driver=SQLite3;Database=" + database.string() + ";SyncPragma=OFF;";
}

void check(int status, sqlite3 *db)
{
    if (status != SQLITE_OK && status != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(db));
}

// Every copied table into the database, as "Generálás" does; returns the rows written.
int copyEverything(TDMK &dmk)
{
    int rows = 0;
    for (const TDMK::TMasolas &copy : dmk.Masolasok())
        rows += dmk.TablaMasolas(copy.source, copy.destination, RowLimit);
    return rows;
}

// Tables with more rows than the copy takes.
int tablesOverTheLimit(TDMK &dmk)
{
    int over = 0;
    for (const TDMK::TMasolas &copy : dmk.Masolasok())
        over += copy.source.RecordCount() > RowLimit ? 1 : 0;
    return over;
}

// Times the copy alone: making the database and removing it stay out of the measure.
template <class Copy>
void measureCopy(benchmark::State &state, Copy copy)
{
    TDM &dm = largeData();
    int rows = 0;
    int over = 0;
    for (auto _ : state) {
        // The connection file goes beside the database, not into the data folder.
        TempFolder target;
        dm.Mappa = (target.path() / "").string();
        TDMK dmk(dm);
        dmk.createCopyDatabase(connectionTo(target.path() / "copy.db"));
        over = tablesOverTheLimit(dmk);
        const auto start = std::chrono::steady_clock::now();
        rows = copy(dmk, target.path() / "copy.db");
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["rows"] = rows;
    state.counters["tables_over_limit"] = over;
    state.counters["rows_per_second"] = benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate);
}

void Generalas(benchmark::State &state)
{
    measureCopy(state, [](TDMK &dmk, const fs::path &) { return copyEverything(dmk); });
}
BENCHMARK(Generalas)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();

// The same tables and rows through SQLite's own interface: prepared inserts, each row its own
// transaction, values taken from the memory tables' fields.
int copyThroughSqlite(TDMK &dmk, const fs::path &database)
{
    dmk.Conn.Close();
    sqlite3 *db = nullptr;
    check(sqlite3_open(database.c_str(), &db), db);
    check(sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr), db);
    int rows = 0;
    for (const TDMK::TMasolas &copy : dmk.Masolasok()) {
        TztrMemTable &source = copy.source;
        std::vector<TField *> fields;
        std::string columns, places;
        for (const auto &field : source.Fields()) {
            if (field->FieldKind() != fkData)
                continue;
            fields.push_back(field.get());
            columns += (columns.empty() ? "" : ", ") + field->FieldName();
            places += places.empty() ? "?" : ", ?";
        }
        sqlite3_stmt *insert = nullptr;
        const std::string sql =
            "insert into " + copy.destination.TableName() + " (" + columns + ") values (" + places + ")";
        check(sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr), db);
        // As the copy does: the detail views of a walked master table stay where they are.
        source.DisableControls();
        int written = 0;
        for (source.First(); !source.Eof() && written < RowLimit; source.Next(), ++written) {
            sqlite3_reset(insert);
            for (std::size_t i = 0; i < fields.size(); ++i) {
                const TField &field = *fields[i];
                const int place = static_cast<int>(i) + 1;
                if (field.IsNull())
                    sqlite3_bind_null(insert, place);
                else if (field.DataType() == ftString)
                    sqlite3_bind_text(insert, place, field.AsString().c_str(), -1, SQLITE_TRANSIENT);
                else if (field.DataType() == ftDateTime)
                    sqlite3_bind_double(insert, place, field.AsDateTime());
                else
                    sqlite3_bind_int64(insert, place, field.AsInteger());
            }
            check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
            check(sqlite3_step(insert), db);
            check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
        }
        source.EnableControls();
        sqlite3_finalize(insert);
        rows += written;
    }
    sqlite3_close(db);
    return rows;
}

void GeneralasSqlite(benchmark::State &state)
{
    measureCopy(state, copyThroughSqlite);
}
BENCHMARK(GeneralasSqlite)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv, [](const RatioReporter &reporter) {
        reporter.printRatio("Generalas", "GeneralasSqlite");
    });
}
