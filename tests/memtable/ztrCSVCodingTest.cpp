#include "memtable/ztrCSVCoding.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace std::string_literals;

TEST(CsvSixBitCoding, ThreeLettersGiveTheFourCharactersFilesHold)
{
    EXPECT_EQ(CSVSixBitEncode("abc"), "A)V8");
    EXPECT_EQ(CSVSixBitDecode("A)V8"), "abc");
}

TEST(CsvSixBitCoding, EveryLengthAndByteValueSurvivesRoundTrip)
{
    std::string bytes;
    for (int length = 0; length <= 40; ++length) {
        const std::string coded = CSVSixBitEncode(bytes);
        EXPECT_EQ(coded.size(), (4 * bytes.size() + 2) / 3);
        for (const char c : coded) {
            EXPECT_GE(static_cast<unsigned char>(c), 32);
            EXPECT_LE(static_cast<unsigned char>(c), 95);
        }
        EXPECT_EQ(CSVSixBitDecode(coded), bytes) << "length " << length;
        bytes += static_cast<char>(255 - length * 7);
    }
}

TEST(CsvSixBitCoding, AllByteValuesSurviveRoundTrip)
{
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes += static_cast<char>(value);
    EXPECT_EQ(CSVSixBitDecode(CSVSixBitEncode(bytes)), bytes);
}

TEST(CsvSixBitCoding, DamagedTextDecodesWithoutFailing)
{
    // Bytes outside the coding's range come from hand-edited files; they must not break reading.
    const std::string damaged = "\x01\xFF\x7F\x80zz"s;
    EXPECT_EQ(CSVSixBitDecode(damaged).size(), 3 * damaged.size() / 4);
}

TEST(CsvEscapeCoding, LineBreaksNulAndEscapeSurviveRoundTrip)
{
    const std::string text = "50% a\r\nb\0c%n\n"s;
    const std::string coded = CSVEscapeEncode(text, '%');
    EXPECT_EQ(coded.find_first_of("\r\n\0"s), std::string::npos);
    EXPECT_EQ(coded, "50%% a%c%nb%0c%%n%n");
    EXPECT_EQ(CSVEscapeDecode(coded, '%'), text);
}

TEST(CsvEscapeCoding, PlainTextIsWrittenUnchanged)
{
    EXPECT_EQ(CSVEscapeEncode("1. emelet, bal sz\xE1rny", '%'), "1. emelet, bal sz\xE1rny");
}

TEST(CsvEscapeCoding, LoneEscapeAtTheEndIsDropped)
{
    EXPECT_EQ(CSVEscapeDecode("100%", '%'), "100");
}

TEST(CsvEscapeCoding, EscapeBeforeAnUnknownLetterKeepsTheLetter)
{
    EXPECT_EQ(CSVEscapeDecode("a%xb", '%'), "axb");
}

TEST(CsvEscapeCoding, OtherEscapeCharacterIsHonoured)
{
    EXPECT_EQ(CSVEscapeEncode("a%\n", '\\'), "a%\\n");
    EXPECT_EQ(CSVEscapeDecode("a%\\n\\\\", '\\'), "a%\n\\");
}

TEST(CsvQuoting, QuoteIsDoubledInside)
{
    EXPECT_EQ(CSVQuoteText("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CSVQuoteText("", '"'), "\"\"");
    EXPECT_EQ(CSVQuoteText("as is", '\0'), "as is");
}

TEST(CsvQuoting, UnquotingReadsUpToTheClosingQuote)
{
    EXPECT_EQ(CSVUnquoteText("\"say \"\"hi\"\"\" and the rest", '"'), "say \"hi\"");
    EXPECT_EQ(CSVUnquoteText("\"never closed", '"'), "never closed");
    EXPECT_EQ(CSVUnquoteText("not quoted", '"'), "");
    EXPECT_EQ(CSVUnquoteText("not quoted", '\0'), "not quoted");
}

TEST(CsvQuoting, QuotedThenUnquotedIsTheSameText)
{
    for (const std::string text : {"", "\"", "\"\"", "a,\"b\" c", "x=String,20,\"x\",\"\",20,Data,\"\""})
        EXPECT_EQ(CSVUnquoteText(CSVQuoteText(text, '"'), '"'), text);
}

TEST(CsvCommaText, QuotedItemsKeepCommasBlanksAndQuotes)
{
    const std::vector<std::string> expected = {"String", "20", "a, \"b\"", "", "20", "Data", ""};
    EXPECT_EQ(CSVSplitCommaText("String,20,\"a, \"\"b\"\"\",\"\",20,Data,\"\""), expected);
}

TEST(CsvCommaText, BlanksAroundItemsAreSkippedAndSplitBareItems)
{
    const std::vector<std::string> expected = {"a", "b", "c", "d"};
    EXPECT_EQ(CSVSplitCommaText("  a , b c,\td "), expected);
}

TEST(CsvCommaText, EmptyItemsAndTrailingComma)
{
    const std::vector<std::string> expected = {"a", "", "b", ""};
    EXPECT_EQ(CSVSplitCommaText("a,,b,"), expected);
    EXPECT_TRUE(CSVSplitCommaText("").empty());
    EXPECT_TRUE(CSVSplitCommaText("   ").empty());
}

TEST(CsvCommaText, UnclosedQuoteTakesTheRest)
{
    const std::vector<std::string> expected = {"a", "b,c"};
    EXPECT_EQ(CSVSplitCommaText("a,\"b,c"), expected);
}
