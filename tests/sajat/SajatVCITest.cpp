// The occasion item: the texts of its box and hint, its week list and its times.

#include "sajat/SajatVCI.h"
#include "calendar/veltoCalendar.h"

#include <gtest/gtest.h>

namespace {

constexpr int Monday1 = 2;

TDateTime at(int day, int hour, int minute)
{
    return day + (hour * 60 + minute) / 1440.0;
}

QStringList hintLines(const TSajat &item)
{
    return item.Comment().split(QLatin1Char('\n'));
}

// An item as the main window fills it: week mask before the frequency.
TSajat *occasion(TCalendarItems &items, const QString &hetek, int gyakorisag)
{
    auto *item = items.Add<TSajat>();
    item->SetStart(at(Monday1, 7, 45));
    item->SetLength(90);
    item->SetKod(QStringLiteral("K1"));
    item->SetNev(QStringLiteral("Algebra"));
    item->SetKiiras(QStringLiteral("A101"));
    item->SetOktatok(QStringLiteral("T1, T2"));
    item->SetHetek(hetek);
    item->SetGyakorisag(gyakorisag);
    return item;
}

} // namespace

TEST(OccasionItemCreation, StartsWithoutIdsAndTexts)
{
    TveltoCalendar calendar;
    auto *item = calendar.Items().Add<TSajat>();
    EXPECT_EQ(item->AlkalomID, -1);
    EXPECT_EQ(item->KurzusID, -1);
    EXPECT_TRUE(item->Kod().isEmpty());
    EXPECT_TRUE(item->Hetek().isEmpty());
    EXPECT_TRUE(item->GyakorisagJel().isEmpty());
    EXPECT_EQ(calendar.Items().Count(), 1);
}

TEST(OccasionItemMarker, OddWeeksShowPlusNotTheWeekList)
{
    TCalendarItems items;
    TSajat *item = occasion(items, QStringLiteral("101010101010101"), 1);
    EXPECT_EQ(item->GyakorisagJel(), QStringLiteral("+"));
    EXPECT_EQ(item->Subject(), QStringLiteral("K1; Algebra; A101; +; T1, T2"));
}

TEST(OccasionItemMarker, EveryWeekShowsNoMarkerAndEvenWeeksShowHash)
{
    TCalendarItems items;
    TSajat *every = occasion(items, QStringLiteral("111111111111111"), 0);
    EXPECT_EQ(every->Subject(), QStringLiteral("K1; Algebra; A101; T1, T2"));
    TSajat *even = occasion(items, QStringLiteral("010101010101010"), 2);
    EXPECT_EQ(even->GyakorisagJel(), QStringLiteral("#"));
}

TEST(OccasionItemMarker, CustomMaskListsItsWeeks)
{
    TCalendarItems items;
    TSajat *item = occasion(items, QStringLiteral("101010101010101"), 999);
    EXPECT_EQ(item->GyakorisagJel(), QStringLiteral("(1,3,5,7,9,11,13,15)"));
    EXPECT_EQ(item->Subject(), QStringLiteral("K1; Algebra; A101; (1,3,5,7,9,11,13,15); T1, T2"));
}

TEST(OccasionItemMarker, EveryThirdWeekWithAnEmptyMaskShowsAQuestionMark)
{
    TCalendarItems items;
    TSajat *item = occasion(items, QStringLiteral("000000000000000"), 3);
    EXPECT_EQ(item->GyakorisagJel(), QStringLiteral("(?)"));
}

TEST(OccasionItemMarker, FollowsTheMaskSetBeforeTheCode)
{
    TCalendarItems items;
    TSajat *item = occasion(items, QStringLiteral("110000000000000"), 4);
    item->SetHetek(QStringLiteral("000100010001000"));
    EXPECT_EQ(item->GyakorisagJel(), QStringLiteral("(1-2)")) << "a later mask leaves the kept marker";
    item->SetGyakorisag(4);
    EXPECT_EQ(item->GyakorisagJel(), QStringLiteral("(4,8,12)"));
}

TEST(OccasionItemWeeks, JoinsRunsOfConsecutiveWeeks)
{
    TCalendarItems items;
    auto *item = items.Add<TSajat>();
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("101110000000000"), QStringLiteral("1,3-5")},
        {QStringLiteral("111111111111111"), QStringLiteral("1-15")},
        {QStringLiteral("110111000000000"), QStringLiteral("1-2,4-6")},
        {QStringLiteral("000000000000001"), QStringLiteral("15")},
        {QStringLiteral("000000000000011"), QStringLiteral("14-15")},
        {QStringLiteral("000000000000000"), QStringLiteral("?")},
        {QString(), QStringLiteral("?")},
    };
    for (const auto &[mask, text] : cases) {
        item->SetHetek(mask);
        EXPECT_EQ(item->HetekToText(), text) << mask.toStdString();
    }
}

