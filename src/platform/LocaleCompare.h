#pragma once

// Locale-aware text comparison for the memory table's sort and search loops, with the Windows
// calling convention the engine is written against, and the library's plain comparisons and case
// conversions. Narrow text is cp1250 throughout.

#include <cstdint>
#include <string>
#include <string_view>

using LCID = std::uint32_t;

inline constexpr LCID LOCALE_NEUTRAL = 0;
inline constexpr LCID LOCALE_USER_DEFAULT = 1024;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 2048;

inline constexpr unsigned NORM_IGNORECASE = 1;

inline constexpr int CSTR_LESS_THAN = 1;
inline constexpr int CSTR_EQUAL = 2;
inline constexpr int CSTR_GREATER_THAN = 3;

// Return CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN, or 0 when the locale id names no
// locale this system knows. Ignoring case still tells accented letters apart.
int CompareStringA(LCID locale, unsigned flags, std::string_view a, std::string_view b);
int CompareStringW(LCID locale, unsigned flags, std::u16string_view a, std::u16string_view b);

// Appends to key a byte string whose unsigned byte order is the order CompareStringA gives
// (equal strings for equal texts), ending in the only 0 byte it holds. False, with nothing
// appended, when the locale id names no locale this system knows.
bool AppendSortKeyA(LCID locale, unsigned flags, std::string_view text, std::string &key);

// The user's locale (LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT) is read from the environment
// once; call this after the environment's locale settings change to pick up the new one.
void ReloadUserLocale();

// Ordinal comparisons: negative, zero or positive. The "Text" forms fold case; the narrow one
// folds only a-z, as the library's CompareText does.
int CompareStr(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
int WideCompareStr(std::u16string_view a, std::u16string_view b);
int WideCompareText(std::u16string_view a, std::u16string_view b);

// Case conversion of every letter cp1250 holds in both cases (accented ones included).
std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);

// Case conversion of the letters a-z only.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
