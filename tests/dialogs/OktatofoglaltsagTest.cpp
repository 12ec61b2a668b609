#include "dialogs/Oktatofoglaltsag.h"

#include "sajat/SajatVCI.h"
#include "calendar/veltoCalendar.h"
#include "dialogs/DialogTestSupport.h"

#include <QCheckBox>
#include <QPushButton>

#include <vector>

namespace {

using dialogtest::answeringModals;
using dialogtest::appendRow;
using dialogtest::at;
using dialogtest::Monday1;

constexpr int Tuesday1 = Monday1 + 1;

class TeacherTimetable : public dialogtest::DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        addTeacher(7, "Kovács Ádám", "KOA");
        addTeacher(8, "Nagy Ilona", "NAI");
        addRoom(1, "A", "101");
        addSubject(50, "MAT1", "Matematika I.");
        addSubject(51, "FIZ1", "Fizika I.");
        timetable = std::make_unique<TOktatofog>();
        timetable->NaptarBeallitas(4, nullptr);
    }
    void TearDown() override
    {
        timetable.reset();
        DataModule::TearDown();
    }

    // Shows the timetable of `oktatoId`; `whileShown` looks at it before "Kilépés".
    int show(int oktatoId, const std::function<void(TOktatofog &)> &whileShown = {})
    {
        timetable->OktatoId = oktatoId;
        int result = -1;
        answeringModals([&] { result = timetable->exec(); },
                        [&](QWidget &modal) {
                            ASSERT_EQ(&modal, timetable.get());
                            if (whileShown)
                                whileShown(*timetable);
                            QTest::mouseClick(timetable->Button1, Qt::LeftButton);
                        });
        return result;
    }

    std::vector<TSajat *> items() const
    {
        std::vector<TSajat *> shown;
        for (TCustomCalendarItem *item : timetable->VL->Items())
            shown.push_back(dynamic_cast<TSajat *>(item));
        return shown;
    }
    std::vector<int> occasionIds() const
    {
        std::vector<int> ids;
        for (TSajat *item : items())
            ids.push_back(item ? item->AlkalomID : -1);
        return ids;
    }

    std::unique_ptr<TOktatofog> timetable;
};

TEST_F(TeacherTimetable, ShowsTheOccasionsOfEveryCourseOfTheTeacher)
{
    addCourse({.id = 10, .code = "MAT1-E-01", .title = "Matek előadás", .targyId = 50});
    addCourse({.id = 11, .code = "FIZ1-G-01", .targyId = 51});
    addCourse({.id = 12, .code = "MAT1-G-02", .targyId = 50});
    linkTeacher(10, 7);
    linkTeacher(11, 7, 50);
    linkTeacher(11, 8, 50);
    linkTeacher(12, 8);
    addOccasion(400, 10, at(Monday1, 8, 0), at(Monday1, 9, 30), 1);
    addOccasion(401, 12, at(Monday1, 10, 0), at(Monday1, 11, 30), 1);
    addOccasion(402, 11, at(Tuesday1, 12, 0), at(Tuesday1, 13, 30), -1, "101010101010101", 1);
    addOccasion(403, 10, at(Tuesday1, 14, 0), at(Tuesday1, 14, 45), 99);
    show(7);
    EXPECT_EQ(occasionIds(), (std::vector<int>{400, 402, 403}));
    show(8);
    EXPECT_EQ(occasionIds(), (std::vector<int>{401, 402}));
}

TEST_F(TeacherTimetable, ItemsCarryTheOccasionsTimesAndTexts)
{
    addCourse({.id = 10, .code = "MAT1-E-01", .title = "Matek előadás", .targyId = 50});
    linkTeacher(10, 7);
    addOccasion(400, 10, at(Monday1, 8, 0), at(Monday1, 9, 30), 1, "101010101010101", 1);
    // No room, the "none" room and a room that is gone all read the same.
    for (int room : {-1, 0, 42})
        addOccasion(500 + room, 10, at(Monday1 + 1, 8, 0), at(Monday1 + 1, 9, 30), room);
    show(7);
    ASSERT_EQ(items().size(), 4u);
    const TSajat &item = *items()[0];
    EXPECT_EQ(item.KurzusID, 10);
    EXPECT_DOUBLE_EQ(item.Start(), at(Monday1, 8, 0));
    EXPECT_EQ(item.Length(), 90);
    EXPECT_EQ(item.Kod(), "MAT1-E-01");
    EXPECT_EQ(item.Nev(), "Matek előadás");
    EXPECT_TRUE(item.Oktatok().isEmpty());
    EXPECT_EQ(item.Kiiras(), "A101");
    EXPECT_EQ(item.Hetek(), "101010101010101");
    EXPECT_FALSE(item.Subject().isEmpty());
    for (std::size_t i = 1; i < items().size(); ++i)
        EXPECT_EQ(items()[i]->Kiiras(), "Nincs terem");
}

TEST_F(TeacherTimetable, ACourseWithoutNameTakesItsSubjectsOrItsTemplatesSubjectsName)
{
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 70}, {"targy_id", 51}});
    addCourse({.id = 10, .code = "K-01", .targyId = 50});
    addCourse({.id = 11, .code = "K-02", .targyId = 77, .templateId = 70});
    addCourse({.id = 12, .code = "K-03", .targyId = -1});
    for (int course : {10, 11, 12})
        linkTeacher(course, 7);
    addOccasion(400, 10, at(Monday1, 8, 0), at(Monday1, 9, 30));
    addOccasion(401, 11, at(Monday1, 10, 0), at(Monday1, 11, 30));
    addOccasion(402, 12, at(Monday1, 12, 0), at(Monday1, 13, 30));
    show(7);
    ASSERT_EQ(items().size(), 3u);
    EXPECT_EQ(items()[0]->Nev(), "Matematika I.");
    EXPECT_EQ(items()[1]->Nev(), "Fizika I.");
    EXPECT_TRUE(items()[2]->Nev().isEmpty());
}

