#include "memtable/ztrCustomMemTable.h"

#include "memtable/ztrTestTables.h"
#include "platform/DataSource.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

class PeopleTable : public ::testing::Test {
protected:
    PeopleTable()
    {
        definePeople(table);
        table.SetAttachMaxCount(2);
        table.Open();
    }

    void fill(int count)
    {
        for (int id = 1; id <= count; ++id)
            appendPerson(table, id, "n" + std::to_string(id), id * 10);
    }

    TztrMemTable table;
};

} // namespace

TEST_F(PeopleTable, CursorEditsAndBookmarksFollowTheStoredRecords)
{
    fill(4);
    table.Last();
    EXPECT_EQ(table.RecNo(), 4);
    for (const auto &[recNo, id] : {std::pair{3, 3}, {0, 3}, {5, 3}, {1, 1}, {2, 2}}) {
        table.SetRecNo(recNo);
        EXPECT_EQ(currentId(table), id) << recNo;
    }
    table.Edit();
    table.FieldByName("nev")->SetAsString("mas");
    table.Cancel();
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "n2");
    table.Edit();
    table.FieldByName("nev")->SetAsString(cp1250("Kovács"));
    table.FieldByName("pont")->Clear();
    table.Post();
    table.First();
    table.Next();
    EXPECT_EQ(table.FieldByName("nev")->AsString(), cp1250("Kovács"));
    EXPECT_TRUE(table.FieldByName("pont")->IsNull());

    // A second cursor opens on the first record and can be sent to the first one's record.
    TztrMemTable view;
    view.SetAttachedTo(&table);
    view.Open();
    EXPECT_TRUE(view.Bof());
    EXPECT_EQ(view.RecNo(), 1);
    view.GotoCurrent(table);
    EXPECT_EQ(currentId(view), 2);

    table.SetRecNo(4);
    const TBookmark bookmark = table.GetBookmark();
    table.First();
    table.GotoBookmark(bookmark);
    EXPECT_EQ(currentId(table), 4);
    table.SetRecNo(2);
    table.Delete();
    EXPECT_EQ(currentId(table), 3);
    table.Insert();
    table.FieldByName("id")->SetAsInteger(99);
    table.Post();
    EXPECT_EQ(table.RecNo(), 2);
    appendPerson(table, 100);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 99, 3, 4, 100}));
    EXPECT_EQ(table.RecordCount(), 5);

    table.GotoBookmark(bookmark);
    table.Delete();
    appendPerson(table, 6);
    EXPECT_FALSE(table.BookmarkValid(bookmark));
    EXPECT_EQ(table.CompareBookmarks(bookmark, table.GetBookmark()), 0);
    EXPECT_EQ(messageOf([&] { table.GotoBookmark(bookmark); }), "A(z) -200 bookmark nem található.");
    table.First();
    const TBookmark first = table.GetBookmark();
    table.EmptyTable();
    fill(3);
    EXPECT_FALSE(table.BookmarkValid(first));

    TztrMemTable stranger;
    definePeople(stranger);
    stranger.Open();
    appendPerson(stranger, 1);
    EXPECT_EQ(messageOf([&] { view.GotoCurrent(stranger); }), "Record not found");
}

TEST_F(PeopleTable, TheFilterEventDecidesWhatIsWalkedAndCounted)
{
    fill(6);
    int failingId = 0, keepEvery = 3;
    table.OnFilterRecord = [&](TDataSet &dataSet, bool &accept) {
        if (currentId(dataSet) == failingId)
            throw EMemTableFilterError("broken filter");
        accept = currentId(dataSet) % keepEvery == 0;
    };
    table.SetFiltered(true);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{3, 6}));
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(currentId(table), 6);
    table.SetFiltered(false);
    EXPECT_EQ(table.RecordCount(), 6);
    EXPECT_EQ(idsInOrder(table).size(), 6u);

    // A filter that fails leaves the cursor where it was.
    keepEvery = 1;
    table.SetFiltered(true);
    const std::vector<std::pair<int, std::function<void()>>> failures = {{3, [this] { table.Prior(); }},
                                                                         {6, [this] { table.RecordCount(); }}};
    for (const auto &[failing, move] : failures) {
        table.SetRecNo(4);
        failingId = failing;
        EXPECT_THROW(move(), EMemTableFilterError) << failing;
        failingId = 0;
        table.Next();
        EXPECT_EQ(currentId(table), 5) << failing;
    }
}

// The record shown stays current through an order switch, and moving on goes from its place in
// the new order rather than from the place it had in the old one.
TEST_F(PeopleTable, MovingOnAfterAnOrderSwitchStartsFromTheCurrentRecord)
{
    table.AddIndex("nevek", "nev", {});
    for (const auto &[id, name] : {std::pair{1, "d"}, {2, "c"}, {3, "b"}, {4, "a"}})
        appendPerson(table, id, name);
    table.SetRecNo(2);
    table.SetIndexName("nevek");
    EXPECT_EQ(currentId(table), 2);
    EXPECT_EQ(table.RecNo(), 3);
    table.Next();
    EXPECT_EQ(currentId(table), 1);
    table.Prior();
    table.Prior();
    EXPECT_EQ(currentId(table), 3);
    table.SetIndexName("");
    table.Next();
    EXPECT_EQ(currentId(table), 4);
}

