#include "platform/ADODB.h"
#include "platform/Cp1250.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using testing::HasSubstr;

namespace {

// A fresh SQLite database file in a folder of its own, reached through the ODBC driver.
class SqliteDatabase : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "adodb-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        connection.SetConnectionString(connectionString());
        connection.Open();
        connection.Execute("create table terem (terem_id integer, terem_kod varchar(40), terem_kapacitas integer, "
                           "terem_terulet double, nyitas timestamp)");
    }
    void TearDown() override
    {
        table.Close();
        connection.Close();
        std::filesystem::remove_all(folder);
    }

    std::string connectionString() const
    {
        return "Provider=MSDASQL.1;Driver=SQLite3;Database=" + (folder / "proba.db").string() + ";";
    }

    void openRooms()
    {
        table.SetConnection(&connection);
        table.SetTableName("terem");
        table.Open();
    }

    std::filesystem::path folder;
    TADOConnection connection;
    TADOTable table;
};

} // namespace

TEST(AdoConnectionString, ProviderWrapperIsDroppedBracesKeepSemicolonsExtendedPropertiesStandForTheOdbcString)
{
    EXPECT_EQ(OdbcConnectionString("Provider=MSDASQL.1;Driver={Microsoft Access Driver (*.mdb)};Dbq=a.mdb;"),
              "Driver={Microsoft Access Driver (*.mdb)};Dbq=a.mdb");
    EXPECT_EQ(OdbcConnectionString("provider = MSDASQL.1 ; DSN=brelvix"), "DSN=brelvix");
    EXPECT_EQ(OdbcConnectionString("Driver={odd;name};PWD={a;b}"), "Driver={odd;name};PWD={a;b}");
    EXPECT_EQ(OdbcConnectionString("Provider=MSDASQL.1;Persist Security Info=False;"
                                   "Extended Properties=\"DSN=brelvix;UID=admin\""),
              "DSN=brelvix;UID=admin");
}

TEST_F(SqliteDatabase, OpensThroughTheProviderWrapperAndCloses)
{
    EXPECT_TRUE(connection.Connected());
    connection.Close();
    EXPECT_FALSE(connection.Connected());
    connection.SetConnected(true);
    EXPECT_TRUE(connection.Connected());
}

TEST_F(SqliteDatabase, AnUnknownDriverIsReportedWithTheDriverManagersText)
{
    TADOConnection other;
    other.SetConnectionString("Provider=MSDASQL.1;Driver={No Such Driver};Dbq=x.mdb;");
    try {
        other.Open();
        FAIL() << "the connection opened";
    } catch (const EADOError &error) {
        EXPECT_THAT(error.what(), HasSubstr("No Such Driver"));
    }
    EXPECT_FALSE(other.Connected());
}

TEST_F(SqliteDatabase, StatementsReportTheRowsTheyTouchedOrRaiseWithTheDriversDiagnostic)
{
    EXPECT_EQ(connection.Execute("insert into terem (terem_id) values (1)"), 1);
    EXPECT_EQ(connection.Execute("insert into terem (terem_id) values (2)"), 1);
    EXPECT_EQ(connection.Execute("delete from terem"), 2);
    EXPECT_EQ(connection.Execute("delete from terem"), 0);
    try {
        connection.Execute("delete from nincsilyen");
        FAIL() << "the statement ran";
    } catch (const EADOError &error) {
        EXPECT_THAT(error.what(), HasSubstr("nincsilyen"));
    }
    connection.Close();
    EXPECT_THROW(connection.Execute("delete from terem"), EADOError);
    EXPECT_THROW(connection.BeginTrans(), EADOError);
}

