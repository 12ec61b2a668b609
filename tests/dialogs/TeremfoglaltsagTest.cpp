#include "dialogs/Teremfoglaltsag.h"

#include "calendar/CalendarTestSupport.h"
#include "dialogs/DialogTestSupport.h"

#include "platform/FormatSettings.h"

#include <QPushButton>
#include <QScopeGuard>
#include <QTreeWidget>

namespace {

using namespace dialogtest;
using Ids = std::vector<int>;

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
        for (const auto &[id, name] : {std::pair{1, "Kovács Anna"}, {2, "Nagy Béla"}, {3, "Szabó Cecília"}, {4, "Tóth Dénes"}})
            addTeacher(id, name);
        addCourse({10, "MAT-1", "Analízis", 3});
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
    void pickRoom(int row)
    {
        QTreeWidgetItem *room = dialog->LV->topLevelItem(row);
        QTest::mouseClick(dialog->LV->viewport(), Qt::LeftButton, {}, dialog->LV->visualItemRect(room).center());
    }
    TSajat *item(int alkalomId) { return itemOf(*dialog->VL, alkalomId); }
    void clickItem(int alkalomId) { calendartest::clickItem(*dialog->VL, item(alkalomId)); }
    void chooseView(QAction *entry)
    {
        chooseFromPopup(dialog->VL->viewport(), dialog->VL->CellRect(0, 1).center(), dialog->PM_nezet, entry);
    }
    QStringList askTimetables() { return textsOf(messagesOf([&] { dialog->rarendben1->trigger(); })); }
    std::string shown(const char *field)
    {
        return cp1250ToUtf8(dialog->MT_alkalom_temp2.FieldByName(field)->DisplayText());
    }

    std::unique_ptr<TTeremfog> dialog;
};

// Titles fall back to the subject's name, then to the template subject's.
TEST_F(RoomOccupancy, PickingARoomShowsItsOccasionsWithTheirCoursesAndFirstThreeTeachers)
{
    addSubject(4, "FIZ", "");
    addSubject(8, "KEM", "Kémia");
    appendRow(DM->MT_kurzusminta, {{"kurzusminta_id", 30}, {"targy_id", 8}});
    addCourse({11, "MAT-2", "", 4, 30, 0, "", 30});
    addCourse({12, "C-1", "", 77});
    addOccasion(100, 10, at(Tuesday, 8, 0), at(Tuesday, 9, 30), 5, "101010101010101", 1);
    addOccasion(101, 10, at(Tuesday, 10, 0), at(Tuesday, 11, 30), 6);
    addOccasion(110, 11, at(Monday1, 8, 0), at(Monday1, 9, 30), 5);
    addOccasion(120, 12, at(Monday1, 10, 0), at(Monday1, 11, 30), 5);
    // A course that is gone leaves its occasion out.
    addOccasion(190, 99, at(Monday1, 12, 0), at(Monday1, 13, 0), 5);
    linkTeacher(10, 2);
    // A teacher that is gone still takes a place among the three.
    for (int teacher : {1, 42, 3, 4})
        linkTeacher(11, teacher);
    create();
    QStringList rooms;
    for (int row = 0; row < dialog->LV->topLevelItemCount(); ++row)
        rooms << dialog->LV->topLevelItem(row)->text(0);
    EXPECT_EQ(rooms, (QStringList{"a-2 (Vár/12 fő)", "B-101 (Kelmendor/40 fő)", "C-3 (Vár/8 fő)"}));
    pickRoom(1);
    EXPECT_EQ(occasionIds(*dialog->VL), (Ids{100, 110, 120}));
    EXPECT_EQ(described(item(100)), "MAT-1|Analízis|B101|Nagy Béla|101010101010101|90");
    EXPECT_EQ(described(item(110)), "MAT-2|Kémia|B101|Kovács Anna, Szabó Cecília|111111111111111|90");
    EXPECT_EQ(described(item(120)), "C-1||B101||111111111111111|90");
    EXPECT_DOUBLE_EQ(double(item(100)->Start()), double(at(Tuesday, 8, 0)));
    pickRoom(0);
    EXPECT_EQ(occasionIds(*dialog->VL), Ids{101});
    EXPECT_EQ(item(101)->Kiiras(), "a2");
    pickRoom(2);
    EXPECT_EQ(dialog->VL->Items().Count(), 0);
}

