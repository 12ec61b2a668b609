#include "dialogs/targybeemeles.h"

#include "dialogs/DialogTestSupport.h"
#include "platform/widgets/DBGrids.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

using dialogtest::recordAndPress;

using dialogtest::appendRow;
using dialogtest::MessageSeen;
using dialogtest::text;
using dialogtest::utf8Of;

class TimetableMembership : public dialogtest::DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        dialog = std::make_unique<Tbeemeles>();
        dialog->OrarendId = 1;
    }
    void TearDown() override
    {
        dialog.reset();
        DataModule::TearDown();
    }

    std::vector<int> listed(TDataSet &table)
    {
        std::vector<int> ids;
        for (table.First(); !table.Eof(); table.Next())
            ids.push_back(table.FieldByName("kurzus_id")->AsInteger());
        return ids;
    }
    std::vector<int> left() { return listed(dialog->MT_kurzus1_temp); }
    std::vector<int> right() { return listed(dialog->MT_kurzus2_temp); }
    int linksOf(int kurzusId, int orarendId = -1)
    {
        int count = 0;
        TDataSet &links = DM->MT_kurzusorarend;
        for (links.First(); !links.Eof(); links.Next())
            if (links.FieldByName("kurzus_id")->AsInteger() == kurzusId &&
                (orarendId < 0 || links.FieldByName("orarend_id")->AsInteger() == orarendId))
                ++count;
        return count;
    }
    int rowsOf(TztrMemTable &table, int kurzusId)
    {
        int count = 0;
        for (table.First(); !table.Eof(); table.Next())
            count += table.FieldByName("kurzus_id")->AsInteger() == kurzusId;
        return count;
    }
    void select(TDBGrid &grid, TztrMemTable &list, int kurzusId)
    {
        ASSERT_TRUE(list.Locate("kurzus_id", kurzusId, {}));
        grid.SelectedRows().SetCurrentRowSelected(true);
    }
    // Answers OK to every question except those containing `refuse`.
    std::function<void(QWidget &)> answerAll(std::vector<MessageSeen> &seen, const QString &refuse = QString())
    {
        return [&seen, refuse](QWidget &modal) {
            auto *box = qobject_cast<QMessageBox *>(&modal);
            ASSERT_NE(box, nullptr);
            seen.push_back({box->text(), box->standardButtons()});
            const bool no = !refuse.isEmpty() && box->text().contains(refuse);
            QTest::mouseClick(box->button(no ? QMessageBox::Cancel : QMessageBox::Ok), Qt::LeftButton);
        };
    }

    std::unique_ptr<Tbeemeles> dialog;
};

TEST_F(TimetableMembership, TimetableCoursesAreOnTheRightOthersOnTheLeft)
{
    addCourse({10, "A-EA-00", "Egy"}, {1});
    addCourse({11, "B-EA-00", "Kettő"}, {2});
    addCourse({12, "C-EA-00", "Három"});
    addCourse({13, "D-EA-00", "Négy"}, {1, 2});
    dialog->show();
    EXPECT_EQ(right(), (std::vector<int>{10, 13}));
    EXPECT_EQ(left(), (std::vector<int>{11, 12}));
    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    EXPECT_EQ(right(), (std::vector<int>{10, 13}));
    EXPECT_EQ(left(), std::vector<int>{12});
}

TEST_F(TimetableMembership, TitleFallsBackToSubjectThenTemplateSubject)
{
    addSubject(7, "S7", "Analízis");
    addSubject(8, "S8", "Algebra");
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 50}, {"targy_id", 8}});
    addCourse({10, "A", "Saját"});
    addCourse({11, "B", "", 7});
    addCourse({12, "C", "", 99, 30, 0, "", 50});
    addCourse({13, "D", "", 99});
    dialog->show();
    std::vector<std::string> titles;
    for (dialog->MT_kurzus1_temp.First(); !dialog->MT_kurzus1_temp.Eof(); dialog->MT_kurzus1_temp.Next())
        titles.push_back(utf8Of(dialog->MT_kurzus1_temp, "megnevezes"));
    EXPECT_EQ(titles, (std::vector<std::string>{"Saját", "Analízis", "Algebra", ""}));
}

