#include "dialogs/oktvalaszt.h"

#include "dialogs/DialogTestSupport.h"

#include "dialogs/Oktatofoglaltsag.h"

#include <QKeyEvent>
#include <QScopeGuard>

namespace {

using namespace dialogtest;

class TeacherChooser : public DialogOn<Toktval> {
protected:
    void SetUp() override
    {
        DialogOn::SetUp();
        for (const auto &[id, name, code] : {std::tuple{1, "Antal Béla", "ANB"}, {2, "Kovács Ádám", "KOA"},
                                             {3, "kiss Éva", "KIE"}, {4, "Kun Péter", "KUP"}, {5, "Nagy Ilona", "NAI"}})
            addTeacher(id, name, code);
    }
    int open(const std::function<void()> &whileShown)
    {
        return execWith(*dialog, [&] {
            whileShown();
            if (dialog->isVisible())
                click(dialog->Button1);
        });
    }
    void enter(const QString &name, const QString &code)
    {
        dialog->Edit1->setText(name);
        dialog->Edit2->setText(code);
        click(dialog->Button3);
    }
    static int currentTeacher() { return DM->MT_oktato.FieldByName("oktato_id")->AsInteger(); }
    // What the entry controls show: whether they are visible, the name and code edits, the button.
    QString entry()
    {
        return dialog->Edit1->isVisible() ? dialog->Edit1->text() + "|" + dialog->Edit2->text() + "|" + dialog->Button3->text()
                                          : QString();
    }
};

TEST_F(TeacherChooser, ListsCodesAndNamesFindsByLetterSortsByTitleAndChoosesTheClickedTeacher)
{
    const int back = open([&] {
        EXPECT_EQ(shownColumn(*dialog->DBGrid1, "oktato_kkod"), (QStringList{"ANB", "KOA", "KIE", "KUP", "NAI"}));
        EXPECT_EQ(dialog->DBGrid1->ShownTitle(1), "Oktató neve");
        EXPECT_EQ(entry(), "") << "entry is for administrators";
        dialog->DBGrid1->setFocus();
        // On a name of that letter the key steps on to the next teacher, whatever its name.
        std::vector<int> found;
        for (Qt::Key key : {Qt::Key_K, Qt::Key_K, Qt::Key_N, Qt::Key_Z}) {
            QTest::keyClick(dialog->DBGrid1, key);
            found.push_back(currentTeacher());
        }
        QKeyEvent noCharacter(QEvent::KeyPress, 0, Qt::NoModifier);
        QApplication::sendEvent(dialog->DBGrid1, &noCharacter);
        found.push_back(currentTeacher());
        EXPECT_EQ(found, (std::vector{2, 3, 5, 5, 5}));
    });
    EXPECT_EQ(back, QDialog::Rejected);
    const int chosen = open([&] {
        QTest::mouseClick(dialog->DBGrid1->viewport(), Qt::LeftButton, {}, dialog->DBGrid1->TitleRect(1).center());
        clickCell(*dialog->DBGrid1, 1, 3);
        click(dialog->Button2);
    });
    EXPECT_EQ(chosen, QDialog::Accepted);
    EXPECT_EQ(currentTeacher(), 4) << "the fourth by name";
    EXPECT_EQ(DM->MT_oktato.IndexFieldNames(), "oktato_nev") << "the shared table keeps the order";
    EXPECT_EQ(ids(DM->MT_oktato, "oktato_id"), (std::vector{1, 3, 2, 4, 5}));
}

// A code is stored as typed, else "." and the number; a known or too short name stays in the edit.
TEST_F(TeacherChooser, ANewTeacherIsEnteredWithItsCodeOrNumberUnlessKnownOrShort)
{
    DM->Admin = true;
    dialog->Edit1->setText(QStringLiteral("maradék"));
    const struct { const char *name, *code; int count; const char *kept; } cases[] = {
        {"Új Oktató", "", 6, ""}, {"Új Tanár", "UJT", 7, ""}, {"KOVÁCS ÁDÁM", "X", 7, ""}, {"Béla", "B", 7, "Béla"},
    };
    for (const auto &c : cases) {
        open([&] {
            EXPECT_EQ(entry(), "||Újbeírás");
            enter(QString::fromUtf8(c.name), QString::fromUtf8(c.code));
            EXPECT_EQ(dialog->Edit1->text(), QString::fromUtf8(c.kept));
        });
        EXPECT_EQ(DM->MT_oktato.RecordCount(), c.count) << c.name;
    }
    ASSERT_TRUE(DM->MT_oktato.Locate("oktato_nev", utf8ToCp1250("Új Tanár"), {}));
    EXPECT_EQ(utf8Of(DM->MT_oktato, "oktato_kkod"), "UJT");
    ASSERT_TRUE(DM->MT_oktato.Locate("oktato_nev", utf8ToCp1250("Új Oktató"), {}));
    EXPECT_EQ(utf8Of(DM->MT_oktato, "oktato_kkod"), "." + std::to_string(currentTeacher()));
    EXPECT_GT(currentTeacher(), 5);
}

TEST_F(TeacherChooser, NameAndCodeTakeNoMoreThanTheTeacherHoldsAndNoCharacterTheFilesCannotHold)
{
    DM->Admin = true;
    open([&] {
        for (QLineEdit *edit : {dialog->Edit1, dialog->Edit2}) {
            edit->setFocus();
            for (const QString &c : {QStringLiteral("Ő"), QStringLiteral("😀"), QStringLiteral("中")})
                typeCharacter(edit, c);
            for (int i = 0; i < 70; ++i)
                typeCharacter(edit, QStringLiteral("z"));
        }
        EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("Ő") + QString(59, u'z'));
        EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("Ő") + QString(19, u'z'));
        click(dialog->Button3);
    });
    ASSERT_TRUE(DM->MT_oktato.Locate("oktato_nev", utf8ToCp1250("Ő" + std::string(59, 'z')), {}));
    EXPECT_EQ(utf8Of(DM->MT_oktato, "oktato_kkod"), "Ő" + std::string(19, 'z'));
}

