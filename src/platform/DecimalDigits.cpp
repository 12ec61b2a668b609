#include "platform/DecimalDigits.h"

#include "platform/Cp1250.h"

void IncrementDigits(std::string &digits)
{
    auto i = digits.size();
    while (i > 0 && digits[i - 1] == '9')
        digits[--i] = '0';
    if (i == 0)
        digits.insert(digits.begin(), '1');
    else
        ++digits[i - 1];
}

std::string QuotedForMessage(const std::string &text)
{
    // Built by appending: g++ 12 sees a false overlap in "'" + std::string at -O3.
    std::string quoted(1, '\'');
    quoted += cp1250ToUtf8(text);
    quoted += '\'';
    return quoted;
}
