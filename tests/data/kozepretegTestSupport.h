#pragma once

// A program folder with the three master files the data module cannot start without, and an
// SQLite database beside it reached through ODBC.

#include "DataFolder.h"
#include "data/kozepreteg.h"
#include "platform/ADODB.h"

#include <memory>

class CopyDatabaseTest : public DataFolder {
public:
    using DataFolder::folder;

    CopyDatabaseTest() : databaseFile(folder / "brelvix.db"), dm(std::make_unique<TDM>(environment())) {}

    ~CopyDatabaseTest() override
    {
        dmk.reset();
        database.Close();
        dm.reset();
    }

    // Commits without waiting for the disk: every copied row is a transaction of its own.
    std::string connectionString() const
    {
        return "Provider=MSDASQL.1;Driver=SQLite3;Database=" + databaseFile.string() + ";SyncPragma=OFF;";
    }

    void writeProvider(const std::string &connection)
    {
        std::ofstream(folder / "provider.csv", std::ios::binary) << "provider\r\n" << connection << "\r\n";
    }

    // The copy database as the program sets it up, without the table named.
    void createTables(const std::string &leftOut = {})
    {
        TDMK(*dm).createCopyDatabase(connectionString());
        openDatabase();
        if (!leftOut.empty())
            database.Execute("drop table " + leftOut);
    }

    // The module, made once, started on the folder's "provider.csv".
    TDMK &makeModule()
    {
        if (!dmk)
            dmk = std::make_unique<TDMK>(*dm);
        return *dmk;
    }

    // A connection of the test's own, to set the database up and look into it.
    void openDatabase()
    {
        if (database.Connected())
            return;
        database.SetConnectionString(connectionString());
        database.Open();
    }

    int rowCount(const std::string &table)
    {
        TADOTable reader;
        reader.SetConnection(&database);
        reader.SetTableName(table);
        reader.Open();
        return reader.RecordCount();
    }

    std::filesystem::path databaseFile;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TDMK> dmk;
    TADOConnection database;
};
