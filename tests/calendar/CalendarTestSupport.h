#pragma once

// Shared set-up of the calendar tests: a shown, active calendar fitted like the program's windows
// fit theirs, row layouts the program applies, and item helpers.

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

inline int minuteOfDay(TDateTime value)
{
    return int(std::lround((double(value) - std::trunc(double(value))) * 1440.0));
}

// Seven double lesson periods of 90 minutes from 07:45, as the planner's default layout.
inline void applyDoublePeriods(TveltoCalendar &calendar)
{
    calendar.SetScale(-1);
    calendar.AddRow(465, 90, QStringLiteral(" 1- 2 07:45-09:15"));
    calendar.AddRow(570, 90, QStringLiteral(" 3- 4 09:30-11:00"));
    calendar.AddRow(675, 90, QStringLiteral(" 5- 6 11:15-12:45"));
    calendar.AddRow(780, 90, QStringLiteral(" 7- 8 13:00-14:30"));
    calendar.AddRow(885, 90, QStringLiteral(" 9-10 14:45-16:15"));
    calendar.AddRow(990, 90, QStringLiteral("11-12 16:30-18:00"));
    calendar.AddRow(1095, 90, QStringLiteral("13-14 18:15-19:45"));
    calendar.AddRow(-1, 0, QString());
}

// Custom half-hour rows from 07:45 to 20:15.
inline void applyHalfHoursFrom0745(TveltoCalendar &calendar)
{
    calendar.SetScale(-1);
    for (int i = 1; i <= 25; ++i) {
        const int start = 435 + 30 * i;
        calendar.AddRow(start, 30, QStringLiteral("%1:%2")
                                       .arg(start / 60, 2, 10, QLatin1Char('0'))
                                       .arg(start % 60, 2, 10, QLatin1Char('0')));
    }
    calendar.AddRow(-1, 0, QString());
}

// Time column 100 pixels, header row 20, the rest shared with the remainder going to later cells.
inline void fit(TveltoCalendar &calendar)
{
    calendar.SetColWidths(0, 100);
    int width = calendar.ClientWidth() - 100;
    for (int col = calendar.FixedCols(); col < calendar.ColCount(); ++col) {
        const int share = width / (calendar.ColCount() - col);
        calendar.SetColWidths(col, share);
        width -= share;
    }
    calendar.SetRowHeights(0, 20);
    int height = calendar.ClientHeight() - 20;
    for (int row = calendar.FixedRows(); row < calendar.RowCount(); ++row) {
        const int share = height / (calendar.RowCount() - row);
        calendar.SetRowHeights(row, share);
        height -= share;
    }
}

inline std::unique_ptr<TveltoCalendar> shownCalendar(int width = 1000, int height = 600)
{
    auto calendar = std::make_unique<TveltoCalendar>();
    calendar->resize(width, height);
    calendar->show();
    QApplication::setActiveWindow(calendar.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(calendar.get()));
    return calendar;
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
