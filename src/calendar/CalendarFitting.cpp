#include "calendar/CalendarFitting.h"

#include "calendar/veltoCalendar.h"

namespace {

constexpr int TimeColumnWidth = 100;
constexpr int HeaderRowHeight = 20;

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
    const struct LaidOutOnce {
        TCalendarItems &items;
        ~LaidOutOnce() { items.EndUpdate(); }
    } laidOut{items};
    calendar.SetColWidths(0, TimeColumnWidth);
    const std::vector<int> widths =
        ShareOut(calendar.ClientWidth() - TimeColumnWidth, calendar.ColCount() - calendar.FixedCols());
    for (std::size_t i = 0; i < widths.size(); ++i)
        calendar.SetColWidths(calendar.FixedCols() + int(i), widths[i]);
    calendar.SetRowHeights(0, HeaderRowHeight);
    const std::vector<int> heights =
        ShareOut(calendar.ClientHeight() - HeaderRowHeight, calendar.RowCount() - calendar.FixedRows());
    for (std::size_t i = 0; i < heights.size(); ++i)
        calendar.SetRowHeights(calendar.FixedRows() + int(i), heights[i]);
}