TEST_F(SqliteDatabase, RollbackDiscardsAndCommitKeepsTheTransactionsRows)
{
    int begun = 0, committed = 0, rolledBack = 0;
    connection.OnBeginTransComplete = [&](TADOConnection &, int level) { begun += level; };
    connection.OnCommitTransComplete = [&](TADOConnection &) { ++committed; };
    connection.OnRollbackTransComplete = [&](TADOConnection &) { ++rolledBack; };

    EXPECT_EQ(connection.BeginTrans(), 1);
    EXPECT_TRUE(connection.InTransaction());
    connection.Execute("insert into terem (terem_id) values (1)");
    connection.RollbackTrans();
    EXPECT_FALSE(connection.InTransaction());
    connection.BeginTrans();
    connection.Execute("insert into terem (terem_id) values (2)");
    connection.CommitTrans();

    EXPECT_EQ(begun, 2);
    EXPECT_EQ(committed, 1);
    EXPECT_EQ(rolledBack, 1);
    EXPECT_EQ(connection.Execute("delete from terem where terem_id = 1"), 0);
    EXPECT_EQ(connection.Execute("delete from terem where terem_id = 2"), 1);
}

TEST_F(SqliteDatabase, TransactionsDoNotNestNeedOneToEndAndClosingRollsBack)
{
    connection.BeginTrans();
    EXPECT_THROW(connection.BeginTrans(), EADOError);
    connection.CommitTrans();
    EXPECT_THROW(connection.CommitTrans(), EADOError);
    EXPECT_THROW(connection.RollbackTrans(), EADOError);
    connection.BeginTrans();
    connection.Execute("insert into terem (terem_id) values (1)");
    connection.Close();
    connection.Open();
    EXPECT_EQ(connection.Execute("delete from terem"), 0);
}

TEST_F(SqliteDatabase, TableFieldsFollowTheColumnsWithTheirTypes)
{
    openRooms();
    ASSERT_EQ(table.FieldCount(), 5);
    EXPECT_EQ(table.FieldByName("terem_id")->DataType(), ftInteger);
    EXPECT_EQ(table.FieldByName("terem_kod")->DataType(), ftString);
    EXPECT_EQ(table.FieldByName("terem_kod")->Size(), 40);
    EXPECT_EQ(table.FieldByName("terem_terulet")->DataType(), ftFloat);
    EXPECT_EQ(table.FieldByName("nyitas")->DataType(), ftDateTime);
    EXPECT_TRUE(table.IsEmpty());
    // An open table's definitions are current: updating them reads no changed columns in.
    connection.Execute("alter table terem add column extra integer");
    table.FieldDefs().Update();
    EXPECT_EQ(table.FieldDefs().Count(), 5);
}

TEST_F(SqliteDatabase, TableReadsTheRowsWithTheirValuesAndNulls)
{
    connection.Execute("insert into terem values (7, 'B-12', 30, 41.5, '1900-01-01 07:45:00')");
    connection.Execute("insert into terem (terem_id) values (8)");
    openRooms();

    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.FieldByName("terem_id")->AsInteger(), 7);
    EXPECT_EQ(table.FieldByName("terem_kod")->AsString(), "B-12");
    EXPECT_DOUBLE_EQ(table.FieldByName("terem_terulet")->AsFloat(), 41.5);
    // Day 2 of the calendar at 07:45.
    EXPECT_DOUBLE_EQ(table.FieldByName("nyitas")->AsDateTime(), 2 + 465.0 / 1440);
    table.Next();
    EXPECT_EQ(table.FieldByName("terem_id")->AsInteger(), 8);
    EXPECT_TRUE(table.FieldByName("terem_kod")->IsNull());
    EXPECT_TRUE(table.FieldByName("nyitas")->IsNull());
    table.Next();
    EXPECT_TRUE(table.Eof());
}

TEST_F(SqliteDatabase, AppendedRowsAreWrittenAtOnceAndReadBackAlike)
{
    openRooms();
    const std::string code = utf8ToCp1250("Árvíztűrő tükörfúrógép");
    table.Append();
    table.FieldByName("terem_id")->SetAsInteger(12);
    table.FieldByName("terem_kod")->SetAsString(code);
    table.FieldByName("nyitas")->SetAsDateTime(9 + 600.0 / 1440);
    table.Post();
    EXPECT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.FieldByName("terem_id")->AsInteger(), 12);

    TADOTable other;
    other.SetConnection(&connection);
    other.SetTableName("terem");
    other.Open();
    ASSERT_EQ(other.RecordCount(), 1);
    EXPECT_EQ(other.FieldByName("terem_kod")->AsString(), code);
    EXPECT_DOUBLE_EQ(other.FieldByName("nyitas")->AsDateTime(), 9 + 600.0 / 1440);
    EXPECT_TRUE(other.FieldByName("terem_kapacitas")->IsNull());
}

