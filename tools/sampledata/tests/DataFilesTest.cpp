#include "DataFiles.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace sampledata;

namespace {

Course course(int id, std::optional<int> attachedTo)
{
    Course c;
    c.kurzus_id = id;
    c.kurzus_id_csatolt = attachedTo;
    return c;
}

Occasion occasion(int id, int kurzusId)
{
    return {id, kurzusId, 1, 2, 465, 555, 0, "111111111111111"};
}

const DataTable &file(const std::vector<DataTable> &files, const std::string &name)
{
    const auto found =
        std::find_if(files.begin(), files.end(), [&](const DataTable &t) { return t.fileName == name; });
    if (found == files.end())
        throw std::runtime_error("no file " + name);
    return *found;
}

} // namespace

TEST(TimetableFiles, CourseOccasionLinksGiveAttachedCoursesTheirHostsOccasions)
{
    Faculty f;
    f.courses = {course(222, -1), course(223, 222), course(224, std::nullopt)};
    f.occasions = {occasion(333, 222), occasion(334, 222)};

    const std::vector<DataTable> files = workingTimetableFiles(f);
    const DataTable &links = file(files, "KK_kurzusalkalom.csv");
    const std::vector<Row> expected = {{222, 333}, {222, 334}, {223, 333}, {223, 334}};
    EXPECT_EQ(links.rows, expected);
}

TEST(TimetableFiles, CourseAttachedToACourseWithoutOccasionsGetsNoLinks)
{
    Faculty f;
    f.courses = {course(222, -1), course(223, 222)};
    EXPECT_TRUE(file(workingTimetableFiles(f), "KK_kurzusalkalom.csv").rows.empty());
}

TEST(TimetableFiles, SampleAndWorkingFilesHoldTheSameTablesUnderTheirOwnNames)
{
    Faculty f;
    f.courses = {course(222, -1)};
    f.occasions = {occasion(333, 222)};
    const std::vector<DataTable> samples = sampleTimetableFiles(f);
    const std::vector<DataTable> working = workingTimetableFiles(f);

    for (const char *table :
         {"orarend", "kurzus", "alkalom", "kurzusoktato", "kurzustargy", "kurzusorarend"}) {
        const DataTable &sample = file(samples, std::string(table) + "-minta.csv");
        const DataTable &saved = file(working, std::string("KK_") + table + ".csv");
        EXPECT_EQ(sample.rows, saved.rows) << table;
        EXPECT_EQ(sample.fields.size(), saved.fields.size()) << table;
    }
    // The course-occasion links are written by the planner's save only, never as a sample.
    EXPECT_EQ(samples.size(), 6u);
    EXPECT_EQ(working.size(), 7u);
}

TEST(TimetableFiles, OccasionTimesAreWrittenAsCalendarDayAndTime)
{
    Faculty f;
    f.occasions = {{333, 222, 1, 3, 570, 660, 1, "101010101010101"}};
    const std::string text = formatDataFile(file(sampleTimetableFiles(f), "alkalom-minta.csv"));
    EXPECT_NE(text.find("\r\n333\t222\t1\t02/01/1900 09:30:00\t02/01/1900 11:00:00\t1\t101010101010101\r\n"),
              std::string::npos);
}
