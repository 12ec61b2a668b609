// Dates and times to text and back, with the format settings' formats and separators.

#include "platform/DecimalDigits.h"
#include "platform/FormatSettings.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool startsWithNoCase(const std::string &text, std::size_t at, std::string_view prefix)
{
    const std::size_t length = prefix.size();
    if (at + length > text.size())
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (lower(text[at + i]) != lower(prefix[i]))
            return false;
    return true;
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

// A format broken into its parts once: the letters are read, the nested formats of the settings
// (c, ddddd, t, ...) expanded and the 12-hour clock decided, so that formatting a value only
// appends numbers, names and literal texts.
struct FormatPart {
    enum Kind : std::uint8_t {
        Text,
        Year,
        Month,
        ShortMonthName,
        LongMonthName,
        Day,
        ShortDayName,
        LongDayName,
        Hour,
        Hour12,
        Minute,
        Second,
        MSec,
        AmPmText,
        AmPmSettings,
        DateSeparator,
        TimeSeparator,
        // The parts that follow up to skip are left out at midnight.
        TimeOfDay,
    };
    Kind kind = Text;
    // Digits at least, for the numbers; the year of width 2 is the year within its century.
    std::uint8_t width = 1;
    std::uint16_t skip = 0;
    // Text; for AmPmText the morning text, afternoon in pmText.
    std::string text;
    std::string pmText;
};

using NestedFormat = std::string TFormatSettings::*;

class DateTimeFormatCompiler {
public:
    explicit DateTimeFormatCompiler(const TFormatSettings &settings) : settings_(settings) {}

    std::vector<FormatPart> compile(const std::string &format)
    {
        append(format, 0);
        return std::move(parts_);
    }

    // The formats of the settings that the compiled format took in.
    const std::vector<NestedFormat> &nestedFormats() const { return nested_; }

private:
    void appendNested(NestedFormat format, int depth)
    {
        if (std::find(nested_.begin(), nested_.end(), format) == nested_.end())
            nested_.push_back(format);
        append(settings_.*format, depth + 1);
    }

    void literal(const std::string &text)
    {
        if (text.empty())
            return;
        // Text after a time-of-day block must not join its last text, which midnight leaves out.
        if (parts_.size() > unmergeable_ && parts_.back().kind == FormatPart::Text)
            parts_.back().text += text;
        else
            parts_.push_back({FormatPart::Text, 1, 0, text, {}});
    }

    void number(FormatPart::Kind kind, int width) { parts_.push_back({kind, static_cast<std::uint8_t>(width), 0, {}, {}}); }

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
                literal(format.substr(i + 1, end - i - 1));
                i = end + 1;
                continue;
            }
            case 'c': {
                appendNested(&TFormatSettings::ShortDateFormat, depth);
                const std::size_t timeOfDay = parts_.size();
                number(FormatPart::TimeOfDay, 0);
                literal(" ");
                appendNested(&TFormatSettings::LongTimeFormat, depth);
                parts_[timeOfDay].skip = static_cast<std::uint16_t>(parts_.size() - timeOfDay - 1);
                unmergeable_ = parts_.size();
                break;
            }
            case 'y':
                number(FormatPart::Year, count <= 2 ? 2 : 4);
                break;
            case 'm':
                if (lastWasHour && count <= 2)
                    number(FormatPart::Minute, static_cast<int>(count));
                else if (count <= 2)
                    number(FormatPart::Month, static_cast<int>(count));
                else
                    number(count == 3 ? FormatPart::ShortMonthName : FormatPart::LongMonthName, 1);
                break;
            case 'd':
                if (count <= 2)
                    number(FormatPart::Day, static_cast<int>(count));
                else if (count <= 4)
                    number(count == 3 ? FormatPart::ShortDayName : FormatPart::LongDayName, 1);
                else
                    appendNested(count == 5 ? &TFormatSettings::ShortDateFormat : &TFormatSettings::LongDateFormat, depth);
                break;
            case 'h':
                number(hasAmPmAfter(format, i + count) ? FormatPart::Hour12 : FormatPart::Hour, count == 1 ? 1 : 2);
                isHour = true;
                break;
            case 'n':
                number(FormatPart::Minute, count == 1 ? 1 : 2);
                break;
            case 's':
                number(FormatPart::Second, count == 1 ? 1 : 2);
                break;
            case 'z':
                number(FormatPart::MSec, count == 1 ? 1 : 3);
                break;
            case 't':
                appendNested(count == 1 ? &TFormatSettings::ShortTimeFormat : &TFormatSettings::LongTimeFormat, depth);
                break;
            case 'a':
                count = appendAmPm(format, i);
                break;
            case '/':
                number(FormatPart::DateSeparator, 1);
                break;
            case ':':
                number(FormatPart::TimeSeparator, 1);
                break;
            default:
                literal(std::string(count, c));
                break;
            }
            // Only another specifier ends the "minutes after hours" reading of m.
            if (std::isalpha(static_cast<unsigned char>(c)))
                lastWasHour = isHour;
            i += count;
        }
    }

    // Returns the length of the specifier consumed.
    std::size_t appendAmPm(const std::string &format, std::size_t at)
    {
        if (startsWithNoCase(format, at, "am/pm")) {
            parts_.push_back({FormatPart::AmPmText, 1, 0, format.substr(at, 2), format.substr(at + 3, 2)});
            return 5;
        }
        if (startsWithNoCase(format, at, "a/p")) {
            parts_.push_back({FormatPart::AmPmText, 1, 0, format.substr(at, 1), format.substr(at + 2, 1)});
            return 3;
        }
        if (startsWithNoCase(format, at, "ampm")) {
            number(FormatPart::AmPmSettings, 1);
            return 4;
        }
        literal(std::string(1, format[at]));
        return 1;
    }

    const TFormatSettings &settings_;
    std::vector<FormatPart> parts_;
    std::vector<NestedFormat> nested_;
    std::size_t unmergeable_ = 0;
};

