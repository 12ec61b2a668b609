#include "platform/widgets/myCustomGrid.h"

#include "platform/SysUtils.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int SizingGrip = 2;

std::vector<int> visibleIndices(const GridAxis &axis, int client)
{
    std::vector<int> indices;
    for (int i = 0; i < axis.fixed && i < axis.count(); ++i) {
        if (axis.start(i, client) >= 0)
            indices.push_back(i);
    }
    for (int i = axis.first; i < axis.count() && axis.start(i, client) >= 0; ++i)
        indices.push_back(i);
    return indices;
}

} // namespace

TmyCustomGrid::TmyCustomGrid(QWidget *parent) : QAbstractScrollArea(parent)
{
    cols_.defaultSize = 64;
    rows_.defaultSize = 24;
    cols_.fixed = rows_.fixed = 1;
    cols_.first = rows_.first = 1;
    cols_.sizes.assign(5, cols_.defaultSize);
    rows_.sizes.assign(5, rows_.defaultSize);
    updateLines();
    clampCurrent();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    // The grid paints every pixel of what it is asked to (cells, lines and the background beside
    // them), so the viewport's own fill beneath would only be painted over.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    updateScrollBars();
}

void TmyCustomGrid::setCount(GridAxis &axis, int value)
{
    value = std::max(value, 1);
    if (value == axis.count())
        return;
    axis.sizes.resize(std::size_t(value), axis.defaultSize);
    axis.fixed = std::min(axis.fixed, value - 1);
    clampCurrent();
    afterGeometryChange();
}

void TmyCustomGrid::SetColCount(int value)
{
    setCount(cols_, value);
}

void TmyCustomGrid::SetRowCount(int value)
{
    setCount(rows_, value);
}

void TmyCustomGrid::setFixed(GridAxis &axis, int value, const char *tooBig)
{
    if (value < 0 || value >= axis.count())
        throw Exception(tooBig);
    if (value == axis.fixed)
        return;
    axis.fixed = value;
    axis.first = std::max(axis.first, value);
    updateLines();
    clampCurrent();
    afterGeometryChange();
}

void TmyCustomGrid::SetFixedCols(int value)
{
    setFixed(cols_, value, "Fixed column count must be less than column count");
}

void TmyCustomGrid::SetFixedRows(int value)
{
    setFixed(rows_, value, "Fixed row count must be less than row count");
}

void TmyCustomGrid::setDefaultSize(GridAxis &axis, int value)
{
    axis.defaultSize = value;
    std::fill(axis.sizes.begin(), axis.sizes.end(), value);
    afterGeometryChange();
}

void TmyCustomGrid::SetDefaultColWidth(int value)
{
    setDefaultSize(cols_, value);
    ColWidthsChanged();
}

void TmyCustomGrid::SetDefaultRowHeight(int value)
{
    setDefaultSize(rows_, value);
    RowHeightsChanged();
}

int TmyCustomGrid::ColWidths(int col) const
{
    return col >= 0 && col < ColCount() ? cols_.sizes[std::size_t(col)] : cols_.defaultSize;
}

void TmyCustomGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= ColCount() || cols_.sizes[std::size_t(col)] == width)
        return;
    cols_.sizes[std::size_t(col)] = std::max(width, 0);
    afterGeometryChange();
    ColWidthsChanged();
}

int TmyCustomGrid::RowHeights(int row) const
{
    return row >= 0 && row < RowCount() ? rows_.sizes[std::size_t(row)] : rows_.defaultSize;
}

void TmyCustomGrid::SetRowHeights(int row, int height)
{
    if (row < 0 || row >= RowCount() || rows_.sizes[std::size_t(row)] == height)
        return;
    rows_.sizes[std::size_t(row)] = std::max(height, 0);
    afterGeometryChange();
    RowHeightsChanged();
}

void TmyCustomGrid::SetGridLineWidth(int value)
{
    gridLineWidth_ = std::max(value, 0);
    updateLines();
    afterGeometryChange();
}

void TmyCustomGrid::SetOptions(TGridOptions value)
{
    options_ = value;
    updateLines();
    afterGeometryChange();
}

void TmyCustomGrid::updateLines()
{
    cols_.fixedLine = options_ & goFixedVertLine ? gridLineWidth_ : 0;
    cols_.line = options_ & goVertLine ? gridLineWidth_ : 0;
    rows_.fixedLine = options_ & goFixedHorzLine ? gridLineWidth_ : 0;
    rows_.line = options_ & goHorzLine ? gridLineWidth_ : 0;
}

void TmyCustomGrid::SetColor(TColor value)
{
    color_ = value;
    Invalidate();
}

