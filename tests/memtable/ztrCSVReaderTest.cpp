#include "memtable/ztrCSVReader.h"

#include "platform/Classes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

struct Item
{
    std::string text;
    bool isNull;
    bool operator==(const Item &) const = default;
};

void PrintTo(const Item &item, std::ostream *out)
{
    *out << (item.isNull ? "null" : "\"" + item.text + "\"");
}

// Every line a reader gives, the last one (which comes with False) included when not empty.
std::vector<std::string> readLines(TztrCSVReader &reader)
{
    std::vector<std::string> lines;
    bool more = true;
    while (more) {
        more = reader.GetLine();
        if (!reader.Line().empty())
            lines.push_back(reader.Line());
    }
    return lines;
}

std::vector<std::string> linesOf(const std::string &content, char commentChar = '\0')
{
    TStringStream stream(content);
    TztrCSVReader reader(stream, '\0', '\t', '\0', commentChar);
    return readLines(reader);
}

std::vector<Item> itemsOf(const std::string &line, char quote, char fieldDelimiter, char recordDelimiter)
{
    TStringStream stream(line);
    TztrCSVReader reader(stream, quote, fieldDelimiter, recordDelimiter, '\0');
    reader.GetLine();
    std::vector<Item> items;
    while (!reader.AtLineEnd()) {
        Item item;
        reader.GetWord(item.isNull, item.text);
        items.push_back(item);
    }
    return items;
}

} // namespace

TEST(CsvLineReader, LineBreakStylesReadAlike)
{
    const std::vector<std::string> expected = {"a\tb", "c", "d"};
    EXPECT_EQ(linesOf("a\tb\r\nc\r\nd\r\n"), expected);
    EXPECT_EQ(linesOf("a\tb\nc\nd\n"), expected);
    EXPECT_EQ(linesOf("a\tb\r\n\nc\r\n\nd\r\n\n"), expected);
    EXPECT_EQ(linesOf("a\tb\r\n\r\n\r\nc\n\n\nd"), expected);
    EXPECT_EQ(linesOf("a\tb\rc\0\0d"s), expected);
    EXPECT_EQ(linesOf("\r\n\r\na\tb\r\nc\r\nd"), expected);
}

TEST(CsvLineReader, LastLineComesWithFalse)
{
    TStringStream stream("first\r\nlast\r\n");
    TztrCSVReader reader(stream, '\0', '\t', '\0', '\0');
    EXPECT_TRUE(reader.GetLine());
    EXPECT_EQ(reader.Line(), "first");
    EXPECT_FALSE(reader.GetLine());
    EXPECT_EQ(reader.Line(), "last");
    EXPECT_FALSE(reader.GetLine());
    EXPECT_EQ(reader.Line(), "");
}

TEST(CsvLineReader, LinesAndBreaksAcrossBufferBoundaries)
{
    const std::string longLine(3 * TztrCSVReader::BufferSize + 17, 'x');
    // The CR of this break is the last byte of the first buffer, its LF the first of the next.
    const std::string head(TztrCSVReader::BufferSize - 1, 'h');
    const std::vector<std::string> expected = {head, longLine, "tail"};
    EXPECT_EQ(linesOf(head + "\r\n" + longLine + "\r\n\r\ntail\r\n"), expected);
}

TEST(CsvLineReader, BreakRunFillingAWholeBufferIsOneBreak)
{
    const std::string breaks(2 * TztrCSVReader::BufferSize, '\n');
    const std::vector<std::string> expected = {"a", "b"};
    EXPECT_EQ(linesOf("a" + breaks + "b"), expected);
}

TEST(CsvLineReader, CommentLinesAreSkippedAnywhere)
{
    const std::vector<std::string> expected = {"a", "b;not a comment"};
    EXPECT_EQ(linesOf(";head\r\na\r\n;middle\r\n;twice\r\nb;not a comment\r\n;last\r\n", ';'), expected);
}

