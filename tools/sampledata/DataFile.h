#pragma once

// One data file as the tool builds it: the table's fields and index definitions and its rows of
// values, written in the layout the planner's CSV format object writes (tab-separated, unquoted,
// definition block, header line, CR LF line ends, cp1250).

#include "platform/FieldTypes.h"

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace sampledata {

// An occasion time: the planner's calendar day number (2 = Monday of week 1) and minute of day.
struct DayMinute
{
    int day = 0;
    int minute = 0;

    bool operator==(const DayMinute &) const = default;
};

// std::monostate is null; texts are UTF-8 until the file is written.
using Value = std::variant<std::monostate, int, std::string, DayMinute>;
using Row = std::vector<Value>;

struct FieldDef
{
    std::string name;
    TFieldType type = ftUnknown;
    int size = 0; // characters of a String field, 0 for the other types
};

struct IndexDef
{
    std::string name;
    std::string fields; // ";"-separated field names
};

struct DataTable
{
    std::string fileName;
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;
    std::vector<Row> rows;
};

// The whole file as UTF-8 text. Throws std::runtime_error for a value the file cannot carry: a
// text longer than its field or holding a tab, a value of the wrong kind for its field, a row of
// the wrong width.
std::string formatDataFile(const DataTable &table);

// Writes the files into folder in cp1250, replacing existing ones. Every file is formed before the
// first is written, so a value that cannot be written leaves the folder untouched.
void saveDataFiles(const std::filesystem::path &folder, const std::vector<DataTable> &tables);

} // namespace sampledata