TEST_F(TimetableMembership, RowsMoveOneSelectedOrAll)
{
    for (int id : {10, 11, 12, 13})
        addCourse({id, "K" + std::to_string(id)});
    dialog->show();
    dialog->MT_kurzus1_temp.First();
    QTest::mouseClick(dialog->B_bevetel, Qt::LeftButton);
    EXPECT_EQ(right(), std::vector<int>{10});
    select(*dialog->DBGrid1, dialog->MT_kurzus1_temp, 13);
    select(*dialog->DBGrid1, dialog->MT_kurzus1_temp, 11);
    QTest::mouseClick(dialog->B_bevetelek, Qt::LeftButton);
    EXPECT_EQ(right(), (std::vector<int>{10, 13, 11}));
    EXPECT_EQ(dialog->DBGrid1->SelectedRows().Count(), 0);
    QTest::mouseClick(dialog->Button6, Qt::LeftButton);
    EXPECT_TRUE(right().empty());
    EXPECT_EQ(left().size(), 4u);
    QTest::mouseClick(dialog->Button5, Qt::LeftButton);
    EXPECT_TRUE(left().empty());
}

TEST_F(TimetableMembership, SavingRewritesTheTimetablesLinksOnce)
{
    addCourse({10, "A"}, {1, 1, 2});
    addCourse({11, "B"}, {1});
    addCourse({12, "C"});
    dialog->show();
    select(*dialog->DBGrid2, dialog->MT_kurzus2_temp, 11);
    QTest::mouseClick(dialog->B_kivetelek, Qt::LeftButton);
    dialog->MT_kurzus1_temp.Locate("kurzus_id", 12, {});
    QTest::mouseClick(dialog->B_bevetel, Qt::LeftButton);
    QTest::mouseClick(dialog->kivalaszt, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->OrarendId, -1);
    EXPECT_EQ(linksOf(10, 1), 1);
    EXPECT_EQ(linksOf(10, 2), 1);
    EXPECT_EQ(linksOf(11), 0);
    EXPECT_EQ(linksOf(12, 1), 1);
}

TEST_F(TimetableMembership, CancelLeavesTheLinksAloneSavingAnEmptyRightListUnlinksTheWholeTimetable)
{
    addCourse({10, "A"}, {1});
    addCourse({11, "B"}, {1, 2});
    dialog->show();
    QTest::mouseClick(dialog->Button6, Qt::LeftButton);
    QTest::mouseClick(dialog->megse, Qt::LeftButton);
    EXPECT_EQ(dialog->OrarendId, 1);
    EXPECT_EQ(linksOf(10, 1), 1);
    dialog->show();
    QTest::mouseClick(dialog->Button6, Qt::LeftButton);
    QTest::mouseClick(dialog->kivalaszt, Qt::LeftButton);
    EXPECT_EQ(linksOf(10), 0);
    EXPECT_EQ(linksOf(11), 1);
}

