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

TEST_F(FieldListText, EmptyTextGivesAnEmptyList)
{
    BuildFieldList(table, list, "");
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(FieldListText, NamesKeepTheirOrderAndFieldNumbers)
{
    BuildFieldList(table, list, "pont;id");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0].Field, table.FieldByName("pont"));
    EXPECT_EQ(list[0].FieldNo, 3);
    EXPECT_EQ(list[1].Field, table.FieldByName("id"));
    EXPECT_EQ(list.IndexOf(table.FieldByName("id")), 1);
    EXPECT_EQ(list.IndexOf(table.FieldByName("nev")), -1);
}

TEST_F(FieldListText, OptionLettersWorkInAnyCaseAndOrder)
{
    BuildFieldList(table, list, "nev:dc;pont:NpL");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0].Options, (TztrifoOptions{mtifoDescending, mtifoCaseInsensitive}));
    EXPECT_EQ(list[1].Options, (TztrifoOptions{mtifoIgnoreNull, mtifoPartial, mtifoIgnoreLocale}));
}

TEST_F(FieldListText, UnknownOptionLettersAreIgnored)
{
    BuildFieldList(table, list, "nev:x");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_TRUE(list[0].Options.Empty());
}

TEST_F(FieldListText, UnknownFieldRaisesTheFrameworkError)
{
    EXPECT_THROW(BuildFieldList(table, list, "nincs"), EDatabaseError);
}

TEST_F(FieldListText, BlobFieldCannotBeIndexed)
{
    try {
        BuildFieldList(table, list, "id;kep");
        FAIL() << "a blob field was accepted";
    } catch (const EDatabaseError &error) {
        EXPECT_STREQ(error.what(), "Nem lehet indexelni a(z) kep mezőt");
    }
}

TEST_F(FieldListText, MoreThan256FieldsAreRefused)
{
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

TEST(FieldListCalculated, NamingACalculatedFieldMakesTheTableRecalculateOnIndex)
{
    TztrMemTable table;
    definePeople(table);
    TField *doubled = table.Fields().Add(CreateFieldOfType(ftInteger));
    doubled->SetFieldName("dupla");
    doubled->SetFieldKind(fkCalculated);
    for (const char *name : {"id", "nev", "pont"}) {
        TField *field = table.Fields().Add(CreateFieldOfType(table.FieldDefs().Find(name)->DataType()));
        field->SetFieldName(name);
        field->SetSize(table.FieldDefs().Find(name)->Size());
    }
    table.Open();
    TztrFieldList list;
    EXPECT_FALSE(table.RecalcOnIndex());
    BuildFieldList(table, list, "dupla");
    EXPECT_TRUE(table.RecalcOnIndex());
    EXPECT_EQ(list[0].FieldNo, -1);
    EXPECT_GE(list[0].Offset, table.Common().Layout().CalcAreaOffset());
}

TEST_F(FieldListText, ApplyingAnOptionAddsItToNamedFieldsAndRemovesItElsewhere)
{
    BuildFieldList(table, list, "id:d;nev;pont:d");
    ApplyFieldListOption(list, mtifoDescending, "NEV;id");
    EXPECT_TRUE(list[0].Options.Contains(mtifoDescending));
    EXPECT_TRUE(list[1].Options.Contains(mtifoDescending));
    EXPECT_FALSE(list[2].Options.Contains(mtifoDescending));
}

TEST_F(FieldListText, MergingAddsOptionsPositionByPosition)
{
    TztrFieldList search;
    BuildFieldList(table, list, "id:d;nev:c;pont");
    BuildFieldList(table, search, "id:p");
    list.MergeOptionsInto(search);
    ASSERT_EQ(search.Count(), 1);
    EXPECT_EQ(search[0].Options, (TztrifoOptions{mtifoPartial, mtifoDescending}));
}

TEST_F(FieldListText, AssignCopiesEveryEntry)
{
    TztrFieldList copy;
    BuildFieldList(table, list, "pont:d;id");
    BuildFieldList(table, copy, "nev");
    list.AssignTo(copy);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy[0].Field, list[0].Field);
    EXPECT_EQ(copy[0].Offset, list[0].Offset);
    EXPECT_EQ(copy[0].Options, list[0].Options);
}

TEST_F(FieldListText, PrefixNeedsTheSameFieldsInOrderAndOptionallyTheSameCase)
{
    TztrFieldList whole, part, reversed, caseless;
    BuildFieldList(table, whole, "nev;id;pont");
    BuildFieldList(table, part, "nev;id");
    BuildFieldList(table, reversed, "id;nev");
    BuildFieldList(table, caseless, "nev:c");
    EXPECT_TRUE(IsFieldListPrefix(whole, part, true));
    EXPECT_FALSE(IsFieldListPrefix(part, whole, false));
    EXPECT_FALSE(IsFieldListPrefix(whole, reversed, false));
    EXPECT_TRUE(IsFieldListPrefix(whole, caseless, false));
    EXPECT_FALSE(IsFieldListPrefix(whole, caseless, true));
}

TEST(IndexOptionsConversion, KeepsWhatComparisonsUse)
{
    EXPECT_EQ(IndexOptionsToCompareOptions({ixUnique, ixDescending, ixCaseInsensitive, ixNonMaintained}),
              (TztrMemTableCompareOptions{mtcoUnique, mtcoDescending, mtcoCaseInsensitive, mtcoNonMaintained}));
    EXPECT_TRUE(IndexOptionsToCompareOptions({ixPrimary, ixExpression}).Empty());
}