TEST_F(RoomOccupancy, AClickedItemShowsItsDetailsItsTimetablesAndTakesTheMark)
{
    for (const auto &[id, name] : {std::pair{1, "Zeta"}, {2, "Alfa"}, {3, "Béta"}})
        addTimetable(id, name);
    for (int timetable : {1, 2})
        appendRow(DM->MT_kurzusorarend, {{"kurzus_id", 10}, {"orarend_id", timetable}});
    addCourse({11, "MAT-2", "Algebra", 3});
    addOccasion(100, 10, at(Tuesday, 8, 5), at(Tuesday, 9, 30), 5, "110000000000000", 999);
    addOccasion(101, 10, at(Monday1, 8, 0), at(Monday1, 9, 30), 5, "111111111111111", 0);
    addOccasion(110, 11, at(Monday1, 10, 0), at(Monday1, 11, 30), 5);
    addOccasion(120, 11, at(Monday1 + 7, 8, 0), at(Monday1 + 7, 9, 30), 5);
    DM->MT_orarend.Locate("orarend_id", Variant(3), {});
    create();
    EXPECT_EQ(shown("gyakorisag"), std::string(19, ' ')) << "an empty pane";
    const QStringList none{"Az alkalom egyik órarendben sem szerepel!"};
    EXPECT_EQ(askTimetables(), none);
    dialog->MI_Osszevonas->trigger();
    EXPECT_FALSE(dialog->MI_Osszevonas->isChecked()) << "no item to mark";
    pickRoom(1);
    clickItem(100);
    EXPECT_EQ(dialog->VL->SelectedItem(), item(100));
    EXPECT_EQ(ids(dialog->MT_alkalom_temp2, "alkalom_id"), std::vector<int>{100});
    EXPECT_EQ(shown("nap") + " " + shown("kezd_ido") + "-" + shown("veg_ido"), "Kedd 08:05-09:30");
    EXPECT_EQ(shown("gyakorisag"), "Egyedi beosztás");
    EXPECT_EQ(askTimetables(), QStringList{"Az alkalom a következő órarendekben szerepel:\r\n\r\nAlfa\r\nZeta"});
    EXPECT_EQ(utf8Of(DM->MT_orarend, "megnevezes"), "Béta");
    dialog->MI_Osszevonas->trigger();
    EXPECT_TRUE(item(100)->Select());
    dialog->MI_Osszevonas->trigger();
    EXPECT_FALSE(item(100)->Select());
    clickItem(101);
    EXPECT_EQ(shown("gyakorisag"), "Minden héten");
    clickItem(110);
    EXPECT_EQ(askTimetables(), none);
    // A day number off the first week reads as an error.
    dialog->VLDetails(*dialog->VL, item(120));
    EXPECT_EQ(shown("nap"), "Hiba!");
}

TEST_F(RoomOccupancy, TheDayMenuAddsAndTakesAwayDaysButNotTheLast)
{
    create();
    const auto choose = [&](QAction *entry) { chooseView(entry); };
    choose(dialog->Nap[5]);
    EXPECT_TRUE(dialog->VL->Days().contains(vlSaturday));
    for (int day = 0; day < 4; ++day)
        choose(dialog->Nap[day]);
    EXPECT_EQ(dialog->VL->ColCount(), 1 + 2);
    choose(dialog->Nap[5]);
    EXPECT_EQ(textsOf(messagesOf([&] { choose(dialog->Nap[4]); })), QStringList{"Nincs kiválasztva Nap!"});
    EXPECT_TRUE(dialog->Nap[4]->isChecked());
    EXPECT_EQ(dialog->VL->Days(), TveltoCalendarDays{vlFriday});
}

TEST_F(RoomOccupancy, TheViewMenuGivesTheCalendarTheWholeWindowAndTakesItBackAndKilepesCloses)
{
    create();
    const int fullHeight = dialog->VL->height();
    chooseView(dialog->Csakrarend1);
    EXPECT_FALSE(dialog->LV->isVisible());
    EXPECT_FALSE(dialog->Button1->isVisible());
    EXPECT_GT(dialog->VL->height(), fullHeight);
    expectCalendarFillsItsRoom(*dialog->VL);
    chooseView(dialog->Minden1);
    EXPECT_TRUE(dialog->LV->isVisible());
    EXPECT_EQ(dialog->VL->height(), fullHeight);
    expectCalendarFillsItsRoom(*dialog->VL);
    click(dialog->Button1);
    EXPECT_FALSE(dialog->isVisible());
}

// A time format without a leading zero still shows every time five characters wide.
TEST_F(RoomOccupancy, DetailTimesKeepTheirLeadingZeroUnderAnyTimeFormat)
{
    const TFormatSettings saved = FormatSettings();
    const auto restored = qScopeGuard([&] { FormatSettings() = saved; });
    FormatSettings().LongTimeFormat = "h:nn:ss";
    addOccasion(100, 10, at(Tuesday, 8, 5), at(Tuesday, 10, 30), 5);
    create();
    pickRoom(1);
    clickItem(100);
    EXPECT_EQ(shown("kezd_ido") + "-" + shown("veg_ido"), "08:05-10:30");
}

} // namespace
