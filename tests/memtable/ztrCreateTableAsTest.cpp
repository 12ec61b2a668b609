#include "memtable/ztrTestTables.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Prices: ar_id (autoincrement), nev (text), ar (BCD of precision 12 given by its persistent
// field only), and a calculated field dupla.
class Prices : public ::testing::Test {
protected:
    Prices()
    {
        addField(ftAutoInc, "ar_id", 0);
        addField(ftString, "nev", 20);
        auto *price = static_cast<TBCDField *>(addField(ftBCD, "ar", 2));
        price->SetPrecision(12);
        addField(ftInteger, "dupla", 0)->SetFieldKind(fkCalculated);
        source.OnCalcFields = [](TDataSet &table) {
            table.FieldByName("dupla")->SetAsInteger(2 * table.FieldByName("ar_id")->AsInteger());
        };
    }

    TField *addField(TFieldType type, const std::string &name, int size)
    {
        TField *field = source.Fields().Add(CreateFieldOfType(type));
        field->SetFieldName(name);
        if (size > 0)
            field->SetSize(size);
        return field;
    }

    void fill()
    {
        source.SetAutoIncMinValue(1);
        source.Open();
        for (const char *name : {"alma", "körte", "szilva"}) {
            source.Append();
            source.FieldByName("nev")->SetAsString(cp1250(name));
            source.FieldByName("ar")->SetAsFloat(1.5);
            source.Post();
        }
    }

    static int precisionOf(TDataSet &table, const std::string &field)
    {
        return static_cast<TBCDField *>(table.FieldByName(field))->Precision();
    }

    TztrMemTable source;
    TztrMemTable copy;
};

} // namespace

TEST_F(Prices, TheStructureComesFromAClosedSourceWithItsPrecision)
{
    copy.CreateTableAs(source, {});
    EXPECT_FALSE(copy.Active());
    ASSERT_EQ(copy.FieldDefs().Count(), 3) << "data definitions only";
    copy.Open();
    EXPECT_EQ(copy.GetFieldNames(), (std::vector<std::string>{"ar_id", "nev", "ar"}));
    EXPECT_EQ(copy.FieldByName("nev")->Size(), 20);
    EXPECT_EQ(precisionOf(copy, "ar"), 12);
    EXPECT_EQ(copy.RecordCount(), 0);
}

TEST_F(Prices, CopiedDataKeepsItsKeysAndNewRecordsNumberOnFromThem)
{
    fill();
    copy.CreateTableAs(source, {mtctoCopyData, mtctoCalculatedFields, mtctoKeepFieldOrder});
    ASSERT_TRUE(copy.Active());
    EXPECT_EQ(copy.GetFieldNames(), (std::vector<std::string>{"ar_id", "nev", "ar", "dupla"}));
    EXPECT_EQ(copy.FieldByName("dupla")->FieldKind(), fkCalculated);
    EXPECT_EQ(copy.RecordCount(), 3);
    copy.Last();
    EXPECT_EQ(copy.FieldByName("nev")->AsString(), cp1250("szilva"));
    EXPECT_DOUBLE_EQ(copy.FieldByName("ar")->AsFloat(), 1.5);
    copy.Append();
    copy.FieldByName("nev")->SetAsString("meggy");
    copy.Post();
    EXPECT_EQ(copy.FieldByName("ar_id")->AsInteger(), 4);
}

TEST_F(Prices, TextsBecomeWideAndTheStoreIsClosedFirst)
{
    fill();
    copy.FieldDefs().Add("regi", ftInteger);
    copy.SetAttachMaxCount(3);
    copy.Open();
    TztrMemTable view;
    view.SetAttachedTo(&copy);
    view.Open();

    copy.CreateTableAs(source, {mtctoStringsAsWide, mtctoCopyData});
    EXPECT_FALSE(view.Active()) << "the view of the old structure is closed";
    EXPECT_EQ(copy.FieldByName("nev")->DataType(), ftWideString);
    EXPECT_EQ(copy.FindField("regi"), nullptr);
    copy.First();
    EXPECT_EQ(copy.FieldByName("nev")->AsString(), cp1250("alma"));
    TztrMemTable newView;
    newView.SetAttachedTo(&copy);
    newView.Open();
    EXPECT_EQ(newView.RecordCount(), 3);
    EXPECT_EQ(newView.FieldByName("nev")->DataType(), ftWideString);
}

TEST_F(Prices, TooManyDefinitionsAreRefusedAndTheTableKeepsItsOwn)
{
    TztrMemTable wide;
    for (int i = 0; i <= 256; ++i)
        wide.FieldDefs().Add("m" + std::to_string(i), ftInteger);
    definePeople(copy);
    EXPECT_EQ(messageOf([&] { copy.CreateTableAs(wide, {}); }),
              "Too many fielddefs. Please raise ZTR_MAX_FIELDS value.");
    EXPECT_EQ(copy.FieldDefs().Count(), 3);
}

TEST_F(Prices, AViewTakesTheOwnersFieldSettings)
{
    source.FieldByName("nev")->SetDisplayLabel("Név");
    source.SetAttachMaxCount(2);
    TztrMemTable view;
    view.SetAttachedTo(&source);
    EXPECT_EQ(precisionOf(view, "ar"), 12);
    EXPECT_EQ(view.FieldByName("nev")->DisplayLabel(), "Név");
    EXPECT_EQ(view.FieldByName("dupla")->FieldKind(), fkCalculated);
    fill();
    view.Open();
    EXPECT_EQ(precisionOf(view, "ar"), 12);
    view.First();
    EXPECT_DOUBLE_EQ(view.FieldByName("ar")->AsFloat(), 1.5);
}

TEST_F(Prices, LookupFieldsAreMadeAgainAndStillLookUp)
{
    TztrMemTable kinds;
    definePeople(kinds);
    kinds.Open();
    appendPerson(kinds, 2, "gyumolcs");
    TField *kind = addField(ftString, "fajta", 20);
    kind->SetFieldKind(fkLookup);
    kind->SetKeyFields("ar_id");
    kind->SetLookupDataSet(&kinds);
    kind->SetLookupKeyFields("id");
    kind->SetLookupResultField("nev");
    fill();

    copy.CreateTableAs(source, {mtctoCopyData});
    EXPECT_EQ(copy.FindField("fajta"), nullptr) << "only when asked";
    copy.CreateTableAs(source, {mtctoCopyData, mtctoLookupFields});
    TField *copied = copy.FieldByName("fajta");
    EXPECT_EQ(copied->FieldKind(), fkLookup);
    EXPECT_EQ(copied->LookupDataSet(), &kinds);
    ASSERT_TRUE(copy.Locate("ar_id", 2, {}));
    EXPECT_EQ(copied->AsString(), "gyumolcs");
}
