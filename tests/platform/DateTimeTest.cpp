#include "platform/DateTime.h"

#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

TEST(DateEncoding, DayZeroIsThe30thOfDecember1899AndInvalidComponentsAreRefused)
{
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_DOUBLE_EQ(EncodeDate(2025, 9, 8), 45908.0);
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(1, 60, 0, 0), EConvertError);
    TDateTime unused;
    EXPECT_TRUE(TryEncodeDate(2024, 2, 29, unused));
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29, unused));
}

TEST(DateEncoding, DecodingGivesBackEveryDayOfTheCalendar)
{
    // Across leap days, century rules and the epoch.
    for (int year : {1, 1600, 1899, 1900, 2000, 2024, 2100, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                int y, m, d;
                DecodeDate(EncodeDate(year, month, day), y, m, d);
                ASSERT_EQ(y * 10000 + m * 100 + d, year * 10000 + month * 100 + day);
            }
        }
    }
}

TEST(TimeEncoding, TheTimeOfDayIsTheFractionAndTheWeekCountsFromSunday)
{
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_NEAR(EncodeTime(7, 45, 0, 0) * MinutesPerDay, 465.0, 1e-9);
    int h, n, s, ms;
    DecodeTime(EncodeDate(2025, 1, 1) + EncodeTime(23, 59, 59, 999), h, n, s, ms);
    EXPECT_EQ(h, 23);
    EXPECT_EQ(n, 59);
    EXPECT_EQ(s, 59);
    EXPECT_EQ(ms, 999);
    // Before the epoch the fraction still counts forward from midnight.
    DecodeTime(TDateTime(-1.25), h, n, s, ms);
    EXPECT_EQ(h, 6);
    EXPECT_EQ(DayOfWeek(EncodeDate(2025, 9, 8)), 2); // a Monday
    EXPECT_EQ(DayOfWeek(EncodeDate(2025, 9, 14)), 1);
    EXPECT_DOUBLE_EQ(DateOf(TDateTime(45908.75)), 45908.0);
    EXPECT_DOUBLE_EQ(TimeOf(TDateTime(45908.75)), 0.75);
}

TEST(TimeEncoding, DecodingDateAndTimeTogetherMatchesDecodingThemApart)
{
    // The last millisecond before midnight rounds into the next day in both ways alike.
    const double values[] = {0.0, 45678.5, 45678.99999999, 45678.999999999, -1.25, -700.75, 2958465.5, 12.0004};
    for (const double value : values) {
        int year, month, day, hour, minute, second, msec;
        DecodeDateTime(value, year, month, day, hour, minute, second, msec);
        std::vector<int> apart(7);
        DecodeDate(value, apart[0], apart[1], apart[2]);
        DecodeTime(value, apart[3], apart[4], apart[5], apart[6]);
        EXPECT_EQ(std::vector<int>({year, month, day, hour, minute, second, msec}), apart) << value;
    }
    int year, month, day, hour, minute, second, msec;
    DecodeDateTime(EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59, 999), year, month, day, hour, minute, second, msec);
    EXPECT_EQ(std::vector<int>({year, month, day, hour, minute, second, msec}),
              std::vector<int>({2024, 2, 29, 23, 59, 59, 999}));
}

TEST(TimeStamps, DaysCountFromYearOneAndTimeInMillisecondsThroughTheRecordForm)
{
    const TTimeStamp epoch = DateTimeToTimeStamp(TDateTime(0.0));
    EXPECT_EQ(epoch.Date, DateDelta);
    EXPECT_EQ(epoch.Time, 0);
    EXPECT_EQ(DateTimeToTimeStamp(EncodeDate(1, 1, 1)).Date, 1);
    const TTimeStamp noon = DateTimeToTimeStamp(EncodeDate(2000, 1, 1) + 0.5);
    EXPECT_EQ(noon.Time, 43200000);
    const TTimeStamp before = DateTimeToTimeStamp(TDateTime(-1.25));
    EXPECT_EQ(before.Date, DateDelta - 1);
    EXPECT_EQ(before.Time, 21600000);
    EXPECT_DOUBLE_EQ(TimeStampToDateTime(before), -1.25);
    const TDateTime moment = EncodeDate(2025, 9, 8) + EncodeTime(7, 45, 12, 345);
    const double msecs = TimeStampToMSecs(DateTimeToTimeStamp(moment));
    EXPECT_DOUBLE_EQ(msecs, (DateDelta + 45908.0) * MSecsPerDay + 27912345);
    const TTimeStamp back = MSecsToTimeStamp(msecs);
    EXPECT_EQ(back.Date, DateDelta + 45908);
    EXPECT_EQ(back.Time, 27912345);
    EXPECT_NEAR(TimeStampToDateTime(back), moment, 1e-9);
    EXPECT_THROW(TimeStampToDateTime(TTimeStamp{0, 0}), EConvertError);
    EXPECT_THROW(TimeStampToDateTime(TTimeStamp{-1, 5}), EConvertError);
}

TEST(TimeStamps, ValuesNamingNoMomentDecodeAsTheEmptyStamp)
{
    for (const double value : {std::nan(""), 1e300, -1e300, std::numeric_limits<double>::infinity(), 3e6 * 1e3}) {
        const TTimeStamp stamp = DateTimeToTimeStamp(value);
        EXPECT_EQ(stamp.Date, 0) << value;
        EXPECT_EQ(stamp.Time, 0) << value;
        int year = -1, month = -1, day = -1, hour = -1, minute = -1, second = -1, msec = -1;
        DecodeDateTime(value, year, month, day, hour, minute, second, msec);
        EXPECT_EQ(year, 0) << value;
        EXPECT_EQ(hour, 0) << value;
    }
    // The last day a stamp still counts keeps its time of day.
    int hour = 0, minute = 0, second = 0, msec = 0;
    DecodeTime(2958465.5, hour, minute, second, msec);
    EXPECT_EQ(hour, 12);
}

TEST(SQLTimeStamps, ConvertToAndFromDateTime)
{
    const TDateTime moment = EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 59, 500);
    const TSQLTimeStamp stamp = DateTimeToSQLTimeStamp(moment);
    EXPECT_EQ(stamp.Year, 1999);
    EXPECT_EQ(stamp.Day, 31);
    EXPECT_EQ(stamp.Fractions, 500u);
    EXPECT_NEAR(SQLTimeStampToDateTime(stamp), moment, 1e-9);
    EXPECT_DOUBLE_EQ(SQLTimeStampToDateTime(TSQLTimeStamp{}), 0.0);
    TSQLTimeStamp bad = stamp;
    bad.Month = 13;
    EXPECT_THROW(SQLTimeStampToDateTime(bad), EConvertError);
}
