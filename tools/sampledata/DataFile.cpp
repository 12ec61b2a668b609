#include "DataFile.h"

#include "Cp1250.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace sampledata {

namespace {

constexpr char FieldDelimiter = '\t';
constexpr const char *LineEnd = "\r\n";
constexpr int FileVersion = 251;
// Fields without a size of their own show ten characters wide, text fields as wide as their size.
constexpr int DefaultDisplayWidth = 10;

[[noreturn]] void refuse(const DataTable &table, const FieldDef &field, const std::string &problem)
{
    throw std::runtime_error(table.fileName + ", " + field.name + ": " + problem);
}

std::size_t characterCount(const std::string &utf8)
{
    std::size_t count = 0;
    for (unsigned char byte : utf8)
        count += (byte & 0xC0) != 0x80;
    return count;
}

// Line breaks, #0 and the escape character itself must not reach the file as they are.
std::string escaped(const std::string &text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '%':
            result += "%%";
            break;
        case '\0':
            result += "%0";
            break;
        case '\n':
            result += "%n";
            break;
        case '\r':
            result += "%c";
            break;
        default:
            result += c;
        }
    }
    return result;
}

std::string twoDigits(unsigned value)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02u", value % 100);
    return text;
}

// Day 0 of the planner's calendar is 30 December 1899; the fixed file settings write the date as
// dd/mm/yyyy and add the time only when it is not midnight.
std::string dateTimeText(DayMinute value)
{
    using namespace std::chrono;
    const year_month_day date{sys_days{year{1899} / December / 30} + days{value.day}};
    std::string text = twoDigits(unsigned(date.day())) + "/" + twoDigits(unsigned(date.month())) + "/" +
                       std::to_string(int(date.year()));
    if (value.minute != 0)
        text += " " + twoDigits(unsigned(value.minute / 60)) + ":" + twoDigits(unsigned(value.minute % 60)) +
                ":00";
    return text;
}

std::string itemText(const DataTable &table, const FieldDef &field, const Value &value)
{
    if (std::holds_alternative<std::monostate>(value))
        return {};
    switch (field.type) {
    case ftAutoInc:
    case ftInteger:
        if (const int *number = std::get_if<int>(&value))
            return std::to_string(*number);
        break;
    case ftDateTime:
        if (const DayMinute *time = std::get_if<DayMinute>(&value))
            return dateTimeText(*time);
        break;
    case ftString:
        if (const std::string *text = std::get_if<std::string>(&value)) {
            if (characterCount(*text) > static_cast<std::size_t>(field.size))
                refuse(table, field, "\"" + *text + "\" is longer than " + std::to_string(field.size));
            if (text->find(FieldDelimiter) != std::string::npos)
                refuse(table, field, "\"" + *text + "\" holds a tab");
            return escaped(*text);
        }
        break;
    default:
        refuse(table, field, "the tool writes no values of this type");
    }
    refuse(table, field, "value of the wrong kind");
}

void appendDefinitionBlock(std::string &out, const DataTable &table)
{
    out += "@@FILE VERSION@@";
    out += FieldDelimiter;
    out += std::to_string(FileVersion) + LineEnd;
    out += std::string("@@TABLEDEF START@@") + LineEnd;
    for (const FieldDef &field : table.fields) {
        const int width = field.type == ftString ? field.size : DefaultDisplayWidth;
        out += field.name + "=" + std::string(FieldTypeNames[field.type]) + "," + std::to_string(field.size) +
               ",\"" + field.name + "\",\"\"," + std::to_string(width) + "," +
               std::string(FieldKindNames[fkData]) + ",\"\"" + LineEnd;
    }
    out += std::string("@@INDEXDEF START@@") + LineEnd;
    for (const IndexDef &index : table.indexes)
        out += index.name + "=" + index.fields + "," + index.name + LineEnd;
    out += std::string("@@INDEXDEF END@@") + LineEnd;
    out += std::string("@@TABLEDEF END@@") + LineEnd;
}

} // namespace

std::string formatDataFile(const DataTable &table)
{
    std::string out;
    appendDefinitionBlock(out, table);

    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        if (i > 0)
            out += FieldDelimiter;
        out += table.fields[i].name;
    }
    out += LineEnd;

    for (const Row &row : table.rows) {
        if (row.size() != table.fields.size())
            throw std::runtime_error(table.fileName + ": a row of " + std::to_string(row.size()) +
                                     " values for " + std::to_string(table.fields.size()) + " fields");
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += FieldDelimiter;
            out += itemText(table, table.fields[i], row[i]);
        }
        out += LineEnd;
    }
    return out;
}

void saveDataFiles(const std::filesystem::path &folder, const std::vector<DataTable> &tables)
{
    std::vector<std::string> contents;
    for (const DataTable &table : tables)
        contents.push_back(toCp1250(formatDataFile(table)));
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const std::filesystem::path path = folder / tables[i].fileName;
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(contents[i].data(), static_cast<std::streamsize>(contents[i].size()));
        file.close();
        if (!file)
            throw std::runtime_error("cannot write " + path.string());
    }
}

} // namespace sampledata
