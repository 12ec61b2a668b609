#include "platform/System.h"

#include "platform/Cp1250.h"

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

std::string accountName()
{
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd *found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr)
        return found->pw_name;
    // Containers often run under an id that has no account entry.
    for (const char *variable : {"USER", "LOGNAME"}) {
        const char *value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return {};
}

struct RandomSource
{
    std::mutex lock;
    std::mt19937 engine{seed()};

    static std::mt19937::result_type seed()
    {
        const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        std::seed_seq sequence{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32),
                               static_cast<std::uint32_t>(::getpid())};
        std::mt19937::result_type value = 0;
        sequence.generate(&value, &value + 1);
        return value;
    }
};

RandomSource &randomSource()
{
    static RandomSource source;
    return source;
}

} // namespace

bool GetUserName(std::string &name)
{
    const std::string found = accountName();
    if (found.empty())
        return false;
    // The system spells names in UTF-8; the framework's text is cp1250.
    name = utf8ToCp1250(found);
    return true;
}

void Randomize()
{
    RandomSource &source = randomSource();
    const std::lock_guard guard(source.lock);
    source.engine.seed(RandomSource::seed());
}

int Random(int range)
{
    if (range <= 0)
        return 0;
    RandomSource &source = randomSource();
    const std::lock_guard guard(source.lock);
    return std::uniform_int_distribution<int>(0, range - 1)(source.engine);
}
