#pragma once

// The planner's data files built from the generated faculty: fields in the record layout of each
// table, and the index definitions each table holds once the planner has started on it, so that
// a file read and saved again by the planner comes out the same.

#include "DataFile.h"
#include "Faculty.h"

#include <vector>

namespace sampledata {

// The eight master files.
std::vector<DataTable> masterFiles(const Faculty &faculty);

// The six timetable files under their sample names ("kurzus-minta.csv").
std::vector<DataTable> sampleTimetableFiles(const Faculty &faculty);

// The seven timetable files under the names the planner saves ("KK_kurzus.csv"), including the
// course-occasion links that the planner writes but never reads.
std::vector<DataTable> workingTimetableFiles(const Faculty &faculty);

} // namespace sampledata
