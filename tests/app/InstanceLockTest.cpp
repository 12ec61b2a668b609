#include "platform/InstanceLock.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

// Lock names are system-wide; the process id keeps parallel test runs apart.
std::string uniqueName(const std::string &tag)
{
    return "brelvix-test/" + std::to_string(QCoreApplication::applicationPid()) + "/" + tag;
}

// Starts the probe on `name` and returns it once it has said whether it got the lock.
std::unique_ptr<QProcess> startProbe(const std::string &name, QByteArray &answer)
{
    auto probe = std::make_unique<QProcess>();
    probe->start(QStringLiteral(INSTANCE_LOCK_PROBE_FILE), {QString::fromStdString(name)});
    while (!probe->canReadLine() && probe->waitForReadyRead(-1)) {
    }
    answer = probe->readLine().trimmed();
    return probe;
}

} // namespace

TEST(InstanceLock, OneHolderPerNameUntilItIsGone)
{
    {
        const InstanceLock first(uniqueName("same"));
        const InstanceLock other(uniqueName("other"));
        {
            const InstanceLock refused(uniqueName("same"));
        }
        const InstanceLock later(uniqueName("same"));
        EXPECT_TRUE(first.isHeld());
        EXPECT_TRUE(other.isHeld());
        EXPECT_FALSE(later.isHeld()) << "a refused attempt leaves the holder in place";
    }
    const InstanceLock again(uniqueName("same"));
    EXPECT_TRUE(again.isHeld());
}

TEST(InstanceLock, LongNamesThatDifferOnlyAtTheEndAreDifferentLocks)
{
    // Deep installation folders give names far longer than a socket address holds.
    const std::string folder = uniqueName(std::string(300, 'x'));
    const InstanceLock first(folder + "/a/BrelvixKastorel");
    const InstanceLock second(folder + "/b/BrelvixKastorel");
    const InstanceLock firstAgain(folder + "/a/BrelvixKastorel");
    EXPECT_TRUE(first.isHeld());
    EXPECT_TRUE(second.isHeld());
    EXPECT_FALSE(firstAgain.isHeld());
}

TEST(InstanceLock, NameHeldByAnotherProcessIsRefusedHere)
{
    QByteArray answer;
    auto probe = startProbe(uniqueName("theirs"), answer);
    ASSERT_EQ(answer, "held");

    const InstanceLock same(uniqueName("theirs"));
    const InstanceLock other(uniqueName("mine"));
    EXPECT_FALSE(same.isHeld());
    EXPECT_TRUE(other.isHeld());

    probe->closeWriteChannel();
    EXPECT_TRUE(probe->waitForFinished(-1));
}

TEST(InstanceLock, NameHeldHereIsRefusedToAnotherProcess)
{
    const InstanceLock mine(uniqueName("mine"));
    ASSERT_TRUE(mine.isHeld());

    QByteArray answer;
    auto probe = startProbe(uniqueName("mine"), answer);
    EXPECT_EQ(answer, "refused");
    EXPECT_TRUE(probe->waitForFinished(-1));
}

TEST(InstanceLock, HolderThatEndsOrIsKilledReleasesTheName)
{
    for (const bool killed : {false, true}) {
        const std::string name = uniqueName(killed ? "killed" : "ends");
        QByteArray answer;
        auto probe = startProbe(name, answer);
        ASSERT_EQ(answer, "held");
        if (killed)
            probe->kill();
        else
            probe->closeWriteChannel();
        ASSERT_TRUE(probe->waitForFinished(-1));

        const InstanceLock after(name);
        EXPECT_TRUE(after.isHeld()) << (killed ? "killed" : "ended");
    }
}

TEST(InstanceLock, ProgramsStartedByTheHolderDoNotKeepTheName)
{
    // A probe started while this process holds the lock must not inherit it: once this holder is
    // gone, the probe (still running on another name) must not block the name.
    auto holder = std::make_unique<InstanceLock>(uniqueName("inherited"));
    ASSERT_TRUE(holder->isHeld());
    QByteArray answer;
    auto probe = startProbe(uniqueName("bystander"), answer);
    ASSERT_EQ(answer, "held");
    holder.reset();

    const InstanceLock after(uniqueName("inherited"));
    EXPECT_TRUE(after.isHeld());
    probe->closeWriteChannel();
    EXPECT_TRUE(probe->waitForFinished(-1));
}
