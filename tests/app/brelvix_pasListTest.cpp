// Making a course current from the list, the calendar and the occasion panel, and the course
// list's sort, week chooser and spin buttons.

#include "app/brelvix_pasFixture.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QToolButton>

using namespace mainwindowtest;

using Ids = std::vector<int>;

namespace {

void clickHeader(QTreeWidget &list, int column)
{
    QHeaderView *header = list.header();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

} // namespace

class CourseSelection : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        addFaculty();
        form->show();
        showTimetable(1);
    }
    int currentOccasion() { return form->MT_alkalom_temp.FieldByName("alkalom_id")->AsInteger(); }
};

TEST_F(CourseSelection, RebuildSelectsTheFirstCourseInsertedNotTheFirstSorted)
{
    ASSERT_NE(form->LV->currentItem(), nullptr);
    EXPECT_EQ(form->LV->currentItem()->text(4), QStringLiteral("10"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("MAT-1"));
    EXPECT_EQ(form->Edit2->text(), QStringLiteral("Matematika"));
}

TEST_F(CourseSelection, ClickedRowShowsItsOccasionsAndColoursItsItems)
{
    clickRow(*form->LV, rowOf(11));

    EXPECT_EQ(form->MT_alkalom_temp.RecordCount(), 1);
    EXPECT_EQ(currentOccasion(), 110);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("FIZ-1"));
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("0"));
    EXPECT_EQ(itemOf(110)->BGColor(), clMoneyGreen);
    EXPECT_EQ(itemOf(110)->SelBGColor(), clSkyBlue);
    EXPECT_EQ(itemOf(100)->BGColor(), clWhite);
    EXPECT_EQ(itemOf(100)->SelBGColor(), clCream);
}

TEST_F(CourseSelection, AttachedCourseShowsItsHeadsOccasions)
{
    clickRow(*form->LV, rowOf(12));
    EXPECT_EQ(form->MT_alkalom_temp.RecordCount(), 2);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("KEM-1"));
}

TEST_F(CourseSelection, CourseIdColumnStaysHiddenAtAnyWidth)
{
    for (int width : {800, 1600}) {
        form->resize(width, 800);
        QApplication::processEvents();
        EXPECT_EQ(form->LV->header()->sectionSize(4), 0) << width;
    }
}

TEST_F(CourseSelection, CalendarItemSelectsItsRowAndOccasion)
{
    form->SelectCourse(QStringLiteral("VL"), 10, 101);
    ASSERT_NE(form->LV->currentItem(), nullptr);
    EXPECT_EQ(form->LV->currentItem()->text(4), QStringLiteral("10"));
    EXPECT_TRUE(form->LV->currentItem()->isSelected());
    EXPECT_EQ(currentOccasion(), 101) << "the occasion panel stands on the opened occasion";
    EXPECT_EQ(form->DBEdit7->text(), QStringLiteral("2/2")) << "and its counter says so";
    EXPECT_FALSE(form->SelectBusy);
}

TEST_F(CourseSelection, ItemOfACourseOutsideTheListChangesNeitherRowNorColours)
{
    clickRow(*form->LV, rowOf(11));
    form->SelectCourse(QStringLiteral("VL"), 14, 140);
    EXPECT_EQ(form->LV->currentItem()->text(4), QStringLiteral("11"));
    EXPECT_EQ(itemOf(110)->BGColor(), clMoneyGreen);
    EXPECT_EQ(itemOf(100)->BGColor(), clWhite);
}

TEST_F(CourseSelection, UnknownCourseIsReportedInTheCodeEdit)
{
    form->SelectCourse(QStringLiteral("LV"), 999, -1);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("Hiba-642!!!"));
    EXPECT_TRUE(form->Edit2->text().isEmpty());
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("0"));
}

TEST_F(CourseSelection, OccasionPanelOnlyRecoloursTheItems)
{
    form->SelectCourse(QStringLiteral("C"), 11, 110);
    EXPECT_EQ(itemOf(110)->BGColor(), clMoneyGreen);
    EXPECT_EQ(itemOf(100)->BGColor(), clWhite);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("MAT-1")) << "the panels stay on the listed course";
}

TEST_F(CourseSelection, SelectionArrivingDuringAnotherIsIgnored)
{
    form->SelectBusy = true;
    form->SelectCourse(QStringLiteral("LV"), 11, -1);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("MAT-1"));
}

