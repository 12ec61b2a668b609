#include "dialogs/Admin_table.h"

#include "dialogs/DialogTestSupport.h"

#include <QKeyEvent>

namespace {

using namespace dialogtest;

class TableBrowser : public DialogOn<TAdminka> {
protected:
    static TColumn &column(TDBGrid &grid, const std::string &field)
    {
        for (int i = 0; i < grid.Columns().Count(); ++i)
            if (grid.Columns()[i]->FieldName() == field)
                return *grid.Columns()[i];
        throw std::runtime_error("no column " + field);
    }
    void addCurriculum(int id, const std::string &tagozat, int szabad)
    {
        appendRow(DM->MT_mintatanterv, {{"mintatanterv_id", id}, text("tagozat", tagozat), {"szabad", szabad}});
    }
};

TEST_F(TableBrowser, ShowsTheLoginNameAndFiltersTheCurriculaWithoutLeavingAFilterOn)
{
    addCurriculum(1, "N", 2);
    addCurriculum(2, "L", 0);
    dialog->show();
    EXPECT_EQ(dialog->Felhasznalo->text(), QStringLiteral("tesztelo"));
    pick(dialog->RG_tagozat, 1);
    EXPECT_EQ(DM->MT_mintatanterv.Filter(), "(tagozat='N')");
    EXPECT_EQ(ids(DM->MT_mintatanterv, "mintatanterv_id"), std::vector<int>{1});
    // The offered flag goes to 1 from anything but 1, then back to 0.
    TColumn &szabad = column(*dialog->DBG_mintatanterv_fa, "szabad");
    dialog->DBG_mintatanterv_faCellClick(&szabad);
    EXPECT_EQ(fieldOf(DM->MT_mintatanterv, "mintatanterv_id", 1, "szabad"), 1);
    dialog->DBG_mintatanterv_faCellClick(&szabad);
    EXPECT_EQ(fieldOf(DM->MT_mintatanterv, "mintatanterv_id", 1, "szabad"), 0);
    dialog->DBG_targyCellClick(column(*dialog->DBG_targy, "szabad"));
    EXPECT_TRUE(DM->MT_targy.IsEmpty()) << "an empty table gets no row";
    pick(dialog->RG_tagozat, 0);
    EXPECT_FALSE(DM->MT_mintatanterv.Filtered());
}

TEST_F(TableBrowser, CurriculumTreeListsSubjectsByHowTheyAreTakenAndFlagsTheSharedSubject)
{
    addCurriculum(1, "N", 1);
    addSubject(7, "S7", "Analízis");
    addSubject(8, "S8", "Algebra");
    for (const auto &[subject, how] : {std::pair{7, "Kötelező"}, {8, "Egyéb"}, {99, "Kötelező"}})
        appendRow(DM->MT_mintatantervtargy, {{"mintatanterv_id", 1}, {"targy_id", subject}, text("targy_felveteltipus", how)});
    dialog->show();
    EXPECT_EQ(ids(dialog->MT_targy_temp, "targy_id"), std::vector<int>{7});
    pick(dialog->RG_felveteltipus, 0);
    EXPECT_EQ(ids(dialog->MT_targy_temp, "targy_id"), (std::vector<int>{7, 8}));
    ASSERT_TRUE(dialog->MT_targy_temp.Locate("targy_id", 7, {}));
    dialog->DBG_targy_faCellClick(column(*dialog->DBG_targy_fa, "targy_kod"));
    EXPECT_EQ(fieldOf(DM->MT_targy, "targy_id", 7, "szabad"), 0) << "only the flag's column changes it";
    ASSERT_TRUE(dialog->MT_targy_temp.Locate("targy_id", 7, {}));
    dialog->DBG_targy_faCellClick(column(*dialog->DBG_targy_fa, "szabad"));
    EXPECT_EQ(dialog->MT_targy_temp.FieldByName("szabad")->AsInteger(), 1);
    EXPECT_EQ(fieldOf(DM->MT_targy, "targy_id", 7, "szabad"), 1);
}

// Names come from existing subjects, subject 0 included, whatever filter the course table had.
TEST_F(TableBrowser, NameFixingFillsOnlyEmptyNamesThenRegenerationAndSavingWork)
{
    addSubject(0, "S0", "Nulladik");
    addSubject(7, "S7", "Analízis");
    addCourse({10, "A", "Saját", 7});
    addCourse({11, "B", "", 7});
    addCourse({12, "C", "", 99});
    addCourse({13, "D", "", -1});
    addCourse({14, "E", "", 0});
    addOccasion(100, 10, at(2, 8, 0), at(2, 10, 0));
    DM->MT_kurzus.SetFilter("kurzus_id=10");
    DM->MT_kurzus.SetFiltered(true);
    dialog->show();
    click(dialog->B_knevfix);
    DM->MT_kurzus.SetFiltered(false);
    DM->MT_kurzus.SetIndexFieldNames("kurzus_id");
    EXPECT_EQ(texts(DM->MT_kurzus, "megnevezes"), (std::vector<std::string>{"Saját", "Analízis", "", "", "Nulladik"}));
    EXPECT_EQ(dialog->KurzusMegnevezes(10), utf8ToCp1250("Saját"));
    EXPECT_EQ(dialog->KurzusMegnevezes(42), "");
    click(dialog->B_kurzusalkalom);
    EXPECT_EQ(ofCourse(DM->MT_kurzusalkalom, 10, "alkalom_id"), std::vector<int>{100});
    addSubject(8, "UJTARGY", "Új tárgy");
    click(dialog->B_mentes);
    EXPECT_NE(readFile(folder, "targy.csv").find("UJTARGY"), std::string::npos);
    const std::vector<MessageSeen> seen = messagesOf([&] { click(dialog->B_kurzusmintaimport); });
    ASSERT_EQ(seen.size(), 1u) << "an import without its file tells why";
    EXPECT_FALSE(seen[0].text.isEmpty());
    EXPECT_EQ(seen[0].buttons, QMessageBox::Ok);
}

TEST_F(TableBrowser, TemplateTreeFiltersOnTheFixedCodeTypeAndTerm)
{
    const struct {
        int id;
        const char *code, *type, *term;
    } templates[] = {{1, "MSB293-1", "GY", "2019/20/1"},
                     {2, "MSB293-2", "EA", "2019/20/1"},
                     {3, "MSB294-1", "GY", "2019/20/1"},
                     {4, "MSB293-3", "GY", "2020/21/1"}};
    for (const auto &t : templates)
        appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", t.id}, text("kurzusminta_kod", t.code),
                                       text("kurzusminta_tipus", t.type), text("felev", t.term)});
    dialog->show();
    dialog->PageControl1->setCurrentWidget(dialog->TS_kurzusmintafa);
    // A page shown for the first time lays out its buttons from the event loop.
    QApplication::processEvents();
    EXPECT_EQ(dialog->MT_kurzusminta_temp.RecordCount(), 4);
    pick(dialog->RG_tip2, 2);
    pick(dialog->RG_felev, 7);
    EXPECT_EQ(dialog->MT_kurzusminta_temp.Filter(),
              "kurzusminta_kod like 'MSB293**' and (kurzusminta_tipus='GY') and (felev='2019/20/1')");
    EXPECT_EQ(ids(dialog->MT_kurzusminta_temp, "kurzusminta_id"), std::vector<int>{1});
}

