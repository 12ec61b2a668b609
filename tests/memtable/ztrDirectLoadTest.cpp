// A data file loads straight into the store unless something watches the table record by record;
// then it loads through Append and Post. Whichever way, the table must come out the same.

#include "memtable/ztrDirectLoad.h"
#include "memtable/ztrMemCSVStreamFormat.h"
#include "ztrStreamTestTables.h"
#include "ztrTestTables.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace streamtest;

namespace {

enum class LoadPath { Direct, RecordByRecord };

// A record handler is one of the watchers that keep the load on Append and Post.
void load(TztrMemTable &table, const std::filesystem::path &file, LoadPath path)
{
    loadCSVFile(table, file, path == LoadPath::RecordByRecord);
}

// Every value of every record in the order of each index, nulls marked.
std::vector<std::string> recordsByEveryIndex(TztrMemTable &table)
{
    std::vector<std::string> lines;
    std::vector<std::string> orders{""};
    for (const auto &definition : table.IndexDefs())
        orders.push_back(definition->Name());
    for (const std::string &order : orders) {
        table.SetIndexName(order);
        lines.push_back("index " + order);
        for (table.First(); !table.Eof(); table.Next()) {
            std::string line;
            for (const auto &field : table.Fields())
                line += (field->IsNull() ? std::string("null") : field->AsString()) + "|";
            lines.push_back(line);
        }
    }
    table.SetIndexName("");
    return lines;
}

// Occasions with a field of every kind the data files hold, nulls among them, and indexes over
// integers, moments and texts, unique and descending ones too.
std::string occasionFile()
{
    TztrMemTable table;
    table.FieldDefs().Add("alkalom_id", ftAutoInc);
    table.FieldDefs().Add("kurzus_id", ftInteger, 0, true);
    table.FieldDefs().Add("nap", ftSmallint);
    table.FieldDefs().Add("het", ftWord);
    table.FieldDefs().Add("kezd_ido", ftDateTime);
    table.FieldDefs().Add("datum", ftDate);
    table.FieldDefs().Add("ora", ftTime);
    table.FieldDefs().Add("hetek", ftString, 15);
    table.FieldDefs().Add("suly", ftFloat);
    table.FieldDefs().Add("aktiv", ftBoolean);
    table.FieldDefs().Add("nagy", ftLargeint);
    table.IndexDefs().Add("kulcs", "alkalom_id", {ixUnique});
    table.IndexDefs().Add("kurzus_kezd", "kurzus_id;kezd_ido", {});
    table.IndexDefs().Add("hetek_le", "hetek", {ixDescending, ixCaseInsensitive});
    table.Open();
    for (int i = 0; i < 300; ++i) {
        table.Append();
        table.FieldByName("alkalom_id")->SetAsInteger(1000 - 3 * i);
        table.FieldByName("kurzus_id")->SetAsInteger(i % 17 - 5);
        if (i % 11 != 0)
            table.FieldByName("nap")->SetAsInteger(i % 7 - 3);
        table.FieldByName("het")->SetAsInteger(60000 + i);
        if (i % 13 != 0)
            table.FieldByName("kezd_ido")->SetAsDateTime(2 + i % 105 + (465 + i % 12 * 55) / 1440.0);
        table.FieldByName("datum")->SetAsDateTime(45000 - i);
        table.FieldByName("ora")->SetAsDateTime((i % 1440) / 1440.0);
        table.FieldByName("hetek")->SetAsString(
            i % 4 == 0 ? "" : std::string(i % 2 ? "10" : "Ab") + std::to_string(i));
        table.FieldByName("suly")->SetAsFloat(i / 7.0);
        table.FieldByName("aktiv")->SetAsBoolean(i % 3 == 0);
        table.FieldByName("nagy")->SetAsLargeInt(std::int64_t{1} << (i % 60));
        table.Post();
    }
    return savedAsCSV(table);
}

} // namespace

