// Loading and saving a 100,000-record data file shaped like the occasion table, with two
// maintained indexes, against SQLite in memory doing the same load through one prepared insert in
// one transaction and building the same indexes, and against merely reading the file and cutting
// it into lines and fields.

#include "RatioReporter.h"
#include "memtable/ztrMemCSVStreamFormat.h"
#include "memtable/ztrMemTable.h"
#include "platform/Classes.h"
#include "platform/DB.h"

#include <benchmark/benchmark.h>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr int RecordCount = 100'000;
constexpr const char *IndexOnCourse = "kurzus_id";
constexpr const char *IndexOnRoomAndStart = "terem_id;kezd_ido";

void configureAsCSV(TztrCSVStreamFormat &format)
{
    format.SetCSVFieldDelimiter('\t');
    format.SetCSVQuote('\0');
    format.SetCSVRecordDelimiter('\0');
}

void defineOccasionTable(TztrMemTable &table)
{
    table.FieldDefs().Add("alkalom_id", ftAutoInc);
    table.FieldDefs().Add("kurzus_id", ftInteger);
    table.FieldDefs().Add("terem_id", ftInteger);
    table.FieldDefs().Add("kezd_ido", ftDateTime);
    table.FieldDefs().Add("veg_ido", ftDateTime);
    table.FieldDefs().Add("gyakorisag", ftInteger);
    table.FieldDefs().Add("hetek", ftString, 50);
    table.IndexDefs().Add("kurzus", IndexOnCourse, {});
    table.IndexDefs().Add("terem_kezd", IndexOnRoomAndStart, {});
}

// The data file every benchmark reads, written once by the table itself.
class OccasionFile
{
public:
    static const OccasionFile &instance()
    {
        static const OccasionFile file;
        return file;
    }

    const std::filesystem::path &path() const { return path_; }
    const std::string &bytes() const { return bytes_; }

private:
    OccasionFile()
        : path_(std::filesystem::temp_directory_path() /
                ("brelvix-occasions-" + std::to_string(getpid()) + ".csv"))
    {
        TztrMemTable table;
        defineOccasionTable(table);
        table.Open();
        const char *masks[] = {"111111111111111", "101010101010101", "010101010101010", "001001001001001",
                               "000100010001000"};
        for (int i = 0; i < RecordCount; ++i) {
            const double day = 2 + i % 105;
            const double start = day + (465 + (i % 12) * 60) / 1440.0;
            table.Append();
            table.Fields()[0]->SetAsInteger(i + 1);
            table.Fields()[1]->SetAsInteger(i % 5000 + 1);
            table.Fields()[2]->SetAsInteger(i * 7 % 300 + 1);
            table.Fields()[3]->SetAsDateTime(start);
            table.Fields()[4]->SetAsDateTime(start + 90 / 1440.0);
            table.Fields()[5]->SetAsInteger(i % 5);
            table.Fields()[6]->SetAsString(masks[i % 5]);
            table.Post();
        }
        TztrCSVStreamFormat csv;
        configureAsCSV(csv);
        table.SaveToFileViaFormat(path_, &csv);
        TMemoryStream memory;
        memory.LoadFromFile(path_);
        bytes_.assign(memory.Memory(), static_cast<std::size_t>(memory.Size()));
    }

    ~OccasionFile() { std::filesystem::remove(path_); }

    std::filesystem::path path_;
    std::string bytes_;
};

std::string readWholeFile(const std::filesystem::path &path)
{
    TFileStream file(path, fmOpenRead);
    std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
    file.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

// Calls onLine for every non-empty line, with its fields already cut at the tabs.
template <class OnLine>
void splitLines(std::string_view text, std::vector<std::string_view> &fields, OnLine onLine)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start) {
            fields.clear();
            std::size_t fieldStart = start;
            for (std::size_t at = start; at <= end; ++at) {
                if (at == end || text[at] == '\t') {
                    fields.push_back(text.substr(fieldStart, at - fieldStart));
                    fieldStart = at + 1;
                }
            }
            onLine(fields);
        }
        start = end + 1;
    }
}

// ---- ours ----

void LoadOurs(benchmark::State &state)
{
    const OccasionFile &file = OccasionFile::instance();
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    for (auto _ : state) {
        TztrMemTable table;
        table.LoadFromFileViaFormat(file.path(), &csv);
        if (table.RecordCount() != RecordCount)
            state.SkipWithError("not every record was loaded");
    }
}
BENCHMARK(LoadOurs)->Unit(benchmark::kMillisecond);

void SaveOurs(benchmark::State &state)
{
    const OccasionFile &file = OccasionFile::instance();
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    TztrMemTable table;
    table.LoadFromFileViaFormat(file.path(), &csv);
    const std::filesystem::path target = file.path().string() + ".saved";
    for (auto _ : state)
        table.SaveToFileViaFormat(target, &csv);
    if (readWholeFile(target) != file.bytes())
        state.SkipWithError("the saved file differs from the loaded one");
    std::filesystem::remove(target);
}
BENCHMARK(SaveOurs)->Unit(benchmark::kMillisecond);

// ---- SQLite in memory ----

