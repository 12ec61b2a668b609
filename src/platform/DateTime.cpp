#include "platform/DateTime.h"

#include "platform/SysUtils.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>
#include <string>

namespace {

constexpr std::int64_t MSecsPerDayInt = 86400000;

constexpr int monthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                  {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Day number counted from 1 January 0001 (that day is 1), for a valid date.
int dayNumber(int year, int month, int day)
{
    // Days of the year before each month's first day.
    constexpr int daysBefore[2][12] = {{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
                                       {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335}};
    day += daysBefore[IsLeapYear(year) ? 1 : 0][month - 1];
    const int y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400 + day;
}

} // namespace

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    return monthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime &result)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        return false;
    result = TDateTime(dayNumber(year, month, day) - DateDelta);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime result;
    if (!TryEncodeDate(year, month, day, result))
        throw EConvertError("Invalid argument to date encode");
    return result;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime &result)
{
    if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 ||
        msec < 0 || msec >= 1000)
        return false;
    result = TDateTime((hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / MSecsPerDay);
    return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    TDateTime result;
    if (!TryEncodeTime(hour, minute, second, msec, result))
        throw EConvertError("Invalid argument to time encode");
    return result;
}

namespace {

// A time-stamp day into its year, month and day.
void decodeDays(int days, int &year, int &month, int &day)
{
    if (days <= 0) {
        year = month = day = 0;
        return;
    }
    constexpr int D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
    --days;
    year = 1;
    year += days / D400 * 400;
    days %= D400;
    int count = days / D100;
    days %= D100;
    if (count == 4) { // the last day of a 400-year cycle
        --count;
        days += D100;
    }
    year += count * 100;
    year += days / D4 * 4;
    days %= D4;
    count = days / D1;
    days %= D1;
    if (count == 4) { // the last day of a leap cycle
        --count;
        days += D1;
    }
    year += count;
    const int *lengths = monthDays[IsLeapYear(year) ? 1 : 0];
    month = 1;
    while (days >= lengths[month - 1]) {
        days -= lengths[month - 1];
        ++month;
    }
    day = days + 1;
}

// Milliseconds since midnight into hours, minutes, seconds and milliseconds.
void decodeMSecs(int time, int &hour, int &minute, int &second, int &msec)
{
    hour = time / 3600000;
    time %= 3600000;
    minute = time / 60000;
    time %= 60000;
    second = time / 1000;
    msec = time % 1000;
}

} // namespace

void DecodeDate(TDateTime value, int &year, int &month, int &day)
{
    decodeDays(DateTimeToTimeStamp(value).Date, year, month, day);
}

void DecodeTime(TDateTime value, int &hour, int &minute, int &second, int &msec)
{
    decodeMSecs(DateTimeToTimeStamp(value).Time, hour, minute, second, msec);
}

void DecodeDateTime(TDateTime value, int &year, int &month, int &day, int &hour, int &minute, int &second,
                    int &msec)
{
    const TTimeStamp stamp = DateTimeToTimeStamp(value);
    decodeDays(stamp.Date, year, month, day);
    decodeMSecs(stamp.Time, hour, minute, second, msec);
}

int DayOfWeek(TDateTime value)
{
    return DateTimeToTimeStamp(value).Date % 7 + 1;
}

TDateTime DateOf(TDateTime value)
{
    return TDateTime(std::trunc(static_cast<double>(value)));
}

TDateTime TimeOf(TDateTime value)
{
    const double days = value;
    return TDateTime(std::fabs(days - std::trunc(days)));
}

TDateTime Now()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto msec = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(msec));
}

TDateTime Date()
{
    return DateOf(Now());
}

TTimeStamp DateTimeToTimeStamp(TDateTime value)
{
    // A value past the days a time stamp counts, or no number at all, names no moment; it gives
    // the empty stamp instead of overflowing the conversion.
    constexpr double longest = (std::numeric_limits<std::int32_t>::max() - DateDelta) * MSecsPerDay;
    const double rounded = std::round(static_cast<double>(value) * MSecsPerDay);
    if (!(std::fabs(rounded) <= longest))
        return {};
    const auto msecs = static_cast<std::int64_t>(rounded);
    TTimeStamp result;
    result.Date = static_cast<std::int32_t>(DateDelta + msecs / MSecsPerDayInt);
    result.Time = static_cast<std::int32_t>((msecs < 0 ? -msecs : msecs) % MSecsPerDayInt);
    return result;
}

TDateTime TimeStampToDateTime(const TTimeStamp &value)
{
    if (value.Time < 0 || value.Time >= MSecsPerDayInt || value.Date <= 0)
        throw EConvertError("'" + std::to_string(value.Date) + "." + std::to_string(value.Time) +
                            "' is not a valid timestamp");
    const double days = value.Date - DateDelta;
    const double time = value.Time / MSecsPerDay;
    return TDateTime(days < 0 ? days - time : days + time);
}

double TimeStampToMSecs(const TTimeStamp &value)
{
    return static_cast<double>(value.Date) * MSecsPerDay + value.Time;
}

TTimeStamp MSecsToTimeStamp(double msecs)
{
    TTimeStamp result;
    result.Date = static_cast<std::int32_t>(std::trunc(msecs / MSecsPerDay));
    result.Time = static_cast<std::int32_t>(std::llround(msecs - static_cast<double>(result.Date) * MSecsPerDay));
    return result;
}

TSQLTimeStamp DateTimeToSQLTimeStamp(TDateTime value)
{
    int year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    TSQLTimeStamp result;
    result.Year = static_cast<std::int16_t>(year);
    result.Month = static_cast<std::uint16_t>(month);
    result.Day = static_cast<std::uint16_t>(day);
    result.Hour = static_cast<std::uint16_t>(hour);
    result.Minute = static_cast<std::uint16_t>(minute);
    result.Second = static_cast<std::uint16_t>(second);
    result.Fractions = static_cast<std::uint32_t>(msec);
    return result;
}

TDateTime SQLTimeStampToDateTime(const TSQLTimeStamp &value)
{
    if (value == TSQLTimeStamp{})
        return TDateTime(0.0);
    TDateTime date, time;
    if (!TryEncodeDate(value.Year, value.Month, value.Day, date) ||
        !TryEncodeTime(value.Hour, value.Minute, value.Second, static_cast<int>(value.Fractions), time))
        throw EConvertError("Invalid SQL time stamp");
    return TDateTime(date < 0 ? date - time : date + time);
}
