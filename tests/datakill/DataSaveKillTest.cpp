// A save killed at a random moment must leave the old or the new set of data files, never a mix nor a
// stray file, and the next start must load it. The first round lets the child's save finish, giving
// the new set and the save's length. BRELVIX_KILL_ROUNDS (default 8) makes it longer.

#include "data/DataFolder.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

namespace {

class KilledSave : public DataFolder
{
protected:
    // Kills saves of the folder's data at random moments; `shape`, when given, links a data file
    // into the other folder again after each restore. A round must leave the old or the new set
    // and nothing beside the linked file.
    void killSaves(const std::function<void()> &shape);

    TempFolder elsewhere;
};

void KilledSave::killSaves(const std::function<void()> &shape)
{
    const int rounds = std::getenv("BRELVIX_KILL_ROUNDS") ? std::atoi(std::getenv("BRELVIX_KILL_ROUNDS")) : 8;
    const Files first = snapshot();
    Files second;
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long long> killAfter;
    // Kills by the set they left (old, new) and whether the start told of it.
    int tally[2][2] = {};
    for (int round = 0; round <= rounds; ++round) {
        restore(first);
        if (shape)
            shape();
        const long long delay = round == 0 ? 0 : killAfter(random);
        int saving[2];
        ASSERT_EQ(::pipe(saving), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                TDM dm(environment());
                // Enough rows that the save takes long enough to be cut anywhere.
                for (TztrMemTable *table :
                     {&dm.MT_oktato, &dm.MT_orarend, &dm.MT_alkalom, &dm.MT_kurzus, &dm.MT_kurzusoktato,
                      &dm.MT_kurzusorarend, &dm.MT_kurzustargy, &dm.MT_kurzusalkalom})
                    for (int row = 0; row < 2000; ++row)
                        append(*table, {});
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
        const Clock::time_point startOfSave = Clock::now();
        if (round > 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(delay));
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) || WEXITSTATUS(status) == 0) << "the save failed in round " << round;
        if (round == 0) {
            // Only to spread the kill points over the save; nothing is asserted on it.
            const auto length =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - startOfSave);
            killAfter = std::uniform_int_distribution<long long>(0, length.count() * 11 / 10);
            second = snapshot();
            // A mix shows: the first and the last file of the set differ between the two sets.
            ASSERT_NE(first.at("oktato.csv"), second.at("oktato.csv"));
            ASSERT_NE(first.at("KK_kurzusalkalom.csv"), second.at("KK_kurzusalkalom.csv"));
        }
        std::string notice;
        try {
            notice = TDM(environment()).RecoveryNotice();
        } catch (const std::exception &error) {
            FAIL() << "round " << round << " after " << delay
                   << " us: the folder does not load: " << error.what();
        }
        const Files after = snapshot();
        ASSERT_TRUE(after == first || after == second)
            << "round " << round << " after " << delay << " us left a mix";
        // What the start tells must be what it did.
        const bool completed = notice.find("befejezte") != std::string::npos;
        const bool undone = notice.find("visszavonta") != std::string::npos;
        ASSERT_FALSE(after == first ? completed : undone)
            << "round " << round << " after " << delay << " us: " << notice;
        if (round > 0)
            ++tally[after == first ? 0 : 1][completed || undone ? 1 : 0];
        ASSERT_EQ(std::distance(fs::directory_iterator(elsewhere.path()), {}), shape ? 1 : 0)
            << "round " << round << " after " << delay << " us left a file beside a linked one";
    }
    std::printf("%d kills, 0 mixed sets: %d left the old set (%d told as undone), %d the new set (%d told as "
                "completed)\n",
                rounds, tally[0][0] + tally[0][1], tally[0][1], tally[1][0] + tally[1][1], tally[1][1]);
}

} // namespace

TEST_F(KilledSave, LeavesTheOldOrTheNewSetAndTheNextStartLoadsIt)
{
    copySample();
    TDM(environment()).Mentes();
    killSaves({});
}

// The occasions live in another folder, the data file linking to them.
TEST_F(KilledSave, WithALinkedFileLeavesTheOldOrTheNewSetInBothFolders)
{
    copySample();
    TDM(environment()).Mentes();
    killSaves([this] {
        fs::rename(folder / "KK_alkalom.csv", elsewhere / "alkalmak.csv");
        fs::create_symlink(elsewhere / "alkalmak.csv", folder / "KK_alkalom.csv");
    });
}
