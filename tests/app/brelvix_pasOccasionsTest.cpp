// Editing occasions on the calendar and in the occasion panel; the items' popup menu.

#include "app/brelvix_pasFixture.h"
#include "calendar/CalendarTestSupport.h"

using namespace mainwindowtest;

class OccasionEditing : public Faculty {
protected:
    void SetUp() override
    {
        Faculty::SetUp();
        form->resize(1200, 800);
        form->SelectCourse(QStringLiteral("VL"), 10, 100);
    }
    // A drag as the user makes it, with the keys held: press on the box, move in steps, release.
    QStringList drag(int alkalomId, Qt::KeyboardModifiers keys, QPoint from, QPoint to,
                     QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        EXPECT_TRUE(itemOf(alkalomId)->Obj()->geometry().contains(from)) << "the drag starts beside the box";
        calendartest::CalendarMouse mouse(*form->VL);
        return messagesOf([&] {
            mouse.press(from, keys);
            mouse.move(from + (to - from) / 2);
            mouse.move(to);
            mouse.release(to, keys);
        }, answer);
    }
    QPoint cellCentre(int col, int row) const { return form->VL->CellRect(col, row).center(); }
    // The occasion's item's time when the item matches the stored row; "none" without either.
    QString stored(int alkalomId)
    {
        const TSajat *item = itemOf(alkalomId);
        DM->MT_alkalom.SetFiltered(false);
        if (!item || !DM->MT_alkalom.Locate("alkalom_id", alkalomId, {}))
            return QStringLiteral("none");
        const double start = double(DM->MT_alkalom.FieldByName("kezd_ido")->AsDateTime());
        const double end = double(DM->MT_alkalom.FieldByName("veg_ido")->AsDateTime());
        const bool same = std::abs(double(item->Start()) - start) < 1e-9 && item->Length() == std::lround((end - start) * 1440);
        return item->StartText() + '-' + item->EndTimeText() + (same ? "" : " not stored");
    }
    QString panel() const { return textsOf({form->DBEdit1, form->DBEdit2, form->DBEdit3, form->DBEdit5, form->DBEdit6, form->DBEdit7}); }
};

TEST_F(OccasionEditing, DragAsksWithTheOldAndTheNewTimeAndWritesTheDraggedOccasionOnlyOnOk)
{
    const QPoint from = itemOf(100)->Obj()->geometry().center();
    drag(100, Qt::ControlModifier, from, cellCentre(2, 3), QMessageBox::Cancel);
    EXPECT_EQ(stored(100), QStringLiteral("Hétfő 08:00-10:00"));
    const QStringList asked = drag(100, Qt::ControlModifier, from, cellCentre(2, 3));
    EXPECT_EQ(asked, QStringList{"Valóban le akarja cserélni?\r\n\r\n\r\nRégi időpont:Hétfő 08:00-10:00\r\n\r\nÚj időpont:" + stored(100)});
    EXPECT_TRUE(stored(100).startsWith(QStringLiteral("Kedd"))) << stored(100).toStdString();

    // A resize asks its own question.
    const QRect box = itemOf(110)->Obj()->geometry();
    const QPoint bottom(box.center().x(), box.bottom() - 2);
    EXPECT_TRUE(drag(110, Qt::ShiftModifier, bottom, bottom + QPoint(0, 3 * box.height())).value(0).startsWith(
        QStringLiteral("Valóban megakarja változtatni?\r\n\r\n\r\nRégi időpont:Kedd 08:00-10:00\r\n")));
    EXPECT_FALSE(stored(110).endsWith(QStringLiteral("10:00")) || stored(110).endsWith(QStringLiteral("stored")));

    // The dragged occasion moves whichever the panel shows: 101 of its course, 110 of another.
    for (const int alkalomId : {101, 110}) {
        form->SelectCourse(QStringLiteral("VL"), 10, 100);
        ASSERT_EQ(drag(alkalomId, Qt::ControlModifier, itemOf(alkalomId)->Obj()->geometry().center(), cellCentre(5, 8)).size(), 1);
        EXPECT_TRUE(stored(alkalomId).startsWith(QStringLiteral("Péntek"))) << stored(alkalomId).toStdString();
    }
    // The handler itself writes the new time and recomposes the item; an item whose occasion is
    // gone is put back.
    bool accept = false;
    EXPECT_EQ(messagesOf([&] { form->VLMoving(itemOf(110), at(Monday1 + 1, 10, 0), at(Monday1 + 1, 11, 30), accept); }).size(), 1);
    EXPECT_TRUE(accept);
    EXPECT_EQ(stored(110), QStringLiteral("Kedd 10:00-11:30"));
    ASSERT_TRUE(DM->MT_alkalom.Locate("alkalom_id", 101, {}));
    DM->MT_alkalom.Delete();
    messagesOf([&] { form->VLMoving(itemOf(101), at(Monday1, 12, 0), at(Monday1, 13, 0), accept); });
    EXPECT_FALSE(accept);

    // Deleting asks, then removes the selected occasion and its item.
    form->VL->SetSelectedItem(nullptr);
    EXPECT_TRUE(messagesOf([&] { form->rls2->trigger(); }).isEmpty()) << "nothing selected";
    form->VL->SetSelectedItem(itemOf(110));
    EXPECT_EQ(messagesOf([&] { form->rls2->trigger(); }, QMessageBox::Cancel),
              QStringList{"Valóban megakarja szüntetni?\r\n\r\n\r\nIdőpont:Kedd 10:00-11:30"});
    EXPECT_EQ(stored(110), QStringLiteral("Kedd 10:00-11:30"));
    form->VL->SetSelectedItem(itemOf(110));
    messagesOf([&] { form->rls2->trigger(); });
    EXPECT_EQ(stored(110), QStringLiteral("none"));
    EXPECT_EQ(rowsOf(DM->MT_alkalom, {"alkalom_id"}), (QStringList{"100", "140"}));
    EXPECT_EQ(form->VL->Items().Count(), 4);
}

