#include "dialogs/Teremfoglaltsag.h"

#include "sajat/SajatVCI.h"
#include "calendar/veltoCalendar.h"
#include "dialogs/DialogTestSupport.h"
#include "platform/widgets/DBCGrids.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QTreeWidget>

#include <set>

namespace {

using namespace dialogtest;

constexpr int Tuesday = Monday1 + 1;

class RoomOccupancy : public DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        addRoom(5, "B", "101", "Kelmendor", 40);
        addRoom(6, "a", "2", "Vár", 12);
        addRoom(7, "C", "3", "Vár", 8);
        addSubject(3, "MAT", "Matematika");
        addTeacher(1, "Kovács Anna");
        addTeacher(2, "Nagy Béla");
        addTeacher(3, "Szabó Cecília");
        addTeacher(4, "Tóth Dénes");
    }
    void TearDown() override
    {
        dialog.reset();
        DataModule::TearDown();
    }
    // The list is made when the window is, from the rooms there are by then.
    void create()
    {
        dialog = std::make_unique<TTeremfog>();
        dialog->show();
    }
    QTreeWidgetItem *rowOfRoom(int teremId) const
    {
        for (int i = 0; i < dialog->LV->topLevelItemCount(); ++i)
            if (dialog->LV->topLevelItem(i)->text(1).toInt() == teremId)
                return dialog->LV->topLevelItem(i);
        return nullptr;
    }
    void pickRoom(int teremId)
    {
        QTreeWidgetItem *row = rowOfRoom(teremId);
        ASSERT_NE(row, nullptr);
        QTest::mouseClick(dialog->LV->viewport(), Qt::LeftButton, {}, dialog->LV->visualItemRect(row).center());
    }
    std::set<std::pair<int, int>> items() const
    {
        std::set<std::pair<int, int>> result;
        for (TCustomCalendarItem *item : dialog->VL->Items())
            if (auto *occasion = dynamic_cast<TSajat *>(item))
                result.insert({occasion->KurzusID, occasion->AlkalomID});
        return result;
    }
    TSajat *itemOf(int alkalomId) const
    {
        for (TCustomCalendarItem *item : dialog->VL->Items())
            if (auto *occasion = dynamic_cast<TSajat *>(item); occasion && occasion->AlkalomID == alkalomId)
                return occasion;
        return nullptr;
    }
    std::vector<MessageSeen> askTimetables()
    {
        return messagesOf([&] { dialog->rarendben1->trigger(); });
    }

    std::unique_ptr<TTeremfog> dialog;
};

TEST_F(RoomOccupancy, PickingARoomShowsItsOccasionsWithTheirCoursesAndFirstThreeTeachers)
{
    addCourse({10, "MAT-1", "Analízis", 3});
    addCourse({11, "MAT-2", "Algebra", 3});
    addOccasion(100, 10, at(Tuesday, 8, 0), at(Tuesday, 9, 30), 5, "101010101010101", 1);
    addOccasion(101, 10, at(Tuesday, 10, 0), at(Tuesday, 11, 30), 6);
    addOccasion(110, 11, at(Monday1, 8, 0), at(Monday1, 9, 30), 5);
    // A course that is gone leaves its occasion out.
    addOccasion(190, 99, at(Monday1, 12, 0), at(Monday1, 13, 0), 5);
    linkTeacher(10, 2);
    linkTeacher(11, 1);
    // A teacher that is gone still takes a place among the three.
    linkTeacher(11, 42);
    linkTeacher(11, 3);
    linkTeacher(11, 4);
    create();
    ASSERT_EQ(dialog->LV->topLevelItemCount(), 3);
    EXPECT_EQ(dialog->LV->topLevelItem(0)->text(0), "a-2 (Vár/12 fő)");
    EXPECT_EQ(dialog->LV->topLevelItem(1)->text(0), "B-101 (Kelmendor/40 fő)");
    EXPECT_EQ(dialog->LV->topLevelItem(2)->text(0), "C-3 (Vár/8 fő)");
    pickRoom(5);
    EXPECT_EQ(items(), (std::set<std::pair<int, int>>{{10, 100}, {11, 110}}));
    TSajat *item = itemOf(100);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Kod(), "MAT-1");
    EXPECT_EQ(item->Nev(), "Analízis");
    EXPECT_EQ(item->Kiiras(), "B101");
    EXPECT_EQ(item->Oktatok(), "Nagy Béla");
    EXPECT_EQ(item->Hetek(), "101010101010101");
    EXPECT_EQ(item->Length(), 90);
    EXPECT_DOUBLE_EQ(double(item->Start()), double(at(Tuesday, 8, 0)));
    EXPECT_EQ(itemOf(110)->Oktatok(), "Kovács Anna, Szabó Cecília");
    pickRoom(6);
    EXPECT_EQ(items(), (std::set<std::pair<int, int>>{{10, 101}}));
    EXPECT_EQ(itemOf(101)->Kiiras(), "a2");
    pickRoom(7);
    EXPECT_EQ(dialog->VL->Items().Count(), 0);
}

