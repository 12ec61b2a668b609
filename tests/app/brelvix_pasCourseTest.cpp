// The course panels and their editing: the edit row with its save and single reservations, the
// teachers and subjects of a course, its group, and taking it out of or copying it into the
// current timetable.

#include "app/brelvix_pasFixture.h"
#include "calendar/veltoCalendar.h"
#include "dialogs/Oktatofoglaltsag.h"
#include "dialogs/letszaminp.h"
#include "dialogs/oktvalaszt.h"
#include "dialogs/targybeemeles.h"
#include "dialogs/targykereso.h"
#include "dialogs/targykival.h"
#include "platform/widgets/DBGrids.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

using namespace mainwindowtest;

namespace {

std::string utf8(const TDataSet &table, const char *field)
{
    return cp1250ToUtf8(table.FieldByName(field)->AsString());
}

} // namespace

class CoursePanels : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        addFaculty();
        form->show();
    }
    bool groupTabShown() const { return form->PC->isTabVisible(form->PC->indexOf(form->PC_kurzus)); }
};

TEST_F(CoursePanels, TeacherAndSubjectListsShowKnownRowsAndPlaceholdersForMissingOnes)
{
    linkTeacher(11, 77, 40);
    linkTeacher(11, 2);
    form->LoadCourseTeachers(11, 2);
    TztrMemTable &teachers = form->MT_oktato_temp;
    ASSERT_EQ(teachers.RecordCount(), 2);
    EXPECT_EQ(teachers.FieldByName("oktato_id")->AsInteger(), 2) << "the given teacher is current";
    EXPECT_EQ(utf8(teachers, "oktato_nev"), "Nagy Béla");
    form->LoadCourseTeachers(11, 99);
    EXPECT_EQ(teachers.FieldByName("oktato_id")->AsInteger(), 77) << "else the first row is current";
    EXPECT_EQ(utf8(teachers, "oktato_nev"), "Ismeretlen oktató");
    EXPECT_EQ(utf8(teachers, "oktato_kkod"), "77");
    EXPECT_EQ(teachers.FieldByName("oktato_szazalek")->AsInteger(), 40);

    linkSubject(11, 55, 18);
    linkSubject(11, 4, 25);
    form->LoadCourseSubjects(11, 4);
    TztrMemTable &subjects = form->MT_kurzustargy_temp;
    ASSERT_EQ(subjects.RecordCount(), 2);
    EXPECT_EQ(subjects.FieldByName("targy_id")->AsInteger(), 4) << "the given subject is current";
    EXPECT_EQ(utf8(subjects, "targy_kod"), "BIO");
    EXPECT_EQ(utf8(subjects, "targy_nev"), "Biológia");
    EXPECT_EQ(subjects.FieldByName("maxletszam")->AsInteger(), 25);
    EXPECT_EQ(subjects.FieldByName("tanszek_id")->AsInteger(), -1);
    form->LoadCourseSubjects(11, 99);
    EXPECT_EQ(subjects.FieldByName("targy_id")->AsInteger(), 55);
    EXPECT_EQ(utf8(subjects, "targy_nev"), "Ismeretlen tárgy");
    EXPECT_EQ(utf8(subjects, "targy_kod"), "Kód???");
    for (const char *field : {"targy_ea", "targy_gy", "targy_la", "targy_kredit", "evjarat", "tanszek_id"})
        EXPECT_EQ(subjects.FieldByName(field)->AsInteger(), -1) << field;
    EXPECT_EQ(subjects.FieldByName("szabad")->AsInteger(), 0);
    EXPECT_EQ(subjects.FieldByName("maxletszam")->AsInteger(), 18);
}

