// Choosing a course from the list, the calendar and the panel; working modes, selectors and keys.

#include "app/brelvix_pasFixture.h"
#include "app/vonalzo.h"

using namespace mainwindowtest;

// The values the progress bar showed each time it was drawn.
struct DrawnValues : QObject {
    QStringList values;
    bool eventFilter(QObject *bar, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            values << QString::number(static_cast<QProgressBar *>(bar)->value());
        return false;
    }
};

class CourseSelection : public Faculty {
protected:
    // The selected row's course, and the course whose items show the current colours.
    QString current() const
    {
        QStringList courses;
        for (TCustomCalendarItem *item : form->VL->Items()) {
            const bool green = item->BGColor() == clMoneyGreen && item->SelBGColor() == clSkyBlue;
            EXPECT_TRUE(green || (item->BGColor() == clWhite && item->SelBGColor() == clCream));
            if (green && !courses.contains(QString::number(static_cast<TSajat *>(item)->KurzusID)))
                courses << QString::number(static_cast<TSajat *>(item)->KurzusID);
        }
        return (form->LV->currentItem() ? form->LV->currentItem()->text(4) : "-") + " " + courses.join(',');
    }
    QStringList captions(const QTreeWidget &list) const
    {
        QStringList result;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            result << list.topLevelItem(i)->text(0);
        return result;
    }
    QString caption(const char *prefix, const char *rest) const
    {
        return QString::fromUtf8(prefix) + QStringLiteral(" (2025-2026-1 ősz)") + QString::fromUtf8(rest);
    }
};

