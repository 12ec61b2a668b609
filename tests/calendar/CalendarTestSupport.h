#pragma once

// A shown, active calendar fitted as the program's windows fit theirs, custom rows, items.

#include "calendar/veltoCalendar.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace calendartest {

inline TDateTime at(int day, int hour, int minute)
{
    return day + (hour * 60 + minute) / 1440.0;
}

// Custom rows from 07:45, by default the planner's seven double lesson periods.
inline void applyRows(TveltoCalendar &calendar, int count, int step = 105, int length = 90)
{
    calendar.SetScale(-1);
    for (int start = 465; start < 465 + count * step; start += step)
        calendar.AddRow(start, length, QString::asprintf("%02d:%02d", start / 60, start % 60));
    calendar.AddRow(-1, 0, QString());
}

// Time column 100 pixels, header row 20, the rest shared with the remainder going to later cells.
inline void fit(TveltoCalendar &grid)
{
    grid.SetColWidths(0, 100);
    grid.SetRowHeights(0, 20);
    for (int col = 1, rest = grid.ClientWidth() - 100; col < grid.ColCount(); rest -= grid.ColWidths(col++))
        grid.SetColWidths(col, rest / (grid.ColCount() - col));
    for (int row = 1, rest = grid.ClientHeight() - 20; row < grid.RowCount(); rest -= grid.RowHeights(row++))
        grid.SetRowHeights(row, rest / (grid.RowCount() - row));
}

inline std::unique_ptr<TveltoCalendar> shownCalendar(int width = 1000, int height = 600)
{
    auto calendar = std::make_unique<TveltoCalendar>();
    // Hourly rows, as the occupancy views set them; a new calendar has a single row.
    calendar->SetScale(60);
    calendar->resize(width, height);
    calendar->show();
    QApplication::setActiveWindow(calendar.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(calendar.get()));
    fit(*calendar);
    return calendar;
}

inline int ink(const QImage &image, QRect area)
{
    int dark = 0;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            dark += image.pixelColor(x, y).lightness() < 128;
    return dark;
}

inline TCustomCalendarItem *addItem(TveltoCalendar &calendar, TDateTime start, int length,
                                    const QString &subject = QStringLiteral("Óra"))
{
    TCustomCalendarItem *item = calendar.Items().Add();
    item->SetSubject(subject);
    item->SetStart(start);
    item->SetLength(length);
    return item;
}

// A person's mouse on a calendar, at points of its viewport: a press reaches what stands there
// (the box control over the focused box, else the viewport, which hands a box drawn there the
// press), and the pressed widget holds the mouse until the release.
class CalendarMouse {
public:
    explicit CalendarMouse(TveltoCalendar &calendar) : calendar_(calendar) {}

    void press(QPoint at, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        held_ = under(at);
        QTest::mousePress(held_, button, keys, onHeld(at));
    }
    void move(QPoint at) { QTest::mouseMove(held_, onHeld(at)); }
    void release(QPoint at, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(held_, button, keys, onHeld(at));
    }
    void click(QPoint at, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        press(at, keys, button);
        release(at, keys, button);
    }
    void doubleClick(QPoint at, Qt::KeyboardModifiers keys = {})
    {
        held_ = under(at);
        QTest::mouseDClick(held_, Qt::LeftButton, keys, onHeld(at));
    }
    // The press and release, then the menu request the platform makes of them.
    void rightClick(QPoint at)
    {
        click(at, {}, Qt::RightButton);
        QWidget *target = under(at);
        QContextMenuEvent request(QContextMenuEvent::Mouse, target->mapFrom(calendar_.viewport(), at),
                                  calendar_.viewport()->mapToGlobal(at));
        QApplication::sendEvent(target, &request);
    }

private:
    QWidget *under(QPoint at) const
    {
        QWidget *child = calendar_.viewport()->childAt(at);
        return child ? child : calendar_.viewport();
    }
    QPoint onHeld(QPoint at) const { return held_->mapFrom(calendar_.viewport(), at); }

    TveltoCalendar &calendar_;
    QPointer<QWidget> held_;
};

// Clicks the middle of the item's box, where it is drawn.
inline void clickItem(TveltoCalendar &calendar, const TCustomCalendarItem *item, Qt::KeyboardModifiers keys = {})
{
    CalendarMouse(calendar).click(item->Obj()->geometry().center(), keys);
}

} // namespace calendartest
