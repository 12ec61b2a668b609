// Number to text and back, with the format settings' separators.

#include "platform/DecimalDigits.h"
#include "platform/FormatSettings.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    std::size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// A decimal number read from text: value = digits * 10^exponent, sign apart.
struct ParsedNumber {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

bool parseNumber(const std::string &input, char decimalSeparator, bool allowExponent, ParsedNumber &number)
{
    const std::string_view text = trimmed(input);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        number.negative = text[i++] == '-';
    bool anyDigit = false;
    bool inFraction = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            number.digits += c;
            anyDigit = true;
            if (inFraction)
                --number.exponent;
        } else if (c == decimalSeparator && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return false;
    if (allowExponent && i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            negativeExponent = text[i++] == '-';
        if (i == text.size())
            return false;
        int exponent = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), 100000);
        number.exponent += negativeExponent ? -exponent : exponent;
    }
    return i == text.size();
}

// Significant digits of |value| rounded to precision digits, and the decimal exponent of the
// first digit (value = 0.d1d2... * 10^(exponent + 1)).
void significantDigits(double value, int precision, std::string &digits, int &exponent)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, precision - 1);
    const std::string text(buffer, result.ptr);
    const auto e = text.find('e');
    digits.clear();
    for (char c : text.substr(0, e))
        if (c != '.')
            digits += c;
    exponent = std::stoi(text.substr(e + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

// Inserts the thousands separator into a run of integer digits.
std::string grouped(const std::string &digits, char separator)
{
    std::string result;
    const int length = static_cast<int>(digits.size());
    for (int i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            result += separator;
        result += digits[static_cast<std::size_t>(i)];
    }
    return result;
}

// |value| in fixed notation with the given decimals, rounded half away from zero on the
// 17 significant digits a double carries (exact binary halves such as 1.25 round up).
std::string fixedDigits(double value, int decimals)
{
    if (value == 0 || !std::isfinite(value)) {
        std::string zero = "0";
        if (decimals > 0)
            zero += "." + std::string(static_cast<std::size_t>(decimals), '0');
        return zero;
    }
    std::string digits;
    int exponent = 0;
    significantDigits(value, 17, digits, exponent);
    // Place the digits: integer part gets exponent + 1 of them.
    const int integerLength = exponent + 1;
    std::string all = integerLength > 0 ? digits : std::string(static_cast<std::size_t>(-integerLength), '0') + digits;
    const int intDigits = std::max(integerLength, 0);
    if (static_cast<int>(all.size()) < intDigits + decimals + 1)
        all.resize(static_cast<std::size_t>(intDigits + decimals + 1), '0');
    const bool roundUp = all[static_cast<std::size_t>(intDigits + decimals)] >= '5';
    all.resize(static_cast<std::size_t>(intDigits + decimals));
    if (roundUp)
        IncrementDigits(all);
    const std::size_t integerEnd = all.size() - static_cast<std::size_t>(decimals);
    std::string integer = all.substr(0, integerEnd);
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    if (integer.empty())
        integer = "0";
    return decimals > 0 ? integer + "." + all.substr(integerEnd) : integer;
}

// One section of a FormatFloat format, taken apart.
struct FloatSection {
    std::string prefix;
    std::string suffix;
    int integerZeros = 0; // minimum integer digits
    int minDecimals = 0;
    int maxDecimals = 0;
    bool hasDecimalPoint = false;
    bool thousands = false;
    bool scientific = false;
    std::string exponentMarker; // "E+", "E-", "e+" or "e-"
    int exponentDigits = 0;
    bool hasPlaceholders = false;
};

FloatSection parseSection(const std::string &format)
{
    FloatSection section;
    bool seenZero = false;
    bool afterPoint = false;
    bool inNumber = false;
    bool numberDone = false;
    std::string *literalTarget = &section.prefix;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '"' || c == '\'') {
            const auto close = format.find(c, i + 1);
            const std::size_t end = close == std::string::npos ? format.size() : close;
            *literalTarget += format.substr(i + 1, end - i - 1);
            i = end;
            continue;
        }
        if (!numberDone && (c == '0' || c == '#')) {
            section.hasPlaceholders = inNumber = true;
            if (afterPoint) {
                ++section.maxDecimals;
                if (c == '0')
                    section.minDecimals = section.maxDecimals;
            } else if (c == '0' || seenZero) {
                seenZero = true;
                ++section.integerZeros;
            }
            continue;
        }
        if (!numberDone && c == '.' && !afterPoint) {
            afterPoint = section.hasDecimalPoint = inNumber = true;
            continue;
        }
        if (!numberDone && c == ',') {
            section.thousands = true;
            continue;
        }
        if (inNumber && !section.scientific && (c == 'E' || c == 'e') && i + 1 < format.size() &&
            (format[i + 1] == '+' || format[i + 1] == '-')) {
            section.scientific = true;
            section.exponentMarker = format.substr(i, 2);
            i += 2;
            while (i < format.size() && format[i] == '0') {
                ++section.exponentDigits;
                ++i;
            }
            --i;
            numberDone = true;
            literalTarget = &section.suffix;
            continue;
        }
        if (inNumber) {
            numberDone = true;
            literalTarget = &section.suffix;
        }
        *literalTarget += c;
    }
    return section;
}