TEST_F(RoomOccupancy, TitlesFallBackToTheSubjectThenTheTemplateSubject)
{
    addSubject(4, "FIZ", "");
    addSubject(8, "KEM", "Kémia");
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 30}, {"targy_id", 8}});
    addCourse({10, "A-1", "", 3});
    addCourse({11, "B-1", "", 4, 30, 0, "", 30});
    addCourse({12, "C-1", "", 77});
    for (int kurzusId : {10, 11, 12})
        addOccasion(kurzusId * 10, kurzusId, at(Tuesday, 8, 0), at(Tuesday, 9, 30), 5);
    create();
    pickRoom(5);
    ASSERT_EQ(dialog->VL->Items().Count(), 3);
    EXPECT_EQ(itemOf(100)->Nev(), "Matematika");
    EXPECT_EQ(itemOf(110)->Nev(), "Kémia");
    EXPECT_EQ(itemOf(120)->Nev(), "");
}

TEST_F(RoomOccupancy, AClickedItemShowsItsDetailsItsTimetablesAndTakesTheMark)
{
    addTimetable(1, "Zeta");
    addTimetable(2, "Alfa");
    addTimetable(3, "Béta");
    addCourse({10, "MAT-1", "Analízis", 3}, {1, 2});
    addCourse({11, "MAT-2", "Algebra", 3});
    addOccasion(100, 10, at(Tuesday, 8, 5), at(Tuesday, 9, 30), 5, "110000000000000", 999);
    addOccasion(101, 10, at(Monday1, 8, 0), at(Monday1, 9, 30), 5, "111111111111111", 0);
    addOccasion(110, 11, at(Monday1, 10, 0), at(Monday1, 11, 30), 5);
    addOccasion(120, 11, at(Monday1 + 7, 8, 0), at(Monday1 + 7, 9, 30), 5);
    DM->MT_orarend.Locate("orarend_id", Variant(3), {});
    create();
    TztrMemTable &shown = dialog->MT_alkalom_temp2;
    EXPECT_EQ(shown.FieldByName("nap")->DisplayText(), "");
    EXPECT_EQ(shown.FieldByName("kezd_ido")->DisplayText(), "");
    EXPECT_EQ(shown.FieldByName("gyakorisag")->DisplayText(), std::string(19, ' '));
    std::vector<MessageSeen> seen = askTimetables();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Az alkalom egyik órarendben sem szerepel!");
    EXPECT_EQ(seen[0].buttons, QMessageBox::Ok);
    dialog->MI_Osszevonas->trigger();
    EXPECT_FALSE(dialog->MI_Osszevonas->isChecked()) << "no item to mark";

    pickRoom(5);
    QTest::mouseClick(itemOf(100)->Obj(), Qt::LeftButton);
    ASSERT_EQ(shown.RecordCount(), 1);
    EXPECT_EQ(shown.FieldByName("alkalom_id")->AsInteger(), 100);
    EXPECT_EQ(cp1250ToUtf8(shown.FieldByName("nap")->DisplayText()), "Kedd");
    EXPECT_EQ(shown.FieldByName("kezd_ido")->DisplayText(), "08:05");
    EXPECT_EQ(shown.FieldByName("veg_ido")->DisplayText(), "09:30");
    EXPECT_EQ(cp1250ToUtf8(shown.FieldByName("gyakorisag")->DisplayText()), "Egyedi beosztás");
    EXPECT_EQ(dialog->VL->SelectedItem(), itemOf(100));
    for (TDBCtrlGrid *pane : {dialog->DBCtrlGrid1, dialog->DBCtrlGrid2}) {
        EXPECT_LE(pane->Panel()->width(), pane->viewport()->width());
        for (QLabel *text : pane->Panel()->findChildren<QLabel *>()) {
            EXPECT_GE(text->width(), text->sizeHint().width()) << text->text().toStdString();
            EXPECT_LE(text->geometry().right(), pane->Panel()->width());
        }
    }
    seen = askTimetables();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Az alkalom a következő órarendekben szerepel:\n\nAlfa\nZeta");
    EXPECT_EQ(utf8Of(DM->MT_orarend, "megnevezes"), "Béta");
    dialog->MI_Osszevonas->trigger();
    EXPECT_TRUE(itemOf(100)->Select());
    dialog->MI_Osszevonas->trigger();
    EXPECT_FALSE(itemOf(100)->Select());

    QTest::mouseClick(itemOf(101)->Obj(), Qt::LeftButton);
    EXPECT_EQ(cp1250ToUtf8(shown.FieldByName("gyakorisag")->DisplayText()), "Minden héten");
    QTest::mouseClick(itemOf(110)->Obj(), Qt::LeftButton);
    seen = askTimetables();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Az alkalom egyik órarendben sem szerepel!");
    // A day number off the first week reads as an error.
    dialog->VLDetails(*dialog->VL, itemOf(120));
    EXPECT_EQ(dialog->MT_alkalom_temp2.FieldByName("nap")->DisplayText(), "Hiba!");
}

