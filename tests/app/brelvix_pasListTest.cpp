// Making a course current from the list, the calendar and the occasion panel; the course list's
// sort, week chooser and spin buttons; the working modes with their selectors and keys.

#include "app/brelvix_pasFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

using namespace mainwindowtest;

namespace {

void clickHeader(QTreeWidget &list, int column)
{
    QHeaderView *header = list.header();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

QStringList captions(const QTreeWidget &list)
{
    QStringList result;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        result << list.topLevelItem(i)->text(0);
    return result;
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
    QString selectedId() const { return form->LV->currentItem() ? form->LV->currentItem()->text(4) : QString(); }
    void expectCurrentCourse(int kurzusId)
    {
        for (TCustomCalendarItem *item : form->VL->Items()) {
            const bool current = static_cast<TSajat *>(item)->KurzusID == kurzusId;
            EXPECT_EQ(item->BGColor(), current ? clMoneyGreen : clWhite) << kurzusId;
            EXPECT_EQ(item->SelBGColor(), current ? clSkyBlue : clCream) << kurzusId;
        }
    }
};

TEST_F(CourseSelection, ListRowsAndCalendarItemsMakeTheirCourseCurrentEverywhere)
{
    // The rebuild selects the first course inserted, not the first sorted.
    EXPECT_EQ(selectedId(), QStringLiteral("10"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("MAT-1"));
    EXPECT_EQ(form->Edit2->text(), QStringLiteral("Matematika"));

    clickRow(*form->LV, rowOf(11));
    EXPECT_EQ(form->MT_alkalom_temp.RecordCount(), 1);
    EXPECT_EQ(currentOccasion(), 110);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("FIZ-1"));
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("0"));
    expectCurrentCourse(11);
    clickRow(*form->LV, rowOf(12));
    EXPECT_EQ(form->MT_alkalom_temp.RecordCount(), 2) << "an attached course shows its head's occasions";
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("KEM-1"));

    // Opening an item selects its row and stands the occasion panel on it.
    form->VL->OnDetails(*form->VL, itemOf(101));
    EXPECT_EQ(selectedId(), QStringLiteral("10"));
    EXPECT_TRUE(form->LV->currentItem()->isSelected());
    EXPECT_EQ(currentOccasion(), 101);
    EXPECT_EQ(form->DBEdit7->text(), QStringLiteral("2/2"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("MAT-1"));
    expectCurrentCourse(10);
    EXPECT_FALSE(form->SelectBusy);

    // A course outside the list changes neither the row nor the colours, only the panels.
    form->SelectCourse(QStringLiteral("VL"), 14, 140);
    EXPECT_EQ(selectedId(), QStringLiteral("10"));
    expectCurrentCourse(10);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("ANG-1"));

    // The occasion panel only recolours the items.
    form->SelectCourse(QStringLiteral("C"), 11, 110);
    expectCurrentCourse(11);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("ANG-1"));

    form->SelectBusy = true;
    form->SelectCourse(QStringLiteral("LV"), 11, -1);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("ANG-1")) << "a selection during another is ignored";
    form->SelectBusy = false;

    form->SelectCourse(QStringLiteral("LV"), 999, -1);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("Hiba-642!!!"));
    EXPECT_TRUE(form->Edit2->text().isEmpty());
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("0"));

    form->MT_kurzus_temp.Close();
    try {
        form->SelectCourse(QStringLiteral("LV"), 11, -1);
        ADD_FAILURE() << "no error raised";
    } catch (const Exception &error) {
        EXPECT_STREQ(error.what(), "Kurzus tábla nincs megnyitva!");
    }
    EXPECT_FALSE(form->SelectBusy) << "a failed selection does not block the next one";
    form->MT_kurzus_temp.Open();

    for (int width : {800, 1600}) {
        form->resize(width, 800);
        QApplication::processEvents();
        EXPECT_EQ(form->LV->header()->sectionSize(4), 0) << "the course id column stays hidden at " << width;
    }
}

