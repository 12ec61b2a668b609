#include "TimetablePlanner.h"

#include "Levels.h"
#include "TimeRows.h"
#include "Vocabulary.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace sampledata {

namespace {

constexpr int FirstTimetableId = 111;
constexpr int FirstCourseId = 222;
constexpr int FirstOccasionId = 333;
constexpr int CurrentYear = 2025;
constexpr int DayEnd = 20 * 60;
constexpr int LargestLecture = 200;

constexpr int Friday = 6;
constexpr int Saturday = 7;

std::vector<std::pair<int, int>> slotsOn(const std::vector<int> &days, const std::vector<int> &starts,
                                         int length)
{
    std::vector<std::pair<int, int>> slots;
    for (int day : days)
        for (int start : starts)
            if (start + length <= DayEnd)
                slots.emplace_back(day, start);
    return slots;
}

const std::vector<int> Weekdays = {2, 3, 4, 5, 6};

// Correspondence students come on Friday afternoons and Saturdays.
std::vector<std::pair<int, int>> correspondenceSlots(int length)
{
    std::vector<std::pair<int, int>> slots = slotsOn({Friday}, {780, 885, 990, 1095}, length);
    for (const auto &slot : slotsOn({Saturday}, rowStarts(DoublePeriods), length))
        slots.push_back(slot);
    return slots;
}

int roundUpToTen(int value)
{
    return (value + 9) / 10 * 10;
}

std::vector<RoomKind> roomKindsFor(const std::string &type, Field field, int seats)
{
    if (field == Field::Sport)
        return {}; // held in the sports centre, which is not one of the faculty's rooms
    if (type == "EA")
        return seats > 48 ? std::vector{RoomKind::Hall} : std::vector{RoomKind::Seminar, RoomKind::Hall};
    if (type == "LA")
        return field == Field::Computing ? std::vector{RoomKind::ComputerLab}
                                         : std::vector{RoomKind::Laboratory, RoomKind::ComputerLab};
    return field == Field::Computing ? std::vector{RoomKind::ComputerLab, RoomKind::Seminar}
                                     : std::vector{RoomKind::Seminar};
}

} // namespace

TimetablePlanner::TimetablePlanner(const Scale &scale, Random &random, Faculty &faculty)
    : scale_(scale), random_(random), faculty_(faculty),
      scheduler_(faculty.rooms, int(faculty.teachers.size()), random)
{
    for (std::size_t t = 0; t < faculty.templates.size(); ++t) {
        const Template &entry = faculty.templates[t];
        templatesBySubjectAndType_[{entry.targy_id, entry.kurzusminta_tipus}].push_back(t);
    }
    for (const TemplateSubject &link : faculty.templateSubjects)
        templateSubjects_[link.kurzusminta_id].push_back(link.targy_id);
    for (const TemplateTeacher &link : faculty.templateTeachers)
        templateTeachers_[link.kurzusminta_id].push_back(link.oktato_id);
    for (std::size_t i = 0; i < faculty.teachers.size(); ++i) {
        const std::size_t department = std::size_t(faculty.teachers[i].department);
        if (teachersByDepartment_.size() <= department)
            teachersByDepartment_.resize(department + 1);
        teachersByDepartment_[department].push_back(int(i));
    }
    teacherLoad_.assign(faculty.teachers.size(), 0);
}

void TimetablePlanner::generate()
{
    for (const Cohort &cohort : makeCohortTimetables())
        planCohort(cohort);
    makeReservations();
    makeTestTimetable();
}

