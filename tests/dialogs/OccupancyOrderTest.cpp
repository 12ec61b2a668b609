// The occupancy views reach their rows through indexes; what they show must still come in the
// order a walk over the whole occasion table meets it.

#include "dialogs/Oktatofoglaltsag.h"
#include "dialogs/Teremfoglaltsag.h"
#include "dialogs/csoportfog.h"

#include "sajat/SajatVCI.h"
#include "calendar/veltoCalendar.h"
#include "dialogs/DialogTestSupport.h"

#include <QPushButton>
#include <QTreeWidget>

#include <vector>

namespace {

using namespace dialogtest;

class OccupancyOrder : public DataModule {
protected:
    void SetUp() override
    {
        DataModule::SetUp();
        addRoom(5, "B", "101");
        addRoom(6, "A", "2");
        addTeacher(7, "Kovács Ádám");
        addTeacher(8, "Nagy Ilona");
    }

    // Shows the dialog modally and closes it with its button, as the user does.
    static void showAndClose(QDialog &dialog, QPushButton &close)
    {
        answeringModals([&] { dialog.exec(); },
                        [&](QWidget &modal) {
                            ASSERT_EQ(&modal, &dialog);
                            QTest::mouseClick(&close, Qt::LeftButton);
                        });
    }
    static std::vector<int> occasionIds(const TveltoCalendar &calendar)
    {
        std::vector<int> ids;
        for (TCustomCalendarItem *item : calendar.Items())
            ids.push_back(static_cast<TSajat *>(item)->AlkalomID);
        return ids;
    }

    std::vector<int> roomItems(int teremId, int currentCourse)
    {
        Tcsoportfoglalasok dialog;
        DM->MT_kurzus.Locate("kurzus_id", Variant(currentCourse), {});
        DM->MT_terem.Locate("terem_id", Variant(teremId), {});
        dialog.FoglalasMod = Tcsoportfoglalasok::TeremFoglalasai;
        showAndClose(dialog, *dialog.Kilep);
        return occasionIds(*dialog.VL);
    }
    std::vector<int> teacherItems(int oktatoId)
    {
        TOktatofog dialog;
        dialog.NaptarBeallitas(4, nullptr);
        dialog.OktatoId = oktatoId;
        showAndClose(dialog, *dialog.Button1);
        return occasionIds(*dialog.VL);
    }
};

TEST_F(OccupancyOrder, RoomListsCoursesAsTheOccasionTableMeetsThemAndEndsOnTheLastCourseListed)
{
    for (int id : {10, 11, 12, 13})
        addCourse({id, "K-" + std::to_string(id)});
    // Ids against the table's order, and rooms interleaved.
    addOccasion(900, 12, at(Monday1, 8, 0), at(Monday1, 9, 0), 5);
    addOccasion(800, 10, at(Monday1, 10, 0), at(Monday1, 11, 0), 6);
    addOccasion(700, 11, at(Monday1, 12, 0), at(Monday1, 13, 0), 5);
    addOccasion(600, 10, at(Monday1 + 1, 8, 0), at(Monday1 + 1, 9, 0), 5);
    addOccasion(500, 12, at(Monday1 + 2, 7, 0), at(Monday1 + 2, 8, 0), 5);
    addOccasion(400, 13, at(Monday1 + 3, 7, 0), at(Monday1 + 3, 8, 0), 6);

    // Each course's occasions in the room, by kurzus_id as the course's view orders them.
    EXPECT_EQ(roomItems(5, 13), (std::vector<int>{900, 500, 700, 600}));
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger(), 10);
    EXPECT_FALSE(DM->MT_alkalom.Filtered());

    // Sorted by another index, the occasion table meets the courses in that order.
    DM->MT_alkalom.SetIndexFieldNames("kurzus_id");
    ASSERT_EQ(DM->MT_alkalom.IndexFieldNames(), "kurzus_id");
    EXPECT_EQ(roomItems(5, 13), (std::vector<int>{600, 700, 900, 500}));
    EXPECT_EQ(roomItems(6, 10), (std::vector<int>{800, 400}));
}

TEST_F(OccupancyOrder, TeacherShowsTheFirstHundredOccasionsOfAllItsCoursesInTableOrder)
{
    for (int id : {10, 11, 12})
        addCourse({id, "K-" + std::to_string(id)});
    linkTeacher(10, 7);
    linkTeacher(12, 7);
    linkTeacher(11, 8);
    // The same course twice adds nothing.
    linkTeacher(12, 7);
    std::vector<int> expected;
    for (int i = 0; i < 70; ++i) {
        const int course = 10 + i % 3;
        const int id = 5000 - i;
        addOccasion(id, course, at(Monday1 + i % 5, 8, 0), at(Monday1 + i % 5, 9, 0));
        addOccasion(id - 1000, 12, at(Monday1 + i % 5, 10, 0), at(Monday1 + i % 5, 11, 0));
        for (int shown : {id, id - 1000}) {
            if (shown == id && course == 11)
                continue;
            if (expected.size() < 100)
                expected.push_back(shown);
        }
    }
    EXPECT_EQ(teacherItems(7), expected);
}

TEST_F(OccupancyOrder, RoomOccupancyShowsTheRoomsOccasionsInTableOrderWithTheTeachersOfTheMoment)
{
    for (int id : {10, 11})
        addCourse({id, "K-" + std::to_string(id)});
    addOccasion(900, 11, at(Monday1, 8, 0), at(Monday1, 9, 0), 5);
    addOccasion(800, 10, at(Monday1, 10, 0), at(Monday1, 11, 0), 6);
    addOccasion(700, 10, at(Monday1, 12, 0), at(Monday1, 13, 0), 5);
    addOccasion(600, 11, at(Monday1 + 1, 8, 0), at(Monday1 + 1, 9, 0), 5);
    TTeremfog dialog;
    dialog.show();
    const auto pick = [&dialog](int teremId) {
        for (int i = 0; i < dialog.LV->topLevelItemCount(); ++i) {
            QTreeWidgetItem *row = dialog.LV->topLevelItem(i);
            if (row->text(1).toInt() == teremId)
                QTest::mouseClick(dialog.LV->viewport(), Qt::LeftButton, {}, dialog.LV->visualItemRect(row).center());
        }
        return occasionIds(*dialog.VL);
    };
    EXPECT_EQ(pick(5), (std::vector<int>{900, 700, 600}));
    EXPECT_EQ(pick(6), (std::vector<int>{800}));
    // A teacher linked meanwhile is named at the next pick.
    linkTeacher(11, 8);
    EXPECT_EQ(pick(5), (std::vector<int>{900, 700, 600}));
    EXPECT_EQ(static_cast<TSajat *>(dialog.VL->Items()[0])->Oktatok(), "Nagy Ilona");
    EXPECT_TRUE(static_cast<TSajat *>(dialog.VL->Items()[1])->Oktatok().isEmpty());
}

} // namespace
