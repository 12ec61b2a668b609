#include "IntegrityCheck.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace sampledata;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

// A tiny faculty that passes every check: one subject with a template, a course made from it with
// a copy attached, one occasion of every frequency in one room.
Faculty soundFaculty()
{
    Faculty f;
    Subject subject;
    subject.targy_id = 111;
    subject.targy_nev = "Analízis I";
    subject.targy_kod = "IDT101MNB";
    f.subjects = {subject};
    f.teachers = {{111, "AB12CD", "Dr. Kovács Anna", 0}, {112, "", "Tóth Gábor", 0}};
    f.rooms = {{1, "101", "A", 30, "Kelmendor", RoomKind::Seminar},
               {2, "102", "A", 30, "Kelmendor", RoomKind::Seminar}};
    f.curricula = {{111, "MI-BSC-N-25", "Mérnökinformatikus BSc nappali 2025", "N", "alapképzés (BA/BSc)",
                    "magyar", 1, 0, Level::Bachelor, 2025}};
    f.curriculumSubjects = {{111, 111, "Kötelező", 1}};
    f.templates = {{1, "IDT101MN-EA-00", "EA", 111, "2021/22/1", "", "IDT101MNB"}};
    f.templateSubjects = {{1, 111}};
    f.templateTeachers = {{1, 111}};
    f.timetables = {{111, "Mérnökinformatikus BSc nappali 1. évf.", "", 1, "111111111111111", 0}};

    Course lecture;
    lecture.kurzus_id = 222;
    lecture.targy_id = 111;
    lecture.kurzus_kod = "IDT101MN";
    lecture.kurzus_tipus = "EA";
    lecture.kurzus_sorszam = "00";
    lecture.kurzus_kod_osszetett = "IDT101MN-EA-00";
    lecture.kurzusminta_id = 1;
    lecture.kurzus_id_csatolt = -1;
    Course copy = lecture;
    copy.kurzus_id = 223;
    copy.kurzus_sorszam = "10";
    copy.kurzus_kod_osszetett = "IDT101MN-EA-10";
    copy.kurzusminta_id = -1;
    copy.kurzus_id_csatolt = 222;
    f.courses = {lecture, copy};

    const std::vector<std::pair<int, std::string>> frequencies = {
        {0, "111111111111111"}, {1, "101010101010101"}, {2, "010101010101010"},
        {3, "001001001001001"}, {4, "000100010001000"}, {999, "111111100000000"}};
    int day = 2;
    for (const auto &[frequency, weeks] : frequencies)
        f.occasions.push_back({int(333 + f.occasions.size()), 222, 1, day++, 465, 555, frequency, weeks});

    f.courseTimetables = {{111, 222}, {111, 223}};
    f.courseTeachers = {{222, 111, 60}, {222, 112, 40}};
    f.courseSubjects = {{222, 111, -1}, {223, 111, -1}};
    return f;
}

Occasion occasion(int id, int room, int day, int start, int end, int frequency, std::string weeks)
{
    return {id, 222, room, day, start, end, frequency, std::move(weeks)};
}

} // namespace

TEST(IntegrityCheck, SoundFacultyPasses)
{
    EXPECT_THAT(integrityProblems(soundFaculty()), IsEmpty());
}

TEST(IntegrityCheck, LinkToAMissingRowIsReported)
{
    Faculty f = soundFaculty();
    f.courseSubjects.push_back({222, 999, -1});
    EXPECT_THAT(integrityProblems(f), Contains(HasSubstr("kurzustargy refers to missing 999")));

    f = soundFaculty();
    f.courseTeachers = {{222, 150, 100}};
    EXPECT_THAT(integrityProblems(f), Contains(HasSubstr("kurzusoktato refers to missing 150")));

    f = soundFaculty();
    f.courseTimetables.push_back({112, 222});
    EXPECT_THAT(integrityProblems(f), Contains(HasSubstr("kurzusorarend refers to missing 112")));

    f = soundFaculty();
    f.templateSubjects.push_back({7, 111});
    EXPECT_THAT(integrityProblems(f), Contains(HasSubstr("kurzusmintatargy refers to missing 7")));
}

TEST(IntegrityCheck, OccasionOfAMissingCourseOrRoomIsReported)
{
    Faculty f = soundFaculty();
    f.occasions[0].kurzus_id = 300;
    f.occasions[1].terem_id = 9;
    const std::vector<std::string> problems = integrityProblems(f);
    EXPECT_THAT(problems, Contains(HasSubstr("alkalom 333 refers to missing 300")));
    EXPECT_THAT(problems, Contains(HasSubstr("alkalom 334 refers to missing 9")));
}

TEST(IntegrityCheck, OccasionWithoutARoomIsAccepted)
{
    Faculty f = soundFaculty();
    f.occasions[0].terem_id = 0;
    f.occasions[1].terem_id = -1;
    EXPECT_THAT(integrityProblems(f), IsEmpty());
}

TEST(IntegrityCheck, TwoOccasionsInOneRoomAtOnceAreReported)
{
    Faculty f = soundFaculty();
    f.occasions.push_back(occasion(400, 1, 2, 510, 555, 0, "111111111111111"));
    EXPECT_THAT(integrityProblems(f),
                Contains(HasSubstr("alkalom 400 clashes with another occasion in room 1")));
}

