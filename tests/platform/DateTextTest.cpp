#include "platform/FormatSettings.h"

#include "platform/SysUtils.h"

#include <gtest/gtest.h>

namespace {

TFormatSettings hungarian()
{
    TFormatSettings settings = TFormatSettings::Invariant();
    settings.DateSeparator = '.';
    settings.ShortDateFormat = "yyyy. mm. dd.";
    settings.LongTimeFormat = "h:nn:ss";
    settings.ShortTimeFormat = "h:nn";
    settings.LongMonthNames[8] = "szeptember";
    settings.LongDayNames[1] = "h\xE9tf\xF5";
    return settings;
}

TFormatSettings dataFile()
{
    TFormatSettings settings = TFormatSettings::Invariant();
    settings.ShortDateFormat = "dd/mm/yyyy";
    return settings;
}

const TDateTime monday = EncodeDate(2025, 9, 8);

} // namespace

TEST(FormatDateTime, FormatLetters)
{
    const TFormatSettings settings = TFormatSettings::Invariant();
    const TDateTime moment = EncodeDate(2025, 3, 4) + EncodeTime(5, 6, 7, 8);
    EXPECT_EQ(FormatDateTime("d/m/yy", moment, settings), "4/3/25");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy", moment, settings), "04.03.2025");
    EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", moment, settings), "Tue Tuesday Mar March");
    EXPECT_EQ(FormatDateTime("h:n:s.z", moment, settings), "5:6:7.8");
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", moment, settings), "05:06:07.008");
    EXPECT_EQ(FormatDateTime("hh:mm", moment, settings), "05:06");
    EXPECT_EQ(FormatDateTime("\"day\" d 'of' mmmm", moment, settings), "day 4 of March");
    EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(13, 0, 0, 0), settings), "1 pm");
    EXPECT_EQ(FormatDateTime("hh AM/PM", EncodeTime(0, 30, 0, 0), settings), "12 AM");
    EXPECT_EQ(FormatDateTime("h a/p", EncodeTime(9, 0, 0, 0), settings), "9 a");
    EXPECT_EQ(FormatDateTime("hh ampm", EncodeTime(23, 0, 0, 0), settings), "11 PM");
    EXPECT_EQ(FormatDateTime("d/m h:n:s", EncodeDate(2025, 10, 10) + EncodeTime(10, 10, 10, 0), settings),
              "10/10 10:10:10");
}

TEST(FormatDateTime, SeparatorsAndNamedFormatsComeFromTheSettings)
{
    const TFormatSettings settings = hungarian();
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd", monday, settings), "2025.09.08");
    EXPECT_EQ(FormatDateTime("ddddd", monday, settings), "2025. 09. 08.");
    EXPECT_EQ(FormatDateTime("dddd, mmmm d.", monday, settings), "h\xE9tf\xF5, szeptember 8.");
    EXPECT_EQ(FormatDateTime("c", monday, settings), "2025. 09. 08.");
    EXPECT_EQ(FormatDateTime("c", monday + EncodeTime(7, 45, 0, 0), settings), "2025. 09. 08. 7:45:00");
    EXPECT_EQ(FormatDateTime("t", EncodeTime(7, 45, 0, 0), settings), "7:45");
}

TEST(DateText, DataFileSettingsGiveDayMonthYear)
{
    EXPECT_EQ(DateToStr(monday, dataFile()), "08/09/2025");
    EXPECT_EQ(DateTimeToStr(monday + EncodeTime(7, 45, 0, 0), dataFile()), "08/09/2025 07:45:00");
    EXPECT_EQ(TimeToStr(EncodeTime(7, 5, 0, 0), dataFile()), "07:05:00");
}

