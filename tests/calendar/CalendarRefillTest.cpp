// Owners empty and refill a calendar's items at every view change; what the refilled calendar
// shows and does must not depend on what it showed before.

#include "CalendarTestSupport.h"
#include "calendar/CalendarObj.h"

#include <vector>

namespace {

using namespace calendartest;

constexpr int Monday = 2;

int shownBoxCount(TveltoCalendar &calendar)
{
    int count = 0;
    for (QObject *child : calendar.viewport()->children()) {
        auto *box = dynamic_cast<TveltoCalendarObj *>(child);
        count += box && box->isVisible() ? 1 : 0;
    }
    return count;
}

std::unique_ptr<TveltoCalendar> periodCalendar()
{
    auto calendar = shownCalendar();
    applyDoublePeriods(*calendar);
    fit(*calendar);
    return calendar;
}

struct Entry {
    TDateTime start;
    const char *subject;
    const char *comment;
};
const Entry NewItems[] = {{at(Monday, 9, 30), "Új egy", ""}, {at(Monday + 2, 11, 15), "Új kettő", "új hint"}};

void addNewItems(TveltoCalendar &calendar)
{
    for (const Entry &entry : NewItems)
        addItem(calendar, entry.start, 90, QString::fromUtf8(entry.subject))->SetComment(QString::fromUtf8(entry.comment));
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
    TveltoCalendarObj *focused = items[2]->Obj();
    QTest::mouseClick(focused, Qt::LeftButton, {}, focused->rect().center());
    ASSERT_TRUE(focused->hasFocus());

    items.BeginUpdate();
    items.Clear();
    addNewItems(*calendar);
    items.EndUpdate();
    QApplication::processEvents();

    auto fresh = periodCalendar();
    addNewItems(*fresh);
    QApplication::processEvents();
    ASSERT_EQ(shownBoxCount(*calendar), 2);
    for (int i = 0; i < 2; ++i) {
        const TveltoCalendarObj &box = *items[i]->Obj();
        const TveltoCalendarObj &expected = *fresh->Items()[i]->Obj();
        EXPECT_TRUE(box.isVisible()) << i;
        EXPECT_EQ(box.geometry(), expected.geometry()) << i;
        EXPECT_EQ(box.Caption(), QString::fromUtf8(NewItems[i].subject)) << i;
        EXPECT_EQ(box.toolTip(), QString::fromUtf8(NewItems[i].comment)) << i;
        EXPECT_FALSE(box.Select()) << i;
        EXPECT_EQ(box.DragMode(), TveltoCalendarObj::dmNone) << i;
    }
    EXPECT_EQ(calendar->SelectedItem(), nullptr);

    // The new boxes take the focus and select their own items.
    QApplication::setActiveWindow(calendar.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(calendar.get()));
    TveltoCalendarObj *second = items[1]->Obj();
    QTest::mouseClick(second, Qt::LeftButton, {}, second->rect().center());
    EXPECT_TRUE(second->hasFocus());
    EXPECT_EQ(calendar->SelectedItem(), items[1]);
}

TEST(CalendarRefill, ItemsRebuiltFromABoxsOwnClickNeverTakeThatBox)
{
    auto calendar = periodCalendar();
    TCalendarItems &items = calendar->Items();
    addItem(*calendar, at(Monday, 7, 45), 90);
    TveltoCalendarObj *clicked = items[0]->Obj();
    bool rebuilt = false;
    std::vector<TCustomCalendarItem *> clickedItems;
    // An owner that rebuilds its items when an item is entered, as the main window does.
    calendar->OnDetails = [&](TveltoCalendar &, TCustomCalendarItem *) {
        if (rebuilt)
            return;
        rebuilt = true;
        items.Clear();
        addItem(*calendar, at(Monday, 7, 45), 90, QStringLiteral("Új"));
    };
    calendar->OnClick = [&](TveltoCalendar &, TCustomCalendarItem *item) { clickedItems.push_back(item); };

    QTest::mouseClick(clicked, Qt::LeftButton, {}, clicked->rect().center());

    ASSERT_TRUE(rebuilt);
    ASSERT_EQ(items.Count(), 1);
    EXPECT_NE(items[0]->Obj(), clicked);
    // The click was on the item that is gone, not on the new one.
    EXPECT_TRUE(clickedItems.empty());
}

} // namespace
