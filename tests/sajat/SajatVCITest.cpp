// The occasion item: the texts of its box and hint, its week list and its times.

#include "sajat/SajatVCI.h"

#include <gtest/gtest.h>

namespace {

TDateTime at(int day, int hour, int minute)
{
    return day + (hour * 60 + minute) / 1440.0;
}

struct OccasionItem : testing::Test {
    TCalendarItems items;
    TSajat *item = items.Add<TSajat>();
    // As the main window fills it: week mask before the frequency.
    void fill(const QString &hetek, int gyakorisag)
    {
        item->SetStart(at(2, 7, 45));
        item->SetLength(90);
        item->SetKod(QStringLiteral("K1"));
        item->SetNev(QStringLiteral("Algebra"));
        item->SetKiiras(QStringLiteral("A101"));
        item->SetOktatok(QStringLiteral("T1, T2"));
        item->SetHetek(hetek);
        item->SetGyakorisag(gyakorisag);
    }
};

} // namespace

TEST_F(OccasionItem, BoxAndHintShowTheFrequencyMarker)
{
    const struct { const char *mask; int code; const char *marker; } cases[] = {{"111111111111111", 0, ""},
        {"101010101010101", 1, "+"}, {"010101010101010", 2, "#"}, {"101010101010101", 999, "(1,3,5,7,9,11,13,15)"},
        {"000000000000000", 3, "(?)"}};
    for (const auto &c : cases) {
        fill(QString::fromLatin1(c.mask), c.code);
        const QString marker = QString::fromUtf8(c.marker);
        const QString shown = marker.isEmpty() ? QString() : QStringLiteral("; ") + marker;
        EXPECT_EQ(item->GyakorisagJel(), marker);
        EXPECT_EQ(item->Subject(), QStringLiteral("K1; Algebra; A101") + shown + QStringLiteral("; T1, T2"));
        EXPECT_EQ(item->Comment(), QStringLiteral("K1\nAlgebra\n\nHétfő 07:45-09:15\nA101 ") + marker +
                                       QStringLiteral("\nT1, T2"));
    }
    item->SetHetek(QStringLiteral("000100010001000"));
    EXPECT_EQ(item->GyakorisagJel(), QStringLiteral("(?)")) << "a later mask leaves the kept marker";
    item->SetKod(QStringLiteral("K2"));
    item->SetNev(QStringLiteral("Analízis"));
    item->SetOktatok(QString());
    EXPECT_EQ(item->Comment(), QStringLiteral("K2\nAnalízis\n\nHétfő 07:45-09:15\nA101 (?)\n"));
}

TEST_F(OccasionItem, WeekListJoinsRunsOfConsecutiveWeeks)
{
    const std::pair<const char *, const char *> cases[] = {{"101110000000000", "1,3-5"}, {"111111111111111", "1-15"},
        {"110111000000000", "1-2,4-6"}, {"000000000000001", "15"}, {"000000000000011", "14-15"},
        {"000000000000000", "?"}, {"", "?"}};
    for (const auto &[mask, text] : cases) {
        item->SetHetek(QString::fromLatin1(mask));
        EXPECT_EQ(item->HetekToText(), QString::fromLatin1(text)) << mask;
    }
}

TEST_F(OccasionItem, TimesNameTheWeekdayOfTheFirstSixWeeksAndKeepTheDay)
{
    const std::pair<int, const char *> days[] = {{2, "Hétfő"}, {3, "Kedd"}, {8, "Vasárnap"}, {9, "Hétfő"},
                                                 {43, "Vasárnap"}, {44, "?"}, {1, "?"}};
    for (const auto &[day, name] : days) {
        item->SetStart(at(day, 10, 0));
        EXPECT_EQ(item->StartText(), QString::fromUtf8(name) + QStringLiteral(" 10:00")) << day;
    }
    item->SetStart(at(4, 8, 5));
    item->SetLength(55);
    EXPECT_EQ(item->StartText(), QStringLiteral("Szerda 08:05"));
    EXPECT_EQ(item->EndTimeText(), QStringLiteral("09:00"));
    EXPECT_NEAR(double(item->EndTime()), double(at(4, 9, 0)), 1e-9);
    item->SetEndTime(at(30, 9, 45));
    EXPECT_EQ(item->Length(), 100);
    EXPECT_EQ(int(double(item->Start())), 4);
    item->SetStart(at(2, 23, 0));
    item->SetEndTime(at(3, 0, 30));
    EXPECT_EQ(item->Length(), 5) << "an end before the start is bounded by the item";
    for (int minute = 0; minute < 1440; minute += 15)
        EXPECT_EQ(MinuteOfDay(7 + minute / 1440.0), minute);
}
