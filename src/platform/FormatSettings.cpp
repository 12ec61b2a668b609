#include "platform/FormatSettings.h"

#include "platform/Cp1250.h"

#include <unicode/datefmt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/uchar.h>

#include <cctype>
#include <cstdlib>
#include <memory>

namespace {

std::string toCp1250(const icu::UnicodeString &text)
{
    return utf16ToCp1250(std::u16string_view(reinterpret_cast<const char16_t *>(text.getBuffer()),
                                              static_cast<std::size_t>(text.length())));
}

// "hu_HU.UTF-8@euro" -> "hu_HU"; the encoding and modifier do not change the conventions.
std::string baseLocaleName(const std::string &name)
{
    return name.substr(0, name.find_first_of(".@"));
}

bool isPlainCLocale(const std::string &name)
{
    const std::string base = baseLocaleName(name);
    return base.empty() || base == "C" || base == "POSIX";
}

// Rewrites a date or time pattern of the locale library in the framework's format letters.
std::string frameworkPattern(const icu::UnicodeString &pattern)
{
    std::string result;
    const int length = pattern.length();
    for (int i = 0; i < length;) {
        const char16_t c = pattern.charAt(i);
        if (c == u'\'') {
            // Quoted text; a doubled quote is a quote character.
            std::u16string literal;
            int j = i + 1;
            if (j < length && pattern.charAt(j) == u'\'') {
                literal = u"'";
                j += 1;
            } else {
                for (; j < length; ++j) {
                    if (pattern.charAt(j) == u'\'') {
                        if (j + 1 < length && pattern.charAt(j + 1) == u'\'') {
                            literal += u'\'';
                            ++j;
                            continue;
                        }
                        ++j;
                        break;
                    }
                    literal += pattern.charAt(j);
                }
            }
            result += "\"" + utf16ToCp1250(literal) + "\"";
            i = j;
            continue;
        }
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))) {
            // Newer locale data puts narrow no-break spaces before AM/PM; cp1250 has none.
            result += u_isUWhiteSpace(c) ? ' ' : utf16CharToCp1250(c);
            ++i;
            continue;
        }
        int count = 1;
        while (i + count < length && pattern.charAt(i + count) == c)
            ++count;
        i += count;
        switch (c) {
        case u'y':
        case u'Y':
            result += count == 2 ? "yy" : "yyyy";
            break;
        case u'M':
        case u'L':
            result += count == 1 ? "m" : count == 2 ? "mm" : count == 3 ? "mmm" : "mmmm";
            break;
        case u'd':
            result += count == 1 ? "d" : "dd";
            break;
        case u'E':
        case u'c':
        case u'e':
            result += count <= 3 ? "ddd" : "dddd";
            break;
        case u'H':
        case u'k':
        case u'h':
        case u'K':
            result += count == 1 ? "h" : "hh";
            break;
        case u'm':
            result += count == 1 ? "n" : "nn";
            break;
        case u's':
            result += count == 1 ? "s" : "ss";
            break;
        case u'S':
            result += "zzz";
            break;
        case u'a':
            result += "ampm";
            break;
        default: // eras, zones and the like have no framework letter
            break;
        }
    }
    // Dropped letters may leave blanks at the ends.
    const auto first = result.find_first_not_of(' ');
    const auto last = result.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : result.substr(first, last - first + 1);
}

// The first separator character of a pattern in framework letters, outside quotes.
char firstSeparator(const std::string &pattern, char fallback)
{
    bool quoted = false;
    for (char c : pattern) {
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && !std::isalpha(static_cast<unsigned char>(c)) && c != ' ')
            return c;
    }
    return fallback;
}

std::string datePattern(icu::DateFormat *format)
{
    icu::UnicodeString pattern;
    if (auto *simple = dynamic_cast<icu::SimpleDateFormat *>(format))
        simple->toPattern(pattern);
    return frameworkPattern(pattern);
}

void readNumberSettings(const icu::Locale &locale, TFormatSettings &settings)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::DecimalFormatSymbols symbols(locale, status);
    if (U_FAILURE(status))
        return;
    const std::string decimal = toCp1250(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
    const std::string grouping = toCp1250(symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol));
    if (!decimal.empty())
        settings.DecimalSeparator = decimal[0];
    if (!grouping.empty())
        settings.ThousandSeparator = grouping[0];
    settings.ListSeparator = settings.DecimalSeparator == ',' ? ';' : ',';
    settings.CurrencyString = toCp1250(symbols.getSymbol(icu::DecimalFormatSymbols::kCurrencySymbol));

    std::unique_ptr<icu::NumberFormat> currency(icu::NumberFormat::createCurrencyInstance(locale, status));
    if (U_FAILURE(status))
        return;
    if (auto *decimalFormat = dynamic_cast<icu::DecimalFormat *>(currency.get())) {
        icu::UnicodeString pattern;
        decimalFormat->toPattern(pattern);
        const int symbol = pattern.indexOf(u'\u00A4');
        const int digit = pattern.indexOf(u'0');
        const bool symbolFirst = symbol >= 0 && symbol < digit;
        const bool spaced = symbolFirst ? (symbol + 1 < pattern.length() && pattern.charAt(symbol + 1) != u'#' &&
                                           pattern.charAt(symbol + 1) != u'0')
                                        : (symbol > 0 && pattern.charAt(symbol - 1) != u'0');
        settings.CurrencyFormat = static_cast<std::uint8_t>(symbolFirst ? (spaced ? 2 : 0) : (spaced ? 3 : 1));
        static constexpr std::uint8_t negativeForms[] = {1, 5, 9, 8};
        settings.NegCurrFormat = negativeForms[settings.CurrencyFormat];
        settings.CurrencyDecimals = static_cast<std::uint8_t>(decimalFormat->getMaximumFractionDigits());
    }
}

