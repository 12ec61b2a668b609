// Owners empty and refill a calendar's items at every view change; what the refilled calendar
// shows and does must not depend on what it showed before.

#include "CalendarTestSupport.h"
#include "calendar/CalendarObj.h"

namespace {

using namespace calendartest;

constexpr int Monday = 2;

std::unique_ptr<TveltoCalendar> periodCalendar()
{
    auto calendar = shownCalendar();
    applyRows(*calendar, 7);
    fit(*calendar);
    return calendar;
}

TEST(CalendarRefill, ARefilledCalendarShowsOnlyTheNewItemsAsAFreshOneWould)
{
    auto calendar = periodCalendar();
    TCalendarItems &items = calendar->Items();
    for (int day = 0; day < 5; ++day) {
        TCustomCalendarItem *item = addItem(*calendar, at(Monday + day, 7, 45), 180, QStringLiteral("Régi"));
        item->SetComment(QStringLiteral("régi hint"));
        item->SetSelect(true);
    }
    // An owner that rebuilds its items when an item is entered, as the main window does.
    TveltoCalendarObj *clicked = items[0]->Obj();
    int clicks = 0;
    calendar->OnClick = [&](TveltoCalendar &, TCustomCalendarItem *) { ++clicks; };
    calendar->OnDetails = [&](TveltoCalendar &, TCustomCalendarItem *) {
        calendar->OnDetails = nullptr;
        items.BeginUpdate();
        items.Clear();
        addItem(*calendar, at(Monday, 9, 30), 90, QStringLiteral("Új egy"));
        addItem(*calendar, at(Monday + 2, 11, 15), 90, QStringLiteral("Új kettő"))->SetComment(QStringLiteral("új"));
        items.EndUpdate();
    };
    clickItem(*calendar, items[0]);
    QApplication::processEvents();
    EXPECT_EQ(clicks, 0) << "the click was on an item that is gone";

    auto fresh = periodCalendar();
    addItem(*fresh, at(Monday, 9, 30), 90, QStringLiteral("Új egy"));
    addItem(*fresh, at(Monday + 2, 11, 15), 90, QStringLiteral("Új kettő"))->SetComment(QStringLiteral("új"));
    QApplication::processEvents();
    ASSERT_EQ(items.Count(), 2);
    // Where an old box stood and no new one does, only the cells show.
    const QRect tuesday = calendar->BoxRect(2, 1, 2, 2);
    ASSERT_EQ(tuesday, fresh->BoxRect(2, 1, 2, 2));
    EXPECT_EQ(calendar->viewport()->grab(tuesday).toImage(), fresh->viewport()->grab(tuesday).toImage());
    for (int i = 0; i < 2; ++i) {
        const TveltoCalendarObj &box = *items[i]->Obj();
        const TveltoCalendarObj &expected = *fresh->Items()[i]->Obj();
        EXPECT_NE(&box, clicked) << "a box whose own handler runs is never handed on";
        EXPECT_EQ(box.geometry(), expected.geometry()) << i;
        EXPECT_EQ(box.Caption(), expected.Caption()) << i;
        EXPECT_EQ(box.toolTip(), expected.toolTip()) << i;
        EXPECT_FALSE(box.Select()) << i;
        EXPECT_EQ(box.DragMode(), TveltoCalendarObj::dmNone) << i;
    }
    EXPECT_EQ(calendar->SelectedItem(), nullptr);

    // The new boxes take the focus and select their own items.
    QApplication::setActiveWindow(calendar.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(calendar.get()));
    TveltoCalendarObj *second = items[1]->Obj();
    clickItem(*calendar, items[1]);
    EXPECT_TRUE(second->hasFocus());
    EXPECT_EQ(calendar->SelectedItem(), items[1]);
    EXPECT_EQ(clicks, 1);
}

} // namespace
