// The working modes: the mode menu, the mode button with the timetable dialog, the selector
// lists and their captions, stepping through them with the calendar's keys, and the
// timetable-links launch.

#include "app/brelvix_pasFixture.h"

#include <QCheckBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QTabWidget>

using namespace mainwindowtest;

using Ids = std::vector<int>;

namespace {

QStringList captions(const QTreeWidget &list)
{
    QStringList result;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        result << list.topLevelItem(i)->text(0);
    return result;
}

} // namespace

class WorkingModes : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        addFaculty();
        form->show();
    }
    bool pageShown(QWidget *page) const { return form->PC->isTabVisible(form->PC->indexOf(page)); }
    const QString semester = QStringLiteral(" (2025-2026-1 ősz)");
};

TEST_F(WorkingModes, RoomsFillTheRoomListCheckEveryOccasionAndAPickedRoomShowsItsCourses)
{
    form->AlkalomCB->setChecked(false);
    form->UM_terem->trigger();

    EXPECT_EQ(form->WorkMode, 2);
    EXPECT_TRUE(form->AlkalomCB->isChecked());
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Ü: termek"));
    EXPECT_EQ(captions(*form->LV_terem),
              (QStringList{QStringLiteral("A-2 (Vár/12 fő)"), QStringLiteral("B-101 (Kelmendor/40 fő)")}));
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Terem") + semester + QStringLiteral(": Nincs kiválasztva"));
    EXPECT_TRUE(pageShown(form->PC_terem));
    EXPECT_TRUE(pageShown(form->PC_oktatok));
    EXPECT_FALSE(pageShown(form->PC_orarend));
    EXPECT_EQ(form->PC->currentWidget(), form->PC_terem);
    EXPECT_EQ(form->TimetableId, -1);
    EXPECT_EQ(form->SelectionId, -1);

    form->LV_terem->setCurrentItem(form->LV_terem->topLevelItem(1));

    EXPECT_EQ(form->SelectionId, 5);
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Terem") + semester + QStringLiteral(": B-101 (Kelmendor/40 fő)"));
    Ids ids = listedCourses();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (Ids{10, 11}));
}

TEST_F(WorkingModes, TeachersAreListedWithTheirCodeWhenTheyHaveOne)
{
    form->AlkalomCB->setChecked(true);
    form->UM_oktato->trigger();
    EXPECT_FALSE(form->AlkalomCB->isChecked());
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Ü: oktatók"));
    EXPECT_EQ(captions(*form->LV_oktato),
              (QStringList{QStringLiteral("Kovács Anna (KA)"), QStringLiteral("Nagy Béla")}));
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Oktató") + semester + QStringLiteral(": Nincs kiválasztva"));

    form->LV_oktato->setCurrentItem(form->LV_oktato->topLevelItem(1));
    EXPECT_EQ(listedCourses(), (Ids{14}));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Oktató") + semester + QStringLiteral(": Nagy Béla"));
}

TEST_F(WorkingModes, SubjectCaptionGivesCodeNameAndId)
{
    form->UM_tantargy->trigger();
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Ü: tantargyak"));
    EXPECT_EQ(captions(*form->LV_tantargy), (QStringList{QStringLiteral("BIO"), QStringLiteral("MAT")}));
    form->LV_tantargy->setCurrentItem(form->LV_tantargy->topLevelItem(1));
    EXPECT_EQ(form->SelectionId, 3);
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Tantárgy") + semester + QStringLiteral(": MAT Matematika(3)"));
    EXPECT_EQ(listedCourses().size(), 2u);
}

TEST_F(WorkingModes, TimetableListShowsTheRemarkInParentheses)
{
    form->UM_orarend->trigger();
    EXPECT_EQ(captions(*form->LV_orarend),
              (QStringList{QStringLiteral("Első évfolyam"), QStringLiteral("Második (esti)"),
                           QStringLiteral("Üres")}));
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Órarend") + semester + QStringLiteral(": Nincs kiválasztva"));
    QTest::mouseClick(form->B_group, Qt::LeftButton);
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Orarend") + semester + QStringLiteral(": Nincs kiválasztva"))
        << "the mode button titles mode 1 without the accent";
}

TEST_F(WorkingModes, SelectorRowForgetsTheTimetableChosenThroughTheDialog)
{
    form->UM_orarend->trigger();
    form->TimetableId = 2;
    form->LV_orarend->setCurrentItem(form->LV_orarend->topLevelItem(0));
    EXPECT_EQ(form->TimetableId, -1);
    EXPECT_EQ(form->SelectionId, 1);
    EXPECT_EQ(form->LV->topLevelItemCount(), 4);
}

