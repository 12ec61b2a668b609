// Setting an occasion item's texts at once must read exactly as setting them one by one.

#include "sajat/SajatVCI.h"

#include <gtest/gtest.h>

namespace {

TDateTime at(int day, int hour, int minute)
{
    return day + (hour * 60 + minute) / 1440.0;
}

TEST(OccasionItemTexts, SetAtOnceTheyReadAsSetOneByOne)
{
    const struct {
        const char *mask;
        int code;
        int day, hour, minute, length;
        const char *teachers;
    } cases[] = {{"111111111111111", 0, 2, 7, 45, 90, "T1, T2"}, {"101010101010101", 1, 3, 0, 0, 5, ""},
                 {"010101010101010", 2, 8, 23, 55, 60, "Kovács Ádám"}, {"100100100100100", 999, 4, 9, 5, 100, ""},
                 {"000000000000000", 3, 50, 12, 0, 1440, "T3"}};
    TCalendarItems items;
    for (const auto &c : cases) {
        TSajat *oneByOne = items.Add<TSajat>();
        TSajat *atOnce = items.Add<TSajat>();
        for (TSajat *item : {oneByOne, atOnce}) {
            item->SetStart(at(c.day, c.hour, c.minute));
            item->SetLength(c.length);
        }
        oneByOne->SetKod(QStringLiteral("K1"));
        oneByOne->SetNev(QStringLiteral("Algebra"));
        oneByOne->SetKiiras(QStringLiteral("A-101"));
        oneByOne->SetOktatok(QString::fromUtf8(c.teachers));
        oneByOne->SetHetek(QString::fromLatin1(c.mask));
        oneByOne->SetGyakorisag(c.code);
        atOnce->SetTexts({.Kod = QStringLiteral("K1"),
                          .Nev = QStringLiteral("Algebra"),
                          .Oktatok = QString::fromUtf8(c.teachers),
                          .Kiiras = QStringLiteral("A-101"),
                          .Hetek = QString::fromLatin1(c.mask),
                          .Gyakorisag = c.code});
        EXPECT_EQ(atOnce->Subject(), oneByOne->Subject()) << c.mask;
        EXPECT_EQ(atOnce->Comment(), oneByOne->Comment()) << c.mask;
        EXPECT_EQ(atOnce->GyakorisagJel(), oneByOne->GyakorisagJel()) << c.mask;
        EXPECT_EQ(atOnce->Hetek(), oneByOne->Hetek()) << c.mask;
    }
}

TEST(OccasionItemTexts, TimesReadAsTwoDigitHoursAndMinutes)
{
    const struct {
        int hour, minute, length;
        const char *start, *end;
    } cases[] = {{0, 0, 5, "Hétfő 00:00", "00:05"}, {7, 5, 60, "Hétfő 07:05", "08:05"},
                 {9, 59, 1, "Hétfő 09:59", "10:04"}, {23, 0, 55, "Hétfő 23:00", "23:55"},
                 {22, 30, 120, "Hétfő 22:30", "00:30"}};
    TCalendarItems items;
    for (const auto &c : cases) {
        TSajat *item = items.Add<TSajat>();
        item->SetStart(at(2, c.hour, c.minute));
        item->SetLength(c.length);
        item->SetTexts({});
        EXPECT_EQ(item->StartText(), QString::fromUtf8(c.start));
        EXPECT_EQ(item->EndTimeText(), QString::fromUtf8(c.end));
        EXPECT_TRUE(item->Comment().contains(QString::fromUtf8(c.start) + QLatin1Char('-') + QString::fromUtf8(c.end)));
    }
}

} // namespace
