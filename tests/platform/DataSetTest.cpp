#include "ArrayDataSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every dataset event in the order it fires.
struct EventLog {
    std::vector<std::string> events;

    void attach(TDataSet &dataSet)
    {
        auto log = [this](const char *name) { return [this, name](TDataSet &) { events.push_back(name); }; };
        dataSet.BeforeOpen = log("BeforeOpen");
        dataSet.AfterOpen = log("AfterOpen");
        dataSet.BeforeClose = log("BeforeClose");
        dataSet.AfterClose = log("AfterClose");
        dataSet.BeforeInsert = log("BeforeInsert");
        dataSet.AfterInsert = log("AfterInsert");
        dataSet.BeforeEdit = log("BeforeEdit");
        dataSet.AfterEdit = log("AfterEdit");
        dataSet.BeforePost = log("BeforePost");
        dataSet.AfterPost = log("AfterPost");
        dataSet.BeforeCancel = log("BeforeCancel");
        dataSet.AfterCancel = log("AfterCancel");
        dataSet.BeforeDelete = log("BeforeDelete");
        dataSet.AfterDelete = log("AfterDelete");
        dataSet.BeforeScroll = log("BeforeScroll");
        dataSet.AfterScroll = log("AfterScroll");
        dataSet.OnNewRecord = log("OnNewRecord");
    }
};

// A dataset of people: id, name, and a birthday; opened with default fields.
class People : public ::testing::Test {
protected:
    void SetUp() override
    {
        people.SetName("people");
        people.FieldDefs().Add("id", ftInteger, 0, true);
        people.FieldDefs().Add("name", ftString, 20);
        people.FieldDefs().Add("born", ftDate);
        people.Open();
        add(1, "Anna");
        add(2, "Béla");
        add(3, "Cili");
    }

    void add(int id, const std::string &name)
    {
        people.Append();
        people.FieldByName("id")->SetAsInteger(id);
        people.FieldByName("name")->SetAsString(name);
        people.Post();
    }

    std::vector<std::string> names()
    {
        std::vector<std::string> result;
        people.First();
        while (!people.Eof()) {
            result.push_back(people.FieldByName("name")->AsString());
            people.Next();
        }
        return result;
    }

    // Declared first so that it outlives the dataset whose handlers write into it.
    EventLog log;
    ArrayDataSet people;
};

} // namespace

TEST_F(People, OpeningMakesDefaultFieldsFromTheDefinitionsAndClosingDropsThem)
{
    ASSERT_EQ(people.FieldCount(), 3);
    EXPECT_TRUE(people.DefaultFields());
    EXPECT_EQ(people.Fields()[1]->FieldName(), "name");
    EXPECT_EQ(people.Fields()[1]->Size(), 20);
    EXPECT_EQ(people.FieldByName("id")->FieldNo(), 1);
    EXPECT_TRUE(people.FieldByName("id")->Required());
    EXPECT_NE(dynamic_cast<TDateField *>(people.FieldByName("born")), nullptr);
    people.Close();
    EXPECT_EQ(people.FieldCount(), 0);
    EXPECT_FALSE(people.Active());
}

TEST_F(People, NavigationVisitsEveryRecordAndAnEmptyDatasetIsAtBothEnds)
{
    EXPECT_EQ(names(), (std::vector<std::string>{"Anna", "Béla", "Cili"}));
    EXPECT_TRUE(people.Eof());
    people.Last();
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Cili");
    EXPECT_TRUE(people.Eof());
    people.Prior();
    people.Prior();
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Anna");
    EXPECT_FALSE(people.Bof());
    people.Prior();
    EXPECT_TRUE(people.Bof());
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Anna");
    EXPECT_EQ(people.MoveBy(5), 2);
    EXPECT_TRUE(people.Eof());
    ArrayDataSet empty;
    empty.FieldDefs().Add("id", ftInteger);
    empty.Open();
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_TRUE(empty.Eof());
    EXPECT_TRUE(empty.Bof());
    EXPECT_TRUE(empty.FieldByName("id")->IsNull());
    EXPECT_THROW(empty.Delete(), EDatabaseError);
    empty.Insert();
    EXPECT_FALSE(empty.Bof() || empty.Eof()) << "the new record is the one at hand";
}

