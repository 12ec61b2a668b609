#include "memtable/ztrReplacingFileStream.h"

#include "ztrStreamTestTables.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;
using namespace streamtest;

namespace {

class ReplacingFile : public ::testing::Test {
protected:
    int entries() const { return static_cast<int>(std::distance(fs::directory_iterator(folder.path()), {})); }

    TempFolder folder;
};

} // namespace

TEST_F(ReplacingFile, OnlyACommittedWriteReplacesTheFileKeepingItsAccessRightsUnlessReadOnly)
{
    const fs::path target = folder / "terem.csv";
    const fs::perms rights = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    writeFile(target, "old content that is longer than the new");
    fs::permissions(target, rights);
    {
        TztrReplacingFileStream stream(target);
        stream.WriteBuffer("half", 4);
    }
    EXPECT_EQ(readFile(target), "old content that is longer than the new");
    EXPECT_EQ(entries(), 1);
    {
        TztrReplacingFileStream stream(target);
        stream.WriteBuffer("new", 3);
        EXPECT_EQ(readFile(target), "old content that is longer than the new");
        stream.Commit();
    }
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), rights);
    EXPECT_EQ(entries(), 1);

    const fs::path fresh = folder / "uj.csv";
    TztrReplacingFileStream stream(fresh);
    stream.WriteBuffer("x", 1);
    EXPECT_FALSE(fs::exists(fresh));
    stream.Commit();
    EXPECT_EQ(readFile(fresh), "x");

    // A read-only file is refused by name and kept.
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    TztrReplacingFileStream refused(target);
    refused.WriteBuffer("newer", 5);
    try {
        refused.Commit();
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const EFCreateError &error) {
        EXPECT_NE(error.Message().find(target.string()), std::string::npos) << error.Message();
    }
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(entries(), 2);
}

TEST_F(ReplacingFile, FolderInTheWayIsReportedByNameAndKept)
{
    const fs::path target = folder / "oktato.csv";
    fs::create_directory(target);
    TztrReplacingFileStream stream(target);
    stream.WriteBuffer("x", 1);
    try {
        stream.Commit();
        FAIL() << "a folder was replaced";
    } catch (const EFCreateError &error) {
        EXPECT_NE(error.Message().find(target.string()), std::string::npos) << error.Message();
    }
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(entries(), 1);
}

TEST_F(ReplacingFile, ReadOnlyFileIsRefusedByNameAndKept)
{
    const fs::path target = folder / "kastorelbolkurzus.csv";
    writeFile(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    TztrReplacingFileStream stream(target);
    stream.WriteBuffer("new", 3);
    try {
        stream.Commit();
        FAIL() << "a read-only file was replaced";
    } catch (const EFCreateError &error) {
        EXPECT_NE(error.Message().find(target.string()), std::string::npos) << error.Message();
    }
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(entries(), 1);
}
