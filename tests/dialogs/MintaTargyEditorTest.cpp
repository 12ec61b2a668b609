#include "dialogs/MintaTargyEditor.h"

#include "dialogs/DialogTestSupport.h"

namespace {

using namespace dialogtest;

using TemplateSubjects = dialogtest::DialogOn<TMintaTargy>;

TEST_F(TemplateSubjects, TypedSearchIsCollectedForASearchableColumnOnly)
{
    dialog->show();
    dialog->DBGrid2->resize(400, 200);
    dialogtest::clickCell(*dialog->DBGrid2, 1, 0);
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

TEST_F(TemplateSubjects, OkSavesTheMasterDataOnlyWhileTheSaveButtonShows)
{
    addSubject(7, "UJTARGY", "Új");
    dialog->show();
    click(dialog->B_cancel);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialogtest::readFile(folder, "targy.csv").find("UJTARGY"), std::string::npos);
    dialog->B_torzsadatmentes->setVisible(true);
    dialog->show();
    click(dialog->B_ok);
    EXPECT_NE(dialogtest::readFile(folder, "targy.csv").find("UJTARGY"), std::string::npos);
    EXPECT_FALSE(dialog->B_torzsadatmentes->isVisibleTo(dialog.get()));
}

} // namespace
