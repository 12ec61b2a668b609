#pragma once

// The master data of the invented faculty: subjects, teachers, rooms, curricula with their
// subjects, and course templates with their subjects and teachers.

#include "Faculty.h"
#include "Random.h"
#include "Scale.h"
#include "Vocabulary.h"

#include <set>
#include <string>
#include <vector>

namespace sampledata {

class Catalogue
{
public:
    Catalogue(const Scale &scale, Random &random, Faculty &faculty);

    // Fills the master tables of the faculty, in the order their references need.
    void generate();

private:
    struct Department
    {
        std::string prefix;
        Field field;
        int lastNumber;
        std::size_t topicCursor;   // position in the field's topic list
        int part;                  // the next part of the current topic's series
        std::vector<int> teachers; // indexes into the faculty's teachers
    };

    void makeDepartments();
    void makeCurricula();
    void makeSubjects();
    void makeFinalWorkSubjects(std::size_t department);
    void makeTopicSubject(std::size_t department, Level level, bool withTwin);
    Subject &addSubject(std::size_t department, Level level, int part);
    void giveHours(Subject &subject, Field field);
    void makeTeachers();
    std::string newTeacherName();
    std::string newTeacherCode();
    void makeRooms();
    void linkCurriculumSubjects();
    void makeTemplates();
    std::vector<int> someTeachersOf(const Subject &subject, int count);

    const Scale &scale_;
    Random &random_;
    Faculty &faculty_;
    std::vector<Department> departments_;
    std::set<std::string> teacherNames_;
    std::set<std::string> teacherCodes_;
};

} // namespace sampledata
