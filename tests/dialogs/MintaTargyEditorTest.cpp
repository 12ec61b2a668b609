#include "dialogs/MintaTargyEditor.h"

#include "dialogs/DialogTestSupport.h"

namespace {

using TemplateSubjects = dialogtest::DialogOn<TMintaTargy>;

// Created but never shown by the program.
TEST_F(TemplateSubjects, TypedSearchIsCollectedForASearchableColumnAndOkSavesOnlyWithTheSaveButton)
{
    addSubject(7, "UJTARGY", "Új");
    dialog->show();
    dialog->DBGrid2CellClick("targynev");
    QTest::keyClicks(dialog->DBGrid2, QStringLiteral("ab!"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Minta(elem) tárgyai ... Keresés:ab"));
    dialog->DBGrid2CellClick("kurzuskod_ea");
    QTest::keyClicks(dialog->DBGrid2, QStringLiteral("x"));
    EXPECT_TRUE(dialog->KeresoSzoveg.isEmpty());
    dialogtest::click(dialog->B_ok);
    EXPECT_EQ(dialogtest::readFile(folder, "targy.csv").find("UJTARGY"), std::string::npos);
    dialog->B_torzsadatmentes->setVisible(true);
    dialog->show();
    dialogtest::click(dialog->B_ok);
    EXPECT_NE(dialogtest::readFile(folder, "targy.csv").find("UJTARGY"), std::string::npos);
}

TEST_F(TemplateSubjects, AClickedColumnCollectsTheTypedSearchAndBackspaceTakesItBack)
{
    dialog->show();
    dialog->DBGrid2->resize(400, 200);
    QTest::mouseClick(dialog->DBGrid2->viewport(), Qt::LeftButton, {}, dialog->DBGrid2->CellRect(1, 0).center());
    EXPECT_EQ(dialog->KeresoOszlop, "targynev");
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Minta(elem) tárgyai ..."));
    QTest::keyClicks(dialog->DBGrid2, QStringLiteral("ab!"));
    EXPECT_EQ(dialog->KeresoSzoveg, QStringLiteral("ab"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Minta(elem) tárgyai ... Keresés:ab"));
    QTest::keyClick(dialog->DBGrid2, Qt::Key_Backspace);
    QTest::keyClick(dialog->DBGrid2, Qt::Key_Backspace);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Minta(elem) tárgyai"));
    dialog->DBGrid2CellClick("kurzuskod_ea");
    QTest::keyClicks(dialog->DBGrid2, QStringLiteral("x"));
    EXPECT_TRUE(dialog->KeresoSzoveg.isEmpty());
}

TEST_F(TemplateSubjects, CancelWithoutTheSaveButtonWritesNothing)
{
    addSubject(7, "UJTARGY", "Új");
    dialog->show();
    QTest::mouseClick(dialog->B_cancel, Qt::LeftButton);
    EXPECT_EQ(dialogtest::readFile(folder, "targy.csv").find("UJTARGY"), std::string::npos);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

} // namespace
