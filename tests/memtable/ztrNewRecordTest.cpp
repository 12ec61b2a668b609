// The values a new record of a memory table starts with.

#include "memtable/ztrStreamTestTables.h"
#include "memtable/ztrTestTables.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

class AutoIncTable : public ::testing::Test {
protected:
    AutoIncTable()
    {
        table.FieldDefs().Add("sorszam", ftAutoInc);
        table.FieldDefs().Add("nev", ftString, 10);
    }

    int appendOne()
    {
        table.Append();
        table.Post();
        return table.FieldByName("sorszam")->AsInteger();
    }

    TztrMemTable table;
};

} // namespace

TEST_F(AutoIncTable, NumbersFollowTheLargestFromTheMinimumAndStopAtTheLargestInteger)
{
    table.Open();
    EXPECT_EQ(appendOne(), 0);
    table.Close();
    table.SetAutoIncMinValue(333);
    table.Open();
    EXPECT_EQ(appendOne(), 333);
    EXPECT_EQ(appendOne(), 334);
    table.Delete();
    EXPECT_EQ(appendOne(), 335) << "a deleted number is not given again";
    table.Append();
    table.FieldByName("sorszam")->SetAsInteger(500);
    table.Post();
    EXPECT_EQ(appendOne(), 501);
    table.Close();
    table.Open();
    EXPECT_EQ(appendOne(), 333);

    for (const int minimum : {0, std::numeric_limits<int>::min()}) {
        table.Close();
        table.SetAutoIncMinValue(minimum);
        table.Open();
        table.Append();
        table.FieldByName("sorszam")->SetAsInteger(std::numeric_limits<int>::max());
        table.Post();
        EXPECT_EQ(messageOf([&] { table.Append(); }),
                  "Az automatikus sorszám elérte a legnagyobb értékét (2147483647).");
        EXPECT_EQ(table.State(), dsBrowse);
        EXPECT_EQ(table.RecordCount(), 1);
    }
}

TEST_F(AutoIncTable, NoNumberIsGivenPastTheLargestInteger)
{
    for (const int minimum : {0, std::numeric_limits<int>::min()}) {
        table.SetAutoIncMinValue(minimum);
        table.Open();
        table.Append();
        table.FieldByName("sorszam")->SetAsInteger(std::numeric_limits<int>::max());
        table.Post();
        try {
            table.Append();
            FAIL() << "a number past the largest was given";
        } catch (const EMemTableError &error) {
            EXPECT_STREQ(error.what(), "Az automatikus sorszám elérte a legnagyobb értékét (2147483647).");
        }
        EXPECT_EQ(table.State(), dsBrowse);
        EXPECT_EQ(table.RecordCount(), 1);
        table.Close();
    }
}

TEST_F(AutoIncTable, AViewNumbersFromTheSharedStore)
{
    table.SetAutoIncMinValue(40);
    table.SetAttachMaxCount(2);
    table.Open();
    EXPECT_EQ(appendOne(), 40);
    TztrMemTable view;
    view.SetAttachedTo(&table);
    view.Open();
    view.Append();
    view.Post();
    EXPECT_EQ(view.FieldByName("sorszam")->AsInteger(), 41);
    EXPECT_EQ(appendOne(), 42);
}

TEST(AutoIncLoading, LoadedRecordsKeepTheirNumbersAndTheNextFollowsThem)
{
    TztrMemTable rooms;
    TztrCSVStreamFormat csv;
    streamtest::configureAsCSV(csv);
    TStringStream in(streamtest::ExampleRoomFile);
    rooms.LoadFromStreamViaFormat(in, &csv);
    std::vector<int> ids;
    for (rooms.First(); !rooms.Eof(); rooms.Next())
        ids.push_back(rooms.FieldByName("terem_id")->AsInteger());
    EXPECT_EQ(ids, (std::vector<int>{111, 112}));
    rooms.Append();
    EXPECT_EQ(rooms.FieldByName("terem_id")->AsInteger(), 113);
    rooms.Cancel();
}

TEST(DefaultExpressions, ANewRecordTakesTheFieldsDefaultsUnlessOnNewRecordSetsThem)
{
    TztrMemTable table;
    definePeople(table);
    table.FieldDefs().Add("nagy", ftLargeint);
    table.Open();
    table.FieldByName("pont")->SetDefaultExpression("42");
    table.FieldByName("nev")->SetDefaultExpression(cp1250("névtelen"));
    table.FieldByName("nagy")->SetDefaultExpression("5");
    table.Append();
    EXPECT_EQ(table.FieldByName("pont")->AsInteger(), 42);
    EXPECT_EQ(table.FieldByName("nev")->AsString(), cp1250("névtelen"));
    EXPECT_TRUE(table.FieldByName("id")->IsNull());
    EXPECT_TRUE(table.FieldByName("nagy")->IsNull()) << "large integer fields keep no default";
    EXPECT_FALSE(table.Modified());
    table.Cancel();
    table.OnNewRecord = [](TDataSet &dataSet) { dataSet.FieldByName("pont")->SetAsInteger(1); };
    table.Append();
    EXPECT_EQ(table.FieldByName("pont")->AsInteger(), 1);
    table.Cancel();
}