// The compiled parts of the formats in use. Formats are few (the data files' "c", a few display
// formats), so a handful of entries per thread keep every format compiled once.
struct CompiledFormat {
    bool used = false;
    std::string format;
    // The settings' formats the parts were compiled from, with their texts then.
    std::vector<std::pair<NestedFormat, std::string>> nested;
    std::vector<FormatPart> parts;

    bool matches(const std::string &wanted, const TFormatSettings &settings) const
    {
        if (!used || format != wanted)
            return false;
        for (const auto &[member, text] : nested)
            if (settings.*member != text)
                return false;
        return true;
    }
};

const std::vector<FormatPart> &compiledFormat(const std::string &format, const TFormatSettings &settings)
{
    thread_local std::array<CompiledFormat, 4> cache;
    thread_local std::size_t next = 0;
    for (const CompiledFormat &entry : cache)
        if (entry.matches(format, settings))
            return entry.parts;
    CompiledFormat &entry = cache[next];
    next = (next + 1) % cache.size();
    DateTimeFormatCompiler compiler(settings);
    entry.parts = compiler.compile(format);
    entry.nested.clear();
    for (const NestedFormat member : compiler.nestedFormats())
        entry.nested.emplace_back(member, settings.*member);
    entry.format = format;
    entry.used = true;
    return entry.parts;
}

// The text being formed. It gathers in a buffer on the stack, so a date and a time become one
// string at the end instead of growing one part at a time.
class FormattedText {
public:
    FormattedText &operator+=(char c)
    {
        if (length_ == sizeof buffer_)
            spill();
        buffer_[length_++] = c;
        return *this;
    }

    FormattedText &operator+=(const std::string &text)
    {
        if (length_ + text.size() > sizeof buffer_)
            spill();
        if (text.size() > sizeof buffer_) {
            long_ += text;
        } else {
            std::memcpy(buffer_ + length_, text.data(), text.size());
            length_ += text.size();
        }
        return *this;
    }

    std::string take()
    {
        spill();
        return std::move(long_);
    }

private:
    void spill()
    {
        long_.append(buffer_, length_);
        length_ = 0;
    }

    char buffer_[64];
    std::size_t length_ = 0;
    std::string long_;
};

// Any number, padded with zeros to width.
void appendDigits(FormattedText &out, int value, int width)
{
    // Four-digit years.
    if (value >= 1000 && value < 10000 && width <= 4) {
        out += static_cast<char>('0' + value / 1000);
        out += static_cast<char>('0' + value / 100 % 10);
        out += static_cast<char>('0' + value / 10 % 10);
        out += static_cast<char>('0' + value % 10);
        return;
    }
    char digits[16];
    const char *end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (int zeros = width - static_cast<int>(end - digits); zeros > 0; --zeros)
        out += '0';
    for (const char *digit = digits; digit != end; ++digit)
        out += *digit;
}

