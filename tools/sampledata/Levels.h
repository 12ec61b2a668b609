#pragma once

// The levels of training and what goes with each: codes, names, length and cohort sizes.

#include "Faculty.h"

#include <array>
#include <stdexcept>

namespace sampledata {

inline constexpr std::array<Level, 6> AllLevels = {Level::Bachelor, Level::Master,    Level::Vocational,
                                                   Level::Doctoral, Level::Undivided, Level::Postgraduate};

struct LevelTraits
{
    char letter;           // in subject codes and programme level lists
    const char *code;      // in curriculum codes
    const char *shortName; // in curriculum and timetable names
    const char *training;  // the curriculum's level of training (`tipus`)
    int semesters;
    int smallestCohort; // students starting a full-time Hungarian curriculum in one year
    int largestCohort;
};

inline const LevelTraits &traitsOf(Level level)
{
    static const std::array<LevelTraits, 6> traits = {{
        {'B', "BSC", "BSc", "alapképzés (BA/BSc)", 7, 60, 160},
        {'M', "MSC", "MSc", "mesterképzés (MA/MSc)", 4, 20, 60},
        {'F', "FOSZK", "FOSZK", "felsőoktatási szakképzés", 4, 20, 40},
        {'D', "PHD", "PhD", "doktori képzés (PhD/DLA)", 8, 3, 10},
        {'O', "OSZT", "osztatlan", "egységes, osztatlan képzés", 10, 20, 40},
        {'T', "SZIR", "szakir.", "szakirányú továbbképzés", 2, 15, 30},
    }};
    return traits[static_cast<std::size_t>(level)];
}

inline Level levelOfLetter(char letter)
{
    for (Level level : AllLevels)
        if (traitsOf(level).letter == letter)
            return level;
    throw std::invalid_argument("unknown level letter");
}

} // namespace sampledata
