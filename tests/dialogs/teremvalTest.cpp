#include "dialogs/teremval.h"

#include "dialogs/DialogTestSupport.h"
#include "dialogs/teremfel.h"
#include "platform/widgets/DBGrids.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace {

using dialogtest::answeringModals;
using dialogtest::at;
using dialogtest::Monday1;

constexpr int Tuesday1 = Monday1 + 1;
constexpr int Monday2 = Monday1 + 7;

class RoomChooser : public dialogtest::DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        addRoom(1, "A", "101", "Kelmendor", 30);
        addRoom(2, "A", "102", "Kelmendor", 60);
        addRoom(3, "B", "201", "Kelmendor Észak", 20);
        addRoom(4, "V", "Virtuális", "", 999);
        addRoom(5, "C", "301", "Dűlő", 40);
        addCourse({.id = 10, .code = "K-01"});
        addCourse({.id = 11, .code = "K-02"});
        chooser = std::make_unique<Tteremvalasztas>();
    }
    void TearDown() override
    {
        chooser.reset();
        DataModule::TearDown();
    }

    // The source occasion: Monday of week 1, 09:30-11:00 in room 1 unless told otherwise.
    void addSource(int gyakorisag = 0, const std::string &hetek = "111111111111111", int start = 570,
                   int end = 660)
    {
        addOccasion(1, 10, Monday1 + start / 1440.0, Monday1 + end / 1440.0, 1, hetek, gyakorisag);
    }

    // Opens the chooser for occasion 1 as the occasion panel does; `whileShown` answers it.
    int open(const std::function<void(Tteremvalasztas &)> &whileShown, const std::string &hetek = "1",
             int alkalomId = 1)
    {
        chooser->AlkalomId = alkalomId;
        chooser->Hetek = hetek;
        int result = -1;
        answeringModals([&] { result = chooser->exec(); },
                        [&](QWidget &modal) {
                            ASSERT_EQ(&modal, chooser.get());
                            whileShown(*chooser);
                        });
        return result;
    }

    // The rooms the grid lists, in its order.
    static std::vector<int> listed(Tteremvalasztas &c)
    {
        std::vector<int> ids;
        TDataSet &shown = *c.DBGrid1->DataSet();
        for (shown.First(); !shown.Eof(); shown.Next())
            ids.push_back(shown.FieldByName("terem_id")->AsInteger());
        shown.First();
        return ids;
    }
    // The free rooms the narrowed search offers for occasion 1.
    std::vector<int> freeRooms()
    {
        std::vector<int> ids;
        open([&](Tteremvalasztas &c) {
            EXPECT_TRUE(c.CheckBox1->isChecked());
            ids = listed(c);
            c.Button2Click();
        });
        return ids;
    }
    int roomOfSource()
    {
        EXPECT_TRUE(DM->MT_alkalom.Locate("alkalom_id", 1, {}));
        return DM->MT_alkalom.FieldByName("terem_id")->AsInteger();
    }
    static void clickRow(Tteremvalasztas &c, int row)
    {
        QTest::mouseClick(c.DBGrid1->viewport(), Qt::LeftButton, {}, c.DBGrid1->CellRect(1, row).center());
    }

    std::unique_ptr<Tteremvalasztas> chooser;
};

using Rooms = std::vector<int>;

TEST(RoomMinutes, RoundToFiveWithThreeAndFourUpwards)
{
    for (const auto &[minute, rounded] : {std::pair{480, 480}, {481, 480}, {482, 480}, {483, 485}, {484, 485}, {0, 0}})
        EXPECT_EQ(Tteremvalasztas::Kerekites5(minute), rounded) << minute;
}

TEST_F(RoomChooser, ShowsEveryRoomUnderItsTitlesAndHidesNewRoomFromUsers)
{
    addSource();
    open(
        [&](Tteremvalasztas &c) {
            EXPECT_EQ(c.windowTitle(), "Terem választása");
            EXPECT_EQ(dialogtest::shownColumn(*c.DBGrid1, "terem_kod"),
                      (QStringList{"101", "102", "201", "Virtuális", "301"}));
            dialogtest::expectColumnsInViewWithWholeTitles(*c.DBGrid1);
            EXPECT_FALSE(c.CheckBox1->isChecked());
            EXPECT_EQ(listed(c), (Rooms{1, 2, 3, 4, 5}));
            EXPECT_FALSE(c.Button3->isVisible());
            c.Button2Click();
        },
        "");
    EXPECT_TRUE(chooser->DBGrid1->ReadOnly());
}