TEST_F(CourseSelection, WeekSpinButtonsStepTheChooserAndStopAtZeroWithoutARebuild)
{
    form->HetekCB->setCurrentIndex(15);
    QTest::mouseClick(form->het_SPBUp, Qt::LeftButton);
    EXPECT_EQ(form->HetekCB->currentIndex(), -1);
    EXPECT_EQ(form->LV->topLevelItemCount(), 4) << "no entry chosen means no week filter";
    QTest::mouseClick(form->het_SPBUp, Qt::LeftButton);
    EXPECT_EQ(form->HetekCB->currentText(), QStringLiteral("0"));
    for (const auto &[from, to, rebuilds] : {std::tuple{6, 5, true}, std::tuple{1, 0, true}, std::tuple{0, 0, false}, std::tuple{-1, 0, false}}) {
        form->HetekCB->setCurrentIndex(from);
        form->LV->clear();
        QTest::mouseClick(form->het_SPBDown, Qt::LeftButton);
        EXPECT_EQ(form->HetekCB->currentIndex(), to) << "from " << from;
        EXPECT_EQ(form->LV->topLevelItemCount() > 0, rebuilds) << "from " << from;
    }
}

TEST_F(MainWindow, CourseListSortsCaptionsFoldingCaseAndAColumnClickSortsByThatColumnUntilARebuild)
{
    addTimetable(1, "Sorrend");
    addCourse({1, "K9", "b", -1, 9}, {1});
    addCourse({2, "K10", "C", -1, 10}, {1});
    addCourse({3, "k11", "a", -1, 100}, {1});
    form->show();
    showTimetable(1);
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

    // Inserted first, the selected course sorts last, below the rows the list has room for.
    for (int id = 40; id > 10; --id)
        addCourse({id, ("K-" + std::to_string(id)).c_str(), "Kurzus"}, {3});
    showTimetable(3);
    QTreeWidgetItem *selected = form->LV->currentItem();
    ASSERT_NE(selected, nullptr);
    ASSERT_EQ(form->LV->indexOfTopLevelItem(selected), 29);
    EXPECT_EQ(selected->text(0), QStringLiteral("!K-40"));
    const QRect row = form->LV->visualItemRect(selected);
    EXPECT_GE(row.top(), 0);
    EXPECT_LE(row.bottom(), form->LV->viewport()->height());
}

class WorkingModes : public CourseSelection {
protected:
    bool pageShown(QWidget *page) const { return form->PC->isTabVisible(form->PC->indexOf(page)); }
    // Which of the selector pages show, in the order timetable, room, teacher, subject.
    std::vector<bool> selectorPages() const
    {
        return {pageShown(form->PC_orarend), pageShown(form->PC_terem), pageShown(form->PC_oktato),
                pageShown(form->PC_tantargy)};
    }
    QString caption(const char *prefix, const char *rest) const
    {
        return QString::fromUtf8(prefix) + QStringLiteral(" (2025-2026-1 ősz)") + QString::fromUtf8(rest);
    }
};

