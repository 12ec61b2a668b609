#include "CalendarTestSupport.h"
#include "calendar/CalendarFitting.h"

using namespace calendartest;

namespace {

// Hourly fixed rows on one week; 08:00 is row 9.
class LaneLayout : public testing::Test {
protected:
    void SetUp() override
    {
        calendar = shownCalendar(1000, 600);
        fit(*calendar);
    }

    // The box's place: inside the margins of its cell, in lane `lane` of `lanes`.
    QRect laneRect(int col, int top, int bottom, int lane, int lanes) const
    {
        const QRect cell = calendar->BoxRect(col, top, col, bottom);
        const int width = (cell.width() - calendar->VonalzoBal() - calendar->VonalzoJobb()) / lanes;
        return QRect(cell.left() + calendar->VonalzoBal() + lane * width, cell.top(), width - 1, cell.height() - 1);
    }

    std::unique_ptr<TveltoCalendar> calendar;
};

} // namespace

TEST_F(LaneLayout, AlonePlacedItemFillsTheCellBetweenTheMargins)
{
    TCustomCalendarItem *item = addItem(*calendar, at(3, 8, 0), 120, QStringLiteral("Fizika"));
    EXPECT_EQ(item->Obj()->CellRange(), (TGridRect{2, 9, 2, 10}));
    EXPECT_TRUE(item->Obj()->isVisible());
    EXPECT_EQ(item->Obj()->geometry(), laneRect(2, 9, 10, 0, 1));
    EXPECT_EQ(item->Obj()->Caption(), QStringLiteral("Fizika"));
}

TEST_F(LaneLayout, TwoOverlappingItemsShareTheCellInHalves)
{
    TCustomCalendarItem *first = addItem(*calendar, at(2, 8, 0), 60);
    TCustomCalendarItem *second = addItem(*calendar, at(2, 8, 30), 90);
    EXPECT_EQ(first->Obj()->geometry(), laneRect(1, 9, 9, 0, 2));
    EXPECT_EQ(second->Obj()->geometry(), laneRect(1, 9, 10, 1, 2));
}

TEST_F(LaneLayout, ChainedOverlapsFormOneGroupWithTwoLanes)
{
    TCustomCalendarItem *a = addItem(*calendar, at(2, 8, 0), 60, QStringLiteral("A"));
    TCustomCalendarItem *b = addItem(*calendar, at(2, 9, 0), 60, QStringLiteral("B"));
    TCustomCalendarItem *c = addItem(*calendar, at(2, 8, 0), 120, QStringLiteral("C"));
    EXPECT_EQ(a->Obj()->geometry(), laneRect(1, 9, 9, 0, 2));
    EXPECT_EQ(c->Obj()->geometry(), laneRect(1, 9, 10, 1, 2));
    EXPECT_EQ(b->Obj()->geometry(), laneRect(1, 10, 10, 0, 2));
}

TEST_F(LaneLayout, ShorterOfTwoEqualStartsTakesTheFirstLane)
{
    TCustomCalendarItem *longer = addItem(*calendar, at(4, 8, 0), 90);
    TCustomCalendarItem *shorter = addItem(*calendar, at(4, 8, 0), 30);
    EXPECT_EQ(shorter->Obj()->geometry().left(), laneRect(3, 9, 9, 0, 2).left());
    EXPECT_EQ(longer->Obj()->geometry().left(), laneRect(3, 9, 10, 1, 2).left());
}

TEST_F(LaneLayout, SeparateGroupsOfADayEachUseTheWholeWidth)
{
    addItem(*calendar, at(2, 8, 0), 60);
    addItem(*calendar, at(2, 8, 0), 60);
    TCustomCalendarItem *later = addItem(*calendar, at(2, 11, 0), 60);
    EXPECT_EQ(later->Obj()->geometry(), laneRect(1, 12, 12, 0, 1));
}

TEST_F(LaneLayout, ThreeItemsOverOneRowStandInThirds)
{
    TCustomCalendarItem *items[3];
    for (auto &item : items)
        item = addItem(*calendar, at(5, 14, 0), 60);
    for (int lane = 0; lane < 3; ++lane)
        EXPECT_EQ(items[lane]->Obj()->geometry(), laneRect(4, 15, 15, lane, 3));
}

