#pragma once

// Option sets and switches shared by the engine's classes.

#include <cstdint>
#include <initializer_list>

// A set over a small enum (at most 32 members), as the table's interface speaks of sets.
template <typename E> class TztrSet {
public:
    constexpr TztrSet() = default;
    constexpr TztrSet(std::initializer_list<E> members)
    {
        for (E member : members)
            bits_ |= bit(member);
    }

    constexpr bool contains(E member) const { return (bits_ & bit(member)) != 0; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr void include(E member) { bits_ |= bit(member); }
    constexpr void exclude(E member) { bits_ &= ~bit(member); }
    constexpr TztrSet &operator|=(TztrSet other)
    {
        bits_ |= other.bits_;
        return *this;
    }
    constexpr friend TztrSet operator|(TztrSet a, TztrSet b) { return a |= b; }
    constexpr friend bool operator==(TztrSet, TztrSet) = default;

private:
    static constexpr std::uint32_t bit(E member) { return std::uint32_t{1} << static_cast<unsigned>(member); }
    std::uint32_t bits_ = 0;
};

// Per-field compare options of a field list.
enum TztrifoOption : std::uint8_t {
    mtifoDescending,
    mtifoCaseInsensitive,
    mtifoPartial,
    mtifoIgnoreNull,
    mtifoIgnoreLocale,
};
using TztrifoOptions = TztrSet<TztrifoOption>;

// Index-level options; the first five match the field options one to one, by position.
enum TztrMemTableCompareOption : std::uint8_t {
    mtcoDescending,
    mtcoCaseInsensitive,
    mtcoPartialKey,
    mtcoIgnoreNullKey,
    mtcoIgnoreLocale,
    mtcoUnique,
    mtcoNonMaintained,
};
using TztrMemTableCompareOptions = TztrSet<TztrMemTableCompareOption>;

inline constexpr int FieldOptionCount = 5;

enum TztrPerformance : std::uint8_t { mtpfFast, mtpfBalanced, mtpfSmall };

enum TztrVersioningMode : std::uint8_t { mtvm1SinceCheckPoint, mtvmAllSinceCheckPoint };

enum TztrProgressCode : std::uint8_t {
    mtpcLoad,
    mtpcSave,
    mtpcEmpty,
    mtpcCopy,
    mtpcSort,
    mtpcSearch,
    mtpcUpdate,
};
using TztrProgressCodes = TztrSet<TztrProgressCode>;

// Record update status, in the order of the framework's update status.
enum TztrUpdateStatus : std::uint8_t { usUnmodified, usModified, usInserted, usDeleted };
using TztrUpdateStatusSet = TztrSet<TztrUpdateStatus>;

// The most fields a record layout or a field list can hold.
inline constexpr int MaxFields = 256;
