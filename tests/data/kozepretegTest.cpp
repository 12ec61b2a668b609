#include "data/Progress.h"
#include "data/kozepreteg.h"
#include "kozepretegTestSupport.h"
#include "platform/Cp1250.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using testing::HasSubstr;

namespace {

class RecordedProgress : public Progress {
public:
    void start(int maximum, const std::string &caption) override
    {
        calls.push_back("start " + std::to_string(maximum) + " " + caption);
    }
    void setCaption(const std::string &caption) override { calls.push_back("caption " + caption); }
    void step() override { ++steps; }
    void finish() override { calls.push_back("finish"); }

    std::vector<std::string> calls;
    int steps = 0;
};

using DatabaseModuleStart = CopyDatabaseTest;
using DatabaseEmptying = CopyDatabaseTest;
using DatabaseSetup = CopyDatabaseTest;
using TableCopy = CopyDatabaseTest;

std::string fieldTexts(TDataSet &table, const TDataSet &layout)
{
    std::string text;
    for (const auto &field : layout.Fields())
        if (field->FieldKind() == fkData)
            text += table.FieldByName(field->FieldName())->AsString() + "|";
    return text;
}

void addOccasion(TztrMemTable &table, int courseId, double start, double end, const std::string &weeks)
{
    table.Append();
    table.FieldByName("kurzus_id")->SetAsInteger(courseId);
    table.FieldByName("terem_id")->SetAsInteger(-1);
    table.FieldByName("kezd_ido")->SetAsDateTime(start);
    table.FieldByName("veg_ido")->SetAsDateTime(end);
    table.FieldByName("gyakorisag")->SetAsInteger(999);
    table.FieldByName("hetek")->SetAsString(weeks);
    table.Post();
}

} // namespace

TEST_F(DatabaseModuleStart, OpensTheConnectionTheProviderFileNames)
{
    createTables();
    writeProvider(connectionString());
    TDMK &module = makeModule();
    EXPECT_TRUE(module.Conn.Connected());
    EXPECT_EQ(module.Provider, connectionString());
    EXPECT_EQ(module.Conn.ConnectionString(), connectionString());
}

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

TEST_F(DatabaseEmptying, EmptiesEveryDatabaseTable)
{
    createTables();
    for (TztrMemTable *table : copiedTables()) {
        const std::string name = table->Name().substr(3);
        database.Execute("insert into " + name + " (" + table->Fields()[0]->FieldName() + ") values (1)");
    }
    writeProvider(connectionString());
    makeModule().Urites();
    for (TztrMemTable *table : copiedTables())
        EXPECT_EQ(rowCount(table->Name().substr(3)), 0) << table->Name();
}

TEST_F(DatabaseEmptying, StopsAtAMissingTableLeavingTheLaterOnesAlone)
{
    createTables("kurzus");
    database.Execute("insert into orarend (orarend_id) values (1)");
    database.Execute("insert into alkalom (alkalom_id) values (1)");
    writeProvider(connectionString());
    try {
        makeModule().Urites();
        FAIL() << "emptying went past the missing table";
    } catch (const EADOError &error) {
        EXPECT_THAT(error.what(), HasSubstr("kurzus"));
    }
    // orarend comes before kurzus, alkalom after it.
    EXPECT_EQ(rowCount("orarend"), 0);
    EXPECT_EQ(rowCount("alkalom"), 1);
}

TEST_F(TableCopy, WritesEveryRowWithItsValuesAndAccentedText)
{
    createTables();
    writeProvider(connectionString());
    TDMK &module = makeModule();
    TztrMemTable &subjects = dm->MT_targy;
    ASSERT_GT(subjects.RecordCount(), 10);

    EXPECT_EQ(module.TablaMasolas(subjects, module.targy, 99999), subjects.RecordCount());

    TADOTable copied;
    copied.SetConnection(&database);
    copied.SetTableName("targy");
    copied.Open();
    ASSERT_EQ(copied.RecordCount(), subjects.RecordCount());
    bool accented = false;
    subjects.First();
    for (; !subjects.Eof(); subjects.Next(), copied.Next()) {
        EXPECT_EQ(fieldTexts(copied, subjects), fieldTexts(subjects, subjects));
        const std::string name = subjects.FieldByName("targy_nev")->AsString();
        accented = accented || std::any_of(name.begin(), name.end(), [](char c) { return (c & 0x80) != 0; });
    }
    EXPECT_TRUE(accented) << "the sample subjects should hold accented names";
}

