#include "dialogs/csoportfog.h"

#include "dialogs/DialogTestSupport.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace {

using namespace dialogtest;

constexpr int Tuesday = Monday1 + 1;

class GroupOccupancy : public DialogOn<Tcsoportfoglalasok> {
protected:
    void SetUp() override
    {
        DialogOn::SetUp();
        for (const auto &[id, code, name] : {std::tuple{3, "MAT", "Matematika"}, {4, "FIZ", "Fizika"}, {5, "KEM", "Kémia"}})
            addSubject(id, code, name);
        addRoom(5, "B", "101");
        addRoom(6, "A", "2");
    }

    // Shows the window for the course (or room) made current, as the main window does.
    void showFor(unsigned char mode, int kurzusId, int teremId = -1, const std::function<void()> &whileShown = {})
    {
        DM->MT_kurzus.Locate("kurzus_id", Variant(kurzusId), {});
        if (teremId >= 0)
            DM->MT_terem.Locate("terem_id", Variant(teremId), {});
        dialog->FoglalasMod = mode;
        execWith(*dialog, [&] {
            caption = dialog->windowTitle();
            if (whileShown)
                whileShown();
            click(dialog->Kilep);
        });
    }
    std::vector<int> listed() const
    {
        std::vector<int> found;
        for (int i = 0; i < dialog->LV->topLevelItemCount(); ++i)
            found.push_back(dialog->LV->topLevelItem(i)->text(4).toInt());
        return found;
    }
    std::vector<int> occasions() { return occasionIds(*dialog->VL); }
    TSajat *item(int alkalomId) { return itemOf(*dialog->VL, alkalomId); }
    void weeklyOccasions(int firstId, int kurzusId, int count, int teremId)
    {
        for (int i = 0; i < count; ++i)
            addOccasion(firstId + i, kurzusId, at(Monday1 + i % 7, 8 + i / 7, 0), at(Monday1 + i % 7, 9 + i / 7, 0), teremId);
    }

    QString caption;
};

// A course's subjects come from its subject links; a link to a course that is gone adds nothing.
TEST_F(GroupOccupancy, TheSubjectModeListsEveryCourseOfTheSubjectAfreshEachShowing)
{
    addCourse({10, "MAT-1", "Analízis", 3});
    addCourse({11, "MAT-2", "", 4});
    addCourse({12, "MAT-6", "Szerves", 5});
    linkSubject(10, 3);
    linkSubject(11, 3);
    linkSubject(12, 5);
    linkSubject(99, 3);
    addOccasion(100, 10, at(Tuesday, 8, 0), at(Tuesday, 9, 30), 5);
    addOccasion(110, 11, at(Monday1, 8, 0), at(Monday1, 9, 30), -1);
    addOccasion(120, 12, at(Monday1, 10, 0), at(Monday1, 11, 30), 5);
    DM->MT_kurzustargy.SetFilter("kurzus_id=12");
    DM->MT_kurzustargy.SetFiltered(true);
    showFor(Tcsoportfoglalasok::TantargyFoglalasai, 10, -1, [&] { expectCalendarFillsItsRoom(*dialog->VL); });
    EXPECT_EQ(caption, "Alaértelmezett Tantárgy foglalásai");
    EXPECT_EQ(listed(), (std::vector<int>{10, 11}));
    EXPECT_EQ(occasions(), (std::vector<int>{100, 110}));
    EXPECT_FALSE(DM->MT_kurzustargy.Filtered());
    // The module's course table is left on the last course listed.
    EXPECT_EQ(DM->MT_kurzus.FieldByName("kurzus_id")->AsInteger(), 11);
    // The list keeps an empty title; the item takes the subject's name.
    EXPECT_EQ(dialog->LV->topLevelItem(1)->text(1), "");
    EXPECT_EQ(item(110)->Nev(), "Fizika");
    showFor(Tcsoportfoglalasok::TantargyFoglalasai, 12);
    EXPECT_EQ(listed(), std::vector<int>{12});
    EXPECT_EQ(occasions(), std::vector<int>{120});
    // The related mode lists every course sharing a subject with it, and no other.
    linkSubject(12, 3);
    addCourse({13, "BIO-1", "", 4});
    linkSubject(13, 4);
    showFor(Tcsoportfoglalasok::KapcsolodoTargyakFoglalasai, 12);
    EXPECT_EQ(caption, "Kapcsolódó Tantárgy foglalásai");
    EXPECT_EQ(listed(), (std::vector<int>{10, 11, 12}));
}

