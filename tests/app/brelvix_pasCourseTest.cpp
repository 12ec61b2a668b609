// The course panels and their editing: edit row, single reservations, teachers, subjects, removal.

#include "app/Application.h"
#include "app/brelvix_pasFixture.h"
#include "dialogs/Teremfoglaltsag.h"
#include "dialogs/oktvalaszt.h"
#include "dialogs/targybeemeles.h"

using namespace mainwindowtest;

class CourseEditing : public Faculty {
protected:
    // Saves the edit row; the messages the program showed. A refusal is raised by the handler and
    // shown as the application object shows it; it is delivered here without Qt's event code
    // between, whose frames an exception must not cross.
    QStringList shownWhenSaving()
    {
        QStringList shown;
        answeringModals([&] { deliverShowingExceptions([&] { form->B_kurzusmentesClick(); return true; }); },
                        [&](QWidget &modal) {
            auto &box = static_cast<QMessageBox &>(modal);
            shown << box.text();
            QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        });
        return shown;
    }
    // Clicks a cell of the column and answers the number dialog with `typed`, or cancels it.
    int answerNumber(TDBGrid &grid, int column, const char *typed)
    {
        return answeringModals([&] { grid.OnCellClick(*grid.Columns()[column]); }, [typed](QWidget &modal) {
            letszam->Edit1->setText(QString::fromUtf8(typed ? typed : ""));
            static_cast<QDialog &>(modal).done(typed ? QDialog::Accepted : QDialog::Rejected);
        });
    }
};

TEST_F(CourseEditing, PanelsShowTheCoursesTeachersSubjectsEditRowAndGroupWithPlaceholders)
{
    linkTeacher(11, 77, 40);
    linkTeacher(11, 2);
    linkSubject(11, 55, 18);
    linkSubject(11, 4, 25);
    for (const auto &[teacher, subject, current] : {std::tuple{2, 4, "2 4"}, std::tuple{99, 99, "77 55"}}) {
        form->LoadCourseTeachers(11, teacher);
        form->LoadCourseSubjects(11, subject);
        EXPECT_EQ(form->MT_oktato_temp.FieldByName("oktato_id")->AsString() + ' ' +
                      form->MT_kurzustargy_temp.FieldByName("targy_id")->AsString(), current) << "the given rows, else the first";
    }
    EXPECT_EQ(rowsOf(form->MT_oktato_temp, {"oktato_id", "oktato_kkod", "oktato_nev", "oktato_szazalek"}),
              (QStringList{"77|77|Ismeretlen oktató|40", "2||Nagy Béla|100"}));
    EXPECT_EQ(rowsOf(form->MT_kurzustargy_temp, {"targy_id", "targy_kod", "targy_nev", "targy_ea", "targy_gy", "targy_la",
                                                 "targy_kredit", "tanszek_id", "szabad", "evjarat", "maxletszam"}),
              (QStringList{"55|Kód???|Ismeretlen tárgy|-1|-1|-1|-1|-1|0|-1|18", "4|BIO|Biológia|0|0|0|0|-1|0|0|25"}));

    const QString missing = QStringLiteral("A tárgy vagy egyedi foglalás nem található!!!");
    addCourse({20, "X-1", "", -1});
    addCourse({21, "X-2", "", 999});
    addCourse({22, "X-3", "", 4, Variant()});
    addCourse({0, "NULLA", "Nulladik"});
    for (const auto &[id, shown] : {std::pair{20, "X-1|" + missing + "||30"}, std::pair{21, "X-2|" + missing + "||30"},
                                    std::pair{22, QStringLiteral("X-3|Biológia||0")}, std::pair{0, QStringLiteral("NULLA|Nulladik||30")}}) {
        form->LoadCourseEditor(id);
        EXPECT_EQ(editRow(), shown);
        EXPECT_TRUE(form->Edit1->isReadOnly());
    }
    QStringList titles(3);
    TztrMemTable closed;
    form->CourseTitle(10, &closed, titles[0]);
    form->CourseTitle(404, nullptr, titles[1]);
    form->CourseTitle(22, &DM->MT_kurzus, titles[2]);
    EXPECT_EQ(titles, (QStringList{"kurzustábla nem aktív", "kurzus hiányzik (404)", "Biológia"}));
    form->LV->clearSelection();
    form->LoadCourseEditor(-1);
    EXPECT_EQ(editRow(), QStringLiteral("|||"));
    EXPECT_EQ(form->MT_alkalom_temp.RecordCount(), 0);

    // The group tab lists the courses attached to the head, also for an attached course; a link of 0
    // attaches nothing, so course 0 heads no group.
    addCourse({23, "X-4", "Árva", -1, 10, 404});
    for (const auto &[id, shown] :
         {std::pair{10, true}, std::pair{11, false}, std::pair{23, false}, std::pair{0, false}, std::pair{12, true}}) {
        form->LoadLinkedCourses(id);
        EXPECT_EQ(form->PC->isTabVisible(form->PC->indexOf(form->PC_kurzus)), shown) << id;
    }
    EXPECT_EQ(rowsOf(DM->MT_kurzus_csatolt, {"kurzus_id"}), QStringList{"12"});
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger(), 10);
}

