#include "calendar/CalendarGrid.h"
#include "calendar/CalendarObj.h"
#include "platform/SysUtils.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

namespace {

// Minute of the day count of a date-time, rounded to the nearest minute (halves to even).
long long minutesOf(TDateTime value)
{
    return std::llround(std::nearbyint(double(value) * MinutesPerDay));
}

} // namespace

void TveltoCalendar::LayoutItems(TCustomCalendarItem *item, bool rangeOnly)
{
    if (rebuildingRows_ > 0)
        return;
    const bool updating = items_->UpdateCount() > 0;
    if (item) {
        // Inside an update bracket every item's place is worked out once, when it closes.
        if (updating)
            return;
        const auto columnOf = [item] { return item->Obj() ? item->Obj()->CellRange().Left : -1; };
        const int left = columnOf();
        computeRange(*item);
        // Lanes are per day: only the day the item left and the one it joined change.
        if (!rangeOnly)
            layoutDays({left, columnOf()});
        return;
    }
    for (TCustomCalendarItem *each : *items_)
        computeRange(*each);
    // Inside an update bracket the lanes are laid once, when the bracket closes.
    if (!rangeOnly && !updating)
        layoutDays();
}

void TveltoCalendar::computeRange(TCustomCalendarItem &item)
{
    TveltoCalendarObj *box = item.Obj();
    if (!box)
        return;
    box->SetCellRange({});
    box->SetCaption(item.Subject());
    const int col = item.Length() < 1 ? -1 : ColumnOfDay(int(std::trunc(double(item.Start()))));
    const long long minutes = minutesOf(item.Start());
    const int top = col < 0 ? -1 : RowOfStartMinute(int(minutes % 1440));
    // A start past the last row (a scale whose rows were cut off) has no place either.
    if (top > 0 && top < RowCount()) {
        const int bottom = RowOfEndMinute(int((minutes + item.Length()) % 1440));
        if (bottom >= top)
            box->SetCellRange({col, top, col, std::min(bottom, RowCount())});
    }
    // A placed box is shown by the day layout, once it has its lane.
    if (box->CellRange().Left < 0)
        box->hide();
}

void TveltoCalendar::layoutDays(std::initializer_list<int> onlyColumns)
{
    const auto wanted = [onlyColumns](int column) {
        return onlyColumns.size() == 0 ||
               std::find(onlyColumns.begin(), onlyColumns.end(), column) != onlyColumns.end();
    };
    layoutEntries_.clear();
    for (TCustomCalendarItem *item : *items_) {
        TveltoCalendarObj *box = item->Obj();
        if (!box || box->CellRange().Left < 0 || box->CellRange().Top < 0 || !wanted(box->CellRange().Left))
            continue;
        const int day = int(std::trunc(double(item->Start())));
        if (day >= 2 && day <= MaxDayColumns + 1)
            layoutEntries_.push_back({box, day, double(item->Start()), item->Length(), 0, {}});
    }
    // Day by day, earlier starts first and shorter items first among equal starts; the stable
    // sort keeps collection order for the rest, so a layout never shuffles equal boxes.
    std::stable_sort(layoutEntries_.begin(), layoutEntries_.end(), [](const LayoutEntry &a, const LayoutEntry &b) {
        if (a.day != b.day)
            return a.day < b.day;
        if (a.start != b.start)
            return a.start < b.start;
        return a.length < b.length;
    });
    for (std::size_t first = 0; first < layoutEntries_.size();) {
        std::size_t last = first;
        while (last < layoutEntries_.size() && layoutEntries_[last].day == layoutEntries_[first].day)
            ++last;
        layoutDay(&layoutEntries_[first], int(last - first));
        first = last;
    }
    placeBoxes();
}

void TveltoCalendar::placeBoxes()
{
    for (const LayoutEntry &entry : layoutEntries_) {
        TveltoCalendarObj &box = *entry.box;
        // A null place hides the box: its range is scrolled out of view.
        if (entry.place.isNull()) {
            box.hide();
            continue;
        }
        box.setGeometry(entry.place);
        box.show();
    }
}

