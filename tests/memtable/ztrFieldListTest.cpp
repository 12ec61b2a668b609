#include "memtable/ztrFieldList.h"

#include "memtable/ztrTestTables.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FieldListText : public ::testing::Test {
protected:
    FieldListText()
    {
        definePeople(table);
        table.FieldDefs().Add("kep", ftBlob);
        table.Open();
    }

    TztrMemTable table;
    TztrFieldList list;
};

} // namespace

TEST_F(FieldListText, NamesKeepTheirOrderAndOptionLettersWorkInAnyCase)
{
    BuildFieldList(table, list, "");
    EXPECT_EQ(list.Count(), 0);
    BuildFieldList(table, list, "pont;id");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0].Field, table.FieldByName("pont"));
    EXPECT_EQ(list[0].FieldNo, 3);
    EXPECT_EQ(list.IndexOf(table.FieldByName("id")), 1);
    EXPECT_EQ(list.IndexOf(table.FieldByName("nev")), -1);
    BuildFieldList(table, list, "nev:dc;pont:NpL;id:x");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0].Options, (TztrifoOptions{mtifoDescending, mtifoCaseInsensitive}));
    EXPECT_EQ(list[1].Options, (TztrifoOptions{mtifoIgnoreNull, mtifoPartial, mtifoIgnoreLocale}));
    EXPECT_TRUE(list[2].Options.Empty()) << "unknown letters are ignored";
}

TEST_F(FieldListText, UnknownBlobAndTooManyFieldsAreRefused)
{
    EXPECT_THROW(BuildFieldList(table, list, "nincs"), EDatabaseError);
    try {
        BuildFieldList(table, list, "id;kep");
        FAIL() << "a blob field was accepted";
    } catch (const EDatabaseError &error) {
        EXPECT_STREQ(error.what(), "Nem lehet indexelni a(z) kep mezőt");
    }
    std::string names = "id";
    for (int i = 1; i < 256; ++i)
        names += ";id";
    BuildFieldList(table, list, names);
    EXPECT_EQ(list.Count(), 256);
    try {
        BuildFieldList(table, list, names + ";id");
        FAIL() << "257 fields were accepted";
    } catch (const EMemTableError &error) {
        EXPECT_STREQ(error.what(), "A mezőlista legfeljebb 256 mezőt tartalmazhat.");
    }
}

TEST_F(FieldListText, OptionsAreAppliedMergedAndCopiedPositionByPosition)
{
    BuildFieldList(table, list, "id:d;nev;pont:d");
    ApplyFieldListOption(list, mtifoDescending, "NEV;id");
    EXPECT_TRUE(list[0].Options.Contains(mtifoDescending));
    EXPECT_TRUE(list[1].Options.Contains(mtifoDescending));
    EXPECT_FALSE(list[2].Options.Contains(mtifoDescending));
    TztrFieldList search;
    BuildFieldList(table, search, "id:p");
    list.MergeOptionsInto(search);
    ASSERT_EQ(search.Count(), 1);
    EXPECT_EQ(search[0].Options, (TztrifoOptions{mtifoPartial, mtifoDescending}));
    list.AssignTo(search);
    ASSERT_EQ(search.Count(), 3);
    EXPECT_EQ(search[1].Field, list[1].Field);
    EXPECT_EQ(search[1].Offset, list[1].Offset);
    EXPECT_EQ(search[1].Options, list[1].Options);
    EXPECT_EQ(IndexOptionsToCompareOptions({ixUnique, ixDescending, ixCaseInsensitive, ixNonMaintained}),
              (TztrMemTableCompareOptions{mtcoUnique, mtcoDescending, mtcoCaseInsensitive, mtcoNonMaintained}));
    EXPECT_TRUE(IndexOptionsToCompareOptions({ixPrimary, ixExpression}).Empty());
}
