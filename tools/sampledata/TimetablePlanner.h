#pragma once

// The timetable data of the invented faculty: one timetable per student cohort with the courses
// of its semester's subjects, their teachers, subjects and weekly occasions, plus the faculty's
// single reservations and a test timetable.

#include "CourseCodes.h"
#include "Faculty.h"
#include "Random.h"
#include "Scale.h"
#include "Scheduler.h"

#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace sampledata {

class TimetablePlanner
{
public:
    TimetablePlanner(const Scale &scale, Random &random, Faculty &faculty);

    void generate();

    int unnumberedCourses() const { return unnumbered_; }
    int teacherClashes() const { return scheduler_.teacherClashes(); }
    int roomlessOccasions() const { return scheduler_.roomless(); }

private:
    struct Cohort
    {
        int timetableId;
        const Curriculum *curriculum;
        int semester;
        int headcount;
    };

    std::vector<Cohort> makeCohortTimetables();
    int addTimetable(std::string name, std::string remark, int programmeId, int test);
    void planCohort(const Cohort &cohort);
    void planGroups(const Cohort &cohort, const Subject &subject, const std::string &type, int hours,
                    int groups, int seats);
    std::optional<std::size_t> createCourse(const Cohort &cohort, const Subject &subject,
                                            const std::string &type, int seats);
    void linkToTimetable(int timetableId, int courseId);
    void giveTeachers(const Course &course, const Subject &subject, const Template *from);
    void attachCopy(const Cohort &cohort, const Course &host, const Subject &hostSubject);
    void scheduleCourse(const Cohort &cohort, const Course &course, const Subject &subject, int hours,
                        int seats);
    void addOccasion(const Course &course, Session session, int frequency, std::set<int> &days);
    std::string customWeeks();
    void makeReservations();
    void makeTestTimetable();

    const Subject &subjectById(int targyId) const;
    std::vector<int> teacherIndexesOf(int kurzusId) const;

    const Scale &scale_;
    Random &random_;
    Faculty &faculty_;
    Scheduler scheduler_;
    CourseNumbering numbering_;
    std::map<std::pair<int, std::string>, std::vector<std::size_t>> templatesBySubjectAndType_;
    std::map<int, std::vector<int>> templateSubjects_; // kurzusminta_id -> targy_ids
    std::map<int, std::vector<int>> templateTeachers_; // kurzusminta_id -> oktato_ids
    std::vector<std::vector<int>> teachersByDepartment_;
    std::vector<int> teacherLoad_;
    // Lectures that later cohorts of the same mode of study may share, by subject.
    std::map<std::pair<int, std::string>, int> sharedLectures_;
    std::set<std::pair<int, int>> timetableLinks_;
    int unnumbered_ = 0;
};

} // namespace sampledata
