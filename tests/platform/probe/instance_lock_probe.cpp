// Takes the instance lock named by its argument and prints "held" or "refused". A holder keeps the
// lock until its standard input closes or the process is ended.

#include "platform/InstanceLock.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    const InstanceLock lock(argv[1]);
    std::puts(lock.isHeld() ? "held" : "refused");
    std::fflush(stdout);
    if (!lock.isHeld())
        return 1;
    while (std::getchar() != EOF) {
    }
    return 0;
}