TEST(DirectLoad, GivesTheRecordsIndexesAndKeysOfALoadThroughPost)
{
    TempFolder folder;
    const std::string file = occasionFile();
    writeFile(folder / "alkalom.csv", file);
    TztrMemTable direct, posted;
    load(direct, folder / "alkalom.csv", LoadPath::Direct);
    load(posted, folder / "alkalom.csv", LoadPath::RecordByRecord);

    ASSERT_EQ(direct.RecordCount(), 300);
    EXPECT_EQ(recordsByEveryIndex(direct), recordsByEveryIndex(posted));
    EXPECT_EQ(savedAsCSV(direct), file);
    EXPECT_EQ(savedAsCSV(posted), file);
    // Loaded keys are kept, and a new record numbers after the largest of them.
    for (TztrMemTable *table : {&direct, &posted}) {
        table->Append();
        table->FieldByName("kurzus_id")->SetAsInteger(1);
        table->Post();
        EXPECT_EQ(table->FieldByName("alkalom_id")->AsInteger(), 1001);
        EXPECT_TRUE(table->Locate("alkalom_id", 103, {}));
        EXPECT_EQ(table->FieldByName("kurzus_id")->AsInteger(), 299 % 17 - 5);
    }
}

TEST(DirectLoad, RefusesALineAsPostWouldAndKeepsTheLinesBeforeIt)
{
    const std::string file = occasionFile();
    const std::string validLine =
        "5000\t3\t1\t2\t02/01/1900 07:45:00\t01/01/2000\t07:45:00\tx\t1.5\tTrue\t7\r\n";
    struct Case
    {
        const char *what;
        std::string line;
    };
    const std::vector<Case> cases{
        {"integer with letters", "5001\t3x\t1\t2\t\t\t\t\t\t\t\r\n"},
        {"integer past its type", "5001\t3000000000\t1\t2\t\t\t\t\t\t\t\r\n"},
        {"smallint past its type", "5001\t3\t40000\t2\t\t\t\t\t\t\t\r\n"},
        {"negative word", "5001\t3\t1\t-2\t\t\t\t\t\t\t\r\n"},
        {"moment that is none", "5001\t3\t1\t2\t31/02/1900 07:45:00\t\t\t\t\t\t\r\n"},
        {"date that is none", "5001\t3\t1\t2\t\t1/13/2000\t\t\t\t\t\r\n"},
        {"time that is none", "5001\t3\t1\t2\t\t\t25:61:00\t\t\t\t\r\n"},
        {"required value missing", "5001\t\t1\t2\t\t\t\t\t\t\t\r\n"},
        {"key of a unique index repeated", "1000\t3\t1\t2\t\t\t\t\t\t\t\r\n"},
    };
    // After the lines of the file and the valid line.
    const auto badLine = std::count(file.begin(), file.end(), '\n') + 2;
    for (const Case &refused : cases) {
        SCOPED_TRACE(refused.what);
        TempFolder folder;
        writeFile(folder / "alkalom.csv", file + validLine + refused.line + validLine);
        TztrMemTable direct, posted;
        const std::string directMessage =
            messageOf([&] { load(direct, folder / "alkalom.csv", LoadPath::Direct); });
        const std::string postedMessage =
            messageOf([&] { load(posted, folder / "alkalom.csv", LoadPath::RecordByRecord); });
        EXPECT_NE(directMessage.find("sor: " + std::to_string(badLine)), std::string::npos) << directMessage;
        EXPECT_EQ(directMessage, postedMessage);
        EXPECT_EQ(direct.RecordCount(), 301);
        EXPECT_EQ(recordsByEveryIndex(direct), recordsByEveryIndex(posted));
    }
}

namespace {

void defineRows(TztrMemTable &table)
{
    table.FieldDefs().Add("kod", ftString, 10);
    table.FieldDefs().Add("nev", ftString, 40);
    table.FieldDefs().Add("szam", ftInteger);
    table.IndexDefs().Add("kod_ix", "kod", {ixUnique});
    table.IndexDefs().Add("nev_ix", "nev", {ixDescending});
    table.Open();
}

const std::vector<std::vector<std::string>> Rows = {
    {"b", "m\xE1sodik \"sor\"\t", "2"}, {"a", "", "-1"}, {"c", "\xF5s %n", "30"}};

void appendRows(TztrMemTable &table, bool direct)
{
    for (const auto &row : Rows) {
        if (!direct) {
            table.Append();
            for (std::size_t i = 0; i < row.size(); ++i)
                table.Fields()[static_cast<int>(i)]->SetAsString(row[i]);
            table.Post();
            continue;
        }
        TztrDirectLoadRecord record(table);
        for (std::size_t i = 0; i < row.size(); ++i) {
            TField &field = *table.Fields()[static_cast<int>(i)];
            if (!record.WriteString(field, row[i]))
                field.SetAsString(row[i]);
        }
        record.Store();
    }
}

} // namespace

