#include "ArrayDataSet.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// Counts the notifications a control would receive.
class CountingLink : public TDataLink {
public:
    std::map<std::string, int> count;
    int lastScroll = 0;
    TField *lastField = nullptr;

protected:
    void ActiveChanged() override { ++count["active"]; }
    void DataSetChanged() override { ++count["changed"]; }
    void DataSetScrolled(int distance) override
    {
        ++count["scrolled"];
        lastScroll = distance;
    }
    void EditingChanged() override { ++count["editing"]; }
    void RecordChanged(TField *field) override
    {
        ++count["record"];
        lastField = field;
    }
    void UpdateData() override { ++count["update"]; }
    void LayoutChanged() override { ++count["layout"]; }
};

class Linked : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.FieldDefs().Add("n", ftInteger);
        table.Open();
        for (int i = 1; i <= 10; ++i)
            table.AppendRecord({i});
        table.First();
        source.SetDataSet(&table);
        link.SetDataSource(&source);
    }

    int current() { return table.FieldByName("n")->AsInteger(); }

    ArrayDataSet table;
    TDataSource source;
    CountingLink link;
};

} // namespace

TEST_F(Linked, ALinkIsActiveWhileItsDatasetIsOpenControlsDisabledOrNot)
{
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(link.DataSet(), &table);
    EXPECT_EQ(source.State(), dsBrowse);
    table.Close();
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(source.State(), dsInactive);
    EXPECT_EQ(link.count["active"], 2);
    source.SetEnabled(false);
    table.Open();
    EXPECT_FALSE(link.Active());
    source.SetEnabled(true);
    EXPECT_TRUE(link.Active());
    table.DisableControls();
    table.Close();
    EXPECT_FALSE(link.Active());
    table.EnableControls();
    EXPECT_FALSE(link.Active());
    CountingLink grid;
    grid.SetBufferCount(4);
    grid.SetDataSource(&source);
    table.DisableControls();
    table.Close();
    table.Open();
    table.First();
    table.EnableControls();
    EXPECT_EQ(source.State(), dsBrowse);
    EXPECT_TRUE(link.Active());
    EXPECT_TRUE(grid.Active());
    EXPECT_EQ(grid.RecordCount(), 4);
    EXPECT_EQ(current(), 1);
}

TEST_F(Linked, EditingStateFieldChangesAndScrollingReachTheLink)
{
    table.Edit();
    EXPECT_TRUE(link.Editing());
    table.FieldByName("n")->SetAsInteger(42);
    EXPECT_EQ(link.lastField, table.FieldByName("n"));
    table.Post();
    EXPECT_FALSE(link.Editing());
    EXPECT_EQ(link.count["editing"], 2);
    EXPECT_EQ(link.count["update"], 1);
    table.Next();
    EXPECT_EQ(link.count["scrolled"], 1);
    EXPECT_EQ(link.lastScroll, 1);
    EXPECT_EQ(link.ActiveRecord(), 0);
}

TEST_F(Linked, DisabledControlsHearNothingUntilEnabledThenOneChangeOrLayoutChange)
{
    link.count.clear();
    table.DisableControls();
    EXPECT_TRUE(table.ControlsDisabled());
    table.Next();
    table.Next();
    EXPECT_TRUE(link.count.empty());
    table.EnableControls();
    EXPECT_EQ(link.count, (std::map<std::string, int>{{"changed", 1}}));
    EXPECT_EQ(current(), 3);
    link.count.clear();
    table.DisableControls();
    table.Edit();
    table.FieldByName("n")->SetAsInteger(0);
    table.Cancel();
    EXPECT_TRUE(link.count.empty());
    table.EnableControls();
    EXPECT_EQ(link.count, (std::map<std::string, int>{{"layout", 1}}));
}

TEST_F(Linked, AMultiRowLinkGetsAWindowOfBuffersWhereverItOpens)
{
    CountingLink grid;
    grid.SetBufferCount(4);
    grid.SetDataSource(&source);
    EXPECT_EQ(grid.RecordCount(), 4);
    EXPECT_EQ(grid.ActiveRecord(), 0);
    // Reading the rows of the window is how a grid paints them.
    std::vector<int> rows;
    const int active = grid.ActiveRecord();
    for (int i = 0; i < grid.RecordCount(); ++i) {
        grid.SetActiveRecord(i);
        rows.push_back(current());
    }
    grid.SetActiveRecord(active);
    EXPECT_EQ(rows, (std::vector<int>{1, 2, 3, 4}));
    table.MoveBy(5);
    EXPECT_EQ(current(), 6);
    EXPECT_EQ(grid.ActiveRecord(), 3);
    table.Last();
    EXPECT_EQ(grid.RecordCount(), 4);
    EXPECT_EQ(grid.ActiveRecord(), 3);
    table.First();
    EXPECT_EQ(grid.ActiveRecord(), 0);
    EXPECT_EQ(current(), 1);
    table.Last();
    {
        CountingLink grid;
        grid.SetBufferCount(3);
        grid.SetDataSource(&source);
        EXPECT_EQ(grid.RecordCount(), 3);
        EXPECT_EQ(grid.ActiveRecord(), 2);
        grid.SetActiveRecord(0);
        EXPECT_EQ(current(), 8);
        grid.SetActiveRecord(2);
    }
    // With the grid gone a single buffer is enough again, and the record stays current.
    EXPECT_EQ(current(), 10);
    table.Prior();
    EXPECT_EQ(current(), 9);
    EXPECT_EQ(link.ActiveRecord(), 0);
    EXPECT_EQ(link.RecordCount(), 1);
}

