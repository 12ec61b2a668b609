// The main window's view rebuild: which courses the list shows and which occasions the calendar
// draws for a timetable, a room, a teacher and a subject, with the list and week filters.

#include "app/brelvix_pasFixture.h"

#include <QCheckBox>
#include <QComboBox>

using namespace mainwindowtest;

using Items = std::multiset<std::pair<int, int>>;
using Ids = std::vector<int>;

TEST_F(MainWindow, TimetableListsItsCoursesSortedByCaptionAndDrawsTheirOccasions)
{
    addFaculty();
    showTimetable(1);

    // "!" marks a course without subject; the list ends sorted by caption.
    EXPECT_EQ(listedCourses(), (Ids{11, 13, 12, 10}));
    EXPECT_EQ(rowOf(11)->text(0), QStringLiteral("!FIZ-1"));
    EXPECT_EQ(rowOf(10)->text(1), QStringLiteral("Matematika")) << "an unnamed course takes its subject's name";
    EXPECT_EQ(rowOf(10)->text(2), QStringLiteral("30"));
    EXPECT_EQ(rowOf(10)->text(5), QStringLiteral("1"));
    EXPECT_EQ(rowOf(10)->text(6), QStringLiteral("3"));
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}, {12, 100}, {12, 101}}));
}

TEST_F(MainWindow, AttachedCourseShowsTheOccasionsOfItsHeadUnderItsOwnId)
{
    addFaculty();
    showTimetable(1);
    int attached = 0;
    for (TCustomCalendarItem *item : form->VL->Items()) {
        auto *occasion = static_cast<TSajat *>(item);
        if (occasion->KurzusID == 12) {
            ++attached;
            EXPECT_EQ(occasion->Kod(), QStringLiteral("KEM-1"));
        }
    }
    EXPECT_EQ(attached, 2);
}

TEST_F(MainWindow, ChosenTimetableWinsOverTheWorkingMode)
{
    addFaculty();
    form->WorkMode = 2;
    form->SelectionId = 5;
    form->TimetableId = 2;
    form->RefreshView();
    EXPECT_EQ(listedCourses(), (Ids{14}));
    EXPECT_EQ(items(), (Items{{14, 140}}));
}

TEST_F(MainWindow, EmptyTimetableLeavesListAndCalendarEmpty)
{
    addFaculty();
    showTimetable(3);
    EXPECT_EQ(form->LV->topLevelItemCount(), 0);
    EXPECT_EQ(form->VL->Items().Count(), 0);
}

TEST_F(MainWindow, NothingIsListedWithoutASelection)
{
    addFaculty();
    form->WorkMode = 2;
    form->TimetableId = -1;
    form->SelectionId = -1;
    form->RefreshView();
    EXPECT_EQ(form->LV->topLevelItemCount(), 0);
    EXPECT_EQ(form->VL->Items().Count(), 0);
}

TEST_F(MainWindow, RebuildLeavesTheSharedTablesUnfilteredAndUnlinked)
{
    addFaculty();
    showTimetable(1);
    EXPECT_FALSE(DM->MT_kurzusorarend.Filtered());
    EXPECT_EQ(DM->MT_kurzusoktato.MasterSource(), nullptr);
    EXPECT_EQ(DM->MT_kurzustargy.MasterSource(), nullptr);
    EXPECT_EQ(DM->MT_kurzusorarend.RecordCount(), 5);
}

class ListFilters : public MainWindow {
protected:
    Ids listedUnder(QAction *entry)
    {
        entry->trigger();
        Ids ids = listedCourses();
        std::sort(ids.begin(), ids.end());
        return ids;
    }
};

TEST_F(ListFilters, EachEntryListsTheCoursesItNames)
{
    addFaculty();
    showTimetable(1);
    EXPECT_EQ(listedUnder(form->PM_LV2), (Ids{13})) << "Nincs alkalom";
    EXPECT_EQ(listedUnder(form->PM_LV3), (Ids{11, 12, 13})) << "Nincs Oktató";
    EXPECT_EQ(listedUnder(form->PM_LV1), (Ids{10, 12})) << "Nincs terem";
    EXPECT_EQ(listedUnder(form->PM_LV4), (Ids{11, 12, 13})) << "Nincs létszámkorlát: 0, empty and -5";
    EXPECT_EQ(listedUnder(form->Nincstrgyfelels1), (Ids{10, 12, 13})) << "Nincs tárgyfelelős";
    EXPECT_EQ(listedUnder(form->PM_LV0), (Ids{10, 11, 12, 13})) << "Összes";
}

TEST_F(ListFilters, AllWithSeveralOccasionsOnlyHidesCoursesOfFewerThanTwo)
{
    addFaculty();
    showTimetable(1);
    form->tobbalkalomCB->setChecked(true);
    Ids ids = listedCourses();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (Ids{10, 12}));
}

