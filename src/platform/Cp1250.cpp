#include "platform/Cp1250.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <unicode/ucnv.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

namespace {

struct Cp1250Tables
{
    std::array<char16_t, 256> toUnicode{};
    // Indexed by code unit; 0 means "not in cp1250" except for U+0000 itself.
    std::array<unsigned char, 0x10000> fromUnicode{};
};

// Built once from ICU's converter, so the mapping is the one every other cp1250 tool agrees on;
// ICU maps the five unassigned bytes to the C1 controls, which keeps every byte round-trippable.
const Cp1250Tables &tables()
{
    static const std::unique_ptr<Cp1250Tables> built = [] {
        auto t = std::make_unique<Cp1250Tables>();
        UErrorCode status = U_ZERO_ERROR;
        UConverter *converter = ucnv_open("windows-1250", &status);
        if (U_FAILURE(status))
            throw std::runtime_error("The windows-1250 converter is not available.");
        for (int byte = 0; byte < 256; ++byte) {
            const char in = static_cast<char>(byte);
            UChar out[2] = {};
            status = U_ZERO_ERROR;
            ucnv_toUChars(converter, out, 2, &in, 1, &status);
            t->toUnicode[byte] = U_SUCCESS(status) ? out[0] : static_cast<char16_t>(byte);
            t->fromUnicode[t->toUnicode[byte]] = static_cast<unsigned char>(byte);
        }
        ucnv_close(converter);
        return t;
    }();
    return *built;
}

} // namespace

char16_t cp1250CharToUtf16(unsigned char byte)
{
    return tables().toUnicode[byte];
}

char utf16CharToCp1250(char16_t unit)
{
    const unsigned char byte = tables().fromUnicode[unit];
    if (byte == 0 && unit != 0)
        return '?';
    return static_cast<char>(byte);
}

std::size_t firstNonCp1250(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != u'?' && utf16CharToCp1250(text[i]) == '?')
            return i;
    return std::u16string_view::npos;
}

std::u16string cp1250ToUtf16(std::string_view text)
{
    const auto &map = tables().toUnicode;
    std::u16string result(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        result[i] = map[static_cast<unsigned char>(text[i])];
    return result;
}

std::string utf16ToCp1250(std::u16string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character outside cp1250: one "?", not two.
        if (U16_IS_LEAD(text[i]) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
            result += '?';
            ++i;
            continue;
        }
        result += utf16CharToCp1250(text[i]);
    }
    return result;
}

std::string cp1250ToUtf8(std::string_view text)
{
    const auto &map = tables().toUnicode;
    std::string result;
    result.reserve(text.size() * 2);
    for (const char c : text) {
        uint8_t encoded[U8_MAX_LENGTH];
        int length = 0;
        U8_APPEND_UNSAFE(encoded, length, map[static_cast<unsigned char>(c)]);
        result.append(reinterpret_cast<const char *>(encoded), length);
    }
    return result;
}

std::string utf8ToCp1250(std::string_view text)
{
    const auto *bytes = reinterpret_cast<const uint8_t *>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    std::string result;
    result.reserve(text.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        // Malformed sequences and characters beyond the BMP have no cp1250 form.
        result += (c < 0 || c > 0xFFFF) ? '?' : utf16CharToCp1250(static_cast<char16_t>(c));
    }
    return result;
}
