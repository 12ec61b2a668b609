#include "memtable/ztrCSVReader.h"

#include "platform/Classes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

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

} // namespace

TEST(CsvLineReader, LineBreakStylesBlankLinesAndBufferBoundariesReadAlike)
{
    const std::vector<std::string> expected = {"a\tb", "c", "d"};
    for (const std::string &content : {"a\tb\r\nc\r\nd\r\n"s, "a\tb\nc\nd\n"s, "a\tb\r\n\nc\r\n\nd\r\n\n"s,
                                       "a\tb\r\n\r\n\r\nc\n\n\nd"s, "\r\n\r\na\tb\r\nc\r\nd"s})
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

// Neither is a line break: the caller sees them and can refuse the file.
TEST(CsvLineReader, NulStaysInItsLineAndALastLineWithoutBreakIsTold)
{
    EXPECT_EQ(linesOf("a\tb\rc\0\0d\r\n"s), (std::vector<std::string>{"a\tb", "c\0\0d"s}));
    for (const auto &[content, ended] : {std::pair{"a\r\nb\r\n"s, true}, {"a\r\nb\n\n"s, true}, {"a\r\nb"s, false}}) {
        TStringStream stream(content);
        TztrCSVReader reader(stream, '\0', '\t', '\0', '\0');
        EXPECT_TRUE(reader.GetLine());
        EXPECT_TRUE(reader.LineEnded());
        EXPECT_FALSE(reader.GetLine());
        EXPECT_EQ(reader.Line(), "b");
        EXPECT_EQ(reader.LineEnded(), ended) << content;
    }
}
