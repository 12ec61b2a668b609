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
    EXPECT_EQ(messageOf([&] { BuildFieldList(table, list, "id;kep"); }), "Nem lehet indexelni a(z) kep mezőt");
    std::string names = "id";
    for (int i = 1; i < 256; ++i)
        names += ";id";
    BuildFieldList(table, list, names);
    EXPECT_EQ(list.Count(), 256);
    EXPECT_EQ(messageOf([&] { BuildFieldList(table, list, names + ";id"); }),
              "A mezőlista legfeljebb 256 mezőt tartalmazhat.");
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

// Lookup fields hold values a table can be ordered by; aggregates hold none of a record's own.
TEST(FieldListKinds, LookupFieldsMayBeListedButAggregatesAreRefused)
{
    TztrMemTable kinds;
    definePeople(kinds);
    kinds.Open();
    TztrMemTable table;
    definePeople(table);
    for (const char *name : {"id", "nev", "pont"}) {
        TField *field = table.Fields().Add(CreateFieldOfType(table.FieldDefs().Find(name)->DataType()));
        field->SetFieldName(name);
        field->SetSize(table.FieldDefs().Find(name)->Size());
    }
    for (const auto &[name, kind] : {std::pair{"fajta", fkLookup}, {"osszeg", fkAggregate}}) {
        TField *field = table.Fields().Add(CreateFieldOfType(ftInteger));
        field->SetFieldName(name);
        field->SetFieldKind(kind);
    }
    TField &lookup = *table.FindField("fajta");
    lookup.SetKeyFields("pont");
    lookup.SetLookupDataSet(&kinds);
    lookup.SetLookupKeyFields("id");
    lookup.SetLookupResultField("pont");
    table.Open();
    TztrFieldList list;
    BuildFieldList(table, list, "fajta;id");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0].Field, table.FieldByName("fajta"));
    EXPECT_EQ(messageOf([&] { BuildFieldList(table, list, "id;osszeg"); }), "Nem lehet indexelni a(z) osszeg mezőt");
}
