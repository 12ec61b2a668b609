// The teachers and subjects of a course: adding and removing them, shares and head counts,
// the default subject and the template's subjects.

#include "app/brelvix_pasFixture.h"
#include "calendar/veltoCalendar.h"
#include "dialogs/Oktatofoglaltsag.h"
#include "dialogs/letszaminp.h"
#include "dialogs/oktvalaszt.h"
#include "dialogs/targykereso.h"
#include "platform/widgets/DBGrids.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

using namespace mainwindowtest;

class CourseTeachersAndSubjects : public MainWindow {
protected:
    // Selects the course's list row as a click would.
    void selectRow(int kurzusId) { form->LV->setCurrentItem(rowOf(kurzusId)); }
    void SetUp() override
    {
        MainWindow::SetUp();
        letszam = new Tletszam;
        oktval = new Toktval;
        targy_kereso = new Ttargy_kereso;
        Oktatofog = new TOktatofog;
        addFaculty();
        form->show();
        showTimetable(1);
        selectRow(10);
        // The grids' popups are opened with the focus on the course panel; a calendar box that
        // got the focus back after a dialog would make its course current again.
        form->LV->setFocus();
    }
    void TearDown() override
    {
        delete letszam;
        letszam = nullptr;
        delete oktval;
        oktval = nullptr;
        delete targy_kereso;
        targy_kereso = nullptr;
        delete Oktatofog;
        Oktatofog = nullptr;
        MainWindow::TearDown();
    }
    int linkField(TztrMemTable &links, const char *keyField, int kurzusId, int id, const char *field)
    {
        links.SetFiltered(false);
        if (!links.Locate(std::string("kurzus_id;") + keyField, VarArrayOf({kurzusId, id}), {}))
            return -999;
        return links.FieldByName(field)->AsInteger();
    }
    bool teacherLinked(int kurzusId, int oktatoId)
    {
        return linkField(DM->MT_kurzusoktato, "oktato_id", kurzusId, oktatoId, "oktato_id") == oktatoId;
    }
    bool subjectLinked(int kurzusId, int targyId)
    {
        return linkField(DM->MT_kurzustargy, "targy_id", kurzusId, targyId, "targy_id") == targyId;
    }
    // Answers the head-count dialog with `typed`, or cancels it when `typed` is null.
    void answerNumber(const std::function<void()> &routine, const char *typed)
    {
        answeringModals(routine, [typed](QWidget &modal) {
            auto &dialog = static_cast<QDialog &>(modal);
            if (!typed) {
                dialog.reject();
                return;
            }
            letszam->Edit1->setText(QString::fromUtf8(typed));
            dialog.accept();
        });
    }
    TColumn &column(TDBGrid &grid, const char *field)
    {
        for (int i = 0; i < grid.Columns().Count(); ++i) {
            if (grid.Columns()[i]->FieldName() == field)
                return *grid.Columns()[i];
        }
        throw std::runtime_error(field);
    }
    void chooseTeacher(int oktatoId)
    {
        ASSERT_TRUE(DM->MT_oktato.Locate("oktato_id", oktatoId, {}));
        answeringModals([&] { form->tnew->trigger(); },
                        [](QWidget &modal) { static_cast<QDialog &>(modal).accept(); });
    }
};

TEST_F(CourseTeachersAndSubjects, ChosenTeacherIsAddedOnceWithAFullShareAndBecomesCurrent)
{
    ASSERT_TRUE(DM->MT_oktato.Locate("oktato_id", 2, {}));
    answeringModals([&] { form->OktatofelvetelClick(); },
                    [](QWidget &modal) { static_cast<QDialog &>(modal).reject(); });
    EXPECT_FALSE(teacherLinked(10, 2)) << "a cancelled chooser adds nobody";

    chooseTeacher(2);
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 2, "szazalek"), 100);
    EXPECT_EQ(form->MT_oktato_temp.RecordCount(), 2);
    EXPECT_EQ(form->MT_oktato_temp.FieldByName("oktato_id")->AsInteger(), 2);

    DM->MT_kurzusoktato.SetFiltered(false);
    const int links = DM->MT_kurzusoktato.RecordCount();
    chooseTeacher(1);
    DM->MT_kurzusoktato.SetFiltered(false);
    EXPECT_EQ(DM->MT_kurzusoktato.RecordCount(), links) << "a linked teacher is not added twice";
    EXPECT_EQ(form->MT_oktato_temp.RecordCount(), 2);
}

