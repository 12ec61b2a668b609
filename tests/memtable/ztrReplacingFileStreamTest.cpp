#include "memtable/ztrReplacingFileStream.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

class ReplacingFile : public ::testing::Test
{
protected:
    static void write(const fs::path &path, const std::string &content)
    {
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string read(const fs::path &path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    int entries() const { return static_cast<int>(std::distance(fs::directory_iterator(folder.path()), {})); }

    TempFolder folder;
};

} // namespace

TEST_F(ReplacingFile, OnlyACommittedWriteReplacesTheFileKeepingItsAccessRightsUnlessReadOnly)
{
    const fs::path target = folder / "terem.csv";
    const fs::perms rights = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    write(target, "old content that is longer than the new");
    fs::permissions(target, rights);
    {
        TztrReplacingFileStream stream(target);
        stream.WriteBuffer("half", 4);
    }
    EXPECT_EQ(read(target), "old content that is longer than the new");
    EXPECT_EQ(entries(), 1);
    {
        TztrReplacingFileStream stream(target);
        stream.WriteBuffer("new", 3);
        EXPECT_EQ(read(target), "old content that is longer than the new");
        stream.Commit();
    }
    EXPECT_EQ(read(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), rights);
    EXPECT_EQ(entries(), 1);

    const fs::path fresh = folder / "uj.csv";
    TztrReplacingFileStream stream(fresh);
    stream.WriteBuffer("x", 1);
    EXPECT_FALSE(fs::exists(fresh));
    stream.Commit();
    EXPECT_EQ(read(fresh), "x");

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
    EXPECT_EQ(read(target), "new");
    EXPECT_EQ(entries(), 2);
}
