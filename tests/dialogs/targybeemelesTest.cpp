#include "dialogs/targybeemeles.h"

#include "dialogs/DialogTestSupport.h"

namespace {

using namespace dialogtest;
using Ids = std::vector<int>;

class TimetableMembership : public DialogOn<Tbeemeles> {
protected:
    void SetUp() override
    {
        DialogOn::SetUp();
        dialog->OrarendId = 1;
    }
    Ids left() { return ids(dialog->MT_kurzus1_temp, "kurzus_id"); }
    Ids right() { return ids(dialog->MT_kurzus2_temp, "kurzus_id"); }
    Ids timetablesOf(int kurzusId) { return ofCourse(DM->MT_kurzusorarend, kurzusId, "orarend_id"); }
    static int rowsOf(TztrMemTable &table, int kurzusId) { return int(ofCourse(table, kurzusId, "kurzus_id").size()); }
    void select(TDBGrid &grid, TztrMemTable &list, int kurzusId)
    {
        ASSERT_TRUE(list.Locate("kurzus_id", kurzusId, {}));
        grid.SelectedRows().SetCurrentRowSelected(true);
    }
    QStringList deleteAnswering(const QString &refuse = {})
    {
        return textsOf(messagesOf([&] { click(dialog->torles); }, refuse));
    }
};

// Titles fall back to the subject's name, then to the template subject's.
TEST_F(TimetableMembership, TimetableCoursesAreOnTheRightOthersOnTheLeftAndMoveEitherWay)
{
    addSubject(7, "S7", "Analízis");
    addSubject(8, "S8", "Algebra");
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 50}, {"targy_id", 8}});
    addCourse({10, "A-EA-00", "Egy"}, {1});
    addCourse({11, "B-EA-00", "", 7}, {2});
    addCourse({12, "C-EA-00", "", 99, 30, 0, "", 50});
    addCourse({13, "D-EA-00", "Négy"}, {1, 2});
    addCourse({14, "E-EA-00", "", 99});
    dialog->show();
    EXPECT_EQ(right(), (Ids{10, 13}));
    EXPECT_EQ(left(), (Ids{11, 12, 14}));
    EXPECT_EQ(texts(dialog->MT_kurzus1_temp, "megnevezes"), (std::vector<std::string>{"Analízis", "Algebra", ""}));
    click(dialog->CheckBox1);
    EXPECT_EQ(left(), (Ids{12, 14})) << "courses of other timetables hidden";
    click(dialog->CheckBox1);
    dialog->MT_kurzus1_temp.First();
    click(dialog->B_bevetel);
    EXPECT_EQ(right(), (Ids{10, 13, 11}));
    select(*dialog->DBGrid1, dialog->MT_kurzus1_temp, 14);
    select(*dialog->DBGrid1, dialog->MT_kurzus1_temp, 12);
    click(dialog->B_bevetelek);
    EXPECT_EQ(right(), (Ids{10, 13, 11, 14, 12}));
    click(dialog->Button6);
    EXPECT_TRUE(right().empty());
    click(dialog->Button5);
    EXPECT_TRUE(left().empty());
}

