// The single-instance lock within one process; tests/platform sees it from other processes.

#include "platform/InstanceLock.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <string>

namespace {

// Lock names are system-wide; the process id keeps parallel test runs apart.
std::string uniqueName(const std::string &tag)
{
    return "brelvix-app-test/" + std::to_string(QCoreApplication::applicationPid()) + "/" + tag;
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
