#include "dialogs/targykereso.h"

#include "dialogs/DialogTestSupport.h"
#include "platform/widgets/DBGrids.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

using dialogtest::appendRow;
using dialogtest::text;
using dialogtest::utf8Of;

class SubjectSearch : public dialogtest::DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        dialog = std::make_unique<Ttargy_kereso>();
    }
    void TearDown() override
    {
        dialog.reset();
        DataModule::TearDown();
    }

    void addCourseWithCode(int id, const std::string &code)
    {
        appendRow(DM->MT_kurzus, {{"kurzus_id", id}, text("kurzus_kod", code),
                                  text("kurzus_kod_osszetett", code + "-EA-00")});
    }
    void addTemplate(int id, const std::string &code, const std::string &atargykod = "")
    {
        appendRow(DM->MT_kurzusminta,
                  {{"kurzusminta_id", id}, text("kurzusminta_kod", code), text("atargykod", atargykod)});
    }
    void linkTemplate(int templateId, int subject)
    {
        appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", templateId}, {"targy_id", subject}});
    }
    std::vector<int> listed(TDataSet &table)
    {
        std::vector<int> ids;
        for (table.First(); !table.Eof(); table.Next())
            ids.push_back(table.FieldByName("targy_id")->AsInteger());
        return ids;
    }
    std::string prefix(const std::string &courseCode)
    {
        dialog->KurzusKod = utf8ToCp1250(courseCode);
        return dialog->TargykodElotag();
    }

    std::unique_ptr<Ttargy_kereso> dialog;
};

TEST_F(SubjectSearch, PrefixFollowsWhereTheThreeDigitsStand)
{
    EXPECT_EQ(prefix("MAB123MN456"), "MAB123MN");
    EXPECT_EQ(prefix("ABCDEF123XYZ"), "ABCDEF123");
    EXPECT_EQ(prefix("ABCDEFG123XY"), "ABCDEFG123");
    EXPECT_EQ(prefix("AB1234"), "AB1234");
    EXPECT_EQ(prefix("ABCDEFGHIJ"), "ISMERETLEN!");
}

TEST_F(SubjectSearch, SearchesByCodeWithItsQuoteDoubledOrByNameFromThePopup)
{
    addSubject(7, "O'B1", "Analízis");
    addSubject(8, "OB2", "Algebra");
    dialog->KeresesMod = 2;
    dialog->show();
    EXPECT_FALSE(dialog->PC->isTabVisible(2)) << "no template page while searching subjects";
    dialog->E_kereso->setText(QStringLiteral("O'B"));
    EXPECT_EQ(dialog->MT_targy_temp.Filter(), "targy_kod like 'O''B**'");
    EXPECT_EQ(listed(dialog->MT_targy_temp), std::vector<int>{7});
    dialog->targy_nev->trigger();
    EXPECT_EQ(dialog->KeresoMezo, "targy_nev");
    EXPECT_EQ(dialog->L_kereso->text(), QStringLiteral("Megnevezés:"));
    EXPECT_TRUE(dialog->E_kereso->text().isEmpty());
    QTest::keyClicks(dialog->E_kereso, QStringLiteral("Alg"));
    EXPECT_EQ(dialogtest::shownColumn(*dialog->DBGrid2, "targy_nev"), QStringList{QStringLiteral("Algebra")});
}

TEST_F(SubjectSearch, NarrowedListHoldsEachSubjectOnceWithoutAttachedOnes)
{
    addCourseWithCode(1, "MAB123MN");
    addSubject(7, "S7");
    addSubject(8, "S8");
    addSubject(9, "S9");
    addSubject(10, "S10");
    addTemplate(50, "MAB123MN-EA");
    addTemplate(51, "MAB123MN-GY");
    addTemplate(52, "MAB999MN-GY");
    linkTemplate(50, 8);
    linkTemplate(50, 7);
    linkTemplate(51, 7);
    linkTemplate(51, 9);
    linkTemplate(51, 404);
    linkTemplate(52, 10);
    linkSubject(1, 9);
    dialog->KurzusId = 1;
    dialog->KeresesMod = 1;
    dialog->show();
    EXPECT_EQ(dialog->KurzusKod, "MAB123MN");
    EXPECT_EQ(dialog->PC->currentWidget(), dialog->TS_szuk);
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("kurzusminta_kod like 'MAB123MN**'"));
    EXPECT_EQ(dialogtest::shownColumn(*dialog->DBGrid1, "targy_kod"), (QStringList{"S8", "S7"}));
    EXPECT_FALSE(dialog->PC->isTabVisible(2));
}

