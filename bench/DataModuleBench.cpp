// The planner's start-up load (creating the data module on a whole university's data files) and
// its save, against SQLite in memory loading the same files into tables with the same indexes and
// writing the same tables back as tab-separated files.

#include "LargeDataSet.h"
#include "RatioReporter.h"
#include "app/ProgramForms.h"
#include "data/datam.h"

#include <QApplication>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using bench::TempFolder;
using bench::environmentOn;
using bench::largeDataFolder;
using bench::splitTabs;

// The files the module reads at start on a folder that has every timetable file, by table.
const std::vector<std::pair<std::string, std::string>> &loadedFiles()
{
    static const std::vector<std::pair<std::string, std::string>> files{
        {"MT_targy", "targy.csv"},
        {"MT_oktato", "oktato.csv"},
        {"MT_terem", "terem.csv"},
        {"MT_mintatanterv", "mintatanterv.csv"},
        {"MT_mintatantervtargy", "mintatantervtargy.csv"},
        {"MT_kurzusminta", "kurzusminta.csv"},
        {"MT_kurzusmintatargy", "kurzusmintatargy.csv"},
        {"MT_kurzusmintaoktato", "kurzusmintaoktato.csv"},
        {"MT_orarend", "KK_orarend.csv"},
        {"MT_kurzus", "KK_kurzus.csv"},
        {"MT_alkalom", "KK_alkalom.csv"},
        {"MT_kurzusoktato", "KK_kurzusoktato.csv"},
        {"MT_kurzustargy", "KK_kurzustargy.csv"},
        {"MT_kurzusorarend", "KK_kurzusorarend.csv"},
    };
    return files;
}

// The tables Mentes writes.
const std::vector<std::string> savedTables{"MT_oktato",       "MT_orarend",       "MT_alkalom",     "MT_kurzus",
                                           "MT_kurzusoktato", "MT_kurzusorarend", "MT_kurzustargy", "MT_kurzusalkalom"};

// The table layout and index definitions SQLite gets, taken from the module once it has loaded
// the files, so both sides hold the same columns and indexes.
struct TableShape {
    std::string name;
    std::string fileName;
    std::vector<std::pair<std::string, TFieldType>> columns;
    std::vector<std::string> indexFields;
};

const std::vector<TableShape> &tableShapes()
{
    static const std::vector<TableShape> shapes = [] {
        TDM dm(environmentOn(largeDataFolder()));
        std::map<std::string, TDataSet *> tables{
            {"MT_targy", &dm.MT_targy},
            {"MT_oktato", &dm.MT_oktato},
            {"MT_terem", &dm.MT_terem},
            {"MT_mintatanterv", &dm.MT_mintatanterv},
            {"MT_mintatantervtargy", &dm.MT_mintatantervtargy},
            {"MT_kurzusminta", &dm.MT_kurzusminta},
            {"MT_kurzusmintatargy", &dm.MT_kurzusmintatargy},
            {"MT_kurzusmintaoktato", &dm.MT_kurzusmintaoktato},
            {"MT_orarend", &dm.MT_orarend},
            {"MT_kurzus", &dm.MT_kurzus},
            {"MT_alkalom", &dm.MT_alkalom},
            {"MT_kurzusoktato", &dm.MT_kurzusoktato},
            {"MT_kurzustargy", &dm.MT_kurzustargy},
            {"MT_kurzusorarend", &dm.MT_kurzusorarend},
            {"MT_kurzusalkalom", &dm.MT_kurzusalkalom},
        };
        std::vector<TableShape> result;
        for (const auto &[name, table] : tables) {
            TableShape shape{name, {}, {}, {}};
            for (const auto &[tableName, fileName] : loadedFiles())
                if (tableName == name)
                    shape.fileName = fileName;
            for (const auto &field : table->Fields())
                if (field->FieldKind() == fkData)
                    shape.columns.emplace_back(field->FieldName(), field->DataType());
            for (const auto &index : table->IndexDefs())
                shape.indexFields.push_back(index->Fields());
            result.push_back(std::move(shape));
        }
        return result;
    }();
    return shapes;
}

