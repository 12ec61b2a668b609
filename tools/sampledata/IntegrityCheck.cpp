#include "IntegrityCheck.h"

#include "Occupancy.h"
#include "TimeRows.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace sampledata {

namespace {

bool isWeekMask(const std::string &weeks)
{
    return weeks.size() == 15 && weeks.find_first_not_of("01") == std::string::npos;
}

class Checker
{
public:
    explicit Checker(const Faculty &faculty) : f_(faculty) {}

    std::vector<std::string> run()
    {
        checkKeys();
        checkMasterLinks();
        checkCourses();
        checkOccasions();
        checkCourseLinks();
        return std::move(problems_);
    }

private:
    template <class T, class Key> std::set<int> keysOf(const std::vector<T> &rows, Key key, const char *table)
    {
        std::set<int> keys;
        for (const T &row : rows)
            if (!keys.insert(row.*key).second)
                report(std::string(table) + ": key " + std::to_string(row.*key) + " twice");
        return keys;
    }

    template <class T, class Text> void unique(const std::vector<T> &rows, Text text, const char *what)
    {
        std::set<std::string> seen;
        for (const T &row : rows)
            if (!(row.*text).empty() && !seen.insert(row.*text).second)
                report(std::string(what) + " \"" + row.*text + "\" twice");
    }

    void refers(const std::set<int> &keys, int id, const std::string &where)
    {
        if (!keys.count(id))
            report(where + " refers to missing " + std::to_string(id));
    }

    void pairOnce(std::set<std::pair<int, int>> &seen, int a, int b, const std::string &table)
    {
        if (!seen.insert({a, b}).second)
            report(table + ": the pair " + std::to_string(a) + ", " + std::to_string(b) + " twice");
    }

    void report(std::string problem) { problems_.push_back(std::move(problem)); }

    void checkKeys()
    {
        subjects_ = keysOf(f_.subjects, &Subject::targy_id, "targy");
        teachers_ = keysOf(f_.teachers, &Teacher::oktato_id, "oktato");
        rooms_ = keysOf(f_.rooms, &Room::terem_id, "terem");
        curricula_ = keysOf(f_.curricula, &Curriculum::mintatanterv_id, "mintatanterv");
        templates_ = keysOf(f_.templates, &Template::kurzusminta_id, "kurzusminta");
        timetables_ = keysOf(f_.timetables, &Timetable::orarend_id, "orarend");
        courses_ = keysOf(f_.courses, &Course::kurzus_id, "kurzus");
        keysOf(f_.occasions, &Occasion::alkalom_id, "alkalom");
        unique(f_.subjects, &Subject::targy_kod, "subject code");
        unique(f_.curricula, &Curriculum::mintatanterv_kod, "curriculum code");
        unique(f_.courses, &Course::kurzus_kod_osszetett, "course code");
        unique(f_.timetables, &Timetable::megnevezes, "timetable name");
    }

    void checkMasterLinks()
    {
        std::set<std::pair<int, int>> seen;
        for (const CurriculumSubject &link : f_.curriculumSubjects) {
            refers(curricula_, link.mintatanterv_id, "mintatantervtargy");
            refers(subjects_, link.targy_id, "mintatantervtargy");
            pairOnce(seen, link.mintatanterv_id, link.targy_id, "mintatantervtargy");
        }
        std::map<int, std::string> subjectCodes;
        for (const Subject &subject : f_.subjects)
            subjectCodes[subject.targy_id] = subject.targy_kod;
        for (const Template &entry : f_.templates) {
            refers(subjects_, entry.targy_id, "kurzusminta " + std::to_string(entry.kurzusminta_id));
            if (subjectCodes.count(entry.targy_id) && subjectCodes[entry.targy_id] != entry.atargykod)
                report("kurzusminta " + std::to_string(entry.kurzusminta_id) +
                       ": atargykod is not its subject's");
        }
        seen.clear();
        for (const TemplateSubject &link : f_.templateSubjects) {
            refers(templates_, link.kurzusminta_id, "kurzusmintatargy");
            refers(subjects_, link.targy_id, "kurzusmintatargy");
            pairOnce(seen, link.kurzusminta_id, link.targy_id, "kurzusmintatargy");
        }
        seen.clear();
        for (const TemplateTeacher &link : f_.templateTeachers) {
            refers(templates_, link.kurzusminta_id, "kurzusmintaoktato");
            refers(teachers_, link.oktato_id, "kurzusmintaoktato");
            pairOnce(seen, link.kurzusminta_id, link.oktato_id, "kurzusmintaoktato");
        }
    }

