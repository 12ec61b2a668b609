#pragma once

// Reads a CSV data file line by line and item by item. The file is read in blocks into one buffer
// and each line is built once; items are cut out of the current line as the caller asks for them.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class TStream;

class TztrCSVReader
{
public:
    static constexpr int BufferSize = 8192;

    // A quote of #0 reads every item bare; a comment character of #0 keeps every line.
    TztrCSVReader(TStream &stream, char quote, char fieldDelimiter, char recordDelimiter, char commentChar);
    TztrCSVReader(const TztrCSVReader &) = delete;
    TztrCSVReader &operator=(const TztrCSVReader &) = delete;

    // Sees every line read and may change it; setting eof makes it the last line.
    std::function<void(std::string &line, bool &eof)> OnGetLine;
    // Called once per hundred blocks read with how far into the stream the reading is.
    std::function<void(int percentage)> OnProgress;

    // Reads the next block; false when the stream had nothing more.
    bool FillBuffer();
    // Makes the next line current, with the item cursor at its start. A run of CR and LF of any
    // length is one break, so no line is empty except at the end. A #0 is no break: it stays in
    // the line, for the caller to refuse. False when the stream ended while the line was read:
    // that line is still current and still to be used.
    bool GetLine();
    // The next item of the current line; the cursor moves past it and its delimiter.
    void GetWord(bool &isNull, std::string &text);

    const std::string &Line() const { return line_; }
    bool AtLineEnd() const { return cursor_ >= line_.size(); }
    void RestartLine() { cursor_ = 0; }
    // The line of the file (counted from 1, as an editor counts them) the current line starts on.
    int LineNumber() const { return lineNumber_; }
    // False for a last line that the stream ends in without a line break.
    bool LineEnded() const { return lineEnded_; }

private:
    static bool isBreak(char c) { return c == '\r' || c == '\n'; }
    void countBreak(char c);
    // Runs OnGetLine and the comment test on the finished line; false when it was a comment.
    bool acceptLine();
    void getQuotedWord(bool &isNull, std::string &text);

    TStream &stream_;
    const char quote_;
    const char fieldDelimiter_;
    const char recordDelimiter_;
    const char commentChar_;
    const std::int64_t streamSize_;

    std::array<char, BufferSize> buffer_;
    std::size_t readPos_ = 0;
    std::size_t bufferFill_ = 0;
    int fillCount_ = 0;
    bool ended_ = false;

    std::string line_;
    std::size_t cursor_ = 0;
    bool lineEnded_ = true;

    int newlines_ = 0;
    bool afterCR_ = false;
    int lineNumber_ = 1;
};
