#pragma once

// TDateTime: days since 30 December 1899, the time of day as the fraction. A distinct type (not a
// bare double) so that variants and field conversions can tell dates from numbers, while day and
// time arithmetic still reads naturally.

#include <cstdint>

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
inline constexpr int HoursPerDay = 24;
inline constexpr int SecsPerDay = 86400;
inline constexpr int MSecsPerSec = 1000;

// Days from 1 January 0001 to 30 December 1899: the distance between the time-stamp day count and
// the TDateTime day count.
inline constexpr int DateDelta = 693594;

// The framework's record form of a moment: Date counts days from 1 January 0001 (that day is 1),
// Time the milliseconds since midnight.
struct TTimeStamp {
    std::int32_t Time = 0;
    std::int32_t Date = 0;
};

// The broken-down moment of the SQL time-stamp field; Fractions are milliseconds.
struct TSQLTimeStamp {
    std::int16_t Year = 0;
    std::uint16_t Month = 0;
    std::uint16_t Day = 0;
    std::uint16_t Hour = 0;
    std::uint16_t Minute = 0;
    std::uint16_t Second = 0;
    std::uint32_t Fractions = 0;

    bool operator==(const TSQLTimeStamp &) const = default;
};
static_assert(sizeof(TSQLTimeStamp) == 16, "the record layout stores the SQL time stamp in 16 bytes");

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Encoding raises EConvertError for a component out of range; the Try forms report it instead.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime &result);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime &result);
void DecodeDate(TDateTime value, int &year, int &month, int &day);
void DecodeTime(TDateTime value, int &hour, int &minute, int &second, int &msec);
// Both at once, from one rounding of the value.
void DecodeDateTime(TDateTime value, int &year, int &month, int &day, int &hour, int &minute, int &second,
                    int &msec);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);

// The day part (towards zero) and the time-of-day part.
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);

// The current moment in the local time zone.
TDateTime Now();
TDateTime Date();

TTimeStamp DateTimeToTimeStamp(TDateTime value);
// Raises EConvertError for a time stamp whose day is not positive or whose time is negative.
TDateTime TimeStampToDateTime(const TTimeStamp &value);
double TimeStampToMSecs(const TTimeStamp &value);
TTimeStamp MSecsToTimeStamp(double msecs);

TSQLTimeStamp DateTimeToSQLTimeStamp(TDateTime value);
// Raises EConvertError for a time stamp that names no valid moment.
TDateTime SQLTimeStampToDateTime(const TSQLTimeStamp &value);
