#include "data/Progress.h"
#include "data/kozepreteg.h"
#include "DataFolder.h"
#include "kozepretegTestSupport.h"
#include "platform/Cp1250.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using testing::HasSubstr;

namespace {

using DatabaseSetup = CopyDatabaseTest;
using TableCopy = CopyDatabaseTest;

} // namespace

// A connection file that gives no working connection: the program starts all the same.
struct SilentStart {
    const char *name;
    std::function<void(CopyDatabaseTest &)> prepare;
};

void PrintTo(const SilentStart &start, std::ostream *out)
{
    *out << start.name;
}

class DatabaseModuleSilentStart : public CopyDatabaseTest, public testing::WithParamInterface<SilentStart> {};

TEST_P(DatabaseModuleSilentStart, StaysClosedWithAnEmptyProvider)
{
    GetParam().prepare(*this);
    TDMK &module = makeModule();
    EXPECT_FALSE(module.Conn.Connected());
    EXPECT_EQ(module.Provider, "");
}

INSTANTIATE_TEST_SUITE_P(
    ProviderFiles, DatabaseModuleSilentStart,
    testing::Values(SilentStart{"Missing", [](CopyDatabaseTest &) {}},
                    SilentStart{"Unreadable",
                                [](CopyDatabaseTest &test) {
                                    std::filesystem::create_directory(test.folder / "provider.csv");
                                }},
                    SilentStart{"NotOpening",
                                [](CopyDatabaseTest &test) {
                                    test.writeProvider("Provider=MSDASQL.1;Driver={Microsoft Access Driver "
                                                       "(*.mdb)};Dbq=brelvix_database.mdb;");
                                }}),
    [](const testing::TestParamInfo<SilentStart> &info) { return std::string(info.param.name); });

TEST_F(DatabaseSetup, ADatabaseHoldingOneOfTheTablesIsRefusedAndKeptAsItWas)
{
    openDatabase();
    database.Execute("create table kurzus (kurzus_id integer)");
    database.Execute("insert into kurzus (kurzus_id) values (5)");
    EXPECT_THROW(makeModule().createCopyDatabase(connectionString()), EADOError);

    EXPECT_EQ(rowCount("kurzus"), 1);
    // The tables before it in the copy's order were made in the same transaction.
    EXPECT_THROW(rowCount("terem"), EADOError);
    EXPECT_FALSE(std::filesystem::exists(folder / "provider.csv"));
}

TEST_F(TableCopy, ARefusedRowStopsTheCopyNamingTableAndRow)
{
    createTables();
    database.Execute("create unique index terem_egyedi on terem (terem_id)");
    TztrMemTable &rooms = dm->MT_terem;
    rooms.First();
    rooms.Next();
    rooms.Next();
    database.Execute("insert into terem (terem_id) values (" + rooms.FieldByName("terem_id")->AsString() + ")");
    writeProvider(connectionString());
    TDMK &module = makeModule();
    RecordingProgress progress;
    module.SetProgress(&progress);

    try {
        module.TablaMasolas(rooms, module.terem, 99999);
        FAIL() << "the copy reported success";
    } catch (const ECopyError &error) {
        EXPECT_EQ(error.TableName(), "terem");
        EXPECT_EQ(error.Row(), 3);
        EXPECT_THAT(error.what(), HasSubstr("terem"));
        EXPECT_THAT(error.what(), HasSubstr("3. sor"));
        EXPECT_THAT(error.what(), HasSubstr("UNIQUE"));
    }
    EXPECT_EQ(rowCount("terem"), 1 + 2);
    EXPECT_EQ(progress.events.back(), "finish");
    EXPECT_FALSE(module.Conn.InTransaction());
    EXPECT_EQ(module.terem.State(), dsBrowse);
}

TEST_F(TableCopy, ALostConnectionIsReportedNotTakenForSuccess)
{
    createTables();
    writeProvider(connectionString());
    TDMK &module = makeModule();
    module.terem.Open();
    module.Conn.Close();
    try {
        module.TablaMasolas(dm->MT_terem, module.terem, 99999);
        FAIL() << "the copy reported success";
    } catch (const ECopyError &error) {
        EXPECT_EQ(error.Row(), 1);
        EXPECT_THAT(error.what(), HasSubstr("closed"));
    }
    EXPECT_EQ(rowCount("terem"), 0);
}

// The window's filter and current row stay; an open destination shows what was added.
TEST_F(TableCopy, CopiesTheWholeTableUpToTheLimitAndLeavesTheSourceAsItWas)
{
    createTables();
    writeProvider(connectionString());
    TDMK &module = makeModule();
    RecordingProgress progress;
    module.SetProgress(&progress);
    TztrMemTable &rooms = dm->MT_terem;
    const int all = rooms.RecordCount();
    rooms.First();
    rooms.MoveBy(4);
    const std::string current = rooms.FieldByName("terem_id")->AsString();
    module.terem.Open();

    EXPECT_EQ(module.TablaMasolas(rooms, module.terem, 99999), all);
    std::vector<std::string> shown{"start " + std::to_string(all) + " Másolás: terem"};
    shown.resize(all + 1, "step");
    shown.push_back("finish");
    EXPECT_EQ(progress.events, shown);
    EXPECT_EQ(rooms.FieldByName("terem_id")->AsString(), current);
    EXPECT_EQ(module.terem.RecordCount(), all);

    rooms.SetFilter("terem_kapacitas > 1000000");
    rooms.SetFiltered(true);
    ASSERT_TRUE(rooms.IsEmpty());
    EXPECT_EQ(module.TablaMasolas(rooms, module.terem, 99999), all);
    EXPECT_TRUE(rooms.Filtered());
    EXPECT_TRUE(rooms.IsEmpty());

    EXPECT_EQ(module.TablaMasolas(rooms, module.terem, 3), 3);
    EXPECT_EQ(rowCount("terem"), 2 * all + 3);
    EXPECT_EQ(module.terem.RecordCount(), 2 * all + 3);
}
