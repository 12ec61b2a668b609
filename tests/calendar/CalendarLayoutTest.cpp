#include "CalendarTestSupport.h"
#include "calendar/CalendarFitting.h"

using namespace calendartest;

namespace {

// Hourly fixed rows on one week; 08:00 is row 9.
class LaneLayout : public testing::Test {
protected:
    // Where a box belongs: inside the margins of its cell, in lane `lane` of `lanes`.
    std::pair<bool, QRect> inLane(int col, int top, int bottom, int lane, int lanes) const
    {
        const QRect cell = calendar->BoxRect(col, top, col, bottom);
        const int width = (cell.width() - calendar->VonalzoBal() - calendar->VonalzoJobb()) / lanes;
        return {true, QRect(cell.left() + calendar->VonalzoBal() + lane * width, cell.top(), width - 1,
                            cell.height() - 1)};
    }
    std::unique_ptr<TveltoCalendar> calendar = shownCalendar();
};

std::pair<bool, QRect> shown(TCustomCalendarItem *item)
{
    return {item->Obj()->isVisible(), item->Obj()->geometry()};
}

// Overlapping items over three days, some outside the rows, in an order that is not by time.
void addMixedItems(TveltoCalendar &calendar)
{
    const int starts[][3] = {{3, 10, 0}, {2, 8, 0}, {2, 8, 30}, {4, 23, 30}, {2, 9, 0}, {3, 10, 0},
                             {2, 8, 0},  {4, 7, 0}, {3, 11, 0}, {2, 8, 15}, {4, 7, 30}, {3, 10, 30}};
    for (int i = 0; i < 12; ++i)
        addItem(calendar, at(starts[i][0], starts[i][1], starts[i][2]), 30 + 45 * (i % 4));
}

std::vector<std::pair<bool, QRect>> boxes(TveltoCalendar &calendar)
{
    std::vector<std::pair<bool, QRect>> result;
    for (TCustomCalendarItem *item : calendar.Items())
        result.push_back(shown(item));
    return result;
}

} // namespace

TEST_F(LaneLayout, OverlappingItemsOfADayShareItInLanes)
{
    // Day, start and length in minutes; rows from and to, lane of lanes; the column is day - 1.
    const std::vector<std::vector<std::array<int, 7>>> cases = {
        {{2, 480, 60, 9, 9, 0, 2}, {2, 510, 90, 9, 10, 1, 2}},
        // A chain of overlaps is one group: the late item reuses the lane the early one left.
        {{2, 480, 60, 9, 9, 0, 2}, {2, 540, 60, 10, 10, 0, 2}, {2, 480, 120, 9, 10, 1, 2}},
        // Of equal starts the shorter goes first; earlier starts go first whatever their length.
        {{4, 480, 90, 9, 10, 1, 2}, {4, 480, 30, 9, 9, 0, 2}},
        {{6, 600, 60, 11, 11, 1, 2}, {6, 540, 60, 10, 10, 1, 2}, {6, 480, 180, 9, 11, 0, 2}},
        // A later group of the same day keeps the whole width.
        {{2, 480, 60, 9, 9, 0, 2}, {2, 480, 60, 9, 9, 1, 2}, {2, 660, 60, 12, 12, 0, 1}},
        {{5, 840, 60, 15, 15, 0, 3}, {5, 840, 60, 15, 15, 1, 3}, {5, 840, 60, 15, 15, 2, 3},
         {8, 1380, 55, 24, 24, 0, 1}},
    };
    for (size_t n = 0; n < cases.size(); ++n) {
        calendar->Items().Clear();
        for (const auto &[day, start, length, top, bottom, lane, lanes] : cases[n])
            addItem(*calendar, day + start / 1440.0, length);
        for (size_t i = 0; i < cases[n].size(); ++i) {
            const auto &[day, start, length, top, bottom, lane, lanes] = cases[n][i];
            EXPECT_EQ(shown(calendar->Items()[int(i)]), inLane(day - 1, top, bottom, lane, lanes)) << n << i;
        }
    }
    calendar->Items().Delete(0);
    calendar->Items().Delete(0);
    EXPECT_EQ(shown(calendar->Items()[0]), inLane(4, 15, 15, 0, 1));
}

