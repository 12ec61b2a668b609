#pragma once

// Course codes the way the planner's course creation makes them.

#include <map>
#include <optional>
#include <set>
#include <string>

namespace sampledata {

// The course code of a subject code: its first eight characters when positions 4 to 6 are digits
// and positions 7 and 8 are "MN" or "AN", else the subject code unchanged.
std::string courseCodeOf(const std::string &subjectCode);

// Two-digit sequence numbers per code and type: lectures ("EA") take 00, 10, ... 90, the other
// types 01 ... 99, always the first free one.
class CourseNumbering
{
public:
    // The next free number, taken; none when the code and type have run out of numbers.
    std::optional<std::string> take(const std::string &code, const std::string &type);

private:
    std::map<std::string, std::set<int>> used_;
};

} // namespace sampledata
