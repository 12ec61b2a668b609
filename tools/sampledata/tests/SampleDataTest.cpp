#include "CourseCodes.h"
#include "Cp1250.h"
#include "DataFiles.h"
#include "Generator.h"
#include "IntegrityCheck.h"

#include <algorithm>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>
#include <map>

using namespace sampledata;
using ::testing::IsEmpty;

namespace {

const Faculty &sample()
{
    static const Faculty faculty = generateFaculty(sampleScale);
    return faculty;
}

std::vector<DataTable> sampleFiles(const Faculty &faculty)
{
    std::vector<DataTable> files = masterFiles(faculty);
    for (DataTable &file : sampleTimetableFiles(faculty))
        files.push_back(std::move(file));
    return files;
}

std::string fileBytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

template <class T, class Predicate> bool any(const std::vector<T> &rows, Predicate predicate)
{
    return std::any_of(rows.begin(), rows.end(), predicate);
}

} // namespace

TEST(SampleData, PassesEveryIntegrityCheck)
{
    EXPECT_THAT(integrityProblems(sample()), IsEmpty());
}

TEST(SampleData, SameScaleGivesTheSameFiles)
{
    const std::vector<DataTable> first = sampleFiles(sample());
    const std::vector<DataTable> second = sampleFiles(generateFaculty(sampleScale));
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(formatDataFile(first[i]), formatDataFile(second[i])) << first[i].fileName;
}

TEST(SampleData, CommittedFilesAreTheGeneratorsOutput)
{
    for (const DataTable &file : sampleFiles(sample()))
        EXPECT_TRUE(fileBytes(SAMPLEDATA_DIR "/" + file.fileName) == toCp1250(formatDataFile(file)))
            << file.fileName << " differs: regenerate it with make_sampledata --out sampledata";
}

TEST(SampleData, HasTheSizeOfOneFaculty)
{
    const Faculty &f = sample();
    EXPECT_EQ(f.subjects.size(), 300u);
    EXPECT_EQ(f.teachers.size(), 100u);
    EXPECT_EQ(f.rooms.size(), 40u);
    EXPECT_GE(f.timetables.size(), 5u);
    EXPECT_GE(f.occasions.size(), 200u);
    EXPECT_LE(f.occasions.size(), 600u);
}

TEST(SampleData, CourseCodesFollowFromTheirSubjectOrTemplate)
{
    const Faculty &f = sample();
    std::map<int, std::string> subjectCodes;
    for (const Subject &subject : f.subjects)
        subjectCodes[subject.targy_id] = subject.targy_kod;
    std::map<int, std::string> templateCodes;
    for (const Template &entry : f.templates)
        templateCodes[entry.kurzusminta_id] = entry.kurzusminta_kod;

    for (const Course &course : f.courses) {
        if (course.targy_id < 0)
            continue;
        const int from = course.kurzusminta_id.value_or(-1);
        const std::string expected = from > 0 ? templateCodes[from].substr(0, templateCodes[from].find('-'))
                                              : courseCodeOf(subjectCodes[course.targy_id]);
        EXPECT_EQ(course.kurzus_kod, expected) << course.kurzus_kod_osszetett;
    }
    const auto qualifying = std::count_if(f.subjects.begin(), f.subjects.end(), [](const Subject &s) {
        return courseCodeOf(s.targy_kod) != s.targy_kod;
    });
    EXPECT_GE(qualifying * 10, std::ptrdiff_t(f.subjects.size() * 8));
}

// The starting files let a planner try every kind of row the program deals with.
TEST(SampleData, ShowsEveryKindOfRowThePlannerMeets)
{
    const Faculty &f = sample();
    EXPECT_TRUE(any(f.curricula, [](const Curriculum &c) { return c.tagozat == "L"; }));
    EXPECT_TRUE(any(f.curricula, [](const Curriculum &c) { return c.nyelv == "angol"; }));
    EXPECT_TRUE(any(f.courses, [](const Course &c) { return c.targy_id == -1; }));
    EXPECT_TRUE(any(f.courses, [](const Course &c) { return c.kurzus_id_csatolt.value_or(-1) > 0; }));
    EXPECT_TRUE(any(f.courses, [](const Course &c) { return c.kurzusminta_id.value_or(-1) > 0; }));
    // Texts that the files carry escaped.
    EXPECT_TRUE(any(f.courses, [](const Course &c) { return c.megjegyzes.find('\n') != std::string::npos; }));
    EXPECT_TRUE(any(f.courses, [](const Course &c) { return c.megjegyzes.find('%') != std::string::npos; }));
    EXPECT_TRUE(any(f.courses, [&](const Course &c) {
        return !any(f.courseTimetables, [&](const CourseTimetable &l) { return l.kurzus_id == c.kurzus_id; });
    }));
    EXPECT_TRUE(any(f.occasions, [](const Occasion &o) { return o.terem_id == 0; }));
    EXPECT_TRUE(any(f.occasions, [](const Occasion &o) { return o.terem_id == -1; }));
    EXPECT_TRUE(any(f.timetables, [](const Timetable &t) { return t.teszt == 1; }));
    EXPECT_TRUE(any(f.teachers, [](const Teacher &t) { return t.oktato_kkod.empty(); }));
}