TEST_F(CourseSelection, ClosedCourseTableIsRefusedWithItsMessage)
{
    form->MT_kurzus_temp.Close();
    try {
        form->SelectCourse(QStringLiteral("LV"), 11, -1);
        ADD_FAILURE() << "no error raised";
    } catch (const Exception &error) {
        EXPECT_STREQ(error.what(), "Kurzus tábla nincs megnyitva!");
    }
    EXPECT_FALSE(form->SelectBusy) << "a failed selection does not block the next one";
    form->MT_kurzus_temp.Open();
}

class CourseListOrder : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        addTimetable(1, "Sorrend");
        addCourse({1, "K9", "b", -1, 9}, {1});
        addCourse({2, "K10", "C", -1, 10}, {1});
        addCourse({3, "k11", "a", -1, 100}, {1});
        form->show();
        showTimetable(1);
    }
};

TEST_F(CourseListOrder, CaptionsSortFoldingCaseAndAColumnClickSortsByThatColumnUntilARebuild)
{
    EXPECT_EQ(listedCourses(), (Ids{2, 3, 1}));
    clickHeader(*form->LV, 1);
    EXPECT_EQ(listedCourses(), (Ids{3, 1, 2}));
    clickHeader(*form->LV, 1);
    EXPECT_EQ(listedCourses(), (Ids{3, 1, 2})) << "a second click does not reverse";
    clickHeader(*form->LV, 2);
    EXPECT_EQ(listedCourses(), (Ids{2, 3, 1})) << "head counts sort as text: 10, 100, 9";
    EXPECT_EQ(form->SortColumn, 2);
    form->RefreshView();
    EXPECT_EQ(form->SortColumn, 0);
    EXPECT_EQ(listedCourses(), (Ids{2, 3, 1}));
}

TEST_F(CourseListOrder, SelectedCourseIsInSightAfterTheSort)
{
    // Inserted first, it sorts last, below the rows the list has room for.
    for (int id = 40; id > 10; --id)
        addCourse({id, ("K-" + std::to_string(id)).c_str(), "Kurzus"}, {3});
    showTimetable(3);
    QTreeWidgetItem *selected = form->LV->currentItem();
    ASSERT_NE(selected, nullptr);
    ASSERT_EQ(selected->text(0), QStringLiteral("!K-40"));
    ASSERT_EQ(form->LV->indexOfTopLevelItem(selected), 29);
    const QRect row = form->LV->visualItemRect(selected);
    EXPECT_GE(row.top(), 0);
    EXPECT_LE(row.bottom(), form->LV->viewport()->height());
}

using WeekChooser = CourseSelection;

TEST_F(WeekChooser, UpPastTheLastWeekClearsTheChoiceThenStartsFromZero)
{
    form->HetekCB->setCurrentIndex(15);
    QTest::mouseClick(form->het_SPBUp, Qt::LeftButton);
    EXPECT_EQ(form->HetekCB->currentIndex(), -1);
    EXPECT_EQ(form->LV->topLevelItemCount(), 4) << "no entry chosen means no week filter";
    QTest::mouseClick(form->het_SPBUp, Qt::LeftButton);
    EXPECT_EQ(form->HetekCB->currentText(), QStringLiteral("0"));
}

TEST_F(WeekChooser, DownStepsBackAndRebuildsButStopsAtZeroWithoutARebuild)
{
    struct Case {
        int from;
        int to;
        bool rebuilds;
    };
    for (const Case &c : {Case{6, 5, true}, Case{0, 0, false}, Case{-1, 0, false}}) {
        form->HetekCB->setCurrentIndex(c.from);
        form->LV->clear();
        QTest::mouseClick(form->het_SPBDown, Qt::LeftButton);
        EXPECT_EQ(form->HetekCB->currentIndex(), c.to) << "from " << c.from;
        EXPECT_EQ(form->LV->topLevelItemCount() > 0, c.rebuilds) << "from " << c.from;
    }
}

TEST_F(CourseSelection, OpeningAnItemSelectsItsCourse)
{
    form->VL->OnDetails(*form->VL, itemOf(110));
    EXPECT_EQ(form->LV->currentItem()->text(4), QStringLiteral("11"));
    EXPECT_EQ(currentOccasion(), 110);
    EXPECT_EQ(itemOf(110)->BGColor(), clMoneyGreen);
    EXPECT_EQ(itemOf(101)->BGColor(), clWhite);
}
