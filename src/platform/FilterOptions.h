#pragma once

// The options a dataset's filter text is compiled with.

#include <cstdint>
#include <initializer_list>

enum TFilterOption : std::uint8_t { foCaseInsensitive, foNoPartialCompare };

// A set of filter options, used the way the framework's set type is: built from a list,
// asked whether it holds an option, compared as a whole.
class TFilterOptions {
public:
    constexpr TFilterOptions() = default;
    constexpr TFilterOptions(std::initializer_list<TFilterOption> options)
    {
        for (TFilterOption option : options)
            Include(option);
    }

    constexpr bool Contains(TFilterOption option) const { return (bits_ & bit(option)) != 0; }
    constexpr void Include(TFilterOption option) { bits_ |= bit(option); }
    constexpr void Exclude(TFilterOption option) { bits_ &= static_cast<std::uint8_t>(~bit(option)); }
    constexpr bool operator==(const TFilterOptions &) const = default;

private:
    static constexpr std::uint8_t bit(TFilterOption option)
    {
        return static_cast<std::uint8_t>(1u << option);
    }

    std::uint8_t bits_ = 0;
};
