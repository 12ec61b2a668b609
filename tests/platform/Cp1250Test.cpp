#include "platform/Cp1250.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const std::string hungarianLetters = "aábcdeéfghiíjklmnoóöőpqrstuúüűvwxyz"
                                     "AÁBCDEÉFGHIÍJKLMNOÓÖŐPQRSTUÚÜŰVWXYZ";

} // namespace

TEST(Cp1250, EveryAccentedHungarianLetterIsOneByte)
{
    for (const char16_t letter : std::u16string_view(u"áéíóöőúüűÁÉÍÓÖŐÚÜŰ")) {
        const std::string byte = utf16ToCp1250(std::u16string(1, letter));
        ASSERT_EQ(byte.size(), 1u);
        EXPECT_NE(byte, "?") << static_cast<int>(letter);
        EXPECT_EQ(cp1250ToUtf16(byte), std::u16string(1, letter));
    }
}

TEST(Cp1250, HungarianLettersSurviveTheRoundTripThroughUtf8)
{
    EXPECT_EQ(cp1250ToUtf8(utf8ToCp1250(hungarianLetters)), hungarianLetters);
}

TEST(Cp1250, HungarianLettersSurviveTheRoundTripThroughUtf16)
{
    const std::u16string wide = u"árvíztűrő tükörfúrógép ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP";
    EXPECT_EQ(cp1250ToUtf16(utf16ToCp1250(wide)), wide);
}

TEST(Cp1250, DoubleAcuteLettersHaveTheirCodePageBytes)
{
    // The letters Latin-1 lacks are the ones a wrong code page gets wrong.
    EXPECT_EQ(utf8ToCp1250("ő"), "\xF5");
    EXPECT_EQ(utf8ToCp1250("ű"), "\xFB");
    EXPECT_EQ(utf8ToCp1250("Ő"), "\xD5");
    EXPECT_EQ(utf8ToCp1250("Ű"), "\xDB");
    EXPECT_EQ(utf8ToCp1250("á"), "\xE1");
    EXPECT_EQ(cp1250ToUtf16("\x80\x8A"), u"€Š");
}

TEST(Cp1250, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    EXPECT_EQ(utf16ToCp1250(cp1250ToUtf16(all)), all);
    EXPECT_EQ(utf8ToCp1250(cp1250ToUtf8(all)), all);
}

TEST(Cp1250, UnmappableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(utf8ToCp1250("año"), "a?o");
    EXPECT_EQ(utf16ToCp1250(u"x漢y"), "x?y");
}

TEST(Cp1250, CharacterOutsideTheBasicPlaneIsOneQuestionMark)
{
    EXPECT_EQ(utf16ToCp1250(u"a😀b"), "a?b");
    EXPECT_EQ(utf8ToCp1250("a😀b"), "a?b");
}

TEST(Cp1250, MalformedUtf8BecomesQuestionMarks)
{
    EXPECT_EQ(utf8ToCp1250("a\xC3"), "a?");
    EXPECT_EQ(utf8ToCp1250("\xFFz"), "?z");
}

TEST(Cp1250, EmbeddedZeroBytesAreKept)
{
    const std::string withZero("a\0b", 3);
    EXPECT_EQ(cp1250ToUtf16(withZero), std::u16string(u"a\0b", 3));
    EXPECT_EQ(utf8ToCp1250(cp1250ToUtf8(withZero)), withZero);
}
