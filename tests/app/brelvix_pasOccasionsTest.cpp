// Editing occasions: moving and resizing their items with a confirmation, deleting and adding
// them, their frequency, and the texts of the occasion panel.

#include "app/brelvix_pasFixture.h"
#include "dialogs/hetek_edit.h"
#include "dialogs/teremval.h"
#include "platform/widgets/DBCtrls.h"
#include "platform/widgets/DBGrids.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <cmath>

using namespace mainwindowtest;

class OccasionEditing : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        edithetek = new Tedithetek;
        teremvalasztas = new Tteremvalasztas;
        addFaculty();
        form->resize(1200, 800);
        form->show();
        showTimetable(1);
        form->SelectCourse(QStringLiteral("VL"), 10, 100);
    }
    void TearDown() override
    {
        delete edithetek;
        edithetek = nullptr;
        delete teremvalasztas;
        teremvalasztas = nullptr;
        MainWindow::TearDown();
    }

    QWidget *grid() const { return form->VL->viewport(); }
    QPoint cellCentre(int col, int row) const { return form->VL->CellRect(col, row).center(); }
    // A drag as the user makes it: press on the box, move in steps, release.
    void drag(TCustomCalendarItem *item, Qt::KeyboardModifiers keys, QPoint from, QPoint to)
    {
        QPointer<QWidget> box = item->Obj();
        QTest::mousePress(box, Qt::LeftButton, keys, box->mapFrom(grid(), from));
        QTest::mouseMove(box, box->mapFrom(grid(), from + (to - from) / 2));
        QTest::mouseMove(box, box->mapFrom(grid(), to));
        QTest::mouseRelease(box, Qt::LeftButton, keys, box->mapFrom(grid(), to));
    }
    double stored(int alkalomId, const char *field)
    {
        DM->MT_alkalom.SetFiltered(false);
        EXPECT_TRUE(DM->MT_alkalom.Locate("alkalom_id", alkalomId, {}));
        return double(DM->MT_alkalom.FieldByName(field)->AsDateTime());
    }
    bool occasionExists(int alkalomId)
    {
        DM->MT_alkalom.SetFiltered(false);
        return DM->MT_alkalom.Locate("alkalom_id", alkalomId, {});
    }
};

TEST_F(OccasionEditing, CtrlDragWritesTheNewTimeIntoTheOccasionOnlyWhenConfirmed)
{
    TSajat *item = itemOf(100);
    const QPoint from = item->Obj()->geometry().center();
    messagesOf([&] { drag(item, Qt::ControlModifier, from, cellCentre(2, 3)); }, QMessageBox::Cancel);
    EXPECT_DOUBLE_EQ(stored(100, "kezd_ido"), double(at(Monday1, 8, 0)));
    EXPECT_DOUBLE_EQ(double(itemOf(100)->Start()), double(at(Monday1, 8, 0)));

    QStringList asked =
        messagesOf([&] { drag(item, Qt::ControlModifier, from, cellCentre(2, 3)); }, QMessageBox::Ok);

    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(
        QStringLiteral("Valóban le akarja cserélni?\r\n\r\n\r\nRégi időpont:Hétfő 08:00-10:00")))
        << asked[0].toStdString();
    ASSERT_NE(itemOf(100), nullptr);
    const double start = double(itemOf(100)->Start());
    EXPECT_NE(start, double(at(Monday1, 8, 0)));
    EXPECT_DOUBLE_EQ(stored(100, "kezd_ido"), start);
    EXPECT_EQ(itemOf(100)->Length(),
              int(std::lround((stored(100, "veg_ido") - stored(100, "kezd_ido")) * 1440)));
    EXPECT_TRUE(asked[0].endsWith(QStringLiteral("Új időpont:") + itemOf(100)->StartText() +
                                  QLatin1Char('-') + itemOf(100)->EndTimeText()));
}

TEST_F(OccasionEditing, ConfirmedDragMovesTheDraggedOccasionWhicheverThePanelShows)
{
    // 101 belongs to the panel's course, 110 to another one.
    for (const int alkalomId : {101, 110}) {
        ASSERT_EQ(form->MT_alkalom_temp.FieldByName("alkalom_id")->AsInteger(), 100);
        const double before = stored(alkalomId, "kezd_ido");
        TSajat *item = itemOf(alkalomId);
        const QPoint from = item->Obj()->geometry().center();
        const QStringList asked =
            messagesOf([&] { drag(item, Qt::ControlModifier, from, cellCentre(5, 8)); }, QMessageBox::Ok);
        ASSERT_EQ(asked.size(), 1) << alkalomId;
        EXPECT_NE(stored(alkalomId, "kezd_ido"), before) << alkalomId;
        EXPECT_DOUBLE_EQ(double(itemOf(alkalomId)->Start()), stored(alkalomId, "kezd_ido")) << alkalomId;
        EXPECT_TRUE(itemOf(alkalomId)->StartText().startsWith(QStringLiteral("Péntek"))) << alkalomId;
        form->SelectCourse(QStringLiteral("VL"), 10, 100);
    }
}

