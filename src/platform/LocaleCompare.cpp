#include "platform/LocaleCompare.h"

#include "platform/Cp1250.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <vector>

namespace {

struct KnownLocale
{
    LCID id;
    const char *icuName;
};

// Language in the low 10 bits, sublanguage in bits 10-15, sort id in bits 16-19.
constexpr KnownLocale knownLocales[] = {
    {0x0000, "root"}, // LOCALE_NEUTRAL
    {0x007F, "root"}, // LOCALE_INVARIANT
    {0x040E, "hu"},
    {0x0409, "en_US"},
    {0x0809, "en_GB"},
    {0x0C09, "en_AU"},
    {0x1009, "en_CA"},
    {0x0407, "de_DE"},
    {0x0C07, "de_AT"},
    {0x0807, "de_CH"},
    {0x10407, "de@collation=phonebook"},
    {0x040C, "fr_FR"},
    {0x080C, "fr_BE"},
    {0x0C0C, "fr_CA"},
    {0x100C, "fr_CH"},
    {0x0410, "it_IT"},
    {0x0C0A, "es_ES"},
    {0x040A, "es_ES@collation=traditional"},
    {0x0415, "pl"},
    {0x0405, "cs"},
    {0x041B, "sk"},
    {0x0418, "ro"},
    {0x041A, "hr"},
    {0x0424, "sl"},
    {0x081A, "sr_Latn"},
    {0x0419, "ru"},
    {0x0422, "uk"},
    {0x0402, "bg"},
    {0x0413, "nl_NL"},
    {0x0813, "nl_BE"},
    {0x041D, "sv"},
    {0x040B, "fi"},
    {0x0406, "da"},
    {0x0414, "nb"},
    {0x0814, "nn"},
    {0x0816, "pt_PT"},
    {0x0416, "pt_BR"},
    {0x041F, "tr"},
    {0x0408, "el"},
    {0x0411, "ja"},
    {0x0412, "ko"},
    {0x0804, "zh_CN"},
    {0x0404, "zh_TW"},
};

bool isUserDefault(LCID locale)
{
    return locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT;
}

// The collation locale of the environment, as the C library would choose it.
std::string userLocaleName()
{
    std::string name;
    for (const char *variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char *value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            name = value;
            break;
        }
    }
    // "hu_HU.UTF-8@euro": the codeset and the modifier say nothing about the order.
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX")
        return "root";
    return name;
}

// Empty when the id names no locale we know.
std::string icuLocaleName(LCID locale)
{
    if (isUserDefault(locale))
        return userLocaleName();
    const auto *found = std::find_if(std::begin(knownLocales), std::end(knownLocales),
                                     [locale](const KnownLocale &known) { return known.id == locale; });
    return found == std::end(knownLocales) ? std::string() : std::string(found->icuName);
}

std::atomic<unsigned> userLocaleGeneration{0};

struct CollatorDeleter
{
    void operator()(UCollator *collator) const { ucol_close(collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorDeleter>;

CollatorPtr openCollator(LCID locale, bool ignoreCase)
{
    const std::string name = icuLocaleName(locale);
    if (name.empty())
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    CollatorPtr collator(ucol_open(name.c_str(), &status));
    if (U_FAILURE(status))
        return nullptr;
    // Ignoring case drops only the tertiary level, so "lo" and "ló" stay apart.
    ucol_setStrength(collator.get(), ignoreCase ? UCOL_SECONDARY : UCOL_TERTIARY);
    return collator;
}

// One collator per (locale, ignore-case) pair and thread: opening a collator is expensive and a
// UCollator must not be shared between threads that compare at the same time.
class CollatorCache
{
public:
    // Null when the locale cannot be mapped.
    const UCollator *find(LCID locale, bool ignoreCase)
    {
        const unsigned generation = userLocaleGeneration.load(std::memory_order_relaxed);
        if (generation != generation_) {
            entries_.clear();
            generation_ = generation;
        }
        for (const Entry &entry : entries_)
            if (entry.locale == locale && entry.ignoreCase == ignoreCase)
                return entry.collator.get();
        entries_.push_back({locale, ignoreCase, openCollator(locale, ignoreCase)});
        return entries_.back().collator.get();
    }

private:
    struct Entry
    {
        LCID locale;
        bool ignoreCase;
        CollatorPtr collator; // null: remembered as unknown
    };
    std::vector<Entry> entries_;
    unsigned generation_ = 0;
};

const UCollator *collatorFor(LCID locale, unsigned flags)
{
    thread_local CollatorCache cache;
    return cache.find(locale, (flags & NORM_IGNORECASE) != 0);
}

// The conversion table held locally: the per-character call costs more than the collation
// of a short text.
const std::array<char16_t, 256> &cp1250Units()
{
    static const std::array<char16_t, 256> units = [] {
        std::array<char16_t, 256> table{};
        for (int byte = 0; byte < 256; ++byte)
            table[static_cast<std::size_t>(byte)] = cp1250CharToUtf16(static_cast<unsigned char>(byte));
        return table;
    }();
    return units;
}

// cp1250 text as UTF-16; short texts stay on the stack, as this runs once per comparison.
class Utf16Text
{
public:
    explicit Utf16Text(std::string_view text)
    {
        char16_t *out = local_.data();
        if (text.size() > local_.size()) {
            heap_.resize(text.size());
            out = heap_.data();
        }
        const auto &units = cp1250Units();
        for (std::size_t i = 0; i < text.size(); ++i)
            out[i] = units[static_cast<unsigned char>(text[i])];
        data_ = out;
        length_ = static_cast<int32_t>(text.size());
    }
    Utf16Text(const Utf16Text &) = delete;
    Utf16Text &operator=(const Utf16Text &) = delete;

    const char16_t *data() const { return data_; }
    int32_t length() const { return length_; }

private:
    std::array<char16_t, 256> local_;
    std::u16string heap_;
    const char16_t *data_ = nullptr;
    int32_t length_ = 0;
};

int collate(const UCollator *collator, const char16_t *a, int32_t aLength, const char16_t *b, int32_t bLength)
{
    return ucol_strcoll(collator, a, aLength, b, bLength) + CSTR_EQUAL;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// The order of two texts that agree over their common length.
int lengthOrder(std::size_t a, std::size_t b)
{
    return (a > b) - (a < b);
}

char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

using ByteMap = std::array<char, 256>;

// Maps every cp1250 letter whose other case cp1250 also holds; everything else stays.
ByteMap buildCaseMap(UChar32 (*convert)(UChar32))
{
    ByteMap map{};
    for (int byte = 0; byte < 256; ++byte) {
        const char original = static_cast<char>(byte);
        const UChar32 converted = convert(cp1250CharToUtf16(static_cast<unsigned char>(byte)));
        const char mapped = converted <= 0xFFFF ? utf16CharToCp1250(static_cast<char16_t>(converted)) : '?';
        map[byte] = (mapped == '?' && converted != u'?') ? original : mapped;
    }
    return map;
}

template <typename Convert> std::string mapBytes(std::string_view text, Convert convert)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), convert);
    return result;
}

} // namespace

