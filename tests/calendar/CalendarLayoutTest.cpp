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

TEST_F(LaneLayout, OverlappingItemsOfADayShareItInLanes)
{
    struct Placed {
        int day, hour, minute, length;
        int col, top, bottom, lane, lanes;
    };
    const std::vector<std::vector<Placed>> cases = {
        {{3, 8, 0, 120, 2, 9, 10, 0, 1}},
        {{2, 8, 0, 60, 1, 9, 9, 0, 2}, {2, 8, 30, 90, 1, 9, 10, 1, 2}},
        // A chain of overlaps is one group: the late item reuses the lane the early one left.
        {{2, 8, 0, 60, 1, 9, 9, 0, 2}, {2, 9, 0, 60, 1, 10, 10, 0, 2}, {2, 8, 0, 120, 1, 9, 10, 1, 2}},
        // Of equal starts the shorter goes first.
        {{4, 8, 0, 90, 3, 9, 10, 1, 2}, {4, 8, 0, 30, 3, 9, 9, 0, 2}},
        // A later group of the same day keeps the whole width.
        {{2, 8, 0, 60, 1, 9, 9, 0, 2}, {2, 8, 0, 60, 1, 9, 9, 1, 2}, {2, 11, 0, 60, 1, 12, 12, 0, 1}},
        {{5, 14, 0, 60, 4, 15, 15, 0, 3}, {5, 14, 0, 60, 4, 15, 15, 1, 3}, {5, 14, 0, 60, 4, 15, 15, 2, 3}},
    };
    for (size_t n = 0; n < cases.size(); ++n) {
        calendar->Items().Clear();
        for (const Placed &p : cases[n])
            addItem(*calendar, at(p.day, p.hour, p.minute), p.length);
        for (size_t i = 0; i < cases[n].size(); ++i) {
            const Placed &p = cases[n][i];
            TveltoCalendarObj *box = calendar->Items()[int(i)]->Obj();
            EXPECT_TRUE(box->isVisible()) << "case " << n << " item " << i;
            EXPECT_EQ(box->geometry(), laneRect(p.col, p.top, p.bottom, p.lane, p.lanes)) << "case " << n << " item " << i;
        }
    }
}

TEST_F(LaneLayout, LanesFollowWhenAnOverlappingItemGoes)
{
    TCustomCalendarItem *stays = addItem(*calendar, at(2, 8, 0), 60);
    TCustomCalendarItem *goes = addItem(*calendar, at(2, 8, 0), 60);
    delete goes;
    EXPECT_EQ(stays->Obj()->geometry(), laneRect(1, 9, 9, 0, 1));
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
    // A stray end without a begin must not spoil the next bracket.
    calendar->Items().EndUpdate();
    calendar->Items().BeginUpdate();
    item->SetStart(at(3, 10, 0));
    EXPECT_EQ(item->Obj()->CellRange(), (TGridRect{2, 11, 2, 11}));
    EXPECT_EQ(item->Obj()->geometry(), before);
    calendar->Items().EndUpdate();
    EXPECT_EQ(item->Obj()->geometry(), laneRect(2, 11, 11, 0, 1));
}

TEST(CustomRowLayout, BoxesWaitForTheRowsAndShowOnlyInsideThem)
{
    auto calendar = shownCalendar(1000, 600);
    TCustomCalendarItem *item = addItem(*calendar, at(2, 9, 30), 90);
    TCustomCalendarItem *early = addItem(*calendar, at(3, 7, 0), 90);
    TCustomCalendarItem *first = addItem(*calendar, at(3, 7, 45), 90);
    TCustomCalendarItem *late = addItem(*calendar, at(3, 18, 30), 60);
    TCustomCalendarItem *night = addItem(*calendar, at(3, 21, 0), 60);
    EXPECT_TRUE(item->Obj()->isVisible());
    calendar->SetScale(-1);
    EXPECT_TRUE(item->Obj()->isHidden());
    EXPECT_EQ(item->Obj()->CellRange(), TGridRect{});
    applyDoublePeriods(*calendar);
    fit(*calendar);
    EXPECT_EQ(item->Obj()->CellRange(), (TGridRect{1, 2, 1, 2}));
    EXPECT_TRUE(item->Obj()->isVisible());
    // Inside the last row still shows; before the first and after the last does not.
    EXPECT_EQ(late->Obj()->CellRange(), (TGridRect{2, 7, 2, 7}));
    EXPECT_TRUE(late->Obj()->isVisible());
    EXPECT_TRUE(early->Obj()->isHidden());
    // Nor does it take a lane from what it overlaps.
    EXPECT_EQ(first->Obj()->width(), item->Obj()->width());
    EXPECT_TRUE(night->Obj()->isHidden());
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