TEST_F(CourseTeachersAndSubjects, RemovingATeacherAsksWithTheName)
{
    QString asked;
    answeringModals([&] { form->tdel->trigger(); },
                    [&](QWidget &modal) {
                        asked = static_cast<QMessageBox &>(modal).text();
                        pressButton(modal, QMessageBox::Cancel);
                    });
    EXPECT_EQ(asked, QStringLiteral("Valóban törölni akarja?\r\nKovács Anna"));
    EXPECT_TRUE(teacherLinked(10, 1));

    answeringModals([&] { form->tdel->trigger(); },
                    [](QWidget &modal) { pressButton(modal, QMessageBox::Ok); });
    EXPECT_FALSE(teacherLinked(10, 1));
    EXPECT_EQ(form->MT_oktato_temp.RecordCount(), 0);
}

TEST_F(CourseTeachersAndSubjects, ShareIsAskedOnItsColumnAndOneOutsideTheRangeIsStoredAsFull)
{
    linkTeacher(10, 2);
    form->LoadCourseTeachers(10, 2);
    answerNumber([&] { form->G_okttempCellClick(column(*form->G_okttemp, "oktato_szazalek")); }, "40");
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 2, "szazalek"), 40);
    EXPECT_EQ(form->MT_oktato_temp.FieldByName("oktato_szazalek")->AsInteger(), 40);

    answerNumber([&] { form->G_okttempCellClick(column(*form->G_okttemp, "oktato_szazalek")); }, "150");
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 2, "szazalek"), 100);
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 1, "szazalek"), 100)
        << "the other teacher keeps hers";
    EXPECT_EQ(answeringModals([&] { form->G_okttempCellClick(column(*form->G_okttemp, "oktato_nev")); },
                              [](QWidget &modal) { static_cast<QDialog &>(modal).reject(); }),
              0)
        << "a click on the name asks nothing";
}

TEST_F(CourseTeachersAndSubjects, ShareThatIsNoNumberChangesNothing)
{
    answerNumber([&] { form->G_okttempCellClick(column(*form->G_okttemp, "oktato_szazalek")); }, "");
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 1, "szazalek"), 100);
    EXPECT_EQ(letszam->Edit1->text(), QStringLiteral("0"));
}

TEST_F(CourseTeachersAndSubjects, TeacherPopupOffersRemovalOnlyWithATeacher)
{
    emit form->popuptoktato->aboutToShow();
    EXPECT_TRUE(form->tdel->isVisible());
    selectRow(11);
    emit form->popuptoktato->aboutToShow();
    EXPECT_TRUE(form->tnew->isVisible());
    EXPECT_FALSE(form->tdel->isVisible());
    EXPECT_FALSE(form->tinfo->isVisible());
}

TEST_F(CourseTeachersAndSubjects, SubjectHeadCountIsWrittenIntoTheLink)
{
    ASSERT_TRUE(form->MT_kurzustargy_temp.Locate("targy_id", 3, {}));
    answerNumber([&] { form->DBGrid2CellClick(column(*form->DBGrid2, "maxletszam")); }, " 45 ");
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 3, "maxletszam"), 45);
    EXPECT_EQ(form->MT_kurzustargy_temp.FieldByName("maxletszam")->AsInteger(), 45);

    answerNumber([&] { form->DBGrid2CellClick(column(*form->DBGrid2, "maxletszam")); }, nullptr);
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 3, "maxletszam"), 45);
}

TEST_F(CourseTeachersAndSubjects, PopupHidesRemovalOnTheDefaultSubject)
{
    appendRow(DM->MT_kurzustargy, {{"kurzus_id", 10}, {"targy_id", 4}, {"maxletszam", -1}});
    form->LoadCourseSubjects(10, 3);
    emit form->kurzustargyai->aboutToShow();
    EXPECT_FALSE(form->kurzustargyDel->isVisible());
    EXPECT_FALSE(form->AlapertelmezettTargykurzustargydefswap->isVisible());
    EXPECT_TRUE(form->kurzustargynew->isVisible());

    ASSERT_TRUE(form->MT_kurzustargy_temp.Locate("targy_id", 4, {}));
    emit form->kurzustargyai->aboutToShow();
    EXPECT_TRUE(form->kurzustargyDel->isVisible());
    EXPECT_TRUE(form->AlapertelmezettTargykurzustargydefswap->isVisible());
}

