// Editing occasions: moving and resizing their items with a confirmation, deleting and adding
// them, their frequency and room from the occasion panel; and the items' popup menu with the
// course's timetables and subjects and the occupancy launches.

#include "app/brelvix_pasFixture.h"
#include "calendar/veltoCalendar.h"
#include "dialogs/csoportfog.h"
#include "dialogs/hetek_edit.h"
#include "dialogs/teremval.h"
#include "platform/widgets/DBCtrls.h"
#include "platform/widgets/DBGrids.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTime>
#include <cmath>

using namespace mainwindowtest;

class OccasionEditing : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        own(edithetek);
        own(teremvalasztas);
        own(csoportfoglalasok);
        addFaculty();
        form->resize(1200, 800);
        form->show();
        showTimetable(1);
        form->SelectCourse(QStringLiteral("VL"), 10, 100);
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
    void expectItemMatchesItsRow(int alkalomId)
    {
        EXPECT_DOUBLE_EQ(double(itemOf(alkalomId)->Start()), stored(alkalomId, "kezd_ido")) << alkalomId;
        EXPECT_EQ(itemOf(alkalomId)->Length(),
                  int(std::lround((stored(alkalomId, "veg_ido") - stored(alkalomId, "kezd_ido")) * 1440)));
    }
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
};

TEST_F(OccasionEditing, DragAsksWithTheOldAndTheNewTimeAndWritesTheDraggedOccasionOnlyOnOk)
{
    TSajat *item = itemOf(100);
    const QPoint from = item->Obj()->geometry().center();
    messagesOf([&] { drag(item, Qt::ControlModifier, from, cellCentre(2, 3)); }, QMessageBox::Cancel);
    EXPECT_DOUBLE_EQ(stored(100, "kezd_ido"), double(at(Monday1, 8, 0)));
    EXPECT_DOUBLE_EQ(double(itemOf(100)->Start()), double(at(Monday1, 8, 0)));

    const QStringList asked = messagesOf([&] { drag(item, Qt::ControlModifier, from, cellCentre(2, 3)); });
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0], QStringLiteral("Valóban le akarja cserélni?\r\n\r\n\r\nRégi időpont:Hétfő 08:00-10:00\r\n\r\nÚj időpont:") +
                            itemOf(100)->StartText() + QLatin1Char('-') + itemOf(100)->EndTimeText());
    EXPECT_NE(stored(100, "kezd_ido"), double(at(Monday1, 8, 0)));
    expectItemMatchesItsRow(100);

    // A resize asks its own question.
    const QRect box = itemOf(110)->Obj()->geometry();
    const QPoint bottom(box.center().x(), box.bottom() - 2);
    const QStringList resized =
        messagesOf([&] { drag(itemOf(110), Qt::ShiftModifier, bottom, bottom + QPoint(0, 3 * box.height())); });
    ASSERT_EQ(resized.size(), 1);
    EXPECT_TRUE(resized[0].startsWith(QStringLiteral("Valóban megakarja változtatni?\r\n\r\n\r\nRégi időpont:Kedd 08:00-10:00")));
    EXPECT_GT(stored(110, "veg_ido"), double(at(Monday1 + 1, 10, 0)));
    expectItemMatchesItsRow(110);

    // 101 belongs to the panel's course, 110 to another one: the dragged occasion moves.
    for (const int alkalomId : {101, 110}) {
        form->SelectCourse(QStringLiteral("VL"), 10, 100);
        const double before = stored(alkalomId, "kezd_ido");
        TSajat *other = itemOf(alkalomId);
        ASSERT_EQ(messagesOf([&] { drag(other, Qt::ControlModifier, other->Obj()->geometry().center(), cellCentre(5, 8)); }).size(), 1);
        EXPECT_NE(stored(alkalomId, "kezd_ido"), before) << alkalomId;
        expectItemMatchesItsRow(alkalomId);
        EXPECT_TRUE(itemOf(alkalomId)->StartText().startsWith(QStringLiteral("Péntek"))) << alkalomId;
    }

    // The handler's words for a move from Monday 08:00-09:30 to Tuesday 10:00-11:30.
    setField(DM->MT_alkalom, "veg_ido", at(Monday1, 9, 30));
    setField(DM->MT_alkalom, "kezd_ido", at(Monday1, 8, 0));
    form->UpdateOccasionInCalendar(DM->MT_alkalom);
    bool accept = false;
    EXPECT_EQ(messagesOf([&] { form->VLMoving(itemOf(110), at(Monday1 + 1, 10, 0), at(Monday1 + 1, 11, 30), accept); }),
              QStringList{QStringLiteral("Valóban le akarja cserélni?\r\n\r\n\r\nRégi időpont:Hétfő 08:00-09:30"
                                         "\r\n\r\nÚj időpont:Kedd 10:00-11:30")});
    EXPECT_TRUE(accept);
    EXPECT_DOUBLE_EQ(stored(110, "kezd_ido"), double(at(Monday1 + 1, 10, 0)));
    EXPECT_DOUBLE_EQ(stored(110, "veg_ido"), double(at(Monday1 + 1, 11, 30)));
    EXPECT_EQ(itemOf(110)->Length(), 90);
}

