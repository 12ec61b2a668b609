#include "memtable/ztrCSVCoding.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

using namespace std::string_literals;

TEST(CsvSixBitCoding, EveryLengthAndByteValueSurvivesRoundTripInPrintableCharacters)
{
    EXPECT_EQ(CSVSixBitEncode("abc"), "A)V8");
    std::string bytes;
    for (int length = 0; length <= 40; ++length) {
        const std::string coded = CSVSixBitEncode(bytes);
        EXPECT_EQ(coded.size(), (4 * bytes.size() + 2) / 3);
        for (const char c : coded)
            EXPECT_TRUE(c >= 32 && c <= 95) << int(c);
        EXPECT_EQ(CSVSixBitDecode(coded), bytes) << "length " << length;
        bytes += static_cast<char>(255 - length * 7);
    }
    std::string all;
    for (int value = 0; value < 256; ++value)
        all += static_cast<char>(value);
    EXPECT_EQ(CSVSixBitDecode(CSVSixBitEncode(all)), all);
    // Bytes outside the coding's range come from hand-edited files; they must not break reading.
    EXPECT_EQ(CSVSixBitDecode("\x01\xFF\x7F\x80zz"s).size(), 4u);
}

TEST(CsvEscapeCoding, EncodesLineBreaksNulAndEscapeAndDecodesLeniently)
{
    const std::string text = "50% a\r\nb\0c%n\n"s;
    EXPECT_EQ(CSVEscapeEncode(text, '%'), "50%% a%c%nb%0c%%n%n");
    EXPECT_EQ(CSVEscapeDecode(CSVEscapeEncode(text, '%'), '%'), text);
    EXPECT_EQ(CSVEscapeEncode("1. emelet, bal sz\xE1rny", '%'), "1. emelet, bal sz\xE1rny");
    EXPECT_EQ(CSVEscapeDecode("100%", '%'), "100");
    EXPECT_EQ(CSVEscapeDecode("a%xb", '%'), "axb");
    EXPECT_EQ(CSVEscapeEncode("a%\n", '\\'), "a%\\n");
    EXPECT_EQ(CSVEscapeDecode("a%\\n\\\\", '\\'), "a%\n\\");
}

// Long values are passed over several bytes at a time: a character to escape is found wherever it
// falls, and other bytes (control characters, bytes with the same low bits or next to one) are not.
TEST(CsvEscapeCoding, FindsTheCharactersToEscapeAtEveryPlaceOfALongValue)
{
    const std::string plain = "Matematika alapjai 2";
    const std::pair<char, std::string> escaped[] = {
        {'\0', "%0"}, {'\n', "%n"}, {'\r', "%c"}, {'\t', "%t"}, {'%', "%%"}};
    for (std::size_t at = 0; at <= plain.size(); ++at) {
        for (const auto &[c, code] : escaped) {
            std::string text = plain;
            text.insert(at, 1, c);
            const std::string expected = plain.substr(0, at) + code + plain.substr(at);
            EXPECT_EQ(CSVEscapeEncode(text, '%'), expected) << at << " " << int(c);
            EXPECT_EQ(CSVEscapeDecode(expected, '%'), text) << at << " " << int(c);
        }
        for (const char c : {'\x01', '\x0B', '\x0E', '\x1F', '$', '&', '\x8A', '\x8D', '\xA5', '\xFF'}) {
            std::string text = plain;
            text.insert(at, 1, c);
            EXPECT_EQ(CSVEscapeEncode(text, '%'), text) << at << " " << int(c);
        }
    }
    EXPECT_EQ(CSVEscapeEncode(plain + "\\" + plain + "%\n", '\\'), plain + "\\\\" + plain + "%\\n");
}

// Every slice of a value mixing plain bytes, bytes to escape and bytes next to them (control
// characters kept as they are, high bytes that borrow) is coded alike, wherever the slice starts in
// memory and however long it is.
TEST(CsvEscapeCoding, CodesEverySliceWhateverItsAlignmentAndLength)
{
    const std::string mixed = "Alg\x01%\x0E\xFF\r\nabcdefgh\x0Bijkl\tmn%%opq\0\x8Dr"s;
    const auto escapable = [](char c) { return c == '\0' || c == '\n' || c == '\r' || c == '\t' || c == '%'; };
    for (std::size_t from = 0; from < mixed.size(); ++from) {
        for (std::size_t length = 0; from + length <= mixed.size(); ++length) {
            const std::string_view slice = std::string_view(mixed).substr(from, length);
            std::string coded = "x";
            CSVAppendEscaped(coded, slice, '%');
            ASSERT_EQ(coded.front(), 'x');
            coded.erase(0, 1);
            const auto escapes = static_cast<std::size_t>(std::count_if(slice.begin(), slice.end(), escapable));
            EXPECT_EQ(coded.size(), slice.size() + escapes) << from << " " << length;
            EXPECT_EQ(coded.find_first_of("\0\n\r\t"s), std::string::npos) << from << " " << length;
            EXPECT_EQ(CSVEscapeDecode(coded, '%'), slice) << from << " " << length;
        }
    }
}

TEST(CsvQuoting, QuotesAreDoubledAndUnquotingStopsAtTheClosingQuote)
{
    EXPECT_EQ(CSVQuoteText("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CSVQuoteText("as is", '\0'), "as is");
    EXPECT_EQ(CSVUnquoteText("\"say \"\"hi\"\"\" and the rest", '"'), "say \"hi\"");
    EXPECT_EQ(CSVUnquoteText("\"never closed", '"'), "never closed");
    EXPECT_EQ(CSVUnquoteText("not quoted", '"'), "");
    EXPECT_EQ(CSVUnquoteText("not quoted", '\0'), "not quoted");
    for (const std::string text : {"", "\"", "\"\"", "a,\"b\" c", "x=String,20,\"x\",\"\",20,Data,\"\""})
        EXPECT_EQ(CSVUnquoteText(CSVQuoteText(text, '"'), '"'), text);
}

TEST(CsvCommaText, SplitsQuotedBareAndEmptyItems)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"String,20,\"a, \"\"b\"\"\",\"\",20,Data,\"\"", {"String", "20", "a, \"b\"", "", "20", "Data", ""}},
        {"  a , b c,\td ", {"a", "b", "c", "d"}},
        {"a,,b,", {"a", "", "b", ""}},
        {"a,\"b,c", {"a", "b,c"}},
        {"", {}},
        {"   ", {}},
    };
    for (const auto &[text, items] : cases)
        EXPECT_EQ(CSVSplitCommaText(text), items) << text;
}