TEST_F(CourseEditing, SavingWritesTheEditRowIntoTheCourseOrCreatesASingleReservation)
{
    // The course's row in the data and its list row, "*" when selected.
    const auto course = [&](int id) {
        const QStringList stored = rowsOf(DM->MT_kurzus, {"kurzus_id", "kurzus_kod_osszetett", "megnevezes", "megjegyzes", "max_letszam", "targy_id"});
        const QTreeWidgetItem *row = rowOf(id);
        return stored.filter(QRegularExpression('^' + QString::number(id) + "\\|")).value(0) + ' ' +
               (row ? QStringList{row->text(0), row->text(1), row->text(2), row->text(3)}.join('|') + (row->isSelected() ? "*" : "") : "-");
    };
    // Fills the edit row as typed and saves it; the messages it gave, then how course `id` shows.
    const auto save = [&](const char *code, const char *title, const char *remark, const char *headCount, int id = 11) {
        for (const auto &[edit, text] : {std::pair{form->Edit1, code}, {form->Edit2, title}, {form->Edit3, remark}, {form->Edit4, headCount}})
            edit->setText(QString::fromUtf8(text));
        const QString messages = messagesOf([&] { QTest::mouseClick(form->B_kurzusmentes, Qt::LeftButton); }).join('/');
        return messages + ' ' + course(id);
    };
    form->LV->clearSelection();
    EXPECT_EQ(save("MAT-9", "Semmi", "", "1"), QStringLiteral(" 11|FIZ-1|Fizika gyakorlat||0|-1 !FIZ-1|Fizika gyakorlat|0|"));
    selectRow(11);
    EXPECT_TRUE(form->Edit1->isReadOnly()) << "only administrators change codes";
    EXPECT_EQ(save("FIZ-2", "Fizika labor", "páros", "16"), QStringLiteral(" 11|FIZ-1|Fizika labor|páros|16|-1 !FIZ-1|Fizika labor|16|páros*"));
    DM->Admin = true;
    EXPECT_EQ(save("MAT-1", "Fizika labor", "új", "16"),
              QStringLiteral("Ilyen kurzuskód már szerepel a nyilvántartásban!\rA kurzuskód nem került mentésre! "
                             "11|FIZ-1|Fizika labor|új|16|-1 !FIZ-1|Fizika labor|16|új*"));
    EXPECT_EQ(save("FIZ-9", "Fizika labor", "új", "16"), QStringLiteral(" 11|FIZ-9|Fizika labor|új|16|-1 FIZ-9|Fizika labor|16|új*"));
    EXPECT_FALSE(form->Edit1->isReadOnly());

    // A single reservation needs five characters of code and title; it joins the timetable.
    DM->Admin = false;
    QTest::mouseClick(form->B_egyfogl, Qt::LeftButton);
    EXPECT_EQ(editRow() + form->B_kurzusmentes->text(), QStringLiteral("Egyedi|||0 Foglalás"));
    EXPECT_FALSE(form->Edit1->isReadOnly());
    EXPECT_TRUE(save("Egyedi", "Vizs", "", "25").startsWith("A kód és a megnevezés hossza legalább 5 karakter kell legyen! "));
    EXPECT_EQ(form->B_kurzusmentes->text(), QStringLiteral(" Foglalás")) << "the mode stays";
    EXPECT_TRUE(save("Egyedi", "Vizsga", "", "25").startsWith(' '));
    const int id = rowsOf(DM->MT_kurzus, {"kurzus_id"}).last().toInt();
    EXPECT_EQ(course(id), QString::number(id) + QStringLiteral("|Egyedi|Vizsga||25|-1 !Egyedi|Vizsga|25|*"));
    EXPECT_TRUE(linked(DM->MT_kurzusorarend, "orarend_id", id, 1));
    EXPECT_EQ(form->B_kurzusmentes->text(), QStringLiteral("Kurzus mentése"));
    EXPECT_TRUE(form->Edit1->isReadOnly());
    // In room mode it works without a timetable; elsewhere it needs one, timetable 0 as any other.
    form->WorkMode = 3;
    for (const auto &[timetable, shown] : {std::pair{-1, "Kurzus mentése"}, std::pair{0, " Foglalás"}}) {
        form->TimetableId = timetable;
        form->B_egyedifoglalasClick();
        EXPECT_EQ(form->B_kurzusmentes->text(), QString::fromUtf8(shown)) << timetable;
    }
    form->TimetableId = -1;
    form->WorkMode = 2;
    form->B_egyedifoglalasClick();
    save("Egyedi", "Terem foglalás", "", "0");
    EXPECT_TRUE(linked(DM->MT_kurzusorarend, "orarend_id", rowsOf(DM->MT_kurzus, {"kurzus_id"}).last().toInt(), -1));

    // Leaving the head-count box keeps a number or an empty text, else puts "0"; the box lets its
    // selection go as any box does.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    for (const auto &[typed, kept] : {std::pair{"12", "12"}, std::pair{"1a", "0"}, std::pair{"-5", "0"}, std::pair{"", ""}}) {
        form->Edit4->setFocus();
        form->Edit4->setText(QString::fromUtf8(typed));
        form->Edit4->selectAll();
        form->Edit3->setFocus();
        EXPECT_EQ(form->Edit4->text() + (form->Edit4->hasSelectedText() ? "*" : ""), QString::fromUtf8(kept)) << typed;
    }
}

