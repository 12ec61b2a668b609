#pragma once

// The planner's calendar conventions the data must follow: the rows of the five time-row presets
// occasions sit on, and the fixed week masks of the frequencies.

#include <array>
#include <string>
#include <vector>

namespace sampledata {

struct TimeRow
{
    int start; // minute of day
    int length;
};

enum Preset { DoublePeriods, Hours, HalfHours, HalfHoursFrom0745, SinglePeriods };

// The rows of a preset; the optional break row of the single periods is left out.
const std::vector<TimeRow> &presetRows(Preset preset);
std::vector<int> rowStarts(Preset preset);
// True when the time starts on a row of some preset and ends where a row of the same preset ends.
bool onPresetRows(int start, int end);

inline constexpr int CustomFrequency = 999;
// The week masks of the frequencies 0 (every week) to 4 (every fourth week).
inline const std::array<std::string, 5> FixedWeeks = {"111111111111111", "101010101010101", "010101010101010",
                                                      "001001001001001", "000100010001000"};

} // namespace sampledata
