#include "platform/FmtBcd.h"

#include "platform/DecimalDigits.h"

#include "platform/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace {

// A decimal number as BCD holds it: value = digits * 10^-scale, digits without leading zeros.
struct Decimal {
    bool negative = false;
    std::string digits;
    int scale = 0;
};

void stripLeadingZeros(Decimal &number)
{
    const auto first = number.digits.find_first_not_of('0');
    number.digits.erase(0, first == std::string::npos ? number.digits.size() : first);
    if (number.digits.empty())
        number.negative = false;
}

Decimal toDecimal(const TBcd &bcd)
{
    Decimal number;
    number.negative = IsBcdNegative(bcd);
    number.scale = BcdScale(bcd);
    const int precision = std::min<int>(bcd.Precision, MaxFMTBcdFractionSize);
    for (int i = 0; i < precision; ++i) {
        const std::uint8_t byte = bcd.Fraction[i / 2];
        number.digits += static_cast<char>('0' + ((i % 2 == 0) ? byte >> 4 : byte & 0x0F) % 10);
    }
    // Places beyond the stored digits read as leading zeros of the fraction.
    if (number.scale > precision)
        number.digits.insert(0, static_cast<std::size_t>(number.scale - precision), '0');
    stripLeadingZeros(number);
    return number;
}

TBcd fromDecimal(Decimal number)
{
    stripLeadingZeros(number);
    // Integer digits that the scale leaves out must still be written.
    if (static_cast<int>(number.digits.size()) < number.scale)
        number.digits.insert(0, static_cast<std::size_t>(number.scale - static_cast<int>(number.digits.size())), '0');
    if (number.digits.empty())
        number.digits = "0";
    if (number.digits.size() > MaxFMTBcdFractionSize || number.scale > 63)
        throw EConvertError("BCD overflow");
    TBcd bcd;
    bcd.Precision = static_cast<std::uint8_t>(number.digits.size());
    bcd.SignSpecialPlaces = static_cast<std::uint8_t>((number.negative ? 0x80 : 0) | number.scale);
    for (std::size_t i = 0; i < number.digits.size(); ++i) {
        const auto digit = static_cast<std::uint8_t>(number.digits[i] - '0');
        bcd.Fraction[i / 2] |= (i % 2 == 0) ? static_cast<std::uint8_t>(digit << 4) : digit;
    }
    return bcd;
}

// Rounds half away from zero to the given number of places.
void roundTo(Decimal &number, int places)
{
    if (number.scale <= places)
        return;
    const int drop = number.scale - places;
    if (static_cast<int>(number.digits.size()) < drop) {
        number.digits.clear();
    } else {
        const char first = number.digits[number.digits.size() - static_cast<std::size_t>(drop)];
        number.digits.erase(number.digits.size() - static_cast<std::size_t>(drop));
        if (first >= '5')
            IncrementDigits(number.digits);
    }
    number.scale = places;
    stripLeadingZeros(number);
}

std::string toText(const Decimal &number, char decimalSeparator)
{
    std::string digits = number.digits;
    if (static_cast<int>(digits.size()) <= number.scale)
        digits.insert(0, static_cast<std::size_t>(number.scale - static_cast<int>(digits.size()) + 1), '0');
    std::string integer = digits.substr(0, digits.size() - static_cast<std::size_t>(number.scale));
    std::string fraction = digits.substr(integer.size());
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string text = number.negative ? "-" : "";
    text += integer;
    if (!fraction.empty())
        text += decimalSeparator + fraction;
    return text;
}

