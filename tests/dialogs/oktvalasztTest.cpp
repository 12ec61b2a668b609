#include "dialogs/oktvalaszt.h"

#include "dialogs/DialogTestSupport.h"

#include <QMenu>

namespace {

using namespace dialogtest;

class TeacherChooser : public DialogOn<Toktval> {
protected:
    void SetUp() override
    {
        DialogOn::SetUp();
        addTeacher(1, "Antal Béla", "ANB");
        addTeacher(2, "Kovács Ádám", "KOA");
        addTeacher(3, "kiss Éva", "KIE");
        addTeacher(4, "Kun Péter", "KUP");
        addTeacher(5, "Nagy Ilona", "NAI");
    }
    // Opens the chooser; "Vissza" closes it unless `whileShown` did.
    int open(const std::function<void()> &whileShown)
    {
        return execWith(*dialog, [&] {
            whileShown();
            if (dialog->isVisible())
                click(dialog->Button1);
        });
    }
    void clickRow(int row) { clickCell(*dialog->DBGrid1, 1, row); }
    void enter(const QString &name, const QString &code)
    {
        dialog->Edit1->setText(name);
        dialog->Edit2->setText(code);
        click(dialog->Button3);
    }
    static int currentTeacher() { return DM->MT_oktato.FieldByName("oktato_id")->AsInteger(); }
    static int teachersNamed(const std::string &utf8)
    {
        const std::vector<std::string> names = texts(DM->MT_oktato, "oktato_nev");
        return int(std::count(names.begin(), names.end(), utf8));
    }
    std::vector<QWidget *> entryControls() { return {dialog->Button3, dialog->Edit1, dialog->Edit2, dialog->Label1}; }
};

TEST_F(TeacherChooser, ListsCodesAndNamesFindsByLetterSortsByTitleAndChoosesTheClickedTeacher)
{
    const int back = open([&] {
        EXPECT_EQ(shownColumn(*dialog->DBGrid1, "oktato_kkod"), (QStringList{"ANB", "KOA", "KIE", "KUP", "NAI"}));
        EXPECT_EQ(dialog->DBGrid1->ShownTitle(1), "Oktató neve");
        EXPECT_EQ(dialog->DBGrid1->PopupMenu(), dialog->PM);
        for (QWidget *entry : entryControls())
            EXPECT_FALSE(entry->isVisible()) << "entry is for administrators";
        dialog->DBGrid1->setFocus();
        QTest::keyClick(dialog->DBGrid1, Qt::Key_K);
        EXPECT_EQ(currentTeacher(), 2);
        // On a name of that letter the key steps on to the next teacher, whatever its name.
        QTest::keyClick(dialog->DBGrid1, Qt::Key_K);
        EXPECT_EQ(currentTeacher(), 3);
        QTest::keyClick(dialog->DBGrid1, Qt::Key_N);
        EXPECT_EQ(currentTeacher(), 5);
        QTest::keyClick(dialog->DBGrid1, Qt::Key_Z);
        EXPECT_EQ(currentTeacher(), 5);
    });
    EXPECT_EQ(back, QDialog::Rejected);
    const int chosen = open([&] {
        QTest::mouseClick(dialog->DBGrid1->viewport(), Qt::LeftButton, {}, dialog->DBGrid1->TitleRect(1).center());
        clickRow(3);
        click(dialog->Button2);
    });
    EXPECT_EQ(chosen, QDialog::Accepted);
    EXPECT_EQ(currentTeacher(), 4) << "the fourth by name";
    EXPECT_EQ(DM->MT_oktato.IndexFieldNames(), "oktato_nev") << "the shared table keeps the order";
    DM->MT_oktato.First();
    EXPECT_EQ(currentTeacher(), 1);
    DM->MT_oktato.Last();
    EXPECT_EQ(currentTeacher(), 5);
}

TEST_F(TeacherChooser, ANewTeacherIsEnteredWithItsCodeOrNumberUnlessKnownOrShort)
{
    DM->Admin = true;
    dialog->Edit1->setText(QStringLiteral("maradék"));
    const struct { const char *name, *code; int count; const char *storedCode; bool keptInEdit; } cases[] = {
        {"Új Oktató", "", 6, nullptr, false}, {"Új Tanár", "UJT", 7, "UJT", false},
        {"KOVÁCS ÁDÁM", "X", 7, nullptr, false}, {"Béla", "B", 7, nullptr, true},
    };
    for (const auto &c : cases) {
        open([&] {
            for (QWidget *entry : entryControls())
                EXPECT_TRUE(entry->isVisible());
            EXPECT_TRUE(dialog->Edit1->text().isEmpty());
            EXPECT_EQ(dialog->Button3->text(), "Újbeírás");
            enter(QString::fromUtf8(c.name), QString::fromUtf8(c.code));
            EXPECT_EQ(dialog->Edit1->text().isEmpty(), !c.keptInEdit) << c.name;
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
    EXPECT_FALSE(dialog->Modositas);
}

// A change starts from the popup menu; a click in the grid or a new opening turns it back into an entry.
TEST_F(TeacherChooser, ChangingATeacherRewritesItsRowAndAnUnfinishedChangeIsDropped)
{
    DM->Admin = true;
    open([&] {
        clickRow(1);
        dialog->Mdosts1->trigger();
        EXPECT_EQ(dialog->Edit1->text(), "Kovács Ádám");
        EXPECT_EQ(dialog->Edit2->text(), "KOA");
        EXPECT_EQ(dialog->Button3->text(), "Módosítás");
        EXPECT_TRUE(dialog->Modositas);
        enter(QStringLiteral("Kovács Ádám Pál"), QStringLiteral("KAP"));
        EXPECT_EQ(dialog->Button3->text(), "Újbeírás");
        EXPECT_FALSE(dialog->Modositas);
        clickRow(2);
        dialog->Mdosts1->trigger();
        clickRow(3);
        EXPECT_TRUE(dialog->Edit1->text().isEmpty());
        EXPECT_EQ(dialog->Button3->text(), "Újbeírás");
        EXPECT_FALSE(dialog->Modositas);
        dialog->Mdosts1->trigger();
    });
    EXPECT_EQ(DM->MT_oktato.RecordCount(), 5);
    ASSERT_TRUE(DM->MT_oktato.Locate("oktato_id", 2, {}));
    EXPECT_EQ(utf8Of(DM->MT_oktato, "oktato_nev"), "Kovács Ádám Pál");
    EXPECT_EQ(utf8Of(DM->MT_oktato, "oktato_kkod"), "KAP");
    open([&] {
        EXPECT_FALSE(dialog->Modositas);
        enter(QStringLiteral("Új Oktató"), QStringLiteral("UJO"));
    });
    EXPECT_EQ(DM->MT_oktato.RecordCount(), 6);
    EXPECT_EQ(teachersNamed("Kun Péter"), 1);
}

} // namespace