// Days, months, hours, minutes and seconds, nearly every number written, take the short way.
inline void appendNumber(FormattedText &out, int value, int width)
{
    if (value < 0 || value >= 100 || width > 2) {
        appendDigits(out, value, width);
        return;
    }
    if (value >= 10 || width == 2)
        out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

void appendName(FormattedText &out, const std::string *names, std::size_t count, int number)
{
    if (number >= 1 && static_cast<std::size_t>(number) <= count)
        out += names[number - 1];
}

void formatParts(const std::vector<FormatPart> &parts, TDateTime value, const TFormatSettings &settings,
                 FormattedText &out)
{
    int year, month, day, hour, minute, second, msec;
    DecodeDateTime(value, year, month, day, hour, minute, second, msec);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const FormatPart &part = parts[i];
        switch (part.kind) {
        case FormatPart::Text:
            out += part.text;
            break;
        case FormatPart::Year:
            appendNumber(out, part.width == 2 ? year % 100 : year, part.width);
            break;
        case FormatPart::Month:
            appendNumber(out, month, part.width);
            break;
        case FormatPart::ShortMonthName:
            appendName(out, settings.ShortMonthNames.data(), settings.ShortMonthNames.size(), month);
            break;
        case FormatPart::LongMonthName:
            appendName(out, settings.LongMonthNames.data(), settings.LongMonthNames.size(), month);
            break;
        case FormatPart::Day:
            appendNumber(out, day, part.width);
            break;
        case FormatPart::ShortDayName:
            appendName(out, settings.ShortDayNames.data(), settings.ShortDayNames.size(), DayOfWeek(value));
            break;
        case FormatPart::LongDayName:
            appendName(out, settings.LongDayNames.data(), settings.LongDayNames.size(), DayOfWeek(value));
            break;
        case FormatPart::Hour:
            appendNumber(out, hour, part.width);
            break;
        case FormatPart::Hour12:
            appendNumber(out, hour % 12 == 0 ? 12 : hour % 12, part.width);
            break;
        case FormatPart::Minute:
            appendNumber(out, minute, part.width);
            break;
        case FormatPart::Second:
            appendNumber(out, second, part.width);
            break;
        case FormatPart::MSec:
            appendNumber(out, msec, part.width);
            break;
        case FormatPart::AmPmText:
            out += hour >= 12 ? part.pmText : part.text;
            break;
        case FormatPart::AmPmSettings:
            out += hour >= 12 ? settings.TimePMString : settings.TimeAMString;
            break;
        case FormatPart::DateSeparator:
            out += settings.DateSeparator;
            break;
        case FormatPart::TimeSeparator:
            out += settings.TimeSeparator;
            break;
        case FormatPart::TimeOfDay:
            if (hour == 0 && minute == 0 && second == 0 && msec == 0)
                i += part.skip;
            break;
        }
    }
}

