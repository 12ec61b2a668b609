#include "calendar/CalendarFitting.h"

#include "calendar/veltoCalendar.h"

#include <QFontMetrics>
#include <QScopeGuard>

#include <algorithm>

namespace {

constexpr int TimeColumnWidth = 100;
constexpr int HeaderRowHeight = 20;
// The label's inset on the left and the cell's line on the right, as the time column is drawn.
constexpr int LabelMargin = 6;

// The usual width, or more where a row label would not fit in it with the font in use.
int timeColumnWidth(const TveltoCalendar &calendar)
{
    const QFontMetrics metrics(calendar.viewport()->font());
    int widest = 0;
    for (const TveltoCalendarRow &row : calendar.Rows())
        widest = std::max(widest, metrics.horizontalAdvance(row.Label.rightJustified(5)));
    return std::max(TimeColumnWidth, widest + LabelMargin);
}

} // namespace

std::vector<int> ShareOut(int total, int count)
{
    std::vector<int> sizes;
    for (int left = count; left > 0; --left) {
        sizes.push_back(total / left);
        total -= sizes.back();
    }
    return sizes;
}

void FitCalendarCells(TveltoCalendar &calendar)
{
    // Every size change would lay the items out again; once, at the end, is enough.
    TCalendarItems &items = calendar.Items();
    items.BeginUpdate();
    const auto laidOut = qScopeGuard([&items] { items.EndUpdate(); });
    const int timeWidth = timeColumnWidth(calendar);
    calendar.SetColWidths(0, timeWidth);
    const std::vector<int> widths =
        ShareOut(calendar.ClientWidth() - timeWidth, calendar.ColCount() - calendar.FixedCols());
    for (std::size_t i = 0; i < widths.size(); ++i)
        calendar.SetColWidths(calendar.FixedCols() + int(i), widths[i]);
    calendar.SetRowHeights(0, HeaderRowHeight);
    const std::vector<int> heights =
        ShareOut(calendar.ClientHeight() - HeaderRowHeight, calendar.RowCount() - calendar.FixedRows());
    for (std::size_t i = 0; i < heights.size(); ++i)
        calendar.SetRowHeights(calendar.FixedRows() + int(i), heights[i]);
}