TEST_F(CourseTeachersAndSubjects, RemovingAnAttachedSubjectAsksFirst)
{
    appendRow(DM->MT_kurzustargy, {{"kurzus_id", 10}, {"targy_id", 4}, {"maxletszam", -1}});
    form->LoadCourseSubjects(10, 4);
    answeringModals([&] { form->kurzustargyDel->trigger(); },
                    [](QWidget &modal) { pressButton(modal, QMessageBox::Cancel); });
    EXPECT_TRUE(subjectLinked(10, 4));
    answeringModals([&] { form->kurzustargyDel->trigger(); },
                    [](QWidget &modal) { pressButton(modal, QMessageBox::Ok); });
    EXPECT_FALSE(subjectLinked(10, 4));
    EXPECT_TRUE(subjectLinked(10, 3));
    EXPECT_EQ(form->MT_kurzustargy_temp.RecordCount(), 1);
}

TEST_F(CourseTeachersAndSubjects, RemovingALinkWithoutSubjectSaysSoAndKeepsIt)
{
    appendRow(DM->MT_kurzustargy, {{"kurzus_id", 10}, {"targy_id", -1}, {"maxletszam", -1}});
    form->LoadCourseSubjects(10, -1);
    ASSERT_EQ(form->MT_kurzustargy_temp.FieldByName("targy_id")->AsInteger(), -1);
    EXPECT_EQ(messagesOf([&] { form->kurzustargyDel->trigger(); }),
              QStringList{QStringLiteral("A kurzus és/vagy tárgy hiányzik!")});
    EXPECT_TRUE(subjectLinked(10, -1));
}

TEST_F(CourseTeachersAndSubjects, AttachedSubjectBecomesTheDefault)
{
    addCourse({0, "NULLA", "Nulladik", 3});
    for (const int course : {10, 0}) {
        appendRow(DM->MT_kurzustargy, {{"kurzus_id", course}, {"targy_id", 4}, {"maxletszam", -1}});
        form->LoadCourseSubjects(course, 4);
        EXPECT_EQ(messagesOf([&] { form->AlapertelmezettTargykurzustargydefswap->trigger(); }), QStringList{});
        ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", course, {}));
        EXPECT_EQ(DM->MT_kurzus.FieldByName("targy_id")->AsInteger(), 4) << "course " << course;
    }
}

TEST_F(CourseTeachersAndSubjects, RestoringWithoutTemplateKeepsOnlyTheDefaultSubject)
{
    appendRow(DM->MT_kurzustargy, {{"kurzus_id", 10}, {"targy_id", 4}, {"maxletszam", -1}});
    appendRow(DM->MT_kurzustargy, {{"kurzus_id", 11}, {"targy_id", 4}, {"maxletszam", -1}});
    form->LoadCourseSubjects(10, 4);
    form->kurzustargydef->trigger();
    EXPECT_TRUE(subjectLinked(10, 3));
    EXPECT_FALSE(subjectLinked(10, 4));
    EXPECT_TRUE(subjectLinked(11, 4)) << "other courses keep their subjects";
    EXPECT_EQ(form->MT_kurzustargy_temp.RecordCount(), 1);
}

TEST_F(CourseTeachersAndSubjects, RestoringAddsTheTemplatesMissingSubjects)
{
    addSubject(5, "KEM", "Kémia");
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 90007}, {"targy_id", 3}});
    appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", 90007}, {"targy_id", 3}});
    appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", 90007}, {"targy_id", 5}});
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 10, {}));
    DM->MT_kurzus.Edit();
    DM->MT_kurzus.FieldByName("kurzusminta_id")->SetAsInteger(90007);
    DM->MT_kurzus.Post();
    ASSERT_TRUE(DM->MT_kurzustargy.Locate("kurzus_id;targy_id", VarArrayOf({10, 3}), {}));
    DM->MT_kurzustargy.Edit();
    DM->MT_kurzustargy.FieldByName("maxletszam")->SetAsInteger(30);
    DM->MT_kurzustargy.Post();
    form->LoadCourseSubjects(10, 3);

    form->kurzustargydef->trigger();
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 3, "maxletszam"), 30) << "existing links stay";
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 5, "maxletszam"), -1);
    EXPECT_EQ(form->MT_kurzustargy_temp.RecordCount(), 2);
}