TEST_F(OccasionEditing, AddedOccasionTakesTheSelectedCellsTheWeekMaskAndInRoomModeTheRoom)
{
    form->WeekMask = "110011001100110";
    QTest::mouseClick(form->VL->viewport(), Qt::LeftButton, {}, cellCentre(5, 6));
    const int start = form->VL->SelStartMinute(), end = form->VL->SelEndMinute();
    form->Felvetel->trigger();
    const int id = form->MT_alkalom_temp.FieldByName("alkalom_id")->AsInteger();
    DM->MT_alkalom.SetFiltered(false);
    EXPECT_EQ(rowsOf(DM->MT_alkalom, {"alkalom_id", "kurzus_id", "gyakorisag", "terem_id", "hetek"}).value(4),
              QString::number(id) + "|10|5|0|110011001100110");
    EXPECT_EQ(QString::number(itemOf(id)->KurzusID) + ' ' + stored(id), QStringLiteral("10 Péntek %1-%2").arg(
        QTime(0, 0).addSecs(start * 60).toString("hh:mm"), QTime(0, 0).addSecs(end * 60).toString("hh:mm")));
    EXPECT_FALSE(form->RefreshBusy) << "moving in the panel selects again at once";
    // The panel stands on the new occasion, ready for its room to be chosen.
    EXPECT_EQ(panel().section('|', 3), QStringLiteral("Egyedi beosztás|Nincs meg a terem|3/3"));

    for (const auto &[mask, code] : {std::pair{"", 0}, std::pair{"101010101010101", 1}, std::pair{"000100010001000", 4}}) {
        form->WeekMask = mask;
        form->Felvetel->trigger();
        EXPECT_EQ(form->MT_alkalom_temp.FieldByName("gyakorisag")->AsInteger(), code) << mask;
        EXPECT_EQ(form->MT_alkalom_temp.FieldByName("hetek")->AsString(), code ? mask : "111111111111111");
    }
    // A single reservation in room mode puts the new occasion into the chosen room.
    form->WorkMode = 2;
    form->SelectionId = 6;
    form->B_egyedifoglalasClick();
    form->Felvetel->trigger();
    EXPECT_TRUE(linked(DM->MT_alkalom, "terem_id", 10, 6));
    form->LV->clearSelection();
    const int all = rowsOf(DM->MT_alkalom, {"alkalom_id"}).size();
    form->Felvetel->trigger();
    EXPECT_EQ(rowsOf(DM->MT_alkalom, {"alkalom_id"}).size(), all) << "no course selected";
}