TEST_F(CoursePanels, EditRowShowsTheTitleRuleAndEmptiesWithoutACourse)
{
    const QString missing = QStringLiteral("A tárgy vagy egyedi foglalás nem található!!!");
    addCourse({20, "X-1", "", -1});
    addCourse({21, "X-2", "", 999});
    addCourse({22, "X-3", "", 4, Variant()});
    addCourse({0, "NULLA", "Nulladik"});
    for (const auto &[id, code, title, headCount] :
         {std::tuple{20, "X-1", missing, "30"}, std::tuple{21, "X-2", missing, "30"},
          std::tuple{22, "X-3", QStringLiteral("Biológia"), "0"}, std::tuple{0, "NULLA", QStringLiteral("Nulladik"), "30"}}) {
        form->LoadCourseEditor(id);
        EXPECT_EQ(form->Edit1->text(), QString::fromUtf8(code)) << id;
        EXPECT_EQ(form->Edit2->text(), title) << id;
        EXPECT_EQ(form->Edit4->text(), QString::fromUtf8(headCount)) << id;
        EXPECT_TRUE(form->Edit1->isReadOnly());
        EXPECT_EQ(form->B_kurzusmentes->text(), QStringLiteral("Kurzus mentése"));
    }
    QString text;
    TztrMemTable closed;
    form->CourseTitle(10, &closed, text);
    EXPECT_EQ(text, QStringLiteral("kurzustábla nem aktív"));
    form->CourseTitle(404, nullptr, text);
    EXPECT_EQ(text, QStringLiteral("kurzus hiányzik (404)"));
    form->CourseTitle(22, &DM->MT_kurzus, text);
    EXPECT_EQ(text, QStringLiteral("Biológia"));

    showTimetable(1);
    form->LV->clearSelection();
    form->LoadCourseEditor(-1);
    for (QLineEdit *edit : {form->Edit1, form->Edit2, form->Edit3, form->Edit4})
        EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(form->MT_alkalom_temp.RecordCount(), 0);

    // Whole codes and titles show; a longer title is shown from its start.
    addCourse({23, "SZT151MN-LA-03", "Valószínűségszámítás és statisztika"}, {3});
    addCourse({24, "X-1", "Gyakorlat a valószínűségszámítás és a statisztika alkalmazásaihoz, mérnök szakos hallgatóknak"}, {3});
    form->resize(1024, 720);
    showTimetable(3);
    clickRow(*form->LV, rowOf(23));
    EXPECT_TRUE(showsWholeText(*form->Edit1, form->Edit1->text())) << form->Edit1->width();
    EXPECT_TRUE(showsWholeText(*form->Edit2, form->Edit2->text())) << form->Edit2->width();
    clickRow(*form->LV, rowOf(24));
    EXPECT_EQ(form->Edit2->cursorPosition(), 0);
}

TEST_F(CoursePanels, GroupTabListsTheCoursesAttachedToTheHead)
{
    form->LoadLinkedCourses(10);
    EXPECT_TRUE(groupTabShown());
    EXPECT_EQ(DM->MT_kurzus_csatolt.RecordCount(), 1);
    EXPECT_EQ(DM->MT_kurzus_csatolt.FieldByName("kurzus_id")->AsInteger(), 12);
    form->LoadLinkedCourses(11);
    EXPECT_FALSE(groupTabShown()) << "a course nobody is attached to has no group";
    form->LoadLinkedCourses(12);
    EXPECT_TRUE(groupTabShown()) << "an attached course shows its group too";
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger(), 10);
    addCourse({20, "X-1", "Árva", -1, 10, 404});
    form->LoadLinkedCourses(20);
    EXPECT_FALSE(groupTabShown()) << "attached to a missing course";
}

class CourseEditing : public CoursePanels {
protected:
    void SetUp() override
    {
        CoursePanels::SetUp();
        own(Targyfelvet);
        own(beemeles);
        showTimetable(1);
    }
    void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    std::string courseText(int kurzusId, const char *field)
    {
        EXPECT_TRUE(DM->MT_kurzus.Locate("kurzus_id", kurzusId, {}));
        return utf8(DM->MT_kurzus, field);
    }
    bool inTimetable(int kurzusId, int orarendId)
    {
        return linkField(DM->MT_kurzusorarend, "orarend_id", kurzusId, orarendId, "orarend_id") == orarendId;
    }
};