TEST_F(CourseTeachersAndSubjects, RestoringNeedsASubjectRowToKnowTheCourse)
{
    selectRow(11);
    appendRow(DM->MT_kurzustargy, {{"kurzus_id", 10}, {"targy_id", 4}, {"maxletszam", -1}});
    ASSERT_EQ(form->MT_kurzustargy_temp.RecordCount(), 0);
    form->kurzustargydef->trigger();
    EXPECT_TRUE(subjectLinked(10, 4));
}

TEST_F(CourseTeachersAndSubjects, SearchResultIsAttachedWithoutHeadCountLimitUnlessCancelled)
{
    answeringModals([&] { form->kurzustargynew->trigger(); },
                    [&](QWidget &modal) {
                        targy_kereso->Eredmeny = 4;
                        static_cast<QDialog &>(modal).reject();
                    });
    EXPECT_FALSE(subjectLinked(10, 4));

    selectRow(11);
    form->LV->setFocus();
    answeringModals([&] { form->kurzustargynew->trigger(); },
                    [&](QWidget &modal) {
                        targy_kereso->PC->setCurrentWidget(targy_kereso->TS_targy);
                        targy_kereso->DBGrid2->SelectedRows().Clear();
                        targy_kereso->Eredmeny = 4;
                        static_cast<QDialog &>(modal).done(QDialog::Accepted);
                    });
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 11, 4, "maxletszam"), -1);
    EXPECT_EQ(form->MT_kurzustargy_temp.FieldByName("targy_id")->AsInteger(), 4);
}

TEST_F(CourseTeachersAndSubjects, SearchResultAlreadyAttachedLeavesTheSubjectList)
{
    appendRow(DM->MT_kurzustargy, {{"kurzus_id", 10}, {"targy_id", 4}, {"maxletszam", -1}});
    form->LoadCourseSubjects(10, 4);
    answeringModals([&] { form->kurzustargynew->trigger(); },
                    [&](QWidget &modal) {
                        targy_kereso->PC->setCurrentWidget(targy_kereso->TS_targy);
                        targy_kereso->DBGrid2->SelectedRows().Clear();
                        targy_kereso->Eredmeny = 3;
                        static_cast<QDialog &>(modal).done(QDialog::Accepted);
                    });
    EXPECT_EQ(form->MT_kurzustargy_temp.FieldByName("targy_id")->AsInteger(), 4);
}

TEST_F(CourseTeachersAndSubjects, TemplateExchangeLeftOnAnotherPageChangesNothing)
{
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 90007}, {"targy_id", 4}});
    answeringModals([&] { form->Kurzusmintacsere->trigger(); },
                    [&](QWidget &modal) {
                        targy_kereso->PC->setCurrentWidget(targy_kereso->TS_targy);
                        targy_kereso->Eredmeny = 90007;
                        static_cast<QDialog &>(modal).done(QDialog::Accepted);
                    });
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 10, {}));
    EXPECT_EQ(DM->MT_kurzus.FieldByName("targy_id")->AsInteger(), 3);
    EXPECT_NE(DM->MT_kurzus.FieldByName("kurzusminta_id")->AsInteger(), 90007);
}

TEST_F(CourseTeachersAndSubjects, TeacherTimetableOpensForTheCurrentTeacherWithTheMainCalendarsWeeks)
{
    form->VL->SetHetek(3);
    int teacher = -1;
    int weeks = 0;
    answeringModals([&] { form->tinfo->trigger(); },
                    [&](QWidget &modal) {
                        teacher = Oktatofog->OktatoId;
                        weeks = Oktatofog->VL->Hetek();
                        static_cast<QDialog &>(modal).reject();
                    });
    EXPECT_EQ(teacher, 1);
    EXPECT_EQ(weeks, 3);
}
