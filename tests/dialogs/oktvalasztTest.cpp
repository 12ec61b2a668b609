#include "dialogs/oktvalaszt.h"

#include "calendar/veltoCalendar.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/Oktatofoglaltsag.h"
#include "platform/widgets/DBGrids.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

using dialogtest::answeringModals;
using dialogtest::utf8Of;

class TeacherChooser : public dialogtest::DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        addTeacher(1, "Antal Béla", "ANB");
        addTeacher(2, "Kovács Ádám", "KOA");
        addTeacher(3, "kiss Éva", "KIE");
        addTeacher(4, "Kun Péter", "KUP");
        addTeacher(5, "Nagy Ilona", "NAI");
        chooser = std::make_unique<Toktval>();
    }
    void TearDown() override
    {
        chooser.reset();
        DataModule::TearDown();
    }

    int open(const std::function<void(Toktval &)> &whileShown)
    {
        int result = -1;
        answeringModals([&] { result = chooser->exec(); },
                        [&](QWidget &modal) {
                            ASSERT_EQ(&modal, chooser.get());
                            whileShown(*chooser);
                            if (chooser->isVisible())
                                QTest::mouseClick(chooser->Button1, Qt::LeftButton);
                        });
        return result;
    }
    static void clickRow(Toktval &c, int row)
    {
        QTest::mouseClick(c.DBGrid1->viewport(), Qt::LeftButton, {}, c.DBGrid1->CellRect(1, row).center());
    }
    static void enter(Toktval &c, const QString &name, const QString &code)
    {
        c.Edit1->setText(name);
        c.Edit2->setText(code);
        QTest::mouseClick(c.Button3, Qt::LeftButton);
    }
    static int currentTeacher() { return DM->MT_oktato.FieldByName("oktato_id")->AsInteger(); }
    static int teachersNamed(const std::string &utf8)
    {
        int count = 0;
        TztrMemTable &teachers = DM->MT_oktato;
        for (teachers.First(); !teachers.Eof(); teachers.Next())
            count += utf8Of(teachers, "oktato_nev") == utf8;
        return count;
    }

    std::unique_ptr<Toktval> chooser;
};

