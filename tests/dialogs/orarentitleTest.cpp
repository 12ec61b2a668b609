#include "dialogs/orarentitle.h"

#include "dialogs/DialogTestSupport.h"
#include "dialogs/hetek_edit.h"

namespace {

using namespace dialogtest;

class TimetableList : public DialogOn<Torarend> {
protected:
    void SetUp() override
    {
        DialogOn::SetUp();
        // Listed by name: Alfa, Béta.
        addTimetable(120, "Béta", "101010101010101");
        addTimetable(121, "Alfa", "111111111111111");
    }
    // Shows the dialog; `whileShown` acts on it and "Mégsem" closes it unless it closed already.
    int open(const std::function<void()> &whileShown)
    {
        return execWith(*dialog, [&] {
            whileShown();
            if (dialog->isVisible())
                click(dialog->Button3);
        });
    }
    void clickCell(int column, int row) { dialogtest::clickCell(*dialog->DBGrid1, column, row); }
    std::string current(const char *field) { return utf8Of(DM->MT_orarend, field); }
};

TEST_F(TimetableList, ChoosingReturnsTheClickedTimetableAndItsWeeksALaterCancelNothing)
{
    EXPECT_EQ(open([&] {
                  clickCell(0, 1);
                  click(dialog->Button2);
              }),
              QDialog::Rejected);
    EXPECT_EQ(dialog->OrarendId, 120);
    EXPECT_EQ(dialog->Hetek, "101010101010101");
    EXPECT_EQ(current("megnevezes"), "Béta");
    open([] {});
    EXPECT_EQ(dialog->OrarendId, -1);
    EXPECT_EQ(dialog->Hetek, "");
    EXPECT_EQ(cp1250ToUtf8(dialog->Csengetesirend), "ZQF alapértelmezett 2");
    DM->MT_orarend.EmptyTable();
    bool stillOpen = false;
    open([&] {
        click(dialog->Button2);
        stillOpen = dialog->isVisible();
    });
    EXPECT_TRUE(stillOpen) << "nothing to choose";
    EXPECT_EQ(dialog->OrarendId, -1);
}

TEST_F(TimetableList, ACellCopiesItsRowIntoTheEditsTheTestColumnTogglesTheMarkInstead)
{
    std::vector<std::string> marks;
    open([&] {
        EXPECT_EQ(shownColumn(*dialog->DBGrid1, "hetek"), (QStringList{"111111111111111", "101010101010101"}));
        clickCell(1, 1);
        EXPECT_EQ(dialog->Edit1->text() + "|" + dialog->Edit2->text() + "|" + dialog->DefHetek->text(), "Béta||101010101010101");
        EXPECT_EQ(current("teszt"), "");
        dialog->Edit1->setText(QStringLiteral("saját"));
        for (int i = 0; i < 3; ++i) {
            clickCell(3, 0);
            marks.push_back(current("teszt"));
        }
        EXPECT_EQ(dialog->Edit1->text(), "saját");
        // Leaving the cell must not bring back what its editor showed.
        clickCell(0, 1);
    });
    EXPECT_EQ(marks, (std::vector<std::string>{"1", "0", "1"}));
    EXPECT_EQ(fieldOf(DM->MT_orarend, "orarend_id", 121, "teszt"), 1);
}

TEST_F(TimetableList, SavingAddsANewNameOnlyAndAFailedInsertionSaysSoLeavingNoHalfRow)
{
    QStringList seen;
    open([&] {
        click(dialog->Button1);
        QTest::keyClicks(dialog->Edit1, "Alfa");
        seen = textsOf(messagesOf([&] { click(dialog->Button1); }));
    });
    EXPECT_TRUE(seen.empty()) << "an empty or existing name changes nothing and says nothing";
    EXPECT_EQ(DM->MT_orarend.RecordCount(), 2);

    open([&] {
        dialog->Edit1->clear();
        QTest::keyClicks(dialog->Edit1, "Gamma");
        QTest::keyClicks(dialog->Edit2, "esti");
        QTest::keyClicks(dialog->DefHetek, "010101010101010");
        click(dialog->Button1);
        click(dialog->Button2);
    });
    EXPECT_EQ(DM->MT_orarend.RecordCount(), 3);
    EXPECT_EQ(current("megnevezes") + "|" + current("megjegyzes") + "|" + dialog->Hetek, "Gamma|esti|010101010101010");
    EXPECT_GT(dialog->OrarendId, 121);

    DM->MT_orarend.BeforePost = [](TDataSet &) { throw EDatabaseError("refused"); };
    open([&] {
        QTest::keyClicks(dialog->Edit1, "Delta");
        seen = textsOf(messagesOf([&] { click(dialog->Button1); }));
    });
    EXPECT_EQ(seen, QStringList{"Hiba"});
    EXPECT_EQ(DM->MT_orarend.State(), dsBrowse);
    DM->MT_orarend.BeforePost = nullptr;
    EXPECT_EQ(DM->MT_orarend.RecordCount(), 3);
}

// Typed text stops where the field does and refuses what the files cannot hold, so two names
// alike in their first fifty characters cannot become one timetable's name behind the planner.
TEST_F(TimetableList, EditsTakeNoMoreThanTheTimetableHoldsAndNoCharacterTheFilesCannotHold)
{
    const QString fifty = QStringLiteral("Órarend ") + QString(42, u'x');
    QStringList shown;
    QStringList seen;
    for (const QString &ending : {QStringLiteral("12345"), QStringLiteral("67890")}) {
        open([&] {
            dialog->Edit1->clear();
            dialog->Edit1->setFocus();
            for (const QChar c : fifty + ending)
                typeCharacter(dialog->Edit1, QString(c));
            dialog->Edit2->setFocus();
            for (const QString &c : {QStringLiteral("e"), QStringLiteral("😀"), QStringLiteral("中"), QStringLiteral("ő")})
                typeCharacter(dialog->Edit2, c);
            shown << dialog->Edit1->text() + "|" + dialog->Edit2->text();
            seen << textsOf(messagesOf([&] { click(dialog->Button1); }));
            dialog->Edit2->clear();
        });
    }
    EXPECT_EQ(shown, QStringList(2, fifty + "|eő"));
    EXPECT_TRUE(seen.empty()) << seen.join('/').toStdString();
    EXPECT_EQ(DM->MT_orarend.RecordCount(), 3) << "the second is the first one's name";
    EXPECT_EQ(current("megnevezes") + "|" + current("megjegyzes"), (fifty + "|eő").toStdString());

    // A name put in some other way is refused, naming what cannot be stored.
    open([&] {
        dialog->Edit1->setText(QStringLiteral("Tavasz 🌸"));
        seen = textsOf(messagesOf([&] { click(dialog->Button1); }));
    });
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].contains(QStringLiteral("„🌸”"))) << seen[0].toStdString();
    EXPECT_EQ(DM->MT_orarend.RecordCount(), 3);
}