TEST_F(RoomOccupancy, TheDayMenuAddsAndTakesAwayDaysButNotTheLast)
{
    create();
    dialog->Nap[5]->trigger();
    EXPECT_TRUE(dialog->VL->Days().contains(vlSaturday));
    for (int day = 0; day < 4; ++day)
        dialog->Nap[day]->trigger();
    EXPECT_EQ(dialog->VL->ColCount(), 1 + 2);
    dialog->Nap[5]->trigger();
    std::vector<MessageSeen> seen = messagesOf([&] { dialog->Nap[4]->trigger(); });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Nincs kiválasztva Nap!");
    EXPECT_TRUE(dialog->Nap[4]->isChecked());
    EXPECT_EQ(dialog->VL->Days(), TveltoCalendarDays{vlFriday});
}

TEST_F(RoomOccupancy, TheCalendarFitsItsWindowWithTheRemainderToTheLaterColumns)
{
    create();
    expectCalendarFillsItsRoom(*dialog->VL);
    TveltoCalendar &calendar = *dialog->VL;
    // At least the usual 100 pixels, and every time-row label shows whole.
    EXPECT_GE(calendar.ColWidths(0), 100);
    for (const TveltoCalendarRow &row : calendar.Rows())
        EXPECT_LE(QFontMetrics(calendar.viewport()->font()).horizontalAdvance(row.Label.rightJustified(5)) + 6,
                  calendar.ColWidths(0))
            << row.Label.toStdString();
    EXPECT_EQ(calendar.RowHeights(0), 20);
    const int width = calendar.ClientWidth() - calendar.ColWidths(0);
    const int columns = calendar.ColCount() - 1;
    for (int col = 2; col <= columns; ++col)
        EXPECT_LE(calendar.ColWidths(col - 1), calendar.ColWidths(col));
    EXPECT_EQ(calendar.ColWidths(1), width / columns);
    const int before = dialog->VL->height();
    dialog->Csakrarend1->trigger();
    EXPECT_FALSE(dialog->Panel1->isVisible());
    EXPECT_GT(dialog->VL->height(), before) << "the calendar takes the list's room when alone";
    expectCalendarFillsItsRoom(*dialog->VL);
    dialog->Minden1->trigger();
    EXPECT_TRUE(dialog->Panel1->isVisible());
    dialog->resize(600, 450);
    // No narrower than 780, wider still where the detail panes need more room.
    EXPECT_GE(dialog->width(), 780);
    EXPECT_EQ(dialog->height(), 450);
}

} // namespace