TEST(DirectAppend, AppliesOnlyWhileNothingShowsOrHearsOfTheTable)
{
    TztrMemTable table;
    defineRows(table);
    EXPECT_FALSE(TztrDirectLoadRecord::AppliesToAppend(table)) << "controls enabled";
    const ControlsDisabled still(table);
    EXPECT_TRUE(TztrDirectLoadRecord::AppliesToAppend(table));
    table.AfterPost = [](TDataSet &) {};
    EXPECT_FALSE(TztrDirectLoadRecord::AppliesToAppend(table)) << "post event";
    table.AfterPost = nullptr;
    table.FieldByName("nev")->SetRequired(true);
    EXPECT_FALSE(TztrDirectLoadRecord::AppliesToAppend(table)) << "required field";

    TztrMemTable numbered;
    numbered.FieldDefs().Add("azon", ftAutoInc);
    numbered.Open();
    const ControlsDisabled numberedStill(numbered);
    EXPECT_FALSE(TztrDirectLoadRecord::AppliesToAppend(numbered)) << "autoincrement";
}

TEST(DirectAppend, GivesTheRecordsAndIndexesOfAppendAndPost)
{
    TztrMemTable posted, direct;
    defineRows(posted);
    defineRows(direct);
    appendRows(posted, false);
    {
        const ControlsDisabled still(direct);
        ASSERT_TRUE(TztrDirectLoadRecord::AppliesToAppend(direct));
        appendRows(direct, true);
        direct.Last();
    }
    EXPECT_EQ(direct.FieldByName("kod")->AsString(), "c");
    EXPECT_EQ(recordsByEveryIndex(direct), recordsByEveryIndex(posted));

    // A key the unique index holds already is refused and nothing is stored.
    const ControlsDisabled still(direct);
    TztrDirectLoadRecord again(direct);
    direct.FieldByName("kod")->SetAsString("a");
    EXPECT_THROW(again.Store(), EMemTableDupKey);
    EXPECT_EQ(direct.RecordCount(), 3);
}

// A run of records that differ in one field: each repeat starts with every value of the record
// before, long texts kept outside the record too, and a refused repeat leaves those before stored.
TEST(DirectAppend, RepeatedRecordsKeepTheirOwnValues)
{
    for (const TztrPerformance performance : {mtpfFast, mtpfBalanced}) {
        TztrMemTable posted, direct;
        for (TztrMemTable *table : {&posted, &direct}) {
            table->SetPerformance(performance);
            defineRows(*table);
        }
        const std::vector<std::string> codes = {"x1", "x2", "x3"};
        const std::string name = "egy hosszabb n\xE9v, ami kint \xE1ll";
        for (const std::string &code : codes) {
            posted.Append();
            posted.FieldByName("kod")->SetAsString(code);
            posted.FieldByName("nev")->SetAsString(name);
            posted.FieldByName("szam")->SetAsInteger(7);
            posted.Post();
        }
        const ControlsDisabled still(direct);
        ASSERT_TRUE(TztrDirectLoadRecord::AppliesToAppend(direct));
        {
            TztrDirectLoadRecord record(direct);
            direct.FieldByName("kod")->SetAsString(codes[0]);
            direct.FieldByName("nev")->SetAsString(name);
            direct.FieldByName("szam")->SetAsInteger(7);
            for (std::size_t i = 1; i < codes.size(); ++i) {
                record.StoreAndRepeat();
                EXPECT_EQ(direct.FieldByName("nev")->AsString(), name) << performance;
                direct.FieldByName("kod")->SetAsString(codes[i]);
            }
            record.Store();
        }
        EXPECT_EQ(recordsByEveryIndex(direct), recordsByEveryIndex(posted)) << performance;

        TztrDirectLoadRecord again(direct);
        direct.FieldByName("kod")->SetAsString("x4");
        again.StoreAndRepeat();
        EXPECT_THROW(again.StoreAndRepeat(), EMemTableDupKey) << "the repeat still holds x4";
        EXPECT_EQ(direct.RecordCount(), 4) << performance;
    }
}