// A change starts from the popup menu; a click in the grid or a new opening turns it back into an entry.
TEST_F(TeacherChooser, ChangingATeacherRewritesItsRowAndAnUnfinishedChangeIsDropped)
{
    DM->Admin = true;
    open([&] {
        clickCell(*dialog->DBGrid1, 1, 1);
        dialog->Mdosts1->trigger();
        EXPECT_EQ(entry(), "Kovács Ádám|KOA|Módosítás");
        enter(QStringLiteral("Kovács Ádám Pál"), QStringLiteral("KAP"));
        EXPECT_EQ(entry(), "||Újbeírás");
        dialog->Mdosts1->trigger();
        clickCell(*dialog->DBGrid1, 1, 3);
        EXPECT_EQ(entry(), "||Újbeírás");
        dialog->Mdosts1->trigger();
    });
    EXPECT_EQ(DM->MT_oktato.RecordCount(), 5);
    ASSERT_TRUE(DM->MT_oktato.Locate("oktato_id", 2, {}));
    EXPECT_EQ(utf8Of(DM->MT_oktato, "oktato_nev") + utf8Of(DM->MT_oktato, "oktato_kkod"), "Kovács Ádám PálKAP");
    open([&] { enter(QStringLiteral("Új Oktató"), QStringLiteral("UJO")); });
    EXPECT_EQ(DM->MT_oktato.RecordCount(), 6);
}

// Without teachers there is nothing to find, change or show a timetable of.
TEST_F(TeacherChooser, WithNoTeachersLettersChangesAndTheTimetableDoNothing)
{
    DM->MT_oktato.EmptyTable();
    DM->Admin = true;
    TOktatofog timetable;
    Oktatofog = &timetable;
    const auto forgotten = qScopeGuard([] { Oktatofog = nullptr; });
    open([&] {
        const QPoint inGrid = dialog->DBGrid1->viewport()->rect().center();
        dialog->DBGrid1->setFocus();
        QTest::keyClick(dialog->DBGrid1, Qt::Key_K);
        chooseFromPopup(dialog->DBGrid1->viewport(), inGrid, dialog->PM, dialog->Mdosts1);
        EXPECT_EQ(entry(), "||Újbeírás");
        chooseFromPopup(dialog->DBGrid1->viewport(), inGrid, dialog->PM, dialog->Oktatrarendje1);
        EXPECT_FALSE(timetable.isVisible());
    });
    EXPECT_TRUE(DM->MT_oktato.IsEmpty());
}

} // namespace
