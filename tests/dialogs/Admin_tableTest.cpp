#include "dialogs/Admin_table.h"

#include "dialogs/DialogTestSupport.h"

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

} // namespace
