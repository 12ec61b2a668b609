#pragma once

// A set over a small enumeration, used the way the framework's set types are: built from a list,
// asked whether it holds a member, compared as a whole.

#include <cstdint>
#include <initializer_list>

template <class E> class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> members)
    {
        for (E member : members)
            Include(member);
    }

    constexpr bool Contains(E member) const { return (bits_ & bit(member)) != 0; }
    constexpr void Include(E member) { bits_ |= bit(member); }
    constexpr void Exclude(E member) { bits_ &= ~bit(member); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr bool operator==(const EnumSet &) const = default;
    constexpr EnumSet operator+(EnumSet other) const { return fromBits(bits_ | other.bits_); }
    constexpr EnumSet operator-(EnumSet other) const { return fromBits(bits_ & ~other.bits_); }
    constexpr EnumSet operator*(EnumSet other) const { return fromBits(bits_ & other.bits_); }

private:
    static constexpr std::uint32_t bit(E member) { return 1u << static_cast<unsigned>(member); }
    static constexpr EnumSet fromBits(std::uint32_t bits)
    {
        EnumSet result;
        result.bits_ = bits;
        return result;
    }

    std::uint32_t bits_ = 0;
};