std::vector<std::string> splitSections(const std::string &format)
{
    std::vector<std::string> sections(1);
    char quote = 0;
    for (char c : format) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

std::string formatFixed(double value, const FloatSection &section, const TFormatSettings &settings)
{
    std::string text = fixedDigits(value, section.maxDecimals);
    const auto point = text.find('.');
    std::string integer = text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    while (static_cast<int>(fraction.size()) > section.minDecimals && fraction.back() == '0')
        fraction.pop_back();
    if (integer == "0")
        integer.clear();
    if (static_cast<int>(integer.size()) < section.integerZeros)
        integer.insert(0, static_cast<std::size_t>(section.integerZeros - static_cast<int>(integer.size())), '0');
    if (section.thousands)
        integer = grouped(integer, settings.ThousandSeparator);
    std::string result = integer;
    if (!fraction.empty())
        result += settings.DecimalSeparator + fraction;
    return result;
}

std::string formatScientific(double value, const FloatSection &section, const TFormatSettings &settings)
{
    const int integerDigits = std::max(1, section.integerZeros);
    std::string digits;
    int exponent = 0;
    if (value == 0) {
        digits = "0";
    } else {
        significantDigits(value, std::min(integerDigits + section.maxDecimals, 18), digits, exponent);
        exponent -= integerDigits - 1;
    }
    digits.resize(static_cast<std::size_t>(integerDigits + section.maxDecimals), '0');
    std::string integer = digits.substr(0, static_cast<std::size_t>(integerDigits));
    std::string fraction = digits.substr(static_cast<std::size_t>(integerDigits));
    while (static_cast<int>(fraction.size()) > section.minDecimals && fraction.back() == '0')
        fraction.pop_back();
    std::string result = integer;
    if (!fraction.empty())
        result += settings.DecimalSeparator + fraction;
    std::string exponentText = std::to_string(std::abs(exponent));
    if (static_cast<int>(exponentText.size()) < section.exponentDigits)
        exponentText.insert(0, static_cast<std::size_t>(section.exponentDigits - static_cast<int>(exponentText.size())), '0');
    result += section.exponentMarker[0];
    if (exponent < 0)
        result += '-';
    else if (section.exponentMarker[1] == '+')
        result += '+';
    return result + exponentText;
}

} // namespace

std::string IntToStr(std::int64_t value)
{
    return std::to_string(value);
}

bool TryStrToInt64(const std::string &input, std::int64_t &result)
{
    const std::string_view text = trimmed(input);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return false;
    std::uint64_t magnitude = 0;
    const auto parsed = std::from_chars(text.data() + i, text.data() + text.size(), magnitude, base);
    if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size())
        return false;
    if (negative) {
        if (magnitude > static_cast<std::uint64_t>(INT64_MAX) + 1)
            return false;
        result = static_cast<std::int64_t>(0 - magnitude);
    } else {
        if (magnitude > static_cast<std::uint64_t>(INT64_MAX))
            return false;
        result = static_cast<std::int64_t>(magnitude);
    }
    return true;
}

