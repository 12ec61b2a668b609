#include "platform/Currency.h"

#include "platform/SysUtils.h"

#include <cmath>

namespace {

// Integer division rounding half to even, as the currency arithmetic of the framework rounds.
std::int64_t divideRounded(__int128 numerator, __int128 denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    __int128 quotient = numerator / denominator;
    __int128 remainder = numerator % denominator;
    if (remainder < 0)
        remainder = -remainder;
    const __int128 twice = remainder * 2;
    if (twice > denominator || (twice == denominator && (quotient % 2) != 0))
        quotient += numerator < 0 ? -1 : 1;
    if (quotient > INT64_MAX || quotient < INT64_MIN)
        throw ERangeError("Currency overflow");
    return static_cast<std::int64_t>(quotient);
}

} // namespace

Currency::Currency(double value)
{
    const double scaled = std::nearbyint(value * Scale);
    if (!std::isfinite(scaled) || scaled >= 9223372036854775807.0 || scaled < -9223372036854775808.0)
        throw EConvertError("Floating point value out of the currency range");
    scaled_ = static_cast<std::int64_t>(scaled);
}

Currency Currency::operator*(Currency other) const
{
    return FromScaled(divideRounded(static_cast<__int128>(scaled_) * other.scaled_, Scale));
}

Currency Currency::operator/(Currency other) const
{
    if (other.scaled_ == 0)
        throw EZeroDivide("Division by zero");
    return FromScaled(divideRounded(static_cast<__int128>(scaled_) * Scale, other.scaled_));
}