TEST_F(OccasionEditing, DeletionAsksAndRemovesTheSelectedOccasionAndItsItem)
{
    form->VL->SetSelectedItem(nullptr);
    EXPECT_TRUE(messagesOf([&] { form->rls2->trigger(); }).isEmpty()) << "nothing selected";
    form->VL->SetSelectedItem(itemOf(110));
    EXPECT_EQ(messagesOf([&] { form->rls2->trigger(); }, QMessageBox::Cancel),
              QStringList{QStringLiteral("Valóban megakarja szüntetni?\r\n\r\n\r\nIdőpont:Kedd 08:00-10:00")});
    EXPECT_TRUE(occasionExists(110));
    EXPECT_NE(itemOf(110), nullptr);
    // Opening the item's popup selects it again.
    form->VL->SetSelectedItem(itemOf(110));
    messagesOf([&] { form->rls2->trigger(); });
    EXPECT_FALSE(occasionExists(110));
    EXPECT_EQ(itemOf(110), nullptr);
    EXPECT_EQ(form->VL->Items().Count(), 4);
    EXPECT_TRUE(occasionExists(100)) << "the panel's occasion was not the one asked about";
}

TEST_F(OccasionEditing, AddedOccasionTakesTheSelectedCellsTheWeekMaskAndInRoomModeTheRoom)
{
    form->WeekMask = "110011001100110";
    QTest::mouseClick(grid(), Qt::LeftButton, {}, cellCentre(5, 6));
    const int day = form->VL->CurrentDay(), start = form->VL->SelStartMinute(), end = form->VL->SelEndMinute();
    DM->MT_alkalom.SetFiltered(false);
    const int before = DM->MT_alkalom.RecordCount();
    form->Felvetel->trigger();
    DM->MT_alkalom.SetFiltered(false);
    ASSERT_EQ(DM->MT_alkalom.RecordCount(), before + 1);
    const int id = currentOccasion();
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
    EXPECT_EQ(form->DBEdit2->text(), QTime(0, 0).addSecs(start * 60).toString(QStringLiteral("hh:mm")));
    EXPECT_EQ(form->DBEdit6->text(), QStringLiteral("Nincs meg a terem"));
    EXPECT_EQ(form->DBEdit5->text().trimmed(), QStringLiteral("Egyedi beosztás"));

    for (const auto &[mask, code] : {std::pair{"", 0}, std::pair{"101010101010101", 1}, std::pair{"000100010001000", 4}}) {
        form->WeekMask = mask;
        form->Felvetel->trigger();
        EXPECT_EQ(form->MT_alkalom_temp.FieldByName("gyakorisag")->AsInteger(), code) << mask;
        EXPECT_EQ(form->MT_alkalom_temp.FieldByName("hetek")->AsString(), code ? mask : "111111111111111");
    }
    EXPECT_EQ(form->WeekMask, "000100010001000");

    // A single reservation in room mode puts the new occasion into the chosen room.
    form->WorkMode = 2;
    form->SelectionId = 6;
    form->B_egyedifoglalasClick();
    form->Felvetel->trigger();
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("terem_id")->AsInteger(), 6);

    form->LV->clearSelection();
    DM->MT_alkalom.SetFiltered(false);
    const int all = DM->MT_alkalom.RecordCount();
    form->Felvetel->trigger();
    DM->MT_alkalom.SetFiltered(false);
    EXPECT_EQ(DM->MT_alkalom.RecordCount(), all) << "no course selected";
}