int CompareStringA(LCID locale, unsigned flags, std::string_view a, std::string_view b)
{
    const UCollator *collator = collatorFor(locale, flags);
    if (collator == nullptr)
        return 0;
    const Utf16Text wideA(a);
    const Utf16Text wideB(b);
    return collate(collator, wideA.data(), wideA.length(), wideB.data(), wideB.length());
}

bool AppendSortKeyA(LCID locale, unsigned flags, std::string_view text, std::string &key)
{
    const UCollator *collator = collatorFor(locale, flags);
    if (collator == nullptr)
        return false;
    const Utf16Text wide(text);
    const std::size_t start = key.size();
    // Room for a key of the usual size; one that does not fit is asked for again in full.
    std::size_t room = 2 * text.size() + 16;
    for (;;) {
        key.resize(start + room);
        const int32_t length = ucol_getSortKey(collator, wide.data(), wide.length(),
                                               reinterpret_cast<uint8_t *>(key.data() + start),
                                               static_cast<int32_t>(room));
        // The length counts the closing 0 byte.
        if (static_cast<std::size_t>(length) <= room) {
            key.resize(start + static_cast<std::size_t>(length));
            return true;
        }
        room = static_cast<std::size_t>(length);
    }
}

int CompareStringW(LCID locale, unsigned flags, std::u16string_view a, std::u16string_view b)
{
    const UCollator *collator = collatorFor(locale, flags);
    if (collator == nullptr)
        return 0;
    return collate(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                   static_cast<int32_t>(b.size()));
}

void ReloadUserLocale()
{
    userLocaleGeneration.fetch_add(1, std::memory_order_relaxed);
}

int CompareStr(std::string_view a, std::string_view b)
{
    // char_traits<char> compares as unsigned char, so accented letters sort after ASCII.
    return sign(a.compare(b));
}

int CompareText(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto left = static_cast<unsigned char>(asciiUpper(a[i]));
        const auto right = static_cast<unsigned char>(asciiUpper(b[i]));
        if (left != right)
            return left < right ? -1 : 1;
    }
    return lengthOrder(a.size(), b.size());
}

int WideCompareStr(std::u16string_view a, std::u16string_view b)
{
    return sign(a.compare(b));
}

int WideCompareText(std::u16string_view a, std::u16string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const UChar32 left = u_toupper(a[i]);
        const UChar32 right = u_toupper(b[i]);
        if (left != right)
            return left < right ? -1 : 1;
    }
    return lengthOrder(a.size(), b.size());
}

std::string AnsiUpperCase(std::string_view text)
{
    static const ByteMap upper = buildCaseMap(u_toupper);
    return mapBytes(text, [](char c) { return upper[static_cast<unsigned char>(c)]; });
}

std::string AnsiLowerCase(std::string_view text)
{
    static const ByteMap lower = buildCaseMap(u_tolower);
    return mapBytes(text, [](char c) { return lower[static_cast<unsigned char>(c)]; });
}

std::string UpperCase(std::string_view text)
{
    return mapBytes(text, asciiUpper);
}

std::string LowerCase(std::string_view text)
{
    return mapBytes(text, asciiLower);
}
