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
    EXPECT_EQ(Tteremvalasztas::Kerekites5(480), 480);
    EXPECT_EQ(Tteremvalasztas::Kerekites5(481), 480);
    EXPECT_EQ(Tteremvalasztas::Kerekites5(482), 480);
    EXPECT_EQ(Tteremvalasztas::Kerekites5(483), 485);
    EXPECT_EQ(Tteremvalasztas::Kerekites5(484), 485);
    EXPECT_EQ(Tteremvalasztas::Kerekites5(0), 0);
}

TEST_F(RoomChooser, DesignedColumnsAndCaptions)
{
    EXPECT_EQ(chooser->windowTitle(), "Terem választása");
    const TDBGridColumns &columns = chooser->DBGrid1->Columns();
    ASSERT_EQ(columns.Count(), 4);
    const char *fields[] = {"terem_hely", "terem_kod", "terem_kapacitas", "terem_telephely"};
    const char *titles[] = {"Kód", "Hely/Név", "Max hely", "Telephely"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(columns[i]->FieldName(), fields[i]);
        EXPECT_EQ(columns[i]->Title().Caption(), QString::fromUtf8(titles[i]));
    }
    open([](Tteremvalasztas &c) {
        dialogtest::expectColumnsInViewWithWholeTitles(*c.DBGrid1);
        QTest::mouseClick(c.Button2, Qt::LeftButton);
    });
    EXPECT_TRUE(chooser->DBGrid1->ReadOnly());
    EXPECT_TRUE(chooser->DBGrid1->Options().Contains(dgRowSelect));
    EXPECT_EQ(chooser->CheckBox1->text(), "szükít");
    EXPECT_EQ(chooser->Button1->text(), "Kiválaszt");
    EXPECT_EQ(chooser->Button2->text(), "Vissza");
    EXPECT_EQ(chooser->Button3->text(), "Új felvétele");
}

TEST_F(RoomChooser, WithoutAMaskListsEveryRoomAndHidesNewRoomFromUsers)
{
    addSource();
    open(
        [&](Tteremvalasztas &c) {
            EXPECT_FALSE(c.CheckBox1->isChecked());
            EXPECT_TRUE(c.CheckBox1->isEnabled());
            EXPECT_EQ(c.DBGrid1->DataSource(), &DM->DS_terem);
            EXPECT_EQ(listed(c), (Rooms{1, 2, 3, 4, 5}));
            EXPECT_FALSE(c.Button3->isVisible());
            c.Button2Click();
        },
        "");
}

TEST_F(RoomChooser, AdministratorsMayAddARoomFromTheFullListOnly)
{
    DM->Admin = true;
    addSource();
    open([&](Tteremvalasztas &c) {
        EXPECT_TRUE(c.Button3->isVisible());
        EXPECT_FALSE(c.Button3->isEnabled());
        c.CheckBox1->click();
        EXPECT_EQ(c.DBGrid1->DataSource(), &DM->DS_terem);
        EXPECT_TRUE(c.Button3->isEnabled());
        c.Button2Click();
    });
}

TEST_F(RoomChooser, TheOccasionsOwnRoomIsNeverOffered)
{
    addSource();
    EXPECT_EQ(freeRooms(), (Rooms{2, 3, 4, 5}));
}

TEST_F(RoomChooser, AnOccasionEndingAtTheStartBlocksOneEndingFiveMinutesEarlierDoesNot)
{
    addSource();
    addOccasion(2, 11, at(Monday1, 8, 0), at(Monday1, 9, 30), 2);
    addOccasion(3, 11, at(Monday1, 8, 0), at(Monday1, 9, 25), 3);
    EXPECT_EQ(freeRooms(), (Rooms{3, 4, 5}));
}

TEST_F(RoomChooser, MinutesAreComparedAfterRoundingToFive)
{
    addSource();
    addOccasion(2, 11, at(Monday1, 8, 0), at(Monday1, 9, 27), 2);
    addOccasion(3, 11, at(Monday1, 8, 0), at(Monday1, 9, 28), 3);
    addOccasion(4, 11, at(Monday1, 11, 2), at(Monday1, 12, 0), 5);
    EXPECT_EQ(freeRooms(), (Rooms{2, 4}));
}

TEST_F(RoomChooser, OccasionsOfAnotherDayOrWeekDoNotBlock)
{
    addSource();
    addOccasion(2, 11, at(Tuesday1, 9, 30), at(Tuesday1, 11, 0), 2);
    addOccasion(3, 11, at(Monday2, 9, 30), at(Monday2, 11, 0), 3);
    EXPECT_EQ(freeRooms(), (Rooms{2, 3, 4, 5}));
}

TEST_F(RoomChooser, OddAndEvenWeeksNeverClashWhateverTheMasks)
{
    addSource(1, "111111111111111");
    addOccasion(2, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 2, "111111111111111", 2);
    addOccasion(3, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 3, "111111111111111", 1);
    EXPECT_EQ(freeRooms(), (Rooms{2, 4, 5}));
}

