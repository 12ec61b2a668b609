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

TEST(CsvLineReader, LineBreakStylesBlankLinesAndBufferBoundariesReadAlike)
{
    const std::vector<std::string> expected = {"a\tb", "c", "d"};
    for (const std::string &content : {"a\tb\r\nc\r\nd\r\n"s, "a\tb\nc\nd\n"s, "a\tb\r\n\nc\r\n\nd\r\n\n"s,
                                       "a\tb\r\n\r\n\r\nc\n\n\nd"s, "a\tb\rc\0\0d"s, "\r\n\r\na\tb\r\nc\r\nd"s})
        EXPECT_EQ(linesOf(content), expected);
    const std::string longLine(3 * TztrCSVReader::BufferSize + 17, 'x');
    // The CR of this break is the last byte of the first buffer, its LF the first of the next.
    const std::string head(TztrCSVReader::BufferSize - 1, 'h');
    EXPECT_EQ(linesOf(head + "\r\n" + longLine + "\r\n\r\ntail\r\n"),
              (std::vector<std::string>{head, longLine, "tail"}));
    EXPECT_EQ(linesOf("a" + std::string(2 * TztrCSVReader::BufferSize, '\n') + "b"),
              (std::vector<std::string>{"a", "b"}));
    TStringStream stream("first\r\nlast\r\n");
    TztrCSVReader reader(stream, '\0', '\t', '\0', '\0');
    EXPECT_TRUE(reader.GetLine());
    EXPECT_FALSE(reader.GetLine()) << "the last line comes with false";
    EXPECT_EQ(reader.Line(), "last");
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

TEST(CsvItemReader, SplitsBareAndQuotedItems)
{
    struct Case
    {
        std::string line;
        char quote, fieldDelimiter, recordDelimiter;
        std::vector<Item> items;
    };
    const std::vector<Case> cases = {
        {"111\tA-001\t\tKelmendor", '\0', '\t', '\0', {{"111", false}, {"A-001", false}, {"", true}, {"Kelmendor", false}}},
        {"a\t\t", '\0', '\t', '\0', {{"a", false}, {"", true}}},
        {"a\tb;", '\0', '\t', ';', {{"a", false}, {"b", false}}},
        {"\"say \"\"hi\"\"\",\"\",,bare \"kept\",\"last\",", '"', ',', ',',
         {{"say \"hi\"", false}, {"", false}, {"", true}, {"bare \"kept\"", false}, {"last", false}}},
        {"\"a,b\",c", '"', ',', ',', {{"a,b", false}, {"c", false}}},
        {"\"ab\"\"cd\"\"ef", '"', ',', ',', {{"ab\"cd", false}}},
        {"\"abc", '"', ',', ',', {{"", false}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(itemsOf(c.line, c.quote, c.fieldDelimiter, c.recordDelimiter), c.items) << c.line;
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
