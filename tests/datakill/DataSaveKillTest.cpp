// A save killed at a random moment must leave the folder holding either the old or the new set of
// data files, never a mix, and the next start must load it. A child process loads a folder, edits
// every saved table and saves; the parent kills it with SIGKILL somewhere inside the save, starts
// the data module on what is left and compares the files with both generations.
//   BRELVIX_KILL_ROUNDS (default 8) and BRELVIX_KILL_COPIES (default 8) make it longer.

#include "data/DataFolder.h"

#include <chrono>
#include <csignal>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char *SavedFiles[] = {"oktato.csv",          "KK_orarend.csv",       "KK_alkalom.csv",
                                      "KK_kurzus.csv",       "KK_kurzusoktato.csv",  "KK_kurzusorarend.csv",
                                      "KK_kurzustargy.csv", "KK_kurzusalkalom.csv"};

int setting(const char *name, int fallback)
{
    const char *value = std::getenv(name);
    return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

// Every saved table grows by copies of its rows, so the save takes long enough to be cut.
void editEverySavedTable(TDM &dm, int copies)
{
    dm.KurzusalkalomGeneralas();
    for (TztrMemTable *table : {&dm.MT_oktato, &dm.MT_orarend, &dm.MT_alkalom, &dm.MT_kurzus, &dm.MT_kurzusoktato,
                                &dm.MT_kurzusorarend, &dm.MT_kurzustargy, &dm.MT_kurzusalkalom}) {
        std::vector<std::vector<std::pair<TField *, Variant>>> rows;
        for (table->First(); !table->Eof(); table->Next()) {
            rows.emplace_back();
            for (const auto &field : table->Fields())
                if (field->FieldKind() == fkData && field->DataType() != ftAutoInc)
                    rows.back().emplace_back(field.get(), field->AsVariant());
        }
        for (int copy = 0; copy < copies; ++copy)
            for (const auto &row : rows) {
                table->Append();
                for (const auto &[field, value] : row)
                    field->SetAsVariant(value);
                table->Post();
            }
    }
}

// 0 when the saved files are all of the first generation, 1 when all of the second, -1 otherwise.
int generationOf(const Files &files, const Files &first, const Files &second)
{
    std::set<int> generations;
    for (const char *name : SavedFiles) {
        const auto found = files.find(name);
        generations.insert(found == files.end()         ? -1
                           : found->second == first.at(name)  ? 0
                           : found->second == second.at(name) ? 1
                                                              : -1);
    }
    return generations.size() == 1 ? *generations.begin() : -1;
}

} // namespace

using KilledSave = DataFolder;

TEST_F(KilledSave, LeavesTheOldOrTheNewGenerationAndTheNextStartLoadsIt)
{
    const int rounds = setting("BRELVIX_KILL_ROUNDS", 8), copies = setting("BRELVIX_KILL_COPIES", 8);
    copySample();
    TDM(environment()).Mentes();
    const Files first = snapshot();
    Files second;
    std::chrono::steady_clock::duration saveLength;
    {
        TDM dm(environment());
        editEverySavedTable(dm, copies);
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
        restore(first);
        const long long delay = killAfter(random);
        int saving[2];
        ASSERT_EQ(::pipe(saving), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                TDM dm(environment());
                editEverySavedTable(dm, copies);
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
