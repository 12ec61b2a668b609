// The values a new record of a memory table starts with.

#include "memtable/ztrTestTables.h"

#include <gtest/gtest.h>

#include <limits>

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
