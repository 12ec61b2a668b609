#include "ArrayDataSet.h"

#include <gtest/gtest.h>

TEST(FieldDefinitions, AreNumberedInOrderWithChildrenAfterTheirParentAndFoundByName)
{
    ArrayDataSet table;
    TFieldDefs &defs = table.FieldDefs();
    defs.Add("a", ftInteger);
    TFieldDef *b = defs.Add("b", ftString, 30, true);
    EXPECT_EQ(defs.Count(), 2);
    EXPECT_EQ(b->FieldNo(), 2);
    EXPECT_EQ(defs.Find("B"), b);
    EXPECT_EQ(defs.IndexOf("c"), -1);
    EXPECT_THROW(defs.Find("c"), EDatabaseError);
    EXPECT_TRUE(b->Required());
    EXPECT_TRUE(b->Attributes().Contains(faRequired));
    defs.Delete(0);
    EXPECT_EQ(b->FieldNo(), 1);
    TFieldDef *address = defs.Add("address", ftADT);
    address->ChildDefs().Add("city", ftString, 20);
    address->ChildDefs().Add("zip", ftInteger);
    TFieldDef *scores = defs.Add("scores", ftArray, 3);
    scores->ChildDefs().Add("score", ftInteger);
    TFieldDef *last = defs.Add("last", ftInteger);
    EXPECT_EQ(address->FieldNo(), 2);
    EXPECT_EQ(address->ChildDefs()[1]->FieldNo(), 4);
    EXPECT_EQ(scores->FieldNo(), 5);
    // An array takes one number per element.
    EXPECT_EQ(last->FieldNo(), 9);
    EXPECT_EQ(address->ChildDefs()[0]->ParentDef(), address);
}

TEST(FieldDefinitions, CreateFieldMakesTheFieldWithTheDefinitionsSettings)
{
    ArrayDataSet table;
    TFieldDef *name = table.FieldDefs().Add("name", ftString, 12, true);
    name->SetAttributes(name->Attributes() + TFieldAttributes{faReadonly});
    TFieldDef *amount = table.FieldDefs().Add("amount", ftBCD, 2);
    amount->SetPrecision(10);
    TFieldDef *calc = table.FieldDefs().Add("calc", ftInteger);
    calc->SetInternalCalcField(true);
    TField *field = name->CreateField(table);
    EXPECT_EQ(field->DataSet(), &table);
    EXPECT_EQ(field->Size(), 12);
    EXPECT_TRUE(field->Required());
    EXPECT_TRUE(field->ReadOnly());
    auto *bcd = dynamic_cast<TBCDField *>(amount->CreateField(table));
    ASSERT_NE(bcd, nullptr);
    EXPECT_EQ(bcd->Precision(), 10);
    EXPECT_EQ(bcd->Size(), 2);
    EXPECT_EQ(calc->CreateField(table)->FieldKind(), fkInternalCalc);
    EXPECT_EQ(table.FieldCount(), 3);
}

TEST(FieldDefinitions, ObjectDefinitionsCreateChildFields)
{
    ArrayDataSet table;
    TFieldDef *scores = table.FieldDefs().Add("scores", ftArray, 2);
    scores->ChildDefs().Add("score", ftInteger);
    TFieldDef *point = table.FieldDefs().Add("point", ftADT);
    point->ChildDefs().Add("x", ftInteger);
    point->ChildDefs().Add("y", ftInteger);
    table.Open();
    auto *array = dynamic_cast<TObjectField *>(table.FieldByName("scores"));
    ASSERT_NE(array, nullptr);
    ASSERT_EQ(array->FieldCount(), 2);
    EXPECT_EQ(array->Field(1)->FieldName(), "scores[1]");
    EXPECT_EQ(array->Field(1)->FieldNo(), 3);
    auto *adt = dynamic_cast<TObjectField *>(table.FieldByName("point"));
    ASSERT_EQ(adt->FieldCount(), 2);
    EXPECT_EQ(adt->Field(1)->FullName(), "point.y");
    EXPECT_EQ(adt->Field(1)->FieldNo(), 6);
    EXPECT_EQ(adt->Field(1)->DataSet(), &table);
}

