#include "platform/InstanceLock.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// The lock is a Unix socket bound to a name in Linux's abstract namespace: binding is atomic,
// a taken name fails with EADDRINUSE, and the kernel frees the name with the socket's last
// descriptor, that is, at the latest when the process dies.
constexpr char namePrefix[] = "brelvix-instance:";

// FNV-1a, 64 bits: unlike std::hash it gives the same value in every build, so two builds of the
// program in one folder still meet under one name.
std::uint64_t stableHash(const std::string &text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Abstract names are limited to the socket address size; a longer name keeps its readable start
// and ends in a hash of the whole name, so names that differ only in their tail stay distinct.
std::string socketName(const std::string &name, std::size_t room)
{
    std::string full = namePrefix + name;
    if (full.size() <= room)
        return full;
    char hash[18];
    std::snprintf(hash, sizeof hash, "#%016llx", static_cast<unsigned long long>(stableHash(name)));
    return full.substr(0, room - (sizeof hash - 1)) + hash;
}

} // namespace

InstanceLock::InstanceLock(const std::string &name)
{
    // Not inherited by programs started from here, which would otherwise keep the lock alive.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;

    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // The leading NUL byte of sun_path selects the abstract namespace.
    const std::string abstractName = socketName(name, sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, abstractName.data(), abstractName.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + abstractName.size());

    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), length) != 0) {
        ::close(fd);
        return;
    }
    socket_ = fd;
}

InstanceLock::~InstanceLock()
{
    if (socket_ >= 0)
        ::close(socket_);
}

std::string programInstanceName(const std::string &folder)
{
    std::string name = folder + "BrelvixKastorel";
    std::erase(name, ' ');
    std::replace(name.begin(), name.end(), '\\', '/');
    std::replace(name.begin(), name.end(), ':', '_');
    return name;
}