TEST_F(WorkingModes, EachModeFillsItsSelectorAndAPickedRowShowsItsCourses)
{
    form->AlkalomCB->setChecked(false);
    form->UM_terem->trigger();
    EXPECT_EQ(form->WorkMode, 2);
    EXPECT_TRUE(form->UM_terem->isChecked());
    EXPECT_TRUE(form->AlkalomCB->isChecked()) << "rooms show every occasion";
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Ü: termek"));
    EXPECT_EQ(captions(*form->LV_terem),
              (QStringList{QStringLiteral("A-2 (Vár/12 fő)"), QStringLiteral("B-101 (Kelmendor/40 fő)")}));
    EXPECT_EQ(form->windowTitle(), caption("Terem", ": Nincs kiválasztva"));
    EXPECT_EQ(selectorPages(), (std::vector<bool>{false, true, false, false}));
    EXPECT_TRUE(pageShown(form->PC_oktatok));
    EXPECT_EQ(form->PC->currentWidget(), form->PC_terem);
    EXPECT_EQ(form->TimetableId, -1);
    EXPECT_EQ(form->SelectionId, -1);
    EXPECT_EQ(form->LV->topLevelItemCount(), 0);
    form->LV_terem->setCurrentItem(form->LV_terem->topLevelItem(1));
    EXPECT_EQ(form->SelectionId, 5);
    EXPECT_EQ(form->windowTitle(), caption("Terem", ": B-101 (Kelmendor/40 fő)"));
    EXPECT_EQ(sortedCourses(), (Ids{10, 11}));

    form->UM_oktato->trigger();
    EXPECT_FALSE(form->AlkalomCB->isChecked());
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Ü: oktatók"));
    EXPECT_EQ(captions(*form->LV_oktato), (QStringList{QStringLiteral("Kovács Anna (KA)"), QStringLiteral("Nagy Béla")}));
    EXPECT_EQ(form->windowTitle(), caption("Oktató", ": Nincs kiválasztva"));
    EXPECT_EQ(selectorPages(), (std::vector<bool>{false, false, true, false}));
    form->LV_oktato->setCurrentItem(form->LV_oktato->topLevelItem(1));
    EXPECT_EQ(listedCourses(), (Ids{14}));
    EXPECT_EQ(form->windowTitle(), caption("Oktató", ": Nagy Béla"));

    form->UM_tantargy->trigger();
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Ü: tantargyak"));
    EXPECT_EQ(captions(*form->LV_tantargy), (QStringList{QStringLiteral("BIO"), QStringLiteral("MAT")}));
    EXPECT_EQ(selectorPages(), (std::vector<bool>{false, false, false, true}));
    form->LV_tantargy->setCurrentItem(form->LV_tantargy->topLevelItem(1));
    EXPECT_EQ(form->SelectionId, 3);
    EXPECT_EQ(form->windowTitle(), caption("Tantárgy", ": MAT Matematika(3)"));
    EXPECT_EQ(sortedCourses(), (Ids{10, 12}));

    form->UM_orarend->trigger();
    EXPECT_EQ(form->WorkMode, 1);
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Ü: órarendek"));
    EXPECT_EQ(captions(*form->LV_orarend),
              (QStringList{QStringLiteral("Első évfolyam"), QStringLiteral("Második (esti)"), QStringLiteral("Üres")}));
    EXPECT_EQ(form->windowTitle(), caption("Órarend", ": Nincs kiválasztva"));
    EXPECT_EQ(selectorPages(), (std::vector<bool>{true, false, false, false}));
    QTest::mouseClick(form->B_group, Qt::LeftButton);
    EXPECT_EQ(form->windowTitle(), caption("Orarend", ": Nincs kiválasztva")) << "the button's prefix has no accent";
    // A selector row forgets the timetable chosen through the dialog.
    form->TimetableId = 2;
    form->LV_orarend->setCurrentItem(form->LV_orarend->topLevelItem(0));
    EXPECT_EQ(form->TimetableId, -1);
    EXPECT_EQ(form->SelectionId, 1);
    EXPECT_EQ(form->windowTitle(), caption("Órarend", ": Első évfolyam"));
    EXPECT_EQ(form->LV->topLevelItemCount(), 4);
}

TEST_F(WorkingModes, TimetableDialogShowsTheChosenTimetableWithItsWeeksAndCancelKeepsTheView)
{
    showTimetable(2);
    form->UM_terem->trigger();
    EXPECT_EQ(closingDialogs([&] { form->UM_orarendek->trigger(); }), 1);
    EXPECT_EQ(form->WorkMode, 0);
    EXPECT_TRUE(form->UM_orarendek->isChecked());
    EXPECT_FALSE(form->AlkalomCB->isChecked());
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Órarendek"));
    EXPECT_EQ(selectorPages(), (std::vector<bool>{false, false, false, false}));

    showTimetable(2);
    EXPECT_EQ(closingDialogs([&] { QTest::mouseClick(form->B_group, Qt::LeftButton); }), 1);
    EXPECT_EQ(form->TimetableId, 2) << "cancelled";
    EXPECT_EQ(listedCourses(), (Ids{14}));
    const int shown = answeringModals([&] { QTest::mouseClick(form->B_group, Qt::LeftButton); },
                                      [](QWidget &dialog) {
                                          ASSERT_EQ(&dialog, orarend);
                                          // The dialog leaves the chosen timetable current.
                                          DM->MT_orarend.Locate("orarend_id", 1, {});
                                          orarend->OrarendId = 1;
                                          orarend->Hetek = "101010101010101";
                                          orarend->accept();
                                      });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(form->TimetableId, 1);
    EXPECT_EQ(form->SelectionId, 1);
    EXPECT_EQ(form->WeekMask, "101010101010101");
    EXPECT_EQ(form->windowTitle(), caption("Órarend ", ": Első évfolyam"));
    EXPECT_EQ(listedCourses().size(), 4u);
}