bool parseDecimal(const std::string &text, char decimalSeparator, Decimal &number)
{
    std::size_t i = 0;
    const std::size_t end = text.find_last_not_of(' ') + 1;
    while (i < end && text[i] == ' ')
        ++i;
    if (i < end && (text[i] == '-' || text[i] == '+'))
        number.negative = text[i++] == '-';
    bool anyDigit = false;
    bool inFraction = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            number.digits += c;
            anyDigit = true;
            if (inFraction)
                ++number.scale;
        } else if (c == decimalSeparator && !inFraction) {
            inFraction = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return false;
    if (i < end && (text[i] == 'E' || text[i] == 'e')) {
        char *stop = nullptr;
        const std::string exponentText = text.substr(i + 1, end - i - 1);
        const long exponent = std::strtol(exponentText.c_str(), &stop, 10);
        if (exponentText.empty() || *stop != '\0' || exponent > 64 || exponent < -64)
            return false;
        number.scale -= static_cast<int>(exponent);
        if (number.scale < 0) {
            number.digits.append(static_cast<std::size_t>(-number.scale), '0');
            number.scale = 0;
        }
        i = end;
    }
    return i == end;
}

} // namespace

bool IsBcdNegative(const TBcd &value)
{
    return (value.SignSpecialPlaces & 0x80) != 0;
}

int BcdScale(const TBcd &value)
{
    return value.SignSpecialPlaces & 0x3F;
}

TBcd CurrToBCD(Currency value, int precision, int decimals)
{
    Decimal number;
    const std::int64_t scaled = value.Scaled();
    number.negative = scaled < 0;
    // Through unsigned so that the smallest value has a magnitude too.
    const std::uint64_t magnitude = scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    number.digits = std::to_string(magnitude);
    number.scale = 4;
    if (decimals < 4)
        roundTo(number, decimals);
    else if (decimals > 4) {
        number.digits.append(static_cast<std::size_t>(decimals - 4), '0');
        number.scale = decimals;
    }
    stripLeadingZeros(number);
    const int integerDigits = std::max(0, static_cast<int>(number.digits.size()) - number.scale);
    if (integerDigits > precision - number.scale)
        throw EConvertError("BCD overflow: " + toText(number, '.') + " needs more than " +
                            std::to_string(precision) + " digits");
    return fromDecimal(number);
}

bool BCDToCurr(const TBcd &value, Currency &result)
{
    Decimal number = toDecimal(value);
    roundTo(number, 4);
    std::string digits = number.digits;
    digits.append(static_cast<std::size_t>(4 - number.scale), '0');
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

TBcd DoubleToBcd(double value)
{
    return StrToBcd(FloatToStr(value, TFormatSettings::Invariant()), TFormatSettings::Invariant());
}

double BcdToDouble(const TBcd &value)
{
    return std::strtod(toText(toDecimal(value), '.').c_str(), nullptr);
}

std::string BcdToStr(const TBcd &value)
{
    return BcdToStr(value, FormatSettings());
}

std::string BcdToStr(const TBcd &value, const TFormatSettings &settings)
{
    return toText(toDecimal(value), settings.DecimalSeparator);
}

TBcd StrToBcd(const std::string &text)
{
    return StrToBcd(text, FormatSettings());
}

TBcd StrToBcd(const std::string &text, const TFormatSettings &settings)
{
    Decimal number;
    if (!parseDecimal(text, settings.DecimalSeparator, number))
        throw EConvertError(QuotedForMessage(text) + " is not a valid BCD value");
    stripLeadingZeros(number);
    if (number.digits.size() > MaxFMTBcdFractionSize)
        throw EConvertError(QuotedForMessage(text) + " has too many digits for a BCD value");
    return fromDecimal(number);
}

int BcdCompare(const TBcd &a, const TBcd &b)
{
    Decimal x = toDecimal(a);
    Decimal y = toDecimal(b);
    if (x.negative != y.negative)
        return x.negative ? -1 : 1;
    // Align the scales, then compare digit strings of equal length.
    const int scale = std::max(x.scale, y.scale);
    x.digits.append(static_cast<std::size_t>(scale - x.scale), '0');
    y.digits.append(static_cast<std::size_t>(scale - y.scale), '0');
    const std::size_t width = std::max(x.digits.size(), y.digits.size());
    x.digits.insert(0, width - x.digits.size(), '0');
    y.digits.insert(0, width - y.digits.size(), '0');
    const int order = x.digits.compare(y.digits);
    const int sign = order < 0 ? -1 : (order > 0 ? 1 : 0);
    return x.negative ? -sign : sign;
}