    void checkCourses()
    {
        std::map<int, int> hostOf;
        for (const Course &course : f_.courses)
            hostOf[course.kurzus_id] = course.kurzus_id_csatolt.value_or(-1);
        for (const Course &course : f_.courses) {
            const std::string where = "kurzus " + std::to_string(course.kurzus_id);
            if (course.targy_id != -1)
                refers(subjects_, course.targy_id, where);
            if (course.targy_id >= 0 && course.kurzus_kod_osszetett != course.kurzus_kod + "-" +
                                                                           course.kurzus_tipus + "-" +
                                                                           course.kurzus_sorszam)
                report(where + ": composite code does not match its parts");
            if (course.kurzusminta_id.value_or(-1) != -1)
                refers(templates_, *course.kurzusminta_id, where);
            if (course.kurzus_id_csatolt.value_or(-1) != -1) {
                refers(courses_, *course.kurzus_id_csatolt, where);
                if (hostOf[*course.kurzus_id_csatolt] > 0)
                    report(where + " is attached to a course that is attached itself");
            }
        }
    }

    void checkOccasions()
    {
        std::map<int, int> roomIndex;
        for (std::size_t i = 0; i < f_.rooms.size(); ++i)
            roomIndex[f_.rooms[i].terem_id] = int(i);
        std::set<int> attachedCourses;
        for (const Course &course : f_.courses)
            if (course.kurzus_id_csatolt.value_or(-1) > 0)
                attachedCourses.insert(course.kurzus_id);

        Occupancy rooms(int(f_.rooms.size()));
        std::set<int> frequencies;
        for (const Occasion &o : f_.occasions) {
            const std::string where = "alkalom " + std::to_string(o.alkalom_id);
            refers(courses_, o.kurzus_id, where);
            if (attachedCourses.count(o.kurzus_id))
                report(where + " belongs to an attached course, which shares its host's occasions");
            if (o.terem_id > 0)
                refers(rooms_, o.terem_id, where);
            if (o.day < 2 || o.day > 8)
                report(where + ": day " + std::to_string(o.day) + " is outside the first week");
            if (!onPresetRows(o.startMinute, o.endMinute))
                report(where + ": " + std::to_string(o.startMinute) + "-" + std::to_string(o.endMinute) +
                       " is not on the time rows");
            if (!isWeekMask(o.hetek))
                report(where + ": week mask \"" + o.hetek + "\"");
            if (o.gyakorisag >= 0 && o.gyakorisag < 5) {
                if (o.hetek != FixedWeeks[std::size_t(o.gyakorisag)])
                    report(where + ": week mask does not match frequency " + std::to_string(o.gyakorisag));
            } else if (o.gyakorisag != CustomFrequency) {
                report(where + ": frequency " + std::to_string(o.gyakorisag));
            }
            frequencies.insert(o.gyakorisag);

            const auto room = roomIndex.find(o.terem_id);
            if (room == roomIndex.end() || o.day < 2 || o.day > 8 || o.startMinute < 0 ||
                o.startMinute >= o.endMinute || o.endMinute > 24 * 60)
                continue;
            const std::uint16_t weeks = weekBits(o.hetek);
            if (!rooms.isFree(room->second, o.day, o.startMinute, o.endMinute, weeks))
                report(where + " clashes with another occasion in room " + std::to_string(o.terem_id));
            rooms.take(room->second, o.day, o.startMinute, o.endMinute, weeks);
        }
        for (int frequency : {0, 1, 2, 3, 4, CustomFrequency})
            if (!f_.occasions.empty() && !frequencies.count(frequency))
                report("no occasion has frequency " + std::to_string(frequency));
    }

    void checkCourseLinks()
    {
        std::set<std::pair<int, int>> seen;
        for (const CourseTimetable &link : f_.courseTimetables) {
            refers(timetables_, link.orarend_id, "kurzusorarend");
            refers(courses_, link.kurzus_id, "kurzusorarend");
            pairOnce(seen, link.orarend_id, link.kurzus_id, "kurzusorarend");
        }
        seen.clear();
        std::map<int, int> shares;
        for (const CourseTeacher &link : f_.courseTeachers) {
            refers(courses_, link.kurzus_id, "kurzusoktato");
            refers(teachers_, link.oktato_id, "kurzusoktato");
            pairOnce(seen, link.kurzus_id, link.oktato_id, "kurzusoktato");
            shares[link.kurzus_id] += link.szazalek;
        }
        for (const auto &[kurzusId, total] : shares)
            if (total != 100)
                report("kurzusoktato: the shares of course " + std::to_string(kurzusId) + " make " +
                       std::to_string(total) + "%");
        seen.clear();
        for (const CourseSubject &link : f_.courseSubjects) {
            refers(courses_, link.kurzus_id, "kurzustargy");
            refers(subjects_, link.targy_id, "kurzustargy");
            pairOnce(seen, link.kurzus_id, link.targy_id, "kurzustargy");
        }
    }

    const Faculty &f_;
    std::vector<std::string> problems_;
    std::set<int> subjects_, teachers_, rooms_, curricula_, templates_, timetables_, courses_;
};

} // namespace

std::vector<std::string> integrityProblems(const Faculty &faculty)
{
    return Checker(faculty).run();
}

} // namespace sampledata
