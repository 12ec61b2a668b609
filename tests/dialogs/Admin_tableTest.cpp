#include "dialogs/Admin_table.h"

#include "dialogs/DialogTestSupport.h"
#include "dialogs/RadioGroup.h"
#include "platform/widgets/DBGrids.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

using dialogtest::answeringModals;
using dialogtest::appendRow;
using dialogtest::MessageSeen;
using dialogtest::recordAndPress;
using dialogtest::text;
using dialogtest::utf8Of;

class TableBrowser : public dialogtest::DataModule {
protected:
    void SetUp() override
    {
        std::ofstream(folder.path() / "mintatantervtargy.csv", std::ios::binary) << datamtest::dataFile(
            {{"mintatanterv_id", "Integer"}, {"targy_id", "Integer"}, {"targy_felveteltipus", "String", 100}}, {});
        DataModule::SetUp();
        dialog = std::make_unique<TAdminka>();
    }
    void TearDown() override
    {
        dialog.reset();
        DataModule::TearDown();
    }

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
    std::vector<int> ids(TDataSet &table, const char *field)
    {
        std::vector<int> found;
        for (table.First(); !table.Eof(); table.Next())
            found.push_back(table.FieldByName(field)->AsInteger());
        return found;
    }

    std::unique_ptr<TAdminka> dialog;
};

TEST_F(TableBrowser, OfferedFlagOfACurriculumGoesToOneThenZeroAndOnAnEmptyTableChangesNothing)
{
    addCurriculum(1, "N", 2);
    dialog->show();
    ASSERT_TRUE(DM->MT_mintatanterv.Locate("mintatanterv_id", 1, {}));
    TColumn &szabad = column(*dialog->DBG_mintatanterv_fa, "szabad");
    dialog->DBG_mintatanterv_faCellClick(&szabad);
    EXPECT_EQ(DM->MT_mintatanterv.FieldByName("szabad")->AsInteger(), 1);
    dialog->DBG_mintatanterv_faCellClick(&szabad);
    EXPECT_EQ(DM->MT_mintatanterv.FieldByName("szabad")->AsInteger(), 0);
    dialog->DBG_targyCellClick(column(*dialog->DBG_targy, "szabad"));
    EXPECT_TRUE(DM->MT_targy.IsEmpty());
}

TEST_F(TableBrowser, CurriculumFilterLeavesTheTableUnfilteredOnEveryItem)
{
    addCurriculum(1, "N", 1);
    addCurriculum(2, "L", 0);
    dialog->show();
    EXPECT_FALSE(DM->MT_mintatanterv.Filtered());
    EXPECT_EQ(DM->MT_mintatanterv.RecordCount(), 2);
    QTest::mouseClick(dialog->RG_tagozat->Button(1), Qt::LeftButton);
    EXPECT_EQ(DM->MT_mintatanterv.Filter(), "(tagozat='N')");
    EXPECT_EQ(ids(DM->MT_mintatanterv, "mintatanterv_id"), std::vector<int>{1});
    QTest::mouseClick(dialog->RG_tagozat->Button(0), Qt::LeftButton);
    EXPECT_FALSE(DM->MT_mintatanterv.Filtered());
}