TEST_F(TimetableMembership, RightClickWithShiftAndCtrlDropsSelectedRightRows)
{
    addCourse({10, "A"}, {1});
    addCourse({11, "B"}, {1});
    dialog->show();
    select(*dialog->DBGrid2, dialog->MT_kurzus2_temp, 11);
    QTest::mouseClick(dialog->kivalaszt, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(right(), (std::vector<int>{10, 11}));
    QTest::mouseClick(dialog->kivalaszt, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(right(), std::vector<int>{10});
    EXPECT_TRUE(left() == std::vector<int>{});
    QTest::mouseClick(dialog->kivalaszt, Qt::LeftButton);
    EXPECT_EQ(linksOf(11), 0);
}

TEST_F(TimetableMembership, DeleteButtonShowsForAdministratorsOrWithTheBoxTicked)
{
    dialog->show();
    EXPECT_FALSE(dialog->torles->isVisible());
    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    EXPECT_TRUE(dialog->torles->isVisible());
    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    EXPECT_FALSE(dialog->torles->isVisible());
    dialog->hide();
    DM->Admin = true;
    dialog->show();
    EXPECT_TRUE(dialog->torles->isVisible());
    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    EXPECT_TRUE(dialog->torles->isVisible());
}

TEST_F(TimetableMembership, DeletingWithoutSelectionSaysSoABareCourseGoesAfterOneQuestion)
{
    addCourse({10, "A-EA-00", "Egy"});
    dialog->show();
    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    std::vector<MessageSeen> seen;
    answeringModals([&] { QTest::mouseClick(dialog->torles, Qt::LeftButton); }, recordAndPress(seen));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("Nincs kijelölve elem!"));
    EXPECT_EQ(rowsOf(DM->MT_kurzus, 10), 1);
    select(*dialog->DBGrid1, dialog->MT_kurzus1_temp, 10);
    seen.clear();
    answeringModals([&] { QTest::mouseClick(dialog->torles, Qt::LeftButton); }, answerAll(seen));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("Biztosan törölhetem?\n\nA-EA-00/Egy"));
    EXPECT_EQ(seen[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(rowsOf(DM->MT_kurzus, 10), 0);
    EXPECT_TRUE(left().empty());
}

TEST_F(TimetableMembership, RefusedCourseStaysWhileTheOthersGo)
{
    addCourse({10, "A-EA-00", "Egy"});
    addCourse({11, "B-EA-00", "Kettő"});
    addOccasion(100, 10, dialogtest::at(2, 8, 0), dialogtest::at(2, 10, 0));
    addOccasion(101, 11, dialogtest::at(2, 8, 0), dialogtest::at(2, 10, 0));
    addTeacher(5, "Tanár");
    linkTeacher(11, 5);
    linkSubject(11, 7);
    DM->MT_alkalom.SetFilter("kurzus_id=999");
    DM->MT_alkalom.SetFiltered(true);
    dialog->show();
    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    select(*dialog->DBGrid1, dialog->MT_kurzus1_temp, 10);
    select(*dialog->DBGrid1, dialog->MT_kurzus1_temp, 11);
    std::vector<MessageSeen> seen;
    answeringModals([&] { QTest::mouseClick(dialog->torles, Qt::LeftButton); },
                    answerAll(seen, QStringLiteral("alkalom van rendelve!\nA-EA-00")));
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0].text, QStringLiteral("A kurzushoz alkalom van rendelve!\nA-EA-00/Egy\nTörölhetem?"));
    EXPECT_EQ(seen[1].text, QStringLiteral("A kurzus törlése megszakítva!"));
    EXPECT_EQ(seen[2].text, QStringLiteral("A kurzushoz alkalom van rendelve!\nB-EA-00/Kettő\nTörölhetem?"));
    EXPECT_EQ(seen[3].text, QStringLiteral("A kurzushoz oktató van rendelve!\nB-EA-00/Kettő\nTörölhetem?"));
    EXPECT_EQ(seen[4].text, QStringLiteral("A kurzushoz tárgy van rendelve!\nB-EA-00/Kettő\nTörölhetem?"));
    EXPECT_EQ(rowsOf(DM->MT_kurzus, 10), 1);
    EXPECT_TRUE(DM->MT_alkalom.Locate("alkalom_id", 100, {}));
    EXPECT_FALSE(DM->MT_alkalom.Locate("alkalom_id", 101, {}));
    EXPECT_EQ(rowsOf(DM->MT_kurzus, 11), 0);
    EXPECT_EQ(rowsOf(DM->MT_kurzusoktato, 11), 0);
    EXPECT_EQ(rowsOf(DM->MT_kurzustargy, 11), 0);
    EXPECT_EQ(left(), std::vector<int>{10});
}

TEST_F(TimetableMembership, LinkedCourseIsAskedAboutItsTimetableFirst)
{
    addCourse({10, "A-EA-00", "Egy"}, {2});
    dialog->show();
    select(*dialog->DBGrid1, dialog->MT_kurzus1_temp, 10);
    std::vector<MessageSeen> seen;
    answeringModals([&] { QTest::mouseClick(dialog->torles, Qt::LeftButton); },
                    answerAll(seen, QStringLiteral("Biztosan")));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, QStringLiteral("A kurzus órarendbe van becsatolva!\r\nA-EA-00/Egy\nTörölhetem?"));
    EXPECT_EQ(seen[2].text, QStringLiteral("A kurzus törlése megszakítva!"));
    EXPECT_EQ(linksOf(10, 2), 1);
    EXPECT_EQ(rowsOf(DM->MT_kurzus, 10), 1);
}

} // namespace