TEST_F(OccasionEditing, MoveQuestionShowsTheOldAndTheNewTime)
{
    addCourse({20, "X-1", "Próba", -1}, {1});
    addOccasion(200, 20, Monday1, 8, 9);
    DM->MT_alkalom.Locate("alkalom_id", 200, {});
    DM->MT_alkalom.Edit();
    DM->MT_alkalom.FieldByName("veg_ido")->SetAsDateTime(at(Monday1, 9, 30));
    DM->MT_alkalom.Post();
    showTimetable(1);
    form->SelectCourse(QStringLiteral("VL"), 20, 200);
    bool accept = false;
    const QStringList asked = messagesOf(
        [&] { form->VLMoving(itemOf(200), at(Monday1 + 1, 10, 0), at(Monday1 + 1, 11, 30), accept); },
        QMessageBox::Ok);
    EXPECT_EQ(asked, QStringList{QStringLiteral(
                         "Valóban le akarja cserélni?\r\n\r\n\r\nRégi időpont:Hétfő 08:00-09:30"
                         "\r\n\r\nÚj időpont:Kedd 10:00-11:30")});
    EXPECT_TRUE(accept);
    EXPECT_DOUBLE_EQ(stored(200, "kezd_ido"), double(at(Monday1 + 1, 10, 0)));
    EXPECT_DOUBLE_EQ(stored(200, "veg_ido"), double(at(Monday1 + 1, 11, 30)));
}

TEST_F(OccasionEditing, ConfirmedShiftDragResizesTheOccasion)
{
    TSajat *item = itemOf(100);
    const QRect box = item->Obj()->geometry();
    const QPoint from(box.center().x(), box.bottom() - 2);
    const QStringList asked = messagesOf(
        [&] { drag(item, Qt::ShiftModifier, from, from + QPoint(0, 3 * box.height())); }, QMessageBox::Ok);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(QStringLiteral("Valóban megakarja változtatni?")));
    EXPECT_DOUBLE_EQ(stored(100, "kezd_ido"), double(itemOf(100)->Start()));
    EXPECT_GT(stored(100, "veg_ido"), double(at(Monday1, 10, 0)));
    EXPECT_EQ(itemOf(100)->Length(),
              int(std::lround((stored(100, "veg_ido") - stored(100, "kezd_ido")) * 1440)));
}

TEST_F(OccasionEditing, DeletionAsksAndRemovesTheSelectedOccasionAndItsItem)
{
    form->VL->SetSelectedItem(nullptr);
    EXPECT_TRUE(messagesOf([&] { form->rls2->trigger(); }, QMessageBox::Ok).isEmpty()) << "nothing selected";
    EXPECT_TRUE(occasionExists(100));

    form->VL->SetSelectedItem(itemOf(110));
    const QStringList cancelled = messagesOf([&] { form->rls2->trigger(); }, QMessageBox::Cancel);
    EXPECT_EQ(cancelled, QStringList{QStringLiteral(
                             "Valóban megakarja szüntetni?\r\n\r\n\r\nIdőpont:Kedd 08:00-10:00")});
    EXPECT_TRUE(occasionExists(110));
    EXPECT_NE(itemOf(110), nullptr);

    // Opening the item's popup selects it again.
    form->VL->SetSelectedItem(itemOf(110));
    messagesOf([&] { form->rls2->trigger(); }, QMessageBox::Ok);
    EXPECT_FALSE(occasionExists(110));
    EXPECT_EQ(itemOf(110), nullptr);
    EXPECT_TRUE(occasionExists(100)) << "the panel's occasion was not the one asked about";
}