TEST_F(OccasionEditing, PanelShowsTheCurrentOccasionAndEditsItsFrequencyAndRoom)
{
    ASSERT_TRUE(form->DBCtrlGrid1->Panel()->isEnabled());
    EXPECT_EQ(boxes(), (QStringList{"Hétfő", "08:00", "10:00", "Minden héten", "B-101", "2/1"}));
    QScrollBar *bar = form->DBCtrlGrid1->verticalScrollBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
    EXPECT_EQ(boxes(), (QStringList{"Szerda", "10:00", "12:00", "Minden héten", "Nincs meg a terem", "2/2"}));
    EXPECT_EQ(itemOf(101)->BGColor(), clMoneyGreen);
    const QRect visible = form->DBCtrlGrid1->viewport()->rect();
    for (QLineEdit *box : shownBoxes()) {
        EXPECT_TRUE(visible.contains(QRect(box->mapTo(form->DBCtrlGrid1->viewport(), QPoint()), box->size())))
            << box->objectName().toStdString();
        EXPECT_TRUE(showsWholeText(*box, box->text())) << box->objectName().toStdString();
    }

    // A double click on the room box chooses a room for the occasion.
    const auto doubleClick = [&](QLineEdit *box, QDialog *expected, const std::function<void()> &use) {
        return answeringModals([&] { QTest::mouseDClick(box, Qt::LeftButton); },
                               [&](QWidget &modal) {
                                   ASSERT_EQ(&modal, expected);
                                   use();
                               });
    };
    ASSERT_EQ(doubleClick(form->DBEdit6, teremvalasztas,
                          [] {
                              TDBGrid *rooms = teremvalasztas->DBGrid1;
                              TDataSet &table = *rooms->DataSet();
                              int row = 0;
                              for (table.First(); !table.Eof() && table.FieldByName("terem_id")->AsInteger() != 6; table.Next())
                                  ++row;
                              table.First();
                              QTest::mouseClick(rooms->viewport(), Qt::LeftButton, {}, rooms->CellRect(1, row).center());
                              QTest::mouseClick(teremvalasztas->Button1, Qt::LeftButton);
                          }),
              1);
    EXPECT_EQ(form->DBEdit6->text(), QStringLiteral("A-2"));
    EXPECT_EQ(itemOf(101)->Kiiras(), QStringLiteral("A-2"));

    // A double click on the frequency box edits the weeks.
    ASSERT_EQ(doubleClick(form->DBEdit5, edithetek,
                          [] {
                              for (QRadioButton *choice : edithetek->Gyak->findChildren<QRadioButton *>()) {
                                  if (choice->text() == QStringLiteral("Páros héten"))
                                      QTest::mouseClick(choice, Qt::LeftButton);
                              }
                              QTest::mouseClick(edithetek->Button1, Qt::LeftButton);
                          }),
              1);
    EXPECT_EQ(boxes(), (QStringList{"Szerda", "10:00", "12:00", "Páros héten", "A-2", "2/2"}));
    EXPECT_EQ(itemOf(101)->Hetek(), QStringLiteral("010101010101010"));
    EXPECT_EQ(itemOf(101)->Kiiras(), QStringLiteral("A-2"));

    // A right click offers the frequencies; the chosen one shows on the item at once.
    QLineEdit *frequency = form->DBEdit5;
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, frequency->rect().center(),
                                 frequency->mapToGlobal(frequency->rect().center()));
    QApplication::sendEvent(frequency, &rightClick);
    ASSERT_TRUE(form->popupgyak->isVisible());
    QTest::mouseClick(form->popupgyak, Qt::LeftButton, {}, form->popupgyak->actionGeometry(form->Het[1]).center());
    EXPECT_EQ(frequency->text().trimmed(), QStringLiteral("Páratlan héten"));
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("hetek")->AsString(), "101010101010101");
    EXPECT_EQ(itemOf(101)->Subject(), QStringLiteral("MAT-1; Matematika; A-2; +; Kovács Anna"));
    for (int code : {0, 2, 3, 4}) {
        form->Het[code]->trigger();
        EXPECT_EQ(form->MT_alkalom_temp.FieldByName("gyakorisag")->AsInteger(), code);
    }
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("hetek")->AsString(), "000100010001000");
    EXPECT_EQ(frequency->text(), QStringLiteral("Minden 4. héten    "));

    // The custom entry takes the week editor's answer, only on OK.
    EXPECT_EQ(closingDialogs([&] { form->Het[5]->trigger(); }), 1);
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("gyakorisag")->AsInteger(), 4);
    answeringModals([&] { form->Het[5]->trigger(); },
                    [](QWidget &modal) {
                        edithetek->Hetek = "100000000000001";
                        edithetek->Gyakorisag = 999;
                        // The editor reads its boxes back on OK; filling them is its own affair.
                        static_cast<QDialog &>(modal).done(QDialog::Accepted);
                    });
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("gyakorisag")->AsInteger(), edithetek->Gyakorisag);
    EXPECT_EQ(form->MT_alkalom_temp.FieldByName("hetek")->AsString(), edithetek->Hetek);
    EXPECT_EQ(frequency->text(), QStringLiteral("Egyedi beosztás    "));

    // Course 11's one occasion comes after course 10's in the store.
    clickRow(*form->LV, rowOf(11));
    EXPECT_EQ(boxes(), (QStringList{"Kedd", "08:00", "10:00", "Minden héten", "B-101", "1/1"}));
}

