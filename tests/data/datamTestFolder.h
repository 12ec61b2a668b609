#pragma once

// A data folder for data-module tests: the three master files the module cannot start without,
// data files written as the program writes them, and a progress display that records its calls.

#include "data/Progress.h"
#include "data/datam.h"
#include "platform/Cp1250.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace datamtest {

namespace fs = std::filesystem;
using ::TempFolder;


struct Column {
    std::string name;
    std::string type;
    int size = 0;
};

// A data file with its definition block, header line and records: tab separated, CR LF line
// ends, cp1250. Rows are given in UTF-8 with tabs between the values.
inline std::string dataFile(const std::vector<Column> &columns, const std::vector<std::string> &rows,
                            const std::vector<std::string> &indexLines = {})
{
    std::string text = "@@FILE VERSION@@\t251\r\n@@TABLEDEF START@@\r\n";
    for (const Column &column : columns) {
        const int width = column.type == "String" ? column.size : 10;
        text += column.name + "=" + column.type + "," + std::to_string(column.size) + ",\"" + column.name +
                "\",\"\"," + std::to_string(width) + ",Data,\"\"\r\n";
    }
    if (!indexLines.empty()) {
        text += "@@INDEXDEF START@@\r\n";
        for (const std::string &line : indexLines)
            text += line + "\r\n";
        text += "@@INDEXDEF END@@\r\n";
    }
    text += "@@TABLEDEF END@@\r\n";
    for (std::size_t i = 0; i < columns.size(); ++i)
        text += (i > 0 ? "\t" : "") + columns[i].name;
    text += "\r\n";
    for (const std::string &row : rows)
        text += utf8ToCp1250(row) + "\r\n";
    return text;
}

inline const std::vector<Column> TargyColumns{
    {"targy_id", "AutoInc"},     {"targy_nev", "String", 100},       {"targy_kod", "String", 50},
    {"targy_ea", "Integer"},     {"targy_gy", "Integer"},            {"targy_la", "Integer"},
    {"targy_kredit", "Integer"}, {"targy_teljesites", "String", 50}, {"tanszek_id", "Integer"},
    {"szabad", "Integer"},       {"evjarat", "Integer"},
};
inline const std::vector<Column> OktatoColumns{
    {"oktato_id", "AutoInc"}, {"oktato_kkod", "String", 20}, {"oktato_nev", "String", 60}};
inline const std::vector<Column> TeremColumns{
    {"terem_id", "AutoInc"},        {"terem_kod", "String", 40},       {"terem_hely", "String", 20},
    {"terem_kapacitas", "Integer"}, {"terem_telephely", "String", 50},
};
inline const std::vector<Column> KurzusColumns{
    {"kurzus_id", "AutoInc"},      {"targy_id", "Integer"},       {"kurzus_kod_osszetett", "String", 50},
    {"kurzus_kod", "String", 50},  {"kurzus_tipus", "String", 2}, {"kurzus_sorszam", "String", 2},
    {"max_letszam", "Integer"},    {"megjegyzes", "String", 100}, {"megnevezes", "String", 100},
    {"kurzusminta_id", "Integer"}, {"kurzus_id_csatolt", "Integer"},
};
inline const std::vector<Column> AlkalomColumns{
    {"alkalom_id", "AutoInc"}, {"kurzus_id", "Integer"},  {"terem_id", "Integer"}, {"kezd_ido", "DateTime"},
    {"veg_ido", "DateTime"},   {"gyakorisag", "Integer"}, {"hetek", "String", 50},
};

// Records what an operation shows, in order.
class RecordingProgress : public Progress {
public:
    void start(int maximum, const std::string &caption) override
    {
        events.push_back("start " + std::to_string(maximum) + " " + caption);
    }
    void setCaption(const std::string &caption) override { events.push_back(caption); }
    void step() override { events.push_back("step"); }
    void finish() override { events.push_back("finish"); }

    std::vector<std::string> events;
};

class DataFolder : public ::testing::Test {
protected:
    DataFolder()
    {
        write("targy.csv", dataFile(TargyColumns, {"111\tAnalízis\tMAB123MN\t2\t2\t0\t5\tvizsga\t-1\t1\t0"}));
        write("oktato.csv", dataFile(OktatoColumns, {"111\tKT01\tKelemen Tódor"}));
        write("terem.csv", dataFile(TeremColumns, {"1\tA-001\tFő épület\t120\tKelmendor"}));
    }

    void write(const std::string &fileName, const std::string &bytes) const
    {
        std::ofstream(folder.path() / fileName, std::ios::binary) << bytes;
    }

    std::string read(const std::string &fileName) const
    {
        std::ifstream in(folder.path() / fileName, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    // Every file of the folder with its bytes.
    std::map<std::string, std::string> snapshot() const
    {
        std::map<std::string, std::string> files;
        for (const fs::directory_entry &entry : fs::directory_iterator(folder.path()))
            if (entry.is_regular_file())
                files[entry.path().filename().string()] = read(entry.path().filename().string());
        return files;
    }

    TDMEnvironment environment(const std::string &login = "tesztelo") const
    {
        const std::string dataFolder = folder.withSeparator();
        return {[dataFolder] { return dataFolder; },
                [login](std::string &name) {
                    name = login;
                    return true;
                }};
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

} // namespace datamtest