TEST_F(TeacherTimetable, ShowsTheFirstHundredOfItsOccasionsInTheTablesOrder)
{
    addCourse({.id = 10, .code = "K-01", .title = "K"});
    addCourse({.id = 11, .code = "K-02", .title = "Más"});
    linkTeacher(10, 7);
    // A link to a course that is gone: its occasions neither show nor count.
    linkTeacher(99, 7);
    addOccasion(500, 11, at(Monday1, 7, 0), at(Monday1, 8, 0));
    for (int i = 0; i < 120; ++i) {
        addOccasion(1000 + i, 10, at(Monday1 + i % 5, 8, 0), at(Monday1 + i % 5, 9, 0));
        addOccasion(2000 + i, i % 2 ? 11 : 99, at(Monday1 + i % 5, 10, 0), at(Monday1 + i % 5, 11, 0));
    }
    show(7);
    std::vector<int> expected;
    for (int i = 0; i < 100; ++i)
        expected.push_back(1000 + i);
    EXPECT_EQ(occasionIds(), expected);
}

TEST_F(TeacherTimetable, ShowingAgainRebuildsTheItemsFromTheTablesAsTheyAreThen)
{
    addCourse({.id = 10, .code = "K-01", .title = "K"});
    linkTeacher(10, 7);
    addOccasion(400, 10, at(Monday1, 8, 0), at(Monday1, 9, 30));
    show(7);
    show(7);
    EXPECT_EQ(occasionIds(), (std::vector<int>{400}));
    // Courses, links and occasions made between two showings are in the second.
    addCourse({.id = 11, .code = "K-02", .title = "L"});
    linkTeacher(11, 7);
    addOccasion(401, 11, at(Monday1 + 1, 10, 0), at(Monday1 + 1, 11, 30));
    show(7);
    ASSERT_EQ(occasionIds(), (std::vector<int>{400, 401}));
    EXPECT_EQ(items()[1]->Kod(), QStringLiteral("K-02"));
}

TEST_F(TeacherTimetable, NoTeacherClosesAtOnceShowingNothing)
{
    addCourse({.id = 10, .code = "K-01", .title = "K"});
    linkTeacher(10, 7);
    addOccasion(400, 10, at(Monday1, 8, 0), at(Monday1, 9, 30));
    timetable->OktatoId = 0;
    bool leftOpen = false;
    int result = -1;
    answeringModals([&] { result = timetable->exec(); },
                    [&](QWidget &modal) {
                        // Closed by the test only when the window failed to close itself.
                        leftOpen = modal.isVisible();
                        if (leftOpen)
                            timetable->reject();
                    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(timetable->VL->Items().Count(), 0);
}

TEST_F(TeacherTimetable, CannotBeMadeNarrowerThan780Pixels)
{
    timetable->resize(500, 400);
    EXPECT_EQ(timetable->width(), 780);
}

TEST_F(TeacherTimetable, DayBoxesShowTheCallersDaysAndChangeThem)
{
    TveltoCalendar mainCalendar;
    mainCalendar.SetDays({vlMonday, vlTuesday, vlSaturday});
    timetable->NaptarBeallitas(4, &mainCalendar);
    show(7, [](TOktatofog &t) {
        EXPECT_TRUE(t.CBNap[5]->isChecked());
        EXPECT_FALSE(t.CBNap[2]->isChecked());
        QTest::mouseClick(t.CBNap[2], Qt::LeftButton);
        QTest::mouseClick(t.CBNap[0], Qt::LeftButton);
    });
    EXPECT_EQ(timetable->VL->Days(), (TveltoCalendarDays{vlTuesday, vlWednesday, vlSaturday}));
}

TEST_F(TeacherTimetable, TheLastDayCannotBeTakenAway)
{
    TveltoCalendar mainCalendar;
    mainCalendar.SetDays({vlThursday});
    timetable->NaptarBeallitas(4, &mainCalendar);
    show(7, [](TOktatofog &t) {
        QTest::mouseClick(t.CBNap[3], Qt::LeftButton);
        EXPECT_TRUE(t.CBNap[3]->isChecked());
    });
    EXPECT_EQ(timetable->VL->Days(), (TveltoCalendarDays{vlThursday}));
    EXPECT_EQ(timetable->VL->ColCount(), 2);
}

TEST_F(TeacherTimetable, CellsFitTheCalendarWithTheRemainderToTheLaterOnes)
{
    show(7, [](TOktatofog &t) {
        TveltoCalendar &vl = *t.VL;
        EXPECT_EQ(vl.ColWidths(0), 100);
        EXPECT_EQ(vl.RowHeights(0), 20);
        int width = 0;
        for (int col = 1; col < vl.ColCount(); ++col) {
            width += vl.ColWidths(col);
            EXPECT_LE(vl.ColWidths(col) - vl.ColWidths(1), 1);
            EXPECT_GE(vl.ColWidths(col), vl.ColWidths(col - 1 > 0 ? col - 1 : 1));
        }
        EXPECT_EQ(width, vl.ClientWidth() - 100);
        int height = 0;
        for (int row = 1; row < vl.RowCount(); ++row)
            height += vl.RowHeights(row);
        EXPECT_EQ(height, vl.ClientHeight() - 20);
    });
}

} // namespace
