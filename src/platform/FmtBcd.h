#pragma once

// The framework's binary-coded decimal record as BCD fields store it: 34 bytes, the digit count,
// a byte holding the sign (bit 7) and the number of decimal places (bits 0-5), then up to 64
// digits two to a byte, the first digit in the high nibble.

#include "platform/Currency.h"
#include "platform/FormatSettings.h"

#include <cstdint>
#include <string>

struct TBcd {
    std::uint8_t Precision = 0;
    std::uint8_t SignSpecialPlaces = 0;
    std::uint8_t Fraction[32] = {};
};
static_assert(sizeof(TBcd) == 34, "BCD fields store the record in 34 bytes");

inline constexpr int MaxFMTBcdFractionSize = 64;

bool IsBcdNegative(const TBcd &value);
int BcdScale(const TBcd &value);

// Currency to BCD with the given digit count and decimal places. Raises EConvertError when the
// value needs more integer digits than precision - decimals.
TBcd CurrToBCD(Currency value, int precision = 32, int decimals = 4);
// False when the value does not fit the currency range; extra decimals are rounded half away
// from zero.
bool BCDToCurr(const TBcd &value, Currency &result);

TBcd DoubleToBcd(double value);
double BcdToDouble(const TBcd &value);

// Text uses the decimal separator of the settings; StrToBcd raises EConvertError for a text that
// is not a decimal number or has more than 64 digits.
std::string BcdToStr(const TBcd &value);
std::string BcdToStr(const TBcd &value, const TFormatSettings &settings);
TBcd StrToBcd(const std::string &text);
TBcd StrToBcd(const std::string &text, const TFormatSettings &settings);

// Negative, zero or positive, by numeric value.
int BcdCompare(const TBcd &a, const TBcd &b);
