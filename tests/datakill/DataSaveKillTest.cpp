// A save killed at a random moment must leave the folder holding either the old or the new set of
// data files, never a mix nor a stray file, and the next start must load it. A child process loads
// the folder, adds rows to every saved table and saves; the parent kills it with SIGKILL somewhere
// inside the save, starts the data module on what is left and compares the folder with both
// generations. BRELVIX_KILL_ROUNDS (default 8) makes it longer.

#include "data/DataFolder.h"

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Enough rows that the save takes long enough to be cut anywhere.
void addToEverySavedTable(TDM &dm)
{
    for (TztrMemTable *table :
         {&dm.MT_oktato, &dm.MT_orarend, &dm.MT_alkalom, &dm.MT_kurzus, &dm.MT_kurzusoktato,
          &dm.MT_kurzusorarend, &dm.MT_kurzustargy, &dm.MT_kurzusalkalom})
        for (int row = 0; row < 2000; ++row)
            append(*table, {});
}

} // namespace

using KilledSave = DataFolder;

TEST_F(KilledSave, LeavesTheOldOrTheNewGenerationAndTheNextStartLoadsIt)
{
    const int rounds = std::getenv("BRELVIX_KILL_ROUNDS") ? std::atoi(std::getenv("BRELVIX_KILL_ROUNDS")) : 8;
    copySample();
    TDM(environment()).Mentes();
    const Files first = snapshot();
    Files second;
    std::chrono::steady_clock::duration saveLength;
    {
        TDM dm(environment());
        addToEverySavedTable(dm);
        // Only to spread the kill points over the save; nothing is asserted on it.
        const auto startOfSave = std::chrono::steady_clock::now();
        dm.Mentes();
        saveLength = std::chrono::steady_clock::now() - startOfSave;
        second = snapshot();
    }
    // A mix shows: the first and the last file of the set differ between the generations.
    ASSERT_NE(first.at("oktato.csv"), second.at("oktato.csv"));
    ASSERT_NE(first.at("KK_kurzusalkalom.csv"), second.at("KK_kurzusalkalom.csv"));

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
                addToEverySavedTable(dm);
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

        try {
            TDM dm(environment());
        } catch (const std::exception &error) {
            FAIL() << "round " << round << " after " << delay
                   << " us: the folder does not load: " << error.what();
        }
        const Files after = snapshot();
        ASSERT_TRUE(after == first || after == second)
            << "round " << round << " after " << delay << " us left a mix";
        ++seen[after == second];
    }
    std::cout << "kill rounds: " << seen[0] << " old, " << seen[1] << " new generation\n";
}
