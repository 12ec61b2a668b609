#include "platform/Classes.h"
#include "support/TempFolder.h"

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

} // namespace

TEST(MemoryStream, ReadsBackWritesOverGrowsAndShrinksAtAnyPosition)
{
    TMemoryStream stream;
    writeText(stream, "hello world");
    EXPECT_EQ(stream.Position(), 11);
    EXPECT_EQ(stream.Seek(6, soFromBeginning), 6);
    EXPECT_EQ(readText(stream, 5), "world");
    EXPECT_EQ(stream.Seek(-11, soFromEnd), 0);
    EXPECT_EQ(stream.Seek(2, soFromCurrent), 2);
    EXPECT_EQ(readText(stream, 3), "llo");
    // Overwrites in place, grows at the end and leaves zeros in a gap.
    stream.SetPosition(9);
    writeText(stream, "XYZ");
    EXPECT_EQ(std::string(stream.Memory(), stream.Size()), "hello worXYZ");
    stream.Seek(2, soFromEnd);
    writeText(stream, "c");
    EXPECT_EQ(std::string(stream.Memory(), stream.Size()), std::string("hello worXYZ\0\0c", 15));
    stream.SetPosition(1);
    EXPECT_THROW(stream.Seek(-2, soFromCurrent), EStreamError);
    EXPECT_EQ(stream.Position(), 1);
    stream.Seek(0, soFromEnd);
    stream.SetSize(2);
    EXPECT_EQ(stream.Size(), 2);
    EXPECT_EQ(stream.Position(), 2);
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStream, ReadsStopAtTheEndAndAShortReadBufferRaisesAStreamError)
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

TEST(StreamCopy, LoadSaveAndCopyTakeTheWholeSourceOrACountFromItsPosition)
{
    TStringStream source("0123456789");
    source.Seek(0, soFromEnd);
    TMemoryStream copy;
    writeText(copy, "old contents that are longer");
    copy.LoadFromStream(source);
    EXPECT_EQ(std::string(copy.Memory(), copy.Size()), "0123456789");
    EXPECT_EQ(copy.Position(), 0);
    TStringStream destination("head-");
    destination.Seek(0, soFromEnd);
    source.SaveToStream(destination);
    EXPECT_EQ(destination.DataString(), "head-0123456789");
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
    std::string big(200000, 'x');
    big[150000] = 'y';
    TStringStream bigSource(big);
    whole.CopyFrom(bigSource, 0);
    EXPECT_EQ(whole.DataString(), "0123456789" + big);
}

TEST(FileStream, WritesAndReadsFilesInEveryOpenMode)
{
    const TempFolder folder;
    const fs::path path = folder / "data.csv";
    std::ofstream(path) << std::string(100000, 'z');
    std::string contents;
    for (int i = 0; i < 3000; ++i)
        contents += "line " + std::to_string(i) + "\r\n";
    {
        TFileStream out(path, fmCreate);
        writeText(out, contents);
    }
    {
        TFileStream in(path, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(in.Size(), static_cast<std::int64_t>(contents.size()));
        std::string read;
        char block[8192];
        for (std::int64_t got = 0; (got = in.Read(block, sizeof block)) > 0;)
            read.append(block, static_cast<std::size_t>(got));
        EXPECT_EQ(read, contents);
    }
    {
        TFileStream out(path, fmOpenWrite | fmShareExclusive);
        writeText(out, "XY");
        out.SetSize(6);
        EXPECT_EQ(out.Position(), 2);
    }
    EXPECT_EQ(fileContents(path), "XYne 0");
    {
        TFileStream stream(path, fmOpenReadWrite | fmShareDenyWrite);
        stream.Seek(0, soFromEnd);
        writeText(stream, "+second");
        stream.SetPosition(0);
        EXPECT_EQ(readText(stream, 6), "XYne 0");
        stream.Flush();
        EXPECT_EQ(fileContents(path), "XYne 0+second");
        stream.SetSize(4);
        EXPECT_EQ(stream.Position(), 4);
    }
    EXPECT_EQ(fileContents(path), "XYne");
    const std::string bytes("\x00\x01\r\n\xF5\xFB", 6);
    TStringStream(bytes).SaveToFile(folder / "copy.bin");
    TMemoryStream loaded;
    loaded.LoadFromFile(folder / "copy.bin");
    EXPECT_EQ(std::string(loaded.Memory(), loaded.Size()), bytes);
}

TEST(FileStream, RefusalsNameThePathAndLeaveTheFileAlone)
{
    const TempFolder folder;
    const fs::path missing = folder / "KK_kurzus.csv";
    try {
        TFileStream stream(missing, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError &error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("Cannot open file \"" + missing.string() + "\". ", 0), 0u) << message;
        EXPECT_GT(message.size(), missing.string().size() + 21) << "the system's reason is missing";
    }
    const fs::path nowhere = folder.path() / "no-such-folder" / "out.csv";
    try {
        TFileStream stream(nowhere, fmCreate);
        FAIL() << "created a file in a missing folder";
    } catch (const EFCreateError &error) {
        EXPECT_NE(std::string(error.what()).find("Cannot create file \"" + nowhere.string() + "\". "),
                  std::string::npos);
    }
    EXPECT_THROW(TFileStream(folder.path(), fmOpenRead), EFOpenError);
    TMemoryStream loaded;
    EXPECT_THROW(loaded.LoadFromFile(missing), EFOpenError);
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
