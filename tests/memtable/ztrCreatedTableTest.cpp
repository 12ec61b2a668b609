// Giving a memory table the structure of another dataset.

#include "memtable/ztrCreateTableAs.h"

#include "memtable/ztrTestTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CreatedTable : public ::testing::Test {
protected:
    CreatedTable()
    {
        addField("id", ftAutoInc, 0, fkData);
        addField("dupla", ftInteger, 0, fkCalculated);
        addField("nev", ftString, 20, fkData);
        addField("pont", ftInteger, 0, fkData);
        source.OnCalcFields = [](TDataSet &dataSet) {
            dataSet.FieldByName("dupla")->SetAsInteger(dataSet.FieldByName("pont")->AsInteger() * 2);
        };
        source.SetAutoIncMinValue(5);
        source.Open();
        appendPerson(source, 5, "a", 1);
        appendPerson(source, 6, "b", 2);
        target.SetAutoIncMinValue(100);
    }

    void addField(const char *name, TFieldType type, int size, TFieldKind kind)
    {
        TField *field = source.Fields().Add(CreateFieldOfType(type));
        field->SetFieldName(name);
        field->SetSize(size);
        field->SetFieldKind(kind);
    }

    TztrMemTable source;
    TztrMemTable target;
};

} // namespace

TEST_F(CreatedTable, TakesTheDataFieldsAndStaysClosedAndEmpty)
{
    target.CreateTableAs(source, {});
    EXPECT_FALSE(target.Active());
    EXPECT_EQ(target.GetFieldNames(), (std::vector<std::string>{"id", "nev", "pont"}));
    target.Open();
    EXPECT_EQ(target.FieldByName("nev")->DataType(), ftString);
    EXPECT_EQ(target.FieldByName("nev")->Size(), 20);
    EXPECT_TRUE(target.IsEmpty());
    source.FieldDefs().Add("extra", ftInteger);
    target.CreateTableAs(source, {});
    EXPECT_GE(target.FieldDefs().IndexOf("extra"), 0);
    target.CreateTableAs(source, {mtctoOnlySourceFields});
    EXPECT_EQ(target.FieldDefs().IndexOf("extra"), -1);
}

TEST_F(CreatedTable, OptionsAddCalculatedFieldsWideTextsAndTheRecords)
{
    target.CreateTableAs(source, {mtctoCalculatedFields});
    EXPECT_EQ(target.GetFieldNames(), (std::vector<std::string>{"id", "nev", "pont", "dupla"}));
    target.CreateTableAs(source, {mtctoCalculatedFields, mtctoKeepFieldOrder});
    EXPECT_EQ(target.GetFieldNames(), (std::vector<std::string>{"id", "dupla", "nev", "pont"}));
    EXPECT_EQ(target.FieldByName("dupla")->FieldKind(), fkCalculated);
    target.CreateTableAs(source, {mtctoStringsAsWide, mtctoCopyData});
    ASSERT_TRUE(target.Active());
    EXPECT_EQ(idsInOrder(target), (std::vector<int>{5, 6}));
    target.First();
    EXPECT_EQ(target.FieldByName("nev")->DataType(), ftWideString);
    EXPECT_EQ(target.FieldByName("nev")->AsWideString(), u"a");
    target.Append();
    EXPECT_EQ(target.FieldByName("id")->AsInteger(), 100) << "numbers start again from its own minimum";
    target.Cancel();
}