TEST_F(CourseEditing, SingleReservationNeedsFiveCharactersAndCreatesASelectedCourseInTheTimetable)
{
    QTest::mouseClick(form->B_egyfogl, Qt::LeftButton);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("Egyedi"));
    EXPECT_FALSE(form->Edit1->isReadOnly());
    EXPECT_EQ(form->B_kurzusmentes->text(), QStringLiteral(" Foglalás"));
    typeInto(form->Edit2, QStringLiteral("Vizs"));
    const int courses = DM->MT_kurzus.RecordCount();
    EXPECT_EQ(messagesOf([&] { QTest::mouseClick(form->B_kurzusmentes, Qt::LeftButton); }),
              QStringList{QStringLiteral("A kód és a megnevezés hossza legalább 5 karakter kell legyen!")});
    EXPECT_EQ(DM->MT_kurzus.RecordCount(), courses);
    EXPECT_EQ(form->B_kurzusmentes->text(), QStringLiteral(" Foglalás")) << "the mode stays";

    typeInto(form->Edit2, QStringLiteral("Vizsga"));
    typeInto(form->Edit4, QStringLiteral("25"));
    QTest::mouseClick(form->B_kurzusmentes, Qt::LeftButton);
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_kod_osszetett", Variant(std::string("Egyedi")), {}));
    const int id = DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger();
    EXPECT_EQ(utf8(DM->MT_kurzus, "megnevezes"), "Vizsga");
    EXPECT_EQ(DM->MT_kurzus.FieldByName("targy_id")->AsInteger(), -1);
    EXPECT_EQ(DM->MT_kurzus.FieldByName("max_letszam")->AsInteger(), 25);
    EXPECT_TRUE(inTimetable(id, 1));
    ASSERT_NE(rowOf(id), nullptr);
    EXPECT_TRUE(rowOf(id)->isSelected());
    EXPECT_EQ(form->B_kurzusmentes->text(), QStringLiteral("Kurzus mentése"));
    EXPECT_TRUE(form->Edit1->isReadOnly());

    // In room mode it works without a timetable; a timetable's link then has none.
    form->TimetableId = -1;
    form->WorkMode = 2;
    form->B_egyedifoglalasClick();
    form->Edit1->setText(QStringLiteral("Foglal"));
    form->Edit2->setText(QStringLiteral("Terem foglalás"));
    form->B_kurzusmentesClick();
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_kod_osszetett", Variant(std::string("Foglal")), {}));
    EXPECT_TRUE(inTimetable(DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger(), -1));
    form->WorkMode = 3;
    form->Edit1->setText(QStringLiteral("Semmi"));
    form->B_egyedifoglalasClick();
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("Semmi")) << "neither a timetable nor rooms";
}

TEST_F(CourseEditing, SavingWritesTheEditRowIntoTheCourseAndOnlyAnAdministratorsFreeCode)
{
    form->LV->clearSelection();
    form->Edit2->setText(QStringLiteral("Semmi"));
    EXPECT_EQ(answeringModals([&] { form->B_kurzusmentesClick(); }, [](QWidget &) {}), 0);
    EXPECT_EQ(courseText(10, "megnevezes"), "") << "no course selected";

    selectRow(11);
    EXPECT_TRUE(form->Edit1->isReadOnly()) << "only administrators change codes";
    typeInto(form->Edit2, QStringLiteral("Fizika labor"));
    form->Edit3->setText(QStringLiteral("páros héten"));
    typeInto(form->Edit4, QStringLiteral("16"));
    QTest::mouseClick(form->B_kurzusmentes, Qt::LeftButton);
    EXPECT_EQ(courseText(11, "megnevezes"), "Fizika labor");
    EXPECT_EQ(courseText(11, "megjegyzes"), "páros héten");
    EXPECT_EQ(DM->MT_kurzus.FieldByName("max_letszam")->AsInteger(), 16);
    EXPECT_EQ(courseText(11, "kurzus_kod_osszetett"), "FIZ-1");
    EXPECT_EQ(rowOf(11)->text(1), QStringLiteral("Fizika labor"));
    EXPECT_EQ(rowOf(11)->text(2), QStringLiteral("16"));
    EXPECT_EQ(rowOf(11)->text(3), QStringLiteral("páros héten"));

    form->Edit1->setText(QStringLiteral("FIZ-2"));
    form->B_kurzusmentesClick();
    EXPECT_EQ(courseText(11, "kurzus_kod_osszetett"), "FIZ-1") << "not an administrator";
    DM->Admin = true;
    form->Edit1->setText(QStringLiteral("MAT-1"));
    form->Edit3->setText(QStringLiteral("új megjegyzés"));
    EXPECT_EQ(messagesOf([&] { form->B_kurzusmentesClick(); }),
              QStringList{QStringLiteral("Ilyen kurzuskód már szerepel a nyilvántartásban!\r"
                                         "A kurzuskód nem került mentésre!")});
    EXPECT_EQ(courseText(11, "kurzus_kod_osszetett"), "FIZ-1");
    EXPECT_EQ(courseText(11, "megjegyzes"), "új megjegyzés");
    form->Edit1->setText(QStringLiteral("FIZ-9"));
    form->B_kurzusmentesClick();
    EXPECT_EQ(courseText(11, "kurzus_kod_osszetett"), "FIZ-9");
    EXPECT_EQ(rowOf(11)->text(0), QStringLiteral("FIZ-9"));
    EXPECT_FALSE(form->Edit1->isReadOnly());

    for (const auto &[typed, kept] : {std::pair{"12", "12"}, std::pair{"1a", "0"}, std::pair{"-5", "0"}, std::pair{"", ""}}) {
        form->Edit4->setText(QString::fromUtf8(typed));
        form->Edit4Change();
        EXPECT_EQ(form->Edit4->text(), QString::fromUtf8(kept)) << typed;
    }
}

