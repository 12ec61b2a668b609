#pragma once

#include "Faculty.h"
#include "Scale.h"

namespace sampledata {

// What the generator had to give up on, for the summary it prints.
struct GenerationReport
{
    int unnumberedCourses = 0; // groups left out because their code ran out of sequence numbers
    int teacherClashes = 0;    // sessions that could only be placed over a teacher's other session
    int roomlessOccasions = 0; // sessions for which no fitting room was free at any time
};

// The whole faculty for a scale; the same scale gives the same data on every machine.
Faculty generateFaculty(const Scale &scale, GenerationReport *report = nullptr);

} // namespace sampledata