TEST_F(OccasionEditing, AddedOccasionTakesTheSelectedCellsAndTheWeekMask)
{
    form->WeekMask = "110011001100110";
    QTest::mouseClick(grid(), Qt::LeftButton, {}, cellCentre(5, 6));
    const int day = form->VL->CurrentDay();
    const int start = form->VL->SelStartMinute();
    const int end = form->VL->SelEndMinute();
    const int before = DM->MT_alkalom.RecordCount();
    form->Felvetel->trigger();

    DM->MT_alkalom.SetFiltered(false);
    ASSERT_EQ(DM->MT_alkalom.RecordCount(), before + 1);
    const int id = form->MT_alkalom_temp.FieldByName("alkalom_id")->AsInteger();
    ASSERT_TRUE(DM->MT_alkalom.Locate("alkalom_id", id, {}));
    EXPECT_EQ(DM->MT_alkalom.FieldByName("kurzus_id")->AsInteger(), 10);
    EXPECT_DOUBLE_EQ(double(DM->MT_alkalom.FieldByName("kezd_ido")->AsDateTime()), day + start / 1440.0);
    EXPECT_DOUBLE_EQ(double(DM->MT_alkalom.FieldByName("veg_ido")->AsDateTime()), day + end / 1440.0);
    EXPECT_EQ(DM->MT_alkalom.FieldByName("gyakorisag")->AsInteger(), 5);
    EXPECT_EQ(DM->MT_alkalom.FieldByName("terem_id")->AsInteger(), 0);
    EXPECT_EQ(DM->MT_alkalom.FieldByName("hetek")->AsString(), "110011001100110");
    ASSERT_NE(itemOf(id), nullptr);
    EXPECT_EQ(itemOf(id)->KurzusID, 10);
    EXPECT_FALSE(form->RefreshBusy) << "moving in the panel selects again at once";
    // The panel stands on the new occasion, ready for its room to be chosen.
    EXPECT_EQ(form->DBEdit2->text(), QStringLiteral("%1:%2")
                                         .arg(start / 60, 2, 10, QLatin1Char('0'))
                                         .arg(start % 60, 2, 10, QLatin1Char('0')));
    EXPECT_EQ(form->DBEdit6->text(), QStringLiteral("Nincs meg a terem"));
}

TEST_F(OccasionEditing, AddedOccasionWithoutAWeekMaskRunsEveryWeek)
{
    form->WeekMask.clear();
    QTest::mouseClick(grid(), Qt::LeftButton, {}, cellCentre(2, 2));
    form->Felvetel->trigger();
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("gyakorisag")->AsInteger(), 0);
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("hetek")->AsString(), "111111111111111");
    EXPECT_EQ(form->WeekMask, "111111111111111");
}

TEST_F(OccasionEditing, AddingWithoutASelectedCourseAddsNothing)
{
    form->LV->clearSelection();
    DM->MT_alkalom.SetFiltered(false);
    const int before = DM->MT_alkalom.RecordCount();
    form->Felvetel->trigger();
    DM->MT_alkalom.SetFiltered(false);
    EXPECT_EQ(DM->MT_alkalom.RecordCount(), before);
}

TEST_F(OccasionEditing, CustomFrequencyComesFromTheWeekEditorOnlyOnOk)
{
    answeringModals([&] { form->Het[5]->trigger(); },
                    [](QWidget &modal) { static_cast<QDialog &>(modal).reject(); });
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("hetek")->AsString(), "111111111111111");

    answeringModals([&] { form->Het[5]->trigger(); },
                    [](QWidget &modal) {
                        edithetek->Hetek = "100000000000001";
                        edithetek->Gyakorisag = 999;
                        // The editor reads its boxes back on OK; filling them is its own affair.
                        static_cast<QDialog &>(modal).done(QDialog::Accepted);
                    });
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("gyakorisag")->AsInteger(), edithetek->Gyakorisag);
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("hetek")->AsString(), edithetek->Hetek);
}

TEST_F(OccasionEditing, CustomFrequenciesAreNamedAlike)
{
    for (int code : {999, 5}) {
        form->MT_alkalom_temp.Edit();
        form->MT_alkalom_temp.FieldByName("gyakorisag")->SetAsInteger(code);
        form->MT_alkalom_temp.Post();
        EXPECT_EQ(form->DBEdit5->text(), QStringLiteral("Egyedi beosztás    ")) << code;
    }
}

class OccasionPanel : public OccasionEditing {
protected:
    // The boxes the planner sees: day, start, end, frequency, room, count.
    std::vector<QLineEdit *> shownBoxes() const
    {
        return {form->DBEdit1, form->DBEdit2, form->DBEdit3, form->DBEdit5, form->DBEdit6, form->DBEdit7};
    }
    QStringList boxes() const
    {
        QStringList texts;
        for (QLineEdit *box : shownBoxes())
            texts << box->text().trimmed();
        return texts;
    }
    void clickNextOccasion()
    {
        QScrollBar *bar = form->DBCtrlGrid1->verticalScrollBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
    }
    // Opens the dialog a double click on the box brings up and lets `use` work it; the number of
    // dialogs that opened.
    int doubleClickAndUse(QLineEdit *box, QDialog *expected, const std::function<void()> &use)
    {
        return answeringModals([&] { QTest::mouseDClick(box, Qt::LeftButton); },
                               [&](QWidget &modal) {
                                   ASSERT_EQ(&modal, expected);
                                   use();
                               });
    }
};

