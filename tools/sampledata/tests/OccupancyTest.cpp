#include "Occupancy.h"

#include <gtest/gtest.h>

using namespace sampledata;

TEST(WeekMask, EachOneIsTheBitOfItsWeek)
{
    EXPECT_EQ(weekBits("111111111111111"), 0x7FFF);
    EXPECT_EQ(weekBits("101010101010101"), 0x5555);
    EXPECT_EQ(weekBits("010000000000000"), 0x0002);
    EXPECT_EQ(weekBits("000000000000000"), 0);
}

TEST(Occupancy, OverlappingTimeInACommonWeekIsTaken)
{
    Occupancy rooms(2);
    rooms.take(0, 2, 465, 555, weekBits("111111111111111"));
    EXPECT_FALSE(rooms.isFree(0, 2, 510, 555, weekBits("000000000000001")));
    EXPECT_FALSE(rooms.isFree(0, 2, 420, 470, weekBits("100000000000000")));
}

TEST(Occupancy, OtherOwnerDayWeekOrTimeIsFree)
{
    Occupancy rooms(2);
    rooms.take(0, 2, 465, 555, weekBits("101010101010101"));
    EXPECT_TRUE(rooms.isFree(1, 2, 465, 555, weekBits("111111111111111")));
    EXPECT_TRUE(rooms.isFree(0, 3, 465, 555, weekBits("111111111111111")));
    EXPECT_TRUE(rooms.isFree(0, 2, 465, 555, weekBits("010101010101010")));
    EXPECT_TRUE(rooms.isFree(0, 2, 555, 645, weekBits("111111111111111"))); // starts as the other ends
}

TEST(Occupancy, TimesOffTheFiveMinuteGridStillMeet)
{
    Occupancy rooms(1);
    rooms.take(0, 4, 600, 662, weekBits("111111111111111"));
    EXPECT_FALSE(rooms.isFree(0, 4, 661, 700, weekBits("111111111111111")));
}

TEST(Occupancy, LateEveningOnSundayIsWithinTheWeek)
{
    Occupancy rooms(1);
    rooms.take(0, 8, 1380, 1440, weekBits("111111111111111"));
    EXPECT_FALSE(rooms.isFree(0, 8, 1400, 1440, weekBits("111111111111111")));
    EXPECT_TRUE(rooms.isFree(0, 7, 1380, 1440, weekBits("111111111111111")));
}