TEST_F(People, InsertPutsTheNewRecordBeforeTheCurrentOneAndAppendAtTheEnd)
{
    people.First();
    people.Next();
    people.Insert();
    people.FieldByName("id")->SetAsInteger(9);
    people.FieldByName("name")->SetAsString("Ede");
    people.Post();
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Ede");
    EXPECT_EQ(names(), (std::vector<std::string>{"Anna", "Ede", "Béla", "Cili"}));
    people.AppendRecord({10, "Zoli"});
    EXPECT_EQ(names().back(), "Zoli");
    EXPECT_EQ(people.RecordCount(), 5);
}

TEST_F(People, EditAndPostChangeTheRecordCancellingAnEditOrInsertLeavesItAsItWas)
{
    people.First();
    people.Edit();
    EXPECT_EQ(people.State(), dsEdit);
    people.FieldByName("name")->SetAsString("Anikó");
    EXPECT_TRUE(people.Modified());
    people.Post();
    EXPECT_EQ(people.State(), dsBrowse);
    people.Edit();
    people.FieldByName("name")->SetAsString("Valami");
    people.Cancel();
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Anikó");
    EXPECT_EQ(names().front(), "Anikó");
    people.First();
    people.Insert();
    people.FieldByName("name")->SetAsString("Senki");
    people.Cancel();
    EXPECT_EQ(people.RecordCount(), 3);
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Anikó");
}

TEST_F(People, DeleteRemovesTheCurrentRecordAndMovingAwayFromAModifiedOnePostsIt)
{
    people.First();
    people.Next();
    people.Delete();
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Cili");
    people.Delete();
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Anna");
    EXPECT_EQ(names(), std::vector<std::string>{"Anna"});
    people.First();
    people.Edit();
    people.FieldByName("name")->SetAsString("Aranka");
    people.Next();
    EXPECT_EQ(people.State(), dsBrowse);
    EXPECT_EQ(names().front(), "Aranka");
}

