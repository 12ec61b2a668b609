#include "Generator.h"

#include "Catalogue.h"
#include "Random.h"
#include "TimetablePlanner.h"

namespace sampledata {

Faculty generateFaculty(const Scale &scale, GenerationReport *report)
{
    Random random(scale.seed);
    Faculty faculty;
    Catalogue(scale, random, faculty).generate();
    TimetablePlanner planner(scale, random, faculty);
    planner.generate();
    if (report)
        *report = {planner.unnumberedCourses(), planner.teacherClashes(), planner.roomlessOccasions()};
    return faculty;
}

} // namespace sampledata