TEST_F(CourseEditing, RemovalAsksAndTakesOnlyTheTimetableLink)
{
    selectRow(11);
    EXPECT_EQ(messagesOf([&] { form->EltavolitoClick(); }, QMessageBox::Cancel),
              QStringList{QStringLiteral("Valóban el akarja távolítani az órarendből?")});
    EXPECT_TRUE(inTimetable(11, 1));
    messagesOf([&] { form->EltavolitoClick(); });
    EXPECT_FALSE(inTimetable(11, 1));
    EXPECT_EQ(rowOf(11), nullptr);
    EXPECT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 11, {})) << "the course itself stays";
    EXPECT_EQ(linkField(DM->MT_alkalom, "alkalom_id", 11, 110, "alkalom_id"), 110);

    // Course 13 has no occasion, so the list row names it; its link went missing meanwhile.
    selectRow(13);
    ASSERT_TRUE(DM->MT_kurzusorarend.Locate("kurzus_id", 13, {}));
    DM->MT_kurzusorarend.Delete();
    const int links = DM->MT_kurzusorarend.RecordCount();
    EXPECT_EQ(messagesOf([&] { form->EltavolitoClick(); }),
              QStringList{QStringLiteral("Nem található a kurzus az órarendben!")});
    EXPECT_EQ(DM->MT_kurzusorarend.RecordCount(), links);
}

TEST_F(CourseEditing, CopyIsMadeFromTheGroupsHeadAndTheCourseDialogsGetTheTimetable)
{
    addCourse({20, "X-1", "Csatolt", -1, 10, 13}, {1});
    addCourse({21, "X-2", "Árva", -1, 10, 404}, {1});
    showTimetable(1);
    selectRow(21);
    EXPECT_EQ(closingDialogs([&] { form->Szaporito1Click(); }), 0) << "attached to a missing course";
    // The head has no occasions, so the course is taken from the list row.
    selectRow(20);
    ASSERT_EQ(form->MT_alkalom_temp.RecordCount(), 0);
    int source = -1, target = 0;
    EXPECT_EQ(answeringModals([&] { form->Szaporito1Click(); },
                              [&](QWidget &modal) {
                                  source = Targyfelvet->ForrasKurzusId;
                                  target = Targyfelvet->OrarendId;
                                  static_cast<QDialog &>(modal).reject();
                              }),
              1);
    EXPECT_EQ(source, 13);
    EXPECT_EQ(target, -2) << "copy mode into timetable 1";
    EXPECT_EQ(messagesOf([&] { form->Kivagas->trigger(); }), QStringList{QStringLiteral("A funkció jelenleg nem elérhető")});

    // The membership dialog's save rebuilds the view; leaving the creation dialog keeps it.
    for (const auto &[button, orarendId, rebuilds] :
         {std::tuple{form->B_beemeles, &beemeles->OrarendId, true}, std::tuple{form->B_letrehozas, &Targyfelvet->OrarendId, false}}) {
        if (DM->MT_kurzusorarend.Locate("kurzus_id;orarend_id", VarArrayOf({14, 1}), {}))
            DM->MT_kurzusorarend.Delete();
        showTimetable(1);
        int asked = -1;
        answeringModals([&] { QTest::mouseClick(button, Qt::LeftButton); },
                        [&, orarendId = orarendId](QWidget &modal) {
                            asked = *orarendId;
                            appendRow(DM->MT_kurzusorarend, {{"kurzus_id", 14}, {"orarend_id", 1}});
                            *orarendId = -1;
                            static_cast<QDialog &>(modal).reject();
                        });
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(rowOf(14) != nullptr, rebuilds);
    }
}

