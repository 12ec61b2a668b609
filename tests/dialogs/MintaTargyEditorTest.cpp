#include "dialogs/MintaTargyEditor.h"

#include "dialogs/DialogTestSupport.h"
#include "platform/widgets/DBGrids.h"

#include <QPushButton>

namespace {

class TemplateSubjects : public dialogtest::DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        dialog = std::make_unique<TMintaTargy>();
    }
    void TearDown() override
    {
        dialog.reset();
        DataModule::TearDown();
    }
    std::unique_ptr<TMintaTargy> dialog;
};

TEST_F(TemplateSubjects, TypedSearchIsCollectedForASearchableColumnOnly)
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

TEST_F(TemplateSubjects, OkSavesTheMasterDataWhileTheSaveButtonShows)
{
    addSubject(7, "UJTARGY", "Új");
    dialog->B_torzsadatmentes->setVisible(true);
    dialog->show();
    QTest::mouseClick(dialog->B_ok, Qt::LeftButton);
    EXPECT_NE(dialogtest::readFile(folder, "targy.csv").find("UJTARGY"), std::string::npos);
    EXPECT_FALSE(dialog->B_torzsadatmentes->isVisibleTo(dialog.get()));
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
