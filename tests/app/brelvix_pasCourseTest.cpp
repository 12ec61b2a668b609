// Saving the edit row, single reservations, and taking a course out of or copying it into the
// current timetable.

#include "app/brelvix_pasFixture.h"
#include "dialogs/targybeemeles.h"
#include "dialogs/targykival.h"
#include "platform/Cp1250.h"

#include <QLineEdit>
#include <QPushButton>

using namespace mainwindowtest;

class CourseEditing : public MainWindow {
protected:
    // Selects the course's list row as a click would.
    void selectRow(int kurzusId) { form->LV->setCurrentItem(rowOf(kurzusId)); }
    void SetUp() override
    {
        MainWindow::SetUp();
        Targyfelvet = new TTargyfelvet;
        beemeles = new Tbeemeles;
        addFaculty();
        form->show();
        showTimetable(1);
    }
    void TearDown() override
    {
        delete Targyfelvet;
        Targyfelvet = nullptr;
        delete beemeles;
        beemeles = nullptr;
        MainWindow::TearDown();
    }
    void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    std::string courseText(int kurzusId, const char *field)
    {
        EXPECT_TRUE(DM->MT_kurzus.Locate("kurzus_id", kurzusId, {}));
        return cp1250ToUtf8(DM->MT_kurzus.FieldByName(field)->AsString());
    }
    bool inTimetable(int kurzusId, int orarendId)
    {
        DM->MT_kurzusorarend.SetFiltered(false);
        return DM->MT_kurzusorarend.Locate("kurzus_id;orarend_id", VarArrayOf({kurzusId, orarendId}), {});
    }
};

TEST_F(CourseEditing, SingleReservationNeedsFiveCharactersOfCodeAndTitle)
{
    QTest::mouseClick(form->B_egyfogl, Qt::LeftButton);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("Egyedi"));
    EXPECT_FALSE(form->Edit1->isReadOnly());
    EXPECT_EQ(form->B_kurzusmentes->text(), QStringLiteral(" Foglalás"));
    typeInto(form->Edit2, QStringLiteral("Vizs"));
    const int courses = DM->MT_kurzus.RecordCount();

    const QStringList shown = messagesOf([&] { QTest::mouseClick(form->B_kurzusmentes, Qt::LeftButton); });
    EXPECT_EQ(shown,
              QStringList{QStringLiteral("A kód és a megnevezés hossza legalább 5 karakter kell legyen!")});
    EXPECT_EQ(DM->MT_kurzus.RecordCount(), courses);
    EXPECT_EQ(form->B_kurzusmentes->text(), QStringLiteral(" Foglalás")) << "the mode stays";
}

TEST_F(CourseEditing, SingleReservationCreatesACourseInTheTimetableAndSelectsIt)
{
    QTest::mouseClick(form->B_egyfogl, Qt::LeftButton);
    typeInto(form->Edit2, QStringLiteral("Vizsga terem"));
    typeInto(form->Edit4, QStringLiteral("25"));
    QTest::mouseClick(form->B_kurzusmentes, Qt::LeftButton);

    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_kod_osszetett", Variant(std::string("Egyedi")), {}));
    const int id = DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger();
    EXPECT_EQ(DM->MT_kurzus.FieldByName("targy_id")->AsInteger(), -1);
    EXPECT_EQ(DM->MT_kurzus.FieldByName("max_letszam")->AsInteger(), 25);
    EXPECT_TRUE(inTimetable(id, 1));
    ASSERT_NE(rowOf(id), nullptr);
    EXPECT_TRUE(rowOf(id)->isSelected());
    EXPECT_EQ(form->B_kurzusmentes->text(), QStringLiteral("Kurzus mentése"));
    EXPECT_TRUE(form->Edit1->isReadOnly());
}

TEST_F(CourseEditing, SingleReservationInRoomModeBelongsToNoTimetable)
{
    form->TimetableId = -1;
    form->WorkMode = 2;
    form->B_egyedifoglalasClick();
    form->Edit1->setText(QStringLiteral("Foglal"));
    form->Edit2->setText(QStringLiteral("Terem foglalás"));
    form->B_kurzusmentesClick();
    ASSERT_TRUE(DM->MT_kurzus.Locate("kurzus_kod_osszetett", Variant(std::string("Foglal")), {}));
    EXPECT_TRUE(inTimetable(DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger(), -1));
}

TEST_F(CourseEditing, SavingWritesTheEditRowIntoTheCourseAndItsListRow)
{
    selectRow(11);
    ASSERT_EQ(form->LV->selectedItems().value(0), rowOf(11));
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
}