TEST_F(TableBrowser, CurriculumTreeListsSubjectsByHowTheyAreTakenAndFlagsTheSharedSubject)
{
    addCurriculum(1, "N", 1);
    addSubject(7, "S7", "Analízis");
    addSubject(8, "S8", "Algebra");
    appendRow(DM->MT_mintatantervtargy, {{"mintatanterv_id", 1}, {"targy_id", 7}, text("targy_felveteltipus", "Kötelező")});
    appendRow(DM->MT_mintatantervtargy, {{"mintatanterv_id", 1}, {"targy_id", 8}, text("targy_felveteltipus", "Egyéb")});
    appendRow(DM->MT_mintatantervtargy, {{"mintatanterv_id", 1}, {"targy_id", 99}, text("targy_felveteltipus", "Kötelező")});
    dialog->show();
    EXPECT_EQ(ids(dialog->MT_targy_temp, "targy_id"), std::vector<int>{7});
    QTest::mouseClick(dialog->RG_felveteltipus->Button(0), Qt::LeftButton);
    EXPECT_EQ(ids(dialog->MT_targy_temp, "targy_id"), (std::vector<int>{7, 8}));
    ASSERT_TRUE(dialog->MT_targy_temp.Locate("targy_id", 7, {}));
    dialog->DBG_targy_faCellClick(column(*dialog->DBG_targy_fa, "szabad"));
    EXPECT_EQ(dialog->MT_targy_temp.FieldByName("szabad")->AsInteger(), 1);
    ASSERT_TRUE(DM->MT_targy.Locate("targy_id", 7, {}));
    EXPECT_EQ(DM->MT_targy.FieldByName("szabad")->AsInteger(), 1);
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
    dialog->RG_tip2->Button(2)->click();
    dialog->RG_felev->Button(7)->click();
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

TEST_F(TableBrowser, NameFixingFillsOnlyEmptyNamesFromExistingSubjectsWhateverTheFilter)
{
    addSubject(7, "S7", "Analízis");
    addCourse({10, "A", "Saját", 7});
    addCourse({11, "B", "", 7});
    addCourse({12, "C", "", 99});
    addCourse({13, "D", "", -1});
    DM->MT_kurzus.SetFilter("kurzus_id=10");
    DM->MT_kurzus.SetFiltered(true);
    dialog->show();
    QTest::mouseClick(dialog->B_knevfix, Qt::LeftButton);
    DM->MT_kurzus.SetFiltered(false);
    std::vector<std::string> names;
    DM->MT_kurzus.SetIndexFieldNames("kurzus_id");
    for (DM->MT_kurzus.First(); !DM->MT_kurzus.Eof(); DM->MT_kurzus.Next())
        names.push_back(utf8Of(DM->MT_kurzus, "megnevezes"));
    EXPECT_EQ(names, (std::vector<std::string>{"Saját", "Analízis", "", ""}));
    EXPECT_EQ(dialog->KurzusMegnevezes(10), utf8ToCp1250("Saját"));
    EXPECT_EQ(dialog->KurzusMegnevezes(42), "");
}

TEST_F(TableBrowser, RegenerationLinksCoursesToTheirOccasionsAndSavingWritesTheSubjectFile)
{
    addCourse({10, "A"});
    addOccasion(100, 10, dialogtest::at(2, 8, 0), dialogtest::at(2, 10, 0));
    dialog->show();
    QTest::mouseClick(dialog->B_kurzusalkalom, Qt::LeftButton);
    EXPECT_TRUE(DM->MT_kurzusalkalom.Locate("kurzus_id;alkalom_id", VarArrayOf({Variant(10), Variant(100)}), {}));
    addSubject(7, "UJTARGY", "Új tárgy");
    QTest::mouseClick(dialog->B_mentes, Qt::LeftButton);
    EXPECT_NE(dialogtest::readFile(folder, "targy.csv").find("UJTARGY"), std::string::npos);
}

TEST_F(TableBrowser, ImportWithoutItsFileTellsWhy)
{
    dialog->show();
    std::vector<MessageSeen> seen;
    answeringModals([&] { QTest::mouseClick(dialog->B_kurzusmintaimport, Qt::LeftButton); }, recordAndPress(seen));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(seen[0].text.isEmpty());
    EXPECT_EQ(seen[0].buttons, QMessageBox::Ok);
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

TEST_F(TableBrowser, ShowsTheLoginName)
{
    dialog->show();
    EXPECT_EQ(dialog->Felhasznalo->text(), QStringLiteral("tesztelo"));
    EXPECT_EQ(dialog->PageControl1->currentWidget(), dialog->TS_mintatantervfa);
}

} // namespace
