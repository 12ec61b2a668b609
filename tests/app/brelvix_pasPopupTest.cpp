// The calendar items' popup: the timetables and subjects of the selected course, switching to
// a timetable, and the occupancy launches that need a course or a room.

#include "app/brelvix_pasFixture.h"
#include "calendar/veltoCalendar.h"
#include "dialogs/csoportfog.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <algorithm>

using namespace mainwindowtest;

class ItemPopup : public MainWindow {
protected:
    // Selects the course's list row as a click would.
    void selectRow(int kurzusId) { form->LV->setCurrentItem(rowOf(kurzusId)); }
    void SetUp() override
    {
        MainWindow::SetUp();
        csoportfoglalasok = new Tcsoportfoglalasok;
        addFaculty();
        form->show();
        showTimetable(1);
        selectRow(10);
    }
    void TearDown() override
    {
        delete csoportfoglalasok;
        csoportfoglalasok = nullptr;
        MainWindow::TearDown();
    }
    void openPopup() { emit form->PMSajat->aboutToShow(); }
    static QStringList captions(const QMenu &menu)
    {
        QStringList result;
        for (const QAction *action : menu.actions())
            result << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return result;
    }
    static QStringList ticked(const QMenu &menu)
    {
        QStringList result;
        for (const QAction *action : menu.actions()) {
            if (action->isChecked())
                result << action->text();
        }
        return result;
    }
};

TEST_F(ItemPopup, ListsEveryTimetableOfTheCourseAndSwitchesToTheChosenOne)
{
    appendRow(DM->MT_kurzusorarend, {{"kurzus_id", 10}, {"orarend_id", 2}});
    ASSERT_TRUE(DM->MT_orarend.Locate("orarend_id", 2, {}));
    DM->MT_orarend.Edit();
    DM->MT_orarend.FieldByName("hetek")->SetAsString("101010101010101");
    DM->MT_orarend.Post();
    openPopup();
    ASSERT_EQ(captions(*form->Orarendben),
              (QStringList{QStringLiteral("Első évfolyam"), QStringLiteral("Második")}));

    form->WorkMode = 3;
    form->Orarendben->actions().at(1)->trigger();
    EXPECT_EQ(form->TimetableId, 2);
    EXPECT_EQ(form->SelectionId, 2);
    EXPECT_EQ(form->WeekMask, "101010101010101");
    EXPECT_EQ(form->WorkMode, 0);
    EXPECT_TRUE(form->UM_orarendek->isChecked());
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Órarendek"));
    EXPECT_TRUE(form->windowTitle().endsWith(QStringLiteral(": Második")));
    std::vector<int> listed = listedCourses();
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, std::vector<int>({10, 14}));
}

TEST_F(ItemPopup, CourseOwnSubjectShowsTickedAfterItsLinkedSubjects)
{
    addCourse({20, "X-1", "", 4}, {1});
    linkSubject(20, 3);
    showTimetable(1);
    selectRow(20);
    ASSERT_EQ(form->LV->selectedItems().value(0), rowOf(20));
    openPopup();
    EXPECT_EQ(captions(*form->Alapertelmezes),
              (QStringList{QStringLiteral("MAT, Matematika"), QStringLiteral("BIO, Biológia")}));
    EXPECT_EQ(ticked(*form->Alapertelmezes), QStringList{QStringLiteral("BIO, Biológia")});
}

TEST_F(ItemPopup, TemplateSubjectsFollowASeparatorThatACourseWithoutTemplateLacks)
{
    openPopup();
    EXPECT_EQ(captions(*form->Alapertelmezes), QStringList{QStringLiteral("MAT, Matematika")});
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 90007}, {"targy_id", 4}});
    appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", 90007}, {"targy_id", 4}});
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 10, {}));
    DM->MT_kurzus.Edit();
    DM->MT_kurzus.FieldByName("kurzusminta_id")->SetAsInteger(90007);
    DM->MT_kurzus.Post();
    openPopup();
    EXPECT_EQ(captions(*form->Alapertelmezes),
              (QStringList{QStringLiteral("MAT, Matematika"), QStringLiteral("-"),
                           QStringLiteral("BIO, Biológia")}));
    EXPECT_EQ(ticked(*form->Alapertelmezes),
              (QStringList{QStringLiteral("MAT, Matematika"), QStringLiteral("BIO, Biológia")}));
}

TEST_F(ItemPopup, ChoosingASubjectChangesNothing)
{
    openPopup();
    form->Alapertelmezes->actions().at(0)->trigger();
    EXPECT_EQ(form->TimetableId, 1);
    EXPECT_EQ(listedCourses().size(), 4u);
}

TEST_F(ItemPopup, OccupancyOpensNothingForAnOccasionWithoutRoomOrWithoutASelectedCourse)
{
    form->SelectCourse(QStringLiteral("VL"), 10, 101);
    ASSERT_EQ(form->MT_alkalom_temp.FieldByName("terem_id")->AsInteger(), 0);
    EXPECT_EQ(answeringModals([&] { form->Foglalsok3->trigger(); },
                              [](QWidget &modal) { static_cast<QDialog &>(modal).reject(); }),
              0);
    form->LV->clearSelection();
    EXPECT_EQ(answeringModals([&] { form->Foglalsok1->trigger(); },
                              [](QWidget &modal) { static_cast<QDialog &>(modal).reject(); }),
              0);
}

TEST_F(ItemPopup, GroupOccupancyOpensInTheModeOfTheEntryWithTheMainCalendarsDays)
{
    form->VL->SetHetek(2);
    const std::pair<QAction *, int> entries[] = {
        {form->Foglalsok2, Tcsoportfoglalasok::TantargyFoglalasai},
        {form->Foglalasok4, Tcsoportfoglalasok::KapcsolodoTargyakFoglalasai},
        {form->Foglalsok3, Tcsoportfoglalasok::TeremFoglalasai}};
    for (const auto &[action, mode] : entries) {
        QAction *entry = action;
        int shownMode = -1;
        int weeks = 0;
        const int shown = answeringModals([&] { entry->trigger(); },
                                          [&](QWidget &modal) {
                                              shownMode = csoportfoglalasok->FoglalasMod;
                                              weeks = csoportfoglalasok->VL->Hetek();
                                              static_cast<QDialog &>(modal).reject();
                                          });
        EXPECT_EQ(shown, 1) << entry->text().toStdString();
        EXPECT_EQ(shownMode, mode);
        EXPECT_EQ(weeks, 2);
    }
}