TEST_F(PeopleTable, IndexFieldNamesAndSortOnOrderTheRecordsKeepingTheCurrentOne)
{
    table.IndexDefs().Add("nevek", "NEV", {ixDescending});
    table.Close();
    table.Open();
    appendPerson(table, 1, "c", 5);
    appendPerson(table, 2, "a", 7);
    appendPerson(table, 3, "b", 6);
    table.SetRecNo(2);
    table.SetIndexFieldNames("nev");
    EXPECT_EQ(table.IndexName(), "nevek");
    EXPECT_EQ(currentId(table), 2);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 3, 2}));
    table.SetIndexFieldNames("pont");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 3, 2}));
    table.SetIndexFieldNames("");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3}));

    // Sorting posts a pending edit and keeps the record current.
    table.SetRecNo(3);
    table.Edit();
    table.FieldByName("nev")->SetAsString("bb");
    table.SortOn("nev", {});
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(currentId(table), 3);
    EXPECT_EQ(table.CurrentIndex()->Name(), DefaultSortIndexName);
    EXPECT_EQ(table.IndexFieldNames(), "");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 3, 1}));
    appendPerson(table, 4, "ab", 8);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 4, 3, 1}));

    table.SortOn("pont", {mtcoDescending});
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{4, 2, 3, 1}));
    EXPECT_EQ(table.Indexes().Count(), 3) << "a new sort replaces the old sort index";
    table.SortOn("  ", {});
    EXPECT_EQ(table.CurrentIndex(), table.Indexes().RowOrderIndex());
    EXPECT_EQ(table.Indexes().IndexByName(DefaultSortIndexName), nullptr);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(PeopleTable, RefusedChangesLeaveTheRecords)
{
    fill(2);
    const std::vector<std::tuple<std::string, std::function<void()>, std::string>> refusals = {
        {"browse state", [&] { table.FieldByName("nev")->SetAsString("x"); }, "A dataset nincs Edit módban."},
        {"read-only field",
         [&] {
             table.FieldByName("nev")->SetReadOnly(true);
             table.Edit();
             table.FieldByName("nev")->SetAsString("x");
         },
         "A(z) nev mező írásvédett."},
        {"read-only table",
         [&] {
             table.SetReadOnly(true);
             table.Edit();
         },
         ""},
    };
    for (const auto &[name, change, message] : refusals) {
        const std::string said = messageOf(change);
        EXPECT_FALSE(said.empty()) << name << " was accepted";
        EXPECT_TRUE(message.empty() || said == message) << said;
        if (table.State() != dsBrowse)
            table.Post();
        EXPECT_EQ(table.FieldByName("nev")->AsString(), "n2") << name;
        EXPECT_EQ(table.RecordCount(), 2) << name;
    }
    table.Close();
    table.Open();
    EXPECT_TRUE(table.IsEmpty()) << "closing clears the records";

    TztrMemTable fieldless;
    EXPECT_EQ(messageOf([&] { fieldless.Open(); }), "Legalább egy mezőnek lennie kell");
    EXPECT_FALSE(fieldless.Active());
    definePeople(fieldless);
    EXPECT_EQ(messageOf([&] { fieldless.RecordCount(); }), "Cannot perform this operation on a closed dataset");
    EXPECT_THROW(fieldless.SortOn("nev", {}), EDatabaseError);
}

// A type the store cannot hold is refused with the engine's own text, naming the definition and
// the type's number, and the table stays closed; without it the same definitions open.
TEST(TableFields, ADefinitionOfATypeTheStoreCannotHoldIsRefusedByName)
{
    TztrMemTable table;
    definePeople(table);
    table.FieldDefs().Add("mutato", ftCursor);
    EXPECT_EQ(messageOf([&] { table.Open(); }), "Fielddef mutato (mutato) A(z) 22 adattípus nem támogatott.)");
    EXPECT_FALSE(table.Active());
    EXPECT_EQ(table.Fields().Count(), 0);
    table.FieldDefs().Delete(3);
    table.Open();
    EXPECT_EQ(table.Fields().Count(), 3);
}

class SharedStore : public ::testing::Test {
protected:
    SharedStore()
    {
        definePeople(owner);
        owner.SetAttachMaxCount(4);
        owner.IndexDefs().Add("pontok", "pont", {ixDescending});
        owner.Open();
    }

    std::unique_ptr<TztrMemTable> attachView(const std::string &indexName = "")
    {
        auto view = std::make_unique<TztrMemTable>();
        view->SetAttachedTo(&owner);
        if (!indexName.empty()) {
            view->IndexDefs().Add(indexName, "nev", {});
            view->SetIndexName(indexName);
        }
        view->Open();
        return view;
    }

    TztrMemTable owner;
};