void TmyCustomGrid::SetFixedColor(TColor value)
{
    fixedColor_ = value;
    Invalidate();
}

void TmyCustomGrid::SetCol(int value)
{
    moveCurrent(value, current_.Y, false);
    scrollIntoView(current_.X, current_.Y);
}

void TmyCustomGrid::SetRow(int value)
{
    moveCurrent(current_.X, value, false);
    scrollIntoView(current_.X, current_.Y);
}

void TmyCustomGrid::SetSelection(const TGridRect &value)
{
    moveCurrent(std::min(value.Left, value.Right), std::min(value.Top, value.Bottom), false);
    moveCurrent(std::max(value.Left, value.Right), std::max(value.Top, value.Bottom), true);
    std::swap(current_, anchor_);
}

void TmyCustomGrid::clampCurrent()
{
    const auto clampTo = [](int value, const GridAxis &axis) {
        return std::clamp(value, axis.fixed, std::max(axis.fixed, axis.count() - 1));
    };
    const TGridCoord current{clampTo(current_.X, cols_), clampTo(current_.Y, rows_)};
    const TGridRect whole{cols_.fixed, rows_.fixed, ColCount() - 1, RowCount() - 1};
    const bool selectionInside = whole.contains(selection_.Left, selection_.Top) &&
                                 whole.contains(selection_.Right, selection_.Bottom);
    if (current == current_ && selectionInside)
        return;
    current_ = anchor_ = current;
    selection_ = {current.X, current.Y, current.X, current.Y};
}

void TmyCustomGrid::moveCurrent(int col, int row, bool extend)
{
    col = std::clamp(col, cols_.fixed, ColCount() - 1);
    row = std::clamp(row, rows_.fixed, RowCount() - 1);
    current_ = {col, row};
    if (!extend)
        anchor_ = current_;
    selection_ = {std::min(anchor_.X, col), std::min(anchor_.Y, row), std::max(anchor_.X, col),
                  std::max(anchor_.Y, row)};
    Invalidate();
}

void TmyCustomGrid::setFirst(GridAxis &axis, int value, int client)
{
    value = axis.clampFirst(value, client);
    if (value == axis.first)
        return;
    axis.first = value;
    updateScrollBars();
    TopLeftChanged();
    Invalidate();
}

void TmyCustomGrid::SetTopRow(int value)
{
    setFirst(rows_, value, ClientHeight());
}

void TmyCustomGrid::SetLeftCol(int value)
{
    setFirst(cols_, value, ClientWidth());
}

void TmyCustomGrid::scrollIntoView(int col, int row)
{
    const auto firstShowing = [](const GridAxis &axis, int index, int client) {
        if (index < axis.fixed || index < axis.first)
            return std::max(index, axis.fixed);
        int first = axis.first;
        GridAxis probe = axis;
        while (first < index) {
            probe.first = first;
            const int start = probe.start(index, client);
            if (start >= 0 && start + axis.sizes[std::size_t(index)] <= client)
                break;
            ++first;
        }
        return first;
    };
    SetLeftCol(firstShowing(cols_, col, ClientWidth()));
    SetTopRow(firstShowing(rows_, row, ClientHeight()));
}

int TmyCustomGrid::VisibleColCount() const
{
    return cols_.visibleCount(ClientWidth());
}

int TmyCustomGrid::VisibleRowCount() const
{
    return rows_.visibleCount(ClientHeight());
}

int TmyCustomGrid::ClientWidth() const
{
    return viewport()->width();
}

int TmyCustomGrid::ClientHeight() const
{
    return viewport()->height();
}

TGridCoord TmyCustomGrid::MouseCoord(int x, int y) const
{
    return {cols_.indexAt(x, ClientWidth()), rows_.indexAt(y, ClientHeight())};
}

void TmyCustomGrid::MouseToCell(int x, int y, int &col, int &row) const
{
    const TGridCoord coord = MouseCoord(x, y);
    col = coord.X;
    row = coord.Y;
}

QRect TmyCustomGrid::CellRect(int col, int row) const
{
    return BoxRect(col, row, col, row);
}