class CourseTeachersAndSubjects : public CourseEditing {
protected:
    void SetUp() override
    {
        CourseEditing::SetUp();
        own(letszam);
        own(oktval);
        own(targy_kereso);
        own(Oktatofog);
        selectRow(10);
        // The grids' popups are opened with the focus on the course panel; a calendar box that
        // got the focus back after a dialog would make its course current again.
        form->LV->setFocus();
    }
    bool teacherLinked(int kurzusId, int oktatoId)
    {
        return linkField(DM->MT_kurzusoktato, "oktato_id", kurzusId, oktatoId, "oktato_id") == oktatoId;
    }
    bool subjectLinked(int kurzusId, int targyId)
    {
        return linkField(DM->MT_kurzustargy, "targy_id", kurzusId, targyId, "targy_id") == targyId;
    }
    // Clicks a cell of the column and answers the number dialog with `typed`, or cancels it.
    int answerNumber(TDBGrid &grid, const char *field, const char *typed)
    {
        TColumn *column = nullptr;
        for (int i = 0; i < grid.Columns().Count(); ++i) {
            if (grid.Columns()[i]->FieldName() == field)
                column = grid.Columns()[i];
        }
        const auto click = [&] {
            if (&grid == form->G_okttemp)
                form->G_okttempCellClick(*column);
            else
                form->DBGrid2CellClick(*column);
        };
        return answeringModals(click,
                               [typed](QWidget &modal) {
                                   if (typed)
                                       letszam->Edit1->setText(QString::fromUtf8(typed));
                                   static_cast<QDialog &>(modal).done(typed ? QDialog::Accepted : QDialog::Rejected);
                               });
    }
    // Answers the subject search on `page` with `result` and no selected rows.
    void searchAnswers(QWidget *page, int result, int outcome = QDialog::Accepted)
    {
        answeringModals([] { Form1->kurzustargynew->trigger(); },
                        [&](QWidget &modal) {
                            targy_kereso->PC->setCurrentWidget(page);
                            targy_kereso->DBGrid2->SelectedRows().Clear();
                            targy_kereso->Eredmeny = result;
                            static_cast<QDialog &>(modal).done(outcome);
                        });
    }
};

