#pragma once

// How big a faculty the generator makes. The counts are targets; the generator reaches them
// within the limits the rules of the data set (numbering, room capacity) allow.

#include <cstdint>

namespace sampledata {

struct Scale
{
    std::uint32_t seed;
    int programmes;          // the first this many programmes of the vocabulary
    int departmentsPerField; // the computing field gets one more
    int subjects;
    int teachers;
    int rooms;
    int sites; // towns the rooms are spread over
    int curricula;
    int curriculumYears; // curricula started in each of the last this many years
    int subjectsPerCurriculum;
    int templateSubjectPercent; // subjects that have course templates at all
    int templateSemesters;      // a subject's templates come from 1 .. this many semesters
    int cohortTimetables;       // at most this many timetables of student cohorts
    int headcountPercent;       // scales the cohorts and with them the number of groups
    int extraHourPercent;       // practices and labs with one weekly hour more than usual
    int splitPercent;           // two-hour sessions held as two single periods on two days
    int reservations;           // single reservations of the faculty's events
};

// The planner's starting files: a faculty of a few hundred subjects and occasions.
inline constexpr Scale sampleScale{.seed = 20250908,
                                   .programmes = 6,
                                   .departmentsPerField = 1,
                                   .subjects = 300,
                                   .teachers = 100,
                                   .rooms = 40,
                                   .sites = 1,
                                   .curricula = 16,
                                   .curriculumYears = 4,
                                   .subjectsPerCurriculum = 45,
                                   .templateSubjectPercent = 60,
                                   .templateSemesters = 2,
                                   .cohortTimetables = 9,
                                   .headcountPercent = 100,
                                   .extraHourPercent = 0,
                                   .splitPercent = 10,
                                   .reservations = 6};

// A whole university, for benchmarks.
inline constexpr Scale universityScale{.seed = 20251214,
                                       .programmes = 20,
                                       .departmentsPerField = 8,
                                       .subjects = 3000,
                                       .teachers = 1500,
                                       .rooms = 600,
                                       .sites = 4,
                                       .curricula = 500,
                                       .curriculumYears = 5,
                                       .subjectsPerCurriculum = 60,
                                       .templateSubjectPercent = 100,
                                       .templateSemesters = 4,
                                       .cohortTimetables = 1000,
                                       .headcountPercent = 310,
                                       .extraHourPercent = 90,
                                       .splitPercent = 100,
                                       .reservations = 40};

} // namespace sampledata