std::vector<TimetablePlanner::Cohort> TimetablePlanner::makeCohortTimetables()
{
    std::vector<const Curriculum *> active;
    for (const Curriculum &curriculum : faculty_.curricula) {
        const int year = CurrentYear - curriculum.entryYear + 1;
        if (2 * year - 1 <= traitsOf(curriculum.level).semesters)
            active.push_back(&curriculum);
    }
    if (int(active.size()) > scale_.cohortTimetables) {
        random_.shuffle(active);
        active.resize(std::size_t(scale_.cohortTimetables));
        std::sort(active.begin(), active.end(), [](const Curriculum *a, const Curriculum *b) {
            return a->mintatanterv_id < b->mintatanterv_id;
        });
    }

    std::vector<Cohort> cohorts;
    for (const Curriculum *curriculum : active) {
        const Programme &programme = Vocabulary::programmes[std::size_t(curriculum->programme)];
        const int year = CurrentYear - curriculum->entryYear + 1;
        const bool correspondence = curriculum->tagozat == "L";
        const bool english = curriculum->nyelv == "angol";

        const LevelTraits &level = traitsOf(curriculum->level);
        int headcount = random_.between(level.smallestCohort, level.largestCohort);
        if (correspondence)
            headcount = headcount * 60 / 100;
        if (english)
            headcount = std::max(8, headcount * 35 / 100);
        headcount = headcount * (100 - 12 * (year - 1)) / 100 * scale_.headcountPercent / 100;

        const std::string name =
            english ? std::string(programme.english) + " " + level.shortName + " year " + std::to_string(year)
                    : std::string(programme.hungarian) + " " + level.shortName +
                          (correspondence ? " levelező " : " nappali ") + std::to_string(year) + ". évf.";
        const std::string remark = random_.chance(50) ? random_.pick(Vocabulary::timetableRemarks) : "";
        cohorts.push_back({addTimetable(name, remark, curriculum->programme + 1, 0), curriculum, 2 * year - 1,
                           std::max(3, headcount)});
    }
    return cohorts;
}

int TimetablePlanner::addTimetable(std::string name, std::string remark, int programmeId, int test)
{
    Timetable timetable;
    timetable.orarend_id = FirstTimetableId + int(faculty_.timetables.size());
    timetable.megnevezes = std::move(name);
    timetable.megjegyzes = std::move(remark);
    timetable.szak_id = programmeId;
    timetable.hetek = FixedWeeks[0];
    timetable.teszt = test;
    faculty_.timetables.push_back(timetable);
    return timetable.orarend_id;
}

void TimetablePlanner::planCohort(const Cohort &cohort)
{
    const int headcount = cohort.headcount;
    const std::string &mode = cohort.curriculum->tagozat;
    for (const CurriculumSubject &link : faculty_.curriculumSubjects) {
        if (link.mintatanterv_id != cohort.curriculum->mintatanterv_id || link.semester != cohort.semester)
            continue;
        if (link.targy_felveteltipus != "Kötelező" && !random_.chance(60))
            continue;
        const Subject &subject = subjectById(link.targy_id);

        if (subject.targy_ea > 0) {
            const auto shared = sharedLectures_.find({subject.targy_id, mode});
            if (shared != sharedLectures_.end() && random_.chance(60)) {
                linkToTimetable(cohort.timetableId, shared->second);
            } else {
                // A cohort too big for any lecture hall hears the lecture in parallel groups.
                const int groups = (headcount + LargestLecture - 1) / LargestLecture;
                const std::size_t before = faculty_.courses.size();
                planGroups(cohort, subject, "EA", subject.targy_ea, groups,
                           roundUpToTen((headcount + groups - 1) / groups));
                if (faculty_.courses.size() > before)
                    sharedLectures_[{subject.targy_id, mode}] = faculty_.courses[before].kurzus_id;
            }
        }
        if (subject.targy_gy > 0) {
            const bool language = subject.field == Field::Languages;
            const int size = language ? 16 : random_.between(24, 30);
            planGroups(cohort, subject, "GY", subject.targy_gy, (headcount + size - 1) / size,
                       std::min(size, headcount));
        }
        if (subject.targy_la > 0)
            planGroups(cohort, subject, "LA", subject.targy_la, (headcount + 15) / 16,
                       std::min(16, headcount));
    }
}

void TimetablePlanner::planGroups(const Cohort &cohort, const Subject &subject, const std::string &type,
                                  int hours, int groups, int seats)
{
    for (int group = 0; group < groups; ++group) {
        const std::optional<std::size_t> index = createCourse(cohort, subject, type, seats);
        if (!index)
            continue;
        const Course course = faculty_.courses[*index];
        scheduleCourse(cohort, course, subject, hours, seats);
        if (type != "EA" && random_.chance(3))
            attachCopy(cohort, course, subject);
    }
}