TEST_F(LaneLayout, ItemsWithoutAPlaceAreHiddenUntilTheyGetOne)
{
    calendar->Items().Add()->SetStart(at(2, 8, 0));
    // Past midnight, until midnight, a day without a column, a day taken out of the days.
    for (const auto &[start, length] : {std::pair{at(3, 23, 0), 90}, {at(3, 23, 0), 60}, {at(20, 8, 0), 60},
                                        {at(7, 8, 0), 60}, {at(6, 8, 0), 60}})
        addItem(*calendar, start, length);
    calendar->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(calendar->Items()[i]->Obj()->CellRange(), TGridRect{}) << i;
    TCustomCalendarItem *friday = calendar->Items()[5];
    EXPECT_EQ(shown(friday), inLane(5, 9, 9, 0, 1));
    // Nor is a box without a place moved or stretched.
    TCustomCalendarItem *placeless = calendar->Items()[3];
    const TDateTime start = placeless->Start();
    calendar->MoveResizeItem(1, 1, true, placeless->Obj(), true);
    calendar->MoveResizeItem(0, 1, true, placeless->Obj(), false);
    EXPECT_EQ(double(placeless->Start()), double(start));
    EXPECT_EQ(placeless->Length(), 60);
    EXPECT_EQ(placeless->Obj()->CellRange(), TGridRect{});

    // Columns scrolled out of view hide their boxes until scrolled back; the last day has its place too.
    calendar->SetDays(TveltoCalendarDays::all());
    calendar->SetHetek(15);
    for (int col = 1; col < calendar->ColCount(); ++col)
        calendar->SetColWidths(col, 120);
    TCustomCalendarItem *last = addItem(*calendar, at(106, 8, 0), 60);
    EXPECT_TRUE(last->Obj()->isHidden());
    calendar->SetLeftCol(105);
    EXPECT_EQ(shown(last), inLane(105, 9, 9, 0, 1));
    EXPECT_TRUE(friday->Obj()->isHidden());
    // Rows of their own wait for their rows.
    calendar->SetScale(-1);
    EXPECT_TRUE(last->Obj()->isHidden());
    applyRows(*calendar, 1);
    EXPECT_EQ(last->Obj()->CellRange(), (TGridRect{105, 1, 105, 1}));
}

TEST_F(LaneLayout, BracketsAndPartialLayoutsEndWhereAFullLayoutPutsTheBoxes)
{
    TCustomCalendarItem *item = addItem(*calendar, at(2, 8, 0), 60);
    const QRect before = item->Obj()->geometry();
    // A stray end without a begin must not spoil the next bracket.
    calendar->Items().EndUpdate();
    calendar->Items().BeginUpdate();
    item->SetStart(at(3, 10, 0));
    EXPECT_EQ(item->Obj()->geometry(), before);
    calendar->Items().EndUpdate();
    EXPECT_EQ(shown(item), inLane(2, 11, 11, 0, 1));

    // New boxes in a bracket leave the focus on the box holding it.
    item->Obj()->setFocus();
    calendar->Items().BeginUpdate();
    addMixedItems(*calendar);
    calendar->Items().EndUpdate();
    EXPECT_TRUE(item->Obj()->hasFocus());
    auto oneByOne = shownCalendar();
    addItem(*oneByOne, at(3, 10, 0), 60);
    addMixedItems(*oneByOne);
    EXPECT_EQ(boxes(*calendar), boxes(*oneByOne));

    // Resized after the items, so that every box has to move.
    for (TveltoCalendar *each : {calendar.get(), oneByOne.get()})
        each->resize(1200, 800);
    fit(*oneByOne);
    FitCalendarCells(*calendar);
    EXPECT_EQ(boxes(*calendar), boxes(*oneByOne));

    // Two side by side on a day of their own; once one leaves, the other takes the whole cell.
    addItem(*calendar, at(5, 8, 0), 60);
    addItem(*calendar, at(5, 8, 0), 60)->SetStart(at(6, 8, 0));
    TCalendarItems &items = calendar->Items();
    items[2]->SetStart(at(3, 10, 0));
    items[8]->SetLength(240);
    items[10]->SetStart(at(9, 8, 0));
    const auto moved = boxes(*calendar);
    calendar->Update();
    EXPECT_EQ(moved, boxes(*calendar));
}

// Inside a bracket a change of the day columns moves every item's cell range with its day at
// once; the boxes move only when the bracket closes.
TEST_F(LaneLayout, ABracketDefersTheLanesButNotTheRanges)
{
    TCustomCalendarItem *item = addItem(*calendar, at(4, 8, 0), 60);
    ASSERT_EQ(item->Obj()->CellRange(), (TGridRect{3, 9, 3, 9}));
    const QRect before = item->Obj()->geometry();
    calendar->Items().BeginUpdate();
    calendar->SetDays({vlWednesday, vlThursday});
    EXPECT_EQ(item->Obj()->CellRange(), (TGridRect{1, 9, 1, 9}));
    EXPECT_EQ(item->Obj()->geometry(), before);
    calendar->Items().EndUpdate();
    EXPECT_EQ(shown(item), inLane(1, 9, 9, 0, 1));
}

// An item inside the last custom row shows; before the first row or after the last it does not.
TEST_F(LaneLayout, CustomRowsShowWhatLiesInsideThemOnly)
{
    TCustomCalendarItem *late = addItem(*calendar, at(3, 18, 30), 60);
    TCustomCalendarItem *early = addItem(*calendar, at(3, 7, 0), 90);
    TCustomCalendarItem *night = addItem(*calendar, at(3, 21, 0), 60);
    TCustomCalendarItem *single = addItem(*calendar, at(4, 9, 30), 195);
    applyRows(*calendar, 7);
    fit(*calendar);
    EXPECT_EQ(late->Obj()->CellRange(), (TGridRect{2, 7, 2, 7}));
    EXPECT_EQ(shown(late), inLane(2, 7, 7, 0, 1));
    EXPECT_TRUE(early->Obj()->isHidden());
    EXPECT_TRUE(night->Obj()->isHidden());
    // Over two rows, alone on its day: the whole width of both.
    EXPECT_EQ(shown(single), inLane(3, 2, 3, 0, 1));
}
