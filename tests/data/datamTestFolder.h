#pragma once

// Data files written as the program writes them, for tests that set up a program folder of their
// own: the master files' columns and a file of given columns and rows.

#include "platform/Cp1250.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace datamtest {

using ::TempFolder;

struct Column
{
    std::string name;
    std::string type;
    int size = 0;
};

// The definition block, header line and records: tab separated, CR LF line ends, cp1250. Rows
// are given in UTF-8 with tabs between the values.
inline std::string dataFile(const std::vector<Column> &columns, const std::vector<std::string> &rows)
{
    std::string text = "@@FILE VERSION@@\t251\r\n@@TABLEDEF START@@\r\n", header;
    for (const Column &column : columns) {
        text += column.name + "=" + column.type + "," + std::to_string(column.size) + ",\"" + column.name +
                "\",\"\",10,Data,\"\"\r\n";
        header += (header.empty() ? "" : "\t") + column.name;
    }
    text += "@@TABLEDEF END@@\r\n" + header + "\r\n";
    for (const std::string &row : rows)
        text += utf8ToCp1250(row) + "\r\n";
    return text;
}

inline const std::vector<Column> TargyColumns{
    {"targy_id", "AutoInc"},     {"targy_nev", "String", 100},
    {"targy_kod", "String", 50}, {"targy_ea", "Integer"},
    {"targy_gy", "Integer"},     {"targy_la", "Integer"},
    {"targy_kredit", "Integer"}, {"targy_teljesites", "String", 50},
    {"tanszek_id", "Integer"},   {"szabad", "Integer"},
    {"evjarat", "Integer"},
};
inline const std::vector<Column> OktatoColumns{
    {"oktato_id", "AutoInc"}, {"oktato_kkod", "String", 20}, {"oktato_nev", "String", 60}};
inline const std::vector<Column> TeremColumns{
    {"terem_id", "AutoInc"},        {"terem_kod", "String", 40},       {"terem_hely", "String", 20},
    {"terem_kapacitas", "Integer"}, {"terem_telephely", "String", 50},
};

} // namespace datamtest
