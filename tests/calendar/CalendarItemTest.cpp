#include "CalendarTestSupport.h"

using namespace calendartest;

namespace {

// Counts the layouts the calendar runs, to tell changes that move boxes from those that do not.
class CountingCalendar : public TveltoCalendar {
public:
    int layouts = 0;
    void LayoutItems(TCustomCalendarItem *item, bool rangeOnly) override
    {
        ++layouts;
        TveltoCalendar::LayoutItems(item, rangeOnly);
    }
};

} // namespace

TEST(ItemLength, RoundsToFiveMinutesWithThreeAndFourUpwards)
{
    TCalendarItems items;
    TCustomCalendarItem *item = items.Add();
    const std::pair<int, int> cases[] = {{62, 60}, {63, 65}, {0, 5},  {5000, 1440}, {1, 5},     {2, 5},
                                         {3, 5},   {4, 5},   {7, 5},  {8, 10},      {1442, 1440}, {-20, 5}};
    for (const auto &[given, stored] : cases) {
        item->SetLength(given);
        EXPECT_EQ(item->Length(), stored) << "length " << given;
    }
}

TEST(ItemCreation, StartsEmptyWithBlueFrameAndHiddenBox)
{
    TveltoCalendar calendar;
    TCustomCalendarItem *item = calendar.Items().Add();
    EXPECT_EQ(item->Length(), 0);
    ASSERT_NE(item->Obj(), nullptr);
    EXPECT_EQ(item->Obj()->Item(), item);
    EXPECT_EQ(item->Obj()->Color(), 0xFF0000u);
    EXPECT_EQ(item->Obj()->SelBGColor(), 0xF0CAA6u);
    EXPECT_TRUE(item->Obj()->isHidden());
    EXPECT_EQ(TCalendarItems().Add()->Obj(), nullptr);
}

TEST(ItemChanges, ColoursAndCommentRepaintTheBoxWithoutNewLayout)
{
    CountingCalendar calendar;
    TCustomCalendarItem *item = addItem(calendar, at(2, 8, 0), 60);
    const int before = calendar.layouts;
    item->SetColor(clGreen);
    item->SetBGColor(clMoneyGreen);
    item->SetSelBGColor(clSilver);
    EXPECT_EQ(calendar.layouts, before);
    EXPECT_EQ(item->Obj()->Color(), clGreen);
    EXPECT_EQ(item->Obj()->BGColor(), clMoneyGreen);
    EXPECT_EQ(item->Obj()->SelBGColor(), clSilver);
    item->SetComment(QStringLiteral("K1\r\nAlgebra"));
    EXPECT_EQ(item->Obj()->toolTip(), QStringLiteral("K1\r\nAlgebra"));
}

TEST(ItemChanges, PlacementChangesLayTheCalendarOutAgain)
{
    CountingCalendar calendar;
    TCustomCalendarItem *item = addItem(calendar, at(2, 8, 0), 60);
    int before = calendar.layouts;
    item->SetSubject(QStringLiteral("Új"));
    EXPECT_GT(calendar.layouts, before);
    EXPECT_EQ(item->Obj()->Caption(), QStringLiteral("Új"));
    before = calendar.layouts;
    item->SetSelect(true);
    EXPECT_GT(calendar.layouts, before);
    EXPECT_TRUE(item->Obj()->Select());
}

TEST(ItemLifetime, DeletingItemsKeepsSelectedItemOnlyWhileItLives)
{
    TveltoCalendar calendar;
    for (int i = 0; i < 4; ++i)
        addItem(calendar, at(2 + i, 8, 0), 60);
    TCustomCalendarItem *selected = calendar.Items()[0];
    TCustomCalendarItem *last = calendar.Items()[3];
    calendar.SetSelectedItem(selected);
    calendar.Items().Delete(1);
    EXPECT_EQ(calendar.SelectedItem(), selected);
    delete selected;
    EXPECT_EQ(calendar.SelectedItem(), nullptr);
    EXPECT_EQ(calendar.Items().Count(), 2);
    EXPECT_EQ(calendar.Items()[1], last);
    calendar.SetSelectedItem(last);
    calendar.Items().Clear();
    EXPECT_EQ(calendar.Items().Count(), 0);
    EXPECT_EQ(calendar.SelectedItem(), nullptr);
}

TEST(ItemAssign, CopiesTextsAndTimesButKeepsTheTargetsColours)
{
    TveltoCalendar calendar;
    TCustomCalendarItem *source = addItem(calendar, at(4, 9, 30), 90, QStringLiteral("Analízis"));
    source->SetComment(QStringLiteral("hint"));
    source->SetBGColor(clYellow);
    source->SetSelect(true);
    TCustomCalendarItem *target = addItem(calendar, at(2, 8, 0), 45, QStringLiteral("régi"));
    target->SetBGColor(clMoneyGreen);
    source->AssignTo(*target);
    EXPECT_EQ(target->Subject(), QStringLiteral("Analízis"));
    EXPECT_EQ(double(target->Start()), double(at(4, 9, 30)));
    EXPECT_EQ(target->Length(), 90);
    EXPECT_EQ(target->Comment(), QStringLiteral("hint"));
    EXPECT_EQ(target->BGColor(), clMoneyGreen);
    EXPECT_FALSE(target->Select());
}

TEST(ItemMarks, SelectAllMarksAndUnmarksEveryBox)
{
    TveltoCalendar calendar;
    for (int i = 0; i < 3; ++i)
        addItem(calendar, at(2 + i, 8, 0), 60);
    calendar.Items()[1]->SetSelect(true);
    calendar.SetSelect(true);
    for (TCustomCalendarItem *item : calendar.Items()) {
        EXPECT_TRUE(item->Select());
        EXPECT_TRUE(item->Obj()->Select());
    }
    calendar.SetSelect(false);
    for (TCustomCalendarItem *item : calendar.Items())
        EXPECT_FALSE(item->Obj()->Select());
}
