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
