// A save killed at a random moment must leave the folder holding either the old or the new set of
// data files, never a mix, and the next start must load it. A child process loads a folder, edits
// every saved table and saves; the parent kills it with SIGKILL somewhere inside the save, starts
// the data module on what is left and compares the files with both generations.
//   BRELVIX_KILL_ROUNDS (default 8) and BRELVIX_KILL_OCCASIONS (default 3000) make it longer.

#include "data/datam.h"
#include "data/datamTestFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char *SavedFiles[] = {"oktato.csv",          "KK_orarend.csv",       "KK_alkalom.csv",
                                      "KK_kurzus.csv",       "KK_kurzusoktato.csv",  "KK_kurzusorarend.csv",
                                      "KK_kurzustargy.csv", "KK_kurzusalkalom.csv"};

int setting(const char *name, int fallback)
{
    const char *value = std::getenv(name);
    return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

using Files = std::map<std::string, std::string>;

void restore(const fs::path &folder, const Files &files)
{
    fs::remove_all(folder);
    fs::create_directory(folder);
    for (const auto &[name, bytes] : files)
        std::ofstream(folder / name, std::ios::binary) << bytes;
}

void append(TztrMemTable &table, std::initializer_list<std::pair<const char *, int>> values)
{
    table.Append();
    for (const auto &[field, value] : values)
        table.FieldByName(field)->SetAsInteger(value);
    table.Post();
}

// The first generation: a university-sized timetable written by the module itself.
void writeFirstGeneration(const TDMEnvironment &environment, int occasions)
{
    TDM dm(environment);
    append(dm.MT_orarend, {{"szak_id", 1}});
    for (int course = 0; course < occasions / 4; ++course) {
        dm.MT_kurzus.Append();
        dm.MT_kurzus.FieldByName("targy_id")->SetAsInteger(111);
        dm.MT_kurzus.FieldByName("kurzus_kod_osszetett")->SetAsString("MAB" + std::to_string(course) + "-EA-01");
        dm.MT_kurzus.Post();
        const int courseId = dm.MT_kurzus.FieldByName("kurzus_id")->AsInteger();
        append(dm.MT_kurzusorarend, {{"orarend_id", 111}, {"kurzus_id", courseId}});
        append(dm.MT_kurzusoktato, {{"kurzus_id", courseId}, {"oktato_id", 111}, {"szazalek", 100}});
        append(dm.MT_kurzustargy, {{"kurzus_id", courseId}, {"targy_id", 111}});
        for (int i = 0; i < 4; ++i) {
            dm.MT_alkalom.Append();
            dm.MT_alkalom.FieldByName("kurzus_id")->SetAsInteger(courseId);
            dm.MT_alkalom.FieldByName("terem_id")->SetAsInteger(1);
            dm.MT_alkalom.FieldByName("kezd_ido")->SetAsFloat(2 + i + 465.0 / 1440);
            dm.MT_alkalom.FieldByName("veg_ido")->SetAsFloat(2 + i + 555.0 / 1440);
            dm.MT_alkalom.FieldByName("hetek")->SetAsString("111111111111111");
            dm.MT_alkalom.Post();
        }
    }
    dm.KurzusalkalomGeneralas();
    dm.Mentes();
}

// The edit of the second generation changes every file the save writes.
void editEverySavedTable(TDM &dm)
{
    append(dm.MT_oktato, {});
    append(dm.MT_orarend, {{"szak_id", 2}});
    for (dm.MT_alkalom.First(); !dm.MT_alkalom.Eof(); dm.MT_alkalom.Next()) {
        dm.MT_alkalom.Edit();
        dm.MT_alkalom.FieldByName("hetek")->SetAsString("101010101010101");
        dm.MT_alkalom.Post();
    }
    append(dm.MT_kurzus, {{"targy_id", 111}});
    append(dm.MT_kurzusoktato, {{"kurzus_id", 1}, {"oktato_id", 1}});
    append(dm.MT_kurzusorarend, {{"orarend_id", 1}, {"kurzus_id", 1}});
    append(dm.MT_kurzustargy, {{"kurzus_id", 1}, {"targy_id", 1}});
    append(dm.MT_kurzusalkalom, {{"kurzus_id", 1}, {"alkalom_id", 1}});
}

// Which generation the folder's saved files are: 0 the first, 1 the second, -1 a mix or
// anything else.
int generationOf(const Files &files, const Files &first, const Files &second)
{
    int generation = -2;
    for (const char *name : SavedFiles) {
        const auto found = files.find(name);
        if (found == files.end())
            return -1;
        const int this_ = found->second == first.at(name) ? 0 : found->second == second.at(name) ? 1 : -1;
        if (this_ < 0 || (generation >= 0 && this_ != generation))
            return -1;
        generation = this_;
    }
    return generation;
}

} // namespace

using KilledSave = datamtest::DataFolder;

TEST_F(KilledSave, LeavesTheOldOrTheNewGenerationAndTheNextStartLoadsIt)
{
    const int rounds = setting("BRELVIX_KILL_ROUNDS", 8);
    const int occasions = setting("BRELVIX_KILL_OCCASIONS", 3000);
    writeFirstGeneration(environment(), occasions);
    const Files first = snapshot();

    Files second;
    std::chrono::steady_clock::duration saveLength;
    {
        TDM dm(environment());
        editEverySavedTable(dm);
        // Only to spread the kill points over the save; nothing is asserted on it.
        const auto startOfSave = std::chrono::steady_clock::now();
        dm.Mentes();
        saveLength = std::chrono::steady_clock::now() - startOfSave;
        second = snapshot();
    }
    ASSERT_EQ(generationOf(second, first, second), 1);
    ASSERT_EQ(generationOf(first, first, second), 0);

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long long> killAfter(
        0, std::chrono::duration_cast<std::chrono::microseconds>(saveLength).count() * 11 / 10);
    int seen[2] = {0, 0};
    for (int round = 0; round < rounds; ++round) {
        restore(folder.path(), first);
        const long long delay = killAfter(random);
        int saving[2];
        ASSERT_EQ(::pipe(saving), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                TDM dm(environment());
                editEverySavedTable(dm);
                // Tells the parent that the save begins.
                if (::write(saving[1], "s", 1) != 1)
                    ::_exit(3);
                dm.Mentes();
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        ::close(saving[1]);
        char began = 0;
        ASSERT_EQ(::read(saving[0], &began, 1), 1) << "the child did not reach its save";
        ::close(saving[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) || WEXITSTATUS(status) == 0) << "the save failed in round " << round;

        Files after;
        try {
            TDM dm(environment());
            after = snapshot();
        } catch (const std::exception &error) {
            FAIL() << "round " << round << " after " << delay << " us: the folder does not load: " << error.what();
        }
        const int generation = generationOf(after, first, second);
        ASSERT_GE(generation, 0) << "round " << round << " after " << delay << " us left a mixed set";
        EXPECT_EQ(after.size(), first.size()) << "round " << round << " left stray files";
        ++seen[generation];
    }
    std::cout << "kill rounds: " << seen[0] << " old, " << seen[1] << " new generation\n";
}
