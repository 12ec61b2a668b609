#include "dialogs/Oktatofoglaltsag.h"

#include "dialogs/DialogTestSupport.h"

namespace {

using namespace dialogtest;

constexpr int Tuesday1 = Monday1 + 1;

class TeacherTimetable : public DialogOn<TOktatofog> {
protected:
    void SetUp() override
    {
        DialogOn::SetUp();
        addTeacher(1, "Kovács Ádám", "KOA");
        addTeacher(8, "Nagy Ilona", "NAI");
        addRoom(1, "A", "101");
        addSubject(50, "MAT1", "Matematika I.");
        addSubject(51, "FIZ1", "Fizika I.");
        dialog->NaptarBeallitas(4, nullptr);
    }
    void show(int oktatoId, const std::function<void()> &whileShown = {})
    {
        dialog->OktatoId = oktatoId;
        execWith(*dialog, [&] {
            if (whileShown)
                whileShown();
            click(dialog->Button1);
        });
    }
    std::vector<int> shownIds() { return occasionIds(*dialog->VL); }
    TSajat *items(int index) { return dynamic_cast<TSajat *>(dialog->VL->Items()[index]); }
};

TEST_F(TeacherTimetable, ShowsTheOccasionsOfEveryCourseOfTheTeacherWithTheirTexts)
{
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 70}, {"targy_id", 51}});
    addCourse({.id = 10, .code = "MAT1-E-01", .title = "Matek előadás", .targyId = 50});
    addCourse({.id = 11, .code = "FIZ1-G-01", .targyId = 51});
    addCourse({.id = 12, .code = "MAT1-G-02", .targyId = 50});
    addCourse({.id = 13, .code = "K-02", .targyId = 77, .templateId = 70});
    addCourse({.id = 14, .code = "K-03", .targyId = -1});
    for (const auto &[course, teacher, share] :
         {std::tuple{10, 1, 100}, {11, 1, 50}, {11, 8, 50}, {12, 8, 100}, {13, 1, 100}, {14, 1, 100}})
        linkTeacher(course, teacher, share);
    addOccasion(400, 10, at(Monday1, 8, 0), at(Monday1, 9, 30), 1, "101010101010101", 1);
    addOccasion(401, 12, at(Monday1, 10, 0), at(Monday1, 11, 30), 1);
    addOccasion(402, 11, at(Tuesday1, 12, 0), at(Tuesday1, 13, 30), -1, "101010101010101", 1);
    addOccasion(403, 10, at(Tuesday1, 14, 0), at(Tuesday1, 14, 45), 99);
    addOccasion(404, 10, at(Tuesday1, 15, 0), at(Tuesday1, 15, 45), 0);
    addOccasion(405, 13, at(Monday1, 12, 0), at(Monday1, 13, 30));
    addOccasion(406, 14, at(Monday1, 14, 0), at(Monday1, 15, 30));
    show(1);
    ASSERT_EQ(shownIds(), (std::vector<int>{400, 402, 403, 404, 405, 406}));
    // No room, room 0 and a room that is gone read the same; a nameless course takes its subject's name.
    QStringList shown;
    for (int i = 0; i < 6; ++i)
        shown << described(items(i));
    EXPECT_EQ(shown, (QStringList{"MAT1-E-01|Matek előadás|A101||101010101010101|90",
                                  "FIZ1-G-01|Fizika I.|Nincs terem||101010101010101|90",
                                  "MAT1-E-01|Matek előadás|Nincs terem||111111111111111|45",
                                  "MAT1-E-01|Matek előadás|Nincs terem||111111111111111|45",
                                  "K-02|Fizika I.|Nincs terem||111111111111111|90", "K-03||Nincs terem||111111111111111|90"}));
    EXPECT_DOUBLE_EQ(items(0)->Start(), at(Monday1, 8, 0));
    show(8);
    EXPECT_EQ(shownIds(), (std::vector<int>{401, 402}));
}

