#include "Occupancy.h"

#include <stdexcept>

namespace sampledata {

std::uint16_t weekBits(const std::string &mask)
{
    std::uint16_t bits = 0;
    for (std::size_t i = 0; i < mask.size() && i < 16; ++i)
        if (mask[i] == '1')
            bits = static_cast<std::uint16_t>(bits | (1u << i));
    return bits;
}

std::pair<std::size_t, std::size_t> Occupancy::steps(int day, int start, int end)
{
    if (day < 2 || day > 8 || start < 0 || start >= end || end > 24 * 60)
        throw std::out_of_range("time outside the first calendar week");
    // A partly used step counts as taken, so times off the five-minute grid stay apart as well.
    const std::size_t dayStart = static_cast<std::size_t>((day - 2) * StepsPerDay);
    return {dayStart + static_cast<std::size_t>(start / StepMinutes),
            dayStart + static_cast<std::size_t>((end + StepMinutes - 1) / StepMinutes)};
}

bool Occupancy::isFree(int owner, int day, int start, int end, std::uint16_t weeks) const
{
    const Week &week = grid_[static_cast<std::size_t>(owner)];
    const auto [first, last] = steps(day, start, end);
    for (std::size_t i = first; i < last; ++i)
        if (week[i] & weeks)
            return false;
    return true;
}

void Occupancy::take(int owner, int day, int start, int end, std::uint16_t weeks)
{
    Week &week = grid_[static_cast<std::size_t>(owner)];
    const auto [first, last] = steps(day, start, end);
    for (std::size_t i = first; i < last; ++i)
        week[i] = static_cast<std::uint16_t>(week[i] | weeks);
}

} // namespace sampledata