QRect TmyCustomGrid::BoxRect(int left, int top, int right, int bottom) const
{
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    if (!cols_.span(left, right, ClientWidth(), x0, x1) || !rows_.span(top, bottom, ClientHeight(), y0, y1))
        return {};
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

void TmyCustomGrid::InvalidateCell(int col, int row)
{
    viewport()->update(CellRect(col, row));
}

void TmyCustomGrid::Invalidate()
{
    viewport()->update();
}

void TmyCustomGrid::SetCursor(Qt::CursorShape shape)
{
    cursor_ = shape;
    // The sizing cursor over a header border wins while it shows.
    if (sizing_ == Sizing::None && !overSizingEdge_)
        applyCursor(shape);
}

void TmyCustomGrid::applyCursor(Qt::CursorShape shape)
{
    if (viewport()->cursor().shape() != shape)
        viewport()->setCursor(shape);
}

void TmyCustomGrid::KeyUp(int &key, Qt::KeyboardModifiers shift)
{
    if (OnKeyUp)
        OnKeyUp(*this, key, shift);
}

void TmyCustomGrid::DrawCell(QPainter &canvas, int, int, const QRect &rect, TGridDrawState state)
{
    TColor fill = color_;
    if (state & gdFixed)
        fill = fixedColor_;
    else if (state & gdSelected)
        fill = clHighlight;
    canvas.fillRect(rect, toQColor(fill));
}

bool TmyCustomGrid::SelectCell(int, int)
{
    return true;
}

void TmyCustomGrid::afterGeometryChange()
{
    setFirst(cols_, cols_.first, ClientWidth());
    setFirst(rows_, rows_.first, ClientHeight());
    updateScrollBars();
    Invalidate();
}

void TmyCustomGrid::updateScrollBars()
{
    if (syncingScrollBars_)
        return;
    syncingScrollBars_ = true;
    const auto sync = [](QScrollBar *bar, const GridAxis &axis, int client) {
        bar->setRange(0, axis.maxFirst(client) - axis.fixed);
        bar->setPageStep(std::max(1, axis.visibleCount(client)));
        bar->setValue(axis.first - axis.fixed);
    };
    sync(horizontalScrollBar(), cols_, ClientWidth());
    sync(verticalScrollBar(), rows_, ClientHeight());
    syncingScrollBars_ = false;
}

void TmyCustomGrid::scrollContentsBy(int, int)
{
    if (syncingScrollBars_)
        return;
    SetLeftCol(cols_.fixed + horizontalScrollBar()->value());
    SetTopRow(rows_.fixed + verticalScrollBar()->value());
}

void TmyCustomGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    afterGeometryChange();
}

TGridDrawState TmyCustomGrid::drawStateOf(int col, int row) const
{
    if (col < cols_.fixed || row < rows_.fixed)
        return gdFixed;
    TGridDrawState state = 0;
    const bool focusedCell = col == current_.X && row == current_.Y && hasFocus();
    if (focusedCell)
        state |= gdFocused;
    if (selection_.contains(col, row) && (!focusedCell || options_ & goDrawFocusSelected))
        state |= gdSelected;
    return state;
}

void TmyCustomGrid::paintLines(QPainter &painter, int col, int row, const QRect &cell)
{
    const bool fixed = col < cols_.fixed || row < rows_.fixed;
    const QColor lineColor = toQColor(fixed ? clGray : clSilver);
    const int vertical = cols_.lineAfter(col);
    const int horizontal = rows_.lineAfter(row);
    if (vertical > 0)
        painter.fillRect(cell.x() + cell.width(), cell.y(), vertical, cell.height() + horizontal, lineColor);
    if (horizontal > 0)
        painter.fillRect(cell.x(), cell.y() + cell.height(), cell.width(), horizontal, lineColor);
}

void TmyCustomGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const int clientWidth = ClientWidth();
    const int clientHeight = ClientHeight();
    const std::vector<int> cols = visibleIndices(cols_, clientWidth);
    const std::vector<int> rows = visibleIndices(rows_, clientHeight);
    // Cells paint all of themselves and their lines the gaps: only the rest is background. Scaled,
    // a cell's strokes may leave device pixels at its edges to the background.
    const auto end = [](const GridAxis &axis, const std::vector<int> &shown, int client) {
        return shown.empty() ? 0
                             : axis.start(shown.back(), client) + axis.sizes[std::size_t(shown.back())] +
                                   axis.lineAfter(shown.back());
    };
    const bool unscaled = painter.deviceTransform().type() <= QTransform::TxTranslate;
    const QRect cellArea = unscaled ? QRect(0, 0, end(cols_, cols, clientWidth), end(rows_, rows, clientHeight))
                                    : QRect();
    for (const QRect &background : QRegion(event->rect()).subtracted(cellArea))
        painter.fillRect(background, toQColor(color_));
    for (int row : rows) {
        const int y = rows_.start(row, clientHeight);
        const int height = rows_.sizes[std::size_t(row)];
        for (int col : cols) {
            const QRect cell(cols_.start(col, clientWidth), y, cols_.sizes[std::size_t(col)], height);
            if (!event->rect().intersects(cell.adjusted(0, 0, gridLineWidth_, gridLineWidth_)))
                continue;
            painter.save();
            DrawCell(painter, col, row, cell, drawStateOf(col, row));
            painter.restore();
            paintLines(painter, col, row, cell);
        }
    }
}