class TimetableDialog : public WorkingModes {
protected:
    void SetUp() override
    {
        WorkingModes::SetUp();
        showTimetable(2);
    }
};

TEST_F(TimetableDialog, CancelledDialogKeepsTheView)
{
    const int shown = answeringModals([&] { form->UM_orarendek->trigger(); },
                                      [](QWidget &dialog) { static_cast<QDialog &>(dialog).reject(); });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(form->WorkMode, 0);
    EXPECT_EQ(form->B_group->text(), QStringLiteral("Órarendek"));
    EXPECT_EQ(form->TimetableId, 2);
    EXPECT_EQ(listedCourses(), (Ids{14}));
    EXPECT_FALSE(form->PC->isTabVisible(form->PC->indexOf(form->PC_orarend)));
}

TEST_F(TimetableDialog, ChosenTimetableIsShownWithItsWeeks)
{
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
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Órarend ") + semester + QStringLiteral(": Első évfolyam"));
    EXPECT_EQ(listedCourses().size(), 4u);
}

class SelectorKeys : public WorkingModes {
protected:
    void SetUp() override
    {
        WorkingModes::SetUp();
        form->UM_orarend->trigger();
        form->LV_orarend->setCurrentItem(form->LV_orarend->topLevelItem(0));
    }
    int row() const { return form->LV_orarend->indexOfTopLevelItem(form->LV_orarend->currentItem()); }
    // Releases a key on the calendar, cancelling every print dialog it opens; returns how many.
    int release(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        return answeringModals([&] { QTest::keyRelease(form->VL, key, modifiers); },
                               [](QWidget &dialog) { static_cast<QDialog &>(dialog).reject(); });
    }
};

TEST_F(SelectorKeys, SAndWStepThroughTheSelectorButNotBeyondEitherEnd)
{
    EXPECT_EQ(release(Qt::Key_S), 0) << "a step without Ctrl prints nothing";
    EXPECT_EQ(row(), 1);
    EXPECT_EQ(form->SelectionId, 2);
    EXPECT_EQ(listedCourses(), (Ids{14}));
    release(Qt::Key_F4);
    EXPECT_EQ(row(), 2);
    release(Qt::Key_W);
    release(Qt::Key_F8);
    EXPECT_EQ(row(), 0);
    release(Qt::Key_W);
    EXPECT_EQ(row(), 0) << "no step before the first";
    release(Qt::Key_S);
    release(Qt::Key_S);
    release(Qt::Key_S);
    EXPECT_EQ(row(), 2) << "no step past the last";
}

TEST_F(SelectorKeys, CtrlSPrintsEachTimetableBeforeSteppingButNotPastTheLast)
{
    EXPECT_EQ(release(Qt::Key_S, Qt::ControlModifier), 1);
    EXPECT_EQ(row(), 1);
    EXPECT_EQ(release(Qt::Key_S, Qt::ControlModifier), 1);
    EXPECT_EQ(release(Qt::Key_S, Qt::ControlModifier), 0) << "nothing to step to, nothing printed";
    EXPECT_EQ(row(), 2);
}

TEST_F(SelectorKeys, CtrlPPrintsInEveryMode)
{
    form->WorkMode = 0;
    int printDialogs = 0;
    answeringModals([&] { QTest::keyRelease(form->VL, Qt::Key_P, Qt::ControlModifier); },
                    [&](QWidget &dialog) {
                        printDialogs += qobject_cast<QPrintDialog *>(&dialog) ? 1 : 0;
                        static_cast<QDialog &>(dialog).reject();
                    });
    EXPECT_EQ(printDialogs, 1);
    EXPECT_EQ(release(Qt::Key_S), 0);
    EXPECT_EQ(row(), 0) << "mode 0 has no selector to step";
}

TEST_F(WorkingModes, TimetableLinksOfTheSelectedCourseAreOpenedAndTheViewRebuilt)
{
    showTimetable(1);
    form->LV->setCurrentItem(rowOf(11));
    int askedFor = -1;
    const int shown =
        answeringModals([&] { form->Kapcsolo->trigger(); },
                        [&](QWidget &dialog) {
                            askedFor = orarend_valaszto->KurzusId;
                            // The course leaves the timetable meanwhile.
                            DM->MT_kurzusorarend.Locate("kurzus_id;orarend_id", VarArrayOf({11, 1}), {});
                            DM->MT_kurzusorarend.Delete();
                            static_cast<QDialog &>(dialog).accept();
                        });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(askedFor, 11);
    EXPECT_EQ(rowOf(11), nullptr);
    EXPECT_EQ(listedCourses().size(), 3u);
}