TEST_F(TeacherTimetable, ShowsTheFirstHundredOfItsOccasionsInTheTablesOrder)
{
    addCourse({.id = 10, .code = "K-01", .title = "K"});
    addCourse({.id = 11, .code = "K-02", .title = "Más"});
    linkTeacher(10, 1);
    // A link to a course that is gone: its occasions neither show nor count.
    linkTeacher(99, 1);
    addOccasion(500, 11, at(Monday1, 7, 0), at(Monday1, 8, 0));
    for (int i = 0; i < 120; ++i) {
        addOccasion(1000 + i, 10, at(Monday1 + i % 5, 8, 0), at(Monday1 + i % 5, 9, 0));
        addOccasion(2000 + i, i % 2 ? 11 : 99, at(Monday1 + i % 5, 10, 0), at(Monday1 + i % 5, 11, 0));
    }
    show(1, [&] {
        expectCalendarFillsItsRoom(*dialog->VL);
        EXPECT_EQ(dialog->VL->ColWidths(0), 100);
    });
    std::vector<int> expected;
    for (int i = 0; i < 100; ++i)
        expected.push_back(1000 + i);
    EXPECT_EQ(shownIds(), expected);
}

TEST_F(TeacherTimetable, ShowingAgainRebuildsTheItemsFromTheTablesAsTheyAreThen)
{
    addCourse({.id = 10, .code = "K-01", .title = "K"});
    linkTeacher(10, 1);
    addOccasion(400, 10, at(Monday1, 8, 0), at(Monday1, 9, 30));
    show(1);
    show(1);
    EXPECT_EQ(shownIds(), (std::vector<int>{400}));
    // Courses, links and occasions made between two showings are in the second.
    addCourse({.id = 11, .code = "K-02", .title = "L"});
    linkTeacher(11, 1);
    addOccasion(401, 11, at(Tuesday1, 10, 0), at(Tuesday1, 11, 30));
    show(1);
    ASSERT_EQ(shownIds(), (std::vector<int>{400, 401}));
    EXPECT_EQ(items(1)->Kod(), QStringLiteral("K-02"));
}

TEST_F(TeacherTimetable, DayBoxesShowTheCallersDaysChangeThemAndKeepTheLastDay)
{
    TveltoCalendar mainCalendar;
    mainCalendar.SetDays({vlMonday, vlTuesday, vlSaturday});
    dialog->NaptarBeallitas(4, &mainCalendar);
    show(1, [&] {
        EXPECT_TRUE(dialog->CBNap[5]->isChecked());
        EXPECT_FALSE(dialog->CBNap[2]->isChecked());
        click(dialog->CBNap[2]);
        click(dialog->CBNap[0]);
    });
    EXPECT_EQ(dialog->VL->Days(), (TveltoCalendarDays{vlTuesday, vlWednesday, vlSaturday}));

    mainCalendar.SetDays({vlThursday});
    dialog->NaptarBeallitas(4, &mainCalendar);
    show(1, [&] {
        click(dialog->CBNap[3]);
        EXPECT_TRUE(dialog->CBNap[3]->isChecked()) << "the last day cannot be taken away";
    });
    EXPECT_EQ(dialog->VL->Days(), (TveltoCalendarDays{vlThursday}));
    EXPECT_EQ(dialog->VL->ColCount(), 2);
}

// Asked for no teacher, the window closes by itself rather than wait for a click.
TEST_F(TeacherTimetable, WithoutATeacherTheWindowClosesAtOnce)
{
    addCourse({.id = 10, .code = "K-01"});
    linkTeacher(10, 1);
    addOccasion(400, 10, at(Monday1, 8, 0), at(Monday1, 9, 30));
    dialog->OktatoId = 0;
    int result = -1;
    answeringModals([&] { result = dialog->exec(); }, [](QWidget &) {});
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->VL->Items().Count(), 0);
}

} // namespace
