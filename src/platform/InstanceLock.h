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

// The name under which one copy of the program per program folder holds the lock, for the folder
// with its trailing separator: the folder followed by "BrelvixKastorel", with every blank removed,
// every "\" turned into "/" and every ":" into "_". Tools that open a program folder's data take
// the lock under it as well, so that they never meet a running program there.
std::string programInstanceName(const std::string &folder);