TEST_F(SqliteDatabase, AccentedTextIsStoredAsUtf8)
{
    openRooms();
    table.Append();
    table.FieldByName("terem_kod")->SetAsString(utf8ToCp1250("Ő-ház"));
    table.Post();
    // The statement text goes to the driver as UTF-8 as well, so the stored value matches it.
    EXPECT_EQ(connection.Execute(utf8ToCp1250("delete from terem where terem_kod = 'Ő-ház'")), 1);
}

TEST_F(SqliteDatabase, ARefusedRowRaisesTheDriversTextAndCanBeCancelled)
{
    connection.Execute("create table egyedi (id integer primary key, nev varchar(10))");
    connection.Execute("insert into egyedi values (1, 'a')");
    table.SetConnection(&connection);
    table.SetTableName("egyedi");
    table.Open();
    table.Append();
    table.FieldByName("id")->SetAsInteger(1);
    try {
        table.Post();
        FAIL() << "the duplicate key was written";
    } catch (const EADOError &error) {
        EXPECT_THAT(error.what(), HasSubstr("egyedi"));
        EXPECT_THAT(error.what(), HasSubstr("UNIQUE"));
    }
    EXPECT_EQ(table.State(), dsInsert);
    table.Cancel();
    EXPECT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.FieldByName("nev")->AsString(), "a");
}

TEST_F(SqliteDatabase, RowsReadFromTheDatabaseAreNotChangedOrDeleted)
{
    connection.Execute("insert into terem (terem_id) values (1)");
    openRooms();
    EXPECT_THROW(table.Edit(), EDatabaseError);
    EXPECT_THROW(table.Delete(), EDatabaseError);
    EXPECT_EQ(connection.Execute("delete from terem where terem_id = 1"), 1);
}

TEST_F(SqliteDatabase, RefreshShowsRowsOthersAdded)
{
    openRooms();
    connection.Execute("insert into terem (terem_id) values (1)");
    EXPECT_TRUE(table.IsEmpty());
    table.Refresh();
    EXPECT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.FieldByName("terem_id")->AsInteger(), 1);
}

TEST_F(SqliteDatabase, BookmarksReturnToTheirRow)
{
    for (int id = 1; id <= 3; ++id)
        connection.Execute("insert into terem (terem_id) values (" + std::to_string(id) + ")");
    openRooms();
    table.Next();
    const TBookmark second = table.GetBookmark();
    table.Last();
    EXPECT_EQ(table.RecNo(), 3);
    table.GotoBookmark(second);
    EXPECT_EQ(table.FieldByName("terem_id")->AsInteger(), 2);
    table.SetRecNo(1);
    EXPECT_EQ(table.FieldByName("terem_id")->AsInteger(), 1);
    table.Prior();
    EXPECT_TRUE(table.Bof());
    EXPECT_EQ(table.FieldByName("terem_id")->AsInteger(), 1);
}

TEST_F(SqliteDatabase, ATableWithoutConnectionOrNameDoesNotOpenAMissingOneIsNamed)
{
    EXPECT_THROW(table.Open(), EDatabaseError);
    table.SetConnection(&connection);
    EXPECT_THROW(table.Open(), EDatabaseError);
    table.SetTableName("nincsilyen");
    try {
        table.Open();
        FAIL() << "the table opened";
    } catch (const EADOError &error) {
        EXPECT_THAT(error.what(), HasSubstr("nincsilyen"));
    }
    EXPECT_FALSE(table.Active());
}

TEST_F(SqliteDatabase, LongTextsAreReadWhole)
{
    connection.Execute("create table hosszu (szoveg varchar(3000))");
    std::string text;
    for (int i = 0; text.size() < 2990; ++i)
        text += std::to_string(i) + ",";
    connection.Execute("insert into hosszu values ('" + text + "')");
    table.SetConnection(&connection);
    table.SetTableName("hosszu");
    table.Open();
    EXPECT_EQ(table.FieldByName("szoveg")->AsString(), text);
}
