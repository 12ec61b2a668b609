#include "platform/Currency.h"

#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(CurrencyValues, AreTenThousandthsExactly)
{
    EXPECT_EQ(Currency(1.5).Scaled(), 15000);
    EXPECT_EQ(Currency(0.1) + Currency(0.2), Currency(0.3));
    EXPECT_EQ(Currency(-2.00005).Scaled(), -20000); // half to even
    EXPECT_EQ(Currency(2.00015).Scaled(), 20002);
    EXPECT_DOUBLE_EQ(Currency::FromScaled(12345).ToDouble(), 1.2345);
}

TEST(CurrencyValues, MultiplyAndDivideRoundToTheScale)
{
    EXPECT_EQ(Currency(1.5) * Currency(1.5), Currency(2.25));
    EXPECT_EQ((Currency(1) / Currency(3)).Scaled(), 3333);
    EXPECT_EQ((Currency(2) / Currency(3)).Scaled(), 6667);
    EXPECT_THROW(Currency(1) / Currency(0), EZeroDivide);
}

TEST(CurrencyValues, OutOfRangeValuesAreRefused)
{
    EXPECT_THROW(Currency(1e16), EConvertError);
    EXPECT_THROW(Currency(std::nan("")), EConvertError);
    EXPECT_NO_THROW(Currency(9e14));
}