TEST_F(LaneLayout, LanesFollowWhenAnOverlappingItemGoes)
{
    TCustomCalendarItem *stays = addItem(*calendar, at(2, 8, 0), 60);
    TCustomCalendarItem *goes = addItem(*calendar, at(2, 8, 0), 60);
    delete goes;
    EXPECT_EQ(stays->Obj()->geometry(), laneRect(1, 9, 9, 0, 1));
}

TEST_F(LaneLayout, ItemFollowsANewStartToAnotherDay)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 8, 0), 60);
    item->SetStart(at(6, 10, 0));
    EXPECT_EQ(item->Obj()->CellRange(), (TGridRect{5, 11, 5, 11}));
    EXPECT_EQ(item->Obj()->geometry(), laneRect(5, 11, 11, 0, 1));
}

TEST_F(LaneLayout, ItemsWithoutAPlaceAreHidden)
{
    TCustomCalendarItem *fresh = calendar->Items().Add();
    fresh->SetStart(at(2, 8, 0));
    TCustomCalendarItem *pastMidnight = addItem(*calendar, at(3, 23, 0), 90);
    TCustomCalendarItem *untilMidnight = addItem(*calendar, at(3, 23, 0), 60);
    TCustomCalendarItem *noColumn = addItem(*calendar, at(20, 8, 0), 60);
    for (TCustomCalendarItem *item : {fresh, pastMidnight, untilMidnight, noColumn}) {
        EXPECT_TRUE(item->Obj()->isHidden());
        EXPECT_EQ(item->Obj()->CellRange(), TGridRect{});
    }
}

TEST_F(LaneLayout, DayRemovedFromTheDaysHidesItsItems)
{
    TCustomCalendarItem *saturday = addItem(*calendar, at(7, 8, 0), 60);
    TCustomCalendarItem *friday = addItem(*calendar, at(6, 8, 0), 60);
    calendar->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
    EXPECT_TRUE(saturday->Obj()->isHidden());
    EXPECT_EQ(friday->Obj()->CellRange().Left, 5);
}

TEST_F(LaneLayout, ScrolledOutColumnsHideTheirItemsUntilScrolledBack)
{
    calendar->SetHetek(15);
    for (int col = 1; col < calendar->ColCount(); ++col)
        calendar->SetColWidths(col, 120);
    TCustomCalendarItem *far = addItem(*calendar, at(100, 8, 0), 60);
    EXPECT_TRUE(far->Obj()->isHidden());
    calendar->SetLeftCol(calendar->ColumnOfDay(100));
    EXPECT_TRUE(far->Obj()->isVisible());
    EXPECT_EQ(far->Obj()->geometry(), laneRect(calendar->ColumnOfDay(100), 9, 9, 0, 1));
}

TEST_F(LaneLayout, UpdateBracketDefersMovingBoxesToItsEnd)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 8, 0), 60);
    const QRect before = item->Obj()->geometry();
    calendar->Items().BeginUpdate();
    item->SetStart(at(3, 10, 0));
    EXPECT_EQ(item->Obj()->CellRange(), (TGridRect{2, 11, 2, 11}));
    EXPECT_EQ(item->Obj()->geometry(), before);
    calendar->Items().EndUpdate();
    EXPECT_EQ(item->Obj()->geometry(), laneRect(2, 11, 11, 0, 1));
}

TEST(CustomRowLayout, ItemsOutsideTheRowsAreHiddenAndInsideTheLastRowShown)
{
    auto calendar = shownCalendar(1000, 600);
    applyDoublePeriods(*calendar);
    fit(*calendar);
    TCustomCalendarItem *early = addItem(*calendar, at(2, 7, 0), 90);
    TCustomCalendarItem *late = addItem(*calendar, at(2, 18, 30), 60);
    TCustomCalendarItem *night = addItem(*calendar, at(2, 21, 0), 60);
    EXPECT_TRUE(early->Obj()->isHidden());
    EXPECT_EQ(late->Obj()->CellRange(), (TGridRect{1, 7, 1, 7}));
    EXPECT_TRUE(late->Obj()->isVisible());
    EXPECT_TRUE(night->Obj()->isHidden());
}