TEST_F(ListFilters, MenuDoesNothingWhileNoTimetableIsChosen)
{
    addFaculty();
    form->WorkMode = 3;
    form->SelectionId = 1;
    form->RefreshView();
    form->PM_LV2->trigger();
    EXPECT_EQ(form->ListFilter, 3);
    EXPECT_EQ(listedCourses(), (Ids{10}));
}

class WeekFilter : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        addFaculty();
        // Only weeks 1-2 and 9.
        addCourse({15, "GEO-1", "Geometria", 3, 10}, {1});
        addOccasion(150, 15, Monday1 + 4, 8, 10, "000000001000000", 5);
        addOccasion(151, 15, Monday1 + 4, 12, 14, "110000000000000", 5);
        form->AlkalomCB->setChecked(false);
        form->TimetableId = form->SelectionId = 1;
    }
};

TEST_F(WeekFilter, OnlyOccasionsInTheChosenWeekCount)
{
    form->HetekCB->setCurrentIndex(5);
    Ids ids = listedCourses();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (Ids{10, 11, 12}));
    EXPECT_EQ(items(), (Items{{10, 100}, {11, 110}, {12, 100}})) << "101 runs in weeks 1-4 only";
}

TEST_F(WeekFilter, EveryOccasionCountsWeeksFromTheChosenOnAndDrawsAllOccasions)
{
    form->HetekCB->setCurrentIndex(5);
    form->AlkalomCB->setChecked(true);
    EXPECT_NE(rowOf(15), nullptr);
    EXPECT_EQ(items().count({15, 150}) + items().count({15, 151}), 2u);
    EXPECT_EQ(items().count({10, 101}), 1u);
}

TEST_F(MainWindow, RoomShowsTheCoursesUsingItAndTheirOccasionsThere)
{
    addFaculty();
    form->AlkalomCB->setChecked(false);
    form->WorkMode = 2;
    form->SelectionId = 5;
    form->RefreshView();

    Ids ids = listedCourses();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (Ids{10, 11}));
    EXPECT_EQ(rowOf(10)->text(0), QStringLiteral("MAT-1/r")) << "rooms list the short course code";
    EXPECT_EQ(rowOf(10)->text(5), QStringLiteral("-1"));
    EXPECT_EQ(items(), (Items{{10, 100}, {11, 110}}));
}

TEST_F(MainWindow, RoomWithEveryOccasionDrawsTheOtherRoomsToo)
{
    addFaculty();
    form->AlkalomCB->setChecked(true);
    form->WorkMode = 2;
    form->SelectionId = 5;
    form->RefreshView();
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}}));
}

TEST_F(MainWindow, TeacherShowsTheCoursesTheyTeach)
{
    addFaculty();
    form->WorkMode = 3;
    form->SelectionId = 1;
    form->RefreshView();
    EXPECT_EQ(listedCourses(), (Ids{10}));
    EXPECT_EQ(rowOf(10)->text(5), QStringLiteral("1"));
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}}));
    EXPECT_EQ(itemOf(100)->Oktatok(), QStringLiteral("Kovács Anna"));
    EXPECT_FALSE(DM->MT_kurzusoktato.Filtered());
}

TEST_F(MainWindow, SubjectShowsTheCoursesLinkedToIt)
{
    addFaculty();
    form->WorkMode = 4;
    form->SelectionId = 3;
    form->RefreshView();
    Ids ids = listedCourses();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (Ids{10, 12}));
    EXPECT_EQ(rowOf(12)->text(6), QStringLiteral("3"));
    // The subject view draws each course's own occasions.
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}}));
    EXPECT_FALSE(DM->MT_kurzustargy.Filtered());
}

TEST_F(MainWindow, PickedTimetableDrawsOnlyEachCoursesOwnOccasions)
{
    addFaculty();
    form->WorkMode = 1;
    form->TimetableId = -1;
    form->SelectionId = 1;
    form->RefreshView();
    Ids ids = listedCourses();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (Ids{10, 11, 12, 13}));
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {11, 110}}));
}

TEST_F(MainWindow, FailedRebuildHandsTheSharedTablesBack)
{
    addFaculty();
    form->MT_alkalom_temp.Close();
    form->TimetableId = 1;
    EXPECT_ANY_THROW(form->RefreshView());
    EXPECT_FALSE(DM->MT_kurzusorarend.Filtered());
    EXPECT_EQ(DM->MT_kurzusoktato.MasterSource(), nullptr);
    EXPECT_EQ(DM->MT_kurzustargy.MasterSource(), nullptr);
    EXPECT_FALSE(form->RefreshBusy);
    EXPECT_TRUE(form->VL->updatesEnabled());
}
