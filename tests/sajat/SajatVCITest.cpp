#include "sajat/SajatVCI.h"

#include <gtest/gtest.h>

TEST(OccasionItem, BoxAndHintShowTheFrequencyMarkerAndTheWeekRuns)
{
    TCalendarItems items;
    TSajat *item = items.Add<TSajat>();
    item->SetStart(2 + 465 / 1440.0);
    item->SetLength(90);
    item->SetKod(QStringLiteral("K1"));
    item->SetNev(QStringLiteral("Algebra"));
    item->SetKiiras(QStringLiteral("A101"));
    item->SetOktatok(QStringLiteral("T1, T2"));
    // Week mask, frequency code (set after the mask, as the main window does), marker; runs.
    const struct { const char *mask; int code; const char *marker, *runs; } cases[] = {
        {"111111111111111", 0, "", "1-15"}, {"101010101010101", 1, "+", "1,3,5,7,9,11,13,15"},
        {"010101010101010", 2, "#", "2,4,6,8,10,12,14"}, {"000000000000000", 3, "(?)", "?"},
        {"110111000000011", 9, "(1-2,4-6,14-15)", "1-2,4-6,14-15"}, {"", 3, "(?)", "?"}};
    TSajat *atOnce = items.Add<TSajat>();
    atOnce->SetStart(item->Start());
    atOnce->SetLength(item->Length());
    for (const auto &c : cases) {
        item->SetHetek(QString::fromLatin1(c.mask));
        item->SetGyakorisag(c.code);
        atOnce->SetTexts({.Kod = item->Kod(), .Nev = item->Nev(), .Oktatok = item->Oktatok(),
                          .Kiiras = item->Kiiras(), .Hetek = item->Hetek(), .Gyakorisag = c.code});
        EXPECT_EQ(atOnce->Subject(), item->Subject()) << c.mask;
        EXPECT_EQ(atOnce->Comment(), item->Comment()) << c.mask;
        const QString marker = QString::fromUtf8(c.marker);
        EXPECT_EQ(item->HetekToText(), QString::fromLatin1(c.runs)) << c.mask;
        EXPECT_EQ(item->Subject(), QStringLiteral("K1; Algebra; A101") +
                                       (marker.isEmpty() ? QString() : QStringLiteral("; ") + marker) +
                                       QStringLiteral("; T1, T2"));
        EXPECT_EQ(item->Comment(), QStringLiteral("K1\nAlgebra\n\nHétfő 07:45-09:15\nA101 ") + marker +
                                       QStringLiteral("\nT1, T2"));
    }
    item->SetHetek(QStringLiteral("000100010001000"));
    item->SetOktatok(QString());
    EXPECT_EQ(item->Comment(), QStringLiteral("K1\nAlgebra\n\nHétfő 07:45-09:15\nA101 (?)\n"))
        << "a later mask leaves the kept marker, an empty line stays";
}

TEST(OccasionItem, TimesNameTheWeekdayOfTheFirstSixWeeksAndKeepTheDay)
{
    TCalendarItems items;
    TSajat *item = items.Add<TSajat>();
    const std::pair<int, const char *> days[] = {{2, "Hétfő"},     {3, "Kedd"}, {8, "Vasárnap"}, {9, "Hétfő"},
                                                 {43, "Vasárnap"}, {44, "?"},   {1, "?"}};
    for (const auto &[day, name] : days) {
        item->SetStart(day + 600 / 1440.0);
        EXPECT_EQ(item->StartText(), QString::fromUtf8(name) + QStringLiteral(" 10:00")) << day;
    }
    item->SetStart(2 + 1350 / 1440.0);
    item->SetLength(120);
    EXPECT_EQ(item->EndTimeText(), QStringLiteral("00:30")) << "an end past midnight";
    item->SetStart(4 + 485 / 1440.0);
    item->SetLength(55);
    EXPECT_EQ(item->EndTimeText(), QStringLiteral("09:00"));
    item->SetEndTime(30 + 585 / 1440.0);
    EXPECT_EQ(item->Length(), 100);
    EXPECT_EQ(item->StartText(), QStringLiteral("Szerda 08:05")) << "only the end's time of day counts";
    item->SetEndTime(3 + 5 / 1440.0);
    EXPECT_EQ(item->Length(), 5) << "an end before the start is bounded by the item";
    for (int minute = 0; minute < 1440; minute += 15)
        EXPECT_EQ(MinuteOfDay(7 + minute / 1440.0), minute);
}
