#include "calendar/CalendarGrid.h"

#include "calendar/CalendarObj.h"
#include "calendar/WordCache.h"
#include "platform/SysUtils.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <utility>

namespace {

const QString DayNames[7] = {QStringLiteral("Hétfő"),  QStringLiteral("Kedd"),   QStringLiteral("Szerda"),
                             QStringLiteral("Csütörtök"), QStringLiteral("Péntek"), QStringLiteral("Szombat"),
                             QStringLiteral("Vasárnap")};

constexpr TColor DayCellBottomLine = clGray;

QRect ltrb(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// Lines leave out their end point, so that adjacent cells share no pixel. Straight ones are
// filled: the same pixels at a fraction of what stroking costs. Scaled, a stroke stands half a
// pixel off the fill, so there they are stroked still.
void lineTo(QPainter &canvas, const QColor &color, int x1, int y1, int x2, int y2)
{
    const bool vertical = x1 == x2 && y1 != y2;
    const bool horizontal = y1 == y2 && x1 != x2;
    if (vertical)
        y2 += y2 > y1 ? -1 : 1;
    else if (horizontal)
        x2 += x2 > x1 ? -1 : 1;
    if ((vertical || horizontal) && WholePixelScale(canvas) == 1) {
        const QPoint from(std::min(x1, x2), std::min(y1, y2));
        canvas.fillRect(QRect(from, QPoint(std::max(x1, x2), std::max(y1, y2))), color);
        return;
    }
    canvas.setPen(QPen(color, 1));
    canvas.drawLine(x1, y1, x2, y2);
}

} // namespace

TveltoCalendar::TveltoCalendar(QWidget *parent)
    : TmyCustomGrid(parent), items_(std::make_unique<TCalendarItems>(this)),
      boxControl_(new TveltoCalendarBoxControl(viewport()))
{
    columnDays_.fill(-1);
    dayColumns_.fill(-1);
    // The labels of the preset rows are 17 characters long and must fit the 100-pixel time column.
    QFont labels = font();
    labels.setPointSize(8);
    setFont(labels);
    SetBGColor(0x40C0C0);
    SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect |
               goDrawFocusSelected | goRowSizing | goColSizing);
    SetFixedCols(1);
    SetFixedRows(1);
    SetDefaultRowHeight(20);
    SetDefaultColWidth(120);
    SetGridLineWidth(0);
    SetScale(60);
    // A new calendar shows one time row; its owner sets the scale or the rows it wants.
    SetRowCount(2);
    SetHetek(1);
}

TveltoCalendar::~TveltoCalendar()
{
    // The items go first, without telling a calendar that is half gone.
    items_->calendar_ = nullptr;
    items_.reset();
}

void TveltoCalendar::SetColor(TColor value)
{
    dayColor_ = value;
    Invalidate();
}

void TveltoCalendar::SetSelColor(TColor value)
{
    selColor_ = value;
    Invalidate();
}

void TveltoCalendar::SetDays(TveltoCalendarDays value)
{
    columnDays_.fill(-1);
    dayColumns_.fill(-1);
    int columns = 0;
    for (int d = 1; d <= hetek_ * 7; ++d) {
        if (value.contains(TveltoCalendarDay((d - 1) % 7))) {
            columnDays_[std::size_t(++columns)] = d + 1;
            dayColumns_[std::size_t(d + 1)] = columns;
        }
    }
    if (columns == 0)
        throw Exception("Nincs kiválasztva Nap!");
    SetColCount(FixedCols() + columns);
    days_ = value;
    // Boxes follow their days to the new columns.
    LayoutItems(nullptr);
    Invalidate();
}

void TveltoCalendar::SetHetek(int value)
{
    hetek_ = std::clamp(value, 1, MaxWeeks);
    SetDays(days_);
}