std::optional<std::size_t> TimetablePlanner::createCourse(const Cohort &cohort, const Subject &subject,
                                                          const std::string &type, int seats)
{
    const Template *from = nullptr;
    const auto templates = templatesBySubjectAndType_.find({subject.targy_id, type});
    if (templates != templatesBySubjectAndType_.end() && random_.chance(50))
        from = &faculty_.templates[random_.pick(templates->second)];

    const std::string code = from ? from->kurzusminta_kod.substr(0, from->kurzusminta_kod.find('-'))
                                  : courseCodeOf(subject.targy_kod);
    const std::optional<std::string> number = numbering_.take(code, type);
    if (!number) { // the planner refuses a hundredth group of one code and type as well
        ++unnumbered_;
        return std::nullopt;
    }

    Course course;
    course.kurzus_id = FirstCourseId + int(faculty_.courses.size());
    course.targy_id = subject.targy_id;
    course.kurzus_kod = code;
    course.kurzus_tipus = type;
    course.kurzus_sorszam = *number;
    course.kurzus_kod_osszetett = code + "-" + type + "-" + *number;
    if (random_.chance(4))
        course.max_letszam = -1;
    else if (!random_.chance(2))
        course.max_letszam = seats;
    if (random_.chance(8))
        course.megjegyzes = random_.pick(Vocabulary::courseRemarks);
    if (random_.chance(3))
        course.megnevezes = subject.targy_nev + (subject.english ? " (retake)" : " (pótló)");
    course.kurzusminta_id = from ? from->kurzusminta_id : -1;
    course.kurzus_id_csatolt = -1;
    faculty_.courses.push_back(course);

    if (from) {
        for (int targyId : templateSubjects_[from->kurzusminta_id])
            faculty_.courseSubjects.push_back({course.kurzus_id, targyId, -1});
    } else {
        faculty_.courseSubjects.push_back({course.kurzus_id, subject.targy_id, -1});
    }
    giveTeachers(course, subject, from);
    // A few courses have been taken out of every timetable and wait to be placed again.
    if (!random_.chance(2))
        linkToTimetable(cohort.timetableId, course.kurzus_id);
    return faculty_.courses.size() - 1;
}

void TimetablePlanner::linkToTimetable(int timetableId, int courseId)
{
    if (timetableLinks_.insert({timetableId, courseId}).second)
        faculty_.courseTimetables.push_back({timetableId, courseId});
}

void TimetablePlanner::giveTeachers(const Course &course, const Subject &subject, const Template *from)
{
    const int firstTeacherId = faculty_.teachers.front().oktato_id;
    std::vector<int> chosen;
    if (from && !templateTeachers_[from->kurzusminta_id].empty() && random_.chance(80)) {
        for (int oktatoId : templateTeachers_[from->kurzusminta_id])
            chosen.push_back(oktatoId - firstTeacherId);
    } else {
        const int count =
            course.kurzus_tipus == "EA" ? random_.weighted({5, 80, 15}) : random_.weighted({8, 92});
        const std::vector<int> &staff = teachersByDepartment_[std::size_t(subject.department)];
        while (int(chosen.size()) < count && chosen.size() < staff.size()) {
            // The least busy of a few colleagues, as a head of department would share the work out.
            int best = -1;
            for (int attempt = 0; attempt < 3; ++attempt) {
                const int candidate = random_.pick(staff);
                if (std::find(chosen.begin(), chosen.end(), candidate) == chosen.end() &&
                    (best < 0 || teacherLoad_[std::size_t(candidate)] < teacherLoad_[std::size_t(best)]))
                    best = candidate;
            }
            if (best >= 0)
                chosen.push_back(best);
        }
    }
    static const std::vector<std::pair<int, int>> splits = {{50, 50}, {60, 40}, {70, 30}};
    const std::pair<int, int> split = random_.pick(splits);
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const int share = chosen.size() == 1 ? 100 : i == 0 ? split.first : i == 1 ? split.second : 0;
        faculty_.courseTeachers.push_back(
            {course.kurzus_id, faculty_.teachers[std::size_t(chosen[i])].oktato_id, share});
        teacherLoad_[std::size_t(chosen[i])] += 1;
    }
}