TEST_F(OccasionEditing, ItemPopupListsTheCoursesTimetablesAndSubjectsAndSwitchesTimetable)
{
    const auto captions = [](const QMenu &menu, bool tickedOnly = false) {
        QStringList result;
        for (const QAction *action : menu.actions()) {
            if (!tickedOnly || action->isChecked())
                result << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        return result;
    };
    const auto openPopup = [&] { emit form->PMSajat->aboutToShow(); };
    linkSubject(10, 4);
    openPopup();
    EXPECT_EQ(captions(*form->Orarendben), QStringList{QStringLiteral("Első évfolyam")});
    EXPECT_EQ(captions(*form->Alapertelmezes), (QStringList{QStringLiteral("MAT, Matematika"), QStringLiteral("BIO, Biológia")}));
    EXPECT_EQ(captions(*form->Alapertelmezes, true), QStringList{QStringLiteral("MAT, Matematika")});
    form->Alapertelmezes->actions().at(1)->trigger();
    EXPECT_EQ(listedCourses().size(), 4u) << "choosing a subject changes nothing";

    // A course's own subject without a link shows ticked after the linked ones; template
    // subjects follow a separator.
    addCourse({20, "X-1", "", 4}, {1, 2});
    linkSubject(20, 3);
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 90007}, {"targy_id", 3}});
    appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", 90007}, {"targy_id", 3}});
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 20, {}));
    setField(DM->MT_kurzus, "kurzusminta_id", 90007);
    ASSERT_TRUE(DM->MT_orarend.Locate("orarend_id", 2, {}));
    setField(DM->MT_orarend, "hetek", "101010101010101");
    showTimetable(1);
    selectRow(20);
    openPopup();
    EXPECT_EQ(captions(*form->Orarendben), (QStringList{QStringLiteral("Első évfolyam"), QStringLiteral("Második")}));
    EXPECT_EQ(captions(*form->Alapertelmezes),
              (QStringList{QStringLiteral("MAT, Matematika"), QStringLiteral("BIO, Biológia"), QStringLiteral("-"),
                           QStringLiteral("MAT, Matematika")}));
    EXPECT_EQ(captions(*form->Alapertelmezes, true), (QStringList{QStringLiteral("BIO, Biológia"), QStringLiteral("MAT, Matematika")}));
    EXPECT_FALSE(DM->MT_kurzustargy.Filtered());
    EXPECT_FALSE(DM->MT_kurzusorarend.Filtered());

    form->WorkMode = 3;
    form->Orarendben->actions().at(1)->trigger();
    EXPECT_EQ(form->TimetableId, 2);
    EXPECT_EQ(form->SelectionId, 2);
    EXPECT_EQ(form->WeekMask, "101010101010101");
    EXPECT_EQ(form->WorkMode, 0);
    EXPECT_TRUE(form->UM_orarendek->isChecked());
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Órarendek"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Órarend (2025-2026-1 ősz): Második"));
    EXPECT_EQ(sortedCourses(), (Ids{14, 20}));
}

TEST_F(OccasionEditing, OccupancyOpensInTheModeOfTheEntryWithTheMainCalendarsWeeksWhenItHasItsCourseOrRoom)
{
    form->VL->SetHetek(2);
    for (const auto &[entry, mode] : {std::pair{form->Foglalsok2, Tcsoportfoglalasok::TantargyFoglalasai},
                                      std::pair{form->Foglalasok4, Tcsoportfoglalasok::KapcsolodoTargyakFoglalasai},
                                      std::pair{form->Foglalsok3, Tcsoportfoglalasok::TeremFoglalasai}}) {
        int shownMode = -1, weeks = 0;
        EXPECT_EQ(answeringModals([&] { entry->trigger(); },
                                  [&](QWidget &modal) {
                                      shownMode = csoportfoglalasok->FoglalasMod;
                                      weeks = csoportfoglalasok->VL->Hetek();
                                      static_cast<QDialog &>(modal).reject();
                                  }),
                  1)
            << entry->text().toStdString();
        EXPECT_EQ(shownMode, mode);
        EXPECT_EQ(weeks, 2);
    }
    // Nothing opens for an occasion without room, nor without a selected course.
    form->SelectCourse(QStringLiteral("VL"), 10, 101);
    ASSERT_EQ(form->MT_alkalom_temp.FieldByName("terem_id")->AsInteger(), 0);
    EXPECT_EQ(closingDialogs([&] { form->Foglalsok3->trigger(); }), 0);
    form->LV->clearSelection();
    for (QAction *entry : {form->Foglalsok1, form->Foglalasok4, form->Foglalsok3})
        EXPECT_EQ(closingDialogs([&] { entry->trigger(); }), 0) << entry->text().toStdString();
}