TEST_F(SharedStore, EachTableSeesTheOthersChangesInItsOwnOrder)
{
    auto view = attachView("nevek");
    appendPerson(owner, 1, "cukor", 5);
    appendPerson(*view, 2, "alma", 9);
    appendPerson(owner, 3, "barack", 7);
    owner.SetIndexName("pontok");
    EXPECT_EQ(idsInOrder(owner), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(idsInOrder(*view), (std::vector<int>{2, 3, 1}));
    view->SetIndexName("");
    EXPECT_EQ(idsInOrder(*view), (std::vector<int>{1, 2, 3}));
    view->SetRecNo(2);
    view->Delete();
    EXPECT_EQ(idsInOrder(owner), (std::vector<int>{3, 1}));
    view->First();
    editText(*view, "nev", "uj");
    owner.Last();
    EXPECT_EQ(owner.FieldByName("nev")->AsString(), "uj");
    owner.EmptyTable();
    EXPECT_TRUE(view->IsEmpty());
    EXPECT_EQ(view->RecordCount(), 0);
    appendPerson(*view, 4);
    EXPECT_EQ(idsInOrder(owner), (std::vector<int>{4}));
}

TEST_F(SharedStore, AViewOpensItsOwnerAndFallsBackToAPrivateStoreWhenDetachedOrOrphaned)
{
    auto view = attachView();
    owner.Close();
    EXPECT_FALSE(view->Active());
    view->Open();
    EXPECT_TRUE(owner.Active());
    appendPerson(owner, 1);
    view->SetAttachedTo(nullptr);
    EXPECT_FALSE(view->Active());
    view->Open();
    EXPECT_EQ(view->RecordCount(), 0);
    EXPECT_NE(&view->Common(), &owner.Common());

    TztrMemTable orphan;
    {
        TztrMemTable shortLived;
        definePeople(shortLived);
        shortLived.SetAttachMaxCount(2);
        shortLived.Open();
        orphan.SetAttachedTo(&shortLived);
        orphan.Open();
        appendPerson(shortLived, 1);
    }
    EXPECT_FALSE(orphan.Active());
    EXPECT_EQ(orphan.AttachedTo(), nullptr);
    orphan.Open();
    EXPECT_EQ(orphan.RecordCount(), 0);
}

TEST_F(SharedStore, PlacesAndCalculatedFieldsOfViewsAreChecked)
{
    const std::string mustClose = "Ennek végrehajtásához be kell zárni a táblát.";
    auto view = attachView();
    auto second = attachView();
    auto third = attachView();
    TztrMemTable fourth;
    EXPECT_EQ(messageOf([&] { fourth.SetAttachedTo(&owner); }), mustClose);
    EXPECT_EQ(fourth.AttachedTo(), nullptr);
    EXPECT_EQ(fourth.Common().Owner(), &fourth);
    EXPECT_EQ(messageOf([&] { fourth.SetAttachedTo(&fourth); }), "Nem lehet a memória táblát magához csatolni.");
    EXPECT_EQ(messageOf([&] { fourth.SetAttachedTo(view.get()); }), "Nem lehet egy már csatolt táblához csatolni.");
    EXPECT_EQ(messageOf([&] { view->SetAttachMaxCount(5); }), mustClose);
    second.reset();
    third.reset();
    view->Close();
    owner.Close();
    EXPECT_THROW(owner.SetAttachMaxCount(1), ERangeError); // the view still holds place 1
    owner.SetAttachMaxCount(6);
    EXPECT_EQ(view->AttachMaxCount(), 6);

    // Calculated fields of a view would be laid over the shared record's bookmark area.
    owner.Open();
    TztrMemTable calculating;
    calculating.SetAttachedTo(&owner);
    TField *extra = calculating.Fields().Add(CreateFieldOfType(ftString));
    extra->SetFieldName("szamitott");
    extra->SetSize(30);
    extra->SetFieldKind(fkCalculated);
    EXPECT_EQ(messageOf([&] { calculating.Open(); }),
              "A csatolt tábla számított mezői nem férnek el a közös rekordban.");
    EXPECT_FALSE(calculating.Active());
    EXPECT_TRUE(owner.Active());
}

// A record deleted through one cursor while another edits it: its ID goes to the next new record.
TEST_F(SharedStore, AStaleBufferCannotReadOrPostOverTheRecordThatTookItsPlace)
{
    owner.Close();
    owner.FieldDefs().Clear();
    definePeople(owner, 30); // long names live outside the record
    owner.SetPerformance(mtpfBalanced);
    owner.Open();
    auto view = attachView();
    for (int id = 1; id <= 3; ++id)
        appendPerson(owner, id, "name of person " + std::to_string(id), id);
    owner.SetRecNo(2);
    owner.Edit();
    owner.FieldByName("pont")->SetAsInteger(99);
    view->SetRecNo(2);
    view->Delete();
    appendPerson(*view, 4, "name of the newcomer", 4);

    EXPECT_THROW(owner.FieldByName("nev")->AsString(), EMemTableInvalidRecord) << "no long text of the newcomer";
    EXPECT_THROW(owner.Post(), EMemTableInvalidRecord);
    owner.Cancel();
    EXPECT_EQ(idsInOrder(owner), (std::vector<int>{1, 3, 4}));
    owner.Last();
    EXPECT_EQ(owner.FieldByName("nev")->AsString(), "name of the newcomer");
    EXPECT_EQ(owner.FieldByName("pont")->AsInteger(), 4);

}

TEST_F(SharedStore, FailedEmptyingLeavesEveryTableAsItWas)
{
    owner.IndexDefs().Add("kulcs", "id", {ixUnique});
    owner.Close();
    owner.Open();
    auto view = attachView();
    appendPerson(owner, 1, "a", 1);
    appendPerson(owner, 2, "b", 2);
    TztrMemTable source;
    definePeople(source);
    source.Open();
    appendPerson(source, 7, "c", 3);
    const std::vector<std::function<void()>> emptyings = {[this] { owner.EmptyTable(); },
                                                         [&] { owner.LoadFromDataSet(source, {}); }};
    for (const auto &empty : emptyings) {
        // A pending record that cannot be posted: its key is taken.
        view->Append();
        setPerson(*view, 1, "dup", 0);
        EXPECT_THROW(empty(), EMemTableDupKey);
        EXPECT_FALSE(owner.ControlsDisabled());
        EXPECT_EQ(idsInOrder(owner), (std::vector<int>{1, 2}));
        EXPECT_EQ(view->State(), dsInsert);
        view->Cancel();
        EXPECT_EQ(idsInOrder(*view), (std::vector<int>{1, 2}));
    }
}

TEST_F(PeopleTable, RollbackUndoesInsertsEditsAndDeletesLevelByLevel)
{
    EXPECT_EQ(messageOf([&] { table.StartTransaction(); }),
              "A tranzakcióhoz szükséges a multiversion verzió nyilvántartás.");
    fill(3);
    table.SetEnableVersioning(true);
    table.SetVersioningMode(mtvmAllSinceCheckPoint);
    table.StartTransaction();
    appendPerson(table, 4);
    EXPECT_EQ(table.UpdateStatus(), usInserted);
    table.First();
    editText(table, "nev", "marad");
    EXPECT_EQ(table.UpdateStatus(), usModified);
    table.StartTransaction();
    EXPECT_EQ(table.Common().TransactionLevel(), 2);
    editText(table, "nev", "belso");
    table.SetRecNo(2);
    table.Delete();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 3, 4}));
    // The inner rollback brings the deleted record back and the outer transaction's edit.
    table.Rollback();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3, 4}));
    table.First();
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "marad");
    table.Rollback();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3}));
    table.First();
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "n1");
    EXPECT_EQ(table.Common().TransactionLevel(), 0);
}