TEST_F(SubjectSearch, NoSuggestionFallsBackToEverySubject)
{
    addCourseWithCode(1, "MAB123MN");
    addSubject(7, "MAB123MN");
    addSubject(8, "MAB124MN");
    dialog->KurzusId = 1;
    dialog->KeresesMod = 1;
    dialog->show();
    EXPECT_EQ(dialog->KeresesMod, 2);
    EXPECT_EQ(dialog->PC->currentWidget(), dialog->TS_targy);
    EXPECT_EQ(dialog->E_kereso->text(), QStringLiteral("MAB123MN"));
    EXPECT_EQ(listed(dialog->MT_targy_temp), std::vector<int>{7});
}

TEST_F(SubjectSearch, ChoosingGivesTheCurrentSuggestionOrEverySelectedOne)
{
    addCourseWithCode(1, "MAB123MN");
    for (int subject : {7, 8, 9}) {
        addSubject(subject, "S" + std::to_string(subject));
        linkTemplate(50, subject);
    }
    addTemplate(50, "MAB123MN-EA");
    dialog->KurzusId = 1;
    dialog->show();
    dialog->MT_targyszuk.Last();
    QTest::mouseClick(dialog->B_mentes, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Eredmeny, 9);
    EXPECT_EQ(dialog->KivalasztottTargyak(), std::vector<int>{9});
    dialog->show();
    dialog->MT_targyszuk.Last();
    dialog->DBGrid1->SelectedRows().SetCurrentRowSelected(true);
    dialog->MT_targyszuk.First();
    dialog->DBGrid1->SelectedRows().SetCurrentRowSelected(true);
    QTest::mouseClick(dialog->B_mentes, Qt::LeftButton);
    EXPECT_EQ(dialog->KivalasztottTargyak(), (std::vector<int>{9, 7}));
}

TEST_F(SubjectSearch, NothingToChooseKeepsTheDialogOpen)
{
    dialog->KeresesMod = 2;
    dialog->show();
    QTest::mouseClick(dialog->B_mentes, Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Eredmeny, -1);
}

TEST_F(SubjectSearch, TemplateModeFiltersTheSharedTemplatesUntilClosing)
{
    addCourseWithCode(1, "MAB123MN");
    addSubject(7, "S7");
    addTemplate(50, "MAB123MN-EA", "MAB123MN");
    addTemplate(51, "MAB123MN-GY", "XYZ");
    addTemplate(52, "OTHER-EA", "MAB123MN");
    linkTemplate(51, 7);
    dialog->KurzusId = 1;
    dialog->KeresesMod = 3;
    dialog->show();
    EXPECT_EQ(dialog->PC->currentWidget(), dialog->TS_kurzusminta);
    EXPECT_FALSE(dialog->PC->isTabVisible(0));
    EXPECT_EQ(dialog->E_kereso_kod->text(), QStringLiteral("MAB123MN"));
    EXPECT_EQ(DM->MT_kurzusminta.RecordCount(), 2);
    QTest::keyClicks(dialog->E_kereso_nev, QStringLiteral("XY"));
    ASSERT_EQ(DM->MT_kurzusminta.RecordCount(), 1);
    dialog->DBG_kurzusmintaCellClick();
    EXPECT_EQ(listed(dialog->MT_targy_temp2), std::vector<int>{7});
    QTest::mouseClick(dialog->B_mentes, Qt::LeftButton);
    EXPECT_EQ(dialog->Eredmeny, 51);
    EXPECT_FALSE(DM->MT_kurzusminta.Filtered());
}

TEST_F(SubjectSearch, SwitchingPagesSetsTheMode)
{
    dialog->KeresesMod = 2;
    dialog->show();
    dialog->PC->setCurrentWidget(dialog->TS_szuk);
    EXPECT_EQ(dialog->KeresesMod, 1);
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("kurzusminta_kod like 'ISMERETLEN!**'"));
}

} // namespace
