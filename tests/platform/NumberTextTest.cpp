#include "platform/FormatSettings.h"

#include "platform/SysUtils.h"

#include <gtest/gtest.h>

namespace {

TFormatSettings invariant()
{
    return TFormatSettings::Invariant();
}

TFormatSettings hungarianNumbers()
{
    TFormatSettings settings = TFormatSettings::Invariant();
    settings.DecimalSeparator = ',';
    settings.ThousandSeparator = ' ';
    settings.CurrencyString = "Ft";
    settings.CurrencyFormat = 3;
    settings.NegCurrFormat = 8;
    return settings;
}

} // namespace

TEST(IntegerText, ParsesSignsBlanksAndHex)
{
    EXPECT_EQ(StrToInt(" -17 "), -17);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToIntDef("x", 7), 7);
    EXPECT_EQ(IntToStr(-42), "-42");
    try {
        StrToInt("12a");
        FAIL();
    } catch (const EConvertError &error) {
        EXPECT_STREQ(error.what(), "'12a' nem érvényes egész szám");
    }
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("2147483648"), EConvertError);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(FloatText, GeneralFormatUsesFifteenDigitsAndSwitchesToExponents)
{
    const TFormatSettings settings = invariant();
    EXPECT_EQ(FloatToStr(0.1, settings), "0.1");
    EXPECT_EQ(FloatToStr(1.0 / 3, settings), "0.333333333333333");
    EXPECT_EQ(FloatToStr(-2.5, settings), "-2.5");
    EXPECT_EQ(FloatToStr(100, settings), "100");
    EXPECT_EQ(FloatToStr(123456789012345.0, settings), "123456789012345");
    EXPECT_EQ(FloatToStr(1e15, settings), "1E15");
    EXPECT_EQ(FloatToStr(0.00001, settings), "0.00001");
    EXPECT_EQ(FloatToStr(0.0000015, settings), "1.5E-6");
    EXPECT_EQ(FloatToStr(0, settings), "0");
    EXPECT_EQ(FloatToStr(2.5, hungarianNumbers()), "2,5");
    EXPECT_EQ(FloatToStrG(3.14159, 3, settings), "3.14");
}

TEST(FloatText, ParsingFollowsTheDecimalSeparator)
{
    EXPECT_DOUBLE_EQ(StrToFloat(" 1.5e3 ", invariant()), 1500.0);
    EXPECT_DOUBLE_EQ(StrToFloat("1.5E+3", invariant()), 1500.0);
    EXPECT_DOUBLE_EQ(StrToFloat("-,25", hungarianNumbers()), -0.25);
    EXPECT_THROW(StrToFloat("1.5", hungarianNumbers()), EConvertError);
    EXPECT_THROW(StrToFloat("1,000.5", invariant()), EConvertError);
    EXPECT_THROW(StrToFloat("e5", invariant()), EConvertError);
    EXPECT_THROW(StrToFloat("1e999", invariant()), EConvertError);
    double value = 0;
    EXPECT_FALSE(TryStrToFloat("", value, invariant()));
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(0.1 + 0.2, invariant()), invariant()), 0.3);
}

TEST(FloatText, FormatFloatPlaceholdersGroupingAndSections)
{
    const TFormatSettings settings = invariant();
    EXPECT_EQ(FormatFloat("0.00", 3.14159, settings), "3.14");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891, settings), "1,234,567.89");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891, hungarianNumbers()), "1 234 567,89");
    EXPECT_EQ(FormatFloat("000", 7, settings), "007");
    EXPECT_EQ(FormatFloat("#.##", 0.5, settings), ".5");
    EXPECT_EQ(FormatFloat("0.##", 2, settings), "2");
    EXPECT_EQ(FormatFloat("0", -2.6, settings), "-3");
    EXPECT_EQ(FormatFloat("0.0;(0.0);\"zero\"", -1.25, settings), "(1.3)");
    EXPECT_EQ(FormatFloat("0.0;(0.0)", -1.25, settings), "(1.3)");
    EXPECT_EQ(FormatFloat("0.0;(0.0);\"zero\"", 0.01, settings), "zero");
    EXPECT_EQ(FormatFloat("\"Ft \"0", 12, settings), "Ft 12");
    EXPECT_EQ(FormatFloat("0.00E+00", 12345, settings), "1.23E+04");
    EXPECT_EQ(FormatFloat("0.0E-0", 0.00012, settings), "1.2E-4");
    EXPECT_EQ(FormatFloat("", 2.5, settings), "2.5");
}

TEST(CurrencyText, PlainTextDropsTrailingZeros)
{
    EXPECT_EQ(CurrToStr(Currency::FromScaled(125000), invariant()), "12.5");
    EXPECT_EQ(CurrToStr(Currency::FromScaled(-1), invariant()), "-0.0001");
    EXPECT_EQ(CurrToStr(Currency(7), hungarianNumbers()), "7");
    EXPECT_EQ(CurrToStr(Currency::FromScaled(INT64_MIN), invariant()), "-922337203685477.5808");
}

TEST(CurrencyText, FormattedTextPlacesTheCurrencyString)
{
    EXPECT_EQ(CurrToStrF(Currency(1234.5), 2, hungarianNumbers()), "1 234,50 Ft");
    EXPECT_EQ(CurrToStrF(Currency(-3), 0, hungarianNumbers()), "-3 Ft");
    TFormatSettings dollars = invariant();
    dollars.CurrencyString = "$";
    dollars.NegCurrFormat = 0;
    EXPECT_EQ(CurrToStrF(Currency(-3), 2, dollars), "($3.00)");
    EXPECT_EQ(CurrToStrF(Currency(3), 2, dollars), "$3.00");
}

TEST(CurrencyText, ParsingIsExactToTheLastPlace)
{
    EXPECT_EQ(StrToCurr("922337203685477.5807", invariant()).Scaled(), INT64_MAX);
    EXPECT_EQ(StrToCurr("0.00005", invariant()).Scaled(), 1);
    EXPECT_EQ(StrToCurr("-1,25", hungarianNumbers()).Scaled(), -12500);
    EXPECT_EQ(StrToCurr("1.5E2", invariant()).Scaled(), 1500000);
    EXPECT_THROW(StrToCurr("922337203685478", invariant()), EConvertError);
    EXPECT_THROW(StrToCurr("x", invariant()), EConvertError);
}
