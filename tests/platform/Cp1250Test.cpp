#include "platform/Cp1250.h"

#include <gtest/gtest.h>
#include <string>

TEST(Cp1250, HungarianLettersAreOneByteEachAndEveryByteRoundTrips)
{
    for (const char16_t letter : std::u16string_view(u"áéíóöőúüűÁÉÍÓÖŐÚÜŰ")) {
        const std::string byte = utf16ToCp1250(std::u16string(1, letter));
        ASSERT_EQ(byte.size(), 1u);
        EXPECT_NE(byte, "?") << static_cast<int>(letter);
        EXPECT_EQ(cp1250ToUtf16(byte), std::u16string(1, letter));
    }
    const std::string letters = "aábcdeéfghiíjklmnoóöőpqrstuúüűvwxyz AÁBCDEÉFGHIÍJKLMNOÓÖŐPQRSTUÚÜŰVWXYZ";
    EXPECT_EQ(cp1250ToUtf8(utf8ToCp1250(letters)), letters);
    // The letters Latin-1 lacks are the ones a wrong code page gets wrong.
    EXPECT_EQ(utf8ToCp1250("őűŐŰá"), "\xF5\xFB\xD5\xDB\xE1");
    EXPECT_EQ(cp1250ToUtf16("\x80\x8A"), u"€Š");
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    EXPECT_EQ(utf16ToCp1250(cp1250ToUtf16(all)), all);
    EXPECT_EQ(utf8ToCp1250(cp1250ToUtf8(all)), all);
    const std::string withZero("a\0b", 3);
    EXPECT_EQ(cp1250ToUtf16(withZero), std::u16string(u"a\0b", 3));
}

TEST(Cp1250, WhatTheCodePageCannotHoldBecomesOneQuestionMarkEach)
{
    EXPECT_EQ(utf8ToCp1250("año"), "a?o");
    EXPECT_EQ(utf16ToCp1250(u"x漢y"), "x?y");
    EXPECT_EQ(utf16ToCp1250(u"a😀b"), "a?b");
    EXPECT_EQ(utf8ToCp1250("a😀b"), "a?b");
    EXPECT_EQ(utf8ToCp1250("a\xC3"), "a?");
    EXPECT_EQ(utf8ToCp1250("\xFFz"), "?z");
}
