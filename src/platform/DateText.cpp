// Dates and times to text and back, with the format settings' formats and separators.

#include "platform/DecimalDigits.h"
#include "platform/FormatSettings.h"
#include "platform/SysUtils.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <string>

namespace {

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool startsWithNoCase(const std::string &text, std::size_t at, const char *prefix)
{
    const std::size_t length = std::strlen(prefix);
    if (at + length > text.size())
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (lower(text[at + i]) != lower(prefix[i]))
            return false;
    return true;
}

std::string padded(int value, int width)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width - static_cast<int>(text.size())), '0');
    return text;
}

// Whether an AM/PM specifier follows in the format, which makes "h" a 12-hour clock.
bool hasAmPmAfter(const std::string &format, std::size_t from)
{
    char quote = 0;
    for (std::size_t i = from; i < format.size(); ++i) {
        const char c = format[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (startsWithNoCase(format, i, "am/pm") || startsWithNoCase(format, i, "a/p") ||
                   startsWithNoCase(format, i, "ampm")) {
            return true;
        }
    }
    return false;
}

class DateTimeFormatter {
public:
    DateTimeFormatter(TDateTime value, const TFormatSettings &settings) : settings_(settings)
    {
        DecodeDate(value, year_, month_, day_);
        DecodeTime(value, hour_, minute_, second_, msec_);
        dayOfWeek_ = DayOfWeek(value);
    }

    void append(const std::string &format, int depth)
    {
        // Formats may name other formats (c, ddddd, t); two levels are all the framework needs.
        if (depth > 2)
            return;
        bool lastWasHour = false;
        for (std::size_t i = 0; i < format.size();) {
            const char c = format[i];
            const char lc = lower(c);
            std::size_t count = 1;
            while (i + count < format.size() && lower(format[i + count]) == lc && std::isalpha(static_cast<unsigned char>(c)))
                ++count;
            bool isHour = false;
            switch (lc) {
            case '"':
            case '\'': {
                const auto close = format.find(c, i + 1);
                const std::size_t end = close == std::string::npos ? format.size() : close;
                out_ += format.substr(i + 1, end - i - 1);
                i = end + 1;
                continue;
            }
            case 'c':
                append(settings_.ShortDateFormat, depth + 1);
                if (hour_ || minute_ || second_ || msec_) {
                    out_ += ' ';
                    append(settings_.LongTimeFormat, depth + 1);
                }
                break;
            case 'y':
                out_ += count <= 2 ? padded(year_ % 100, 2) : padded(year_, 4);
                break;
            case 'm':
                if (lastWasHour && count <= 2)
                    out_ += count == 1 ? std::to_string(minute_) : padded(minute_, 2);
                else if (count == 1)
                    out_ += std::to_string(month_);
                else if (count == 2)
                    out_ += padded(month_, 2);
                else if (count == 3)
                    out_ += month_ ? settings_.ShortMonthNames[static_cast<std::size_t>(month_ - 1)] : "";
                else
                    out_ += month_ ? settings_.LongMonthNames[static_cast<std::size_t>(month_ - 1)] : "";
                break;
            case 'd':
                if (count == 1)
                    out_ += std::to_string(day_);
                else if (count == 2)
                    out_ += padded(day_, 2);
                else if (count == 3)
                    out_ += settings_.ShortDayNames[static_cast<std::size_t>(dayOfWeek_ - 1)];
                else if (count == 4)
                    out_ += settings_.LongDayNames[static_cast<std::size_t>(dayOfWeek_ - 1)];
                else if (count == 5)
                    append(settings_.ShortDateFormat, depth + 1);
                else
                    append(settings_.LongDateFormat, depth + 1);
                break;
            case 'h': {
                int hour = hour_;
                if (hasAmPmAfter(format, i + count)) {
                    hour %= 12;
                    if (hour == 0)
                        hour = 12;
                }
                out_ += count == 1 ? std::to_string(hour) : padded(hour, 2);
                isHour = true;
                break;
            }
            case 'n':
                out_ += count == 1 ? std::to_string(minute_) : padded(minute_, 2);
                break;
            case 's':
                out_ += count == 1 ? std::to_string(second_) : padded(second_, 2);
                break;
            case 'z':
                out_ += count == 1 ? std::to_string(msec_) : padded(msec_, 3);
                break;
            case 't':
                append(count == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, depth + 1);
                break;
            case 'a':
                count = appendAmPm(format, i);
                break;
            case '/':
                out_ += settings_.DateSeparator;
                break;
            case ':':
                out_ += settings_.TimeSeparator;
                break;
            default:
                out_.append(count, c);
                break;
            }
            // Only another specifier ends the "minutes after hours" reading of m.
            if (std::isalpha(static_cast<unsigned char>(c)))
                lastWasHour = isHour;
            i += count;
        }
    }

    const std::string &text() const { return out_; }

private:
    // Returns the length of the specifier consumed.
    std::size_t appendAmPm(const std::string &format, std::size_t at)
    {
        const bool pm = hour_ >= 12;
        if (startsWithNoCase(format, at, "am/pm")) {
            const std::string spec = format.substr(at + (pm ? 3 : 0), 2);
            out_ += spec;
            return 5;
        }
        if (startsWithNoCase(format, at, "a/p")) {
            out_ += format[at + (pm ? 2 : 0)];
            return 3;
        }
        if (startsWithNoCase(format, at, "ampm")) {
            out_ += pm ? settings_.TimePMString : settings_.TimeAMString;
            return 4;
        }
        out_ += format[at];
        return 1;
    }

    const TFormatSettings &settings_;
    int year_, month_, day_, hour_, minute_, second_, msec_, dayOfWeek_;
    std::string out_;
};

// Reads dates and times from text position by position.
class DateTimeScanner {
public:
    DateTimeScanner(const std::string &text, const TFormatSettings &settings) : text_(text), settings_(settings) {}

    bool atEnd()
    {
        skipBlanks();
        return pos_ == text_.size();
    }

    bool scanDate(TDateTime &result)
    {
        const std::size_t start = pos_;
        int numbers[3] = {0, 0, 0};
        int digits[3] = {0, 0, 0};
        int count = 0;
        while (count < 3) {
            if (count > 0 && !scanChar(settings_.DateSeparator))
                break;
            if (!scanNumber(numbers[count], digits[count])) {
                if (count > 0) // "1/2/" may end with a separator
                    break;
                pos_ = start;
                return false;
            }
            ++count;
        }
        if (count < 2) {
            pos_ = start;
            return false;
        }
        // Formats such as "yyyy. mm. dd." end with the separator.
        if (count == 3)
            scanChar(settings_.DateSeparator);
        int year, month, day;
        const char order = dateOrder();
        if (count == 3) {
            if (order == 'y') {
                year = numbers[0], month = numbers[1], day = numbers[2];
            } else if (order == 'd') {
                day = numbers[0], month = numbers[1], year = numbers[2];
            } else {
                month = numbers[0], day = numbers[1], year = numbers[2];
            }
            const int yearDigits = order == 'y' ? digits[0] : digits[2];
            if (yearDigits <= 2)
                year = windowedYear(year);
        } else {
            int unused;
            DecodeDate(Date(), year, unused, unused);
            if (order == 'd') {
                day = numbers[0], month = numbers[1];
            } else {
                month = numbers[0], day = numbers[1];
            }
        }
        if (!TryEncodeDate(year, month, day, result)) {
            pos_ = start;
            return false;
        }
        return true;
    }

    bool scanTime(TDateTime &result)
    {
        const std::size_t start = pos_;
        int hour = 0, minute = 0, second = 0, msec = 0, unused = 0;
        if (!scanNumber(hour, unused)) {
            pos_ = start;
            return false;
        }
        bool haveMinutes = false;
        if (scanChar(settings_.TimeSeparator)) {
            if (!scanNumber(minute, unused)) {
                pos_ = start;
                return false;
            }
            haveMinutes = true;
            if (scanChar(settings_.TimeSeparator)) {
                if (!scanNumber(second, unused)) {
                    pos_ = start;
                    return false;
                }
                if (scanChar(settings_.DecimalSeparator)) {
                    int msDigits = 0;
                    if (!scanNumber(msec, msDigits)) {
                        pos_ = start;
                        return false;
                    }
                }
            }
        }
        const int amPm = scanAmPm();
        if (!haveMinutes && amPm == 0) {
            pos_ = start;
            return false;
        }
        if (amPm != 0) {
            if (hour < 1 || hour > 12) {
                pos_ = start;
                return false;
            }
            hour %= 12;
            if (amPm == 2)
                hour += 12;
        }
        if (!TryEncodeTime(hour, minute, second, msec, result)) {
            pos_ = start;
            return false;
        }
        return true;
    }

private:
    void skipBlanks()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
            ++pos_;
    }

    bool scanNumber(int &value, int &digits)
    {
        skipBlanks();
        value = 0;
        digits = 0;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])) && digits < 9) {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
            ++digits;
        }
        return digits > 0;
    }

    bool scanChar(char c)
    {
        const std::size_t start = pos_;
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        pos_ = start;
        return false;
    }

    // 0 none, 1 AM, 2 PM.
    int scanAmPm()
    {
        const std::size_t start = pos_;
        skipBlanks();
        const std::pair<std::string, int> markers[] = {
            {settings_.TimeAMString, 1}, {settings_.TimePMString, 2}, {"AM", 1}, {"PM", 2}, {"A", 1}, {"P", 2}};
        for (const auto &[marker, kind] : markers) {
            if (!marker.empty() && startsWithNoCase(text_, pos_, marker.c_str())) {
                pos_ += marker.size();
                return kind;
            }
        }
        pos_ = start;
        return 0;
    }

    // 'd', 'm' or 'y': which part the short date format names first.
    char dateOrder() const
    {
        const std::string &format = settings_.ShortDateFormat;
        char quote = 0;
        for (char c : format) {
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else {
                const char lc = lower(c);
                if (lc == 'd' || lc == 'm' || lc == 'y')
                    return lc;
            }
        }
        return 'm';
    }

    int windowedYear(int year) const
    {
        int currentYear, unused;
        DecodeDate(Date(), currentYear, unused, unused);
        const int window = settings_.TwoDigitYearCenturyWindow;
        if (window <= 0)
            return currentYear / 100 * 100 + year;
        const int pivot = currentYear - window;
        int result = pivot / 100 * 100 + year;
        if (result < pivot)
            result += 100;
        return result;
    }

    const std::string &text_;
    const TFormatSettings &settings_;
    std::size_t pos_ = 0;
};

} // namespace