TEST_F(CourseSelection, ListRowsCalendarItemsAndTheWheelMakeTheirCourseCurrentEverywhere)
{
    // Selected row and current colours, edit row, occasion panel: after each way of choosing a course.
    const auto state = [&] { return current() + ' ' + editRow() + ' ' + form->DBEdit7->text(); };
    const std::pair<std::function<void()>, const char *> steps[] = {
        {[] {}, "10 10 MAT-1|Matematika||30 2/1"}, // the first course inserted, not the first sorted
        {[&] { clickRow(*form->LV, rowOf(11)); }, "11 11 FIZ-1|Fizika gyakorlat||0 1/1"},
        {[&] { clickRow(*form->LV, rowOf(12)); }, "12 12 KEM-1|Matematika||0 2/1"}, // its head's occasions
        {[&] { form->VL->OnDetails(*form->VL, itemOf(101)); }, "10 10 MAT-1|Matematika||30 2/2"},
        // A course outside the list changes neither the row nor the colours, only the panels.
        {[&] { form->SelectCourse("VL", 14, 140); }, "10 10 ANG-1|Angol||20 2/2"},
        {[&] { form->SelectCourse("C", 11, 110); }, "10 11 ANG-1|Angol||20 2/2"}, // colours only
        {[&] { form->SelectBusy = true; form->SelectCourse("LV", 11, -1); }, "10 11 ANG-1|Angol||20 2/2"},
        {[&] { form->SelectBusy = false; form->SelectCourse("LV", 999, -1); }, "10 11 Hiba-642!!!|||0 2/2"}};
    for (const auto &[choose, expected] : steps) {
        choose();
        EXPECT_EQ(state(), QString::fromUtf8(expected));
        EXPECT_TRUE(form->LV->currentItem()->isSelected());
    }
    form->MT_kurzus_temp.Close();
    EXPECT_THROW(form->SelectCourse(QStringLiteral("LV"), 11, -1), Exception);
    EXPECT_FALSE(form->SelectBusy) << "a failed selection does not block the next one";
    form->MT_kurzus_temp.Open();

    // A wheel notch moves one row, up when turned away from the user and down otherwise, and a
    // list longer than its box does not scroll to a row in sight.
    for (int id = 20; id < 80; ++id)
        addCourse({id, "ZZ"}, {1});
    showTimetable(1);
    for (const auto &[delta, row] : {std::pair{120, 0}, std::pair{-120, 2}, std::pair{0, 2}}) {
        form->LV->setCurrentItem(form->LV->topLevelItem(1));
        const QPoint inside = form->LV->visualItemRect(form->LV->topLevelItem(0)).center();
        QWheelEvent wheel(inside, form->LV->viewport()->mapToGlobal(inside), {}, {0, delta}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(form->LV->viewport(), &wheel);
        EXPECT_EQ(form->LV->indexOfTopLevelItem(form->LV->currentItem()), row) << "delta " << delta;
        EXPECT_EQ(form->LV->verticalScrollBar()->value(), 0) << "delta " << delta;
    }

    // The spin buttons step the week chooser; up past the last clears it, down stops at zero.
    form->HetekCB->setCurrentIndex(15);
    QTest::mouseClick(form->het_SPBUp, Qt::LeftButton);
    EXPECT_EQ(form->HetekCB->currentIndex(), -1);
    EXPECT_EQ(form->LV->topLevelItemCount(), 64) << "no entry chosen means no week filter";
    QTest::mouseClick(form->het_SPBUp, Qt::LeftButton);
    EXPECT_EQ(form->HetekCB->currentText(), QStringLiteral("0"));
    for (const auto &[from, to, rebuilds] :
         {std::tuple{6, 5, true}, std::tuple{1, 0, true}, std::tuple{0, 0, false}, std::tuple{-1, 0, false}}) {
        form->HetekCB->setCurrentIndex(from);
        form->LV->clear();
        QTest::mouseClick(form->het_SPBDown, Qt::LeftButton);
        EXPECT_EQ(form->HetekCB->currentIndex(), to) << "from " << from;
        EXPECT_EQ(form->LV->topLevelItemCount() > 0, rebuilds) << "from " << from;
    }
}

TEST_F(MainWindow, CourseListSortsCaptionsFoldingCaseAndAColumnClickSortsByThatColumnUntilARebuild)
{
    addCourse({1, "K9", "b", -1, 9}, {1});
    addCourse({2, "K10", "C", -1, 10}, {1});
    addCourse({3, "k11", "a", -1, 100}, {1});
    form->show();
    showTimetable(1);
    QHeaderView *header = form->LV->header();
    for (const auto &[column, order] : {std::pair{-1, Ids{2, 3, 1}}, std::pair{1, Ids{3, 1, 2}}, std::pair{1, Ids{3, 1, 2}},
                                        std::pair{2, Ids{2, 3, 1}}, std::pair{-1, Ids{2, 3, 1}}}) {
        if (column < 0)
            form->RefreshView();
        else
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        EXPECT_EQ(listedCourses(), order) << "column " << column << ": a second click does not reverse; 10, 100, 9";
        EXPECT_EQ(form->SortColumn, std::max(column, 0));
    }
}

TEST_F(CourseSelection, EachModeFillsItsSelectorAndAPickedRowShowsItsCourses)
{
    struct Mode {
        QAction *entry;
        QTreeWidget *selector;
        QString button, prefix, rows, picked;
        Ids listed;
        QString drawn = "";
    };
    for (const Mode &mode :
         {Mode{form->UM_terem, form->LV_terem, "Ü: termek", "Terem", "A-2 (Vár/12 fő), B-101 (Kelmendor/40 fő)",
               "B-101 (Kelmendor/40 fő)", {10, 11}, "0 2"},
          Mode{form->UM_oktato, form->LV_oktato, "Ü: oktatók", "Oktató", "Kovács Anna (KA), Nagy Béla", "Nagy Béla", {14}},
          Mode{form->UM_tantargy, form->LV_tantargy, "Ü: tantargyak", "Tantárgy", "BIO, MAT", "MAT Matematika(3)", {10, 12}},
          Mode{form->UM_orarend, form->LV_orarend, "Ü: órarendek", "Órarend", "Első évfolyam, Második (esti), Üres",
               "Második (esti)", {14}}}) {
        form->AlkalomCB->setChecked(mode.entry != form->UM_terem);
        form->TimetableId = 2;
        mode.entry->trigger();
        EXPECT_TRUE(mode.entry->isChecked());
        EXPECT_EQ(form->AlkalomCB->isChecked(), mode.entry == form->UM_terem) << "only rooms show every occasion";
        EXPECT_EQ(form->B_group->text() + ' ' + captions(*mode.selector).join(", "), mode.button + ' ' + mode.rows);
        EXPECT_EQ(form->windowTitle(), caption(mode.prefix.toUtf8(), ": Nincs kiválasztva"));
        EXPECT_EQ(std::tuple(form->TimetableId, form->SelectionId, form->LV->topLevelItemCount()), std::tuple(-1, -1, 0));
        EXPECT_EQ(form->PC->currentWidget(), mode.selector->parentWidget());
        for (QWidget *page : {form->PC_orarend, form->PC_terem, form->PC_oktato, form->PC_tantargy, form->PC_oktatok})
            EXPECT_EQ(form->PC->isTabVisible(form->PC->indexOf(page)), page == form->PC_oktatok || mode.selector->parentWidget() == page);
        // A picked row forgets a timetable chosen through the dialog.
        form->TimetableId = 2;
        DrawnValues drawn;
        Vonal->ProgressBar1->installEventFilter(&drawn);
        clickRow(*mode.selector, mode.selector->topLevelItem(1));
        EXPECT_EQ(form->windowTitle(), caption(mode.prefix.toUtf8(), (": " + mode.picked).toUtf8()));
        EXPECT_EQ(sortedCourses(), mode.listed) << mode.prefix.toStdString();
        EXPECT_EQ(form->TimetableId, -1);
        // Only the room walk shows its progress: drawn empty as it starts and full at its last course.
        EXPECT_EQ(drawn.values.isEmpty() ? "" : drawn.values.front() + ' ' + drawn.values.back(), mode.drawn);
        EXPECT_FALSE(Vonal->isVisible());
        EXPECT_TRUE(mode.drawn.isEmpty() || (Vonal->windowTitle() == "Fress" && Vonal->ProgressBar1->maximum() == 2));
    }
    QTest::mouseClick(form->B_group, Qt::LeftButton);
    EXPECT_EQ(form->windowTitle(), caption("Orarend", ": Nincs kiválasztva")) << "the button's prefix has no accent";
    form->LV_orarend->setCurrentItem(form->LV_orarend->topLevelItem(0));

    // The calendar's keys step through the selector; with Ctrl, timetables print first.
    const auto row = [&] { return form->LV_orarend->indexOfTopLevelItem(form->LV_orarend->currentItem()); };
    const auto release = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        return closingDialogs([&] { QTest::keyRelease(form->VL, key, modifiers); });
    };
    for (const auto &[key, ctrl, printed, to] :
         {std::tuple{Qt::Key_S, false, 0, 1}, std::tuple{Qt::Key_F4, false, 0, 2}, std::tuple{Qt::Key_S, false, 0, 2},
          std::tuple{Qt::Key_W, false, 0, 1}, std::tuple{Qt::Key_F8, false, 0, 0}, std::tuple{Qt::Key_W, false, 0, 0},
          std::tuple{Qt::Key_F1, false, 0, 0}, std::tuple{Qt::Key_S, true, 1, 1}, std::tuple{Qt::Key_S, true, 1, 2},
          std::tuple{Qt::Key_S, true, 0, 2}, std::tuple{Qt::Key_W, true, 1, 1}, std::tuple{Qt::Key_P, true, 1, 1}}) {
        EXPECT_EQ(release(key, ctrl ? Qt::ControlModifier : Qt::NoModifier), printed) << key << " " << ctrl;
        EXPECT_EQ(row(), to) << key << " " << ctrl;
    }
    EXPECT_EQ(form->SelectionId, 2);
    EXPECT_EQ(listedCourses(), (Ids{14}));
    form->UM_tantargy->trigger();
    form->LV_tantargy->setCurrentItem(form->LV_tantargy->topLevelItem(0));
    EXPECT_EQ(release(Qt::Key_S, Qt::ControlModifier), 0) << "only timetables print as they step";
    EXPECT_EQ(form->SelectionId, 3);
    form->WorkMode = 0;
    EXPECT_EQ(release(Qt::Key_P, Qt::ControlModifier) + release(Qt::Key_W), 1) << "mode 0 only prints";
    EXPECT_EQ(form->SelectionId, 3);
}