TEST_F(PeopleTable, PostedTextsStayReadableWhileTheInsertEndsAndAfter)
{
    std::vector<std::string> seenOnStateChange;
    TDataSource source(&table);
    source.OnStateChange = [&](TDataSource &) {
        if (table.State() == dsBrowse && !table.IsEmpty())
            seenOnStateChange.push_back(table.FieldByName("nev")->AsString());
    };
    const std::string name = "hossz\xFA n\xE9v \"x\"\t";
    table.Append();
    setPerson(table, 1, name, 10);
    table.Post();
    EXPECT_EQ(seenOnStateChange, std::vector<std::string>{name});
    EXPECT_EQ(table.FieldByName("nev")->AsString(), name);
    for (int id = 2; id <= 40; ++id)
        appendPerson(table, id, name + std::to_string(id), id);
    table.First();
    EXPECT_EQ(table.FieldByName("nev")->AsString(), name);
    table.Last();
    EXPECT_EQ(table.FieldByName("nev")->AsString(), name + "40");

    // A post the unique index refuses leaves the typed values in the open insert.
    table.Close();
    table.IndexDefs().Add("id_ix", "id", {ixUnique});
    table.Open();
    appendPerson(table, 1, "els\xF5", 1);
    table.Append();
    setPerson(table, 1, "m\xE1sodik hossz\xFA n\xE9v", 2);
    EXPECT_THROW(table.Post(), EMemTableDupKey);
    ASSERT_EQ(table.State(), dsInsert);
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "m\xE1sodik hossz\xFA n\xE9v");
    table.FieldByName("id")->SetAsInteger(2);
    table.Post();
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "m\xE1sodik hossz\xFA n\xE9v");
}

class RecordValues : public ::testing::TestWithParam<TztrPerformance> {};

TEST_P(RecordValues, ShortAndLongTextsRoundTripUnderEveryPerformance)
{
    TztrMemTable table;
    table.FieldDefs().Add("rovid", ftString, 12);
    table.FieldDefs().Add("hosszu", ftString, 13);
    table.FieldDefs().Add("szeles", ftWideString, 30);
    table.SetPerformance(GetParam());
    table.Open();
    table.Append();
    table.FieldByName("rovid")->SetAsString(cp1250("tizenkettő12"));
    table.FieldByName("hosszu")->SetAsString(cp1250("tizenhárom 13"));
    table.FieldByName("szeles")->SetAsWideString(u"Árvíztűrő tükörfúrógép");
    table.Post();
    table.Append();
    table.FieldByName("hosszu")->SetAsString("masik");
    table.Post();
    table.First();
    EXPECT_EQ(table.FieldByName("rovid")->AsString(), cp1250("tizenkettő12"));
    EXPECT_EQ(table.FieldByName("hosszu")->AsString(), cp1250("tizenhárom 13"));
    EXPECT_EQ(table.FieldByName("szeles")->AsWideString(), u"Árvíztűrő tükörfúrógép");
    table.Edit();
    table.FieldByName("rovid")->SetAsString("uj");
    table.Post();
    EXPECT_EQ(table.FieldByName("hosszu")->AsString(), cp1250("tizenhárom 13"));
    table.Edit();
    table.FieldByName("hosszu")->Clear();
    table.Post();
    EXPECT_TRUE(table.FieldByName("hosszu")->IsNull());
    table.Next();
    EXPECT_EQ(table.FieldByName("hosszu")->AsString(), "masik");
    EXPECT_TRUE(table.FieldByName("szeles")->IsNull());
}

INSTANTIATE_TEST_SUITE_P(Performance, RecordValues, ::testing::Values(mtpfFast, mtpfBalanced, mtpfSmall));

class StaleBuffer : public SharedStore {
protected:
    StaleBuffer()
    {
        owner.Close();
        owner.FieldDefs().Clear();
        definePeople(owner, 30); // long names live outside the record
        owner.SetPerformance(mtpfBalanced);
        owner.Open();
        view = attachView();
        for (int id = 1; id <= 3; ++id)
            appendPerson(owner, id, "name of person " + std::to_string(id), id);
        owner.SetRecNo(2);
        owner.Edit();
        owner.FieldByName("pont")->SetAsInteger(99);
        view->SetRecNo(2);
        view->Delete();
        appendPerson(*view, 4, "name of the newcomer", 4);
    }

    std::unique_ptr<TztrMemTable> view;
};

namespace {

int sortIndexCount(TztrCustomMemTable &table)
{
    int count = 0;
    for (int i = 0; i < table.Indexes().Count(); ++i)
        count += table.Indexes().Index(i)->Name() == DefaultSortIndexName;
    return count;
}

} // namespace

