#include "memtable/ztrCompare.h"

#include "memtable/ztrCommon.h"
#include "memtable/ztrCustomMemTable.h"
#include "memtable/ztrErrors.h"
#include "memtable/ztrFieldList.h"
#include "memtable/ztrFieldValue.h"
#include "platform/DateTime.h"
#include "platform/FmtBcd.h"

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
    if (!options.Contains(mtifoPartial))
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
    return options.Contains(mtifoCaseInsensitive) ? NORM_IGNORECASE : 0u;
}

int compareTexts(const void *keyValue, const void *value, TztrifoOptions options, bool &fullCompare,
                 LCID localeID)
{
    const std::string_view key(static_cast<const char *>(keyValue));
    std::string_view other(static_cast<const char *>(value));
    cutForPartial(key, other, options, fullCompare);
    if (options.Contains(mtifoIgnoreLocale))
        return signOf(options.Contains(mtifoCaseInsensitive) ? CompareText(key, other) : CompareStr(key, other));
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
    if (options.Contains(mtifoIgnoreLocale))
        return signOf(options.Contains(mtifoCaseInsensitive) ? WideCompareText(key, other)
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

// BCD values are ordered through the currency type; one that does not fit it has no order.
int compareBcds(const void *keyValue, const void *value)
{
    Currency a, b;
    if (!BCDToCurr(readValue<TBcd>(keyValue), a) || !BCDToCurr(readValue<TBcd>(value), b))
        return 0;
    return (a > b) - (a < b);
}

int compareTimeStamps(const void *keyValue, const void *value)
{
    const auto a = readValue<TSQLTimeStamp>(keyValue);
    const auto b = readValue<TSQLTimeStamp>(value);
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
    case ftBCD:
    case ftFMTBcd:
        result = compareBcds(keyValue, value);
        break;
    case ftTimeStamp:
        result = compareTimeStamps(keyValue, value);
        break;
    default:
        // Bytes, blobs and containers have no order of their own.
        break;
    }
    return options.Contains(mtifoDescending) ? -result : result;
}

namespace {

bool stopsAt(int mode, int result, bool fullCompare)
{
    switch (mode) {
    case 0:
        return result != 0 || !fullCompare;
    case 1:
        return result < 0;
    case 2:
        return result > 0;
    case 3:
        return result <= 0;
    case 4:
        return result >= 0;
    default:
        return false;
    }
}

// A field value as the comparison reads it: in the record, in a value block, or, for a
// compressed value, decompressed by the table into the scratch buffer.
const void *fieldValue(TztrCustomMemTable &table, const TztrRecord *record, const TztrFieldListEntry &entry,
                       std::string &scratch)
{
    static constexpr std::uint8_t emptyValue[8] = {};
    const TztrCommon &store = table.Common();
    const TztrRecordLayout &layout = store.Layout();
    if (entry.FieldNo <= 0 || !layout.IsIndirect(entry.FieldNo))
        return record->Data() + entry.Offset + 1;
    const std::uint8_t *block = store.IndirectValue(record, entry.FieldNo);
    if (!block)
        return emptyValue;
    if (!layout.IsCompressed(entry.FieldNo) || !table.OnDecompressField)
        return ValueBlock::bytes(block);
    scratch.assign(ValueBlock::view(block));
    table.OnDecompressField(table, entry.Field, scratch);
    return scratch.c_str();
}

// Integer values held in the record itself are compared here directly; every sort and search
// repeats this comparison, and the general path costs several times as much for them.
bool compareFixedOrdinal(TFieldType type, const void *keyValue, const void *value, int &result)
{
    switch (type) {
    case ftSmallint:
        result = compareNumbers<std::int16_t>(keyValue, value);
        return true;
    case ftWord:
        result = compareNumbers<std::uint16_t>(keyValue, value);
        return true;
    case ftInteger:
    case ftAutoInc:
    case ftDate:
    case ftTime:
        result = compareNumbers<std::int32_t>(keyValue, value);
        return true;
    case ftLargeint:
        result = compareNumbers<std::int64_t>(keyValue, value);
        return true;
    default:
        return false;
    }
}

// Compares the present values of one field of two records.
int comparePresentValues(TztrCustomMemTable &table, const TztrRecord *keyRecord, const TztrRecord *record,
                         const TztrFieldListEntry &entry, TztrifoOptions options, bool &fullCompare)
{
    const TztrRecordLayout &layout = table.Common().Layout();
    const TFieldType type = entry.Field->DataType();
    const bool inRecord = entry.FieldNo <= 0 || !layout.IsIndirect(entry.FieldNo);
    int result = 0;
    if (inRecord && !table.OnCompareFields() &&
        compareFixedOrdinal(type, keyRecord->Data() + entry.Offset + 1, record->Data() + entry.Offset + 1, result))
        return options.Contains(mtifoDescending) ? -result : result;
    std::string keyScratch, valueScratch;
    const void *key = fieldValue(table, keyRecord, entry, keyScratch);
    const void *value = fieldValue(table, record, entry, valueScratch);
    if (table.OnCompareFields()) {
        table.OnCompareFields()(table, entry.Field, key, value, type, options, fullCompare, result);
        return result;
    }
    return CompareFields(key, value, type, options, fullCompare, table.Common().LocaleID());
}

} // namespace

int CompareRecords(TztrCustomMemTable &table, const TztrRecord *keyRecord, const TztrRecord *record,
                   const TztrFieldList &fieldList, int fieldLimit, bool ignoreNull, bool partial, int mode)
{
    if (!keyRecord || !record)
        return 0;
    const int count = fieldLimit > 0 && fieldLimit < fieldList.Count() ? fieldLimit : fieldList.Count();
    int result = 0;
    bool fullCompare = true;
    for (int i = 0; i < count; ++i) {
        const TztrFieldListEntry &entry = fieldList[i];
        TztrifoOptions options = entry.Options;
        if (mode != 0)
            options.Exclude(mtifoDescending);
        if (partial)
            options.Include(mtifoPartial);
        const bool keyPresent = keyRecord->Data()[entry.Offset] != 0;
        const bool valuePresent = record->Data()[entry.Offset] != 0;
        if (!keyPresent && (ignoreNull || options.Contains(mtifoIgnoreNull)))
            continue;
        const bool descending = options.Contains(mtifoDescending);
        fullCompare = true;
        if (keyPresent && valuePresent)
            result = comparePresentValues(table, keyRecord, record, entry, options, fullCompare);
        else if (keyPresent)
            result = descending ? -1 : 1;
        else if (valuePresent)
            result = descending ? 1 : -1;
        else
            result = 0;
        if (stopsAt(mode, result, fullCompare))
            return result;
    }
    return result;
}

namespace {

template <typename Unsigned> void appendBigEndian(std::string &key, Unsigned value)
{
    // Appended whole: byte by byte, the length checks cost more than the bytes.
    char bytes[sizeof(Unsigned)];
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
        bytes[i] = static_cast<char>((value >> (8 * (sizeof(Unsigned) - 1 - i))) & 0xFF);
    key.append(bytes, sizeof bytes);
}

// Signed integers with the sign bit flipped read in byte order as they do in number order.
template <typename Signed, typename Unsigned> void appendSigned(std::string &key, const void *value)
{
    constexpr Unsigned signBit = Unsigned{1} << (sizeof(Unsigned) * 8 - 1);
    appendBigEndian<Unsigned>(key, static_cast<Unsigned>(readValue<Signed>(value)) ^ signBit);
}

// Positive doubles keep their bits with the sign set, negative ones have every bit inverted;
// -0 counts as 0, as the comparison holds them equal. A NaN has no place in the order.
bool appendDouble(std::string &key, const void *value)
{
    double number = readValue<double>(value);
    if (number != number)
        return false;
    if (number == 0)
        number = 0;
    std::uint64_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    constexpr std::uint64_t signBit = std::uint64_t{1} << 63;
    appendBigEndian<std::uint64_t>(key, (bits & signBit) ? ~bits : bits | signBit);
    return true;
}

// Texts end in a 0 byte, which no text holds, so a text that begins another sorts first.
bool appendText(std::string &key, const char *text, TztrifoOptions options, LCID localeID)
{
    if (options.Contains(mtifoIgnoreLocale)) {
        key += options.Contains(mtifoCaseInsensitive) ? UpperCase(text) : std::string(text);
        key.push_back('\0');
        return true;
    }
    return AppendSortKeyA(localeID, compareFlags(options), text, key);
}

bool appendValue(std::string &key, TFieldType type, const void *value, TztrifoOptions options, LCID localeID)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
        return appendText(key, static_cast<const char *>(value), options, localeID);
    case ftSmallint:
        appendSigned<std::int16_t, std::uint16_t>(key, value);
        return true;
    case ftWord:
        appendBigEndian<std::uint16_t>(key, readValue<std::uint16_t>(value));
        return true;
    case ftInteger:
    case ftAutoInc:
    case ftDate:
    case ftTime:
        appendSigned<std::int32_t, std::uint32_t>(key, value);
        return true;
    case ftLargeint:
        appendSigned<std::int64_t, std::uint64_t>(key, value);
        return true;
    case ftBoolean:
        key.push_back(readValue<std::uint16_t>(value) != 0 ? 1 : 0);
        return true;
    case ftFloat:
    case ftCurrency:
    case ftDateTime:
        return appendDouble(key, value);
    default:
        return false;
    }
}