TEST(CsvLineReader, OnGetLineMayChangeLinesAndEndTheReading)
{
    TStringStream stream("one\r\ntwo\r\nthree\r\nfour\r\n");
    TztrCSVReader reader(stream, '\0', '\t', '\0', '\0');
    std::vector<std::string> seen;
    reader.OnGetLine = [&](std::string &line, bool &eof) {
        seen.push_back(line);
        line = "<" + line + ">";
        eof = line == "<two>";
    };
    const std::vector<std::string> expected = {"<one>", "<two>"};
    EXPECT_EQ(readLines(reader), expected);
    EXPECT_EQ(seen, (std::vector<std::string>{"one", "two"}));
}

TEST(CsvLineReader, LineNumbersCountTheLinesOfTheFile)
{
    TStringStream stream("\r\na\r\nb\n\nc\r\r\n\r\nd");
    TztrCSVReader reader(stream, '\0', '\t', '\0', '\0');
    std::vector<int> numbers;
    bool more = true;
    while (more) {
        more = reader.GetLine();
        numbers.push_back(reader.LineNumber());
    }
    EXPECT_EQ(numbers, (std::vector<int>{2, 3, 5, 8}));
}

TEST(CsvLineReader, ProgressComesOncePerHundredBlocks)
{
    const std::string line(99, 'x');
    std::string content;
    while (content.size() < 150u * TztrCSVReader::BufferSize)
        content += line + "\r\n";
    TStringStream stream(content);
    TztrCSVReader reader(stream, '\0', '\t', '\0', '\0');
    std::vector<int> reports;
    reader.OnProgress = [&](int percentage) { reports.push_back(percentage); };
    readLines(reader);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], static_cast<int>(100LL * 100 * TztrCSVReader::BufferSize / content.size()));
}

TEST(CsvItemReader, BareItemsSplitAtTheFieldDelimiter)
{
    const std::vector<Item> expected = {{"111", false}, {"A-001", false}, {"", true}, {"Kelmendor", false}};
    EXPECT_EQ(itemsOf("111\tA-001\t\tKelmendor", '\0', '\t', '\0'), expected);
}

TEST(CsvItemReader, TrailingFieldDelimiterYieldsNoItemForTheTail)
{
    const std::vector<Item> expected = {{"a", false}, {"", true}};
    EXPECT_EQ(itemsOf("a\t\t", '\0', '\t', '\0'), expected);
}

TEST(CsvItemReader, RecordDelimiterEndsBareItems)
{
    const std::vector<Item> expected = {{"a", false}, {"b", false}};
    EXPECT_EQ(itemsOf("a\tb;", '\0', '\t', ';'), expected);
}

TEST(CsvItemReader, QuotedItemsWithDoubledQuotesAndEmptyTexts)
{
    const std::vector<Item> expected = {
        {"say \"hi\"", false}, {"", false}, {"", true}, {"bare \"kept\"", false}, {"last", false}};
    EXPECT_EQ(itemsOf("\"say \"\"hi\"\"\",\"\",,bare \"kept\",\"last\",", '"', ',', ','), expected);
}

TEST(CsvItemReader, QuotedItemMayHoldTheFieldDelimiter)
{
    const std::vector<Item> expected = {{"a,b", false}, {"c", false}};
    EXPECT_EQ(itemsOf("\"a,b\",c", '"', ',', ','), expected);
}

TEST(CsvItemReader, UnclosedQuoteKeepsWhatCameBeforeItsLastDoubledQuote)
{
    EXPECT_EQ(itemsOf("\"ab\"\"cd\"\"ef", '"', ',', ','), (std::vector<Item>{{"ab\"cd", false}}));
    EXPECT_EQ(itemsOf("\"abc", '"', ',', ','), (std::vector<Item>{{"", false}}));
}

TEST(CsvItemReader, RestartLineReadsTheItemsAgain)
{
    TStringStream stream("x\ty");
    TztrCSVReader reader(stream, '\0', '\t', '\0', '\0');
    reader.GetLine();
    bool isNull = false;
    std::string text;
    reader.GetWord(isNull, text);
    reader.GetWord(isNull, text);
    EXPECT_TRUE(reader.AtLineEnd());
    reader.RestartLine();
    reader.GetWord(isNull, text);
    EXPECT_EQ(text, "x");
}