TEST_F(CourseTeachersAndSubjects, TeachersAreAddedOnceRemovedOnOkAndGetTheirShare)
{
    ASSERT_TRUE(DM->MT_oktato.Locate("oktato_id", 2, {}));
    EXPECT_EQ(closingDialogs([&] { form->tnew->trigger(); }), 1);
    EXPECT_FALSE(teacherLinked(10, 2)) << "a cancelled chooser adds nobody";
    for (int chosen : {2, 1, 2}) {
        ASSERT_TRUE(DM->MT_oktato.Locate("oktato_id", chosen, {}));
        closingDialogs([&] { form->tnew->trigger(); }, QDialog::Accepted);
        EXPECT_EQ(form->MT_oktato_temp.RecordCount(), 2) << "a linked teacher is not added twice";
    }
    DM->MT_kurzusoktato.SetFiltered(false);
    EXPECT_EQ(DM->MT_kurzusoktato.RecordCount(), 3);
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 2, "szazalek"), 100);

    form->LoadCourseTeachers(10, 2);
    EXPECT_EQ(answerNumber(*form->G_okttemp, "oktato_szazalek", "40"), 1);
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 2, "szazalek"), 40);
    EXPECT_EQ(form->MT_oktato_temp.FieldByName("oktato_szazalek")->AsInteger(), 40);
    answerNumber(*form->G_okttemp, "oktato_szazalek", "0");
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 2, "szazalek"), 0);
    answerNumber(*form->G_okttemp, "oktato_szazalek", "150");
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 2, "szazalek"), 100);
    answerNumber(*form->G_okttemp, "oktato_szazalek", "0");
    answerNumber(*form->G_okttemp, "oktato_szazalek", "");
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 2, "szazalek"), 0) << "no number stores nothing";
    EXPECT_EQ(letszam->Edit1->text(), QStringLiteral("0"));
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 1, "szazalek"), 100) << "the other teacher keeps hers";
    EXPECT_EQ(answerNumber(*form->G_okttemp, "oktato_nev", "10"), 0) << "a click on the name asks nothing";

    QString asked;
    answeringModals([&] { form->tdel->trigger(); },
                    [&](QWidget &modal) {
                        asked = static_cast<QMessageBox &>(modal).text();
                        pressButton(modal, QMessageBox::Cancel);
                    });
    EXPECT_EQ(asked, QStringLiteral("Valóban törölni akarja?\r\nNagy Béla"));
    EXPECT_TRUE(teacherLinked(10, 2));
    messagesOf([&] { form->tdel->trigger(); });
    EXPECT_FALSE(teacherLinked(10, 2));
    EXPECT_TRUE(teacherLinked(10, 1));
    EXPECT_EQ(form->MT_oktato_temp.RecordCount(), 1);
    EXPECT_EQ(form->MT_oktato_temp.FieldByName("oktato_id")->AsInteger(), 1);

    emit form->popuptoktato->aboutToShow();
    EXPECT_TRUE(form->tdel->isVisible());
    EXPECT_TRUE(form->tinfo->isVisible());
    form->VL->SetHetek(3);
    int teacher = -1, weeks = 0;
    answeringModals([&] { form->tinfo->trigger(); },
                    [&](QWidget &modal) {
                        teacher = Oktatofog->OktatoId;
                        weeks = Oktatofog->VL->Hetek();
                        static_cast<QDialog &>(modal).reject();
                    });
    EXPECT_EQ(teacher, 1);
    EXPECT_EQ(weeks, 3);
    selectRow(11);
    emit form->popuptoktato->aboutToShow();
    EXPECT_TRUE(form->tnew->isVisible());
    EXPECT_FALSE(form->tdel->isVisible());
    EXPECT_FALSE(form->tinfo->isVisible());
}

TEST_F(CourseTeachersAndSubjects, AttachedSubjectsGetAHeadCountAreRemovedOnOkAndCanBecomeTheDefault)
{
    EXPECT_EQ(answerNumber(*form->DBGrid2, "maxletszam", " 45 "), 1);
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 3, "maxletszam"), 45);
    EXPECT_EQ(form->MT_kurzustargy_temp.FieldByName("maxletszam")->AsInteger(), 45);
    answerNumber(*form->DBGrid2, "maxletszam", nullptr);
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 3, "maxletszam"), 45) << "cancelled";

    linkSubject(10, 4);
    form->LoadCourseSubjects(10, 3);
    emit form->kurzustargyai->aboutToShow();
    EXPECT_FALSE(form->kurzustargyDel->isVisible()) << "the default subject's row";
    EXPECT_FALSE(form->AlapertelmezettTargykurzustargydefswap->isVisible());
    EXPECT_TRUE(form->kurzustargynew->isVisible());
    ASSERT_TRUE(form->MT_kurzustargy_temp.Locate("targy_id", 4, {}));
    emit form->kurzustargyai->aboutToShow();
    EXPECT_TRUE(form->kurzustargyDel->isVisible());
    EXPECT_TRUE(form->AlapertelmezettTargykurzustargydefswap->isVisible());

    messagesOf([&] { form->kurzustargyDel->trigger(); }, QMessageBox::Cancel);
    EXPECT_TRUE(subjectLinked(10, 4));
    EXPECT_EQ(messagesOf([&] { form->kurzustargyDel->trigger(); }), QStringList{QStringLiteral("Valóban törölni akarja?")});
    EXPECT_FALSE(subjectLinked(10, 4));
    EXPECT_TRUE(subjectLinked(10, 3));
    EXPECT_EQ(form->MT_kurzustargy_temp.RecordCount(), 1);

    linkSubject(10, -1);
    form->LoadCourseSubjects(10, -1);
    ASSERT_EQ(form->MT_kurzustargy_temp.FieldByName("targy_id")->AsInteger(), -1);
    for (QAction *entry : {form->kurzustargyDel, form->AlapertelmezettTargykurzustargydefswap})
        EXPECT_EQ(messagesOf([&] { entry->trigger(); }), QStringList{QStringLiteral("A kurzus és/vagy tárgy hiányzik!")});
    EXPECT_TRUE(subjectLinked(10, -1));

    addCourse({0, "NULLA", "Nulladik", 3});
    for (const auto &[course, subject] : {std::pair{10, 4}, std::pair{0, 4}, std::pair{0, 0}}) {
        linkSubject(course, subject);
        form->LoadCourseSubjects(course, subject);
        EXPECT_EQ(messagesOf([&] { form->AlapertelmezettTargykurzustargydefswap->trigger(); }), QStringList{});
        ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", course, {}));
        EXPECT_EQ(DM->MT_kurzus.FieldByName("targy_id")->AsInteger(), subject) << "course " << course;
    }
}