TEST(MemTableEvents, OpenInsertPostCancelDeleteCloseInTheOrderAUserSees)
{
    std::vector<std::string> events; // outlives the table, whose closing still reports
    TztrMemTable table;
    definePeople(table);
    auto note = [&events](const char *name) { return [&events, name](TDataSet &) { events.push_back(name); }; };
    table.BeforeOpen = note("BeforeOpen");
    table.AfterOpen = note("AfterOpen");
    table.BeforeClose = note("BeforeClose");
    table.AfterClose = note("AfterClose");
    table.BeforeInsert = note("BeforeInsert");
    table.AfterInsert = note("AfterInsert");
    table.BeforePost = note("BeforePost");
    table.AfterPost = note("AfterPost");
    table.BeforeCancel = note("BeforeCancel");
    table.AfterCancel = note("AfterCancel");
    table.BeforeDelete = note("BeforeDelete");
    table.AfterDelete = note("AfterDelete");
    table.BeforeScroll = note("BeforeScroll");
    table.AfterScroll = note("AfterScroll");
    table.OnNewRecord = note("OnNewRecord");

    table.Open();
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeOpen", "AfterOpen"}));
    events.clear();
    table.Append();
    table.FieldByName("id")->SetAsInteger(1);
    table.Post();
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert",
                                                "AfterScroll", "BeforePost", "AfterPost"}));
    events.clear();
    table.Insert();
    table.Cancel();
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert",
                                                "AfterScroll", "BeforeCancel", "BeforeScroll", "AfterCancel",
                                                "AfterScroll"}));
    events.clear();
    table.Delete();
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
    events.clear();
    appendPerson(table, 2);
    table.Close();
    events.erase(events.begin(), events.end() - 2);
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeClose", "AfterClose"}));
    events.clear();
    table.Open();
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeOpen", "AfterOpen"}));
}

TEST_F(PeopleTable, AnOpenedViewStandsOnTheFirstRecordAndGoesToTheCurrentOneOfItsStore)
{
    table.Close();
    table.SetAttachMaxCount(2);
    table.Open();
    fill(4);
    TztrMemTable view;
    view.SetAttachedTo(&table);
    view.Open();
    EXPECT_FALSE(view.IsEmpty());
    EXPECT_TRUE(view.Bof());
    EXPECT_EQ(view.FieldByName("id")->AsInteger(), 1);
    EXPECT_EQ(view.RecNo(), 1);
    table.SetRecNo(3);
    view.GotoCurrent(table);
    EXPECT_EQ(view.FieldByName("id")->AsInteger(), 3);
    TztrMemTable stranger;
    definePeople(stranger);
    stranger.Open();
    appendPerson(stranger, 1);
    EXPECT_EQ(messageOf([&] { view.GotoCurrent(stranger); }), "Record not found");
}

TEST_F(PeopleTable, BookmarksReturnToTheirRecordUntilItIsGone)
{
    fill(5);
    table.SetRecNo(4);
    const TBookmark bookmark = table.GetBookmark();
    table.First();
    EXPECT_LT(table.CompareBookmarks(table.GetBookmark(), bookmark), 0);
    EXPECT_EQ(table.CompareBookmarks(bookmark, bookmark), 0);
    table.GotoBookmark(bookmark);
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 4);
    table.Delete();
    appendPerson(table, 6);
    EXPECT_FALSE(table.BookmarkValid(bookmark));
    try {
        table.GotoBookmark(bookmark);
        FAIL() << "a stale bookmark was followed";
    } catch (const EMemTableError &error) {
        EXPECT_STREQ(error.what(), "A(z) -200 bookmark nem található.");
    }
    table.First();
    const TBookmark first = table.GetBookmark();
    table.EmptyTable();
    fill(3);
    EXPECT_FALSE(table.BookmarkValid(first));
}

TEST_F(PeopleTable, FilteredCountCountsAcceptedRecordsAndFindRecordUsesTheFilterAlways)
{
    fill(6);
    table.OnFilterRecord = [](TDataSet &dataSet, bool &accept) {
        accept = dataSet.FieldByName("id")->AsInteger() % 3 == 0;
    };
    EXPECT_TRUE(table.FindFirst());
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 3);
    EXPECT_TRUE(table.FindNext());
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 6);
    EXPECT_FALSE(table.FindNext());
    EXPECT_TRUE(table.FindPrior());
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 3);
    EXPECT_TRUE(table.FindLast());
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 6);
    table.SetFiltered(true);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{3, 6}));
    table.Last();
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 6);
    table.SetFiltered(false);
    EXPECT_EQ(table.RecordCount(), 6);
}

TEST_F(PeopleTable, AFailingFilterLeavesTheCursorWhereItWas)
{
    fill(6);
    int failingId = 0;
    table.OnFilterRecord = [&failingId](TDataSet &dataSet, bool &accept) {
        if (dataSet.FieldByName("id")->AsInteger() == failingId)
            throw EMemTableFilterError("broken filter");
        accept = true;
    };
    table.SetFiltered(true);
    const std::vector<std::pair<int, std::function<void()>>> failures = {
        {3, [this] { table.Prior(); }},
        {6, [this] { table.RecordCount(); }},
    };
    for (const auto &[failing, move] : failures) {
        table.SetRecNo(4);
        failingId = failing;
        EXPECT_THROW(move(), EMemTableFilterError) << failing;
        failingId = 0;
        table.Next();
        EXPECT_EQ(table.FieldByName("id")->AsInteger(), 5) << failing;
    }
}

TEST_F(PeopleTable, IndexFieldNamesSwitchesOrderAndKeepsTheCurrentRecord)
{
    table.IndexDefs().Add("nevek", "NEV", {ixDescending});
    table.Close();
    table.Open();
    fill(3);
    table.SetRecNo(2);
    table.SetIndexFieldNames("nev");
    EXPECT_EQ(table.IndexName(), "nevek");
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 2);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{3, 2, 1}));
    table.SetIndexFieldNames("pont");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{3, 2, 1}));
    table.SetIndexFieldNames("");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3}));
}

