#pragma once

// The generated data, one struct per record type of the planner. Fields named as in the files are
// what gets written; the few marked "generation only" steer the generator and stay out of them.

#include <optional>
#include <string>
#include <vector>

namespace sampledata {

// The field of study a department, a topic or a programme belongs to.
enum class Field {
    Computing,
    Mathematics,
    Physics,
    Mechanical,
    Electrical,
    Environmental,
    Economics,
    Languages,
    Sport
};

// Level of training; also the last letter of a subject code before an English mark.
enum class Level { Bachelor, Master, Vocational, Doctoral, Undivided, Postgraduate };

struct Subject
{
    int targy_id = 0;
    std::string targy_nev;
    std::string targy_kod;
    int targy_ea = 0;
    int targy_gy = 0;
    int targy_la = 0;
    int targy_kredit = 0;
    std::string targy_teljesites;
    int tanszek_id = -1;
    int szabad = 1;
    int evjarat = 0;
    // generation only
    Level level = Level::Bachelor;
    bool english = false;
    int department = 0;             // index into the generator's departments
    Field field = Field::Computing; // the department's
    int part = 1;                   // "I", "II", ... of a series; earlier parts come in earlier semesters
    int twin = 0;                   // targy_id of the same subject in the other language, 0 when none
};

struct Teacher
{
    int oktato_id = 0;
    std::string oktato_kkod;
    std::string oktato_nev;
    int department = 0; // generation only
};

enum class RoomKind { Hall, Seminar, ComputerLab, Laboratory };

struct Room
{
    int terem_id = 0;
    std::string terem_kod;
    std::string terem_hely;
    int terem_kapacitas = 0;
    std::string terem_telephely;
    RoomKind kind = RoomKind::Seminar; // generation only
};

struct Curriculum
{
    int mintatanterv_id = 0;
    std::string mintatanterv_kod;
    std::string mintatanterv_nev;
    std::string tagozat;
    std::string tipus;
    std::string nyelv;
    int szabad = 1;
    // generation only
    int programme = 0;
    Level level = Level::Bachelor;
    int entryYear = 0;
};

struct CurriculumSubject
{
    int mintatanterv_id = 0;
    int targy_id = 0;
    std::string targy_felveteltipus;
    int semester = 1; // generation only: the recommended semester
};

struct Template
{
    int kurzusminta_id = 0;
    std::string kurzusminta_kod;
    std::string kurzusminta_tipus;
    int targy_id = 0;
    std::string felev;
    std::string orarendiinfo;
    std::string atargykod;
};

struct TemplateSubject
{
    int kurzusminta_id = 0;
    int targy_id = 0;
};

struct TemplateTeacher
{
    int kurzusminta_id = 0;
    int oktato_id = 0;
};

struct Timetable
{
    int orarend_id = 0;
    std::string megnevezes;
    std::string megjegyzes;
    int szak_id = 0;
    std::string hetek;
    int teszt = 0;
};

struct Course
{
    int kurzus_id = 0;
    int targy_id = -1;
    std::string kurzus_kod_osszetett;
    std::string kurzus_kod;
    std::string kurzus_tipus;
    std::string kurzus_sorszam;
    std::optional<int> max_letszam;
    std::string megjegyzes;
    std::string megnevezes;
    std::optional<int> kurzusminta_id;
    std::optional<int> kurzus_id_csatolt;
};

struct Occasion
{
    int alkalom_id = 0;
    int kurzus_id = 0;
    int terem_id = -1;
    int day = 0;         // kezd_ido and veg_ido: calendar day number
    int startMinute = 0; // kezd_ido's minute of day
    int endMinute = 0;   // veg_ido's minute of day
    int gyakorisag = 0;
    std::string hetek;
};

struct CourseTimetable
{
    int orarend_id = 0;
    int kurzus_id = 0;
};

struct CourseTeacher
{
    int kurzus_id = 0;
    int oktato_id = 0;
    int szazalek = 100;
};

struct CourseSubject
{
    int kurzus_id = 0;
    int targy_id = 0;
    int maxletszam = -1;
};

struct Faculty
{
    std::vector<Subject> subjects;
    std::vector<Teacher> teachers;
    std::vector<Room> rooms;
    std::vector<Curriculum> curricula;
    std::vector<CurriculumSubject> curriculumSubjects;
    std::vector<Template> templates;
    std::vector<TemplateSubject> templateSubjects;
    std::vector<TemplateTeacher> templateTeachers;
    std::vector<Timetable> timetables;
    std::vector<Course> courses;
    std::vector<Occasion> occasions;
    std::vector<CourseTimetable> courseTimetables;
    std::vector<CourseTeacher> courseTeachers;
    std::vector<CourseSubject> courseSubjects;
};

} // namespace sampledata
