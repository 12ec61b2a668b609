#pragma once

// A program folder for the data layer's tests: files of the sample data or written by the test,
// their bytes before and after, and a progress display that records what it is told.

#include "data/Progress.h"
#include "data/datam.h"
#include "data/datamTestFolder.h"
#include "platform/Cp1250.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;
using datamtest::dataFile;

struct RecordingProgress : Progress
{
    void start(int max, const std::string &caption) override
    {
        events.push_back("start " + std::to_string(max) + " " + caption);
    }
    void setCaption(const std::string &caption) override { events.push_back(caption); }
    void step() override { events.push_back("step"); }
    void finish() override { events.push_back("finish"); }
    std::vector<std::string> events;
};

class DataFolder : public testing::Test
{
protected:
    // The master files the module cannot start without.
    DataFolder() { copySample({"targy.csv", "oktato.csv", "terem.csv"}); }

    // Files of the sample data; all of them when none is named.
    void copySample(std::vector<std::string> names = {}) const
    {
        for (const auto &entry : fs::directory_iterator(BRELVIX_SAMPLEDATA_DIR))
            if (names.empty() || std::count(names.begin(), names.end(), entry.path().filename()))
                fs::copy_file(entry.path(), folder / entry.path().filename(),
                              fs::copy_options::overwrite_existing);
    }
    void write(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string &name) const
    {
        std::ostringstream bytes;
        bytes << std::ifstream(folder / name, std::ios::binary).rdbuf();
        return bytes.str();
    }
    // Every file of the folder with its bytes; a folder shows as "/".
    Files snapshot() const
    {
        Files files;
        for (const auto &entry : fs::directory_iterator(folder.path()))
            files[entry.path().filename()] = entry.is_regular_file() ? read(entry.path().filename()) : "/";
        return files;
    }
    void restore(const Files &files) const
    {
        fs::remove_all(folder.path());
        fs::create_directory(folder.path());
        for (const auto &[name, bytes] : files)
            write(name, bytes);
    }
    TDMEnvironment environment(const std::string &login = "tesztelo") const
    {
        return {[path = folder.withSeparator()] { return path; },
                [login](std::string &name) { return !(name = login).empty(); }};
    }

    TempFolder folder;
};

// The values of one column from the first row on, in UTF-8.
inline std::vector<std::string> columnTexts(TDataSet &table, const std::string &fieldName)
{
    std::vector<std::string> values;
    for (table.First(); !table.Eof(); table.Next())
        values.push_back(cp1250ToUtf8(table.FieldByName(fieldName)->AsString()));
    return values;
}

// The display texts of the fields (every data field when none is named), a row to a line, sorted.
inline std::string rows(TDataSet &table, std::vector<std::string> fields = {})
{
    if (fields.empty())
        for (const auto &field : table.Fields())
            if (field->FieldKind() == fkData)
                fields.push_back(field->FieldName());
    std::multiset<std::string> lines;
    for (table.First(); !table.Eof(); table.Next()) {
        std::string line;
        for (const std::string &field : fields)
            line += "|" + cp1250ToUtf8(table.FieldByName(field)->DisplayText());
        lines.insert(line.substr(1) + "\n");
    }
    return std::accumulate(lines.begin(), lines.end(), std::string());
}

inline void append(TDataSet &table, std::initializer_list<std::pair<const char *, Variant>> values)
{
    table.Append();
    for (const auto &[field, value] : values)
        table.FieldByName(field)->SetAsVariant(value);
    table.Post();
}