void check(int status, sqlite3 *db)
{
    if (status != SQLITE_OK && status != SQLITE_DONE && status != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

std::string unescape(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        const char code = text[++i];
        result += code == 'n' ? '\n' : code == 'c' ? '\r' : code == '0' ? '\0' : code;
    }
    return result;
}

// "dd/mm/yyyy[ hh:nn:ss]" as days since 30 December 1899, the form the module keeps.
double parseDateTime(const std::string &text)
{
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d", &day, &month, &year, &hour, &minute, &second);
    const int a = (14 - month) / 12;
    const int y = year + 4800 - a;
    const int m = month + 12 * a - 3;
    const long julian = day + (153 * m + 2) / 5 + 365L * y + y / 4 - y / 100 + y / 400 - 32045;
    return static_cast<double>(julian - 2415019) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

// Reads one data file into its SQLite table: past the definition block, columns by the header.
void loadIntoSqlite(sqlite3 *db, const TableShape &shape, const fs::path &folder)
{
    std::string create = "CREATE TABLE " + shape.name + " (";
    std::string insert = "INSERT INTO " + shape.name + " VALUES (";
    for (std::size_t i = 0; i < shape.columns.size(); ++i) {
        const TFieldType type = shape.columns[i].second;
        create += (i ? ", " : "") + shape.columns[i].first +
                  (type == ftString ? " TEXT" : type == ftDateTime ? " REAL" : " INTEGER");
        insert += i ? ", ?" : "?";
    }
    check(sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr), db);
    if (shape.fileName.empty())
        return;

    std::ifstream in(folder / shape.fileName, std::ios::binary);
    std::string line;
    while (std::getline(in, line) && line.rfind("@@TABLEDEF END@@", 0) != 0) {
    }
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::vector<int> columnOf;
    for (std::string_view name : splitTabs(line)) {
        int found = -1;
        for (std::size_t i = 0; i < shape.columns.size(); ++i)
            if (strcasecmp(shape.columns[i].first.c_str(), std::string(name).c_str()) == 0)
                found = static_cast<int>(i);
        columnOf.push_back(found);
    }

    sqlite3_stmt *statement = nullptr;
    check(sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &statement, nullptr), db);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        const std::vector<std::string_view> items = splitTabs(line);
        for (std::size_t c = 0; c < items.size() && c < columnOf.size(); ++c) {
            const int column = columnOf[c];
            if (column < 0 || items[c].empty())
                continue;
            const TFieldType type = shape.columns[static_cast<std::size_t>(column)].second;
            const std::string value(items[c]);
            if (type == ftString) {
                const std::string text = unescape(value);
                sqlite3_bind_text(statement, column + 1, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            } else if (type == ftDateTime) {
                sqlite3_bind_double(statement, column + 1, parseDateTime(value));
            } else {
                sqlite3_bind_int64(statement, column + 1, std::strtoll(value.c_str(), nullptr, 10));
            }
        }
        check(sqlite3_step(statement), db);
    }
    sqlite3_finalize(statement);

    int number = 0;
    for (const std::string &fields : shape.indexFields) {
        std::string columns = fields;
        std::replace(columns.begin(), columns.end(), ';', ',');
        const std::string sql = "CREATE INDEX " + shape.name + "_" + std::to_string(++number) + " ON " + shape.name +
                                " (" + columns + ")";
        check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db);
    }
}

sqlite3 *openSqliteOn(const fs::path &folder)
{
    sqlite3 *db = nullptr;
    sqlite3_open(":memory:", &db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    for (const TableShape &shape : tableShapes())
        loadIntoSqlite(db, shape, folder);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    return db;
}

// Writes one table as a tab-separated file beside its old one and moves it over when it is on
// the disk, as the module's save does.
void saveFromSqlite(sqlite3 *db, const std::string &table, const fs::path &file)
{
    const fs::path newFile = file.string() + ".new";
    std::FILE *out = std::fopen(newFile.c_str(), "wb");
    sqlite3_stmt *statement = nullptr;
    check(sqlite3_prepare_v2(db, ("SELECT * FROM " + table).c_str(), -1, &statement, nullptr), db);
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c)
        std::fprintf(out, c ? "\t%s" : "%s", sqlite3_column_name(statement, c));
    std::fputs("\r\n", out);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            if (c)
                std::fputc('\t', out);
            if (const unsigned char *text = sqlite3_column_text(statement, c))
                std::fputs(reinterpret_cast<const char *>(text), out);
        }
        std::fputs("\r\n", out);
    }
    sqlite3_finalize(statement);
    std::fflush(out);
    ::fsync(::fileno(out));
    std::fclose(out);
    fs::rename(newFile, file);
}

void StartupLoad(benchmark::State &state)
{
    const fs::path &folder = largeDataFolder();
    tableShapes();
    int occasions = 0;
    for (auto _ : state) {
        TDM dm(environmentOn(folder));
        occasions = dm.MT_alkalom.RecordCount();
    }
    state.counters["occasions"] = occasions;
}
BENCHMARK(StartupLoad)->Unit(benchmark::kMillisecond);

void StartupLoadSqlite(benchmark::State &state)
{
    const fs::path &folder = largeDataFolder();
    tableShapes();
    int occasions = 0;
    for (auto _ : state) {
        sqlite3 *db = openSqliteOn(folder);
        sqlite3_stmt *count = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM MT_alkalom", -1, &count, nullptr);
        sqlite3_step(count);
        occasions = sqlite3_column_int(count, 0);
        sqlite3_finalize(count);
        sqlite3_close(db);
    }
    state.counters["occasions"] = occasions;
}
BENCHMARK(StartupLoadSqlite)->Unit(benchmark::kMillisecond);

// The whole start-up: the data module, then every form of the program on it.
void StartupForms(benchmark::State &state)
{
    const fs::path &folder = largeDataFolder();
    tableShapes();
    for (auto _ : state) {
        auto forms = std::make_unique<TProgramForms>(environmentOn(folder));
        state.PauseTiming();
        forms.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(StartupForms)->Unit(benchmark::kMillisecond);

void Mentes(benchmark::State &state)
{
    TDM dm(environmentOn(largeDataFolder()));
    TempFolder target;
    dm.Mappa = (target.path() / "").string();
    for (auto _ : state)
        dm.Mentes();
}
BENCHMARK(Mentes)->Unit(benchmark::kMillisecond);

void MentesSqlite(benchmark::State &state)
{
    tableShapes();
    sqlite3 *db = openSqliteOn(largeDataFolder());
    TempFolder target;
    for (auto _ : state)
        for (const std::string &table : savedTables)
            saveFromSqlite(db, table, target.path() / (table + ".csv"));
    sqlite3_close(db);
}
BENCHMARK(MentesSqlite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // The forms need an application; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv, [](const RatioReporter &reporter) {
        reporter.printRatio("StartupLoad", "StartupLoadSqlite");
        reporter.printRatio("StartupForms", "StartupLoadSqlite");
        reporter.printRatio("Mentes", "MentesSqlite");
    });
}
