#pragma once

// Conversions between the cp1250 text the data files and the engine hold and the Unicode forms
// the rest of the system needs (UTF-16 for wide fields and collation, UTF-8 for messages and the
// GUI edge). Characters that cp1250 cannot hold become "?".

#include <string>
#include <string_view>

std::u16string cp1250ToUtf16(std::string_view text);
std::string utf16ToCp1250(std::u16string_view text);

std::string cp1250ToUtf8(std::string_view text);
std::string utf8ToCp1250(std::string_view text);

// The code point of one cp1250 byte; for the hot paths that convert into their own buffers.
char16_t cp1250CharToUtf16(unsigned char byte);

// The cp1250 byte of one UTF-16 code unit, or '?' when cp1250 has no such character.
char utf16CharToCp1250(char16_t unit);

// Where the first character that cp1250 cannot hold starts, or npos when every one fits.
std::size_t firstNonCp1250(std::u16string_view text);