TEST_F(RoomChooser, AdministratorsMayAddARoomFromTheFullListOnly)
{
    DM->Admin = true;
    addSource();
    open([&](Tteremvalasztas &c) {
        EXPECT_TRUE(c.Button3->isVisible());
        EXPECT_FALSE(c.Button3->isEnabled());
        c.CheckBox1->click();
        EXPECT_EQ(listed(c), (Rooms{1, 2, 3, 4, 5}));
        EXPECT_TRUE(c.Button3->isEnabled());
        c.Button2Click();
    });
}

// Occasion 1 is on Monday of week 1, 09:30-11:00 in room 1 with the given frequency and mask;
// the others are of another course, each in its own room.
struct Other {
    int room;
    TDateTime start, end;
    const char *hetek = "111111111111111";
    int gyakorisag = 0;
};
struct FreeRoomCase {
    const char *what;
    int gyakorisag;
    const char *hetek;
    std::vector<Other> others;
    Rooms free;
};

TEST_F(RoomChooser, NarrowedListOffersOnlyTheRoomsFreeAtTheOccasionsTime)
{
    const TDateTime mon8 = at(Monday1, 8, 0), mon10 = at(Monday1, 10, 0), mon12 = at(Monday1, 12, 0);
    const char *every = "111111111111111";
    const FreeRoomCase cases[] = {
        {"own room never offered", 0, every, {}, {2, 3, 4, 5}},
        {"ending at the start blocks, 5 minutes earlier not", 0, every,
         {{2, mon8, at(Monday1, 9, 30)}, {3, mon8, at(Monday1, 9, 25)}}, {3, 4, 5}},
        {"minutes rounded to five", 0, every,
         {{2, mon8, at(Monday1, 9, 27)}, {3, mon8, at(Monday1, 9, 28)}, {5, at(Monday1, 11, 2), mon12}}, {2, 4}},
        {"another day or week", 0, every,
         {{2, at(Tuesday1, 9, 30), at(Tuesday1, 11, 0)}, {3, at(Monday2, 9, 30), at(Monday2, 11, 0)}}, {2, 3, 4, 5}},
        {"odd and even weeks never clash", 1, every, {{2, mon10, mon12, every, 2}, {3, mon10, mon12, every, 1}},
         {2, 4, 5}},
        {"a fixed frequency uses its own mask", 3, "100000000000000",
         {{2, mon10, mon12, "100000000000000", 999}, {3, mon10, mon12, "001000000000000", 999}}, {2, 4, 5}},
        {"custom masks clash on a shared week", 1, every,
         {{2, mon10, mon12, "010100000000000", 999}, {3, mon10, mon12, "000010000000000", 5},
          {5, mon10, mon12, "000000000000001", 999}},
         {2, 4}},
        {"weeks beyond a short mask are not set", 999, "000000000000001",
         {{2, mon10, mon12, "11111111111111", 999}, {3, mon10, mon12, "1111111111111111111", 999}}, {2, 4, 5}},
        {"no room or an unknown one removes nothing, virtual stays", 0, every,
         {{0, mon10, mon12}, {-1, mon10, mon12}, {4, mon10, mon12}, {77, mon10, mon12}}, {2, 3, 4, 5}},
    };
    for (const FreeRoomCase &c : cases) {
        DM->MT_alkalom.EmptyTable();
        addSource(c.gyakorisag, c.hetek);
        int id = 2;
        for (const Other &o : c.others)
            addOccasion(id++, 11, o.start, o.end, o.room, o.hetek, o.gyakorisag);
        EXPECT_EQ(freeRooms(), c.free) << c.what;
    }
}

TEST_F(RoomChooser, ChoosingWritesTheClickedRoomIntoTheOccasionWhereverTheSharedTableStands)
{
    addSource();
    addOccasion(2, 11, at(Tuesday1, 10, 0), at(Tuesday1, 12, 0), 2);
    DM->MT_alkalom.Locate("alkalom_id", 2, {});
    const int result = open(
        [&](Tteremvalasztas &c) {
            clickRow(c, 2);
            QTest::mouseClick(c.Button1, Qt::LeftButton);
        },
        "");
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(roomOfSource(), 3);
    EXPECT_EQ(chooser->AlkalomId, -1);
    ASSERT_TRUE(DM->MT_alkalom.Locate("alkalom_id", 2, {}));
    EXPECT_EQ(DM->MT_alkalom.FieldByName("terem_id")->AsInteger(), 2);
}