void check(int result, sqlite3 *db)
{
    if (result != SQLITE_OK && result != SQLITE_DONE && result != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

int toInt(std::string_view text)
{
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// "dd/mm/yyyy" or "dd/mm/yyyy hh:nn:ss" as the file writes it, into days since 30 December 1899.
double toDateTime(std::string_view text)
{
    if (text.size() < 10)
        return 0;
    double value = EncodeDate(toInt(text.substr(6, 4)), toInt(text.substr(3, 2)), toInt(text.substr(0, 2)));
    if (text.size() >= 19)
        value +=
            EncodeTime(toInt(text.substr(11, 2)), toInt(text.substr(14, 2)), toInt(text.substr(17, 2)), 0);
    return value;
}

class SqliteDatabase
{
public:
    SqliteDatabase()
    {
        check(sqlite3_open(":memory:", &db_), db_);
        exec("CREATE TABLE alkalom(alkalom_id INTEGER, kurzus_id INTEGER, terem_id INTEGER, kezd_ido REAL, "
             "veg_ido REAL, gyakorisag INTEGER, hetek TEXT)");
    }
    ~SqliteDatabase() { sqlite3_close(db_); }
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    void exec(const char *sql) { check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), db_); }
    sqlite3 *handle() const { return db_; }

    // The same rows from the same file, then the same two indexes.
    void load(const std::filesystem::path &path)
    {
        const std::string bytes = readWholeFile(path);
        sqlite3_stmt *insert = nullptr;
        check(
            sqlite3_prepare_v2(db_, "INSERT INTO alkalom VALUES (?, ?, ?, ?, ?, ?, ?)", -1, &insert, nullptr),
            db_);
        exec("BEGIN");
        bool header = true;
        std::vector<std::string_view> fields;
        splitLines(bytes, fields, [&](const std::vector<std::string_view> &line) {
            // The definition block and the header line are not data.
            if (header) {
                header = line[0] != "alkalom_id";
                return;
            }
            for (int column : {0, 1, 2, 5})
                sqlite3_bind_int(insert, column + 1, toInt(line[static_cast<std::size_t>(column)]));
            sqlite3_bind_double(insert, 4, toDateTime(line[3]));
            sqlite3_bind_double(insert, 5, toDateTime(line[4]));
            sqlite3_bind_text(insert, 7, line[6].data(), static_cast<int>(line[6].size()), SQLITE_STATIC);
            check(sqlite3_step(insert), db_);
            sqlite3_reset(insert);
        });
        exec("COMMIT");
        sqlite3_finalize(insert);
        exec("CREATE INDEX kurzus ON alkalom(kurzus_id)");
        exec("CREATE INDEX terem_kezd ON alkalom(terem_id, kezd_ido)");
    }

private:
    sqlite3 *db_ = nullptr;
};

void LoadSqlite(benchmark::State &state)
{
    const OccasionFile &file = OccasionFile::instance();
    for (auto _ : state) {
        SqliteDatabase db;
        db.load(file.path());
    }
}
BENCHMARK(LoadSqlite)->Unit(benchmark::kMillisecond);

// Every row back out as tab-separated text lines in one file, flushed to the disk like ours.
void SaveSqlite(benchmark::State &state)
{
    const OccasionFile &file = OccasionFile::instance();
    SqliteDatabase db;
    db.load(file.path());
    const std::filesystem::path target = file.path().string() + ".sqlite";
    for (auto _ : state) {
        sqlite3_stmt *select = nullptr;
        check(sqlite3_prepare_v2(db.handle(), "SELECT * FROM alkalom", -1, &select, nullptr), db.handle());
        std::string out;
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int column = 0; column < 7; ++column) {
                if (column > 0)
                    out += '\t';
                out += reinterpret_cast<const char *>(sqlite3_column_text(select, column));
            }
            out += "\r\n";
        }
        sqlite3_finalize(select);
        TFileStream stream(target, fmCreate);
        stream.WriteBuffer(out.data(), static_cast<std::int64_t>(out.size()));
        stream.Flush();
    }
    std::filesystem::remove(target);
}
BENCHMARK(SaveSqlite)->Unit(benchmark::kMillisecond);

// ---- the raw work underneath ----

void LoadRawSplit(benchmark::State &state)
{
    const OccasionFile &file = OccasionFile::instance();
    std::vector<std::string_view> fields;
    for (auto _ : state) {
        const std::string bytes = readWholeFile(file.path());
        std::size_t count = 0;
        splitLines(bytes, fields, [&](const std::vector<std::string_view> &line) { count += line.size(); });
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(LoadRawSplit)->Unit(benchmark::kMillisecond);

// The file's bytes written and flushed, without forming them.
void SaveRawWrite(benchmark::State &state)
{
    const OccasionFile &file = OccasionFile::instance();
    const std::filesystem::path target = file.path().string() + ".raw";
    for (auto _ : state) {
        TFileStream stream(target, fmCreate);
        stream.WriteBuffer(file.bytes().data(), static_cast<std::int64_t>(file.bytes().size()));
        stream.Flush();
    }
    std::filesystem::remove(target);
}
BENCHMARK(SaveRawWrite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks(argc, argv, [](const RatioReporter &reporter) {
        reporter.printRatio("LoadOurs", "LoadSqlite");
        reporter.printRatio("LoadOurs", "LoadRawSplit");
        reporter.printRatio("SaveOurs", "SaveSqlite");
        reporter.printRatio("SaveOurs", "SaveRawWrite");
    });
}