std::string FormatDateTime(const std::string &format, TDateTime value, const TFormatSettings &settings)
{
    DateTimeFormatter formatter(value, settings);
    formatter.append(format.empty() ? std::string("c") : format, 0);
    return formatter.text();
}

std::string FormatDateTime(const std::string &format, TDateTime value)
{
    return FormatDateTime(format, value, FormatSettings());
}

std::string DateToStr(TDateTime value, const TFormatSettings &settings)
{
    return FormatDateTime("ddddd", value, settings);
}

std::string DateToStr(TDateTime value)
{
    return DateToStr(value, FormatSettings());
}

std::string TimeToStr(TDateTime value, const TFormatSettings &settings)
{
    return FormatDateTime("tt", value, settings);
}

std::string TimeToStr(TDateTime value)
{
    return TimeToStr(value, FormatSettings());
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings &settings)
{
    return FormatDateTime("c", value, settings);
}

std::string DateTimeToStr(TDateTime value)
{
    return DateTimeToStr(value, FormatSettings());
}

bool TryStrToDate(const std::string &text, TDateTime &result, const TFormatSettings &settings)
{
    DateTimeScanner scanner(text, settings);
    TDateTime date;
    if (!scanner.scanDate(date) || !scanner.atEnd())
        return false;
    result = date;
    return true;
}

