#include "platform/Variant.h"

#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

namespace {

// Text conversions of variants use the user default; fix it for the test.
class Variants : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = FormatSettings();
        FormatSettings() = TFormatSettings::Invariant();
    }
    void TearDown() override { FormatSettings() = saved; }

    TFormatSettings saved;
};

} // namespace

TEST_F(Variants, KnowTheirType)
{
    EXPECT_TRUE(VarIsEmpty(Variant()));
    EXPECT_TRUE(VarIsNull(Variant::Null()));
    EXPECT_EQ(VarType(Variant(5)), varInteger);
    EXPECT_EQ(VarType(Variant(std::int16_t(5))), varSmallint);
    EXPECT_EQ(VarType(Variant(std::int64_t(5))), varInt64);
    EXPECT_EQ(VarType(Variant(1.5)), varDouble);
    EXPECT_EQ(VarType(Variant(true)), varBoolean);
    EXPECT_EQ(VarType(Variant(TDateTime(1.0))), varDate);
    EXPECT_EQ(VarType(Variant("x")), varString);
    EXPECT_EQ(VarType(Variant(u"x")), varOleStr);
    EXPECT_EQ(VarType(Variant(Currency(1))), varCurrency);
    EXPECT_TRUE(VarIsArray(VarArrayOf({1, 2})));
    EXPECT_TRUE(VarIsArray(Variant(Variant::Bytes{1})));
    EXPECT_FALSE(VarIsArray(Variant("x")));
}

TEST_F(Variants, ConvertBetweenTextNumbersAndDates)
{
    EXPECT_EQ(Variant("42").AsInteger(), 42);
    EXPECT_DOUBLE_EQ(Variant("2.5").AsDouble(), 2.5);
    EXPECT_EQ(Variant(2.5).AsString(), "2.5");
    EXPECT_EQ(Variant(2.5).AsInteger(), 2); // halves go to the even neighbour
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_EQ(Variant(true).AsString(), "True");
    EXPECT_EQ(Variant(true).AsInteger(), -1);
    EXPECT_TRUE(Variant("true").AsBoolean());
    EXPECT_TRUE(Variant("7").AsBoolean());
    EXPECT_EQ(Variant(TDateTime(EncodeDate(2025, 9, 8))).AsString(), "09/08/2025");
    EXPECT_DOUBLE_EQ(Variant("09/08/2025").AsDateTime(), EncodeDate(2025, 9, 8));
    EXPECT_EQ(Variant("12.34").AsCurrency(), Currency::FromScaled(123400));
    EXPECT_EQ(Variant("\xE1").AsWideString(), u"á");
    EXPECT_EQ(Variant(u"ő").AsString(), "\xF5");
    EXPECT_EQ(Variant().AsString(), "");
    EXPECT_EQ(Variant().AsInteger(), 0);
}

TEST_F(Variants, NullAndForeignTextDoNotConvert)
{
    EXPECT_THROW(Variant::Null().AsInteger(), EVariantError);
    EXPECT_THROW(Variant::Null().AsString(), EVariantError);
    EXPECT_EQ(VarToStr(Variant::Null()), "");
    EXPECT_THROW(Variant("abc").AsDouble(), EVariantError);
    EXPECT_THROW(Variant(std::int64_t(1) << 40).AsInteger(), EVariantError);
    EXPECT_THROW(VarArrayOf({1}).AsString(), EVariantError);
}

TEST_F(Variants, CompareNumericallyTextuallyOrMixed)
{
    EXPECT_TRUE(Variant(2) == Variant(2.0));
    EXPECT_TRUE(Variant(1) < Variant(1.5));
    EXPECT_FALSE(Variant(2.25) == Variant(2)) << "a fraction is not cut off against a whole number";
    EXPECT_TRUE(Variant("10") > Variant(9));
    EXPECT_TRUE(Variant("abc") < Variant("abd"));
    EXPECT_TRUE(Variant("B") < Variant("a")); // ordinal, case-sensitive
    EXPECT_TRUE(Variant(u"x") == Variant("x"));
    EXPECT_EQ(VarCompareValue(Variant::Null(), Variant::Null()), vrEqual);
    EXPECT_EQ(VarCompareValue(Variant::Null(), Variant(1)), vrNotEqual);
    EXPECT_FALSE(Variant::Null() < Variant(1));
    EXPECT_TRUE(VarArrayOf({1, "a"}) == VarArrayOf({1, "a"}));
    EXPECT_FALSE(VarArrayOf({1, "a"}) == VarArrayOf({1, "b"}));
    EXPECT_TRUE(Variant(TDateTime(2.0)) > Variant(TDateTime(1.5)));
}

TEST_F(Variants, ArithmeticKeepsTheWidestType)
{
    EXPECT_EQ(VarType(Variant(2) + Variant(3)), varInteger);
    EXPECT_EQ((Variant(2) + Variant(3)).AsInteger(), 5);
    EXPECT_EQ(VarType(Variant(2147483647) + Variant(1)), varInt64);
    EXPECT_EQ(VarType(Variant(2) * Variant(1.5)), varDouble);
    EXPECT_DOUBLE_EQ((Variant(1) / Variant(4)).AsDouble(), 0.25);
    EXPECT_EQ((Variant(7) % Variant(3)).AsInteger(), 1);
    EXPECT_EQ((Variant("ab") + Variant("cd")).AsString(), "abcd");
    EXPECT_EQ(VarType(Variant(TDateTime(1.0)) + Variant(1)), varDate);
    EXPECT_EQ(VarType(Variant(TDateTime(3.0)) - Variant(TDateTime(1.0))), varDouble);
    EXPECT_EQ((Variant(Currency(1.25)) * Variant(2)).AsCurrency(), Currency(2.5));
    EXPECT_TRUE((Variant::Null() + Variant(1)).IsNull());
    EXPECT_EQ((-Variant(5)).AsInteger(), -5);
    EXPECT_THROW(Variant(1) / Variant(0), EZeroDivide);
}

TEST_F(Variants, ArraysHoldElementsAndCopyOnWrite)
{
    Variant array = VarArrayCreate(0, 2);
    EXPECT_EQ(VarArrayDimCount(array), 1);
    EXPECT_EQ(VarArrayLowBound(array, 1), 0);
    EXPECT_EQ(VarArrayHighBound(array, 1), 2);
    array.SetElement(1, "b");
    const Variant copy = array;
    array.SetElement(1, "c");
    EXPECT_EQ(copy.Element(1).AsString(), "b");
    EXPECT_EQ(array.Element(1).AsString(), "c");
    EXPECT_TRUE(array.Element(0).IsEmpty());
    EXPECT_THROW(array.Element(3), EVariantError);
    EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);
}
