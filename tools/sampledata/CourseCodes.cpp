#include "CourseCodes.h"

namespace sampledata {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string courseCodeOf(const std::string &subjectCode)
{
    const std::string &c = subjectCode;
    if (c.size() >= 8 && isDigit(c[3]) && isDigit(c[4]) && isDigit(c[5]) &&
        (c.compare(6, 2, "MN") == 0 || c.compare(6, 2, "AN") == 0))
        return c.substr(0, 8);
    return c;
}

std::optional<std::string> CourseNumbering::take(const std::string &code, const std::string &type)
{
    std::set<int> &used = used_[code + '\t' + type];
    const bool lecture = type == "EA";
    for (int number = lecture ? 0 : 1; number < 100; number += lecture ? 10 : 1) {
        if (used.insert(number).second)
            return std::string(1, char('0' + number / 10)) + char('0' + number % 10);
    }
    return std::nullopt;
}

} // namespace sampledata
