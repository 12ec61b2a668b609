#pragma once

// TDateTime: days since 30 December 1899, the time of day as the fraction. A distinct type (not a
// bare double) so that variants and field conversions can tell dates from numbers, while day and
// time arithmetic still reads naturally.

class TDateTime {
public:
    constexpr TDateTime() = default;
    constexpr TDateTime(double days) : value_(days) {}
    constexpr operator double() const { return value_; }

private:
    double value_ = 0.0;
};

inline constexpr double MinutesPerDay = 1440.0;
inline constexpr double MSecsPerDay = 86400000.0;