TEST_F(RoomChooser, BackChangesNothingChoosingFromTheNarrowedListWritesItsRoom)
{
    addSource();
    addOccasion(2, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 2);
    const int back = open([&](Tteremvalasztas &c) {
        clickRow(c, 2);
        QTest::mouseClick(c.Button2, Qt::LeftButton);
    });
    EXPECT_EQ(back, QDialog::Rejected);
    EXPECT_EQ(roomOfSource(), 1);
    EXPECT_EQ(chooser->AlkalomId, -1);
    EXPECT_FALSE(chooser->MT_teremtemp.Active());
    open([&](Tteremvalasztas &c) {
        ASSERT_EQ(listed(c), (Rooms{3, 4, 5}));
        clickRow(c, 1);
        QTest::mouseClick(c.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(roomOfSource(), 4);
}

TEST_F(RoomChooser, AnEmptyNarrowedListGivesNoRoom)
{
    addSource();
    for (int room : {2, 3, 4, 5})
        addOccasion(room, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), room);
    DM->MT_terem.Locate("terem_id", 4, {});
    DM->MT_terem.Edit();
    DM->MT_terem.FieldByName("terem_hely")->SetAsString("D");
    DM->MT_terem.Post();
    const int result = open([&](Tteremvalasztas &c) {
        EXPECT_TRUE(c.MT_teremtemp.IsEmpty());
        QTest::mouseClick(c.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(roomOfSource(), 0);
}

TEST_F(RoomChooser, WithoutAnOccasionOrWhenItIsGoneNothingIsNarrowedOrWritten)
{
    addSource();
    addOccasion(2, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 2);
    for (int alkalomId : {-1, 99}) {
        Rooms shown;
        const int result = open(
            [&](Tteremvalasztas &c) {
                shown = listed(c);
                QTest::mouseClick(c.Button1, Qt::LeftButton);
            },
            "1", alkalomId);
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(shown, (Rooms{1, 2, 3, 4, 5}));
        EXPECT_EQ(roomOfSource(), 1);
        ASSERT_TRUE(DM->MT_alkalom.Locate("alkalom_id", 2, {}));
        EXPECT_EQ(DM->MT_alkalom.FieldByName("terem_id")->AsInteger(), 2);
    }
    addOccasion(0, 10, at(Tuesday1, 9, 30), at(Tuesday1, 11, 0), 1);
    open(
        [&](Tteremvalasztas &c) {
            clickRow(c, 2);
            QTest::mouseClick(c.Button1, Qt::LeftButton);
        },
        "", 0);
    ASSERT_TRUE(DM->MT_alkalom.Locate("alkalom_id", 0, {}));
    EXPECT_EQ(DM->MT_alkalom.FieldByName("terem_id")->AsInteger(), 3) << "an occasion numbered 0 is a real one";
}

TEST_F(RoomChooser, TitleClickSortsTheShownTable)
{
    addSource();
    open(
        [&](Tteremvalasztas &c) {
            QTest::mouseClick(c.DBGrid1->viewport(), Qt::LeftButton, {}, c.DBGrid1->TitleRect(2).center());
            EXPECT_EQ(DM->MT_terem.IndexFieldNames(), "terem_kapacitas");
            EXPECT_EQ(listed(c), (Rooms{3, 1, 5, 2, 4}));
            c.CheckBox1->click();
            // The copy keeps the order it was filled in until a title is clicked.
            EXPECT_EQ(listed(c), (Rooms{3, 5, 2, 4}));
            QTest::mouseClick(c.DBGrid1->viewport(), Qt::LeftButton, {}, c.DBGrid1->TitleRect(1).center());
            EXPECT_EQ(c.MT_teremtemp.IndexFieldNames(), "terem_kod");
            EXPECT_EQ(listed(c), (Rooms{2, 3, 5, 4}));
            c.Button2Click();
        },
        "");
}

TEST_F(RoomChooser, NewRoomOpensTheNewRoomDialogAndTheRoomIsListed)
{
    DM->Admin = true;
    addSource();
    Tteremfelvetel newRoom;
    teremfelvetel = &newRoom;
    int seenNewRoom = 0;
    answeringModals(
        [&] {
            chooser->AlkalomId = 1;
            chooser->Hetek.clear();
            chooser->exec();
        },
        [&](QWidget &) {
            // The new-room dialog opens from this answer and needs an answerer of its own.
            answeringModals([&] { QTest::mouseClick(chooser->Button3, Qt::LeftButton); },
                            [&](QWidget &modal) {
                                ASSERT_EQ(&modal, &newRoom);
                                ++seenNewRoom;
                                newRoom.Edit1->setText(QStringLiteral("E"));
                                newRoom.Edit2->setText(QStringLiteral("010"));
                                QTest::mouseClick(newRoom.Button1, Qt::LeftButton);
                            });
            EXPECT_EQ(listed(*chooser).size(), 6u);
            chooser->Button2Click();
        });
    teremfelvetel = nullptr;
    EXPECT_EQ(seenNewRoom, 1);
    EXPECT_TRUE(DM->MT_terem.Locate("terem_kod", "010", {}));
}

} // namespace
