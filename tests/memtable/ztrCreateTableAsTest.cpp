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

    std::vector<std::string> fieldNames(TDataSet &table)
    {
        std::vector<std::string> names;
        for (const auto &field : table.Fields())
            names.push_back(field->FieldName());
        return names;
    }

    TztrMemTable source;
    TztrMemTable target;
};

} // namespace

TEST_F(CreatedTable, TakesTheFieldsTheOptionsAskForAndTheRecordsOnlyWhenAsked)
{
    target.CreateTableAs(source, {});
    EXPECT_FALSE(target.Active());
    EXPECT_EQ(fieldNames(target), (std::vector<std::string>{"id", "nev", "pont"}));
    target.Open();
    EXPECT_EQ(target.FieldByName("nev")->Size(), 20);
    EXPECT_TRUE(target.IsEmpty());
    target.CreateTableAs(source, {mtctoCalculatedFields, mtctoKeepFieldOrder});
    EXPECT_EQ(fieldNames(target), (std::vector<std::string>{"id", "dupla", "nev", "pont"}));
    EXPECT_EQ(target.FieldByName("dupla")->FieldKind(), fkCalculated);
    target.CreateTableAs(source, {mtctoStringsAsWide, mtctoCopyData});
    ASSERT_TRUE(target.Active());
    EXPECT_EQ(idsInOrder(target), (std::vector<int>{5, 6}));
    target.First();
    EXPECT_EQ(target.FieldByName("nev")->AsWideString(), u"a");
    target.Append();
    EXPECT_EQ(target.FieldByName("id")->AsInteger(), 100) << "numbers start again from its own minimum";
    target.Cancel();
    source.FieldDefs().Add("extra", ftInteger);
    target.CreateTableAs(source, {mtctoOnlySourceFields});
    EXPECT_EQ(target.FieldDefs().IndexOf("extra"), -1);

    TztrMemTable wide;
    for (int i = 0; i <= MaxFields; ++i)
        wide.FieldDefs().Add("f" + std::to_string(i), ftInteger);
    EXPECT_EQ(messageOf([&] { target.CreateTableAs(wide, {}); }),
              "Too many fielddefs. Please raise ZTR_MAX_FIELDS value.");
}
