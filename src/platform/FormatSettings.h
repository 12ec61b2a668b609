#pragma once

// Number and date text settings and the conversions that use them. Every text here is cp1250,
// like all text of the framework. Each conversion takes the settings explicitly or uses the
// process-wide user default, which is read from the locale environment on first use.

#include "platform/Currency.h"
#include "platform/DateTime.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

struct TFormatSettings {
    // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"; the negative forms are those of the framework (0 "($1)",
    // 1 "-$1", ... 8 "-1 $").
    std::uint8_t CurrencyFormat = 0;
    std::uint8_t NegCurrFormat = 0;
    char ThousandSeparator = ',';
    char DecimalSeparator = '.';
    std::uint8_t CurrencyDecimals = 2;
    char DateSeparator = '/';
    char TimeSeparator = ':';
    char ListSeparator = ',';
    std::string CurrencyString = "\xA4";
    // Date and time formats use FormatDateTime's letters.
    std::string ShortDateFormat = "mm/dd/yyyy";
    std::string LongDateFormat = "dddd, mmmm d, yyyy";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string ShortTimeFormat = "hh:nn";
    std::string LongTimeFormat = "hh:nn:ss";
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",
                                               "May",     "June",     "July",      "August",
                                               "September", "October", "November", "December"};
    // Index 0 is Sunday.
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    // A two-digit year is placed within this many years before now (0: in the current century).
    int TwoDigitYearCenturyWindow = 50;

    // The locale-independent English set, also what the "C" and "POSIX" locales give.
    static TFormatSettings Invariant();
    // The settings of a named locale ("hu_HU", "en_US.UTF-8", ...); "C", "POSIX" and an empty
    // name give the invariant set.
    static TFormatSettings FromLocale(const std::string &localeName);
    // The settings the environment asks for: numbers from LC_ALL, LC_NUMERIC or LANG, dates and
    // times from LC_ALL, LC_TIME or LANG, whichever is set first.
    static TFormatSettings FromEnvironment();
};

// The process-wide user default. It may be changed for a while (the data-file formats switch to
// fixed settings during a load or save) and must then be restored by whoever changed it.
TFormatSettings &FormatSettings();
// Re-reads the user default from the environment.
void ReloadFormatSettings();

std::string IntToStr(std::int64_t value);
// Raise EConvertError "'%s' is not a valid integer value"; blanks around the number, a sign and
// a "$" or "0x" hexadecimal prefix are accepted.
int StrToInt(const std::string &text);
std::int64_t StrToInt64(const std::string &text);
int StrToIntDef(const std::string &text, int defaultValue);
bool TryStrToInt(const std::string &text, int &result);
bool TryStrToInt64(const std::string &text, std::int64_t &result);

// General format with up to 15 significant digits: fixed notation unless the number has more
// than 15 integer digits or is below 0.00001, then "1.5E-6" style.
std::string FloatToStr(double value);
std::string FloatToStr(double value, const TFormatSettings &settings);
// General format with the given significant digits (1..18).
std::string FloatToStrG(double value, int precision, const TFormatSettings &settings);
// Accepts blanks around, a sign, digits with the settings' decimal separator and an exponent.
// Raises EConvertError "'%s' is not a valid floating point value".
double StrToFloat(const std::string &text);
double StrToFloat(const std::string &text, const TFormatSettings &settings);
bool TryStrToFloat(const std::string &text, double &result);
bool TryStrToFloat(const std::string &text, double &result, const TFormatSettings &settings);
double StrToFloatDef(const std::string &text, double defaultValue);

// Format strings of the framework: "0" digit, "#" optional digit, "." decimal separator, ","
// thousands grouping, "E+"/"E-"/"e+"/"e-" scientific, quoted literals, and up to three sections
// separated by ";" for positive, negative and zero values.
std::string FormatFloat(const std::string &format, double value);
std::string FormatFloat(const std::string &format, double value, const TFormatSettings &settings);

std::string CurrToStr(Currency value);
std::string CurrToStr(Currency value, const TFormatSettings &settings);
// The amount with the currency string and CurrencyDecimals places, placed as the settings say.
std::string CurrToStrF(Currency value, int digits, const TFormatSettings &settings);
// Raises EConvertError "'%s' is not a valid floating point value".
Currency StrToCurr(const std::string &text);
Currency StrToCurr(const std::string &text, const TFormatSettings &settings);
bool TryStrToCurr(const std::string &text, Currency &result, const TFormatSettings &settings);

// Format letters: d dd ddd dddd (day, names), ddddd (short date), dddddd (long date), c (short
// date, then the long time unless midnight), m mm mmm mmmm (month; after h or hh: minutes), yy
// yyyy, h hh, n nn, s ss, z zzz, t (short time), tt (long time), am/pm a/p ampm, "/" the date
// separator, ":" the time separator, text in single or double quotes literally.
std::string FormatDateTime(const std::string &format, TDateTime value);
std::string FormatDateTime(const std::string &format, TDateTime value,
                           const TFormatSettings &settings);
std::string DateToStr(TDateTime value);
std::string DateToStr(TDateTime value, const TFormatSettings &settings);
std::string TimeToStr(TDateTime value);
std::string TimeToStr(TDateTime value, const TFormatSettings &settings);
std::string DateTimeToStr(TDateTime value);
std::string DateTimeToStr(TDateTime value, const TFormatSettings &settings);

// Dates are read as three (or two: the current year is taken) numbers separated by the date
// separator, in the order of ShortDateFormat; times as hours, minutes, optional seconds and
// milliseconds separated by the time separator, with an optional AM/PM marker. Failures raise
// EConvertError "'%s' is not a valid date" / "... time" / "... date and time".
TDateTime StrToDate(const std::string &text);
TDateTime StrToDate(const std::string &text, const TFormatSettings &settings);
TDateTime StrToTime(const std::string &text);
TDateTime StrToTime(const std::string &text, const TFormatSettings &settings);
TDateTime StrToDateTime(const std::string &text);
TDateTime StrToDateTime(const std::string &text, const TFormatSettings &settings);
bool TryStrToDate(const std::string &text, TDateTime &result, const TFormatSettings &settings);
bool TryStrToTime(const std::string &text, TDateTime &result, const TFormatSettings &settings);
bool TryStrToDateTime(const std::string &text, TDateTime &result,
                      const TFormatSettings &settings);
// The date and time a file writes, in the settings' short date order, as a time stamp; false for
// any other form, which TryStrToDateTime may still accept.
bool TryPlainStrToTimeStamp(std::string_view text, TTimeStamp &result, const TFormatSettings &settings);
