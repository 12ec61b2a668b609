#include "memtable/ztrCSVReader.h"

#include "platform/Classes.h"

#include <cstring>
#include <initializer_list>

namespace {

// The first of the given bytes in [from, to), or to. Lines and items are cut with memchr, which
// scans far faster than a loop over the bytes.
const char *findFirstOf(const char *from, const char *to, std::initializer_list<char> bytes)
{
    for (const char byte : bytes)
        if (const void *found = std::memchr(from, byte, static_cast<std::size_t>(to - from)))
            to = static_cast<const char *>(found);
    return to;
}

} // namespace

TztrCSVReader::TztrCSVReader(TStream &stream, char quote, char fieldDelimiter, char recordDelimiter,
                             char commentChar)
    : stream_(stream), quote_(quote), fieldDelimiter_(fieldDelimiter), recordDelimiter_(recordDelimiter),
      commentChar_(commentChar), streamSize_(stream.Size())
{
}

bool TztrCSVReader::FillBuffer()
{
    readPos_ = 0;
    bufferFill_ = static_cast<std::size_t>(stream_.Read(buffer_.data(), BufferSize));
    if (bufferFill_ == 0)
        return false;
    if (++fillCount_ >= 100) {
        fillCount_ = 0;
        if (OnProgress && streamSize_ > 0)
            OnProgress(static_cast<int>(stream_.Position() * 100 / streamSize_));
    }
    return true;
}

// A CR LF pair is one line of the file; a lone CR or LF is one as well.
void TztrCSVReader::countBreak(char c)
{
    if (c == '\r') {
        ++newlines_;
        afterCR_ = true;
        return;
    }
    if (c == '\n' && !afterCR_)
        ++newlines_;
    afterCR_ = false;
}

bool TztrCSVReader::acceptLine()
{
    bool eof = false;
    if (OnGetLine)
        OnGetLine(line_, eof);
    if (eof) {
        ended_ = true;
        return true;
    }
    if (commentChar_ != '\0' && !line_.empty() && line_.front() == commentChar_) {
        line_.clear();
        return false;
    }
    return true;
}

bool TztrCSVReader::GetLine()
{
    line_.clear();
    cursor_ = 0;
    lineEnded_ = true;
    if (ended_)
        return false;

    lineNumber_ = newlines_ + 1;
    std::size_t runStart = readPos_;
    std::size_t textEnd = 0;
    bool breakSeen = false;
    for (;;) {
        if (readPos_ >= bufferFill_) {
            line_.append(buffer_.data() + runStart, (breakSeen ? textEnd : readPos_) - runStart);
            if (!FillBuffer()) {
                ended_ = true;
                lineEnded_ = breakSeen || line_.empty();
                break;
            }
            runStart = 0;
            textEnd = 0;
        }
        const char c = buffer_[readPos_];
        if (isBreak(c)) {
            countBreak(c);
            ++readPos_;
            if (breakSeen)
                continue;
            if (line_.empty() && readPos_ - 1 == runStart) {
                // Breaks before the first line of the file do not make an empty line.
                runStart = readPos_;
                lineNumber_ = newlines_ + 1;
                continue;
            }
            breakSeen = true;
            textEnd = readPos_ - 1;
            continue;
        }
        afterCR_ = false;
        if (!breakSeen) {
            const char *text = buffer_.data();
            readPos_ = static_cast<std::size_t>(
                findFirstOf(text + readPos_, text + bufferFill_, {'\r', '\n'}) - text);
            continue;
        }
        // The first byte of the next line: the current one is complete.
        line_.append(buffer_.data() + runStart, textEnd - runStart);
        if (acceptLine())
            return !ended_;
        runStart = readPos_;
        breakSeen = false;
        lineNumber_ = newlines_ + 1;
    }
    acceptLine();
    return false;
}

void TztrCSVReader::GetWord(bool &isNull, std::string &text)
{
    if (quote_ != '\0') {
        getQuotedWord(isNull, text);
        return;
    }
    const std::size_t end = line_.size();
    const std::size_t start = std::min(cursor_, end);
    const char *line = line_.data();
    const std::size_t stop =
        static_cast<std::size_t>(findFirstOf(line + start, line + end, {fieldDelimiter_, recordDelimiter_}) - line);
    text.assign(line_, start, stop - start);
    isNull = text.empty();
    // The end of the line counts as a record delimiter of #0, so the cursor then passes it.
    cursor_ = (stop < end || recordDelimiter_ == '\0') ? stop + 1 : stop;
}

void TztrCSVReader::getQuotedWord(bool &isNull, std::string &text)
{
    isNull = false;
    text.clear();
    const std::size_t end = line_.size();
    if (cursor_ >= end)
        return;
    if (line_[cursor_] == fieldDelimiter_) {
        isNull = true;
        ++cursor_;
        return;
    }
    if (line_[cursor_] != quote_) {
        std::size_t stop = line_.find(fieldDelimiter_, cursor_);
        if (stop == std::string::npos)
            stop = end;
        text.assign(line_, cursor_, stop - cursor_);
        cursor_ = stop < end ? stop + 1 : end;
        return;
    }
    std::size_t beforeLastDoubled = 0;
    for (std::size_t at = cursor_ + 1;;) {
        const std::size_t closing = line_.find(quote_, at);
        if (closing == std::string::npos) {
            // Unclosed: only what was read before the last doubled quote counts.
            text.resize(beforeLastDoubled);
            cursor_ = end;
            return;
        }
        text.append(line_, at, closing - at);
        if (closing + 1 < end && line_[closing + 1] == quote_) {
            beforeLastDoubled = text.size();
            text += quote_;
            at = closing + 2;
            continue;
        }
        // The byte after the closing quote is normally the delimiter.
        cursor_ = closing + 2;
        return;
    }
}