bool TryStrToTime(const std::string &text, TDateTime &result, const TFormatSettings &settings)
{
    DateTimeScanner scanner(text, settings);
    TDateTime time;
    if (!scanner.scanTime(time) || !scanner.atEnd())
        return false;
    result = time;
    return true;
}

bool TryStrToDateTime(const std::string &text, TDateTime &result, const TFormatSettings &settings)
{
    DateTimeScanner scanner(text, settings);
    TDateTime date, time;
    if (!scanner.scanDate(date)) {
        // A time alone is a time on day 0.
        if (!scanner.scanTime(time) || !scanner.atEnd())
            return false;
        result = time;
        return true;
    }
    if (!scanner.atEnd() && (!scanner.scanTime(time) || !scanner.atEnd()))
        return false;
    result = TDateTime(date < 0 ? date - time : date + time);
    return true;
}

TDateTime StrToDate(const std::string &text, const TFormatSettings &settings)
{
    TDateTime result;
    if (!TryStrToDate(text, result, settings))
        throw EConvertError(QuotedForMessage(text) + " is not a valid date");
    return result;
}

TDateTime StrToDate(const std::string &text)
{
    return StrToDate(text, FormatSettings());
}

TDateTime StrToTime(const std::string &text, const TFormatSettings &settings)
{
    TDateTime result;
    if (!TryStrToTime(text, result, settings))
        throw EConvertError(QuotedForMessage(text) + " is not a valid time");
    return result;
}

TDateTime StrToTime(const std::string &text)
{
    return StrToTime(text, FormatSettings());
}

TDateTime StrToDateTime(const std::string &text, const TFormatSettings &settings)
{
    TDateTime result;
    if (!TryStrToDateTime(text, result, settings))
        throw EConvertError(QuotedForMessage(text) + " is not a valid date and time");
    return result;
}

TDateTime StrToDateTime(const std::string &text)
{
    return StrToDateTime(text, FormatSettings());
}
