#pragma once

// Tables, formats and folders the stream-format tests share: the room table of the data files,
// the two format objects the data module uses, and a scratch folder per test.

#include "memtable/ztrMemCSVStreamFormat.h"
#include "memtable/ztrMemTable.h"
#include "memtable/ztrTestTables.h"
#include "platform/Classes.h"
#include "platform/DB.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <string>

namespace streamtest {

// The data module's "CSV": tab-separated, unquoted, no record delimiter, definitions, fixed
// number and date settings.
inline void configureAsCSV(TztrCSVStreamFormat &format)
{
    format.SetCSVFieldDelimiter('\t');
    format.SetCSVQuote('\0');
    format.SetCSVRecordDelimiter('\0');
}

// The data module's "CSV_Nodef": no definition block, the user's number and date settings.
inline void configureAsCSVNodef(TztrCSVStreamFormat &format)
{
    configureAsCSV(format);
    format.SetsfDef({});
    format.SetsfLocalFormat({sfSaveLocalFormat, sfLoadLocalFormat});
}

// A table's text in a format, and a table loaded from such a text.
inline std::string saveToText(TztrCustomMemTable &table, TztrCustomStreamFormat &format)
{
    TStringStream out;
    table.SaveToStreamViaFormat(out, &format);
    return out.DataString();
}

inline void loadFromText(TztrCustomMemTable &table, TztrCustomStreamFormat &format, const std::string &text)
{
    TStringStream in(text);
    table.LoadFromStreamViaFormat(in, &format);
}

// The table as a data file holds it.
inline std::string savedAsCSV(TztrCustomMemTable &table)
{
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    return saveToText(table, csv);
}

// Loads a data file straight into the store, or through Append and Post when a record handler
// watches the load.
inline void loadCSVFile(TztrCustomMemTable &table, const std::filesystem::path &file, bool throughPost)
{
    if (throughPost)
        table.OnLoadRecord = [](TztrCustomMemTable &, bool &accept) { accept = true; };
    TztrCSVStreamFormat csv;
    configureAsCSV(csv);
    table.LoadFromFileViaFormat(file, &csv);
}

// The room table: terem_id, terem_kod, terem_hely, terem_kapacitas, terem_telephely, with one
// index definition on terem_id; open and empty.
inline void makeRoomTable(TztrCustomMemTable &table)
{
    table.FieldDefs().Add("terem_id", ftAutoInc);
    table.FieldDefs().Add("terem_kod", ftString, 40);
    table.FieldDefs().Add("terem_hely", ftString, 20);
    table.FieldDefs().Add("terem_kapacitas", ftInteger);
    table.FieldDefs().Add("terem_telephely", ftString, 50);
    table.IndexDefs().Add("terem_id", "terem_id", {});
    table.Open();
}

inline void addRoom(TztrCustomMemTable &table, int id, const std::string &code,
                    const std::optional<std::string> &place, const std::optional<int> &capacity,
                    const std::string &site)
{
    table.Append();
    table.FieldByName("terem_id")->SetAsInteger(id);
    table.FieldByName("terem_kod")->SetAsString(code);
    if (place)
        table.FieldByName("terem_hely")->SetAsString(*place);
    if (capacity)
        table.FieldByName("terem_kapacitas")->SetAsInteger(*capacity);
    table.FieldByName("terem_telephely")->SetAsString(site);
    table.Post();
}

// The two rooms of the data-file example; the place of the first holds a line break.
inline void addExampleRooms(TztrCustomMemTable &table)
{
    addRoom(table, 111, "A-001", std::string("1. emelet\nbal sz\xE1rny"), 120, "Kelmendor");
    addRoom(table, 112, "A-002", std::nullopt, std::nullopt, "Kelmendor");
}

// The example rooms as "CSV" writes them, byte for byte.
inline const std::string ExampleRoomFile =
    "@@FILE VERSION@@\t251\r\n"
    "@@TABLEDEF START@@\r\n"
    "terem_id=AutoInc,0,\"terem_id\",\"\",10,Data,\"\"\r\n"
    "terem_kod=String,40,\"terem_kod\",\"\",40,Data,\"\"\r\n"
    "terem_hely=String,20,\"terem_hely\",\"\",20,Data,\"\"\r\n"
    "terem_kapacitas=Integer,0,\"terem_kapacitas\",\"\",10,Data,\"\"\r\n"
    "terem_telephely=String,50,\"terem_telephely\",\"\",50,Data,\"\"\r\n"
    "@@INDEXDEF START@@\r\n"
    "terem_id=terem_id,terem_id\r\n"
    "@@INDEXDEF END@@\r\n"
    "@@TABLEDEF END@@\r\n"
    "terem_id\tterem_kod\tterem_hely\tterem_kapacitas\tterem_telephely\r\n"
    "111\tA-001\t1. emelet%nbal sz\xE1rny\t120\tKelmendor\r\n"
    "112\tA-002\t\t\tKelmendor\r\n";

// The same rooms as "CSV_Nodef" writes them: the header and record lines alone.
inline const std::string ExampleRoomFileNodef = ExampleRoomFile.substr(ExampleRoomFile.rfind("@@\r\n") + 4);

using ::TempFolder;

inline std::string readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeFile(const std::filesystem::path &path, const std::string &content)
{
    std::ofstream(path, std::ios::binary) << content;
}

} // namespace streamtest
