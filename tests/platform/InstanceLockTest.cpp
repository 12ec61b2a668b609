// The single-instance lock seen from other processes: the probe holds or asks for it.

#include "platform/InstanceLock.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Lock names are system-wide; the process id keeps parallel test runs apart.
std::string uniqueName(const std::string &tag)
{
    return "brelvix-test/" + std::to_string(QCoreApplication::applicationPid()) + "/" + tag;
}

// Starts the probe, which holds the lock of `name` until its input closes; returns it once it has
// said whether it got the lock.
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

TEST(InstanceLock, IsHeldAcrossProcessesUntilTheHolderEndsOrIsKilledAndIsNotInherited)
{
    QByteArray answer;
    auto theirs = startProbe(uniqueName("theirs"), answer);
    ASSERT_EQ(answer, "held");
    EXPECT_FALSE(InstanceLock(uniqueName("theirs")).isHeld());
    // Deep installation folders give names far longer than a socket address holds.
    const std::string deep = uniqueName(std::string(300, 'x'));
    std::unique_ptr<QProcess> bystander;
    {
        const InstanceLock mine(uniqueName("mine")), deepA(deep + "/a"), deepB(deep + "/b");
        EXPECT_TRUE(mine.isHeld() && deepA.isHeld() && deepB.isHeld() && !InstanceLock(deep + "/a").isHeld());
        startProbe(uniqueName("mine"), answer)->waitForFinished(-1);
        EXPECT_EQ(answer, "refused");
        // A program started by the holder must not inherit the lock.
        bystander = startProbe(uniqueName("bystander"), answer);
    }
    EXPECT_TRUE(InstanceLock(uniqueName("mine")).isHeld()) << "the bystander still running keeps it";
    theirs->kill();
    bystander->closeWriteChannel();
    ASSERT_TRUE(theirs->waitForFinished(-1) && bystander->waitForFinished(-1));
    EXPECT_TRUE(InstanceLock(uniqueName("theirs")).isHeld() && InstanceLock(uniqueName("bystander")).isHeld());
}