// The box the program shows for a refused value speaks the program's language.
TEST_F(CourseEditing, ASingleReservationWithoutAHeadCountIsRefusedInHungarianAndAddsNothing)
{
    QTest::mouseClick(form->B_egyfogl, Qt::LeftButton);
    form->Edit2->setText(QStringLiteral("Vizsga"));
    form->Edit4->clear();
    const int courses = DM->MT_kurzus.RecordCount();
    EXPECT_EQ(shownWhenSaving(), QStringList{"'' nem érvényes egész szám"});
    EXPECT_EQ(DM->MT_kurzus.RecordCount(), courses);
}

// The edit row takes no more than the course holds and no character the files cannot hold; a
// text put there another way is refused on saving, before the course or its list row changes.
TEST_F(CourseEditing, TheEditRowTakesOnlyWhatTheCourseCanHold)
{
    selectRow(11);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    const auto type = [](QLineEdit *edit, const QStringList &characters) {
        edit->setFocus();
        edit->selectAll();
        for (const QString &c : characters)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, c, Qt::NoModifier);
    };
    type(form->Edit2, QStringList(103, QStringLiteral("n")));
    type(form->Edit3, {QStringLiteral("😀"), QStringLiteral("中"), QStringLiteral("ő")});
    EXPECT_EQ(form->Edit2->text(), QString(100, u'n'));
    EXPECT_EQ(form->Edit3->text(), QStringLiteral("ő"));
    QTest::mouseClick(form->B_kurzusmentes, Qt::LeftButton);
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 11, {}));
    EXPECT_EQ(DM->MT_kurzus.FieldByName("megnevezes")->AsString(), std::string(100, 'n'));
    EXPECT_EQ(cp1250ToUtf8(DM->MT_kurzus.FieldByName("megjegyzes")->AsString()), "ő");

    form->Edit3->setText(QStringLiteral("Terem 😀"));
    const QStringList shown = shownWhenSaving();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("„😀”")) && shown[0].contains(QStringLiteral("megjegyzes"))) << shown[0].toStdString();
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 11, {}));
    EXPECT_EQ(cp1250ToUtf8(DM->MT_kurzus.FieldByName("megjegyzes")->AsString()), "ő");
    EXPECT_EQ(rowOf(11)->text(3), QStringLiteral("ő"));
}

// Shares and head counts are counts in decimal digits; a sign is refused in Hungarian and stores
// nothing, save a subject's "no limit" it was shown with.
TEST_F(CourseEditing, ASharesOrHeadCountsSignIsRefusedInHungarian)
{
    selectRow(10);
    form->LV->setFocus();
    const auto answer = [&](TDBGrid &grid, int column, const char *typed) {
        QStringList said;
        answeringModals([&] { grid.OnCellClick(*grid.Columns()[column]); }, [&](QWidget &modal) {
            if (&modal == letszam) {
                letszam->Edit1->setText(QString::fromUtf8(typed));
                letszam->done(QDialog::Accepted);
                return;
            }
            auto &box = static_cast<QMessageBox &>(modal);
            said << box.text();
            QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        });
        return said;
    };
    const auto refusal = [](const char *typed) {
        return QStringList{"'" + QString::fromUtf8(typed) +
                           "' nem érvényes szám: csak számjegyekkel írt, nem negatív egész szám adható meg!"};
    };
    const int headCount = linkField(DM->MT_kurzustargy, "targy_id", 10, 3, "maxletszam");
    for (const char *typed : {"-5", "-1"}) {
        EXPECT_EQ(answer(*form->G_okttemp, 1, typed), refusal(typed));
        EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 1, "szazalek"), 100) << typed;
    }
    EXPECT_EQ(answer(*form->DBGrid2, 0, "-5"), refusal("-5"));
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 3, "maxletszam"), headCount);
    EXPECT_TRUE(answer(*form->DBGrid2, 0, "-1").isEmpty());
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 3, "maxletszam"), -1);
    EXPECT_TRUE(answer(*form->G_okttemp, 1, "40").isEmpty());
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 1, "szazalek"), 40);
}