TEST_F(TimetableMembership, SavingRewritesTheTimetablesLinksOnceCancelLeavesThemAlone)
{
    addCourse({10, "A"}, {1, 1, 2});
    addCourse({11, "B"}, {1});
    addCourse({12, "C"});
    addCourse({13, "D"}, {1, 2});
    dialog->show();
    click(dialog->Button6);
    click(dialog->megse);
    EXPECT_EQ(dialog->OrarendId, 1);
    EXPECT_EQ(timetablesOf(11), Ids{1});
    dialog->show();
    select(*dialog->DBGrid2, dialog->MT_kurzus2_temp, 11);
    QTest::mouseClick(dialog->kivalaszt, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(right(), (Ids{10, 11, 13})) << "only with Ctrl too";
    QTest::mouseClick(dialog->kivalaszt, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(right(), (Ids{10, 13}));
    EXPECT_TRUE(left() == Ids{12}) << "dropped, not moved";
    select(*dialog->DBGrid2, dialog->MT_kurzus2_temp, 13);
    click(dialog->B_kivetelek);
    dialog->MT_kurzus1_temp.Locate("kurzus_id", 12, {});
    click(dialog->B_bevetel);
    click(dialog->kivalaszt);
    EXPECT_EQ(dialog->OrarendId, -1);
    for (const auto &[course, timetables] : {std::pair{10, Ids{2, 1}}, {11, Ids{}}, {12, Ids{1}}, {13, Ids{2}}})
        EXPECT_EQ(timetablesOf(course), timetables) << course;
    dialog->OrarendId = 1;
    dialog->show();
    click(dialog->Button6);
    click(dialog->kivalaszt);
    EXPECT_EQ(timetablesOf(10), Ids{2}) << "an empty right list unlinks the whole timetable";
    EXPECT_EQ(timetablesOf(12), Ids{});
}

TEST_F(TimetableMembership, DeletingAsksFirstAndOnlyAdministratorsOrTheBoxShowTheButton)
{
    addCourse({10, "A-EA-00", "Egy"});
    dialog->show();
    EXPECT_FALSE(dialog->torles->isVisible());
    click(dialog->CheckBox1);
    EXPECT_TRUE(dialog->torles->isVisible());
    EXPECT_EQ(deleteAnswering(), QStringList{"Nincs kijelölve elem!"});
    EXPECT_EQ(rowsOf(DM->MT_kurzus, 10), 1);
    select(*dialog->DBGrid1, dialog->MT_kurzus1_temp, 10);
    const std::vector<MessageSeen> seen = messagesOf([&] { click(dialog->torles); });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("Biztosan törölhetem?\n\nA-EA-00/Egy"));
    EXPECT_EQ(seen[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(rowsOf(DM->MT_kurzus, 10), 0);
    EXPECT_TRUE(left().empty());
    click(dialog->CheckBox1);
    dialog->hide();
    DM->Admin = true;
    dialog->show();
    EXPECT_TRUE(dialog->torles->isVisible()) << "administrators always see it";
}

// Every table is looked at unfiltered; a refused course keeps all it has while the others go.
TEST_F(TimetableMembership, ARefusedCourseStaysWhileTheOthersGoWithTheirOccasionsTeachersAndSubjects)
{
    addCourse({10, "A-EA-00", "Egy"});
    addCourse({11, "B-EA-00", "Kettő"});
    addCourse({12, "C-EA-00", "Három"}, {2});
    addOccasion(100, 10, at(2, 8, 0), at(2, 10, 0));
    addOccasion(101, 11, at(2, 8, 0), at(2, 10, 0));
    addTeacher(5, "Tanár");
    linkTeacher(11, 5);
    linkSubject(11, 7);
    DM->MT_alkalom.SetFilter("kurzus_id=999");
    DM->MT_alkalom.SetFiltered(true);
    dialog->show();
    for (int course : {10, 11, 12})
        select(*dialog->DBGrid1, dialog->MT_kurzus1_temp, course);
    const QString course12 = QStringLiteral("\nC-EA-00/Három");
    EXPECT_EQ(deleteAnswering(QStringLiteral("\nA-EA-00")),
              (QStringList{"A kurzushoz alkalom van rendelve!\nA-EA-00/Egy\nTörölhetem?", "A kurzus törlése megszakítva!",
                           "A kurzushoz alkalom van rendelve!\nB-EA-00/Kettő\nTörölhetem?",
                           "A kurzushoz oktató van rendelve!\nB-EA-00/Kettő\nTörölhetem?",
                           "A kurzushoz tárgy van rendelve!\nB-EA-00/Kettő\nTörölhetem?",
                           "Biztosan törölhetem?\n\nB-EA-00/Kettő",
                           "A kurzus órarendbe van becsatolva!\r" + course12 + "\nTörölhetem?",
                           "Biztosan törölhetem?\n" + course12}));
    EXPECT_EQ(rowsOf(DM->MT_kurzus, 10), 1);
    EXPECT_TRUE(DM->MT_alkalom.Locate("alkalom_id", 100, {}));
    EXPECT_FALSE(DM->MT_alkalom.Locate("alkalom_id", 101, {}));
    for (int course : {11, 12})
        EXPECT_EQ(rowsOf(DM->MT_kurzus, course), 0);
    EXPECT_EQ(rowsOf(DM->MT_kurzusoktato, 11), 0);
    EXPECT_EQ(rowsOf(DM->MT_kurzustargy, 11), 0);
    EXPECT_EQ(timetablesOf(12), Ids{});
    EXPECT_EQ(left(), Ids{10});
}

} // namespace
