#pragma once

// The word stock of the invented faculty: Hungarian family and given names that are combined at
// random (so no row names a real person), subject topics, programmes, places and remarks.

#include "Faculty.h"

#include <string>
#include <vector>

namespace sampledata {

struct Topic
{
    const char *hungarian;
    const char *english;
    Field field;
    int parts; // a series "I", "II", ... of this many subjects
};

struct Programme
{
    const char *code;      // short code that starts every curriculum code of the programme
    const char *hungarian; // short enough for a curriculum name with level, mode and year
    const char *english;
    Field field;
    Field secondField;
    const char *levels; // level letters offered: B, M, F, D, O, T (see levelLetter)
};

struct Vocabulary
{
    static const std::vector<std::string> familyNames;
    static const std::vector<std::string> maleNames;
    static const std::vector<std::string> femaleNames;
    static const std::vector<Topic> topics;
    static const std::vector<Programme> programmes;
    static const std::vector<std::string> streets;
    static const std::vector<std::string> sites; // invented towns
    static const std::vector<std::string> courseRemarks;
    static const std::vector<std::string> templateNotes;
    static const std::vector<std::string> timetableRemarks;
    struct Event
    {
        const char *code;
        const char *title;
        const char *remark;
    };
    static const std::vector<Event> events; // single reservations of the faculty
};

// The two letters that begin every department code of a field.
const char *departmentFamily(Field field);

} // namespace sampledata