// Course 12 is attached to course 10 and shares its occasions: a new one joins the group.
TEST_F(OccasionEditing, AnOccasionAddedToAnAttachedCourseIsDrawnWhereChosenAndJoinsTheGroup)
{
    clickRow(*form->LV, rowOf(12));
    const QPoint cell = cellCentre(5, 6);
    QTest::mouseClick(form->VL->viewport(), Qt::LeftButton, {}, cell);
    const QString time = QStringLiteral("%1-%2").arg(QTime(0, 0).addSecs(form->VL->SelStartMinute() * 60).toString("hh:mm"),
                                                      QTime(0, 0).addSecs(form->VL->SelEndMinute() * 60).toString("hh:mm"));
    chooseFromPopup(form->VL->viewport(), cell, form->vlPopUpMenu, form->Felvetel);

    DM->MT_alkalom.SetFiltered(false);
    const QStringList stored = rowsOf(DM->MT_alkalom, {"alkalom_id", "kurzus_id"});
    ASSERT_EQ(stored.size(), 5);
    const int id = stored.last().section('|', 0, 0).toInt();
    EXPECT_EQ(stored.last().section('|', 1), QStringLiteral("10")) << "the occasion belongs to the group's head";
    // Its box stands in the chosen cell, under the attached course's code.
    TCustomCalendarItem *there = nullptr;
    for (TCustomCalendarItem *each : form->VL->Items())
        if (each->Obj()->isVisible() && each->Obj()->geometry().contains(cell))
            there = each;
    ASSERT_NE(there, nullptr) << "no box where the occasion was added";
    auto *drawn = dynamic_cast<TSajat *>(there);
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(std::pair(drawn->AlkalomID, drawn->KurzusID), std::pair(id, 12));
    EXPECT_TRUE(drawn->Subject().startsWith(QStringLiteral("KEM-1; Matematika"))) << drawn->Subject().toStdString();
    // Clicked, the box shows its occasion in the panel, among the group's occasions.
    form->SelectCourse(QStringLiteral("VL"), 10, 100);
    calendartest::clickItem(*form->VL, drawn);
    const QString shown = QStringLiteral("Péntek|%1|%2|Minden héten|Nincs meg a terem|3/3").arg(time.left(5), time.right(5));
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel() == shown; })) << panel().toStdString();
    const Items drawnItems = items();
    EXPECT_EQ(std::count_if(drawnItems.begin(), drawnItems.end(), [&](const auto &item) { return item.second == id; }), 1);
    // A rebuild shows it with the group: under the head and under the attached course.
    showTimetable(1);
    EXPECT_EQ(items().count({10, id}) + items().count({12, id}), 2u);
}

// A mask typed into the week editor stops at what an occasion holds, rather than being cut there.
TEST_F(OccasionEditing, TheWeekEditorTakesNoLongerMaskThanTheOccasionHolds)
{
    QString shown;
    answeringModals([&] { QTest::mouseDClick(form->DBEdit5, Qt::LeftButton); }, [&](QWidget &modal) {
        ASSERT_EQ(&modal, edithetek);
        edithetek->HetekEdit->setFocus();
        edithetek->HetekEdit->selectAll();
        QTest::keyClicks(edithetek->HetekEdit, QString(60, u'1'));
        QTest::sendKeyEvent(QTest::Click, edithetek->HetekEdit, Qt::Key_unknown, QStringLiteral("中"), Qt::NoModifier);
        shown = edithetek->HetekEdit->text();
        QTest::mouseClick(edithetek->Button1, Qt::LeftButton);
    });
    EXPECT_EQ(shown, QString(50, u'1'));
    DM->MT_alkalom.SetFiltered(false);
    ASSERT_TRUE(DM->MT_alkalom.Locate("alkalom_id", 100, {}));
    EXPECT_EQ(DM->MT_alkalom.FieldByName("hetek")->AsString(), std::string(50, '1'));
}

