#pragma once

// Small helpers shared by the number conversions, which work on decimal digit strings so that
// rounding is exact.

#include <string>

// Adds one unit in the last place of a string of decimal digits ("199" -> "200", "99" -> "100").
void IncrementDigits(std::string &digits);

// A cp1250 value quoted for an error message, converted to UTF-8 as messages are.
std::string QuotedForMessage(const std::string &text);