void TimetablePlanner::attachCopy(const Cohort &cohort, const Course &host, const Subject &hostSubject)
{
    const Subject *partner = hostSubject.twin != 0 ? &subjectById(hostSubject.twin) : nullptr;
    if (!partner) {
        std::vector<const Subject *> colleagues;
        for (const Subject &subject : faculty_.subjects)
            if (subject.department == hostSubject.department && subject.level == hostSubject.level &&
                subject.targy_id != hostSubject.targy_id)
                colleagues.push_back(&subject);
        if (colleagues.empty())
            return;
        partner = random_.pick(colleagues);
    }
    const std::string code = courseCodeOf(partner->targy_kod);
    const std::optional<std::string> number = numbering_.take(code, host.kurzus_tipus);
    if (!number)
        return;

    Course copy;
    copy.kurzus_id = FirstCourseId + int(faculty_.courses.size());
    copy.targy_id = partner->targy_id;
    copy.kurzus_kod = code;
    copy.kurzus_tipus = host.kurzus_tipus;
    copy.kurzus_sorszam = *number;
    copy.kurzus_kod_osszetett = code + "-" + host.kurzus_tipus + "-" + *number;
    copy.max_letszam = host.max_letszam;
    copy.kurzusminta_id = -1;
    copy.kurzus_id_csatolt = host.kurzus_id;
    faculty_.courses.push_back(copy);
    faculty_.courseSubjects.push_back({copy.kurzus_id, partner->targy_id, -1});
    std::vector<CourseTeacher> teachers;
    for (const CourseTeacher &link : faculty_.courseTeachers)
        if (link.kurzus_id == host.kurzus_id)
            teachers.push_back({copy.kurzus_id, link.oktato_id, link.szazalek});
    faculty_.courseTeachers.insert(faculty_.courseTeachers.end(), teachers.begin(), teachers.end());
    linkToTimetable(cohort.timetableId, copy.kurzus_id);
}

void TimetablePlanner::scheduleCourse(const Cohort &cohort, const Course &course, const Subject &subject,
                                      int hours, int seats)
{
    Session base;
    base.teachers = teacherIndexesOf(course.kurzus_id);
    base.kinds = roomKindsFor(course.kurzus_tipus, subject.field, seats);
    base.seats = seats;
    std::set<int> days;

    auto session = [&](std::vector<std::pair<int, int>> slots, int length) {
        Session s = base;
        s.slots = std::move(slots);
        s.length = length;
        return s;
    };
    auto weekdayDouble = [&] { return session(slotsOn(Weekdays, rowStarts(DoublePeriods), 90), 90); };
    auto weekdaySingle = [&] { return session(slotsOn(Weekdays, rowStarts(SinglePeriods), 45), 45); };

    if (subject.level == Level::Doctoral) {
        addOccasion(course, weekdayDouble(), random_.chance(70) ? 0 : CustomFrequency, days);
        return;
    }
    if (cohort.curriculum->tagozat == "L") {
        static const std::array<int, 3> frequencies = {3, 4, CustomFrequency};
        for (int i = 0; i < std::max(1, (hours + 1) / 2); ++i)
            addOccasion(course, session(correspondenceSlots(90), 90),
                        frequencies[std::size_t(random_.weighted({45, 35, 20}))], days);
        return;
    }
    if (course.kurzus_tipus == "LA" && hours >= 2 && random_.chance(30)) {
        // A lab afternoon on the hour rows: the whole weekly load in one block.
        const int length = 60 * hours;
        addOccasion(course, session(slotsOn(Weekdays, rowStarts(Hours), length), length),
                    random_.weighted({85, 0, 0, 8, 7}), days);
        return;
    }
    if (hours == 1) {
        if (random_.chance(70))
            addOccasion(course, weekdayDouble(), random_.chance(50) ? 1 : 2, days);
        else
            addOccasion(course, weekdaySingle(), 0, days);
        return;
    }
    for (int pair = 0; pair < hours / 2; ++pair) {
        if (random_.chance(scale_.splitPercent)) {
            addOccasion(course, weekdaySingle(), 0, days);
            addOccasion(course, weekdaySingle(), 0, days);
        } else {
            // Lab groups often alternate: half of them in odd weeks, the other half in even ones.
            int frequency = random_.chance(6) ? CustomFrequency : 0;
            if (course.kurzus_tipus == "LA" && random_.chance(20))
                frequency = random_.chance(50) ? 1 : 2;
            addOccasion(course, weekdayDouble(), frequency, days);
        }
    }
    if (hours % 2 == 1)
        addOccasion(course, weekdaySingle(), 0, days);
}

void TimetablePlanner::addOccasion(const Course &course, Session session, int frequency, std::set<int> &days)
{
    session.weeks = frequency == CustomFrequency ? customWeeks() : FixedWeeks[std::size_t(frequency)];
    session.busyDays = days;
    // Now and then the room is still to be decided: "none" is written as 0 or as -1.
    int noRoom = -1;
    if (!session.kinds.empty() && random_.chance(2)) {
        session.kinds.clear();
        noRoom = random_.chance(50) ? 0 : -1;
    }
    const Placement placement = scheduler_.place(session);
    days.insert(placement.day);

    Occasion occasion;
    occasion.alkalom_id = FirstOccasionId + int(faculty_.occasions.size());
    occasion.kurzus_id = course.kurzus_id;
    occasion.terem_id = placement.room >= 0 ? faculty_.rooms[std::size_t(placement.room)].terem_id : noRoom;
    occasion.day = placement.day;
    occasion.startMinute = placement.start;
    occasion.endMinute = placement.start + session.length;
    occasion.gyakorisag = frequency;
    occasion.hetek = session.weeks;
    faculty_.occasions.push_back(occasion);
}