TEST_F(CourseEditing, RemovalTakesOnlyTheTimetableLinkAndCopyIsMadeFromTheGroupsHead)
{
    selectRow(11);
    EXPECT_EQ(messagesOf([&] { form->EltavolitoClick(); }, QMessageBox::Cancel),
              QStringList{QStringLiteral("Valóban el akarja távolítani az órarendből?")});
    EXPECT_TRUE(linked(DM->MT_kurzusorarend, "orarend_id", 11, 1));
    messagesOf([&] { form->EltavolitoClick(); });
    EXPECT_FALSE(linked(DM->MT_kurzusorarend, "orarend_id", 11, 1));
    EXPECT_EQ(rowOf(11), nullptr);
    EXPECT_TRUE(linked(DM->MT_alkalom, "alkalom_id", 11, 110)) << "the course and its occasions stay";
    // Course 13 has no occasion, so the list row names it; its link went missing meanwhile.
    selectRow(13);
    ASSERT_TRUE(DM->MT_kurzusorarend.Locate("kurzus_id", 13, {}));
    DM->MT_kurzusorarend.Delete();
    EXPECT_EQ(messagesOf([&] { form->EltavolitoClick(); }), QStringList{QStringLiteral("Nem található a kurzus az órarendben!")});

    // A copy is made from the group's head: none of a course attached to a missing one.
    addCourse({20, "X-1", "Csatolt", -1, 10, 13}, {1});
    addCourse({21, "X-2", "Árva", -1, 10, 404}, {1});
    showTimetable(1);
    for (const auto &[id, source] : {std::pair{21, -9}, std::pair{20, 13}, std::pair{10, 10}}) {
        selectRow(id);
        Targyfelvet->ForrasKurzusId = -9;
        EXPECT_EQ(closingDialogs([&] { form->Szaporito1Click(); }), source < 0 ? 0 : 1) << id;
        EXPECT_EQ(Targyfelvet->ForrasKurzusId, source) << id;
    }
    EXPECT_EQ(Targyfelvet->OrarendId, -2) << "copy into timetable 1";
    EXPECT_EQ(messagesOf([&] { form->Kivagas->trigger(); }), QStringList{QStringLiteral("A funkció jelenleg nem elérhető")});
}

TEST_F(CourseEditing, TeachersAreAddedOnceRemovedOnOkAndGetTheirShare)
{
    // Course 0 is a course like any other.
    addCourse({0, "NUL-1", "", 3}, {1});
    linkTeacher(0, 1);
    showTimetable(1);
    selectRow(0);
    // Its popup is opened with the focus on the panel: a calendar box getting the focus back
    // after a dialog would make its own course current.
    form->LV->setFocus();
    for (const auto &[chosen, answer] : {std::pair{2, QDialog::Rejected}, {2, QDialog::Accepted}, {1, QDialog::Accepted}, {2, QDialog::Accepted}}) {
        ASSERT_TRUE(DM->MT_oktato.Locate("oktato_id", chosen, {}));
        closingDialogs([&] { form->tnew->trigger(); }, answer);
    }
    const auto teachers = [&] { return rowsOf(form->MT_oktato_temp, {"oktato_id", "oktato_szazalek"}); };
    EXPECT_EQ(teachers(), (QStringList{"1|100", "2|100"})) << "a cancelled chooser adds nobody, a linked teacher is not added twice";
    EXPECT_EQ(form->MT_oktato_temp.FieldByName("oktato_id")->AsInteger(), 2);
    for (const auto &[typed, stored] : {std::pair{"40", 40}, std::pair{"0", 0}, std::pair{"150", 100}}) {
        EXPECT_EQ(answerNumber(*form->G_okttemp, 1, typed), 1);
        EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 0, 2, "szazalek"), stored) << typed;
        EXPECT_EQ(teachers(), (QStringList{"1|100", "2|" + QString::number(stored)})) << typed;
    }
    EXPECT_EQ(answerNumber(*form->G_okttemp, 0, "10"), 0) << "a click on the name asks nothing";

    EXPECT_EQ(messagesOf([&] { form->tdel->trigger(); }, QMessageBox::Cancel), QStringList{"Valóban törölni akarja?\r\nNagy Béla"});
    EXPECT_TRUE(linked(DM->MT_kurzusoktato, "oktato_id", 0, 2));
    messagesOf([&] { form->tdel->trigger(); });
    EXPECT_FALSE(linked(DM->MT_kurzusoktato, "oktato_id", 0, 2));
    EXPECT_EQ(teachers(), QStringList{"1|100"});
    emit form->popuptoktato->aboutToShow();
    EXPECT_TRUE(form->tdel->isVisible() && form->tinfo->isVisible());
    EXPECT_EQ(closingDialogs([&] { form->tinfo->trigger(); }), 1);
    EXPECT_EQ(Oktatofog->OktatoId, 1);
    selectRow(11);
    emit form->popuptoktato->aboutToShow();
    EXPECT_TRUE(form->tnew->isVisible() && !form->tdel->isVisible() && !form->tinfo->isVisible());
}

