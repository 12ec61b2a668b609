#include "memtable/ztrCompare.h"

#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldValue.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

template <typename T> int signOf(T difference)
{
    return (difference > T{}) - (difference < T{});
}

template <typename T> int compareNumbers(const void *keyValue, const void *value)
{
    const T a = readValue<T>(keyValue);
    const T b = readValue<T>(value);
    return (a > b) - (a < b);
}

// With a partial compare the record value is cut to the key when the key is the shorter one, so
// a key matches every value it begins.
template <typename View> void cutForPartial(const View &key, View &value, TztrifoOptions options,
                                            bool &fullCompare)
{
    if (!options.contains(mtifoPartial))
        return;
    fullCompare = key.size() == value.size();
    if (key.size() < value.size())
        value = value.substr(0, key.size());
}

int checkedLocaleResult(int result)
{
    if (result == 0)
        throw EMemTableInvalidLocale(SInvalidLocale);
    return signOf(result - CSTR_EQUAL);
}

unsigned compareFlags(TztrifoOptions options)
{
    return options.contains(mtifoCaseInsensitive) ? NORM_IGNORECASE : 0u;
}

int compareTexts(const void *keyValue, const void *value, TztrifoOptions options, bool &fullCompare,
                 LCID localeID)
{
    const std::string_view key(static_cast<const char *>(keyValue));
    std::string_view other(static_cast<const char *>(value));
    cutForPartial(key, other, options, fullCompare);
    if (options.contains(mtifoIgnoreLocale))
        return signOf(options.contains(mtifoCaseInsensitive) ? CompareText(key, other) : CompareStr(key, other));
    return checkedLocaleResult(CompareStringA(localeID, compareFlags(options), key, other));
}

// A stored wide value: its length in bytes, then the UTF-16 code units. Record memory gives no
// alignment, so the units are copied out before they are read as char16_t.
std::u16string readWide(const void *stored)
{
    const auto *bytes = static_cast<const std::uint8_t *>(stored);
    const std::uint32_t byteLength = readValue<std::uint32_t>(bytes);
    std::u16string text(byteLength / 2, u'\0');
    std::memcpy(text.data(), bytes + sizeof(std::uint32_t), text.size() * sizeof(char16_t));
    return text;
}

int compareWideTexts(const void *keyValue, const void *value, TztrifoOptions options, bool &fullCompare,
                     LCID localeID)
{
    const std::u16string keyText = readWide(keyValue);
    const std::u16string valueText = readWide(value);
    const std::u16string_view key(keyText);
    std::u16string_view other(valueText);
    cutForPartial(key, other, options, fullCompare);
    if (options.contains(mtifoIgnoreLocale))
        return signOf(options.contains(mtifoCaseInsensitive) ? WideCompareText(key, other)
                                                             : WideCompareStr(key, other));
    return checkedLocaleResult(CompareStringW(localeID, compareFlags(options), key, other));
}

int compareBooleans(const void *keyValue, const void *value)
{
    const bool a = readValue<std::uint16_t>(keyValue) != 0;
    const bool b = readValue<std::uint16_t>(value) != 0;
    return a == b ? 0 : (a ? 1 : -1);
}

int compareFloats(const void *keyValue, const void *value)
{
    const double a = readValue<double>(keyValue);
    const double b = readValue<double>(value);
    if (a == b)
        return 0;
    return a >= b ? 1 : -1;
}

int compareTimeStamps(const void *keyValue, const void *value)
{
    const auto a = readValue<TztrSQLTimeStamp>(keyValue);
    const auto b = readValue<TztrSQLTimeStamp>(value);
    const std::int64_t differences[] = {
        std::int64_t{a.Year} - b.Year,     std::int64_t{a.Month} - b.Month,   std::int64_t{a.Day} - b.Day,
        std::int64_t{a.Hour} - b.Hour,     std::int64_t{a.Minute} - b.Minute, std::int64_t{a.Second} - b.Second,
        std::int64_t{a.Fractions} - b.Fractions};
    for (std::int64_t difference : differences) {
        if (difference != 0)
            return signOf(difference);
    }
    return 0;
}

} // namespace

int CompareFields(const void *keyValue, const void *value, TFieldType fieldType, TztrifoOptions options,
                  bool &fullCompare, LCID localeID)
{
    fullCompare = true;
    int result = 0;
    switch (fieldType) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
        result = compareTexts(keyValue, value, options, fullCompare, localeID);
        break;
    case ftWideString:
        result = compareWideTexts(keyValue, value, options, fullCompare, localeID);
        break;
    case ftSmallint:
        result = compareNumbers<std::int16_t>(keyValue, value);
        break;
    case ftWord:
        result = compareNumbers<std::uint16_t>(keyValue, value);
        break;
    case ftInteger:
    case ftAutoInc:
    case ftDate:
    case ftTime:
        result = compareNumbers<std::int32_t>(keyValue, value);
        break;
    case ftLargeint:
        result = compareNumbers<std::int64_t>(keyValue, value);
        break;
    case ftBoolean:
        result = compareBooleans(keyValue, value);
        break;
    case ftFloat:
    case ftCurrency:
        result = compareFloats(keyValue, value);
        break;
    case ftDateTime:
        result = compareNumbers<double>(keyValue, value);
        break;
    case ftTimeStamp:
        result = compareTimeStamps(keyValue, value);
        break;
    default:
        // Bytes, blobs and containers have no order of their own.
        break;
    }
    return options.contains(mtifoDescending) ? -result : result;
}
