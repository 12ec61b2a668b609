#include "dialogs/orarentitle.h"

#include "dialogs/DialogTestSupport.h"
#include "dialogs/hetek_edit.h"
#include "platform/widgets/DBGrids.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

using namespace dialogtest;

class TimetableList : public DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        editor = std::make_unique<Tedithetek>();
        edithetek = editor.get();
        dialog = std::make_unique<Torarend>();
        // Listed by name: Alfa, Béta.
        addTimetable(120, "Béta", "101010101010101");
        addTimetable(121, "Alfa", "111111111111111");
    }
    void TearDown() override
    {
        dialog.reset();
        edithetek = nullptr;
        editor.reset();
        DataModule::TearDown();
    }

    // Shows the dialog modally; `answer` acts on it while it shows and must close it.
    int open(const std::function<void(Torarend &)> &answer)
    {
        int result = -1;
        answeringModals([&] { result = dialog->exec(); },
                        [&](QWidget &modal) {
                            if (&modal == dialog.get())
                                answer(*dialog);
                        });
        return result;
    }
    void clickCell(int column, int row)
    {
        QWidget *viewport = dialog->DBGrid1->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, dialog->DBGrid1->CellRect(column, row).center());
    }
    static void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    std::string current(const char *field) { return utf8Of(DM->MT_orarend, field); }

    std::unique_ptr<Tedithetek> editor;
    std::unique_ptr<Torarend> dialog;
};

TEST_F(TimetableList, ChoosingReturnsTheCurrentTimetableAndItsWeeksAndALaterCancelNothing)
{
    const int result = open([&](Torarend &d) {
        clickCell(0, 1);
        click(d.Button2);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(dialog->OrarendId, 120);
    EXPECT_EQ(dialog->Hetek, "101010101010101");
    EXPECT_EQ(current("megnevezes"), "Béta");
    open([&](Torarend &d) { click(d.Button3); });
    EXPECT_EQ(dialog->OrarendId, -1);
    EXPECT_EQ(dialog->Hetek, "");
    EXPECT_EQ(cp1250ToUtf8(dialog->Csengetesirend), "ZQF alapértelmezett 2");
}

TEST_F(TimetableList, ChoosingFromAnEmptyListKeepsTheDialogOpen)
{
    DM->MT_orarend.EmptyTable();
    bool stillOpen = false;
    open([&](Torarend &d) {
        click(d.Button2);
        stillOpen = d.isVisible();
        click(d.Button3);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(dialog->OrarendId, -1);
}

TEST_F(TimetableList, TheTestColumnTogglesTheMarkWithoutFillingTheEdits)
{
    std::vector<std::string> marks;
    open([&](Torarend &d) {
        d.Edit1->setText(QStringLiteral("saját"));
        clickCell(3, 0);
        marks.push_back(current("teszt"));
        clickCell(3, 0);
        marks.push_back(current("teszt"));
        clickCell(3, 0);
        marks.push_back(current("teszt"));
        EXPECT_EQ(d.Edit1->text(), "saját");
        // Leaving the cell must not bring back what its editor showed.
        clickCell(0, 1);
        click(d.Button3);
    });
    EXPECT_EQ(marks, (std::vector<std::string>{"1", "0", "1"}));
    DM->MT_orarend.Locate("orarend_id", Variant(121), {});
    EXPECT_EQ(current("teszt"), "1");
}

TEST_F(TimetableList, EveryColumnShowsWholeAndAnyOtherCellCopiesTheRowIntoTheEdits)
{
    open([&](Torarend &d) {
        dialogtest::expectColumnsInViewWithWholeTitles(*d.DBGrid1);
        EXPECT_EQ(dialogtest::shownColumn(*d.DBGrid1, "hetek"), (QStringList{"111111111111111", "101010101010101"}));
        clickCell(1, 1);
        EXPECT_EQ(d.Edit1->text(), "Béta");
        EXPECT_EQ(d.Edit2->text(), "");
        EXPECT_EQ(d.DefHetek->text(), "101010101010101");
        click(d.Button3);
    });
}

TEST_F(TimetableList, SavingANewNameAddsATimetable)
{
    open([&](Torarend &d) {
        QTest::keyClicks(d.Edit1, "Gamma");
        QTest::keyClicks(d.Edit2, "esti");
        QTest::keyClicks(d.DefHetek, "010101010101010");
        click(d.Button1);
        click(d.Button2);
    });
    EXPECT_EQ(DM->MT_orarend.RecordCount(), 3);
    EXPECT_EQ(current("megnevezes"), "Gamma");
    EXPECT_EQ(current("megjegyzes"), "esti");
    EXPECT_EQ(dialog->Hetek, "010101010101010");
    EXPECT_GT(dialog->OrarendId, 121);
}

TEST_F(TimetableList, SavingAnExistingOrEmptyNameChangesNothingAndSaysNothing)
{
    const int modals = answeringModals([&] { dialog->exec(); },
                                       [&](QWidget &modal) {
                                           ASSERT_EQ(&modal, dialog.get());
                                           click(dialog->Button1);
                                           QTest::keyClicks(dialog->Edit1, "Alfa");
                                           click(dialog->Button1);
                                           click(dialog->Button3);
                                       });
    EXPECT_EQ(modals, 1);
    EXPECT_EQ(DM->MT_orarend.RecordCount(), 2);
}

TEST_F(TimetableList, AnInsertionThatFailsSaysSoAndLeavesNoHalfRow)
{
    DM->MT_orarend.BeforePost = [](TDataSet &) { throw EDatabaseError("refused"); };
    std::vector<MessageSeen> seen;
    open([&](Torarend &d) {
        QTest::keyClicks(d.Edit1, "Gamma");
        answeringModals([&] { click(d.Button1); }, recordAndPress(seen));
        click(d.Button3);
    });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Hiba");
    EXPECT_EQ(DM->MT_orarend.State(), dsBrowse);
    DM->MT_orarend.BeforePost = nullptr;
    EXPECT_EQ(DM->MT_orarend.RecordCount(), 2);
}

TEST_F(TimetableList, TheWeekEditorStartsFromTheCurrentTimetableAndFillsTheEdit)
{
    std::string editorStartedWith;
    open([&](Torarend &d) {
        clickCell(0, 1);
        d.DefHetek->setText(QStringLiteral("000000000000001"));
        answeringModals([&] { QTest::mouseDClick(d.DefHetek, Qt::LeftButton); },
                        [&](QWidget &) { click(editor->Button2); });
        EXPECT_EQ(d.DefHetek->text(), "000000000000001") << "a cancelled editor leaves the edit";
        answeringModals([&] { QTest::mouseDClick(d.DefHetek, Qt::LeftButton); },
                        [&](QWidget &modal) {
                            ASSERT_EQ(&modal, editor.get());
                            editorStartedWith = editor->HetekEdit->text().toStdString();
                            editor->CB[14]->click();
                            click(editor->Button1);
                        });
        EXPECT_EQ(d.DefHetek->text(), "101010101010100");
        click(d.Button3);
    });
    EXPECT_EQ(editorStartedWith, "101010101010101");
    EXPECT_EQ(editor->Gyakorisag, 999);
}

TEST_F(TimetableList, MergingOnlySaysItIsGone)
{
    std::vector<MessageSeen> seen;
    open([&](Torarend &d) {
        answeringModals([&] { click(d.Button4); }, recordAndPress(seen));
        click(d.Button3);
    });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Beemelés megszüntetve!!!");
    EXPECT_EQ(DM->MT_orarend.RecordCount(), 2);
}

} // namespace
