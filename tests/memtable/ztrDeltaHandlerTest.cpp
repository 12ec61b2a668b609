#include "memtable/ztrDeltaHandler.h"

#include "memtable/ztrTestTables.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// Writes down each handler call as "<handler> <id>", the id read from the record's current
// version (its oldest one for deletions).
class Journal : public TztrCustomDeltaHandler {
public:
    std::vector<std::string> calls;
    int retries = 0;

    // Outside a resolve there is no record to read.
    Variant idOutsideAResolve() { return Value(*MemTable()->FieldByName("id")); }

protected:
    void HandleInserted(bool &retry, TUpdateStatus &) override { note("inserted", retry); }
    void HandleDeleted(bool &retry, TUpdateStatus &) override { note("deleted", retry, true); }
    void HandleModified(bool &retry, TUpdateStatus &) override { note("modified", retry); }
    void HandleUnmodified(bool &retry, TUpdateStatus &) override { note("unmodified", retry); }

private:
    void note(const std::string &what, bool &retry, bool oldest = false)
    {
        TField &id = *MemTable()->FieldByName("id");
        calls.push_back(what + " " + Value(id, oldest).AsString());
        if (retries > 0) {
            --retries;
            retry = true;
        }
    }
};

// People 1 to 4 posted before versioning, then one of each change.
class Changes : public ::testing::Test {
protected:
    Changes()
    {
        definePeople(table);
        table.Open();
        for (int id = 1; id <= 4; ++id)
            appendPerson(table, id, "n" + std::to_string(id), id);
        table.SetEnableVersioning(true);
        table.SetDeltaHandler(&journal);
    }

    void goTo(int id) { ASSERT_TRUE(table.Locate("id", id, {})); }

    TztrMemTable table;
    Journal journal;
};

} // namespace

TEST_F(Changes, EachRecordIsReportedOnceByItsNetChange)
{
    goTo(2);
    editText(table, "nev", "uj");
    goTo(3);
    table.Delete();
    appendPerson(table, 5);
    appendPerson(table, 6);
    table.Delete(); // born and gone within the period
    goTo(5);
    editText(table, "nev", "mas"); // an insert edited is still an insert

    journal.ResolveChanges();
    EXPECT_EQ(journal.calls, (std::vector<std::string>{"unmodified 1", "modified 2", "deleted 3", "unmodified 4",
                                                       "inserted 5", "unmodified 6"}));
}

TEST_F(Changes, OldAndNewValuesOfAModifiedRecordAreBothReachable)
{
    struct Values : TztrCustomDeltaHandler {
        std::string before, after;
        void HandleModified(bool &, TUpdateStatus &) override
        {
            TField &name = *MemTable()->FieldByName("nev");
            before = Value(name, true).AsString();
            after = Value(name).AsString();
        }
    } values;
    table.SetDeltaHandler(&values);
    goTo(2);
    editText(table, "nev", "elso");
    editText(table, "nev", "masodik");
    values.OnGetValue = [](TztrCustomDeltaHandler &, TField &, Variant &value) {
        value = "<" + value.AsString() + ">";
    };
    values.ResolveChanges();
    EXPECT_EQ(values.before, "<n2>");
    EXPECT_EQ(values.after, "<masodik>");
    EXPECT_EQ(journal.MemTable(), nullptr) << "a table has one handler at a time";
}

TEST_F(Changes, RetryRepeatsAHandlerAndTheTableIsGivenBack)
{
    table.SetAttachedAutoRefresh(true);
    journal.retries = 2;
    journal.ResolveChanges();
    EXPECT_EQ(journal.calls.front(), "unmodified 1");
    EXPECT_EQ(journal.calls.size(), 6u);
    EXPECT_TRUE(table.AttachedAutoRefresh());

    // A handler that fails still gives the table back.
    struct Failing : TztrCustomDeltaHandler {
        void HandleUnmodified(bool &, TUpdateStatus &) override { throw EMemTableError("hiba"); }
    } failing;
    table.SetDeltaHandler(&failing);
    EXPECT_EQ(messageOf([&] { failing.ResolveChanges(); }), "hiba");
    EXPECT_TRUE(table.AttachedAutoRefresh());
    appendPerson(table, 9);
    EXPECT_EQ(table.RecordCount(), 5);
}

TEST(DeltaHandler, WithoutATableItRefusesAndEitherSideMayGoFirst)
{
    Journal journal;
    EXPECT_EQ(messageOf([&] { journal.ResolveChanges(); }),
              "A Delta Handler-t nem lehet minden memória táblához kötni.");
    {
        TztrMemTable table;
        table.SetDeltaHandler(&journal);
        EXPECT_EQ(journal.MemTable(), &table);
    }
    EXPECT_EQ(journal.MemTable(), nullptr);

    TztrMemTable table;
    {
        Journal shortLived;
        table.SetDeltaHandler(&shortLived);
    }
    EXPECT_EQ(table.DeltaHandler(), nullptr);
}

TEST_F(Changes, NoRecordIsLeftCurrentOnceTheChangesAreResolved)
{
    journal.ResolveChanges();
    EXPECT_EQ(journal.calls.size(), 4u);
    EXPECT_EQ(journal.CurrentRecord(), nullptr);
    EXPECT_TRUE(journal.idOutsideAResolve().IsEmpty());
}

TEST(DeltaHandler, AHandlerServesOneTableAtATime)
{
    Journal handler;
    TztrMemTable first;
    TztrMemTable second;
    first.SetDeltaHandler(&handler);

    second.SetDeltaHandler(&handler);

    EXPECT_EQ(first.DeltaHandler(), nullptr);
    EXPECT_EQ(handler.MemTable(), &second);
}
