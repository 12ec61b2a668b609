#include "DataFiles.h"

#include <map>
#include <set>
#include <string>

namespace sampledata {

namespace {

FieldDef key(const char *name)
{
    return {name, ftAutoInc, 0};
}
FieldDef integer(const char *name)
{
    return {name, ftInteger, 0};
}
FieldDef text(const char *name, int size)
{
    return {name, ftString, size};
}
FieldDef dateTime(const char *name)
{
    return {name, ftDateTime, 0};
}

Value nullable(const std::optional<int> &value)
{
    return value ? Value(*value) : Value();
}

std::string timetableFileName(const char *table, bool working)
{
    return working ? std::string("KK_") + table + ".csv" : std::string(table) + "-minta.csv";
}

DataTable subjects(const Faculty &f)
{
    DataTable t{
        "targy.csv",
        {key("targy_id"), text("targy_nev", 100), text("targy_kod", 50), integer("targy_ea"),
         integer("targy_gy"), integer("targy_la"), integer("targy_kredit"), text("targy_teljesites", 50),
         integer("tanszek_id"), integer("szabad"), integer("evjarat")},
        {{"index1", "targy_id"}, {"index2", "targy_kod"}, {"index3", "targy_nev"}, {"index4", "evjarat"}},
        {}};
    for (const Subject &s : f.subjects)
        t.rows.push_back({s.targy_id, s.targy_nev, s.targy_kod, s.targy_ea, s.targy_gy, s.targy_la,
                          s.targy_kredit, s.targy_teljesites, s.tanszek_id, s.szabad, s.evjarat});
    return t;
}

DataTable teachers(const Faculty &f)
{
    DataTable t{"oktato.csv",
                {key("oktato_id"), text("oktato_kkod", 20), text("oktato_nev", 60)},
                {{"index1", "oktato_id"}, {"index2", "oktato_kkod"}, {"index3", "oktato_nev"}},
                {}};
    for (const Teacher &s : f.teachers)
        t.rows.push_back({s.oktato_id, s.oktato_kkod, s.oktato_nev});
    return t;
}

DataTable rooms(const Faculty &f)
{
    DataTable t{"terem.csv",
                {key("terem_id"), text("terem_kod", 40), text("terem_hely", 20), integer("terem_kapacitas"),
                 text("terem_telephely", 50)},
                {{"index1", "terem_id"},
                 {"index2", "terem_kod"},
                 {"index3", "terem_hely"},
                 {"index4", "terem_kapacitas"},
                 {"index5", "terem_hely;terem_kod"}},
                {}};
    for (const Room &r : f.rooms)
        t.rows.push_back({r.terem_id, r.terem_kod, r.terem_hely, r.terem_kapacitas, r.terem_telephely});
    return t;
}

DataTable curricula(const Faculty &f)
{
    DataTable t{"mintatanterv.csv",
                {key("mintatanterv_id"), text("mintatanterv_kod", 20), text("mintatanterv_nev", 50),
                 text("tagozat", 1), text("tipus", 30), text("nyelv", 10), integer("szabad")},
                {{"index1", "mintatanterv_id"},
                 {"index2", "mintatanterv_kod"},
                 {"index3", "mintatanterv_nev"},
                 {"index4", "tagozat"},
                 {"index5", "tipus"},
                 {"index6", "nyelv"}},
                {}};
    for (const Curriculum &c : f.curricula)
        t.rows.push_back({c.mintatanterv_id, c.mintatanterv_kod, c.mintatanterv_nev, c.tagozat, c.tipus,
                          c.nyelv, c.szabad});
    return t;
}

DataTable curriculumSubjects(const Faculty &f)
{
    DataTable t{
        "mintatantervtargy.csv",
        {integer("mintatanterv_id"), integer("targy_id"), text("targy_felveteltipus", 50)},
        {{"index1", "mintatanterv_id"}, {"index2", "targy_id"}, {"index3", "mintatanterv_id;targy_id"}},
        {}};
    for (const CurriculumSubject &l : f.curriculumSubjects)
        t.rows.push_back({l.mintatanterv_id, l.targy_id, l.targy_felveteltipus});
    return t;
}

DataTable templates(const Faculty &f)
{
    DataTable t{"kurzusminta.csv",
                {key("kurzusminta_id"), text("kurzusminta_kod", 50), text("kurzusminta_tipus", 2),
                 integer("targy_id"), text("felev", 50), text("orarendiinfo", 100), text("atargykod", 20)},
                {{"index1", "kurzusminta_id"},
                 {"index2", "targy_id"},
                 {"index3", "kurzusminta_kod"},
                 {"index4", "atargykod"},
                 {"index5", "felev"},
                 {"index6", "orarendiinfo"}},
                {}};
    for (const Template &m : f.templates)
        t.rows.push_back({m.kurzusminta_id, m.kurzusminta_kod, m.kurzusminta_tipus, m.targy_id, m.felev,
                          m.orarendiinfo, m.atargykod});
    return t;
}

// The two template link tables keep their design indexes, named after their field, besides the
// ones added at start.
DataTable templateSubjects(const Faculty &f)
{
    DataTable t{"kurzusmintatargy.csv",
                {integer("kurzusminta_id"), integer("targy_id")},
                {{"kurzusminta_id", "kurzusminta_id"},
                 {"targy_id", "targy_id"},
                 {"index1", "kurzusminta_id"},
                 {"index2", "targy_id"}},
                {}};
    for (const TemplateSubject &l : f.templateSubjects)
        t.rows.push_back({l.kurzusminta_id, l.targy_id});
    return t;
}

DataTable templateTeachers(const Faculty &f)
{
    DataTable t{"kurzusmintaoktato.csv",
                {integer("kurzusminta_id"), integer("oktato_id")},
                {{"kurzusminta_id", "kurzusminta_id"},
                 {"oktato_id", "oktato_id"},
                 {"index1", "kurzusminta_id"},
                 {"index2", "oktato_id"}},
                {}};
    for (const TemplateTeacher &l : f.templateTeachers)
        t.rows.push_back({l.kurzusminta_id, l.oktato_id});
    return t;
}

DataTable timetables(const Faculty &f, bool working)
{
    DataTable t{timetableFileName("orarend", working),
                {key("orarend_id"), text("megnevezes", 50), text("megjegyzes", 100), integer("szak_id"),
                 text("hetek", 15), integer("teszt")},
                {{"index1", "megnevezes"}},
                {}};
    for (const Timetable &o : f.timetables)
        t.rows.push_back({o.orarend_id, o.megnevezes, o.megjegyzes, o.szak_id, o.hetek, o.teszt});
    return t;
}

DataTable courses(const Faculty &f, bool working)
{
    DataTable t{timetableFileName("kurzus", working),
                {key("kurzus_id"), integer("targy_id"), text("kurzus_kod_osszetett", 50),
                 text("kurzus_kod", 50), text("kurzus_tipus", 2), text("kurzus_sorszam", 2),
                 integer("max_letszam"), text("megjegyzes", 100), text("megnevezes", 100),
                 integer("kurzusminta_id"), integer("kurzus_id_csatolt")},
                {{"index1", "kurzus_id"}, {"index2", "targy_id"}, {"index3", "kurzus_kod_osszetett"}},
                {}};
    for (const Course &c : f.courses)
        t.rows.push_back({c.kurzus_id, c.targy_id, c.kurzus_kod_osszetett, c.kurzus_kod, c.kurzus_tipus,
                          c.kurzus_sorszam, nullable(c.max_letszam), c.megjegyzes, c.megnevezes,
                          nullable(c.kurzusminta_id), nullable(c.kurzus_id_csatolt)});
    return t;
}

// The occasion table's design index "Index1" stands for the "index1" added at start, whose name
// differs only in case; the calculated fields are not saved.
DataTable occasions(const Faculty &f, bool working)
{
    DataTable t{timetableFileName("alkalom", working),
                {key("alkalom_id"), integer("kurzus_id"), integer("terem_id"), dateTime("kezd_ido"),
                 dateTime("veg_ido"), integer("gyakorisag"), text("hetek", 50)},
                {{"Index1", "kurzus_id"}, {"index3", "terem_id"}, {"index2", "kurzus_id;alkalom_id"}},
                {}};
    for (const Occasion &o : f.occasions)
        t.rows.push_back({o.alkalom_id, o.kurzus_id, o.terem_id, DayMinute{o.day, o.startMinute},
                          DayMinute{o.day, o.endMinute}, o.gyakorisag, o.hetek});
    return t;
}

DataTable courseTeachers(const Faculty &f, bool working)
{
    DataTable t{timetableFileName("kurzusoktato", working),
                {integer("kurzus_id"), integer("oktato_id"), integer("szazalek")},
                {{"index1", "kurzus_id"}, {"index2", "oktato_id"}},
                {}};
    for (const CourseTeacher &l : f.courseTeachers)
        t.rows.push_back({l.kurzus_id, l.oktato_id, l.szazalek});
    return t;
}

DataTable courseSubjects(const Faculty &f, bool working)
{
    DataTable t{timetableFileName("kurzustargy", working),
                {integer("kurzus_id"), integer("targy_id"), integer("maxletszam")},
                {{"index1", "kurzus_id"}, {"index2", "targy_id"}},
                {}};
    for (const CourseSubject &l : f.courseSubjects)
        t.rows.push_back({l.kurzus_id, l.targy_id, l.maxletszam});
    return t;
}

DataTable courseTimetables(const Faculty &f, bool working)
{
    DataTable t{timetableFileName("kurzusorarend", working),
                {integer("orarend_id"), integer("kurzus_id")},
                {{"index1", "kurzus_id"}, {"index2", "orarend_id"}},
                {}};
    for (const CourseTimetable &l : f.courseTimetables)
        t.rows.push_back({l.orarend_id, l.kurzus_id});
    return t;
}

// The links the planner's regeneration makes: each course gets its own occasions, and each course
// attached to it gets them as well.
DataTable courseOccasions(const Faculty &f)
{
    DataTable t{"KK_kurzusalkalom.csv",
                {integer("kurzus_id"), integer("alkalom_id")},
                {{"index1", "kurzus_id"}, {"index2", "alkalom_id"}},
                {}};
    std::map<int, std::vector<int>> occasionsOf;
    for (const Occasion &o : f.occasions)
        occasionsOf[o.kurzus_id].push_back(o.alkalom_id);
    std::map<int, std::vector<int>> attachedTo;
    for (const Course &c : f.courses)
        if (c.kurzus_id_csatolt.value_or(-1) > 0)
            attachedTo[*c.kurzus_id_csatolt].push_back(c.kurzus_id);

    std::set<std::pair<int, int>> seen;
    auto add = [&](int kurzusId, int alkalomId) {
        if (seen.insert({kurzusId, alkalomId}).second)
            t.rows.push_back({kurzusId, alkalomId});
    };
    for (const Course &c : f.courses) {
        for (int alkalomId : occasionsOf[c.kurzus_id])
            add(c.kurzus_id, alkalomId);
        for (int attached : attachedTo[c.kurzus_id])
            for (int alkalomId : occasionsOf[c.kurzus_id])
                add(attached, alkalomId);
    }
    return t;
}

std::vector<DataTable> timetableFiles(const Faculty &f, bool working)
{
    return {timetables(f, working),     courses(f, working),        occasions(f, working),
            courseTeachers(f, working), courseSubjects(f, working), courseTimetables(f, working)};
}

} // namespace

std::vector<DataTable> masterFiles(const Faculty &faculty)
{
    return {subjects(faculty),         teachers(faculty),           rooms(faculty),
            curricula(faculty),        curriculumSubjects(faculty), templates(faculty),
            templateSubjects(faculty), templateTeachers(faculty)};
}

std::vector<DataTable> sampleTimetableFiles(const Faculty &faculty)
{
    return timetableFiles(faculty, false);
}

std::vector<DataTable> workingTimetableFiles(const Faculty &faculty)
{
    std::vector<DataTable> files = timetableFiles(faculty, true);
    files.push_back(courseOccasions(faculty));
    return files;
}

} // namespace sampledata
