#pragma once

// Which owners (rooms, teachers) are taken when, over the fifteen teaching weeks of the first
// calendar week's days. Time runs in five-minute steps, so every preset row start falls on one.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sampledata {

// The teaching weeks of a week-mask text ("1" = takes place), bit i for week i + 1.
std::uint16_t weekBits(const std::string &mask);

class Occupancy
{
public:
    explicit Occupancy(int owners) : grid_(static_cast<std::size_t>(owners)) {}

    // day is the calendar day number 2 (Monday) .. 8 (Sunday); minutes are [start, end).
    bool isFree(int owner, int day, int start, int end, std::uint16_t weeks) const;
    void take(int owner, int day, int start, int end, std::uint16_t weeks);

private:
    static constexpr int StepMinutes = 5;
    static constexpr int StepsPerDay = 24 * 60 / StepMinutes;
    using Week = std::array<std::uint16_t, 7 * StepsPerDay>; // per step: the weeks taken

    // The first and one past the last step of a time; throws for a time outside the week.
    static std::pair<std::size_t, std::size_t> steps(int day, int start, int end);

    std::vector<Week> grid_;
};

} // namespace sampledata