TEST(OccasionItemHint, ShowsCodeTitleTimeRoomAndTeachersOnTheirLines)
{
    TCalendarItems items;
    TSajat *item = occasion(items, QStringLiteral("101010101010101"), 1);
    const QStringList expected{QStringLiteral("K1"), QStringLiteral("Algebra"), QString(),
                               QStringLiteral("Hétfő 07:45-09:15"), QStringLiteral("A101 +"), QStringLiteral("T1, T2")};
    EXPECT_EQ(hintLines(*item), expected);
}

TEST(OccasionItemHint, EmptyTeachersKeepTheLastLineAndTheSubjectSeparator)
{
    TCalendarItems items;
    TSajat *item = occasion(items, QStringLiteral("111111111111111"), 0);
    item->SetOktatok(QString());
    EXPECT_TRUE(item->Subject().endsWith(QStringLiteral("A101; ")));
    const QStringList lines = hintLines(*item);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[4], QStringLiteral("A101 "));
    EXPECT_TRUE(lines[5].isEmpty());
}

TEST(OccasionItemHint, EverySetterRecomposesTheTexts)
{
    TCalendarItems items;
    TSajat *item = occasion(items, QStringLiteral("111111111111111"), 0);
    item->SetKiiras(QStringLiteral("B202"));
    EXPECT_EQ(item->Subject(), QStringLiteral("K1; Algebra; B202; T1, T2"));
    item->SetKod(QStringLiteral("K2"));
    EXPECT_EQ(hintLines(*item).first(), QStringLiteral("K2"));
}

TEST(OccasionItemTimes, StartTextNamesTheWeekdayOfTheFirstSixWeeks)
{
    TCalendarItems items;
    auto *item = items.Add<TSajat>();
    const std::pair<int, QString> cases[] = {
        {2, QStringLiteral("Hétfő")},  {3, QStringLiteral("Kedd")},      {8, QStringLiteral("Vasárnap")},
        {9, QStringLiteral("Hétfő")},  {43, QStringLiteral("Vasárnap")}, {44, QStringLiteral("?")},
        {60, QStringLiteral("?")},     {1, QStringLiteral("?")},
    };
    for (const auto &[day, name] : cases) {
        item->SetStart(at(day, 10, 0));
        EXPECT_EQ(item->StartText(), name + QStringLiteral(" 10:00")) << "day " << day;
    }
}

TEST(OccasionItemTimes, ClockTextsHaveTwoDigitHours)
{
    TCalendarItems items;
    auto *item = items.Add<TSajat>();
    item->SetStart(at(4, 8, 5));
    item->SetLength(55);
    EXPECT_EQ(item->StartText(), QStringLiteral("Szerda 08:05"));
    EXPECT_EQ(item->EndTimeText(), QStringLiteral("09:00"));
}

TEST(OccasionItemTimes, EndTimeIsStartPlusLength)
{
    TCalendarItems items;
    auto *item = items.Add<TSajat>();
    item->SetStart(at(5, 13, 0));
    item->SetLength(90);
    EXPECT_NEAR(double(item->EndTime()), double(at(5, 14, 30)), 1e-9);
}

TEST(OccasionItemTimes, SetEndTimeTakesOnlyTheTimeOfDay)
{
    TCalendarItems items;
    auto *item = items.Add<TSajat>();
    item->SetStart(at(2, 7, 45));
    item->SetEndTime(at(30, 9, 15));
    EXPECT_EQ(item->Length(), 90);
    EXPECT_EQ(int(double(item->Start())), 2);
}

TEST(OccasionItemTimes, SetEndTimeBeforeTheStartIsBoundedByTheItem)
{
    TCalendarItems items;
    auto *item = items.Add<TSajat>();
    item->SetStart(at(2, 23, 0));
    item->SetEndTime(at(3, 0, 30));
    EXPECT_EQ(item->Length(), 5);
}

TEST(OccasionItemTimes, MinuteOfDayIsExactForQuarterHours)
{
    for (int minute = 0; minute < 1440; minute += 15)
        EXPECT_EQ(MinuteOfDay(7 + minute / 1440.0), minute);
}
