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

std::size_t Occupancy::slot(int day, int minute)
{
    if (day < 2 || day > 8 || minute < 0 || minute > 24 * 60)
        throw std::out_of_range("occasion outside the first calendar week");
    return static_cast<std::size_t>((day - 2) * StepsPerDay + minute / StepMinutes);
}

bool Occupancy::isFree(int owner, int day, int start, int end, std::uint16_t weeks) const
{
    const Week &week = grid_[static_cast<std::size_t>(owner)];
    // A partly used step counts as taken, so times off the five-minute grid stay apart as well.
    for (std::size_t i = slot(day, start), last = slot(day, end + StepMinutes - 1); i < last; ++i)
        if (week[i] & weeks)
            return false;
    return true;
}

void Occupancy::take(int owner, int day, int start, int end, std::uint16_t weeks)
{
    Week &week = grid_[static_cast<std::size_t>(owner)];
    for (std::size_t i = slot(day, start), last = slot(day, end + StepMinutes - 1); i < last; ++i)
        week[i] = static_cast<std::uint16_t>(week[i] | weeks);
}

} // namespace sampledata
