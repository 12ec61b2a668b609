#pragma once

// The levels of training and the texts and lengths that go with each.

#include "Faculty.h"

#include <array>
#include <stdexcept>

namespace sampledata {

inline constexpr std::array<Level, 6> AllLevels = {Level::Bachelor, Level::Master,    Level::Vocational,
                                                   Level::Doctoral, Level::Undivided, Level::Postgraduate};

struct LevelTexts
{
    char letter;           // in subject codes and programme level lists
    const char *code;      // in curriculum codes
    const char *shortName; // in curriculum and timetable names
    const char *training;  // the curriculum's level of training (`tipus`)
    int semesters;
};

inline const LevelTexts &textsOf(Level level)
{
    static const std::array<LevelTexts, 6> texts = {{
        {'B', "BSC", "BSc", "alapképzés (BA/BSc)", 7},
        {'M', "MSC", "MSc", "mesterképzés (MA/MSc)", 4},
        {'F', "FOSZK", "FOSZK", "felsőoktatási szakképzés", 4},
        {'D', "PHD", "PhD", "doktori képzés (PhD/DLA)", 8},
        {'O', "OSZT", "osztatlan", "egységes, osztatlan képzés", 10},
        {'T', "SZIR", "szakir.", "szakirányú továbbképzés", 2},
    }};
    return texts[static_cast<std::size_t>(level)];
}

inline Level levelOfLetter(char letter)
{
    for (Level level : AllLevels)
        if (textsOf(level).letter == letter)
            return level;
    throw std::invalid_argument("unknown level letter");
}

} // namespace sampledata