TEST(CustomRowLayout, SwitchingToCustomRowsHidesEveryBoxUntilRowsArrive)
{
    auto calendar = shownCalendar(1000, 600);
    TCustomCalendarItem *item = addItem(*calendar, at(2, 9, 30), 90);
    EXPECT_TRUE(item->Obj()->isVisible());
    calendar->SetScale(-1);
    EXPECT_TRUE(item->Obj()->isHidden());
    EXPECT_EQ(item->Obj()->CellRange(), TGridRect{});
    applyDoublePeriods(*calendar);
    EXPECT_EQ(item->Obj()->CellRange(), (TGridRect{1, 2, 1, 2}));
    EXPECT_TRUE(item->Obj()->isVisible());
}

namespace {

// Overlapping items over three days, some outside the rows, in an order that is not by time.
void addMixedItems(TveltoCalendar &calendar)
{
    const int starts[][3] = {{3, 10, 0}, {2, 8, 0}, {2, 8, 30}, {4, 23, 30}, {2, 9, 0}, {3, 10, 0},
                             {2, 8, 0},  {4, 7, 0}, {3, 11, 0}, {2, 8, 15}, {4, 7, 30}, {3, 10, 30}};
    int length = 30;
    for (const auto &start : starts) {
        addItem(calendar, at(start[0], start[1], start[2]), length);
        length = length % 150 + 45;
    }
}

std::vector<std::pair<bool, QRect>> boxes(TveltoCalendar &calendar)
{
    std::vector<std::pair<bool, QRect>> result;
    for (TCustomCalendarItem *item : calendar.Items())
        result.emplace_back(item->Obj()->isVisible(), item->Obj()->geometry());
    return result;
}

} // namespace

TEST_F(LaneLayout, ItemsAddedInOneBracketEndWhereOneByOneWouldPutThem)
{
    addMixedItems(*calendar);
    auto bracketed = shownCalendar(1000, 600);
    fit(*bracketed);
    bracketed->Items().BeginUpdate();
    addMixedItems(*bracketed);
    bracketed->Items().EndUpdate();
    EXPECT_EQ(boxes(*bracketed), boxes(*calendar));
}

TEST_F(LaneLayout, ABracketOfNewBoxesLeavesTheFocusOnTheBoxHoldingIt)
{
    TCustomCalendarItem *focused = addItem(*calendar, at(2, 8, 0), 60);
    QApplication::setActiveWindow(calendar.get());
    focused->Obj()->setFocus();
    ASSERT_TRUE(focused->Obj()->hasFocus());
    calendar->Items().BeginUpdate();
    addMixedItems(*calendar);
    calendar->Items().EndUpdate();
    EXPECT_TRUE(focused->Obj()->hasFocus());
    EXPECT_TRUE(calendar->viewport()->isVisible());
}

TEST_F(LaneLayout, FittingTheCellsInOneGoPlacesTheBoxesAsFittingThemOneByOne)
{
    addMixedItems(*calendar);
    auto fitted = shownCalendar(1000, 600);
    addMixedItems(*fitted);
    // Resized after the items, so that every box has to move.
    for (TveltoCalendar *each : {calendar.get(), fitted.get()})
        each->resize(1200, 800);
    fit(*calendar);
    FitCalendarCells(*fitted);
    EXPECT_EQ(boxes(*fitted), boxes(*calendar));
}

TEST_F(LaneLayout, MovingItemsBetweenDaysLeavesTheBoxesAFullLayoutWouldGive)
{
    addMixedItems(*calendar);
    // Two side by side on a day of their own; once one leaves, the other takes the whole cell.
    addItem(*calendar, at(5, 8, 0), 60);
    TCustomCalendarItem *leaving = addItem(*calendar, at(5, 8, 0), 60);
    leaving->SetStart(at(6, 8, 0));
    TCalendarItems &items = calendar->Items();
    items[1]->SetStart(at(3, 10, 0));
    items[7]->SetLength(240);
    items[9]->SetStart(at(9, 8, 0));
    const auto moved = boxes(*calendar);
    calendar->Update();
    EXPECT_EQ(moved, boxes(*calendar));
}