bool TryStrToInt(const std::string &text, int &result)
{
    std::int64_t wide = 0;
    if (!TryStrToInt64(text, wide) || wide < INT32_MIN || wide > INT32_MAX)
        return false;
    result = static_cast<int>(wide);
    return true;
}

int StrToInt(const std::string &text)
{
    int result = 0;
    if (!TryStrToInt(text, result))
        throw EConvertError(QuotedForMessage(text) + " nem érvényes egész szám");
    return result;
}

std::int64_t StrToInt64(const std::string &text)
{
    std::int64_t result = 0;
    if (!TryStrToInt64(text, result))
        throw EConvertError(QuotedForMessage(text) + " nem érvényes egész szám");
    return result;
}

int StrToIntDef(const std::string &text, int defaultValue)
{
    int result = 0;
    return TryStrToInt(text, result) ? result : defaultValue;
}

std::string FloatToStrG(double value, int precision, const TFormatSettings &settings)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    precision = std::clamp(precision, 1, 18);
    std::string digits;
    int exponent = 0;
    significantDigits(value, precision, digits, exponent);
    std::string result = value < 0 ? "-" : "";
    if (exponent < precision && exponent >= -5) {
        if (exponent >= 0) {
            std::string integer = digits.substr(0, std::min(digits.size(), static_cast<std::size_t>(exponent + 1)));
            integer.resize(static_cast<std::size_t>(exponent + 1), '0');
            result += integer;
            if (digits.size() > integer.size())
                result += settings.DecimalSeparator + digits.substr(integer.size());
        } else {
            result += std::string("0") + settings.DecimalSeparator +
                      std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        }
        return result;
    }
    result += digits.substr(0, 1);
    if (digits.size() > 1)
        result += settings.DecimalSeparator + digits.substr(1);
    return result + "E" + std::to_string(exponent);
}

std::string FloatToStr(double value, const TFormatSettings &settings)
{
    return FloatToStrG(value, 15, settings);
}

std::string FloatToStr(double value)
{
    return FloatToStr(value, FormatSettings());
}

bool TryStrToFloat(const std::string &text, double &result, const TFormatSettings &settings)
{
    ParsedNumber number;
    if (!parseNumber(text, settings.DecimalSeparator, true, number))
        return false;
    const std::string normal = (number.negative ? "-" : "") + number.digits + "e" + std::to_string(number.exponent);
    double value = 0;
    const auto parsed = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (parsed.ptr != normal.data() + normal.size())
        return false;
    if (parsed.ec == std::errc::result_out_of_range) {
        // Too large is an error; too small is zero.
        if (number.exponent + static_cast<int>(number.digits.size()) > 0)
            return false;
        value = 0;
    }
    result = value;
    return true;
}

bool TryStrToFloat(const std::string &text, double &result)
{
    return TryStrToFloat(text, result, FormatSettings());
}

double StrToFloat(const std::string &text, const TFormatSettings &settings)
{
    double result = 0;
    if (!TryStrToFloat(text, result, settings))
        throw EConvertError(QuotedForMessage(text) + " nem érvényes valós szám");
    return result;
}

double StrToFloat(const std::string &text)
{
    return StrToFloat(text, FormatSettings());
}

double StrToFloatDef(const std::string &text, double defaultValue)
{
    double result = 0;
    return TryStrToFloat(text, result) ? result : defaultValue;
}

