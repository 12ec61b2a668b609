#include "platform/Classes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string readText(TStream &stream, std::int64_t count)
{
    std::string text(static_cast<std::size_t>(count), '\0');
    text.resize(static_cast<std::size_t>(stream.Read(text.data(), count)));
    return text;
}

void writeText(TStream &stream, const std::string &text)
{
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

std::string fileContents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class FileStreamTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "brelvix-streams-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
};

} // namespace

TEST(MemoryStream, ReadsBackWhatWasWrittenAtAnyPosition)
{
    TMemoryStream stream;
    writeText(stream, "hello world");
    EXPECT_EQ(stream.Size(), 11);
    EXPECT_EQ(stream.Position(), 11);

    EXPECT_EQ(stream.Seek(6, soFromBeginning), 6);
    EXPECT_EQ(readText(stream, 5), "world");
    EXPECT_EQ(stream.Seek(-11, soFromEnd), 0);
    EXPECT_EQ(stream.Seek(2, soFromCurrent), 2);
    EXPECT_EQ(readText(stream, 3), "llo");
}

TEST(MemoryStream, OverwritesInPlaceGrowsAtTheEndAndLeavesZerosInAGap)
{
    TMemoryStream stream;
    writeText(stream, "abcdef");
    stream.SetPosition(4);
    writeText(stream, "XYZ");
    EXPECT_EQ(std::string(stream.Memory(), stream.Size()), "abcdXYZ");
    stream.Seek(2, soFromEnd);
    writeText(stream, "c");
    EXPECT_EQ(std::string(stream.Memory(), stream.Size()), std::string("abcdXYZ\0\0c", 10));
}

TEST(MemoryStream, ReadStopsAtTheEndAndAShortReadBufferRaisesAStreamError)
{
    TStringStream stream("abc");
    char buffer[8];
    EXPECT_EQ(stream.Read(buffer, 8), 3);
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    stream.Seek(10, soFromBeginning);
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    stream.SetPosition(0);
    try {
        stream.ReadBuffer(buffer, 4);
        FAIL() << "no error raised";
    } catch (const EReadError &error) {
        EXPECT_STREQ(error.what(), "Stream read error");
    }
    stream.SetPosition(0);
    EXPECT_NO_THROW(stream.ReadBuffer(buffer, 3));
    EXPECT_THROW(stream.ReadBuffer(buffer, 1), EStreamError);
}

TEST(MemoryStream, SeekingBeforeTheStartIsRefusedSetSizeAndClearPullThePositionBack)
{
    TStringStream stream("abcdef");
    stream.SetPosition(1);
    EXPECT_THROW(stream.Seek(-2, soFromCurrent), EStreamError);
    EXPECT_EQ(stream.Position(), 1);
    stream.Seek(0, soFromEnd);
    stream.SetSize(2);
    EXPECT_EQ(stream.Size(), 2);
    EXPECT_EQ(stream.Position(), 2);
    EXPECT_EQ(stream.DataString(), "ab");
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStream, LoadTakesTheWholeSourceWhereverItStandsSaveAppendsAtTheDestinationsPosition)
{
    TStringStream source("payload");
    source.Seek(0, soFromEnd);
    TMemoryStream copy;
    writeText(copy, "old contents that are longer");
    copy.LoadFromStream(source);
    EXPECT_EQ(std::string(copy.Memory(), copy.Size()), "payload");
    EXPECT_EQ(copy.Position(), 0);
    TStringStream destination("head-");
    destination.Seek(0, soFromEnd);
    source.SaveToStream(destination);
    EXPECT_EQ(destination.DataString(), "head-payload");
}

TEST(StreamCopy, CountZeroCopiesTheWholeSourceFromItsStartACountFromTheCurrentPosition)
{
    TStringStream source("0123456789");
    source.SetPosition(7);
    TStringStream whole;
    EXPECT_EQ(whole.CopyFrom(source, 0), 10);
    EXPECT_EQ(whole.DataString(), "0123456789");
    source.SetPosition(3);
    TStringStream part;
    EXPECT_EQ(part.CopyFrom(source, 4), 4);
    EXPECT_EQ(part.DataString(), "3456");
    EXPECT_EQ(source.Position(), 7);
    EXPECT_THROW(part.CopyFrom(source, 5), EReadError) << "a source too short";
}

TEST(StreamCopy, CopiesMoreThanOneChunk)
{
    std::string big(200000, 'x');
    big[150000] = 'y';
    TStringStream source(big);
    TStringStream target;
    target.CopyFrom(source, 0);
    EXPECT_EQ(target.DataString(), big);
}