bool TmyCustomGrid::sizingEdgeAt(const QPoint &pos, Sizing &kind, int &index) const
{
    const auto edgeNear = [](const GridAxis &axis, int position, int client) {
        for (int i : visibleIndices(axis, client)) {
            const int edge = axis.start(i, client) + axis.sizes[std::size_t(i)];
            if (std::abs(position - edge) <= SizingGrip)
                return i;
        }
        return -1;
    };
    if (options_ & goColSizing && pos.y() >= 0 && pos.y() < rows_.fixedExtent()) {
        index = edgeNear(cols_, pos.x(), ClientWidth());
        kind = Sizing::Column;
        if (index >= 0)
            return true;
    }
    if (options_ & goRowSizing && pos.x() >= 0 && pos.x() < cols_.fixedExtent()) {
        index = edgeNear(rows_, pos.y(), ClientHeight());
        kind = Sizing::Row;
        if (index >= 0)
            return true;
    }
    kind = Sizing::None;
    return false;
}

void TmyCustomGrid::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    Sizing kind;
    int index = 0;
    if (sizingEdgeAt(pos, kind, index)) {
        sizing_ = kind;
        sizingIndex_ = index;
        sizingOrigin_ = kind == Sizing::Column ? cols_.start(index, ClientWidth())
                                                : rows_.start(index, ClientHeight());
        return;
    }
    const TGridCoord cell = MouseCoord(pos.x(), pos.y());
    if (cell.X < cols_.fixed || cell.Y < rows_.fixed || !SelectCell(cell.X, cell.Y))
        return;
    const bool rangeSelect = options_ & goRangeSelect;
    moveCurrent(cell.X, cell.Y, rangeSelect && event->modifiers() & Qt::ShiftModifier);
    selecting_ = rangeSelect;
}

void TmyCustomGrid::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (sizing_ == Sizing::Column) {
        SetColWidths(sizingIndex_, pos.x() - sizingOrigin_);
        return;
    }
    if (sizing_ == Sizing::Row) {
        SetRowHeights(sizingIndex_, pos.y() - sizingOrigin_);
        return;
    }
    if (selecting_ && event->buttons() & Qt::LeftButton) {
        const TGridCoord cell = MouseCoord(pos.x(), pos.y());
        if (cell.X >= cols_.fixed && cell.Y >= rows_.fixed && cell != current_ && SelectCell(cell.X, cell.Y))
            moveCurrent(cell.X, cell.Y, true);
        return;
    }
    Sizing kind;
    int index = 0;
    overSizingEdge_ = sizingEdgeAt(pos, kind, index);
    if (overSizingEdge_)
        applyCursor(kind == Sizing::Column ? Qt::SplitHCursor : Qt::SplitVCursor);
    else
        applyCursor(cursor_);
}

void TmyCustomGrid::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    sizing_ = Sizing::None;
    selecting_ = false;
}

void TmyCustomGrid::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    if (OnKeyDown)
        OnKeyDown(*this, key, event->modifiers());
    int col = current_.X;
    int row = current_.Y;
    // The focused grid takes every key, so that the window holding it sees none of them.
    event->accept();
    switch (key) {
    case 0:
        return;
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    default:
        if (OnKeyPress && !event->text().isEmpty()) {
            QChar character = event->text().front();
            OnKeyPress(*this, character);
        }
        return;
    }
    col = std::clamp(col, cols_.fixed, ColCount() - 1);
    row = std::clamp(row, rows_.fixed, RowCount() - 1);
    if (!SelectCell(col, row))
        return;
    moveCurrent(col, row, options_ & goRangeSelect && event->modifiers() & Qt::ShiftModifier);
    scrollIntoView(col, row);
}

void TmyCustomGrid::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
    if (event->isAutoRepeat())
        return;
    int key = event->key();
    KeyUp(key, event->modifiers());
}

void TmyCustomGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    Invalidate();
    if (OnEnter)
        OnEnter(*this);
}

void TmyCustomGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    Invalidate();
    if (OnExit)
        OnExit(*this);
}

void TmyCustomGrid::contextMenuEvent(QContextMenuEvent *event)
{
    if (!popupMenu_) {
        event->ignore();
        return;
    }
    event->accept();
    popupMenu_->popup(event->globalPos());
}