std::string TimetablePlanner::customWeeks()
{
    // Block teaching in one half of the term, and the odd pattern of a course shared with others.
    static const std::vector<std::string> blocks = {"111111100000000", "000000011111111", "111111111111000",
                                                    "110110110110110", "111000111000111", "011111111111111"};
    if (random_.chance(60))
        return random_.pick(blocks);
    for (;;) {
        std::string weeks(15, '0');
        for (char &week : weeks)
            week = random_.chance(50) ? '1' : '0';
        if (std::count(weeks.begin(), weeks.end(), '1') >= 2 &&
            std::find(FixedWeeks.begin(), FixedWeeks.end(), weeks) == FixedWeeks.end())
            return weeks;
    }
}

void TimetablePlanner::makeReservations()
{
    if (scale_.reservations == 0)
        return;
    const int timetableId = addTimetable("Kari rendezvények", "Egyedi foglalások", 0, 0);
    const std::size_t kinds = Vocabulary::events.size();
    for (int i = 0; i < scale_.reservations; ++i) {
        const Vocabulary::Event &event = Vocabulary::events[std::size_t(i) % kinds];
        Course course;
        course.kurzus_id = FirstCourseId + int(faculty_.courses.size());
        course.targy_id = -1;
        course.kurzus_kod_osszetett = event.code;
        if (std::size_t(i) >= kinds)
            course.kurzus_kod_osszetett += "-" + std::to_string(std::size_t(i) / kinds + 1);
        course.max_letszam = random_.chance(50) ? 0 : 10 * random_.between(5, 20);
        course.megnevezes = event.title;
        course.megjegyzes = event.remark;
        faculty_.courses.push_back(course);
        linkToTimetable(timetableId, course.kurzus_id);

        // Events take a few weeks of the term and sit on the half-hour rows.
        std::set<int> days;
        for (int n = random_.between(1, 2); n > 0; --n) {
            std::string weeks(15, '0');
            for (int w = random_.between(1, 3); w > 0; --w)
                weeks[std::size_t(random_.below(15))] = '1';
            const int length = 30 * random_.between(2, 6);
            Session session;
            session.slots =
                slotsOn(Weekdays, rowStarts(random_.chance(50) ? HalfHours : HalfHoursFrom0745), length);
            session.length = length;
            session.kinds = {RoomKind::Hall};
            session.seats = std::min(course.max_letszam.value_or(0), 100);
            session.busyDays = days;
            session.weeks = weeks;
            const Placement placement = scheduler_.place(session);
            days.insert(placement.day);
            faculty_.occasions.push_back(
                {FirstOccasionId + int(faculty_.occasions.size()), course.kurzus_id,
                 placement.room >= 0 ? faculty_.rooms[std::size_t(placement.room)].terem_id : -1,
                 placement.day, placement.start, placement.start + length, CustomFrequency, weeks});
        }
    }
}

void TimetablePlanner::makeTestTimetable()
{
    const int timetableId = addTimetable("Próbaórarend", "Csak kipróbáláshoz, nem végleges", 1, 1);
    for (int i = 0; i < 5 && !faculty_.courses.empty(); ++i) {
        const Course &course = random_.pick(faculty_.courses);
        linkToTimetable(timetableId, course.kurzus_id);
    }
}

const Subject &TimetablePlanner::subjectById(int targyId) const
{
    const std::size_t index = std::size_t(targyId - faculty_.subjects.front().targy_id);
    if (index >= faculty_.subjects.size() || faculty_.subjects[index].targy_id != targyId)
        throw std::logic_error("no subject " + std::to_string(targyId));
    return faculty_.subjects[index];
}

std::vector<int> TimetablePlanner::teacherIndexesOf(int kurzusId) const
{
    const int firstTeacherId = faculty_.teachers.front().oktato_id;
    std::vector<int> teachers;
    // The links of a new course are the last ones added.
    for (auto link = faculty_.courseTeachers.rbegin();
         link != faculty_.courseTeachers.rend() && link->kurzus_id == kurzusId; ++link)
        teachers.push_back(link->oktato_id - firstTeacherId);
    return teachers;
}

} // namespace sampledata