// The week editor takes masks as long as an occasion's; a longer one than a timetable holds is
// refused rather than cut to fit.
TEST_F(TimetableList, AWeekMaskLongerThanATimetableHoldsIsRefusedNotCut)
{
    Tedithetek editor;
    edithetek = &editor;
    QStringList seen;
    QString kept;
    for (const int typed : {20, 15}) {
        open([&] {
            clickCell(0, 1);
            answeringModals([&] { QTest::mouseDClick(dialog->DefHetek, Qt::LeftButton); }, [&](QWidget &modal) {
                if (&modal == &editor) {
                    editor.HetekEdit->setFocus();
                    editor.HetekEdit->selectAll();
                    QTest::keyClicks(editor.HetekEdit, QString(typed, u'1'));
                    click(editor.Button1);
                    return;
                }
                auto &box = static_cast<QMessageBox &>(modal);
                seen << box.text();
                click(box.button(QMessageBox::Ok));
            });
            kept = dialog->DefHetek->text();
        });
        EXPECT_EQ(kept, typed > 15 ? QStringLiteral("101010101010101") : QString(15, u'1')) << typed;
    }
    edithetek = nullptr;
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].contains(QStringLiteral("'hetek'")) && seen[0].contains(QStringLiteral("legfeljebb 15"))) << seen[0].toStdString();
}

// The timetable's default weeks are edited in the week editor, opened by a double click.
TEST_F(TimetableList, TheWeekEditorStartsFromTheCurrentTimetableAndFillsTheEdit)
{
    Tedithetek editor;
    edithetek = &editor;
    std::string editorStartedWith;
    open([&] {
        clickCell(0, 1);
        dialog->DefHetek->setText(QStringLiteral("000000000000001"));
        answeringModals([&] { QTest::mouseDClick(dialog->DefHetek, Qt::LeftButton); },
                        [&](QWidget &) { click(editor.Button2); });
        EXPECT_EQ(dialog->DefHetek->text(), "000000000000001") << "a cancelled editor leaves the edit";
        answeringModals([&] { QTest::mouseDClick(dialog->DefHetek, Qt::LeftButton); },
                        [&](QWidget &modal) {
                            ASSERT_EQ(&modal, &editor);
                            editorStartedWith = editor.HetekEdit->text().toStdString();
                            click(editor.CB[14]);
                            click(editor.Button1);
                        });
        EXPECT_EQ(dialog->DefHetek->text(), "101010101010100");
    });
    edithetek = nullptr;
    EXPECT_EQ(editorStartedWith, "101010101010101");
    EXPECT_EQ(editor.Gyakorisag, 999);
}

TEST_F(TimetableList, MergingOnlySaysItIsGone)
{
    QStringList seen;
    open([&] { seen = textsOf(messagesOf([&] { click(dialog->Button4); })); });
    EXPECT_EQ(seen, QStringList{"Beemelés megszüntetve!!!"});
    EXPECT_EQ(DM->MT_orarend.RecordCount(), 2);
}

} // namespace