// 'd', 'm' or 'y': which part the short date format names first.
char shortDateOrder(const std::string &format)
{
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

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads the plain layout that data files and most texts use: the three date numbers joined by
// the date separator, the year with three or four digits, and optionally a blank and hours,
// minutes and seconds joined by the time separator; nothing else, not even a blank. Anything
// that is not plainly so is left to the scanner below, which reads the same texts to the same
// values, only with every tolerance tried on the way.
class PlainDateTimeReader {
public:
    PlainDateTimeReader(std::string_view text, const TFormatSettings &settings) : text_(text), settings_(settings) {}

    bool readDate(TDateTime &result)
    {
        if (!usableSeparator(settings_.DateSeparator))
            return false;
        const char order = shortDateOrder(settings_.ShortDateFormat);
        const int yearAt = order == 'y' ? 0 : 2;
        int numbers[3];
        for (int i = 0; i < 3; ++i) {
            if (i > 0 && !separator(settings_.DateSeparator))
                return false;
            if (!number(numbers[i], i == yearAt ? 3 : 1, i == yearAt ? 4 : 2))
                return false;
        }
        if (order == 'y')
            return TryEncodeDate(numbers[0], numbers[1], numbers[2], result);
        if (order == 'd')
            return TryEncodeDate(numbers[2], numbers[1], numbers[0], result);
        return TryEncodeDate(numbers[2], numbers[0], numbers[1], result);
    }

    // A blank and the time of day, up to the end of the text.
    bool readTimeAfterBlank(TDateTime &result)
    {
        int msecs;
        if (!readTimeAfterBlank(msecs))
            return false;
        result = TDateTime(msecs / MSecsPerDay);
        return true;
    }

    // The same, as milliseconds since midnight.
    bool readTimeAfterBlank(int &msecs)
    {
        if (!usableSeparator(settings_.TimeSeparator) || !separator(' '))
            return false;
        int hour, minute, second = 0;
        if (!number(hour, 1, 2) || !separator(settings_.TimeSeparator) || !number(minute, 1, 2))
            return false;
        if (separator(settings_.TimeSeparator) && !number(second, 1, 2))
            return false;
        // The digits read are never negative; the upper bounds are those of TryEncodeTime.
        if (!atEnd() || hour >= 24 || minute >= 60 || second >= 60)
            return false;
        msecs = hour * 3600000 + minute * 60000 + second * 1000;
        return true;
    }

    bool atEnd() const { return pos_ == text_.size(); }

private:
    static bool usableSeparator(char c) { return !isDigit(c) && c != ' ' && c != '\t'; }

    bool separator(char c)
    {
        if (pos_ == text_.size() || text_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }

    // The number must end where its digits end.
    bool number(int &value, std::size_t fewest, std::size_t most)
    {
        const std::size_t start = pos_;
        value = 0;
        while (pos_ < text_.size() && pos_ - start < most && isDigit(text_[pos_]))
            value = value * 10 + (text_[pos_++] - '0');
        return pos_ - start >= fewest && (atEnd() || !isDigit(text_[pos_]));
    }

    std::string_view text_;
    const TFormatSettings &settings_;
    std::size_t pos_ = 0;
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
        const char order = shortDateOrder(settings_.ShortDateFormat);
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
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && digits < 9) {
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
        if (pos_ == text_.size()) {
            pos_ = start;
            return 0;
        }
        const std::pair<std::string_view, int> markers[] = {
            {settings_.TimeAMString, 1}, {settings_.TimePMString, 2}, {"AM", 1}, {"PM", 2}, {"A", 1}, {"P", 2}};
        for (const auto &[marker, kind] : markers) {
            if (!marker.empty() && startsWithNoCase(text_, pos_, marker)) {
                pos_ += marker.size();
                return kind;
            }
        }
        pos_ = start;
        return 0;
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
    static const std::string dateAndTime = "c";
    FormattedText text;
    formatParts(compiledFormat(format.empty() ? dateAndTime : format, settings), value, settings, text);
    return text.take();
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
    TDateTime date;
    PlainDateTimeReader plain(text, settings);
    if (plain.readDate(date) && plain.atEnd()) {
        result = date;
        return true;
    }
    DateTimeScanner scanner(text, settings);
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
    {
        TDateTime date, time;
        PlainDateTimeReader plain(text, settings);
        if (plain.readDate(date) && (plain.atEnd() || plain.readTimeAfterBlank(time))) {
            result = TDateTime(date < 0 ? date - time : date + time);
            return true;
        }
    }
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

bool TryPlainStrToTimeStamp(std::string_view text, TTimeStamp &result, const TFormatSettings &settings)
{
    // Straight to the stamp: the same moment TryStrToDateTime gives, without the round trip
    // through a fraction of a day.
    TDateTime date;
    int msecs = 0;
    PlainDateTimeReader plain(text, settings);
    if (!plain.readDate(date) || !(plain.atEnd() || plain.readTimeAfterBlank(msecs)))
        return false;
    result.Date = static_cast<std::int32_t>(date) + DateDelta;
    result.Time = msecs;
    return true;
}

TDateTime StrToDate(const std::string &text, const TFormatSettings &settings)
{
    TDateTime result;
    if (!TryStrToDate(text, result, settings))
        throw EConvertError(QuotedForMessage(text) + " nem érvényes dátum");
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
        throw EConvertError(QuotedForMessage(text) + " nem érvényes időpont");
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
        throw EConvertError(QuotedForMessage(text) + " nem érvényes dátum és időpont");
    return result;
}

TDateTime StrToDateTime(const std::string &text)
{
    return StrToDateTime(text, FormatSettings());
}