void TveltoCalendar::SetScale(int value)
{
    ++rebuildingRows_;
    if (value >= 0) {
        scale_ = std::clamp(value, 5, 1440);
        while (1440 % scale_ != 0)
            ++scale_;
        SetRowCount(1440 / scale_ + 1);
        SetFixedRows(1);
        rows_.clear();
        for (int start = 0; start < 1440; start += scale_) {
            const QString label = QString::asprintf("%2d:%2d", start / 60, start % 60).replace(' ', '0');
            rows_.push_back({start, scale_, label});
        }
    } else {
        scale_ = -1;
        rows_.clear();
        SetRowCount(1);
        SetFixedRows(0);
        for (TCustomCalendarItem *item : *items_) {
            if (TveltoCalendarObj *box = item->Obj()) {
                box->hide();
                box->SetCellRange({});
            }
        }
    }
    --rebuildingRows_;
    Update();
}

void TveltoCalendar::AddRow(int start, int length, const QString &label)
{
    if (start < 0) {
        Update();
        return;
    }
    // The record comes first so that the mapping never sees a row without one.
    rows_.push_back({start, length, label.left(17)});
    ++rebuildingRows_;
    SetRowCount(RowCount() + 1);
    SetFixedRows(1);
    --rebuildingRows_;
}

void TveltoCalendar::SetCaption(const QString &value)
{
    caption_ = value;
    InvalidateCell(0, 0);
}

void TveltoCalendar::SetItemPopupMenu(QMenu *menu)
{
    itemPopupMenu_ = menu;
    for (TCustomCalendarItem *item : *items_) {
        if (item->Obj())
            item->Obj()->SetPopupMenu(menu);
    }
}

void TveltoCalendar::SetVonalzoBal(int value)
{
    vonalzoBal_ = std::max(value, 0);
    Update();
}

void TveltoCalendar::SetVonalzoJobb(int value)
{
    vonalzoJobb_ = std::max(value, 0);
    Update();
}

int TveltoCalendar::ColumnOfDay(int day) const
{
    if (day >= 0 && day < int(dayColumns_.size()))
        return dayColumns_[std::size_t(day)];
    // Columns without a day hold -1 as well.
    for (int col = 1; col <= MaxDayColumns; ++col) {
        if (columnDays_[std::size_t(col)] == day)
            return col;
    }
    return -1;
}

int TveltoCalendar::DayOfColumn(int col) const
{
    if (col < 1 || col > MaxDayColumns)
        throw ERangeError("Range check error");
    return columnDays_[std::size_t(col)];
}

bool TveltoCalendar::isDayColumn(int col) const
{
    return col >= FixedCols() && col < ColCount() && col >= 1 && col <= MaxDayColumns &&
           columnDays_[std::size_t(col)] >= 0;
}

const TveltoCalendarRow *TveltoCalendar::rowRecord(int row) const
{
    const int index = row - FixedRows();
    return index >= 0 && index < int(rows_.size()) ? &rows_[std::size_t(index)] : nullptr;
}

int TveltoCalendar::RowStartMinute(int row) const
{
    if (scale_ > 0)
        return (row - FixedRows()) * scale_;
    const TveltoCalendarRow *record = rowRecord(row);
    return record ? record->Start : -1;
}

int TveltoCalendar::RowEndMinute(int row) const
{
    if (scale_ > 0)
        return (row - FixedRows() + 1) * scale_;
    const TveltoCalendarRow *record = rowRecord(row);
    return record ? record->Start + record->Length : -1;
}

int TveltoCalendar::RowOfStartMinute(int minute) const
{
    if (scale_ > 0)
        return minute / scale_ + FixedRows();
    for (int row = FixedRows(); row < RowCount(); ++row) {
        const int start = RowStartMinute(row);
        if (minute >= start - 1 && minute <= start + 1)
            return row;
        if (start > 0 && minute <= start + 1)
            return row - 1;
    }
    // Past the last row's start: inside that row still, beyond its end no row.
    const int last = RowCount() - 1;
    return rowRecord(last) && minute < RowEndMinute(last) ? last : -1;
}