void TveltoCalendar::layoutDay(LayoutEntry *entries, int count)
{
    // Groups: runs of entries whose rows overlap one another, touching the same row included.
    int group = 0;
    int lowest = entries[0].box->CellRange().Bottom;
    for (int i = 1; i < count; ++i) {
        const TGridRect &range = entries[i].box->CellRange();
        if (lowest < range.Top)
            group = i;
        entries[i].group = group;
        lowest = std::max(lowest, range.Bottom);
    }

    const int rowSlots = RowCount() + 1;
    rowCounts_.assign(std::size_t(rowSlots), 0);
    rowGroups_.assign(std::size_t(rowSlots), -1);
    for (int i = 0; i < count; ++i) {
        const TGridRect &range = entries[i].box->CellRange();
        for (int row = range.Top; row <= range.Bottom; ++row) {
            ++rowCounts_[std::size_t(row)];
            rowGroups_[std::size_t(row)] = entries[i].group;
        }
    }

    // A group needs as many lanes as the most boxes any of its rows holds.
    groupLanes_.assign(std::size_t(count), 0);
    int maxCount = 0;
    int current = -1;
    int currentMax = 0;
    for (int row = 0; row < rowSlots; ++row) {
        if (rowGroups_[std::size_t(row)] != current) {
            if (current >= 0)
                groupLanes_[std::size_t(current)] = currentMax;
            current = rowGroups_[std::size_t(row)];
            currentMax = 0;
        }
        currentMax = std::max(currentMax, rowCounts_[std::size_t(row)]);
        maxCount = std::max(maxCount, rowCounts_[std::size_t(row)]);
    }
    if (current >= 0)
        groupLanes_[std::size_t(current)] = currentMax;

    occupancy_.assign(std::size_t(rowSlots) * std::size_t(maxCount), 0);
    for (int i = 0; i < count; ++i) {
        const TGridRect range = entries[i].box->CellRange();
        const int lanes = groupLanes_[std::size_t(entries[i].group)];
        int lane = 0;
        for (; lane < lanes; ++lane) {
            bool free = true;
            for (int row = range.Top; row <= range.Bottom && free; ++row) {
                const int cell = row * maxCount + lane;
                if (cell >= int(occupancy_.size()))
                    throw Exception(QString::asprintf("rangecheck error: %d*%d+%d = %d > %d", row, maxCount, lane, cell,
                                                      int(occupancy_.size()))
                                        .toStdString());
                free = occupancy_[std::size_t(cell)] == 0;
            }
            if (free)
                break;
        }
        if (lane == lanes)
            throw Exception("HIBA: nincs szabad hely");
        for (int row = range.Top; row <= range.Bottom; ++row)
            occupancy_[std::size_t(row * maxCount + lane)] = 1;

        const QRect rect = BoxRect(range.Left, range.Top, range.Right, range.Bottom);
        if (rect.left() < 1 || rect.top() < 1)
            continue;
        const int width = (rect.width() - vonalzoBal_ - vonalzoJobb_) / lanes;
        entries[i].place = QRect(rect.left() + vonalzoBal_ + lane * width, rect.top(), width - 1, rect.height() - 1);
    }
}

void TveltoCalendar::putBack(TveltoCalendarObj &box)
{
    LayoutItems(box.Item());
    box.update();
}

void TveltoCalendar::MoveResizeItem(int dCol, int dRow, bool isFinal, TveltoCalendarObj *box, bool isMove)
{
    if (!box || !box->Item())
        return;
    TCustomCalendarItem *item = box->Item();
    const TGridRect range = box->CellRange();
    if (range.Left < 0)
        return;
    const int f = FixedRows();
    // The bottom edge is never dragged above the top row: the item keeps at least that row.
    if (!isMove)
        dRow = std::max(dRow, range.Top - range.Bottom);
    const bool outOfRows = (isMove && range.Top + dRow < f) || range.Bottom + dRow >= RowCount() ||
                           range.Top + dRow >= RowCount() || range.Bottom + dRow < f;
    // Outside the rows or the day columns the box goes back to its lane and the item stays.
    if (outOfRows || (isMove && !isDayColumn(range.Left + dCol))) {
        putBack(*box);
        return;
    }

    const int col = range.Left + (isMove ? dCol : 0);
    const int top = range.Top + (isMove ? dRow : 0);
    const int bottom = range.Bottom + dRow;
    if (!isFinal) {
        const QRect rect = BoxRect(col, top, col, bottom);
        if (rect.left() != 0 && rect.top() != 0) {
            box->setGeometry(QRect(rect.left() - 1, rect.top() - 1, rect.width(), rect.height()));
            box->update();
        }
        return;
    }

    const int day = DayOfColumn(col);
    const TDateTime newStart = day + RowStartMinute(top) / MinutesPerDay;
    const TDateTime newEnd = day + RowEndMinute(bottom) / MinutesPerDay;
    const int newLength = RowEndMinute(bottom) - RowStartMinute(top);
    bool accept = true;
    QPointer<TveltoCalendarObj> guard(box);
    if (isMove && OnMoving)
        OnMoving(*this, item, newStart, newEnd, newLength, accept);
    else if (!isMove && OnResizing)
        OnResizing(*this, item, newStart, newEnd, newLength, accept);
    // The owner may have rebuilt its items from the event.
    if (!guard || box->Item() != item)
        return;
    if (isMove && accept) {
        item->SetStart(newStart);
        item->SetLength(newLength);
    } else if (!isMove && accept) {
        item->SetLength(newLength);
    } else if (isMove) {
        item->SetStart(item->Start());
    } else {
        item->SetLength(item->Length());
    }
    box->update();
}
