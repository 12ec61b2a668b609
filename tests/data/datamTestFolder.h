#pragma once

// Data files written as the program writes them.

#include "platform/Cp1250.h"
#include "support/TempFolder.h"

#include <sstream>
#include <string>
#include <vector>

namespace datamtest {

using ::TempFolder;

// The definition block, header line and records: tab separated, CR LF line ends, cp1250. Columns
// are given as in the definition block ("name=Type" or "name=Type,size"), apart by spaces; rows in
// UTF-8 with tabs between the values.
inline std::string dataFile(const std::string &columns, const std::vector<std::string> &rows)
{
    std::string text = "@@FILE VERSION@@\t251\r\n@@TABLEDEF START@@\r\n", header, column;
    for (std::istringstream in(columns); in >> column;) {
        const std::string name = column.substr(0, column.find('='));
        text += column + (column.find(',') == std::string::npos ? ",0" : "") + ",\"" + name +
                "\",\"\",10,Data,\"\"\r\n";
        header += (header.empty() ? "" : "\t") + name;
    }
    text += "@@TABLEDEF END@@\r\n" + header + "\r\n";
    for (const std::string &row : rows)
        text += utf8ToCp1250(row) + "\r\n";
    return text;
}

} // namespace datamtest