TEST(FieldDefinitions, AssignCopiesEveryDefinition)
{
    ArrayDataSet source, copy;
    source.FieldDefs().Add("a", ftInteger, 0, true)->SetPrecision(3);
    source.FieldDefs().Add("b", ftWideString, 8);
    copy.FieldDefs().Add("old", ftFloat);
    copy.FieldDefs().Assign(source.FieldDefs());
    ASSERT_EQ(copy.FieldDefs().Count(), 2);
    EXPECT_EQ(copy.FieldDefs()[0]->Name(), "a");
    EXPECT_TRUE(copy.FieldDefs()[0]->Required());
    EXPECT_EQ(copy.FieldDefs()[0]->Precision(), 3);
    EXPECT_EQ(copy.FieldDefs()[1]->Size(), 8);
    EXPECT_EQ(copy.FieldDefs()[1]->Collection(), &copy.FieldDefs());
}

TEST(FieldDefinitions, AChangeMarksThemOutOfDateUntilUpdated)
{
    ArrayDataSet table;
    table.FieldDefs().Add("a", ftInteger);
    EXPECT_FALSE(table.FieldDefs().Updated());
    table.FieldDefs().Update();
    EXPECT_TRUE(table.FieldDefs().Updated());
    table.FieldDefs()[0]->SetSize(0);
    EXPECT_FALSE(table.FieldDefs().Updated());
}

TEST(IndexDefinitions, AreFoundByNameAndByFields)
{
    ArrayDataSet table;
    TIndexDefs &defs = table.IndexDefs();
    TIndexDef *byName = defs.Add("by_name", "name", {ixCaseInsensitive});
    TIndexDef *byBoth = defs.Add("by_both", "name;born", {});
    TIndexDef *primary = defs.Add("", "id", {ixPrimary, ixUnique});
    EXPECT_EQ(defs.Find("BY_NAME"), byName);
    EXPECT_EQ(defs.IndexOf("nincs"), -1);
    EXPECT_THROW(defs.Find("nincs"), EDatabaseError);
    EXPECT_EQ(defs.GetIndexForFields("NAME", false), byName);
    EXPECT_EQ(defs.GetIndexForFields("name;born", false), byBoth);
    EXPECT_EQ(defs.GetIndexForFields("born", false), nullptr);
    EXPECT_EQ(defs.GetIndexForFields("name;born", true), nullptr);
    EXPECT_EQ(defs.GetIndexForFields("id", true), nullptr);
    EXPECT_EQ(primary->DisplayName(), "<Primary>");
    EXPECT_EQ(byName->DisplayName(), "by_name");
    EXPECT_TRUE(primary->Options().Contains(ixUnique));
}

TEST(IndexDefinitions, AFieldPrefixFindsALongerIndex)
{
    ArrayDataSet table;
    TIndexDef *both = table.IndexDefs().Add("both", "kurzus_id;orarend_id", {});
    EXPECT_EQ(table.IndexDefs().GetIndexForFields("kurzus_id", false), both);
    EXPECT_EQ(table.IndexDefs().GetIndexForFields("kurzus", false), nullptr);
}

TEST(IndexDefinitions, AssignAndDeleteKeepTheCollectionConsistent)
{
    ArrayDataSet source, copy;
    TIndexDef *def = source.IndexDefs().Add("x", "a;b", {ixDescending});
    def->SetDescFields("b");
    copy.IndexDefs().Assign(source.IndexDefs());
    ASSERT_EQ(copy.IndexDefs().Count(), 1);
    EXPECT_EQ(copy.IndexDefs()[0]->Fields(), "a;b");
    EXPECT_EQ(copy.IndexDefs()[0]->DescFields(), "b");
    EXPECT_TRUE(copy.IndexDefs()[0]->Options().Contains(ixDescending));
    copy.IndexDefs().Delete(0);
    EXPECT_EQ(copy.IndexDefs().Count(), 0);
    EXPECT_THROW(copy.IndexDefs().Delete(0), EDatabaseError);
}