TEST_F(CourseTeachersAndSubjects, RestoringKeepsTheDefaultAndAddsTheTemplatesMissingSubjects)
{
    linkSubject(10, 4);
    linkSubject(14, 4);
    form->LoadCourseSubjects(10, 4);
    form->kurzustargydef->trigger();
    EXPECT_TRUE(subjectLinked(10, 3));
    EXPECT_FALSE(subjectLinked(10, 4)) << "no template: only the default stays";
    EXPECT_TRUE(subjectLinked(14, 4)) << "other courses keep their subjects";
    EXPECT_EQ(form->MT_kurzustargy_temp.RecordCount(), 1);

    addSubject(5, "KEM", "Kémia");
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 90007}, {"targy_id", 3}});
    appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", 90007}, {"targy_id", 3}});
    appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", 90007}, {"targy_id", 5}});
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 10, {}));
    setField(DM->MT_kurzus, "kurzusminta_id", 90007);
    ASSERT_TRUE(DM->MT_kurzustargy.Locate("kurzus_id;targy_id", VarArrayOf({10, 3}), {}));
    setField(DM->MT_kurzustargy, "maxletszam", 30);
    form->LoadCourseSubjects(10, 3);
    form->kurzustargydef->trigger();
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 3, "maxletszam"), 30) << "existing links stay";
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 5, "maxletszam"), -1);
    EXPECT_EQ(form->MT_kurzustargy_temp.RecordCount(), 2);
    EXPECT_FALSE(DM->MT_kurzustargy.Filtered());
    EXPECT_FALSE(DM->MT_kurzusmintatargy.Filtered());

    // The course is read from the subject list: a course without subject rows restores nothing.
    selectRow(11);
    ASSERT_EQ(form->MT_kurzustargy_temp.RecordCount(), 0);
    linkSubject(10, 4);
    form->kurzustargydef->trigger();
    EXPECT_TRUE(subjectLinked(10, 4));
}

TEST_F(CourseTeachersAndSubjects, SearchResultIsAttachedOnceWithoutLimitAndATemplateOnlyFromItsPage)
{
    searchAnswers(targy_kereso->TS_targy, 4, QDialog::Rejected);
    EXPECT_FALSE(subjectLinked(10, 4));
    searchAnswers(targy_kereso->TS_targy, 4);
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 4, "maxletszam"), -1);
    EXPECT_EQ(form->MT_kurzustargy_temp.RecordCount(), 2);
    EXPECT_EQ(form->MT_kurzustargy_temp.FieldByName("targy_id")->AsInteger(), 4);
    form->MT_kurzustargy_temp.First();
    searchAnswers(targy_kereso->TS_targy, 4);
    EXPECT_EQ(form->MT_kurzustargy_temp.RecordCount(), 2) << "an attached subject is not added twice";
    EXPECT_EQ(form->MT_kurzustargy_temp.FieldByName("targy_id")->AsInteger(), 3) << "and the list stays";

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
