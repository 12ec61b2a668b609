#include "memtable/ztrCSVCoding.h"

#include <cstdint>
#include <cstring>

void CSVAppendQuoted(std::string &out, std::string_view text, char quote)
{
    if (quote == '\0') {
        out += text;
        return;
    }
    out += quote;
    for (std::size_t at = 0;;) {
        const std::size_t found = text.find(quote, at);
        if (found == std::string_view::npos) {
            out.append(text, at);
            break;
        }
        out.append(text, at, found + 1 - at);
        out += quote;
        at = found + 1;
    }
    out += quote;
}

std::string CSVQuoteText(std::string_view text, char quote)
{
    std::string result;
    result.reserve(text.size() + 2);
    CSVAppendQuoted(result, text, quote);
    return result;
}

std::string CSVUnquoteText(std::string_view text, char quote)
{
    if (quote == '\0')
        return std::string(text);
    std::string result;
    if (text.empty() || text.front() != quote)
        return result;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] != quote) {
            result += text[i];
            continue;
        }
        if (i + 1 >= text.size() || text[i + 1] != quote)
            break;
        result += quote;
        ++i;
    }
    return result;
}

namespace {

// The letter that follows the escape for c, or #0 when c stands for itself.
char escapeCode(char c, char escape)
{
    switch (c) {
    case '\0':
        return '0';
    case '\n':
        return 'n';
    case '\r':
        return 'c';
    // The data files separate their items with TAB, so a TAB inside a value travels escaped too.
    case '\t':
        return 't';
    default:
        return c == escape ? escape : '\0';
    }
}

// Whether one of the eight bytes of `word` is a control character up to CR or the escape, the
// only bytes escapeCode may code. A borrow between bytes can flag a byte above a true match but
// never a word without one, so the answer for the word as a whole is exact.
bool wordMayNeedEscape(std::uint64_t word, char escape)
{
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const std::uint64_t below14 = (word - ones * 14) & ~word & highs;
    const std::uint64_t escapes = word ^ (ones * static_cast<unsigned char>(escape));
    const std::uint64_t escapeFound = (escapes - ones) & ~escapes & highs;
    return (below14 | escapeFound) != 0;
}

} // namespace

void CSVAppendEscaped(std::string &out, std::string_view text, char escape)
{
    // Plain runs go in whole, and plain words are passed over eight bytes at a time: most values
    // hold nothing to escape.
    std::size_t runStart = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::uint64_t word;
        if (text.size() - i >= sizeof word) {
            std::memcpy(&word, text.data() + i, sizeof word);
            if (!wordMayNeedEscape(word, escape)) {
                i += sizeof word;
                continue;
            }
        }
        if (const char code = escapeCode(text[i], escape); code != '\0') {
            out.append(text, runStart, i - runStart);
            out += escape;
            out += code;
            runStart = i + 1;
        }
        ++i;
    }
    out.append(text, runStart);
}

std::string CSVEscapeEncode(std::string_view text, char escape)
{
    std::string result;
    result.reserve(text.size());
    CSVAppendEscaped(result, text, escape);
    return result;
}

std::string CSVEscapeDecode(std::string_view text, char escape)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != escape) {
            result += text[i];
            continue;
        }
        if (++i == text.size())
            break;
        switch (text[i]) {
        case '0':
            result += '\0';
            break;
        case 'c':
            result += '\r';
            break;
        case 'n':
            result += '\n';
            break;
        case 't':
            result += '\t';
            break;
        default:
            result += text[i];
        }
    }
    return result;
}

// The accumulator is 16 bits wide in the file's definition of the coding; keeping it so makes
// damaged input (characters outside the coding's range) decode to something rather than
// overflow.
std::string CSVSixBitEncode(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const std::size_t length = (4 * bytes.size() + 2) / 3;
    std::string result;
    result.reserve(length);
    std::uint16_t accumulator = 0;
    int shift = 0;
    std::size_t next = 0;
    for (std::size_t i = 0; i + 1 < length; ++i) {
        if (shift < 6) {
            const auto byte = static_cast<unsigned char>(bytes[next++]);
            accumulator = static_cast<std::uint16_t>((byte << shift) | (accumulator >> 6));
            shift += 2;
        } else {
            shift -= 6;
            accumulator = static_cast<std::uint16_t>(accumulator >> 6);
        }
        result += static_cast<char>((accumulator & 63) + 32);
    }
    result += static_cast<char>((accumulator >> 6) + 32);
    return result;
}

std::string CSVSixBitDecode(std::string_view text)
{
    const std::size_t length = 3 * text.size() / 4;
    std::string result;
    result.reserve(length);
    std::uint16_t accumulator = 0;
    int shift = 0;
    for (const char c : text) {
        const auto sixBits = static_cast<std::uint16_t>(static_cast<unsigned char>(c) - 32u);
        accumulator = static_cast<std::uint16_t>(accumulator | (sixBits << shift));
        if (shift >= 2) {
            result += static_cast<char>(accumulator & 0xFF);
            accumulator = static_cast<std::uint16_t>(accumulator >> 8);
            shift -= 2;
        } else {
            shift += 6;
        }
    }
    return result;
}

namespace {

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::vector<std::string> CSVSplitCommaText(std::string_view text)
{
    constexpr char quote = '"';
    constexpr char delimiter = ',';
    std::vector<std::string> items;
    std::size_t at = 0;
    const auto skipBlanks = [&] {
        while (at < text.size() && isBlank(text[at]))
            ++at;
    };
    skipBlanks();
    while (at < text.size()) {
        std::string item;
        if (text[at] == quote) {
            for (++at; at < text.size(); ++at) {
                if (text[at] != quote) {
                    item += text[at];
                } else if (at + 1 < text.size() && text[at + 1] == quote) {
                    item += quote;
                    ++at;
                } else {
                    ++at;
                    break;
                }
            }
        } else {
            const std::size_t start = at;
            while (at < text.size() && !isBlank(text[at]) && text[at] != delimiter)
                ++at;
            item.assign(text.substr(start, at - start));
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (at < text.size() && text[at] == delimiter) {
            if (at + 1 == text.size())
                items.emplace_back();
            ++at;
            skipBlanks();
        }
    }
    return items;
}
