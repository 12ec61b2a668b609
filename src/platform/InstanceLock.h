#pragma once

// A system-wide lock taken under a name and held for as long as this object lives. The operating
// system drops it when the holding process ends in any way, so a crash never leaves a stale lock
// behind, and taking it leaves no file anywhere.

#include <string>

class InstanceLock {
public:
    // Tries to take the lock; isHeld() tells whether that succeeded. It fails when another holder
    // (in this or any other process) has the same name, or when the system refuses the request.
    explicit InstanceLock(const std::string &name);
    ~InstanceLock();

    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    bool isHeld() const { return socket_ >= 0; }

private:
    int socket_ = -1;
};