int TveltoCalendar::RowOfEndMinute(int minute) const
{
    if (scale_ > 0)
        return (minute - 1) / scale_ + FixedRows();
    int upper = 1439;
    for (int row = RowCount() - 1; row >= FixedRows(); --row) {
        const int start = RowStartMinute(row);
        if (start < minute && minute <= upper)
            return row;
        upper = start;
    }
    return -1;
}

void TveltoCalendar::Update()
{
    LayoutItems(nullptr);
    Invalidate();
}

void TveltoCalendar::itemChanged(TCustomCalendarItem *item)
{
    LayoutItems(item);
}

void TveltoCalendar::releaseBox(TveltoCalendarObj &box)
{
    if (boxControl_->Box() != &box)
        return;
    // Hidden with the focus, the control would hand it on to the next control in the chain.
    if (boxControl_->hasFocus())
        moveFocusQuietly(*this);
    boxControl_->SetBox(nullptr);
    // The box is drawn with the cells again.
    repaintBox(box);
}

void TveltoCalendar::moveFocusQuietly(QWidget &to)
{
    boxFocusQuiet_ = true;
    to.setFocus(Qt::OtherFocusReason);
    boxFocusQuiet_ = false;
}

void TveltoCalendar::focusBox(TveltoCalendarObj &box)
{
    // As a hidden control, a box not drawn takes no focus.
    if (box.isHidden())
        return;
    TveltoCalendarObj *before = boxControl_->Box();
    const bool focused = boxControl_->hasFocus();
    if (before == &box) {
        if (!focused)
            boxControl_->setFocus(Qt::MouseFocusReason);
        return;
    }
    // The control keeps the focus while it goes over to another box: the boxes leave and enter
    // it themselves, as two controls would.
    QPointer<TveltoCalendarObj> guard(&box);
    if (focused && before)
        before->FocusOut();
    if (!guard || box.isHidden())
        return;
    boxControl_->SetBox(&box);
    if (before)
        repaintBox(*before);
    if (focused)
        box.FocusIn();
    else
        boxControl_->setFocus(Qt::MouseFocusReason);
}

void TveltoCalendar::repaintBox(const TveltoCalendarObj &box)
{
    if (boxControl_->Box() == &box)
        boxControl_->update();
    if (boxRepaints_ > FewBoxes)
        return;
    if (++boxRepaints_ > FewBoxes)
        viewport()->update();
    else
        viewport()->update(box.geometry());
}

void TveltoCalendar::raiseBox(TveltoCalendarObj &box)
{
    raisedBox_ = &box;
    repaintBox(box);
}

void TveltoCalendar::boxMoved(TveltoCalendarObj &box)
{
    if (boxControl_->Box() == &box)
        boxControl_->Follow();
}

TveltoCalendarObj *TveltoCalendar::boxAt(const QPoint &pos) const
{
    const auto drawnAt = [&pos](const TveltoCalendarObj *box) {
        return box && !box->isHidden() && box->geometry().contains(pos);
    };
    if (drawnAt(raisedBox_))
        return raisedBox_;
    // Later boxes are drawn over earlier ones.
    for (int i = items_->Count() - 1; i >= 0; --i) {
        TveltoCalendarObj *box = items_->Items(i)->Obj();
        if (drawnAt(box))
            return box;
    }
    return nullptr;
}

void TveltoCalendar::paintEvent(QPaintEvent *event)
{
    boxRepaints_ = 0;
    TmyCustomGrid::paintEvent(event);
    QPainter canvas(viewport());
    paintBoxes(canvas, event->region());
}

void TveltoCalendar::paintBoxes(QPainter &canvas, const QRegion &area) const
{
    // The box under the box control is drawn by the control.
    const TveltoCalendarObj *covered = boxControl_->isVisible() ? boxControl_->Box() : nullptr;
    const auto paint = [&](const TveltoCalendarObj &box) {
        if (box.isHidden() || &box == covered || !area.intersects(box.geometry()))
            return;
        canvas.save();
        canvas.translate(box.geometry().topLeft());
        box.Paint(canvas);
        canvas.restore();
    };
    for (TCustomCalendarItem *item : *items_) {
        if (item->Obj() && item->Obj() != raisedBox_)
            paint(*item->Obj());
    }
    if (raisedBox_)
        paint(*raisedBox_);
}