// Where the window's parts stand, each time the progress bar is drawn.
struct PlacesWhenDrawn : QObject {
    std::vector<QWidget *> watched;
    QStringList places;
    bool listEverShown = false;
    QString placesNow() const
    {
        QStringList now;
        for (QWidget *part : watched) {
            const QRect place(part->mapTo(Form1, QPoint()), part->size());
            now << QStringLiteral("%1,%2 %3x%4").arg(place.x()).arg(place.y()).arg(place.width()).arg(place.height());
        }
        return now.join(QStringLiteral("; "));
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            listEverShown = listEverShown || Form1->LV->isVisible();
            places << placesNow();
        }
        return false;
    }
};

TEST_F(CourseSelection, TheRoomWalkHidesTheListWithoutMovingThePanelsAroundIt)
{
    form->UM_terem->trigger();
    PlacesWhenDrawn drawn;
    drawn.watched = {form->AlkalomCB, form->tobbalkalomCB, form->Edit2, form->LV};
    Vonal->ProgressBar1->installEventFilter(&drawn);
    clickRow(*form->LV_terem, form->LV_terem->topLevelItem(1));
    ASSERT_FALSE(drawn.places.isEmpty());
    EXPECT_FALSE(drawn.listEverShown);
    // Each time the bar is drawn the parts stand where the finished view shows them.
    for (const QString &place : drawn.places)
        EXPECT_EQ(place, drawn.placesNow());
    EXPECT_TRUE(form->LV->isVisible() && form->DBCtrlGrid1->isVisible());
}