TEST_F(CourseEditing, SubjectsGetAHeadCountAreAttachedRemovedRestoredAndMadeTheDefault)
{
    selectRow(10);
    form->LV->setFocus();
    const auto subjects = [&] { return rowsOf(form->MT_kurzustargy_temp, {"targy_id", "maxletszam"}); };
    EXPECT_EQ(answerNumber(*form->DBGrid2, 0, " 45 "), 1);
    answerNumber(*form->DBGrid2, 0, nullptr);
    EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 10, 3, "maxletszam"), 45);
    EXPECT_EQ(subjects(), QStringList{"3|45"});
    // The search's result is attached once, without a head-count limit.
    for (const auto &[outcome, current] : {std::pair{QDialog::Rejected, 3}, {QDialog::Accepted, 4}, {QDialog::Accepted, 3}}) {
        answeringModals([] { Form1->kurzustargynew->trigger(); }, [&, outcome_ = outcome](QWidget &modal) {
            targy_kereso->PC->setCurrentWidget(targy_kereso->TS_targy);
            targy_kereso->DBGrid2->SelectedRows().Clear();
            targy_kereso->Eredmeny = 4;
            static_cast<QDialog &>(modal).done(outcome_);
        });
        EXPECT_EQ(form->MT_kurzustargy_temp.FieldByName("targy_id")->AsInteger(), current) << "the new one, else the list stays";
        form->MT_kurzustargy_temp.First();
    }
    EXPECT_EQ(subjects(), (QStringList{"3|45", "4|-1"}));
    emit form->kurzustargyai->aboutToShow();
    EXPECT_FALSE(form->kurzustargyDel->isVisible() || form->AlapertelmezettTargykurzustargydefswap->isVisible()) << "the default's row";
    EXPECT_TRUE(form->kurzustargynew->isVisible());
    form->MT_kurzustargy_temp.Next();
    emit form->kurzustargyai->aboutToShow();
    EXPECT_TRUE(form->kurzustargyDel->isVisible() && form->AlapertelmezettTargykurzustargydefswap->isVisible());
    EXPECT_EQ(messagesOf([&] { form->kurzustargyDel->trigger(); }, QMessageBox::Cancel), QStringList{"Valóban törölni akarja?"});
    EXPECT_EQ(subjects(), (QStringList{"3|45", "4|-1"})) << "cancelled";
    messagesOf([&] { form->kurzustargyDel->trigger(); });
    EXPECT_EQ(subjects(), QStringList{"3|45"});
    EXPECT_FALSE(linked(DM->MT_kurzustargy, "targy_id", 10, 4));
    linkSubject(10, -1);
    form->LoadCourseSubjects(10, -1);
    for (QAction *entry : {form->kurzustargyDel, form->AlapertelmezettTargykurzustargydefswap})
        EXPECT_EQ(messagesOf([&] { entry->trigger(); }), QStringList{QStringLiteral("A kurzus és/vagy tárgy hiányzik!")});
    EXPECT_TRUE(linked(DM->MT_kurzustargy, "targy_id", 10, -1));
    linkSubject(10, 0); // subject 0 is a subject like any other
    form->LoadCourseSubjects(10, 0);
    EXPECT_EQ(messagesOf([&] { form->kurzustargyDel->trigger(); }), QStringList{"Valóban törölni akarja?"});
    EXPECT_FALSE(linked(DM->MT_kurzustargy, "targy_id", 10, 0));

    // Restoring keeps the default subject and adds the template's missing ones without a limit.
    linkSubject(14, 4);
    form->kurzustargydef->trigger();
    EXPECT_EQ(subjects(), QStringList{"3|45"}) << "no template";
    EXPECT_TRUE(linked(DM->MT_kurzustargy, "targy_id", 14, 4)) << "other courses keep their subjects";
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 90007}, {"targy_id", 3}});
    for (int subject : {3, 5})
        appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", 90007}, {"targy_id", subject}});
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 10, {}));
    setFields(DM->MT_kurzus, {{"kurzusminta_id", 90007}});
    form->kurzustargydef->trigger();
    EXPECT_EQ(subjects(), (QStringList{"3|45", "5|-1"}));
    EXPECT_FALSE(DM->MT_kurzustargy.Filtered() || DM->MT_kurzusmintatargy.Filtered());
    addCourse({0, "NULLA", "Nulladik", 3});
    for (const auto &[course, subject] : {std::pair{10, 5}, std::pair{0, 4}, std::pair{0, 0}}) {
        linkSubject(course, subject);
        form->LoadCourseSubjects(course, subject);
        EXPECT_EQ(messagesOf([&] { form->AlapertelmezettTargykurzustargydefswap->trigger(); }), QStringList{});
        ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", course, {}));
        EXPECT_EQ(DM->MT_kurzus.FieldByName("targy_id")->AsInteger(), subject) << "course " << course;
    }
}

