#include "dialogs/teremval.h"

#include "dialogs/DialogTestSupport.h"
#include "dialogs/teremfel.h"

namespace {

using namespace dialogtest;

constexpr int Tuesday1 = Monday1 + 1;
constexpr int Monday2 = Monday1 + 7;

class RoomChooser : public DialogOn<Tteremvalasztas> {
protected:
    void SetUp() override
    {
        DialogOn::SetUp();
        addRoom(1, "A", "101", "Kelmendor", 30);
        addRoom(2, "A", "102", "Kelmendor", 60);
        addRoom(3, "B", "201", "Kelmendor Észak", 20);
        addRoom(4, "V", "Virtuális", "", 999);
        addRoom(5, "C", "301", "Dűlő", 40);
        addCourse({.id = 10, .code = "K-01"});
        addCourse({.id = 11, .code = "K-02"});
    }
    // The source occasion: Monday of week 1, 09:30-11:00 in room 1 unless told otherwise.
    void addSource(int gyakorisag = 0, const std::string &hetek = "111111111111111")
    {
        addOccasion(1, 10, at(Monday1, 9, 30), at(Monday1, 11, 0), 1, hetek, gyakorisag);
    }
    // Opens the chooser as the occasion panel does: with a week mask the list starts narrowed.
    int open(const std::function<void()> &whileShown, const std::string &hetek = "1", int alkalomId = 1)
    {
        dialog->AlkalomId = alkalomId;
        dialog->Hetek = hetek;
        return execWith(*dialog, whileShown);
    }
    std::vector<int> listed()
    {
        const std::vector<int> shown = ids(*dialog->DBGrid1->DataSet(), "terem_id");
        dialog->DBGrid1->DataSet()->First();
        return shown;
    }
    void choose(int row)
    {
        clickCell(*dialog->DBGrid1, 1, row);
        click(dialog->Button1);
    }
    int roomOf(int alkalomId) { return fieldOf(DM->MT_alkalom, "alkalom_id", alkalomId, "terem_id"); }
};

using Rooms = std::vector<int>;

TEST_F(RoomChooser, ListsEveryRoomInTheClickedOrderAndOnlyAdministratorsAddRooms)
{
    addSource();
    open(
        [&] {
            EXPECT_EQ(shownColumn(*dialog->DBGrid1, "terem_kod"), (QStringList{"101", "102", "201", "Virtuális", "301"}));
            EXPECT_FALSE(dialog->CheckBox1->isChecked() || dialog->Button3->isVisible());
            // A title click orders the shown table, the shared one included.
            QTest::mouseClick(dialog->DBGrid1->viewport(), Qt::LeftButton, {}, dialog->DBGrid1->TitleRect(2).center());
            EXPECT_EQ(listed(), (Rooms{3, 1, 5, 2, 4}));
            click(dialog->Button2);
        },
        "");
    EXPECT_TRUE(dialog->DBGrid1->ReadOnly());
    DM->Admin = true;
    Tteremfelvetel newRoom;
    teremfelvetel = &newRoom;
    open([&] {
        EXPECT_TRUE(dialog->Button3->isVisible());
        EXPECT_FALSE(dialog->Button3->isEnabled()) << "not from the narrowed list";
        click(dialog->CheckBox1);
        EXPECT_TRUE(dialog->Button3->isEnabled());
        // The new-room dialog opens from this answer and needs an answerer of its own.
        answeringModals([&] { click(dialog->Button3); },
                        [&](QWidget &modal) {
                            ASSERT_EQ(&modal, &newRoom);
                            newRoom.Edit1->setText(QStringLiteral("E"));
                            newRoom.Edit2->setText(QStringLiteral("010"));
                            click(newRoom.Button1);
                        });
        EXPECT_EQ(listed().size(), 6u);
        click(dialog->Button2);
    });
    teremfelvetel = nullptr;
    EXPECT_TRUE(DM->MT_terem.Locate("terem_kod", "010", {}));
}

// Occasion 1 (Monday of week 1, 09:30-11:00, room 1) against those of another course, each in its room.
struct Other { int room; TDateTime start, end; const char *hetek = "111111111111111"; int gyakorisag = 0; };
struct FreeRoomCase { const char *what; int gyakorisag; const char *hetek; std::vector<Other> others; Rooms free; };

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
        {"every week means every week whatever the mask says", 0, "100000000000000",
         {{2, mon10, mon12, "001000000000000", 0}}, {3, 4, 5}},
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
        open([&] {
            EXPECT_EQ(listed(), c.free) << c.what;
            click(dialog->Button2);
        });
    }
}

TEST_F(RoomChooser, ChoosingWritesTheClickedRoomIntoTheOccasionBackChangesNothing)
{
    addSource();
    addOccasion(2, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), 2);
    DM->MT_alkalom.Locate("alkalom_id", 2, {});
    EXPECT_EQ(open([&] { choose(2); }, ""), QDialog::Accepted);
    EXPECT_EQ(roomOf(1), 3) << "whichever row the shared table stands on";
    EXPECT_EQ(roomOf(2), 2);
    EXPECT_EQ(dialog->AlkalomId, -1);
    EXPECT_EQ(open([&] {
                  clickCell(*dialog->DBGrid1, 1, 0);
                  click(dialog->Button2);
              }),
              QDialog::Rejected);
    EXPECT_EQ(roomOf(1), 3);
    EXPECT_FALSE(dialog->MT_teremtemp.Active());
    open([&] {
        EXPECT_EQ(listed(), (Rooms{1, 4, 5}));
        choose(1);
    });
    EXPECT_EQ(roomOf(1), 4) << "from the narrowed list";
    // With every room taken, the virtual one made real, choosing gives no room.
    for (int room : {1, 3, 5})
        addOccasion(room + 10, 11, at(Monday1, 10, 0), at(Monday1, 12, 0), room);
    DM->MT_terem.Locate("terem_id", 4, {});
    DM->MT_terem.Edit();
    DM->MT_terem.FieldByName("terem_hely")->SetAsString("D");
    DM->MT_terem.Post();
    open([&] {
        EXPECT_TRUE(dialog->MT_teremtemp.IsEmpty());
        click(dialog->Button1);
    });
    EXPECT_EQ(roomOf(1), 0);
}

// Without an occasion, or when it is gone, nothing is narrowed or written; occasion 0 is a real one.
TEST_F(RoomChooser, OnlyAnOccasionThatIsThereIsNarrowedForAndWritten)
{
    addSource();
    addOccasion(0, 11, at(Tuesday1, 9, 30), at(Tuesday1, 11, 0), 2);
    for (int alkalomId : {-1, 99, 0})
        open([&] {
            EXPECT_EQ(listed().size(), alkalomId ? 5u : 4u) << alkalomId;
            choose(1);
        }, "1", alkalomId);
    EXPECT_EQ(roomOf(1), 1);
    EXPECT_EQ(roomOf(0), 3);
}

} // namespace