TEST_F(TableCopy, OccasionsGoWithoutTheirDisplayTextsAndKeepTheirTimes)
{
    createTables();
    writeProvider(connectionString());
    TDMK &module = makeModule();
    dm->MT_alkalom.EmptyTable();
    const double start = 9 + 465.0 / 1440, end = 9 + 555.0 / 1440;
    addOccasion(dm->MT_alkalom, 222, start, end, "101010101010101");
    addOccasion(dm->MT_alkalom, 223, 3 + 0.5, 3 + 0.5625, "111111111111111");

    EXPECT_EQ(module.TablaMasolas(dm->MT_alkalom, module.alkalom, 99999), 2);
    TADOTable copied;
    copied.SetConnection(&database);
    copied.SetTableName("alkalom");
    copied.Open();
    ASSERT_EQ(copied.RecordCount(), 2);
    EXPECT_EQ(copied.FieldByName("kurzus_id")->AsInteger(), 222);
    EXPECT_DOUBLE_EQ(copied.FieldByName("kezd_ido")->AsDateTime(), start);
    EXPECT_DOUBLE_EQ(copied.FieldByName("veg_ido")->AsDateTime(), end);
    EXPECT_EQ(copied.FieldByName("hetek")->AsString(), "101010101010101");
}

TEST_F(TableCopy, StopsAtTheRowLimit)
{
    createTables();
    writeProvider(connectionString());
    TDMK &module = makeModule();
    EXPECT_EQ(module.TablaMasolas(dm->MT_terem, module.terem, 3), 3);
    EXPECT_EQ(rowCount("terem"), 3);
}

TEST_F(TableCopy, AppendsAgainWhenCopiedTwice)
{
    createTables();
    writeProvider(connectionString());
    TDMK &module = makeModule();
    module.TablaMasolas(dm->MT_oktato, module.oktato, 99999);
    module.TablaMasolas(dm->MT_oktato, module.oktato, 99999);
    EXPECT_EQ(rowCount("oktato"), 2 * dm->MT_oktato.RecordCount());
    EXPECT_EQ(module.oktato.RecordCount(), 2 * dm->MT_oktato.RecordCount());
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
    RecordedProgress progress;
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
    EXPECT_EQ(progress.calls.back(), "finish");
    EXPECT_FALSE(module.Conn.InTransaction());
    EXPECT_EQ(module.terem.State(), dsBrowse);
}

TEST_F(TableCopy, AMissingDatabaseTableIsNamed)
{
    createTables("orarend");
    writeProvider(connectionString());
    TDMK &module = makeModule();
    try {
        module.TablaMasolas(dm->MT_orarend, module.orarend, 99999);
        FAIL() << "the copy reported success";
    } catch (const ECopyError &error) {
        EXPECT_EQ(error.TableName(), "orarend");
        EXPECT_EQ(error.Row(), 0);
        EXPECT_THAT(error.what(), HasSubstr("orarend"));
    }
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

TEST_F(TableCopy, AFilterLeftOnTheTableDoesNotLeaveRowsOutAndStays)
{
    createTables();
    writeProvider(connectionString());
    TDMK &module = makeModule();
    TztrMemTable &rooms = dm->MT_terem;
    const int all = rooms.RecordCount();
    rooms.SetFilter("terem_kapacitas > 1000000");
    rooms.SetFiltered(true);
    ASSERT_TRUE(rooms.IsEmpty());
    module.TablaMasolas(rooms, module.terem, 99999);
    EXPECT_EQ(rowCount("terem"), all);
    EXPECT_TRUE(rooms.Filtered());
    EXPECT_TRUE(rooms.IsEmpty());
}

TEST_F(TableCopy, TheSourceStaysOnItsCurrentRow)
{
    createTables();
    writeProvider(connectionString());
    TDMK &module = makeModule();
    TztrMemTable &teachers = dm->MT_oktato;
    teachers.First();
    teachers.MoveBy(4);
    const std::string current = teachers.FieldByName("oktato_id")->AsString();
    module.TablaMasolas(teachers, module.oktato, 99999);
    EXPECT_EQ(teachers.FieldByName("oktato_id")->AsString(), current);
}

TEST_F(TableCopy, DrivesTheProgressRowByRow)
{
    createTables();
    writeProvider(connectionString());
    TDMK &module = makeModule();
    RecordedProgress progress;
    module.SetProgress(&progress);
    module.TablaMasolas(dm->MT_terem, module.terem, 99999);
    EXPECT_EQ(progress.calls,
              (std::vector<std::string>{"start " + std::to_string(dm->MT_terem.RecordCount()) + " Másolás: terem",
                                        "finish"}));
    EXPECT_EQ(progress.steps, dm->MT_terem.RecordCount());
}

TEST_F(TableCopy, ADestinationOpenBeforeShowsTheCopiedRows)
{
    createTables();
    writeProvider(connectionString());
    TDMK &module = makeModule();
    module.terem.Open();
    ASSERT_TRUE(module.terem.IsEmpty());
    module.TablaMasolas(dm->MT_terem, module.terem, 99999);
    EXPECT_EQ(module.terem.RecordCount(), dm->MT_terem.RecordCount());
}