TEST_F(FileStreamTest, WhatIsWrittenCanBeReadBackInBlocks)
{
    const fs::path path = folder / "data.csv";
    std::string contents;
    for (int i = 0; i < 3000; ++i)
        contents += "line " + std::to_string(i) + "\r\n";
    {
        TFileStream out(path, fmCreate);
        writeText(out, contents);
    }
    TFileStream in(path, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(in.Size(), static_cast<std::int64_t>(contents.size()));
    std::string read;
    char block[8192];
    std::int64_t got = 0;
    while ((got = in.Read(block, sizeof block)) > 0)
        read.append(block, static_cast<std::size_t>(got));
    EXPECT_EQ(read, contents);
    EXPECT_EQ(in.Read(block, sizeof block), 0);
}

TEST_F(FileStreamTest, CreateEmptiesAnExistingFile)
{
    const fs::path path = folder / "old.csv";
    std::ofstream(path) << "previous contents";
    {
        TFileStream out(path, fmCreate);
        writeText(out, "new");
    }
    EXPECT_EQ(fileContents(path), "new");
}

TEST_F(FileStreamTest, OpenForWritingKeepsTheRestOfTheFile)
{
    const fs::path path = folder / "data.bin";
    std::ofstream(path) << "abcdef";
    {
        TFileStream out(path, fmOpenWrite | fmShareExclusive);
        writeText(out, "XY");
    }
    EXPECT_EQ(fileContents(path), "XYcdef");
}

TEST_F(FileStreamTest, ReadWriteModeAppendsAfterSeekingToTheEnd)
{
    const fs::path path = folder / "data.bin";
    std::ofstream(path) << "first";
    {
        TFileStream stream(path, fmOpenReadWrite | fmShareDenyWrite);
        stream.Seek(0, soFromEnd);
        writeText(stream, "+second");
        stream.SetPosition(0);
        EXPECT_EQ(readText(stream, 5), "first");
    }
    EXPECT_EQ(fileContents(path), "first+second");
}

TEST_F(FileStreamTest, SetSizeTruncatesTheFile)
{
    const fs::path path = folder / "data.bin";
    {
        TFileStream stream(path, fmCreate);
        writeText(stream, "0123456789");
        stream.SetSize(4);
        EXPECT_EQ(stream.Size(), 4);
        EXPECT_EQ(stream.Position(), 4);
    }
    EXPECT_EQ(fileContents(path), "0123");
}

TEST_F(FileStreamTest, FlushedBytesAreInTheFileBeforeItCloses)
{
    const fs::path path = folder / "saved.csv";
    TFileStream stream(path, fmCreate);
    writeText(stream, "kept");
    stream.Flush();
    EXPECT_EQ(fileContents(path), "kept");
}

TEST_F(FileStreamTest, AMissingFileRaisesOpenErrorNamingThePath)
{
    const fs::path path = folder / "KK_kurzus.csv";
    try {
        TFileStream stream(path, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError &error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("Cannot open file \"" + path.string() + "\". ", 0), 0u) << message;
        EXPECT_GT(message.size(), path.string().size() + 21) << "the system's reason is missing";
    }
}

TEST_F(FileStreamTest, AFileInAMissingFolderCannotBeCreated)
{
    const fs::path path = folder / "no-such-folder" / "out.csv";
    try {
        TFileStream stream(path, fmCreate);
        FAIL() << "created a file in a missing folder";
    } catch (const EFCreateError &error) {
        EXPECT_NE(std::string(error.what()).find("Cannot create file \"" + path.string() + "\". "),
                  std::string::npos);
    }
}

TEST_F(FileStreamTest, AFolderCannotBeOpenedAsAFile)
{
    EXPECT_THROW(TFileStream(folder, fmOpenRead), EFOpenError);
}

TEST_F(FileStreamTest, WritingThroughAReadOnlyStreamOrReadingThroughAWriteOnlyOrPastTheEndFails)
{
    const fs::path path = folder / "data.csv";
    std::ofstream(path) << "original";
    char buffer[9];
    {
        TFileStream stream(path, fmOpenRead);
        EXPECT_THROW(writeText(stream, "changed"), EWriteError);
        EXPECT_THROW(stream.ReadBuffer(buffer, 9), EReadError);
    }
    EXPECT_EQ(fileContents(path), "original");
    TFileStream stream(path, fmOpenWrite);
    EXPECT_THROW(stream.ReadBuffer(buffer, 4), EReadError);
}

TEST_F(FileStreamTest, MemoryStreamRoundTripsThroughAFile)
{
    const fs::path path = folder / "copy.bin";
    const std::string bytes("\x00\x01\r\n\xF5\xFB", 6);
    TStringStream original(bytes);
    original.SaveToFile(path);
    TMemoryStream loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(std::string(loaded.Memory(), loaded.Size()), bytes);
}

TEST_F(FileStreamTest, LoadingAMissingFileRaisesOpenError)
{
    TMemoryStream stream;
    EXPECT_THROW(stream.LoadFromFile(folder / "missing.csv"), EFOpenError);
}