TEST_F(OccasionEditing, PanelShowsTheCurrentOccasionAndEditsItsFrequencyAndRoom)
{
    ASSERT_TRUE(form->DBCtrlGrid1->Panel()->isEnabled());
    EXPECT_EQ(panel(), QStringLiteral("Hétfő|08:00|10:00|Minden héten|B-101|2/1"));
    // The boxes only show the occasion: what is typed into them changes nothing.
    for (QLineEdit *box : {form->DBEdit1, form->DBEdit2, form->DBEdit3, form->DBEdit5, form->DBEdit6})
        QTest::keyClicks(box, "X");
    EXPECT_EQ(panel(), QStringLiteral("Hétfő|08:00|10:00|Minden héten|B-101|2/1"));
    QScrollBar *bar = form->DBCtrlGrid1->verticalScrollBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
    EXPECT_EQ(panel(), QStringLiteral("Szerda|10:00|12:00|Minden héten|Nincs meg a terem|2/2"));
    EXPECT_EQ(itemOf(101)->BGColor(), clMoneyGreen);
    // Double clicks on the room and frequency boxes open their choosers.
    const auto doubleClick = [&](QLineEdit *box, QDialog *expected, const std::function<void()> &use) {
        return answeringModals([&] { QTest::mouseDClick(box, Qt::LeftButton); }, [&](QWidget &modal) {
            EXPECT_EQ(&modal, expected);
            use();
        });
    };
    EXPECT_EQ(doubleClick(form->DBEdit6, teremvalasztas, [] {
        TDBGrid *rooms = teremvalasztas->DBGrid1;
        const int row = rowsOf(*rooms->DataSet(), {"terem_id"}).indexOf("6");
        QTest::mouseClick(rooms->viewport(), Qt::LeftButton, {}, rooms->CellRect(1, row).center());
        QTest::mouseClick(teremvalasztas->Button1, Qt::LeftButton);
    }), 1);
    EXPECT_EQ(doubleClick(form->DBEdit5, edithetek, [] {
        for (QRadioButton *choice : edithetek->Gyak->findChildren<QRadioButton *>()) {
            if (choice->text() == QStringLiteral("Páros héten"))
                QTest::mouseClick(choice, Qt::LeftButton);
        }
        QTest::mouseClick(edithetek->Button1, Qt::LeftButton);
    }), 1);
    EXPECT_EQ(panel(), QStringLiteral("Szerda|10:00|12:00|Páros héten|A-2|2/2"));
    EXPECT_EQ(itemOf(101)->Hetek() + ' ' + itemOf(101)->Kiiras(), QStringLiteral("010101010101010 A-2"));

    // A right click offers the frequencies; the chosen one shows on the item at once.
    QLineEdit *frequency = form->DBEdit5;
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, frequency->rect().center(), frequency->mapToGlobal(frequency->rect().center()));
    QApplication::sendEvent(frequency, &rightClick);
    ASSERT_TRUE(form->popupgyak->isVisible());
    QTest::mouseClick(form->popupgyak, Qt::LeftButton, {}, form->popupgyak->actionGeometry(form->Het[1]).center());
    EXPECT_EQ(itemOf(101)->Subject(), QStringLiteral("MAT-1; Matematika; A-2; +; Kovács Anna"));
    const auto occasion = [&] { return frequency->text() + rowsOf(DM->MT_alkalom, {"gyakorisag", "hetek"}).value(1); };
    EXPECT_EQ(occasion(), QStringLiteral("Páratlan héten     1|101010101010101"));
    for (int code : {0, 2, 3, 4})
        form->Het[code]->trigger();
    EXPECT_EQ(occasion(), QStringLiteral("Minden 4. héten    4|000100010001000"));
    // The custom entry takes the week editor's answer, only on OK.
    EXPECT_EQ(closingDialogs([&] { form->Het[5]->trigger(); }), 1);
    EXPECT_EQ(occasion(), QStringLiteral("Minden 4. héten    4|000100010001000"));
    answeringModals([&] { form->Het[5]->trigger(); }, [](QWidget &modal) {
        edithetek->Hetek = "100000000000001";
        edithetek->Gyakorisag = 999;
        // The editor reads its boxes back on OK; filling them is its own affair.
        static_cast<QDialog &>(modal).done(QDialog::Accepted);
    });
    EXPECT_EQ(occasion(), QStringLiteral("Egyedi beosztás    999|100000000000001"));
    // Course 11's one occasion comes after course 10's in the store.
    clickRow(*form->LV, rowOf(11));
    EXPECT_EQ(panel(), QStringLiteral("Kedd|08:00|10:00|Minden héten|B-101|1/1"));
}