// A share that is no number, a restore with no subject row to name the course and a template
// exchange left on the subjects' page change nothing.
TEST_F(CourseEditing, NoNumberNoSubjectRowOrATemplateLeftOnAnotherPageChangeNothing)
{
    selectRow(10);
    form->LV->setFocus();
    EXPECT_EQ(answerNumber(*form->G_okttemp, 1, ""), 2) << "the input, then the refusal";
    EXPECT_EQ(linkField(DM->MT_kurzusoktato, "oktato_id", 10, 1, "szazalek"), 100);
    EXPECT_EQ(letszam->Edit1->text(), QStringLiteral("0"));

    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 90007}, {"targy_id", 4}});
    answeringModals([&] { form->Kurzusmintacsere->trigger(); }, [&](QWidget &modal) {
        targy_kereso->PC->setCurrentWidget(targy_kereso->TS_targy);
        targy_kereso->Eredmeny = 90007;
        static_cast<QDialog &>(modal).done(QDialog::Accepted);
    });
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 10, {}));
    EXPECT_EQ(DM->MT_kurzus.FieldByName("targy_id")->AsInteger(), 3);
    EXPECT_NE(DM->MT_kurzus.FieldByName("kurzusminta_id")->AsInteger(), 90007);

    selectRow(11);
    linkSubject(10, 4);
    ASSERT_EQ(form->MT_kurzustargy_temp.RecordCount(), 0);
    form->kurzustargydef->trigger();
    EXPECT_TRUE(linked(DM->MT_kurzustargy, "targy_id", 10, 4));
}

TEST_F(CourseEditing, EditRowShowsWholeCodesAndTitlesAndTheStartOfLongerOnes)
{
    addCourse({20, "SZT151MN-LA-03", "Valószínűségszámítás és statisztika"}, {3});
    addCourse(
        {21, "X-1",
         "Gyakorlat a valószínűségszámítás és a statisztika alkalmazásaihoz, mérnök szakos hallgatóknak"},
        {3});
    form->resize(1024, 720);
    showTimetable(3);
    clickRow(*form->LV, rowOf(20));
    EXPECT_TRUE(showsWholeText(*form->Edit1, form->Edit1->text())) << form->Edit1->width();
    EXPECT_TRUE(showsWholeText(*form->Edit2, form->Edit2->text())) << form->Edit2->width();
    clickRow(*form->LV, rowOf(21));
    EXPECT_EQ(form->Edit2->cursorPosition(), 0) << "the title is shown from its start";
}

// "<" takes the clicked course out of the timetable; "Mentés" stores that and the view loses it.
TEST_F(CourseEditing, ACourseTakenOutOfTheTimetableLeavesItsListAndCalendar)
{
    QStringList seen;
    answeringModals([&] { QTest::mouseClick(form->B_beemeles, Qt::LeftButton); }, [&](QWidget &modal) {
        ASSERT_EQ(&modal, beemeles);
        TDBGrid &inTimetable = *beemeles->DBGrid2;
        seen << drawn(*beemeles->DBGrid1) + " / " + drawn(inTimetable);
        const int row = drawn(inTimetable).split(',').indexOf("FIZ-1");
        QTest::mouseClick(inTimetable.viewport(), Qt::LeftButton, {}, inTimetable.CellRect(0, row).center());
        QTest::mouseClick(beemeles->B_kivetel, Qt::LeftButton);
        seen << drawn(*beemeles->DBGrid1) + " / " + drawn(inTimetable);
        QTest::mouseClick(beemeles->kivalaszt, Qt::LeftButton);
    });
    EXPECT_EQ(seen, (QStringList{"ANG-1 / MAT-1,FIZ-1,KEM-1,BIO-1", "ANG-1,FIZ-1 / MAT-1,KEM-1,BIO-1"}));
    EXPECT_EQ(sortedCourses(), (Ids{10, 12, 13}));
    // Course 12 shows the occasions of its group's head.
    EXPECT_EQ(items(), (Items{{10, 100}, {10, 101}, {12, 100}, {12, 101}}));
    EXPECT_FALSE(linked(DM->MT_kurzusorarend, "orarend_id", 11, 1));
    EXPECT_TRUE(linked(DM->MT_kurzusorarend, "orarend_id", 10, 1));
}