std::string FormatFloat(const std::string &format, double value, const TFormatSettings &settings)
{
    if (format.empty())
        return FloatToStr(value, settings);
    const std::vector<std::string> sections = splitSections(format);
    FloatSection section = parseSection(sections[0]);
    // The sign comes from the negative section's own text when there is one.
    bool writeMinus = value < 0;
    const bool roundsToZero =
        section.scientific ? value == 0
                           : std::isfinite(value) &&
                                 fixedDigits(value, section.maxDecimals).find_first_not_of("0.") == std::string::npos;
    if (roundsToZero && sections.size() >= 3 && !sections[2].empty()) {
        section = parseSection(sections[2]);
        writeMinus = false;
    } else if (value < 0 && sections.size() >= 2 && !sections[1].empty()) {
        section = parseSection(sections[1]);
        writeMinus = false;
    }
    if (roundsToZero)
        writeMinus = false;
    if (!section.hasPlaceholders)
        return section.prefix + section.suffix;
    const std::string number = section.scientific ? formatScientific(value, section, settings)
                                                  : formatFixed(value, section, settings);
    return section.prefix + (writeMinus ? "-" : "") + number + section.suffix;
}

std::string FormatFloat(const std::string &format, double value)
{
    return FormatFloat(format, value, FormatSettings());
}

std::string CurrToStr(Currency value, const TFormatSettings &settings)
{
    const std::int64_t scaled = value.Scaled();
    const std::uint64_t magnitude = scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    std::string result = scaled < 0 ? "-" : "";
    result += std::to_string(magnitude / Currency::Scale);
    std::string fraction = std::to_string(magnitude % Currency::Scale + Currency::Scale).substr(1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        result += settings.DecimalSeparator + fraction;
    return result;
}

std::string CurrToStr(Currency value)
{
    return CurrToStr(value, FormatSettings());
}

std::string CurrToStrF(Currency value, int digits, const TFormatSettings &settings)
{
    FloatSection section;
    section.integerZeros = 1;
    section.minDecimals = section.maxDecimals = std::clamp(digits, 0, 4);
    section.thousands = true;
    section.hasPlaceholders = true;
    const std::string amount = formatFixed(value.ToDouble(), section, settings);
    // "$" stands for the currency string, "1" for the amount.
    static constexpr const char *positive[] = {"$1", "1$", "$ 1", "1 $"};
    static constexpr const char *negative[] = {"($1)", "-$1",  "$-1",  "$1-",  "(1$)",  "-1$",  "1-$",  "1$-",
                                               "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
    const char *pattern = value.Scaled() < 0 ? negative[settings.NegCurrFormat % 16] : positive[settings.CurrencyFormat % 4];
    std::string result;
    for (const char *p = pattern; *p; ++p) {
        if (*p == '$')
            result += settings.CurrencyString;
        else if (*p == '1')
            result += amount;
        else
            result += *p;
    }
    return result;
}

bool TryStrToCurr(const std::string &text, Currency &result, const TFormatSettings &settings)
{
    ParsedNumber number;
    if (!parseNumber(text, settings.DecimalSeparator, true, number))
        return false;
    // Exact decimal arithmetic: shift to ten-thousandths, rounding half away from zero.
    std::string digits = number.digits;
    int shift = number.exponent + 4;
    if (shift >= 0) {
        if (shift > 20)
            return false;
        digits.append(static_cast<std::size_t>(shift), '0');
    } else {
        const std::size_t drop = static_cast<std::size_t>(-shift);
        const bool roundUp = drop <= digits.size() && digits[digits.size() - drop] >= '5';
        digits.erase(digits.size() - std::min(drop, digits.size()));
        if (roundUp)
            IncrementDigits(digits);
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.size() > 19)
        return false;
    __int128 scaled = 0;
    for (char c : digits)
        scaled = scaled * 10 + (c - '0');
    if (number.negative)
        scaled = -scaled;
    if (scaled > INT64_MAX || scaled < INT64_MIN)
        return false;
    result = Currency::FromScaled(static_cast<std::int64_t>(scaled));
    return true;
}

Currency StrToCurr(const std::string &text, const TFormatSettings &settings)
{
    Currency result;
    if (!TryStrToCurr(text, result, settings))
        throw EConvertError(QuotedForMessage(text) + " nem érvényes valós szám");
    return result;
}

Currency StrToCurr(const std::string &text)
{
    return StrToCurr(text, FormatSettings());
}