TEST(DateText, ParsingFollowsTheOrderOfTheShortDateFormat)
{
    EXPECT_DOUBLE_EQ(StrToDate("08/09/2025", dataFile()), monday);
    EXPECT_DOUBLE_EQ(StrToDate("09/08/2025", TFormatSettings::Invariant()), monday);
    EXPECT_DOUBLE_EQ(StrToDate("2025. 09. 08.", hungarian()), monday);
    EXPECT_DOUBLE_EQ(StrToDate("2025.9.8", hungarian()), monday);
    EXPECT_THROW(StrToDate("31/02/2025", dataFile()), EConvertError);
    EXPECT_THROW(StrToDate("08-09-2025", dataFile()), EConvertError);
    EXPECT_THROW(StrToDate("08/09/2025x", dataFile()), EConvertError);
    try {
        StrToDate("h\xE9tf\xF5", dataFile());
        FAIL();
    } catch (const EConvertError &error) {
        EXPECT_STREQ(error.what(), "'hétfő' nem érvényes dátum");
    }
}

TEST(DateText, TwoDigitYearsFallInTheCenturyWindow)
{
    TFormatSettings settings = dataFile();
    int thisYear, unused;
    DecodeDate(Date(), thisYear, unused, unused);
    int year;
    DecodeDate(StrToDate("01/01/" + std::to_string(thisYear % 100).insert(0, thisYear % 100 < 10 ? "0" : ""), settings), year, unused, unused);
    EXPECT_EQ(year, thisYear);
    settings.TwoDigitYearCenturyWindow = 0;
    DecodeDate(StrToDate("01/01/05", settings), year, unused, unused);
    EXPECT_EQ(year, thisYear / 100 * 100 + 5);
}

TEST(DateText, TimesTakeSecondsMillisecondsAndMarkers)
{
    const TFormatSettings settings = TFormatSettings::Invariant();
    EXPECT_DOUBLE_EQ(StrToTime("7:45", settings), EncodeTime(7, 45, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("07:45:30.250", settings), EncodeTime(7, 45, 30, 250));
    EXPECT_DOUBLE_EQ(StrToTime("1:15 PM", settings), EncodeTime(13, 15, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("12:00 am", settings), 0.0);
    EXPECT_THROW(StrToTime("25:00", settings), EConvertError);
    EXPECT_THROW(StrToTime("7", settings), EConvertError);
    EXPECT_THROW(StrToTime("13:00 PM", settings), EConvertError);
}

TEST(DateText, DateTimesRoundTripThroughTheirText)
{
    const TDateTime moment = monday + EncodeTime(7, 45, 12, 0);
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(moment, dataFile()), dataFile()), moment);
    EXPECT_DOUBLE_EQ(StrToDateTime("08/09/2025", dataFile()), monday);
    EXPECT_DOUBLE_EQ(StrToDateTime("7:45", dataFile()), EncodeTime(7, 45, 0, 0));
    // Before the epoch the time of day is subtracted from the (negative) day.
    const TDateTime old(-1.25);
    EXPECT_EQ(DateTimeToStr(old, dataFile()), "29/12/1899 06:00:00");
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(old, dataFile()), dataFile()), old);
    EXPECT_THROW(StrToDateTime("08/09/2025 x", dataFile()), EConvertError);
    EXPECT_THROW(StrToDateTime("08/09/2025 07:45 x", dataFile()), EConvertError);
    EXPECT_DOUBLE_EQ(StrToDateTime(" 30/12/1899 06:00", dataFile()), 0.25) << "day 0 adds its time";
}

TEST(FormatDateTime, ChangedSettingsTakeEffectOnTheNextCall)
{
    TFormatSettings settings = dataFile();
    const TDateTime moment = monday + EncodeTime(7, 45, 0, 0);
    EXPECT_EQ(FormatDateTime("c", moment, settings), "08/09/2025 07:45:00");
    settings.ShortDateFormat = "yyyy-mm-dd";
    EXPECT_EQ(FormatDateTime("c", moment, settings), "2025-09-08 07:45:00");
    settings.LongTimeFormat = "h:nn";
    EXPECT_EQ(FormatDateTime("c", moment, settings), "2025-09-08 7:45");
    settings.DateSeparator = '.';
    EXPECT_EQ(FormatDateTime("dd/mm", moment, settings), "08.09");
    settings.LongDayNames[1] = "Montag";
    EXPECT_EQ(FormatDateTime("dddd", moment, settings), "Montag");
}