TEST_F(TableBrowser, TemplateTreeShowsTheTemplatesSubjectsAndTeachers)
{
    addSubject(7, "S7", "Analízis");
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 1}, text("kurzusminta_kod", "MSB293-1")});
    appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", 1}, {"targy_id", 7}});
    appendRow(DM->MT_kurzusmintatargy, {{"kurzusminta_id", 2}, {"targy_id", 7}});
    appendRow(DM->MT_kurzusmintaoktato, {{"kurzusminta_id", 1}, {"oktato_id", 5}});
    appendRow(DM->MT_kurzusmintaoktato, {{"kurzusminta_id", 2}, {"oktato_id", 6}});
    dialog->show();
    dialog->PageControl1->setCurrentWidget(dialog->TS_kurzusmintafa);
    EXPECT_EQ(ids(dialog->MT_targy_temp, "targy_id"), std::vector<int>{7});
    EXPECT_EQ(ids(dialog->MT_kurzusmintaoktato_temp, "oktato_id"), std::vector<int>{5});
}

TEST_F(TableBrowser, KastorelGridCollectsTypedSearchText)
{
    dialog->show();
    dialog->PageControl1->setCurrentIndex(dialog->PageControl1->count() - 1);
    QTest::mouseClick(dialog->DBG_kastorel->viewport(), Qt::LeftButton, {},
                      dialog->DBG_kastorel->CellRect(1, 0).center());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Adminka ..."));
    QTest::keyClicks(dialog->DBG_kastorel, QStringLiteral("Ab1!"));
    // The test library types only ASCII; an accented letter comes as the keyboard would send it.
    QKeyEvent accented(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ő"));
    QApplication::sendEvent(dialog->DBG_kastorel, &accented);
    EXPECT_EQ(dialog->szures->text(), QStringLiteral("Ab1ő"));
    QTest::keyClick(dialog->DBG_kastorel, Qt::Key_Backspace);
    EXPECT_EQ(dialog->szures->text(), QStringLiteral("Ab1"));
}

TEST_F(TableBrowser, RightClickOnTheLoadFormatBoxClearsBoth)
{
    dialog->show();
    dialog->sfLoadFormat->setChecked(true);
    dialog->sfSaveFormat->setChecked(true);
    QTest::mouseClick(dialog->sfLoadFormat, Qt::RightButton);
    EXPECT_FALSE(dialog->sfLoadFormat->isChecked());
    EXPECT_FALSE(dialog->sfSaveFormat->isChecked());
}

} // namespace
