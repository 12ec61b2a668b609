// Making a course current from the list, the calendar and the occasion panel; the course list's
// sort and week chooser; the working modes with their selectors and keys.

#include "app/brelvix_pasFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QPrintDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

using namespace mainwindowtest;

class CourseSelection : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        addFaculty();
        form->show();
        showTimetable(1);
    }
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
    std::vector<bool> selectorPages() const
    {
        std::vector<bool> shown;
        for (QWidget *page : {form->PC_orarend, form->PC_terem, form->PC_oktato, form->PC_tantargy, form->PC_oktatok})
            shown.push_back(form->PC->isTabVisible(form->PC->indexOf(page)));
        return shown;
    }
    QString caption(const char *prefix, const char *rest) const
    {
        return QString::fromUtf8(prefix) + QStringLiteral(" (2025-2026-1 ősz)") + QString::fromUtf8(rest);
    }
};

TEST_F(CourseSelection, ListRowsAndCalendarItemsMakeTheirCourseCurrentEverywhere)
{
    // The rebuild selects the first course inserted, not the first sorted.
    EXPECT_EQ(current(), QStringLiteral("10 10"));
    EXPECT_EQ(editRow(), QStringLiteral("MAT-1|Matematika||30"));
    clickRow(*form->LV, rowOf(11));
    EXPECT_EQ(current(), QStringLiteral("11 11"));
    EXPECT_EQ(editRow(), QStringLiteral("FIZ-1|Fizika gyakorlat||0"));
    EXPECT_EQ(form->MT_alkalom_temp.RecordCount(), 1);
    EXPECT_EQ(currentOccasion(), 110);
    clickRow(*form->LV, rowOf(12));
    EXPECT_EQ(form->MT_alkalom_temp.RecordCount(), 2) << "an attached course shows its head's occasions";

    // Opening an item selects its row and stands the occasion panel on it.
    form->VL->OnDetails(*form->VL, itemOf(101));
    EXPECT_EQ(current(), QStringLiteral("10 10"));
    EXPECT_TRUE(form->LV->currentItem()->isSelected());
    EXPECT_EQ(currentOccasion(), 101);
    EXPECT_EQ(form->DBEdit7->text(), QStringLiteral("2/2"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("MAT-1"));
    EXPECT_FALSE(form->SelectBusy);
    // A course outside the list changes neither the row nor the colours, only the panels.
    form->SelectCourse(QStringLiteral("VL"), 14, 140);
    EXPECT_EQ(current(), QStringLiteral("10 10"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("ANG-1"));
    // The occasion panel only recolours the items.
    form->SelectCourse(QStringLiteral("C"), 11, 110);
    EXPECT_EQ(current(), QStringLiteral("10 11"));
    form->SelectBusy = true;
    form->SelectCourse(QStringLiteral("LV"), 11, -1);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("ANG-1")) << "a selection during another is ignored";
    form->SelectBusy = false;
    form->SelectCourse(QStringLiteral("LV"), 999, -1);
    EXPECT_EQ(editRow(), QStringLiteral("Hiba-642!!!|||0"));
    form->MT_kurzus_temp.Close();
    EXPECT_THROW(form->SelectCourse(QStringLiteral("LV"), 11, -1), Exception);
    EXPECT_FALSE(form->SelectBusy) << "a failed selection does not block the next one";
    form->MT_kurzus_temp.Open();

    form->resize(1600, 800);
    QApplication::processEvents();
    EXPECT_EQ(form->LV->header()->sectionSize(4), 0) << "the course id column stays hidden";

    // The spin buttons step the week chooser; up past the last clears it, down stops at zero.
    form->HetekCB->setCurrentIndex(15);
    QTest::mouseClick(form->het_SPBUp, Qt::LeftButton);
    EXPECT_EQ(form->HetekCB->currentIndex(), -1);
    EXPECT_EQ(form->LV->topLevelItemCount(), 4) << "no entry chosen means no week filter";
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
    // Inserted first, the selected course sorts last, below the rows the list has room for.
    for (int id = 40; id > 10; --id)
        addCourse({id, ("K-" + std::to_string(id)).c_str(), "Kurzus"}, {3});
    showTimetable(3);
    ASSERT_EQ(form->LV->indexOfTopLevelItem(form->LV->currentItem()), 29);
    const QRect row = form->LV->visualItemRect(form->LV->currentItem());
    EXPECT_TRUE(row.top() >= 0 && row.bottom() <= form->LV->viewport()->height());
}

TEST_F(CourseSelection, EachModeFillsItsSelectorAndAPickedRowShowsItsCourses)
{
    form->AlkalomCB->setChecked(false);
    form->UM_terem->trigger();
    EXPECT_TRUE(form->UM_terem->isChecked() && form->AlkalomCB->isChecked()) << "rooms show every occasion";
    EXPECT_EQ(std::tuple(form->WorkMode, form->TimetableId, form->SelectionId, form->LV->topLevelItemCount()), std::tuple(2, -1, -1, 0));
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Ü: termek"));
    EXPECT_EQ(captions(*form->LV_terem), (QStringList{"A-2 (Vár/12 fő)", "B-101 (Kelmendor/40 fő)"}));
    EXPECT_EQ(form->windowTitle(), caption("Terem", ": Nincs kiválasztva"));
    EXPECT_EQ(selectorPages(), (std::vector<bool>{false, true, false, false, true}));
    EXPECT_EQ(form->PC->currentWidget(), form->PC_terem);
    form->LV_terem->setCurrentItem(form->LV_terem->topLevelItem(1));
    EXPECT_EQ(form->windowTitle(), caption("Terem", ": B-101 (Kelmendor/40 fő)"));
    EXPECT_EQ(sortedCourses(), (Ids{10, 11}));

    form->UM_oktato->trigger();
    EXPECT_FALSE(form->AlkalomCB->isChecked());
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Ü: oktatók"));
    EXPECT_EQ(captions(*form->LV_oktato), (QStringList{"Kovács Anna (KA)", "Nagy Béla"}));
    EXPECT_EQ(form->windowTitle(), caption("Oktató", ": Nincs kiválasztva"));
    EXPECT_EQ(selectorPages(), (std::vector<bool>{false, false, true, false, true}));
    form->LV_oktato->setCurrentItem(form->LV_oktato->topLevelItem(1));
    EXPECT_EQ(listedCourses(), (Ids{14}));
    EXPECT_EQ(form->windowTitle(), caption("Oktató", ": Nagy Béla"));

    form->UM_tantargy->trigger();
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Ü: tantargyak"));
    EXPECT_EQ(captions(*form->LV_tantargy), (QStringList{"BIO", "MAT"}));
    EXPECT_EQ(selectorPages(), (std::vector<bool>{false, false, false, true, true}));
    form->LV_tantargy->setCurrentItem(form->LV_tantargy->topLevelItem(1));
    EXPECT_EQ(form->windowTitle(), caption("Tantárgy", ": MAT Matematika(3)"));
    EXPECT_EQ(sortedCourses(), (Ids{10, 12}));

    form->UM_orarend->trigger();
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Ü: órarendek"));
    EXPECT_EQ(captions(*form->LV_orarend), (QStringList{"Első évfolyam", "Második (esti)", "Üres"}));
    EXPECT_EQ(form->windowTitle(), caption("Órarend", ": Nincs kiválasztva"));
    EXPECT_EQ(selectorPages(), (std::vector<bool>{true, false, false, false, true}));
    QTest::mouseClick(form->B_group, Qt::LeftButton);
    EXPECT_EQ(form->windowTitle(), caption("Orarend", ": Nincs kiválasztva")) << "the button's prefix has no accent";
    // A selector row forgets the timetable chosen through the dialog.
    form->TimetableId = 2;
    form->LV_orarend->setCurrentItem(form->LV_orarend->topLevelItem(0));
    EXPECT_EQ(std::tuple(form->WorkMode, form->TimetableId, form->SelectionId, form->LV->topLevelItemCount()), std::tuple(1, -1, 1, 4));
    EXPECT_EQ(form->windowTitle(), caption("Órarend", ": Első évfolyam"));

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

TEST_F(CourseSelection, TimetableDialogAndTimetableLinksOfACourseRebuildTheView)
{
    showTimetable(2);
    form->UM_terem->trigger();
    EXPECT_EQ(closingDialogs([&] { form->UM_orarendek->trigger(); }), 1);
    EXPECT_TRUE(form->WorkMode == 0 && form->UM_orarendek->isChecked() && !form->AlkalomCB->isChecked());
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Órarendek"));
    EXPECT_EQ(selectorPages(), (std::vector<bool>{false, false, false, false, true}));
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