TEST_F(People, EventsFireInTheFrameworksOrder)
{
    log.attach(people);
    people.First();
    log.events.clear();
    people.Insert();
    people.FieldByName("id")->SetAsInteger(4);
    people.Post();
    EXPECT_EQ(log.events, (std::vector<std::string>{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert",
                                                    "AfterScroll", "BeforePost", "AfterPost"}));
    log.events.clear();
    people.Edit();
    people.Cancel();
    EXPECT_EQ(log.events, (std::vector<std::string>{"BeforeEdit", "AfterEdit", "BeforeCancel", "AfterCancel"}));
    log.events.clear();
    people.Delete();
    EXPECT_EQ(log.events, (std::vector<std::string>{"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
    log.events.clear();
    people.Close();
    people.Open();
    EXPECT_EQ(log.events, (std::vector<std::string>{"BeforeClose", "AfterClose", "BeforeOpen", "AfterOpen", "AfterScroll"}));
}

TEST_F(People, AnEventHandlerThatRaisesStopsTheOperationOtherwiseTheDatasetIsAskedInTurn)
{
    people.BeforeDelete = [](TDataSet &) { throw EAbort("no"); };
    people.First();
    EXPECT_THROW(people.Delete(), EAbort);
    EXPECT_EQ(people.RecordCount(), 3);
    people.BeforeDelete = nullptr;
    people.calls.clear();
    people.First();
    people.Edit();
    people.FieldByName("name")->SetAsString("Adél");
    people.Post();
    people.Insert();
    people.Cancel();
    people.Delete();
    people.Close();
    EXPECT_EQ(people.calls, (std::vector<std::string>{"edit", "post", "insert", "cancel", "delete", "close"}));
}

TEST_F(People, RequiredFieldsMustHaveAValueOnPostUnlessAnErrorHandlerFixesThem)
{
    people.Append();
    people.FieldByName("name")->SetAsString("Névtelen");
    try {
        people.Post();
        FAIL() << "posted without the required id";
    } catch (const EDatabaseError &error) {
        EXPECT_STREQ(error.what(), "people: A(z) 'id' mezőnek értéket kell adni");
    }
    EXPECT_EQ(people.State(), dsInsert);
    people.FieldByName("id")->SetAsInteger(7);
    people.Post();
    EXPECT_EQ(people.RecordCount(), 4);
    people.OnPostError = [](TDataSet &dataSet, EDatabaseError &, TDataAction &action) {
        dataSet.FieldByName("id")->SetAsInteger(99);
        action = daRetry;
    };
    people.Append();
    people.Post();
    EXPECT_EQ(people.FieldByName("id")->AsInteger(), 99);
}

TEST_F(People, FieldWritesOutsideEditingUnknownFieldNamesAndCursorWorkWhenClosedAreRefused)
{
    people.First();
    EXPECT_THROW(people.FieldByName("name")->SetAsString("x"), EDatabaseError);
    EXPECT_THROW(people.Post(), EDatabaseError);
    EXPECT_EQ(people.FindField("nincs"), nullptr);
    EXPECT_EQ(people.FindField("NAME"), people.FieldByName("name"));
    try {
        people.FieldByName("nincs");
        FAIL();
    } catch (const EDatabaseError &error) {
        EXPECT_STREQ(error.what(), "people: Field 'nincs' not found");
    }
    EXPECT_EQ(people.FieldByNumber(2)->FieldName(), "name");
    EXPECT_THROW(people.GetFieldList("id;nincs"), EDatabaseError);
    EXPECT_EQ(people.GetFieldList("id; name").size(), 2u);
    people.Close();
    EXPECT_THROW(people.First(), EDatabaseError);
    EXPECT_THROW(people.RecordCount(), EDatabaseError);
    EXPECT_THROW(people.Append(), EDatabaseError);
}

TEST_F(People, LocateBookmarksAndRecNoFindTheirRecord)
{
    EXPECT_TRUE(people.Locate("name", "béla", {loCaseInsensitive}));
    EXPECT_EQ(people.FieldByName("id")->AsInteger(), 2);
    EXPECT_TRUE(people.Found());
    EXPECT_TRUE(people.Locate("id;name", VarArrayOf({3, "Ci"}), {loPartialKey}));
    EXPECT_EQ(people.RecNo(), 3);
    EXPECT_FALSE(people.Locate("name", "Dani", {}));
    EXPECT_FALSE(people.Found());
    EXPECT_EQ(people.RecNo(), 3);
    EXPECT_EQ(people.Lookup("id", 1, "name").AsString(), "Anna");
    people.First();
    EXPECT_EQ(people.RecNo(), 1);
    people.SetRecNo(3);
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Cili");
    people.SetRecNo(0);
    EXPECT_EQ(people.RecNo(), 3);
    people.First();
    people.Next();
    const TBookmark mark = people.GetBookmark();
    ASSERT_FALSE(mark.empty());
    people.Last();
    people.GotoBookmark(mark);
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Béla");
    EXPECT_TRUE(people.BookmarkValid(mark));
    people.First();
    EXPECT_LT(people.CompareBookmarks(people.GetBookmark(), mark), 0);
    people.GotoBookmark(mark);
    people.Delete();
    EXPECT_FALSE(people.BookmarkValid(mark));
    EXPECT_THROW(people.GotoBookmark(mark), EDatabaseError);
}

TEST_F(People, PersistentFieldsSurviveClosingAndBindByName)
{
    ArrayDataSet table;
    table.FieldDefs().Add("code", ftString, 5);
    table.FieldDefs().Add("count", ftInteger);
    auto *count = table.Fields().Add<TIntegerField>("count");
    table.Open();
    EXPECT_FALSE(table.DefaultFields());
    EXPECT_EQ(table.FieldCount(), 1);
    EXPECT_EQ(count->FieldNo(), 2);
    table.Close();
    EXPECT_EQ(table.FieldCount(), 1);

    ArrayDataSet wrong;
    wrong.FieldDefs().Add("count", ftInteger);
    wrong.Fields().Add<TStringField>("count");
    EXPECT_THROW(wrong.Open(), EDatabaseError);
    EXPECT_FALSE(wrong.Active());
}

TEST_F(People, CalculatedFieldsAreComputedOnFetchAndWhileEditing)
{
    ArrayDataSet table;
    table.FieldDefs().Add("a", ftInteger);
    table.FieldDefs().Add("b", ftInteger);
    table.Fields().Add<TIntegerField>("a");
    table.Fields().Add<TIntegerField>("b");
    auto *sum = table.Fields().Add<TIntegerField>("sum");
    sum->SetFieldKind(fkCalculated);
    auto *label = table.Fields().Add<TStringField>("label");
    label->SetFieldKind(fkCalculated);
    int calculations = 0;
    table.OnCalcFields = [&](TDataSet &dataSet) {
        ++calculations;
        EXPECT_EQ(dataSet.State(), dsCalcFields);
        if (!dataSet.FieldByName("a")->IsNull())
            dataSet.FieldByName("sum")->SetAsInteger(dataSet.FieldByName("a")->AsInteger() +
                                                     dataSet.FieldByName("b")->AsInteger());
        dataSet.FieldByName("label")->SetAsString("x");
    };
    table.Open();
    EXPECT_EQ(sum->Offset(), 0);
    EXPECT_EQ(label->Offset(), sum->DataSize() + 1);
    EXPECT_EQ(sum->FieldNo(), -1);
    table.AppendRecord({2, 3});
    EXPECT_EQ(sum->AsInteger(), 5);
    table.Edit();
    table.FieldByName("a")->SetAsInteger(10);
    EXPECT_EQ(sum->AsInteger(), 13);
    table.SetAutoCalcFields(false);
    const int before = calculations;
    table.FieldByName("b")->SetAsInteger(0);
    EXPECT_EQ(calculations, before);
    table.Post();
    EXPECT_EQ(sum->AsInteger(), 10);
}

TEST_F(People, LookupFieldsTakeTheirValueFromTheLookupDataset)
{
    ArrayDataSet cities;
    cities.FieldDefs().Add("city_id", ftInteger);
    cities.FieldDefs().Add("city", ftString, 20);
    cities.Open();
    cities.AppendRecord({1, "Pécs"});
    cities.AppendRecord({2, "Győr"});

    ArrayDataSet homes;
    homes.FieldDefs().Add("person", ftString, 10);
    homes.FieldDefs().Add("city_id", ftInteger);
    homes.Fields().Add<TStringField>("person");
    homes.Fields().Add<TIntegerField>("city_id");
    auto *city = homes.Fields().Add<TStringField>("city_name");
    city->SetFieldKind(fkLookup);
    city->SetLookupDataSet(&cities);
    city->SetKeyFields("city_id");
    city->SetLookupKeyFields("city_id");
    city->SetLookupResultField("city");
    homes.Open();
    homes.AppendRecord({"Anna", 2});
    homes.AppendRecord({"Béla"});
    homes.First();
    EXPECT_EQ(city->AsString(), "Győr");
    homes.Next();
    EXPECT_TRUE(city->IsNull());

    ArrayDataSet incomplete;
    incomplete.FieldDefs().Add("city_id", ftInteger);
    incomplete.Fields().Add<TIntegerField>("city_id");
    incomplete.Fields().Add<TStringField>("city_name")->SetFieldKind(fkLookup);
    EXPECT_THROW(incomplete.Open(), EDatabaseError);
}

TEST_F(People, FilterHandlerHidesRecordsWhileFiltered)
{
    people.OnFilterRecord = [](TDataSet &dataSet, bool &accept) {
        accept = dataSet.FieldByName("id")->AsInteger() != 2;
    };
    people.SetFiltered(true);
    EXPECT_EQ(names(), (std::vector<std::string>{"Anna", "Cili"}));
    people.SetFiltered(false);
    EXPECT_EQ(names().size(), 3u);
}

TEST_F(People, SetFieldsAndClearFieldsWriteTheEditedRecordRefreshReReadsIt)
{
    people.First();
    people.Edit();
    people.SetFields({Variant(), Variant::Null()});
    EXPECT_TRUE(people.FieldByName("id")->IsNull());
    EXPECT_TRUE(people.FieldByName("name")->IsNull());
    people.Cancel();
    people.Edit();
    people.ClearFields();
    EXPECT_TRUE(people.FieldByName("name")->IsNull());
    people.Cancel();
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Anna");
    people.Locate("id", 2, {});
    int refreshes = 0;
    people.AfterRefresh = [&](TDataSet &) { ++refreshes; };
    people.Refresh();
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Béla");
}

TEST_F(People, BlockReadingIsAStateOfItsOwn)
{
    people.First();
    people.SetBlockReadSize(10);
    EXPECT_EQ(people.State(), dsBlockRead);
    people.Next();
    EXPECT_EQ(people.FieldByName("name")->AsString(), "Béla");
    people.SetBlockReadSize(0);
    EXPECT_EQ(people.State(), dsBrowse);
}