// The occupancy windows open on the rows, weeks and days the main calendar shows, and their day
// controls name those days.
TEST_F(CourseEditing, TimetablesOpenedFromTheChooserAndTheRoomButtonFollowTheMainCalendar)
{
    QTest::mouseClick(form->B_beosztoras, Qt::LeftButton);
    QTest::mouseClick(form->CBNap[5], Qt::LeftButton);
    form->VL->SetHetek(2);
    const auto firstRow = [](const TveltoCalendar &calendar) { return calendar.Rows().empty() ? -1 : calendar.Rows().front().Start; };
    ASSERT_EQ(form->VL->Days().bits(), 0x3Fu);
    clickRow(*form->LV, rowOf(10));
    QStringList seen;
    const auto readTimetable = [&](QWidget &modal) {
        ASSERT_EQ(&modal, Oktatofog);
        const TveltoCalendar &calendar = *Oktatofog->VL;
        seen << QStringLiteral("%1 %2 %3 %4").arg(calendar.Days().bits()).arg(calendar.Hetek()).arg(firstRow(calendar))
                    .arg(Oktatofog->CBNap[5]->isChecked());
        // The last day shown cannot be taken away; its box stays ticked.
        for (int day = 0; day < 6; ++day)
            QTest::mouseClick(Oktatofog->CBNap[day], Qt::LeftButton);
        seen << QStringLiteral("%1 %2").arg(calendar.Days().bits()).arg(Oktatofog->CBNap[5]->isChecked());
        QTest::mouseClick(Oktatofog->Button1, Qt::LeftButton);
    };
    answeringModals([&] { chooseFromPopup(form->G_okttemp->viewport(), form->G_okttemp->CellRect(0, 0).center(),
                                          form->popuptoktato, form->tnew); },
                    [&](QWidget &modal) {
        EXPECT_EQ(&modal, oktval);
        answeringModals([&] { chooseFromPopup(oktval->DBGrid1->viewport(), oktval->DBGrid1->CellRect(1, 0).center(),
                                              oktval->PM, oktval->Oktatrarendje1); }, readTimetable);
        QTest::mouseClick(oktval->Button1, Qt::LeftButton);
    });
    EXPECT_EQ(seen, (QStringList{QStringLiteral("63 2 %1 1").arg(firstRow(*form->VL)), "32 1"}));

    // The room view's day menu ticks the days it was given, so choosing "Szombat" takes it away.
    answeringModals([&] { QTest::mouseClick(form->Button9, Qt::LeftButton); }, [&](QWidget &modal) {
        ASSERT_EQ(&modal, Teremfog);
        EXPECT_TRUE(Teremfog->Nap[5]->isChecked());
        chooseFromPopup(Teremfog->VL->viewport(), Teremfog->VL->CellRect(1, 1).center(), Teremfog->PM_nezet,
                        Teremfog->Nap[5]);
        EXPECT_EQ(Teremfog->VL->Days().bits(), 0x1Fu);
        QTest::mouseClick(Teremfog->Button1, Qt::LeftButton);
    });
}

// A subject attached without a limit keeps -1 unless the planner types a number.
TEST_F(CourseEditing, SubjectHeadCountShowsAndKeepsNoLimitUntilANumberIsTyped)
{
    clickRow(*form->LV, rowOf(12));
    QTabBar *tabs = form->PC->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(form->PC->indexOf(form->PC_targyak)).center());
    ASSERT_TRUE(form->DBGrid2->isVisible());
    for (const char *typed : {"", "25"}) {
        QString shown;
        answeringModals([&] { QTest::mouseClick(form->DBGrid2->viewport(), Qt::LeftButton, {}, form->DBGrid2->CellRect(0, 0).center()); },
                        [&](QWidget &modal) {
            ASSERT_EQ(&modal, letszam);
            shown = letszam->Edit1->text();
            if (*typed) {
                letszam->Edit1->selectAll();
                QTest::keyClicks(letszam->Edit1, typed);
            }
            QTest::mouseClick(letszam->Button1, Qt::LeftButton);
        });
        EXPECT_EQ(shown, "-1") << typed;
        EXPECT_EQ(linkField(DM->MT_kurzustargy, "targy_id", 12, 3, "maxletszam"), *typed ? 25 : -1) << typed;
    }
}