TEST_F(OccasionEditing, ItemPopupListsTheCoursesTimetablesAndSubjectsAndLaunchesOccupancy)
{
    const auto captions = [](const QMenu &menu, bool tickedOnly = false) {
        QStringList result;
        for (const QAction *action : menu.actions()) {
            if (!tickedOnly || action->isChecked())
                result << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        return result.join(", ");
    };
    // A course's own subject without a link shows ticked after the linked ones; template
    // subjects follow a separator that a course without template lacks.
    emit form->PMSajat->aboutToShow();
    EXPECT_EQ(captions(*form->Orarendben) + "; " + captions(*form->Alapertelmezes), QStringLiteral("Első évfolyam; MAT, Matematika"));
    addCourse({0, "X-1", "", 4}, {1, 2}); // course 0 is a course like any other
    linkSubject(0, 3);
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 90007}, {"targy_id", 3}});
    appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", 90007}, {"targy_id", 3}});
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 0, {}));
    setFields(DM->MT_kurzus, {{"kurzusminta_id", 90007}});
    ASSERT_TRUE(DM->MT_orarend.Locate("orarend_id", 2, {}));
    setFields(DM->MT_orarend, {{"hetek", "101010101010101"}});
    showTimetable(1);
    selectRow(0);
    emit form->PMSajat->aboutToShow();
    ASSERT_EQ(captions(*form->Orarendben), QStringLiteral("Első évfolyam, Második"));
    EXPECT_EQ(captions(*form->Alapertelmezes), QStringLiteral("MAT, Matematika, BIO, Biológia, -, MAT, Matematika"));
    EXPECT_EQ(captions(*form->Alapertelmezes, true), QStringLiteral("BIO, Biológia, MAT, Matematika"));
    EXPECT_FALSE(DM->MT_kurzustargy.Filtered() || DM->MT_kurzusorarend.Filtered() || DM->MT_kurzusmintatargy.Filtered());
    form->Alapertelmezes->actions().at(0)->trigger();
    EXPECT_EQ(form->TimetableId, 1) << "choosing a subject changes nothing";

    form->WorkMode = 3;
    form->Orarendben->actions().at(1)->trigger();
    EXPECT_EQ(std::tuple(form->TimetableId, form->SelectionId, form->WeekMask, form->WorkMode), std::tuple(2, 2, std::string("101010101010101"), 0));
    EXPECT_TRUE(form->UM_orarendek->isChecked() && form->B_group->text() == QStringLiteral("Órarendek"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Órarend (2025-2026-1 ősz): Második"));
    EXPECT_EQ(sortedCourses(), (Ids{0, 14}));

    // The group occupancy opens in the entry's mode with the main calendar's weeks.
    showTimetable(1);
    form->SelectCourse(QStringLiteral("VL"), 10, 100);
    form->VL->SetHetek(2);
    for (const auto &[entry, mode] : {std::pair{form->Foglalsok2, Tcsoportfoglalasok::TantargyFoglalasai},
                                      std::pair{form->Foglalasok4, Tcsoportfoglalasok::KapcsolodoTargyakFoglalasai},
                                      std::pair{form->Foglalsok3, Tcsoportfoglalasok::TeremFoglalasai}}) {
        EXPECT_EQ(closingDialogs([action = entry] { action->trigger(); }), 1) << entry->text().toStdString();
        EXPECT_EQ(std::pair(int(csoportfoglalasok->FoglalasMod), csoportfoglalasok->VL->Hetek()), std::pair(int(mode), 2));
    }
    // Nothing opens for an occasion without room, nor without a selected course.
    form->SelectCourse(QStringLiteral("VL"), 10, 101);
    EXPECT_EQ(closingDialogs([&] { form->Foglalsok3->trigger(); }), 0);
    form->LV->clearSelection();
    for (QAction *entry : {form->Foglalsok1, form->Foglalasok4, form->Foglalsok3})
        EXPECT_EQ(closingDialogs([&] { entry->trigger(); }), 0) << entry->text().toStdString();
}