TEST_F(PeopleTable, AutoRepositionFollowsTheEditedRecord)
{
    table.Close();
    table.IndexDefs().Add("pontok", "pont", {});
    table.SetIndexName("pontok");
    table.Open();
    fill(4);
    table.SetAutoReposition(true);
    table.First();
    table.Edit();
    table.FieldByName("pont")->SetAsInteger(35);
    table.Post();
    EXPECT_EQ(table.FieldByName("id")->AsInteger(), 1);
    EXPECT_EQ(table.RecNo(), 3);
}

TEST(RecordValuesCompressed, SmallTablesPassLongValuesThroughTheCompressionEvents)
{
    TztrMemTable table;
    table.FieldDefs().Add("hosszu", ftString, 40);
    table.SetPerformance(mtpfSmall);
    int compressed = 0;
    table.OnCompressField = [&compressed](TztrCustomMemTable &, TField *, std::string &data) {
        ++compressed;
        std::reverse(data.begin(), data.end());
    };
    table.OnDecompressField = [](TztrCustomMemTable &, TField *, std::string &data) {
        std::reverse(data.begin(), data.end());
    };
    table.SetIndexFieldNames("hosszu");
    table.IndexDefs().Add("szoveg", "hosszu", {});
    table.Open();
    for (const char *text : {"cukor", "alma", "barack"}) {
        table.Append();
        table.FieldByName("hosszu")->SetAsString(text);
        table.Post();
    }
    EXPECT_EQ(compressed, 3);
    table.First();
    std::vector<std::string> texts;
    for (; !table.Eof(); table.Next())
        texts.push_back(table.FieldByName("hosszu")->AsString());
    EXPECT_EQ(texts, (std::vector<std::string>{"alma", "barack", "cukor"}));
}

TEST(RecordValuesSetup, SetupEventCanMoveAShortFieldOutOfTheRecord)
{
    TztrMemTable table;
    definePeople(table);
    table.OnSetupField = [](TztrCustomMemTable &, TField *field, std::uint8_t &flags) {
        if (field->FieldName() == "nev")
            flags |= FieldFlagIndirect;
    };
    table.Open();
    appendPerson(table, 1, cp1250("kívül"));
    EXPECT_TRUE(table.Common().Layout().IsIndirect(table.FieldByName("nev")->FieldNo()));
    EXPECT_EQ(table.FieldByName("nev")->AsString(), cp1250("kívül"));
}

TEST(MemTableClosed, ClosedOrFieldlessTablesRefuseWork)
{
    TztrMemTable table;
    try {
        table.Open();
        FAIL() << "a table without fields opened";
    } catch (const EMemTableError &error) {
        EXPECT_STREQ(error.what(), "Legalább egy mezőnek lennie kell");
    }
    EXPECT_FALSE(table.Active());
    definePeople(table);
    try {
        table.RecordCount();
        FAIL() << "a closed table was counted";
    } catch (const EDatabaseError &error) {
        EXPECT_STREQ(error.what(), "Cannot perform this operation on a closed dataset");
    }
    EXPECT_THROW(table.SortOn("nev", {}), EDatabaseError);
}

TEST_F(SharedStore, AViewTakesTheOwnersFieldsWithTheirProperties)
{
    owner.FieldByName("nev")->SetDisplayLabel(cp1250("Név"));
    owner.FieldByName("pont")->SetDefaultExpression("3");
    owner.FieldByName("id")->SetReadOnly(true);
    auto view = attachView();
    ASSERT_EQ(view->FieldCount(), 3);
    EXPECT_EQ(view->FieldByName("nev")->DisplayLabel(), cp1250("Név"));
    EXPECT_EQ(view->FieldByName("nev")->Size(), 20);
    EXPECT_TRUE(view->FieldByName("id")->ReadOnly());
    view->Append();
    EXPECT_EQ(view->FieldByName("pont")->AsInteger(), 3);
    view->Cancel();
}

TEST_F(SharedStore, PlacesAndStandaloneChangeOnlyWhileEverythingIsClosed)
{
    const std::string mustClose = "Ennek végrehajtásához be kell zárni a táblát.";
    auto view = attachView();
    auto second = attachView();
    auto third = attachView();
    TztrMemTable fourth;
    EXPECT_EQ(messageOf([&] { fourth.SetAttachedTo(&owner); }), mustClose);
    EXPECT_EQ(fourth.AttachedTo(), nullptr);
    EXPECT_EQ(fourth.Common().Owner(), &fourth);
    EXPECT_EQ(messageOf([&] { fourth.SetAttachedTo(&fourth); }), "Nem lehet a memória táblát magához csatolni.");
    EXPECT_EQ(messageOf([&] { fourth.SetAttachedTo(view.get()); }), "Nem lehet egy már csatolt táblához csatolni.");
    EXPECT_NO_THROW(owner.SetAttachMaxCount(4));
    EXPECT_EQ(messageOf([&] { view->SetAttachMaxCount(5); }), mustClose);
    EXPECT_EQ(messageOf([&] { owner.SetStandalone(true); }), mustClose);
    EXPECT_THROW(owner.SetPerformance(mtpfSmall), EMemTableError);
    EXPECT_NO_THROW(owner.SetPerformance(mtpfFast));
    second.reset();
    third.reset();
    view->Close();
    EXPECT_EQ(messageOf([&] { view->SetStandalone(true); }), "Table is attached to another table.");
    owner.Close();
    EXPECT_EQ(messageOf([&] { owner.SetStandalone(true); }), "Children are attached to this table.");
    EXPECT_THROW(owner.SetAttachMaxCount(1), ERangeError); // the view still holds place 1
    owner.SetAttachMaxCount(6);
    EXPECT_EQ(view->AttachMaxCount(), 6);
    owner.SetPerformance(mtpfSmall);
    EXPECT_EQ(owner.Performance(), mtpfSmall);
    view->SetAttachedTo(nullptr);
    owner.SetStandalone(true);
    owner.Open();
    appendPerson(owner, 1);
    EXPECT_EQ(owner.RecordCount(), 1);
}

