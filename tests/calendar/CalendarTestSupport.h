#pragma once

// A shown, active calendar fitted as the program's windows fit theirs, custom rows, items.

#include "calendar/veltoCalendar.h"

#include <QApplication>
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

} // namespace calendartest