bool hasSortKeyForm(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
    case ftSmallint:
    case ftWord:
    case ftInteger:
    case ftAutoInc:
    case ftDate:
    case ftTime:
    case ftLargeint:
    case ftBoolean:
    case ftFloat:
    case ftCurrency:
    case ftDateTime:
        return true;
    default:
        return false;
    }
}

} // namespace

bool SortKeysApply(const TztrCustomMemTable &table, const TztrFieldList &fieldList)
{
    if (table.OnCompareFields())
        return false;
    for (const TztrFieldListEntry &entry : fieldList) {
        // A partial compare and a skipped null key are no order of their own.
        if (entry.Options.Contains(mtifoPartial) || entry.Options.Contains(mtifoIgnoreNull) ||
            !hasSortKeyForm(entry.Field->DataType()))
            return false;
    }
    return true;
}

int FixedSortKeyWidth(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
        return 0;
    case ftBoolean:
        return 1;
    default:
        // A number's key is its stored bytes reordered.
        return hasSortKeyForm(type) ? FieldDataWidth(type, 0) : 0;
    }
}

bool AppendSortKey(TztrCustomMemTable &table, const TztrRecord *record, const TztrFieldList &fieldList,
                   std::string &key)
{
    const LCID locale = table.Common().LocaleID();
    std::string scratch;
    for (const TztrFieldListEntry &entry : fieldList) {
        const std::size_t start = key.size();
        // A null marker before every value puts null first; it also keeps each field's part
        // from being mistaken for the beginning of a longer one.
        const bool present = record->Data()[entry.Offset] != 0;
        key.push_back(present ? 1 : 0);
        if (present && !appendValue(key, entry.Field->DataType(), fieldValue(table, record, entry, scratch),
                                    entry.Options, locale))
            return false;
        if (entry.Options.Contains(mtifoDescending)) {
            for (std::size_t i = start; i < key.size(); ++i)
                key[i] = static_cast<char>(~static_cast<unsigned char>(key[i]));
        }
    }
    return true;
}