TEST_F(WorkingModes, CalendarKeysStepThroughTheSelectorAndCtrlPrintsFirst)
{
    form->UM_orarend->trigger();
    form->LV_orarend->setCurrentItem(form->LV_orarend->topLevelItem(0));
    const auto row = [&] { return form->LV_orarend->indexOfTopLevelItem(form->LV_orarend->currentItem()); };
    // Releases a key on the calendar, cancelling every print dialog it opens; returns how many.
    const auto release = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        return closingDialogs([&] { QTest::keyRelease(form->VL, key, modifiers); });
    };
    EXPECT_EQ(release(Qt::Key_S), 0) << "a step without Ctrl prints nothing";
    EXPECT_EQ(row(), 1);
    EXPECT_EQ(form->SelectionId, 2);
    EXPECT_EQ(listedCourses(), (Ids{14}));
    release(Qt::Key_F4);
    EXPECT_EQ(row(), 2);
    release(Qt::Key_S);
    EXPECT_EQ(row(), 2) << "no step past the last";
    release(Qt::Key_W);
    release(Qt::Key_F8);
    EXPECT_EQ(row(), 0);
    release(Qt::Key_W);
    EXPECT_EQ(row(), 0) << "no step before the first";
    EXPECT_EQ(release(Qt::Key_F1), 0);
    EXPECT_EQ(row(), 0);

    EXPECT_EQ(release(Qt::Key_S, Qt::ControlModifier), 1);
    EXPECT_EQ(row(), 1);
    EXPECT_EQ(release(Qt::Key_S, Qt::ControlModifier), 1);
    EXPECT_EQ(release(Qt::Key_S, Qt::ControlModifier), 0) << "nothing to step to, nothing printed";
    EXPECT_EQ(row(), 2);
    EXPECT_EQ(release(Qt::Key_W, Qt::ControlModifier), 1);
    EXPECT_EQ(row(), 1);

    // Selectors of the other modes step the same way; Ctrl+P prints in every mode.
    form->UM_tantargy->trigger();
    form->LV_tantargy->setCurrentItem(form->LV_tantargy->topLevelItem(0));
    EXPECT_EQ(release(Qt::Key_S, Qt::ControlModifier), 0) << "only timetables print as they step";
    EXPECT_EQ(form->SelectionId, 3);
    form->WorkMode = 0;
    int printDialogs = 0;
    answeringModals([&] { QTest::keyRelease(form->VL, Qt::Key_P, Qt::ControlModifier); },
                    [&](QWidget &dialog) {
                        printDialogs += qobject_cast<QPrintDialog *>(&dialog) ? 1 : 0;
                        static_cast<QDialog &>(dialog).reject();
                    });
    EXPECT_EQ(printDialogs, 1);
    EXPECT_EQ(release(Qt::Key_W), 0);
    EXPECT_EQ(form->SelectionId, 3) << "mode 0 has no selector to step";
}

TEST_F(CourseSelection, TimetableLinksOfTheSelectedCourseAreOpenedAndTheViewRebuilt)
{
    form->LV->setCurrentItem(rowOf(11));
    int askedFor = -1;
    const int shown = answeringModals([&] { form->Kapcsolo->trigger(); },
                                      [&](QWidget &dialog) {
                                          askedFor = orarend_valaszto->KurzusId;
                                          // The course leaves the timetable meanwhile.
                                          DM->MT_kurzusorarend.Locate("kurzus_id;orarend_id", VarArrayOf({11, 1}), {});
                                          DM->MT_kurzusorarend.Delete();
                                          static_cast<QDialog &>(dialog).accept();
                                      });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(askedFor, 11);
    EXPECT_EQ(sortedCourses(), (Ids{10, 12, 13}));
}