bool TveltoCalendar::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        if (const TveltoCalendarObj *box = boxAt(help->pos())) {
            if (box->toolTip().isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), box->toolTip(), viewport(), box->geometry());
            return true;
        }
    }
    return TmyCustomGrid::viewportEvent(event);
}

bool TveltoCalendar::SelectCell(int, int)
{
    return true;
}

void TveltoCalendar::ColWidthsChanged()
{
    LayoutItems(nullptr);
}

void TveltoCalendar::RowHeightsChanged()
{
    LayoutItems(nullptr);
}

void TveltoCalendar::TopLeftChanged()
{
    LayoutItems(nullptr);
}

void TveltoCalendar::resizeEvent(QResizeEvent *event)
{
    TmyCustomGrid::resizeEvent(event);
    // Cells that come into view at the edges get their boxes.
    LayoutItems(nullptr);
}

void TveltoCalendar::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    // A press on a box never selects the cells beneath it; the mouse stays with the box.
    mouseBox_ = boxAt(pos);
    mouseOnBox_ = mouseBox_;
    if (mouseOnBox_) {
        event->accept();
        mouseBox_->MouseDown(event->button(), event->modifiers(), pos);
        return;
    }
    TmyCustomGrid::mousePressEvent(event);
    currentColumn_ = Selection().Left;
    Invalidate();
}

void TveltoCalendar::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (mouseOnBox_) {
        event->accept();
        if (mouseBox_)
            mouseBox_->MouseMove(pos);
        return;
    }
    TmyCustomGrid::mouseMoveEvent(event);
    updateMarginCursor(pos);
}

