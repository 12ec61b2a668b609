#include "memtable/ztrCustomMemTable.h"

#include "memtable/ztrTestTables.h"
#include "platform/DataSource.h"

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