TEST_F(StaleBuffer, PostAndDeleteAreRefusedAndTheNewRecordKeepsItsValues)
{
    EXPECT_THROW(owner.FieldByName("nev")->AsString(), EMemTableInvalidRecord) << "no long text of the newcomer";
    EXPECT_THROW(owner.Post(), EMemTableInvalidRecord);
    owner.Cancel();
    EXPECT_EQ(idsInOrder(owner), (std::vector<int>{1, 3, 4}));
    owner.Last();
    EXPECT_EQ(owner.FieldByName("nev")->AsString(), "name of the newcomer");
    EXPECT_EQ(owner.FieldByName("pont")->AsInteger(), 4);

    view->SetAttachedAutoRefresh(false);
    view->SetRecNo(1);
    TztrMemTable other;
    other.SetAttachedTo(&owner);
    other.Open();
    other.First();
    view->Delete(); // the view's buffer of record 1 goes stale for other
    appendPerson(*view, 5, "name of another newcomer", 5);
    EXPECT_THROW(other.Delete(), EMemTableInvalidRecord);
    EXPECT_EQ(idsInOrder(*view), (std::vector<int>{3, 4, 5}));
}

TEST_F(PeopleTable, RollbackUndoesInsertsEditsAndDeletesAndCommitKeepsThem)
{
    EXPECT_EQ(messageOf([&] { table.StartTransaction(); }), "A tranzakcióhoz szükséges a multiversion verzió nyilvántartás.");
    fill(3);
    table.SetEnableVersioning(true);
    table.SetVersioningMode(mtvmAllSinceCheckPoint);
    table.StartTransaction();
    appendPerson(table, 4);
    table.First();
    table.Edit();
    table.FieldByName("nev")->SetAsString("atirva");
    table.Post();
    table.SetRecNo(2);
    table.Delete();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(table.UpdateStatus(), usInserted);
    table.Rollback();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3}));
    table.First();
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "n1");
    EXPECT_EQ(table.Common().TransactionLevel(), 0);

    table.StartTransaction();
    table.Edit();
    table.FieldByName("nev")->SetAsString("marad");
    table.Post();
    EXPECT_EQ(table.UpdateStatus(), usModified);
    table.Commit();
    table.Rollback();
    table.First();
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "marad");

    // An inner rollback brings a deleted record back as the outer transaction left it.
    table.StartTransaction();
    table.Edit();
    table.FieldByName("nev")->SetAsString("kulso");
    table.Post();
    table.StartTransaction();
    table.Delete();
    table.Rollback();
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3}));
    table.First();
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "kulso");
    table.Rollback();
    table.First();
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "marad");
}

TEST_F(SharedStore, ViewWithMoreCalculatedFieldsThanTheOwnerIsRefused)
{
    TztrMemTable view;
    view.SetAttachedTo(&owner);
    TField *extra = view.Fields().Add(CreateFieldOfType(ftString));
    extra->SetFieldName("szamitott");
    extra->SetSize(30);
    extra->SetFieldKind(fkCalculated);
    try {
        view.Open();
        FAIL() << "calculated fields were laid over the bookmark area";
    } catch (const EMemTableError &error) {
        EXPECT_STREQ(error.what(), "A csatolt tábla számított mezői nem férnek el a közös rekordban.");
    }
    EXPECT_FALSE(view.Active());
    EXPECT_TRUE(owner.Active());
}

TEST_F(PeopleTable, ClosingDropsAPendingEdit)
{
    fill(1);
    std::vector<std::string> events;
    table.BeforeCancel = [&events](TDataSet &) { events.push_back("BeforeCancel"); };
    table.BeforeClose = [&events](TDataSet &) { events.push_back("BeforeClose"); };
    table.Edit();
    table.FieldByName("nev")->SetAsString("elveszik");
    table.Close();
    table.BeforeCancel = nullptr;
    table.BeforeClose = nullptr;
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeCancel", "BeforeClose"}));
}

TEST_F(PeopleTable, HeldStoreKeepsTheControlsQuietButFieldChangesCount)
{
    fill(2);
    TDataSource source;
    source.SetDataSet(&table);
    int controlEvents = 0;
    source.OnDataChange = [&controlEvents](TDataSource &, TField *) { ++controlEvents; };
    int fieldChanges = 0;
    table.FieldByName("nev")->OnChange = [&fieldChanges](TField &) { ++fieldChanges; };
    table.Lock();
    table.First();
    table.Edit();
    table.FieldByName("nev")->SetAsString("zarolva");
    EXPECT_TRUE(table.Modified());
    table.Post();
    table.Unlock();
    EXPECT_EQ(controlEvents, 0);
    EXPECT_EQ(fieldChanges, 1);
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "zarolva");
    table.Next();
    EXPECT_GT(controlEvents, 0);
    source.SetDataSet(nullptr);
}