void TveltoCalendar::mouseReleaseEvent(QMouseEvent *event)
{
    if (!mouseOnBox_) {
        TmyCustomGrid::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    mouseOnBox_ = false;
    if (QPointer<TveltoCalendarObj> box = std::exchange(mouseBox_, nullptr))
        box->MouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void TveltoCalendar::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    mouseBox_ = boxAt(pos);
    mouseOnBox_ = mouseBox_;
    if (!mouseOnBox_) {
        TmyCustomGrid::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    mouseBox_->MouseDoubleClick(event->button(), event->modifiers(), pos);
}

void TveltoCalendar::contextMenuEvent(QContextMenuEvent *event)
{
    const TveltoCalendarObj *box = boxAt(event->pos());
    if (!box || !box->PopupMenu()) {
        TmyCustomGrid::contextMenuEvent(event);
        return;
    }
    event->accept();
    box->PopupMenu()->popup(event->globalPos());
}

void TveltoCalendar::updateMarginCursor(const QPoint &pos)
{
    const TGridCoord cell = MouseCoord(pos.x(), pos.y());
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (cell.X >= 1 && cell.Y >= 1 && !boxAt(pos)) {
        const QRect rect = CellRect(cell.X, cell.Y);
        const int left = rect.x();
        const int right = rect.x() + rect.width();
        const int x = pos.x();
        if (vonalzoBal_ > 0 && x == left + vonalzoBal_)
            shape = Qt::SplitHCursor;
        else if (vonalzoBal_ > 0 && x >= left && x < left + vonalzoBal_)
            shape = Qt::CrossCursor;
        else if (vonalzoJobb_ > 0 && x == right - vonalzoJobb_)
            shape = Qt::SplitHCursor;
        else if (vonalzoJobb_ > 0 && x > right - vonalzoJobb_ && x <= right)
            shape = Qt::CrossCursor;
    }
    SetCursor(shape);
}

QString TveltoCalendar::ColumnHeader(int col) const
{
    const int day = col >= 1 && col <= MaxDayColumns ? columnDays_[std::size_t(col)] : -1;
    if (day < 2)
        return {};
    const int week = (day - 2) / 7;
    const QString name = DayNames[(day - 2) % 7];
    return week == 0 ? name : QStringLiteral("%1:%2").arg(week + 1).arg(name);
}

void TveltoCalendar::DrawCell(QPainter &canvas, int col, int row, const QRect &rect, TGridDrawState state)
{
    if (state & gdFixed)
        drawFixedCell(canvas, col, row, rect);
    else
        drawDayCell(canvas, col, rect, state);
}

void TveltoCalendar::drawFixedCell(QPainter &canvas, int col, int row, const QRect &rect)
{
    const int left = rect.x();
    const int top = rect.y();
    const int right = rect.x() + rect.width();
    const int bottom = rect.y() + rect.height();
    QString text;
    TColor fill = FixedColor();
    if (row == 0 && col >= 1) {
        const int day = col <= MaxDayColumns ? columnDays_[std::size_t(col)] : -1;
        if (day >= 2 && (day - 2) % 7 == 6)
            fill = clWhite;
        text = ColumnHeader(col);
    } else if (col == 0 && row >= 1) {
        if (const TveltoCalendarRow *record = rowRecord(row))
            text = record->Label.rightJustified(5);
    } else if (col == 0 && row == 0) {
        text = caption_;
    }
    canvas.fillRect(ltrb(left, top, right - 1, bottom), toQColor(fill));
    const QColor black(Qt::black);
    lineTo(canvas, black, right - 1, top, right - 1, bottom);
    lineTo(canvas, black, left, bottom - 1, right, bottom - 1);
    canvas.setPen(black);
    if (text.isEmpty())
        return;
    canvas.setClipRect(ltrb(left, top, right - 1, bottom - 1));
    // Shaped once: the same labels and weekdays come back at every paint.
    static WordCache labels;
    // A label wider than its cell is narrowed rather than cut: the end time matters as much.
    const int room = right - 1 - (left + 3);
    const int width = labels.width(canvas, canvas.fontMetrics(), text);
    if (width > room && room > 0) {
        QFont narrow = canvas.font();
        narrow.setStretch(std::max(50, room * 100 / width));
        canvas.setFont(narrow);
        canvas.drawText(left + 3, top + 3 + canvas.fontMetrics().ascent(), text);
        return;
    }
    canvas.drawStaticText(left + 3, top + 3, labels.text(canvas, text));
}

void TveltoCalendar::drawDayCell(QPainter &canvas, int col, const QRect &rect, TGridDrawState state)
{
    const int left = rect.x();
    const int top = rect.y();
    const int right = rect.x() + rect.width();
    const int bottom = rect.y() + rect.height();
    const QColor white = toQColor(clWhite);
    if (vonalzoBal_ > 0)
        canvas.fillRect(ltrb(left, top, left + vonalzoBal_, bottom), white);
    if (vonalzoJobb_ > 0)
        canvas.fillRect(ltrb(right - vonalzoJobb_ - 1, top, right, bottom), white);
    const QColor black(Qt::black);
    if (vonalzoBal_ > 0)
        lineTo(canvas, black, left + vonalzoBal_ - 1, top, left + vonalzoBal_ - 1, bottom);
    if (vonalzoJobb_ > 0)
        lineTo(canvas, black, right - vonalzoJobb_ - 1, top, right - vonalzoJobb_ - 1, bottom);
    lineTo(canvas, black, right - 1, top, right - 1, bottom);
    lineTo(canvas, toQColor(DayCellBottomLine), left + vonalzoBal_, bottom - 1, right - vonalzoJobb_ - 1, bottom - 1);

    const bool selected = state & gdSelected && col == currentColumn_;
    const QColor inner = toQColor(selected ? selColor_ : dayColor_);
    canvas.fillRect(ltrb(left + vonalzoBal_, top, right - vonalzoJobb_ - 1, bottom - 1), inner);
    if (!selected)
        return;
    if (vonalzoBal_ - 1 > 0)
        canvas.fillRect(ltrb(left, top - 1, left + vonalzoBal_ - 1, bottom), inner);
    if (vonalzoJobb_ - 1 > 0)
        canvas.fillRect(ltrb(right - vonalzoJobb_, top - 1, right - 1, bottom), inner);
}