// The course creation dialog offering subject 3 in a curriculum; `answer` picks it there with a
// click on `button` as a planner does, after choosing the curriculum and the subjects' page.
TEST_F(CourseEditing, CourseDialogsGetTheTimetableAndOnlyASaveRebuildsTheView)
{
    // The membership dialog's save rebuilds the view; leaving the creation dialog keeps it.
    struct Case {
        QPushButton *button;
        int *orarendId;
        bool rebuilds;
    };
    for (const Case &c : {Case{form->B_beemeles, &beemeles->OrarendId, true},
                          Case{form->B_letrehozas, &Targyfelvet->OrarendId, false}}) {
        DM->MT_kurzusorarend.SetFiltered(false);
        if (DM->MT_kurzusorarend.Locate("kurzus_id;orarend_id", VarArrayOf({14, 1}), {}))
            DM->MT_kurzusorarend.Delete();
        showTimetable(1);
        int asked = -1;
        answeringModals([&] { QTest::mouseClick(c.button, Qt::LeftButton); },
                        [&](QWidget &modal) {
                            asked = *c.orarendId;
                            appendRow(DM->MT_kurzusorarend, {{"kurzus_id", 14}, {"orarend_id", 1}});
                            *c.orarendId = -1;
                            static_cast<QDialog &>(modal).reject();
                        });
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(rowOf(14) != nullptr, c.rebuilds);
    }
}

class CourseCreationFromTheWindow : public CourseEditing {
protected:
    void SetUp() override
    {
        CourseEditing::SetUp();
        for (TztrMemTable *table : {&DM->MT_mintatanterv, &DM->MT_mintatantervtargy})
            table->EmptyTable();
        appendRow(DM->MT_mintatanterv, {{"mintatanterv_id", 1}, {"mintatanterv_kod", "GI-BSC"}, {"szabad", 1}});
        appendRow(DM->MT_mintatantervtargy, {{"mintatanterv_id", 1}, {"targy_id", 3}, {"targy_felveteltipus", "Kötelező"}});
        ASSERT_TRUE(DM->MT_targy.Locate("targy_id", 3, {}));
        setFields(DM->MT_targy, {{"szabad", 1}});
    }
    static int answer(const std::function<void()> &opening, QPushButton *button)
    {
        return answeringModals(opening, [button](QWidget &modal) {
            ASSERT_EQ(&modal, Targyfelvet);
            TDBGrid &curricula = *Targyfelvet->DBG_mintatanterv;
            QTest::mouseClick(curricula.viewport(), Qt::LeftButton, {}, curricula.CellRect(0, 0).center());
            QTabBar *tabs = Targyfelvet->PageControl1->tabBar();
            QTest::mouseClick(tabs, Qt::LeftButton, {},
                              tabs->tabRect(Targyfelvet->PageControl1->indexOf(Targyfelvet->TS_targy)).center());
            QTest::mouseClick(button, Qt::LeftButton);
            if (Targyfelvet->isVisible())
                Targyfelvet->reject();
        });
    }
    int courseCoded(const char *code)
    {
        EXPECT_TRUE(DM->MT_kurzus.Locate("kurzus_kod_osszetett", Variant(code), {})) << code;
        return DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger();
    }
};

// "Létrehozás" opens the course creation on the timetable in view; a course made there is listed
// at once under its code and title.
TEST_F(CourseCreationFromTheWindow, ACourseCreatedFromTheCreateButtonIsListedInTheTimetableInView)
{
    EXPECT_EQ(answer([&] { QTest::mouseClick(form->B_letrehozas, Qt::LeftButton); }, Targyfelvet->BGY), 1);
    const QTreeWidgetItem *row = rowOf(courseCoded("MAT-GY-01"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(0) + '|' + row->text(1), QStringLiteral("MAT-GY-01|Matematika"));
    EXPECT_EQ(listedCourses().size(), 5U);
}

// A copy of a course attached to a group is made of the group's head, of the head's type, and
// joins the timetable in view with the head staying the current course.
TEST_F(CourseCreationFromTheWindow, ACopyOfACourseIsAttachedToItsGroupsHeadAndListed)
{
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 10, {}));
    setFields(DM->MT_kurzus, {{"kurzus_tipus", Variant("LA")}});
    selectRow(12);
    EXPECT_EQ(answer([&] { form->Szaporito1->trigger(); }, Targyfelvet->B_kivalaszt), 1);
    const int copy = courseCoded("MAT-LA-01");
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzus_id_csatolt")->AsInteger(), 10);
    EXPECT_TRUE(linked(DM->MT_kurzusorarend, "orarend_id", copy, 1));
    EXPECT_NE(rowOf(copy), nullptr);
    EXPECT_EQ(form->LV->currentItem(), rowOf(10));
}