TEST(IntegrityCheck, AlternatingWeeksShareARoom)
{
    Faculty f = soundFaculty();
    // Tuesday's occasion is in the odd weeks; the even weeks of the same room and time are free.
    f.occasions.push_back(occasion(400, 1, 3, 465, 555, 2, "010101010101010"));
    f.occasions.push_back(occasion(401, 2, 3, 465, 555, 0, "111111111111111"));
    EXPECT_THAT(integrityProblems(f), IsEmpty());
}

TEST(IntegrityCheck, OccasionOffTheTimeRowsIsReported)
{
    Faculty f = soundFaculty();
    f.occasions.push_back(occasion(400, 2, 2, 470, 560, 0, "111111111111111"));
    // A start of one preset with the end of another is off the rows as well.
    f.occasions.push_back(occasion(401, 2, 3, 465, 540, 0, "111111111111111"));
    const std::vector<std::string> problems = integrityProblems(f);
    EXPECT_THAT(problems, Contains(HasSubstr("alkalom 400: 470-560 is not on the time rows")));
    EXPECT_THAT(problems, Contains(HasSubstr("alkalom 401: 465-540 is not on the time rows")));
}

TEST(IntegrityCheck, WeekMaskThatContradictsItsFrequencyIsReported)
{
    Faculty f = soundFaculty();
    f.occasions[1].hetek = "111111111111111";
    f.occasions[2].gyakorisag = 7;
    f.occasions[3].hetek = "00100100100100";
    const std::vector<std::string> problems = integrityProblems(f);
    EXPECT_THAT(problems, Contains(HasSubstr("alkalom 334: week mask does not match frequency 1")));
    EXPECT_THAT(problems, Contains(HasSubstr("alkalom 335: frequency 7")));
    EXPECT_THAT(problems, Contains(HasSubstr("alkalom 336: week mask")));
}

TEST(IntegrityCheck, MissingFrequencyIsReported)
{
    Faculty f = soundFaculty();
    f.occasions.erase(f.occasions.begin() + 3);
    EXPECT_THAT(integrityProblems(f), Contains(HasSubstr("no occasion has frequency 3")));
}

TEST(IntegrityCheck, AttachedCourseSharesItsHostsOccasionsAndHasNoneOfItsOwn)
{
    Faculty f = soundFaculty();
    f.occasions.push_back(occasion(400, 2, 2, 465, 555, 0, "111111111111111"));
    f.occasions.back().kurzus_id = 223;
    EXPECT_THAT(integrityProblems(f), Contains(HasSubstr("alkalom 400 belongs to an attached course")));
}

TEST(IntegrityCheck, AttachmentToAnAttachedCourseIsReported)
{
    Faculty f = soundFaculty();
    Course third = f.courses[1];
    third.kurzus_id = 224;
    third.kurzus_sorszam = "20";
    third.kurzus_kod_osszetett = "IDT101MN-EA-20";
    third.kurzus_id_csatolt = 223;
    f.courses.push_back(third);
    EXPECT_THAT(integrityProblems(f),
                Contains(HasSubstr("kurzus 224 is attached to a course that is attached itself")));
}

TEST(IntegrityCheck, TeacherSharesThatDoNotMakeAHundredAreReported)
{
    Faculty f = soundFaculty();
    f.courseTeachers[1].szazalek = 50;
    EXPECT_THAT(integrityProblems(f), Contains(HasSubstr("the shares of course 222 make 110%")));
}

TEST(IntegrityCheck, KeysCodesAndLinksAppearOnce)
{
    Faculty f = soundFaculty();
    f.teachers[1].oktato_id = 111;
    f.courses[1].kurzus_kod_osszetett = "IDT101MN-EA-00";
    f.courseTimetables.push_back({111, 222});
    const std::vector<std::string> problems = integrityProblems(f);
    EXPECT_THAT(problems, Contains(HasSubstr("oktato: key 111 twice")));
    EXPECT_THAT(problems, Contains(HasSubstr("course code \"IDT101MN-EA-00\" twice")));
    EXPECT_THAT(problems, Contains(HasSubstr("kurzusorarend: the pair 111, 222 twice")));
}

TEST(IntegrityCheck, CompositeCodeMustBeMadeOfItsParts)
{
    Faculty f = soundFaculty();
    f.courses[0].kurzus_sorszam = "20";
    EXPECT_THAT(integrityProblems(f),
                Contains(HasSubstr("kurzus 222: composite code does not match its parts")));
}

TEST(IntegrityCheck, SingleReservationNeedsNoSubjectOrCodeParts)
{
    Faculty f = soundFaculty();
    Course reservation;
    reservation.kurzus_id = 230;
    reservation.targy_id = -1;
    reservation.kurzus_kod_osszetett = "KARI-TANACS";
    reservation.megnevezes = "Kari Tanács ülése";
    f.courses.push_back(reservation);
    EXPECT_THAT(integrityProblems(f), IsEmpty());
}