TEST_F(CourseEditing, AdministratorChangesAFreeCodeButKeepsTheOldOneWhenTheNewIsTaken)
{
    DM->Admin = true;
    selectRow(11);
    form->Edit1->setText(QStringLiteral("MAT-1"));
    form->Edit3->setText(QStringLiteral("új megjegyzés"));
    const QStringList shown = messagesOf([&] { form->B_kurzusmentesClick(); });
    EXPECT_EQ(shown, QStringList{QStringLiteral("Ilyen kurzuskód már szerepel a nyilvántartásban!\r"
                                                "A kurzuskód nem került mentésre!")});
    EXPECT_EQ(courseText(11, "kurzus_kod_osszetett"), "FIZ-1");
    EXPECT_EQ(courseText(11, "megjegyzes"), "új megjegyzés");

    form->Edit1->setText(QStringLiteral("FIZ-9"));
    form->B_kurzusmentesClick();
    EXPECT_EQ(courseText(11, "kurzus_kod_osszetett"), "FIZ-9");
    EXPECT_EQ(rowOf(11)->text(0), QStringLiteral("FIZ-9"));
}

TEST_F(CourseEditing, SavingWithNoCourseSelectedChangesNothing)
{
    form->LV->clearSelection();
    form->Edit2->setText(QStringLiteral("Semmi"));
    const int courses = DM->MT_kurzus.RecordCount();
    EXPECT_EQ(answeringModals([&] { form->B_kurzusmentesClick(); }, [](QWidget &) {}), 0);
    EXPECT_EQ(DM->MT_kurzus.RecordCount(), courses);
    EXPECT_EQ(courseText(10, "megnevezes"), "");
}

TEST_F(CourseEditing, HeadCountThatIsNoNumberTurnsToZeroOnLeaving)
{
    const std::pair<QString, QString> cases[] = {{QStringLiteral("12"), QStringLiteral("12")},
                                                 {QStringLiteral("1a"), QStringLiteral("0")},
                                                 {QStringLiteral("-5"), QStringLiteral("0")},
                                                 {QString(), QString()}};
    for (const auto &[typed, kept] : cases) {
        form->Edit4->setFocus();
        form->Edit4->setText(typed);
        form->Edit4Change();
        EXPECT_EQ(form->Edit4->text(), kept) << typed.toStdString();
    }
}

TEST_F(CourseEditing, RemovalAsksAndTakesOnlyTheTimetableLink)
{
    selectRow(11);
    const QStringList cancelled = messagesOf([&] { form->EltavolitoClick(); }, QMessageBox::Cancel);
    EXPECT_EQ(cancelled, QStringList{QStringLiteral("Valóban el akarja távolítani az órarendből?")});
    EXPECT_TRUE(inTimetable(11, 1));

    messagesOf([&] { form->EltavolitoClick(); });
    EXPECT_FALSE(inTimetable(11, 1));
    EXPECT_EQ(rowOf(11), nullptr);
    EXPECT_TRUE(DM->MT_kurzus.Locate("kurzus_id", 11, {})) << "the course itself stays";
    DM->MT_alkalom.SetFiltered(false);
    EXPECT_TRUE(DM->MT_alkalom.Locate("alkalom_id", 110, {}));
}

TEST_F(CourseEditing, RemovalOfACourseNotInTheTimetableSaysSo)
{
    selectRow(11);
    DM->MT_kurzusorarend.SetFiltered(false);
    ASSERT_TRUE(DM->MT_kurzusorarend.Locate("kurzus_id", 11, {}));
    DM->MT_kurzusorarend.Delete();
    const int links = DM->MT_kurzusorarend.RecordCount();
    EXPECT_EQ(messagesOf([&] { form->EltavolitoClick(); }),
              QStringList{QStringLiteral("Nem található a kurzus az órarendben!")});
    EXPECT_EQ(DM->MT_kurzusorarend.RecordCount(), links);
}

TEST_F(CourseEditing, CopyOfAnAttachedCourseIsMadeFromItsHead)
{
    // The head has no occasions, so the course is taken from the list row.
    addCourse({20, "X-1", "Csatolt", -1, 10, 13}, {1});
    showTimetable(1);
    selectRow(20);
    ASSERT_EQ(form->MT_alkalom_temp.RecordCount(), 0);
    int source = -1;
    int target = 0;
    const int shown = answeringModals([&] { form->Szaporito1Click(); },
                                      [&](QWidget &modal) {
                                          source = Targyfelvet->ForrasKurzusId;
                                          target = Targyfelvet->OrarendId;
                                          static_cast<QDialog &>(modal).reject();
                                      });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(source, 13);
    EXPECT_EQ(target, -2) << "copy mode into timetable 1";
}

TEST_F(CourseEditing, CopyOfACourseAttachedToAMissingCourseDoesNothing)
{
    addCourse({20, "X-1", "Árva", -1, 10, 404}, {1});
    showTimetable(1);
    selectRow(20);
    EXPECT_EQ(answeringModals([&] { form->Szaporito1Click(); },
                              [](QWidget &modal) { static_cast<QDialog &>(modal).reject(); }),
              0);
}

TEST_F(CourseEditing, CuttingIsNotAvailable)
{
    EXPECT_EQ(messagesOf([&] { form->Kivagas->trigger(); }),
              QStringList{QStringLiteral("A funkció jelenleg nem elérhető")});
}

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