TEST_F(RoomChooser, AFixedFrequencyUsesItsOwnMaskNotTheStoredOne)
{
    // Every third week is weeks 3, 6, 9 ...; the stored text would say week 1 only.
    addSource(3, "100000000000000");
    addOccasion(2, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 2, "100000000000000", 999);
    addOccasion(3, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 3, "001000000000000", 999);
    EXPECT_EQ(freeRooms(), (Rooms{2, 4, 5}));
}

TEST_F(RoomChooser, CustomMasksClashOnlyWhenTheyShareAWeek)
{
    addSource(1);
    addOccasion(2, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 2, "010100000000000", 999);
    addOccasion(3, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 3, "000010000000000", 5);
    addOccasion(4, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 5, "000000000000001", 999);
    EXPECT_EQ(freeRooms(), (Rooms{2, 4}));
}

TEST_F(RoomChooser, WeeksBeyondTheEndOfAShortMaskAreNotSet)
{
    addSource(999, "000000000000001");
    addOccasion(2, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 2, "11111111111111", 999);
    addOccasion(3, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 3, "1111111111111111111", 999);
    EXPECT_EQ(freeRooms(), (Rooms{2, 4, 5}));
}

TEST_F(RoomChooser, OccasionsWithoutARoomRemoveNothingAndVirtualRoomsStay)
{
    addSource();
    addOccasion(2, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 0);
    addOccasion(3, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), -1);
    addOccasion(4, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 4);
    addOccasion(5, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 77);
    EXPECT_EQ(freeRooms(), (Rooms{2, 3, 4, 5}));
}

TEST_F(RoomChooser, ChoosingFromTheFullListWritesTheClickedRoom)
{
    addSource();
    const int result = open(
        [&](Tteremvalasztas &c) {
            clickRow(c, 2);
            QTest::mouseClick(c.Button1, Qt::LeftButton);
        },
        "");
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(roomOfSource(), 3);
    EXPECT_EQ(chooser->AlkalomId, -1);
}

TEST_F(RoomChooser, ChoosingFromTheNarrowedListWritesItsRoom)
{
    addSource();
    addOccasion(2, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 2);
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

TEST_F(RoomChooser, BackChangesNothing)
{
    addSource();
    const int result = open([&](Tteremvalasztas &c) {
        clickRow(c, 2);
        QTest::mouseClick(c.Button2, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(roomOfSource(), 1);
    EXPECT_EQ(chooser->AlkalomId, -1);
    EXPECT_FALSE(chooser->MT_teremtemp.Active());
}

TEST_F(RoomChooser, WithoutAnOccasionChoosingWritesNothing)
{
    addSource();
    const int result = open([&](Tteremvalasztas &c) { QTest::mouseClick(c.Button1, Qt::LeftButton); }, "", -1);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(roomOfSource(), 1);
}

TEST_F(RoomChooser, AnOccasionThatIsGoneNarrowsNothingAndGetsNoRoom)
{
    addSource();
    addOccasion(2, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 2);
    std::vector<int> shown;
    const int result = open(
        [&](Tteremvalasztas &c) {
            shown = listed(c);
            QTest::mouseClick(c.Button1, Qt::LeftButton);
        },
        "1", 99);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(shown, (Rooms{1, 2, 3, 4, 5}));
    EXPECT_EQ(roomOfSource(), 1);
    ASSERT_TRUE(DM->MT_alkalom.Locate("alkalom_id", 2, {}));
    EXPECT_EQ(DM->MT_alkalom.FieldByName("terem_id")->AsInteger(), 2);
}

TEST_F(RoomChooser, TheRoomGoesToTheOccasionWhereverTheSharedTableStands)
{
    addSource();
    addOccasion(2, 11, at(Tuesday1, 10, 0), at(Tuesday1, 12, 0), 2);
    DM->MT_alkalom.Locate("alkalom_id", 2, {});
    open(
        [&](Tteremvalasztas &c) {
            clickRow(c, 4);
            QTest::mouseClick(c.Button1, Qt::LeftButton);
        },
        "");
    EXPECT_EQ(roomOfSource(), 5);
    ASSERT_TRUE(DM->MT_alkalom.Locate("alkalom_id", 2, {}));
    EXPECT_EQ(DM->MT_alkalom.FieldByName("terem_id")->AsInteger(), 2);
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

TEST_F(RoomChooser, SearchingAgainStartsFromEveryRoom)
{
    addSource();
    addOccasion(2, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 2);
    EXPECT_EQ(freeRooms(), (Rooms{3, 4, 5}));
    DM->MT_alkalom.Locate("alkalom_id", 2, {});
    DM->MT_alkalom.Delete();
    EXPECT_EQ(freeRooms(), (Rooms{2, 3, 4, 5}));
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