TEST_F(Linked, DataSourceEventsFollowTheDatasetAndAutoEditPutsItIntoEditMode)
{
    int stateChanges = 0, dataChanges = 0;
    TField *changedField = nullptr;
    source.OnStateChange = [&](TDataSource &) { ++stateChanges; };
    source.OnDataChange = [&](TDataSource &, TField *field) {
        ++dataChanges;
        changedField = field;
    };
    table.Edit();
    table.FieldByName("n")->SetAsInteger(5);
    EXPECT_EQ(changedField, table.FieldByName("n"));
    table.Post();
    EXPECT_EQ(stateChanges, 2);
    EXPECT_GE(dataChanges, 2);
    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(table.State(), dsEdit);
    table.Cancel();
    link.SetReadOnly(true);
    EXPECT_FALSE(link.Edit());
    EXPECT_EQ(table.State(), dsBrowse) << "a read-only link does not edit";
    link.SetReadOnly(false);
    source.SetAutoEdit(false);
    EXPECT_FALSE(link.Edit());
    EXPECT_EQ(table.State(), dsBrowse);
}

TEST_F(Linked, ASourceCannotLinkBackToItselfAndGoingAwayLeavesNoDanglingLinks)
{
    // A detail whose master source is its own source would follow itself.
    class Detail : public ArrayDataSet {
    public:
        TDataSource *master = nullptr;

    protected:
        TDataSource *GetDataSource() const override { return master; }
    };
    Detail detail;
    TDataSource detailSource;
    detail.master = &detailSource;
    EXPECT_THROW(detailSource.SetDataSet(&detail), EDatabaseError);
    EXPECT_TRUE(detail.IsLinkedTo(&source) == false);
    {
        TDataSource temporary(&table);
        CountingLink other;
        other.SetDataSource(&temporary);
        EXPECT_TRUE(other.Active());
    }
    auto doomed = std::make_unique<ArrayDataSet>();
    doomed->FieldDefs().Add("x", ftInteger);
    doomed->Open();
    TDataSource doomedSource(doomed.get());
    CountingLink watcher;
    watcher.SetDataSource(&doomedSource);
    doomed.reset();
    EXPECT_EQ(doomedSource.DataSet(), nullptr);
    EXPECT_FALSE(watcher.Active());
}

namespace {

// A detail dataset following a master through TMasterDataLink, as the engine's tables do.
class MasterDetail : public ::testing::Test {
protected:
    void SetUp() override
    {
        master.FieldDefs().Add("id", ftInteger);
        master.FieldDefs().Add("name", ftString, 10);
        master.Open();
        master.AppendRecord({1, "egy"});
        master.AppendRecord({2, "kettő"});
        master.First();
        masterSource.SetDataSet(&master);
        detail.FieldDefs().Add("x", ftInteger);
        detail.Open();
        detail.AppendRecord({1});
        link.OnMasterChange = [this](TMasterDataLink &) { ++changes; };
        link.OnMasterDisable = [this](TMasterDataLink &) { ++disables; };
        link.SetFieldNames("id");
        link.SetDataSource(&masterSource);
    }

    ArrayDataSet master;
    TDataSource masterSource;
    ArrayDataSet detail;
    TMasterDataLink link{&detail};
    int changes = 0;
    int disables = 0;
};

} // namespace

TEST_F(MasterDetail, FieldNamesResolveOnTheMasterWhoseNewRecordsOrKeyChangesAreMasterChanges)
{
    ASSERT_EQ(link.Fields().size(), 1u);
    EXPECT_EQ(link.Fields()[0], master.FieldByName("id"));
    EXPECT_EQ(link.DetailDataSet(), &detail);
    changes = 0;
    master.Next();
    EXPECT_EQ(changes, 1);
    // Entering edit mode announces the whole record; then only key fields count.
    master.Edit();
    EXPECT_EQ(changes, 2);
    master.FieldByName("name")->SetAsString("más");
    EXPECT_EQ(changes, 2);
    master.FieldByName("id")->SetAsInteger(5);
    EXPECT_EQ(changes, 3);
    master.Cancel();
    EXPECT_THROW(link.SetFieldNames("nincs"), EDatabaseError);
}

TEST_F(MasterDetail, ClosingTheMasterDisablesTheDetailScrollingItPostsThePendingDetailEdit)
{
    detail.Edit();
    detail.FieldByName("x")->SetAsInteger(7);
    master.Next();
    EXPECT_EQ(detail.State(), dsBrowse);
    EXPECT_EQ(detail.FieldByName("x")->AsInteger(), 7);
    disables = 0;
    master.Close();
    EXPECT_EQ(disables, 1);
    changes = 0;
    master.Open();
    EXPECT_EQ(changes, 1);
}