TEST(FormatDateTime, ManyFormatsInTurnEachKeepTheirOwnLetters)
{
    const TFormatSettings settings = TFormatSettings::Invariant();
    const TDateTime moment = EncodeDate(2025, 3, 4) + EncodeTime(15, 6, 7, 8);
    const std::pair<const char *, const char *> expected[] = {
        {"yyyy", "2025"}, {"d/m", "4/3"},     {"hh:nn", "15:06"},  {"h am/pm", "3 pm"},
        {"mmm", "Mar"},   {"ss.zzz", "07.008"}, {"ddd", "Tue"},    {"t", "15:06"},
    };
    for (int round = 0; round < 3; ++round)
        for (const auto &[format, text] : expected)
            EXPECT_EQ(FormatDateTime(format, moment, settings), text) << format;
}

TEST(FormatDateTime, TextAfterTheDateAndTimeStaysAtMidnight)
{
    TFormatSettings settings = dataFile();
    settings.LongTimeFormat = "hh:nn 'h'";
    EXPECT_EQ(FormatDateTime("c' (x)'", monday, settings), "08/09/2025 (x)");
    EXPECT_EQ(FormatDateTime("c' (x)'", monday + EncodeTime(9, 30, 0, 0), settings), "08/09/2025 09:30 h (x)");
}

namespace {

// A leading blank keeps a text off the quick reading of plain texts, so both readings are compared.
void expectBothReadingsAgree(const std::string &text, const TFormatSettings &settings)
{
    TDateTime plain(-99999.0), scanned(-99999.0);
    const bool plainRead = TryStrToDateTime(text, plain, settings);
    const bool scannedRead = TryStrToDateTime(" " + text, scanned, settings);
    EXPECT_EQ(plainRead, scannedRead) << text;
    EXPECT_DOUBLE_EQ(plain, scanned) << text;
    const std::string date = text.substr(0, text.find(' '));
    plain = scanned = TDateTime(-99999.0);
    EXPECT_EQ(TryStrToDate(date, plain, settings), TryStrToDate(" " + date, scanned, settings)) << date;
    EXPECT_DOUBLE_EQ(plain, scanned) << date;
}

} // namespace

TEST(DateText, PlainTextsReadAsTheGeneralScannerReadsThem)
{
    TFormatSettings yearFirst = TFormatSettings::Invariant();
    yearFirst.ShortDateFormat = "yyyy-mm-dd";
    yearFirst.DateSeparator = '-';
    yearFirst.TimeSeparator = '.';
    const TFormatSettings settingsList[] = {dataFile(), TFormatSettings::Invariant(), yearFirst};
    for (const TFormatSettings &settings : settingsList) {
        for (int day = -700; day < 80000; day += 97) {
            const TDateTime moment = day + (day % 1440 + 1440) % 1440 * 61 % 86400 / 86400.0;
            const std::string text = DateTimeToStr(moment, settings);
            expectBothReadingsAgree(text, settings);
            TDateTime back;
            ASSERT_TRUE(TryStrToDateTime(text, back, settings)) << text;
            EXPECT_EQ(DateTimeToStr(back, settings), text);
        }
    }
}

TEST(DateText, NearlyPlainTextsReadAsTheGeneralScannerReadsThem)
{
    const TFormatSettings settings = dataFile();
    for (const char *text : {"8/9/2025 7:05", "08/09/2025 07:45", "08/09/2025 7:5:3", "31/02/2025 10:00:00",
                             "08/09/2025 24:00:00", "08/09/2025 07:60:00", "08/09/25", "08/09/025",
                             "008/09/2025", "08/09/20255", "08/09/2025 7", "08/09/2025 07:45:00.5",
                             "08/09/2025 07:45 PM", "08/09/2025/", "08/09/2025 ", "29/02/2024 23:59:59",
                             "29/02/2023", "1/1/0001", "31/12/9999 23:59:59", "08/09/2025  07:45:00"})
        expectBothReadingsAgree(text, settings);
}

TEST(FormatDateTime, LongTextsComeOutWhole)
{
    TFormatSettings settings = dataFile();
    const std::string longName(100, 'x');
    settings.LongDayNames[1] = longName;
    const std::string literal(70, 'y');
    EXPECT_EQ(FormatDateTime("dddd dd/mm/yyyy '" + literal + "' dddd", monday, settings),
              longName + " 08/09/2025 " + literal + " " + longName);
}
