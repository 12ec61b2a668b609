#pragma once

// A program folder with the three master files the data module cannot start without, and an
// SQLite database beside it reached through ODBC.

#include "data/datam.h"
#include "data/kozepreteg.h"
#include "platform/ADODB.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

class CopyDatabaseTest : public testing::Test {
public:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brelvix-copy-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        databaseFile = folder / "brelvix.db";
        for (const char *file : {"targy.csv", "oktato.csv", "terem.csv"})
            std::filesystem::copy_file(std::filesystem::path(BRELVIX_SAMPLEDATA_DIR) / file, folder / file);
        const std::string programFolder = (folder / "").string();
        dm = std::make_unique<TDM>(TDMEnvironment{[programFolder] { return programFolder; },
                                                  [](std::string &name) {
                                                      name = "tester";
                                                      return true;
                                                  }});
    }

    void TearDown() override
    {
        dmk.reset();
        database.Close();
        dm.reset();
        std::filesystem::remove_all(folder);
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

    std::filesystem::path folder;
    std::filesystem::path databaseFile;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TDMK> dmk;
    TADOConnection database;
};