TEST_F(CourseSelection, ASelectorShownAgainListsItsTableAsItIsNowWithNoRowPicked)
{
    QTreeWidget &subjects = *form->LV_tantargy;
    const auto shownAgain = [&] {
        form->UM_terem->trigger();
        form->UM_tantargy->trigger();
        return std::tuple(captions(subjects).join(", ").toStdString(), subjects.currentItem(), subjects.selectedItems().size(),
                          form->SelectionId, form->LV->topLevelItemCount());
    };
    form->UM_tantargy->trigger();
    for (int column = 1; column < subjects.columnCount(); ++column)
        EXPECT_TRUE(subjects.isColumnHidden(column)) << "only the captions show, column " << column;
    clickRow(subjects, subjects.topLevelItem(1));
    ASSERT_EQ(std::tuple(form->SelectionId, form->LV->topLevelItemCount()), std::tuple(3, 2));
    EXPECT_EQ(shownAgain(), std::tuple(std::string("BIO, MAT"), nullptr, 0, -1, 0)) << "as a refill leaves it";

    // An edit, a new row and a filter of the table all show at the next switch, ids beside their codes.
    DM->MT_targy.Locate("targy_id", 3, {});
    setFields(DM->MT_targy, {{"targy_kod", "ALG"}});
    EXPECT_EQ(std::get<0>(shownAgain()), "ALG, BIO") << "an edit alone";
    appendRow(DM->MT_targy, {{"targy_id", 7}, {"targy_kod", "CHE"}, {"targy_nev", "Kémia"}});
    EXPECT_EQ(std::get<0>(shownAgain()), "ALG, BIO, CHE");
    clickRow(subjects, subjects.topLevelItem(0));
    EXPECT_EQ(form->SelectionId, 3);
    clickRow(subjects, subjects.topLevelItem(2));
    EXPECT_EQ(form->windowTitle(), caption("Tantárgy", ": CHE Kémia(7)"));
    DM->MT_targy.SetFilter("targy_id=7");
    DM->MT_targy.SetFiltered(true);
    EXPECT_EQ(shownAgain(), std::tuple(std::string("CHE"), nullptr, 0, -1, 0));
    DM->MT_targy.SetFiltered(false);
}

TEST_F(CourseSelection, TimetableDialogAndTimetableLinksOfACourseRebuildTheView)
{
    showTimetable(2);
    form->UM_terem->trigger();
    EXPECT_EQ(closingDialogs([&] { form->UM_orarendek->trigger(); }), 1);
    EXPECT_TRUE(form->WorkMode == 0 && form->UM_orarendek->isChecked() && !form->AlkalomCB->isChecked());
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Órarendek"));
    EXPECT_FALSE(form->PC->isTabVisible(form->PC->indexOf(form->PC_terem)));
    showTimetable(2);
    EXPECT_EQ(closingDialogs([&] { QTest::mouseClick(form->B_group, Qt::LeftButton); }), 1);
    EXPECT_EQ(listedCourses(), (Ids{14})) << "cancelled";
    answeringModals([&] { QTest::mouseClick(form->B_group, Qt::LeftButton); },
                    [](QWidget &) {
                        // The dialog leaves the chosen timetable current.
                        DM->MT_orarend.Locate("orarend_id", 1, {});
                        orarend->OrarendId = 1;
                        orarend->Hetek = "101010101010101";
                        orarend->accept();
                    });
    EXPECT_EQ(std::tuple(form->TimetableId, form->SelectionId, form->WeekMask), std::tuple(1, 1, std::string("101010101010101")));
    EXPECT_EQ(form->windowTitle(), caption("Órarend ", ": Első évfolyam"));
    EXPECT_EQ(listedCourses().size(), 4u);

    form->LV->setCurrentItem(rowOf(11));
    answeringModals([&] { form->Kapcsolo->trigger(); },
                    [](QWidget &dialog) {
                        EXPECT_EQ(orarend_valaszto->KurzusId, 11);
                        // The course leaves the timetable meanwhile.
                        DM->MT_kurzusorarend.Locate("kurzus_id;orarend_id", VarArrayOf({11, 1}), {});
                        DM->MT_kurzusorarend.Delete();
                        static_cast<QDialog &>(dialog).accept();
                    });
    EXPECT_EQ(sortedCourses(), (Ids{10, 12, 13}));
}
