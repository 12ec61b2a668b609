#include "memtable/ztrDeltaHandler.h"

#include "memtable/ztrTestTables.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// Writes down which handler each record reached, as "inserted 10".
class RecordingHandler : public TztrCustomDeltaHandler
{
public:
    std::vector<std::string> calls;
    // Outside a resolve there is no record to read.
    Variant idOutsideAResolve() { return Value(*MemTable()->FieldByName("id")); }

protected:
    void HandleInserted(bool &, TUpdateStatus &) override { note("inserted"); }
    void HandleDeleted(bool &, TUpdateStatus &) override { note("deleted"); }
    void HandleModified(bool &, TUpdateStatus &) override
    {
        TField &name = *MemTable()->FieldByName("nev");
        note("modified");
        calls.back() += " " + Value(name, true).AsString() + "->" + Value(name).AsString();
    }
    void HandleUnmodified(bool &, TUpdateStatus &) override { note("unmodified"); }

private:
    void note(const std::string &what)
    {
        calls.push_back(what + " " + std::to_string(Value(*MemTable()->FieldByName("id")).AsInteger()));
    }
};

// Three people loaded before versioning starts: 1, 2 and 3.
void openVersionedPeople(TztrMemTable &table)
{
    definePeople(table);
    table.Open();
    appendPerson(table, 1, "egy");
    appendPerson(table, 2, "kettő");
    appendPerson(table, 3, "három");
    table.SetEnableVersioning(true);
}

bool locate(TztrMemTable &table, int id)
{
    table.First();
    while (!table.Eof()) {
        if (table.FieldByName("id")->AsInteger() == id)
            return true;
        table.Next();
    }
    return false;
}

} // namespace

TEST(DeltaHandler, ReportsTheNetChangeOfEveryRecord)
{
    TztrMemTable table;
    openVersionedPeople(table);
    RecordingHandler handler;
    table.SetDeltaHandler(&handler);
    table.SetAttachedAutoRefresh(true);

    ASSERT_TRUE(locate(table, 1));
    table.Edit();
    table.FieldByName("nev")->SetAsString("EGY");
    table.Post();
    ASSERT_TRUE(locate(table, 2));
    table.Delete();
    appendPerson(table, 10, "tíz");
    // Inserted and deleted within the period: neither inserted nor deleted.
    appendPerson(table, 20, "átmeneti");
    ASSERT_TRUE(locate(table, 20));
    table.Delete();
    // Inserted, then edited: inserted.
    appendPerson(table, 30, "új");
    ASSERT_TRUE(locate(table, 30));
    table.Edit();
    table.FieldByName("nev")->SetAsString("javított");
    table.Post();

    handler.ResolveChanges();

    EXPECT_EQ(handler.calls, (std::vector<std::string>{"modified 1 egy->EGY", "deleted 2", "unmodified 3", "inserted 10",
                                                       "unmodified 20", "inserted 30"}));
    EXPECT_TRUE(handler.idOutsideAResolve().IsEmpty());
    EXPECT_TRUE(table.AttachedAutoRefresh()) << "resolving keeps the table's setting";
    EXPECT_EQ(handler.CurrentRecord(), nullptr);
}

TEST(DeltaHandler, NeedsATableAndForgetsItWhenEitherGoes)
{
    RecordingHandler handler;
    EXPECT_EQ(messageOf([&] { handler.ResolveChanges(); }), "A Delta Handler-t nem lehet minden memória táblához kötni.");
    {
        TztrMemTable table;
        definePeople(table);
        table.SetDeltaHandler(&handler);
        EXPECT_EQ(handler.MemTable(), &table);
    }
    EXPECT_EQ(handler.MemTable(), nullptr);
    TztrMemTable table;
    {
        RecordingHandler shortLived;
        table.SetDeltaHandler(&shortLived);
    }
    EXPECT_EQ(table.DeltaHandler(), nullptr);
}