TEST_F(TeacherChooser, ShowsCodesAndNamesUnderTheirTitlesAndBackRejects)
{
    const int result = open([](Toktval &c) {
        EXPECT_EQ(dialogtest::shownColumn(*c.DBGrid1, "oktato_kkod"), (QStringList{"ANB", "KOA", "KIE", "KUP", "NAI"}));
        EXPECT_EQ(c.DBGrid1->ShownTitle(1), "Oktató neve");
        dialogtest::expectColumnsInViewWithWholeTitles(*c.DBGrid1);
        EXPECT_EQ(c.DBGrid1->PopupMenu(), c.PM);
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST_F(TeacherChooser, ChoosingLeavesTheClickedTeacherCurrent)
{
    const int result = open([](Toktval &c) {
        clickRow(c, 3);
        QTest::mouseClick(c.Button2, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(currentTeacher(), 4);
}

TEST_F(TeacherChooser, EntryControlsShowOnlyForAdministrators)
{
    open([](Toktval &c) {
        for (QWidget *entry : std::initializer_list<QWidget *>{c.Button3, c.Edit1, c.Edit2, c.Label1})
            EXPECT_FALSE(entry->isVisible());
    });
    DM->Admin = true;
    chooser->Edit1->setText(QStringLiteral("maradék"));
    open([](Toktval &c) {
        for (QWidget *entry : std::initializer_list<QWidget *>{c.Button3, c.Edit1, c.Edit2, c.Label1})
            EXPECT_TRUE(entry->isVisible());
        EXPECT_TRUE(c.Edit1->text().isEmpty());
        EXPECT_EQ(c.Button3->text(), "Újbeírás");
    });
}

TEST_F(TeacherChooser, ANewTeacherIsEnteredWithItsCodeOrNumberUnlessKnownOrShort)
{
    DM->Admin = true;
    const struct { const char *name, *code; int count; const char *storedCode; bool keptInEdit; } cases[] = {
        {"Új Oktató", "", 6, nullptr, false}, {"Új Tanár", "UJT", 7, "UJT", false},
        {"KOVÁCS ÁDÁM", "X", 7, nullptr, false}, {"Béla", "B", 7, nullptr, true},
    };
    for (const auto &c : cases) {
        open([&](Toktval &chooser) {
            enter(chooser, QString::fromUtf8(c.name), QString::fromUtf8(c.code));
            EXPECT_EQ(chooser.Edit1->text().isEmpty(), !c.keptInEdit) << c.name;
        });
        EXPECT_EQ(DM->MT_oktato.RecordCount(), c.count) << c.name;
        if (c.storedCode) {
            ASSERT_TRUE(DM->MT_oktato.Locate("oktato_nev", utf8ToCp1250(c.name), {}));
            EXPECT_EQ(utf8Of(DM->MT_oktato, "oktato_kkod"), c.storedCode);
        }
    }
    ASSERT_TRUE(DM->MT_oktato.Locate("oktato_nev", utf8ToCp1250("Új Oktató"), {}));
    EXPECT_EQ(utf8Of(DM->MT_oktato, "oktato_kkod"), "." + std::to_string(currentTeacher()));
    EXPECT_GT(currentTeacher(), 5);
    EXPECT_EQ(teachersNamed("Kovács Ádám"), 1);
    EXPECT_FALSE(chooser->Modositas);
}

TEST_F(TeacherChooser, ChangingATeacherRewritesItsRow)
{
    DM->Admin = true;
    open([](Toktval &c) {
        clickRow(c, 1);
        c.Mdosts1->trigger();
        EXPECT_EQ(c.Edit1->text(), "Kovács Ádám");
        EXPECT_EQ(c.Edit2->text(), "KOA");
        EXPECT_EQ(c.Button3->text(), "Módosítás");
        EXPECT_TRUE(c.Modositas);
        enter(c, QStringLiteral("Kovács Ádám Pál"), QStringLiteral("KAP"));
        EXPECT_EQ(c.Button3->text(), "Újbeírás");
        EXPECT_FALSE(c.Modositas);
    });
    EXPECT_EQ(DM->MT_oktato.RecordCount(), 5);
    ASSERT_TRUE(DM->MT_oktato.Locate("oktato_id", 2, {}));
    EXPECT_EQ(utf8Of(DM->MT_oktato, "oktato_nev"), "Kovács Ádám Pál");
    EXPECT_EQ(utf8Of(DM->MT_oktato, "oktato_kkod"), "KAP");
}

TEST_F(TeacherChooser, AChangeLeftUnfinishedDoesNotCarryOverToTheNextOpening)
{
    DM->Admin = true;
    open([](Toktval &c) {
        clickRow(c, 1);
        c.Mdosts1->trigger();
    });
    open([](Toktval &c) {
        EXPECT_FALSE(c.Modositas);
        enter(c, QStringLiteral("Új Oktató"), QStringLiteral("UJO"));
    });
    EXPECT_EQ(DM->MT_oktato.RecordCount(), 6);
    EXPECT_EQ(teachersNamed("Kovács Ádám"), 1);
}

TEST_F(TeacherChooser, AClickInTheGridTurnsAChangeBackIntoANewEntry)
{
    DM->Admin = true;
    open([](Toktval &c) {
        clickRow(c, 1);
        c.Mdosts1->trigger();
        clickRow(c, 2);
        EXPECT_TRUE(c.Edit1->text().isEmpty());
        EXPECT_EQ(c.Button3->text(), "Újbeírás");
        EXPECT_FALSE(c.Modositas);
    });
}

TEST_F(TeacherChooser, TypingALetterFindsTheNextTeacherOfThatLetter)
{
    open([](Toktval &c) {
        c.DBGrid1->setFocus();
        QTest::keyClick(c.DBGrid1, Qt::Key_K);
        EXPECT_EQ(currentTeacher(), 2);
        // On a name of that letter the key steps on to the next teacher, whatever its name.
        QTest::keyClick(c.DBGrid1, Qt::Key_K);
        EXPECT_EQ(currentTeacher(), 3);
        QTest::keyClick(c.DBGrid1, Qt::Key_N);
        EXPECT_EQ(currentTeacher(), 5);
        QTest::keyClick(c.DBGrid1, Qt::Key_Z);
        EXPECT_EQ(currentTeacher(), 5);
    });
}

TEST_F(TeacherChooser, TitleClickOrdersTheSharedTeacherTable)
{
    open([](Toktval &c) {
        QTest::mouseClick(c.DBGrid1->viewport(), Qt::LeftButton, {}, c.DBGrid1->TitleRect(1).center());
    });
    EXPECT_EQ(DM->MT_oktato.IndexFieldNames(), "oktato_nev");
    DM->MT_oktato.First();
    EXPECT_EQ(currentTeacher(), 1);
    DM->MT_oktato.Last();
    EXPECT_EQ(currentTeacher(), 5);
}

TEST_F(TeacherChooser, TheTimetableEntryOpensTheCurrentTeachersTimetableSetUpLikeTheMainCalendar)
{
    TOktatofog timetable;
    Oktatofog = &timetable;
    TveltoCalendar mainCalendar;
    mainCalendar.SetHetek(2);
    mainCalendar.SetDays({vlMonday, vlWednesday});
    mainCalendar.SetVonalzoBal(7);
    chooser->ScaleMode = 1;
    chooser->MainCalendar = &mainCalendar;
    int shownFor = -1;
    open([&](Toktval &c) {
        clickRow(c, 4);
        answeringModals([&] { c.Oktatrarendje1->trigger(); },
                        [&](QWidget &modal) {
                            ASSERT_EQ(&modal, &timetable);
                            shownFor = timetable.OktatoId;
                            QTest::mouseClick(timetable.Button1, Qt::LeftButton);
                        });
    });
    Oktatofog = nullptr;
    EXPECT_EQ(shownFor, 5);
    EXPECT_EQ(timetable.VL->Hetek(), 2);
    EXPECT_EQ(timetable.VL->Days(), (TveltoCalendarDays{vlMonday, vlWednesday}));
    EXPECT_EQ(timetable.VL->VonalzoBal(), 7);
    // The hourly rows: 07:00 to 20:00.
    ASSERT_EQ(timetable.VL->Rows().size(), 13u);
    EXPECT_EQ(timetable.VL->Rows().front().Start, 420);
}

} // namespace