// At most a course's first twenty occasions are looked at, those of other rooms among them.
TEST_F(GroupOccupancy, TheRoomModeShowsOnlyTheRoomsOccasions)
{
    addCourse({13, "MAT-7", "", 3});
    weeklyOccasions(300, 13, 20, 6);
    addOccasion(320, 13, at(Tuesday, 18, 0), at(Tuesday, 19, 30), 5);
    addCourse({10, "MAT-1", "", 3});
    addCourse({11, "MAT-5", "Mechanika", 4});
    addCourse({12, "MAT-6", "Szerves", 5});
    addOccasion(100, 10, at(Tuesday, 8, 0), at(Tuesday, 9, 30), 5);
    addOccasion(101, 10, at(Tuesday, 10, 0), at(Tuesday, 11, 30), 6);
    addOccasion(110, 11, at(Monday1, 8, 0), at(Monday1, 9, 30), 5);
    addOccasion(120, 12, at(Monday1, 10, 0), at(Monday1, 11, 30), 6);
    DM->MT_alkalom.SetFilter("kurzus_id=12");
    DM->MT_alkalom.SetFiltered(true);
    showFor(Tcsoportfoglalasok::TeremFoglalasai, 12, 5);
    EXPECT_EQ(listed(), (std::vector<int>{10, 11, 13}));
    EXPECT_EQ(occasions(), (std::vector<int>{100, 110}));
    EXPECT_FALSE(DM->MT_alkalom.Filtered());
    // Only the room's list fills an empty title from the subject.
    EXPECT_EQ(dialog->LV->topLevelItem(0)->text(1), "Matematika");
}

TEST_F(GroupOccupancy, ItemsCarryTheCourseItsFirstThreeTeachersAndTheirRoom)
{
    for (int id = 1; id <= 4; ++id)
        addTeacher(id, "Oktató " + std::to_string(id));
    addCourse({10, "MAT-1", "Analízis", 3});
    linkSubject(10, 3);
    addOccasion(100, 10, at(Tuesday, 8, 0), at(Tuesday, 9, 30), 5, "110000000000000", 999);
    addOccasion(101, 10, at(Tuesday, 10, 0), at(Tuesday, 11, 30), -1);
    addOccasion(102, 10, at(Tuesday, 12, 0), at(Tuesday, 13, 30), 77);
    for (int id : {2, 4, 1, 3})
        linkTeacher(10, id);
    weeklyOccasions(200, 10, 25, 5);
    showFor(Tcsoportfoglalasok::TantargyFoglalasai, 10);
    // Room texts tell a missing room from one that is gone.
    EXPECT_EQ(described(item(100)), "MAT-1|Analízis|B-101|Oktató 2, Oktató 4, Oktató 1|110000000000000|90");
    EXPECT_EQ(item(101)->Kiiras(), "Nincs terem");
    EXPECT_EQ(item(102)->Kiiras(), "Hiba-1204!");
    EXPECT_EQ(dialog->VL->Items().Count(), 20) << "a course shows its first twenty occasions";
}

TEST_F(GroupOccupancy, AHeaderClickSortsTheListAndIgazitasFitsTheCalendarAgain)
{
    addCourse({10, "MAT-1", "Valószínűség", 3});
    addCourse({11, "MAT-2", "Analízis", 3});
    addCourse({12, "MAT-3", "Geometria", 3});
    for (int kurzusId : {10, 11, 12})
        linkSubject(kurzusId, 3);
    addOccasion(100, 10, at(Tuesday, 8, 0), at(Tuesday, 9, 30), 5);
    QStringList byCode, byTitle;
    const auto column = [&](int index) {
        QStringList texts;
        for (int row = 0; row < dialog->LV->topLevelItemCount(); ++row)
            texts << dialog->LV->topLevelItem(row)->text(index);
        return texts;
    };
    const auto clickHeader = [&](int index) {
        QHeaderView *header = dialog->LV->header();
        const QPoint at(header->sectionViewportPosition(index) + header->sectionSize(index) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    showFor(Tcsoportfoglalasok::TantargyFoglalasai, 10, -1, [&] {
        byCode = column(1);
        clickHeader(1);
        byTitle = column(1);
        // A width left by hand is given back to the window's room.
        dialog->VL->SetColWidths(1, 20);
        click(dialog->Button1);
        expectCalendarFillsItsRoom(*dialog->VL);
    });
    EXPECT_EQ(byCode, (QStringList{"Valószínűség", "Analízis", "Geometria"}));
    EXPECT_EQ(byTitle, (QStringList{"Analízis", "Geometria", "Valószínűség"}));
    // The next showing keeps the order chosen.
    showFor(Tcsoportfoglalasok::TantargyFoglalasai, 10);
    EXPECT_EQ(column(1), (QStringList{"Analízis", "Geometria", "Valószínűség"}));
}

TEST_F(GroupOccupancy, AnUnknownModeListsNothing)
{
    addCourse({10, "MAT-1", "Analízis", 3});
    linkSubject(10, 3);
    addOccasion(100, 10, at(Tuesday, 8, 0), at(Tuesday, 9, 30), 5);
    showFor(7, 10);
    EXPECT_EQ(caption, "Csoport foglalásai");
    EXPECT_EQ(dialog->LV->topLevelItemCount(), 0);
    EXPECT_EQ(dialog->VL->Items().Count(), 0);
}

} // namespace