void readDateSettings(const icu::Locale &locale, TFormatSettings &settings)
{
    std::unique_ptr<icu::DateFormat> shortDate(icu::DateFormat::createDateInstance(icu::DateFormat::kShort, locale));
    std::unique_ptr<icu::DateFormat> longDate(icu::DateFormat::createDateInstance(icu::DateFormat::kLong, locale));
    std::unique_ptr<icu::DateFormat> shortTime(icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, locale));
    std::unique_ptr<icu::DateFormat> longTime(icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, locale));
    if (!shortDate || !longDate || !shortTime || !longTime)
        return;
    settings.ShortDateFormat = datePattern(shortDate.get());
    // A two-digit year in the short date would lose the century in every date text.
    if (settings.ShortDateFormat.find("yyyy") == std::string::npos) {
        const auto year = settings.ShortDateFormat.find("yy");
        if (year != std::string::npos)
            settings.ShortDateFormat.replace(year, 2, "yyyy");
    }
    settings.LongDateFormat = datePattern(longDate.get());
    settings.ShortTimeFormat = datePattern(shortTime.get());
    settings.LongTimeFormat = datePattern(longTime.get());
    settings.DateSeparator = firstSeparator(settings.ShortDateFormat, '/');
    settings.TimeSeparator = firstSeparator(settings.LongTimeFormat, ':');

    UErrorCode status = U_ZERO_ERROR;
    icu::DateFormatSymbols symbols(locale, status);
    if (U_FAILURE(status))
        return;
    int count = 0;
    const icu::UnicodeString *months = symbols.getMonths(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::WIDE);
    for (int i = 0; i < count && i < 12; ++i)
        settings.LongMonthNames[static_cast<std::size_t>(i)] = toCp1250(months[i]);
    months = symbols.getMonths(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::ABBREVIATED);
    for (int i = 0; i < count && i < 12; ++i)
        settings.ShortMonthNames[static_cast<std::size_t>(i)] = toCp1250(months[i]);
    // Weekday arrays are indexed from 1 (Sunday).
    const icu::UnicodeString *days = symbols.getWeekdays(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::WIDE);
    for (int i = 1; i < count && i <= 7; ++i)
        settings.LongDayNames[static_cast<std::size_t>(i - 1)] = toCp1250(days[i]);
    days = symbols.getWeekdays(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::ABBREVIATED);
    for (int i = 1; i < count && i <= 7; ++i)
        settings.ShortDayNames[static_cast<std::size_t>(i - 1)] = toCp1250(days[i]);
    const icu::UnicodeString *amPm = symbols.getAmPmStrings(count);
    if (count >= 2) {
        settings.TimeAMString = toCp1250(amPm[0]);
        settings.TimePMString = toCp1250(amPm[1]);
    }
}

icu::Locale icuLocale(const std::string &name)
{
    return icu::Locale::createCanonical(baseLocaleName(name).c_str());
}

std::string environmentLocale(const char *category)
{
    for (const char *variable : {"LC_ALL", category, "LANG"}) {
        const char *value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return {};
}

} // namespace

TFormatSettings TFormatSettings::Invariant()
{
    return TFormatSettings();
}

TFormatSettings TFormatSettings::FromLocale(const std::string &localeName)
{
    TFormatSettings settings;
    if (isPlainCLocale(localeName))
        return settings;
    const icu::Locale locale = icuLocale(localeName);
    if (locale.isBogus())
        return settings;
    readNumberSettings(locale, settings);
    readDateSettings(locale, settings);
    return settings;
}

TFormatSettings TFormatSettings::FromEnvironment()
{
    TFormatSettings settings = FromLocale(environmentLocale("LC_TIME"));
    const TFormatSettings numbers = FromLocale(environmentLocale("LC_NUMERIC"));
    settings.DecimalSeparator = numbers.DecimalSeparator;
    settings.ThousandSeparator = numbers.ThousandSeparator;
    settings.ListSeparator = numbers.ListSeparator;
    settings.CurrencyString = numbers.CurrencyString;
    settings.CurrencyFormat = numbers.CurrencyFormat;
    settings.NegCurrFormat = numbers.NegCurrFormat;
    settings.CurrencyDecimals = numbers.CurrencyDecimals;
    return settings;
}

TFormatSettings &FormatSettings()
{
    static TFormatSettings settings = TFormatSettings::FromEnvironment();
    return settings;
}

void ReloadFormatSettings()
{
    FormatSettings() = TFormatSettings::FromEnvironment();
}
