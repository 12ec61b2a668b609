#include "platform/FmtBcd.h"

#include "platform/SysUtils.h"

#include <gtest/gtest.h>

namespace {

const TFormatSettings invariant = TFormatSettings::Invariant();

}

TEST(BcdRecords, HoldDigitsTwoToAByteWithSignAndScale)
{
    const TBcd value = StrToBcd("-12.5", invariant);
    EXPECT_EQ(value.Precision, 3);
    EXPECT_EQ(value.SignSpecialPlaces, 0x80 | 1);
    EXPECT_EQ(value.Fraction[0], 0x12);
    EXPECT_EQ(value.Fraction[1], 0x50);
    EXPECT_TRUE(IsBcdNegative(value));
    EXPECT_EQ(BcdScale(value), 1);
}

TEST(BcdRecords, CurrencyRoundTripsAtAnyDecimalCount)
{
    for (std::int64_t scaled : std::initializer_list<std::int64_t>{0, 1, -1, 123456789, -98765432101234, INT64_MAX, INT64_MIN}) {
        Currency back;
        ASSERT_TRUE(BCDToCurr(CurrToBCD(Currency::FromScaled(scaled)), back));
        EXPECT_EQ(back.Scaled(), scaled);
    }
    Currency rounded;
    ASSERT_TRUE(BCDToCurr(CurrToBCD(Currency::FromScaled(12355), 10, 2), rounded));
    EXPECT_EQ(rounded.Scaled(), 12400);
    EXPECT_THROW(CurrToBCD(Currency(123456), 5, 2), EConvertError);
}

TEST(BcdRecords, ValuesBeyondCurrencyDoNotConvert)
{
    Currency unused;
    EXPECT_FALSE(BCDToCurr(StrToBcd("1000000000000000", invariant), unused));
    EXPECT_TRUE(BCDToCurr(StrToBcd("0.00005", invariant), unused));
    EXPECT_EQ(unused.Scaled(), 1);
}

TEST(BcdRecords, TextAndDoublesConvertBothWays)
{
    EXPECT_EQ(BcdToStr(StrToBcd("00123.4500", invariant), invariant), "123.45");
    EXPECT_EQ(BcdToStr(StrToBcd("-0.001", invariant), invariant), "-0.001");
    EXPECT_EQ(BcdToStr(StrToBcd("0", invariant), invariant), "0");
    EXPECT_EQ(BcdToStr(StrToBcd("  12 ", invariant), invariant), "12");
    EXPECT_DOUBLE_EQ(BcdToDouble(DoubleToBcd(-1234.5625)), -1234.5625);
    EXPECT_EQ(BcdToStr(DoubleToBcd(1e-7), invariant), "0.0000001");
    TFormatSettings comma = invariant;
    comma.DecimalSeparator = ',';
    EXPECT_EQ(BcdToStr(StrToBcd("3,25", comma), comma), "3,25");
    EXPECT_THROW(StrToBcd("3.2.1", invariant), EConvertError);
    EXPECT_THROW(StrToBcd("", invariant), EConvertError);
    EXPECT_THROW(StrToBcd(std::string(70, '9'), invariant), EConvertError);
}

TEST(BcdRecords, CompareByNumericValue)
{
    EXPECT_EQ(BcdCompare(StrToBcd("1.50", invariant), StrToBcd("1.5", invariant)), 0);
    EXPECT_LT(BcdCompare(StrToBcd("-2", invariant), StrToBcd("1", invariant)), 0);
    EXPECT_GT(BcdCompare(StrToBcd("-1", invariant), StrToBcd("-1.01", invariant)), 0);
    EXPECT_LT(BcdCompare(StrToBcd("9.99", invariant), StrToBcd("10", invariant)), 0);
}