TEST_F(OccasionPanel, ShowsTheCurrentOccasionAndItsBarStepsThroughTheCourse)
{
    ASSERT_TRUE(form->DBCtrlGrid1->Panel()->isEnabled());
    EXPECT_EQ(boxes(), (QStringList{"Hétfő", "08:00", "10:00", "Minden héten", "B-101", "2/1"}));
    clickNextOccasion();
    EXPECT_EQ(boxes(), (QStringList{"Szerda", "10:00", "12:00", "Minden héten", "Nincs meg a terem", "2/2"}));
    EXPECT_EQ(itemOf(101)->BGColor(), clMoneyGreen);
    // Course 11's one occasion comes after course 10's in the store.
    clickRow(*form->LV, rowOf(11));
    EXPECT_EQ(boxes(), (QStringList{"Kedd", "08:00", "10:00", "Minden héten", "B-101", "1/1"}));
}

TEST_F(OccasionPanel, DoubleClickOnTheRoomBoxChoosesARoomForTheOccasion)
{
    clickNextOccasion();
    const int opened = doubleClickAndUse(form->DBEdit6, teremvalasztas, [] {
        TDBGrid *grid = teremvalasztas->DBGrid1;
        TDataSet &rooms = *grid->DataSet();
        int row = 0;
        for (rooms.First(); !rooms.Eof() && rooms.FieldByName("terem_id")->AsInteger() != 6; rooms.Next())
            ++row;
        rooms.First();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(1, row).center());
        QTest::mouseClick(teremvalasztas->Button1, Qt::LeftButton);
    });
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(form->DBEdit6->text(), QStringLiteral("A-2"));
    EXPECT_EQ(itemOf(101)->Kiiras(), QStringLiteral("A-2"));
}

TEST_F(OccasionPanel, DoubleClickOnTheFrequencyBoxEditsTheWeeks)
{
    const int opened = doubleClickAndUse(form->DBEdit5, edithetek, [] {
        for (QRadioButton *choice : edithetek->Gyak->findChildren<QRadioButton *>()) {
            if (choice->text() == QStringLiteral("Páros héten"))
                QTest::mouseClick(choice, Qt::LeftButton);
        }
        QTest::mouseClick(edithetek->Button1, Qt::LeftButton);
    });
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(boxes(), (QStringList{"Hétfő", "08:00", "10:00", "Páros héten", "B-101", "2/1"}));
    EXPECT_EQ(itemOf(100)->Hetek(), QStringLiteral("010101010101010"));
    EXPECT_EQ(itemOf(100)->Kiiras(), QStringLiteral("B-101"));
}

TEST_F(OccasionPanel, RightClickOnTheFrequencyBoxOffersTheFrequencies)
{
    QLineEdit *box = form->DBEdit5;
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, box->rect().center(),
                                 box->mapToGlobal(box->rect().center()));
    QApplication::sendEvent(box, &rightClick);
    ASSERT_TRUE(form->popupgyak->isVisible());
    QTest::mouseClick(form->popupgyak, Qt::LeftButton, {},
                      form->popupgyak->actionGeometry(form->Het[1]).center());
    EXPECT_EQ(box->text().trimmed(), QStringLiteral("Páratlan héten"));
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("hetek")->AsString(), "101010101010101");
    EXPECT_EQ(itemOf(100)->Subject(), QStringLiteral("MAT-1; Matematika; B-101; +; Kovács Anna"));
}

TEST_F(OccasionPanel, EveryBoxShowsItsWholeText)
{
    clickNextOccasion();
    const QRect visible = form->DBCtrlGrid1->viewport()->rect();
    for (QLineEdit *box : shownBoxes()) {
        const QRect shown(box->mapTo(form->DBCtrlGrid1->viewport(), QPoint()), box->size());
        EXPECT_TRUE(visible.contains(shown)) << box->objectName().toStdString();
        EXPECT_TRUE(showsWholeText(*box, box->text()))
            << box->objectName().toStdString() << ": " << box->text().toStdString();
    }
}
