#pragma once

// The framework's currency: a 64-bit integer counting ten-thousandths, so money sums add up
// exactly where doubles would drift.

#include <compare>
#include <cstdint>

class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    constexpr Currency(int units) : scaled_(static_cast<std::int64_t>(units) * Scale) {}
    // Rounds to the nearest ten-thousandth, halves to even as the floating-point unit does.
    // Raises EConvertError when the value lies outside the currency range or is not a number.
    explicit Currency(double value);

    static constexpr Currency FromScaled(std::int64_t scaled)
    {
        Currency result;
        result.scaled_ = scaled;
        return result;
    }
    constexpr std::int64_t Scaled() const { return scaled_; }
    double ToDouble() const { return static_cast<double>(scaled_) / Scale; }

    constexpr auto operator<=>(const Currency &) const = default;

    Currency operator-() const { return FromScaled(-scaled_); }
    Currency operator+(Currency other) const { return FromScaled(scaled_ + other.scaled_); }
    Currency operator-(Currency other) const { return FromScaled(scaled_ - other.scaled_); }
    Currency operator*(Currency other) const;
    Currency operator/(Currency other) const;
    Currency &operator+=(Currency other) { return *this = *this + other; }
    Currency &operator-=(Currency other) { return *this = *this - other; }

private:
    std::int64_t scaled_ = 0;
};

// Range of the currency type in whole units, as doubles for range checks.
inline constexpr double MinCurrency = -922337203685477.5807;
inline constexpr double MaxCurrency = 922337203685477.5807;
