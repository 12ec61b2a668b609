#include "dialogs/targykereso.h"

#include "dialogs/DialogTestSupport.h"

#include <QContextMenuEvent>
#include <QMenu>

namespace {

using namespace dialogtest;

class SubjectSearch : public DialogOn<Ttargy_kereso> {
protected:
    void addCourseWithCode(int id, const std::string &code)
    {
        appendRow(DM->MT_kurzus, {{"kurzus_id", id}, text("kurzus_kod", code),
                                  text("kurzus_kod_osszetett", code + "-EA-00")});
    }
    // A right click on a search label offers the popup menu of search fields.
    bool popupOffered(QWidget *label)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(1, 1), label->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(label, &event);
        const bool shown = dialog->PM_kereso->isVisible();
        dialog->PM_kereso->hide();
        return shown;
    }
};

TEST_F(SubjectSearch, PrefixFollowsWhereTheThreeDigitsStand)
{
    for (const auto &[code, expected] : {std::pair{"MAB123MN456", "MAB123MN"}, {"ABCDEF123XYZ", "ABCDEF123"},
                                         {"ABCDEFG123XY", "ABCDEFG123"}, {"AB1234", "AB1234"}, {"ABCDEFGHIJ", "ISMERETLEN!"}}) {
        dialog->KurzusKod = code;
        EXPECT_EQ(dialog->TargykodElotag(), expected);
    }
}

TEST_F(SubjectSearch, SearchesByCodeWithItsQuoteDoubledOrByNameFromThePopup)
{
    addSubject(7, "O'B1", "Analízis");
    addSubject(8, "OB2", "Algebra");
    dialog->KeresesMod = 2;
    dialog->show();
    EXPECT_FALSE(dialog->PC->isTabVisible(2)) << "no template page while searching subjects";
    EXPECT_TRUE(dialog->PC->isTabVisible(dialog->PC->indexOf(dialog->TS_targy)));
    dialog->E_kereso->setText(QStringLiteral("O'B"));
    EXPECT_EQ(dialog->MT_targy_temp.Filter(), "targy_kod like 'O''B**'");
    EXPECT_EQ(ids(dialog->MT_targy_temp, "targy_id"), std::vector<int>{7});
    EXPECT_TRUE(popupOffered(dialog->L_kereso) && popupOffered(dialog->L_kereso_nev));
    EXPECT_FALSE(popupOffered(dialog->E_kereso));
    dialog->targy_nev->trigger();
    EXPECT_EQ(dialog->L_kereso->text(), QStringLiteral("Megnevezés:"));
    EXPECT_TRUE(dialog->E_kereso->text().isEmpty());
    QTest::keyClicks(dialog->E_kereso, QStringLiteral("Alg"));
    EXPECT_EQ(shownColumn(*dialog->DBGrid2, "targy_nev"), QStringList{QStringLiteral("Algebra")});
    QTest::keyClicks(dialog->E_kereso, QStringLiteral("x"));
    click(dialog->B_mentes);
    EXPECT_TRUE(dialog->isVisible()) << "nothing to choose";
    EXPECT_TRUE(dialog->KivalasztottTargyak().empty());
    dialog->PC->setCurrentWidget(dialog->TS_szuk);
    EXPECT_EQ(dialog->KeresesMod, 1);
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("kurzusminta_kod like 'ISMERETLEN!**'"));
}

// Subjects of the templates of the course's code, each once, without those the course has.
TEST_F(SubjectSearch, TheNarrowedListOffersTheTemplatesSubjectsToChooseOneOrSeveral)
{
    addCourseWithCode(1, "MAB123MN");
    for (int subject : {0, 8, 9, 10})
        addSubject(subject, "S" + std::to_string(subject));
    for (const auto &[id, code] : {std::pair{50, "MAB123MN-EA"}, {51, "MAB123MN-GY"}, {52, "MAB999MN-GY"}})
        addTemplate(id, code);
    for (const auto &[templateId, subject] : {std::pair{50, 8}, {50, 0}, {51, 0}, {51, 9}, {51, 404}, {52, 10}})
        linkTemplate(templateId, subject);
    linkSubject(1, 9);
    DM->MT_kurzustargy.SetFilter("kurzus_id=2");
    DM->MT_kurzustargy.SetFiltered(true);
    dialog->KurzusId = 1;
    dialog->KeresesMod = 1;
    dialog->show();
    EXPECT_EQ(dialog->PC->currentWidget(), dialog->TS_szuk);
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("kurzusminta_kod like 'MAB123MN**'"));
    EXPECT_EQ(shownColumn(*dialog->DBGrid1, "targy_kod"), (QStringList{"S8", "S0"}));
    dialog->MT_targyszuk.Last();
    click(dialog->B_mentes);
    EXPECT_EQ(dialog->KivalasztottTargyak(), std::vector<int>{0}) << "subject 0 is a real one";
    dialog->show();
    dialog->MT_targyszuk.Last();
    dialog->DBGrid1->SelectedRows().SetCurrentRowSelected(true);
    dialog->MT_targyszuk.First();
    dialog->DBGrid1->SelectedRows().SetCurrentRowSelected(true);
    click(dialog->B_mentes);
    EXPECT_EQ(dialog->KivalasztottTargyak(), (std::vector<int>{0, 8}));
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
    EXPECT_EQ(ids(dialog->MT_targy_temp, "targy_id"), std::vector<int>{7});
}

TEST_F(SubjectSearch, TemplateModeFiltersTheSharedTemplatesUntilClosing)
{
    addCourseWithCode(1, "MAB123MN");
    addSubject(7, "S7");
    addTemplate(50, "MAB123MN-EA", "", -1, "MAB123MN");
    addTemplate(51, "MAB123MN-GY", "", -1, "XYZ");
    addTemplate(52, "OTHER-EA", "", -1, "MAB123MN");
    linkTemplate(51, 7);
    dialog->KurzusId = 1;
    dialog->KeresesMod = 3;
    dialog->show();
    EXPECT_EQ(dialog->PC->currentWidget(), dialog->TS_kurzusminta);
    EXPECT_FALSE(dialog->PC->isTabVisible(0));
    EXPECT_TRUE(dialog->PC->isTabVisible(2));
    EXPECT_EQ(dialog->KeresesMod, 3) << "showing the page is no page change";
    EXPECT_EQ(dialog->E_kereso_kod->text(), QStringLiteral("MAB123MN"));
    EXPECT_EQ(DM->MT_kurzusminta.RecordCount(), 2);
    EXPECT_TRUE(popupOffered(dialog->L_kereso_kod));
    QTest::keyClicks(dialog->E_kereso_nev, QStringLiteral("XY"));
    ASSERT_EQ(DM->MT_kurzusminta.RecordCount(), 1);
    dialog->DBG_kurzusmintaCellClick();
    EXPECT_EQ(ids(dialog->MT_targy_temp2, "targy_id"), std::vector<int>{7});
    click(dialog->B_mentes);
    EXPECT_EQ(dialog->Eredmeny, 51);
    EXPECT_FALSE(DM->MT_kurzusminta.Filtered());
}

} // namespace