TEST_F(PeopleTable, SortingAgainReplacesTheSortIndexAndNoFieldsGoBackToRowOrder)
{
    appendPerson(table, 1, "c", 5);
    appendPerson(table, 2, "a", 7);
    appendPerson(table, 3, "b", 6);
    table.SortOn("nev", {});
    table.SortOn("pont", {mtcoDescending});
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(sortIndexCount(table), 1);
    EXPECT_EQ(table.SortFields(), "pont");
    // Written directly, the sort fields are kept for later without sorting now.
    table.SetSortFields("nev");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 3, 1}));
    table.SortOn("  ", {});
    EXPECT_EQ(table.CurrentIndex(), table.Indexes().RowOrderIndex());
    EXPECT_EQ(sortIndexCount(table), 0);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3}));
}

TEST_F(PeopleTable, LanguageAndSortPartsOfTheLocaleSortTheIndexesAgain)
{
    table.IndexDefs().Add("nevek", "nev", {});
    table.Close();
    table.Open();
    table.SetLocaleID(0x0409); // English: cs is two letters, so csiga comes before cukor
    appendPerson(table, 1, "cukor", 1);
    appendPerson(table, 2, "csiga", 2);
    table.SetIndexFieldNames("nev");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 1}));

    table.SetLanguageID(0x0E); // Hungarian, with the sub-language kept: cs follows c
    EXPECT_EQ(table.LocaleID(), 0x040E);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2}));

    table.SetSubLanguageID(1);
    table.SetSortID(0);
    EXPECT_EQ(table.SortID(), 0);
    EXPECT_EQ(table.LocaleID(), 0x040E);
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2}));
    // Setting what is already set changes nothing.
    table.SetStandalone(table.Standalone());
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2}));
}

TEST_F(PeopleTable, RollbackOfTheLastRecordsLeavesTheCursorOnTheLastKeptOne)
{
    fill(3);
    table.SetEnableVersioning(true);
    table.SetVersioningMode(mtvmAllSinceCheckPoint);
    table.Commit(); // nothing to commit: no change
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{1, 2, 3}));
    table.StartTransaction();
    appendPerson(table, 4);
    appendPerson(table, 5);
    table.Last();
    table.Rollback();
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_FALSE(table.Eof());
    EXPECT_EQ(currentId(table), 3);
    EXPECT_EQ(table.RecNo(), 3);
}

TEST_F(PeopleTable, BookmarksCompareInTheOrderOfTheCurrentIndex)
{
    table.IndexDefs().Add("pontok", "pont", {});
    table.Close();
    table.Open();
    appendPerson(table, 1, "a", 30);
    appendPerson(table, 2, "b", 10);
    appendPerson(table, 3, "c", 10);
    auto bookmarkOf = [&](int id) {
        EXPECT_TRUE(table.Locate("id", Variant(id), {}));
        return table.Bookmark();
    };
    const TBookmark first = bookmarkOf(1), second = bookmarkOf(2), third = bookmarkOf(3);
    EXPECT_LT(table.CompareBookmarks(first, second), 0);
    table.SetIndexName("pontok");
    EXPECT_GT(table.CompareBookmarks(first, second), 0);
    EXPECT_LT(table.CompareBookmarks(second, third), 0); // equal keys: the older record first
    EXPECT_GT(table.CompareBookmarks(third, second), 0);
    EXPECT_EQ(table.CompareBookmarks(third, third), 0);
    EXPECT_TRUE(table.FieldByName("pont")->IsIndexField());
    EXPECT_FALSE(table.FieldByName("nev")->IsIndexField());
}

TEST_F(PeopleTable, RecNoIsUnknownOnAnEmptyOrClosedTable)
{
    EXPECT_EQ(table.RecNo(), -1);
    fill(2);
    table.Last();
    EXPECT_EQ(table.RecNo(), 2);
    table.Close();
    EXPECT_EQ(table.RecNo(), -1);
}

TEST(BalancedTableBytes, LongByteValuesKeptOutsideTheRecordReadBackWhole)
{
    TztrMemTable table;
    table.FieldDefs().Add("id", ftInteger);
    table.FieldDefs().Add("valtozo", ftVarBytes, 20);
    table.FieldDefs().Add("fix", ftBytes, 16);
    table.SetPerformance(mtpfBalanced);
    table.Open();
    const std::string varying("ab\0cd", 5);
    const std::string fixed("0123456789\0abcde", 16);
    table.Append();
    table.FieldByName("id")->SetAsInteger(1);
    table.FieldByName("valtozo")->SetAsString(varying);
    table.FieldByName("fix")->SetAsString(fixed);
    table.Post();
    table.Append();
    table.FieldByName("id")->SetAsInteger(2);
    table.Post();
    table.First();
    EXPECT_EQ(table.FieldByName("valtozo")->AsString(), varying);
    EXPECT_EQ(table.FieldByName("fix")->AsString(), fixed);
    table.Edit();
    table.FieldByName("id")->SetAsInteger(7);
    table.Post();
    EXPECT_EQ(table.FieldByName("valtozo")->AsString(), varying);
    EXPECT_EQ(table.FieldByName("fix")->AsString(), fixed);
}

TEST(ClosedTableIndexes, AnIndexAddedWhileClosedIsDefinedWithItsOptionsAndOrdersAfterOpening)
{
    TztrMemTable table;
    definePeople(table);
    table.AddIndex2("pontok", "pont", {mtcoDescending, mtcoNonMaintained}, {});
    const TIndexDef *definition = table.IndexDefs().Find("pontok");
    EXPECT_TRUE(definition->Options().Contains(ixDescending));
    EXPECT_TRUE(definition->Options().Contains(ixNonMaintained));
    table.Open();
    appendPerson(table, 1, "a", 10);
    appendPerson(table, 2, "b", 30);
    appendPerson(table, 3, "c", 20);
    table.SetIndexName("pontok");
    EXPECT_EQ(idsInOrder(table), (std::vector<int>{2, 3, 1}));
}
