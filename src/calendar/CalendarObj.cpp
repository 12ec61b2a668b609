#include "calendar/CalendarObj.h"

#include "calendar/CalendarGrid.h"
#include "calendar/CalendarItem.h"

#include <QContextMenuEvent>
#include <QHash>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScopeGuard>

#include <cstdlib>

namespace {

// Pixels the pointer travels from the press before a Ctrl-drag starts moving the box.
constexpr int MoveThreshold = 4;

// Widths of the words last drawn, in the font and resolution they were drawn in: the same words
// (codes, names, rooms) come back box after box, and measuring a word shapes it anew.
class WordWidths
{
public:
    int of(const QPainter &canvas, const QFontMetrics &metrics, const QString &word)
    {
        const int dpi = canvas.device() ? canvas.device()->logicalDpiY() : 0;
        if (canvas.font() != font_ || dpi != dpi_ || widths_.size() >= MaxWords) {
            widths_.clear();
            font_ = canvas.font();
            dpi_ = dpi;
        }
        const auto found = widths_.constFind(word);
        if (found != widths_.constEnd())
            return *found;
        const int width = metrics.horizontalAdvance(word);
        widths_.insert(word, width);
        return width;
    }

private:
    static constexpr qsizetype MaxWords = 20000;
    QFont font_;
    int dpi_ = 0;
    QHash<QString, int> widths_;
};

} // namespace

TveltoCalendarObj::TveltoCalendarObj(QWidget *parent) : QWidget(parent)
{
    // Focus comes from the press handler only, so a read-only calendar does not select on press.
    setFocusPolicy(Qt::TabFocus);
    // Not marked opaque, though the box paints all of itself: Qt cuts every opaque sibling out of
    // the area left to paint, which makes painting a full calendar quadratic.
}

TveltoCalendar *TveltoCalendarObj::Calendar() const
{
    // Boxes lie on the calendar's viewport, where its cells are painted.
    QWidget *parent = parentWidget();
    if (auto *calendar = dynamic_cast<TveltoCalendar *>(parent))
        return calendar;
    return parent ? dynamic_cast<TveltoCalendar *>(parent->parentWidget()) : nullptr;
}

bool TveltoCalendarObj::event(QEvent *event)
{
    // A deferred delete ends the box: nothing of it may be touched once it is handled.
    if (event->type() == QEvent::DeferredDelete)
        return QWidget::event(event);
    ++handling_;
    const auto done = qScopeGuard([this] { --handling_; });
    return QWidget::event(event);
}

void TveltoCalendarObj::Clear()
{
    item_ = nullptr;
    if (!isHidden())
        hide();
    OnClick = nullptr;
    OnDblClick = nullptr;
    caption_.clear();
    cellRange_ = {};
    dragMode_ = dmNone;
    moved_ = false;
    skipMouseDown_ = false;
    unsetCursor();
    if (!toolTip().isEmpty())
        setToolTip(QString());
}

void TveltoCalendarObj::SetCaption(const QString &value)
{
    if (caption_ == value)
        return;
    caption_ = value;
    update();
}

// An unchanged value repaints nothing: owners set the colours of every item at each course
// selection, and repainting every box is what that would cost.
void TveltoCalendarObj::SetColor(TColor value)
{
    if (color_ == value)
        return;
    color_ = value;
    update();
}

void TveltoCalendarObj::SetSelBGColor(TColor value)
{
    if (selBGColor_ == value)
        return;
    selBGColor_ = value;
    update();
}

void TveltoCalendarObj::SetBGColor(TColor value)
{
    if (bgColor_ == value)
        return;
    bgColor_ = value;
    update();
}

void TveltoCalendarObj::SetSelect(bool value)
{
    if (select_ == value)
        return;
    select_ = value;
    update();
}

TGridCoord TveltoCalendarObj::cellUnder(const QPoint &pos) const
{
    const QPoint onGrid = pos + geometry().topLeft();
    return Calendar()->MouseCoord(onGrid.x(), onGrid.y());
}

bool TveltoCalendarObj::moveStarted(const QPoint &pos, const TGridCoord &cell) const
{
    const QPoint travel = pos + geometry().topLeft() - downPos_;
    return cell.X != downCol_ || cell.Y != downRow_ || std::abs(travel.x()) > MoveThreshold ||
           std::abs(travel.y()) > MoveThreshold;
}

void TveltoCalendarObj::Click()
{
    setFocus(Qt::MouseFocusReason);
    if (OnClick)
        OnClick(*this);
}

void TveltoCalendarObj::DblClick()
{
    TveltoCalendar *calendar = Calendar();
    if (calendar) {
        skipMouseDown_ = true;
        setFocus(Qt::MouseFocusReason);
    }
    if (OnDblClick)
        OnDblClick(*this);
    if (!calendar)
        return;
    dragMode_ = dmNone;
    unsetCursor();
    if (calendar->OnDetails && item_)
        calendar->OnDetails(*calendar, item_);
}

void TveltoCalendarObj::DoEnter()
{
    update();
    TveltoCalendar *calendar = Calendar();
    if (!calendar)
        return;
    TCustomCalendarItem *before = calendar->SelectedItem();
    calendar->SetSelectedItem(item_);
    if (before && before != item_ && before->Obj())
        before->Obj()->update();
    if (calendar->OnDetails && item_)
        calendar->OnDetails(*calendar, item_);
}

void TveltoCalendarObj::DoExit()
{
    dragMode_ = dmNone;
    update();
}

bool TveltoCalendarObj::focusQuiet() const
{
    const TveltoCalendar *calendar = Calendar();
    return calendar && calendar->BoxFocusQuiet();
}

void TveltoCalendarObj::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (focusQuiet())
        update();
    else
        DoEnter();
}

void TveltoCalendarObj::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (focusQuiet())
        update();
    else
        DoExit();
}

void TveltoCalendarObj::mousePressEvent(QMouseEvent *event)
{
    // Taken here, so that a press on a box never selects the cells beneath it.
    event->accept();
    TveltoCalendar *calendar = Calendar();
    if (!calendar || calendar->ReadOnly())
        return;
    if (skipMouseDown_) {
        skipMouseDown_ = false;
        return;
    }
    setFocus(Qt::MouseFocusReason);
    dragMode_ = dmNone;
    moved_ = false;
    if (!item_)
        return;
    const QPoint pos = event->position().toPoint();
    const TGridCoord cell = cellUnder(pos);
    if (cell.X < 1 || cell.Y < 1 || event->button() != Qt::LeftButton || calendar->Scale() > 0)
        return;
    if (event->modifiers() & Qt::ControlModifier)
        dragMode_ = dmMove;
    else if (event->modifiers() & Qt::ShiftModifier)
        dragMode_ = dmResize;
    else
        return;
    downCol_ = cell.X;
    downRow_ = cell.Y;
    downPos_ = pos + geometry().topLeft();
    raise();
    setCursor(dragMode_ == dmResize ? Qt::SizeVerCursor : Qt::DragMoveCursor);
    update();
}

void TveltoCalendarObj::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    TveltoCalendar *calendar = Calendar();
    if (!calendar || calendar->ReadOnly() || dragMode_ == dmNone)
        return;
    const QPoint pos = event->position().toPoint();
    const TGridCoord cell = cellUnder(pos);
    if (dragMode_ == dmMove && (moved_ || moveStarted(pos, cell))) {
        moved_ = true;
        calendar->MoveResizeItem(cell.X - downCol_, cell.Y - downRow_, false, this, true);
    } else if (dragMode_ == dmResize) {
        calendar->MoveResizeItem(0, cell.Y - downRow_, false, this, false);
    }
}

void TveltoCalendarObj::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    TveltoCalendar *calendar = Calendar();
    if (!calendar)
        return;
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(pos))
        Click();
    if (calendar->ReadOnly() || dragMode_ == dmNone) {
        if (calendar->OnClick && item_)
            calendar->OnClick(*calendar, item_);
        return;
    }
    const TGridCoord cell = cellUnder(pos);
    const int mode = dragMode_;
    dragMode_ = dmNone;
    if (mode == dmMove && moved_)
        calendar->MoveResizeItem(cell.X - downCol_, cell.Y - downRow_, true, this, true);
    else if (mode == dmResize)
        calendar->MoveResizeItem(0, cell.Y - downRow_, true, this, false);
    moved_ = false;
    unsetCursor();
    update();
}

void TveltoCalendarObj::mouseDoubleClickEvent(QMouseEvent *event)
{
    QPointer<TveltoCalendarObj> self(this);
    DblClick();
    // The press that comes with the double click; the flag set above makes it start nothing.
    if (self)
        mousePressEvent(event);
}

void TveltoCalendarObj::keyPressEvent(QKeyEvent *event)
{
    // The focused box takes its keys, as any focused control does; they move no grid cell.
    event->accept();
}

void TveltoCalendarObj::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
    TveltoCalendar *calendar = Calendar();
    if (!calendar || event->isAutoRepeat())
        return;
    int key = event->key();
    calendar->KeyUp(key, event->modifiers());
}

void TveltoCalendarObj::contextMenuEvent(QContextMenuEvent *event)
{
    if (!popupMenu_) {
        event->ignore();
        return;
    }
    event->accept();
    popupMenu_->popup(event->globalPos());
}

void TveltoCalendarObj::paintEvent(QPaintEvent *)
{
    TveltoCalendar *calendar = Calendar();
    if (!calendar)
        return;
    QPainter canvas(this);
    const int w = width();
    const int h = height();
    const bool highlighted = hasFocus() || (item_ && calendar->SelectedItem() == item_);
    const QColor background = toQColor(select_ ? selBGColor_ : bgColor_);

    // Frame, background and the line beside the strip as filled areas: stroked, they were the
    // dearest part of painting a box.
    canvas.fillRect(rect(), Qt::black);
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    if (dragMode_ == dmNone) {
        canvas.fillRect(inside, background);
    } else {
        // The hatch lets the cells' colour show through between its lines, as on a drag image.
        canvas.fillRect(inside, toQColor(clBtnFace));
        canvas.fillRect(inside, QBrush(background, Qt::DiagCrossPattern));
    }
    canvas.fillRect(QRect(5, 1, 1, h - 1), Qt::black);
    if (dragMode_ != dmNone) {
        canvas.setPen(QPen(toQColor(color_), 5));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(0, 0, w - 1, h - 1);
    }
    canvas.fillRect(QRect(2, 2, 2, h - 4), toQColor(highlighted ? clBlue : clWhite));

    canvas.setPen(Qt::black);
    // The text area only places the words; a letter or line running past it may still use the
    // rest of the box, else a narrow box shows half letters.
    canvas.setClipRect(inside);
    const QRect textArea(7, 2, w - 14, h - 6);
    DrawRotatedText(canvas, textArea, caption_, 8, w - 9 > h - 5 ? 0 : 90);
}

void DrawRotatedText(QPainter &canvas, const QRect &rect, const QString &text, int size, int angle)
{
    canvas.save();
    // Made once per size: resolving a font by name at every box painted is a good part of it.
    static QHash<int, QFont> fonts;
    auto found = fonts.find(size);
    if (found == fonts.end()) {
        QFont font(QStringLiteral("Times New Roman"));
        font.setPointSize(size);
        found = fonts.insert(size, font);
    }
    canvas.setFont(*found);
    canvas.setBackgroundMode(Qt::TransparentMode);
    DrawWrappedText(canvas, rect, angle != 0, text);
    canvas.restore();
}

void DrawWrappedText(QPainter &canvas, const QRect &rect, bool rotated, const QString &text)
{
    static WordWidths wordWidths;
    const QFontMetrics metrics = canvas.fontMetrics();
    const auto widthOf = [&](const QString &word) { return wordWidths.of(canvas, metrics, word); };
    const int lineHeight = metrics.height();
    const int left = rect.x();
    const int top = rect.y();
    const int right = rect.x() + rect.width();
    const int bottom = rect.y() + rect.height();
    int x = left;
    int y = rotated ? bottom : top;
    const auto tooLong = [&](int width) { return rotated ? y + 2 - width < top : x - 2 + width > right; };

    QString rest = text;
    while (!rest.isEmpty()) {
        // Lines that start past the area would be clipped away entirely.
        if (rotated ? x >= right : y >= bottom)
            break;
        const int blank = rest.indexOf(QLatin1Char(' '));
        const qsizetype take = blank < 0 ? rest.size() : blank + 1;
        QString word = rest.left(take);
        rest.remove(0, take);
        // Measured once per word and again only when the word is cut: measuring is most of
        // what drawing a box costs.
        int width = widthOf(word);
        if (tooLong(width)) {
            if (rotated) {
                if (y != bottom)
                    x += lineHeight;
                y = bottom;
            } else {
                if (x != left)
                    y += lineHeight;
                x = left;
            }
            while (word.size() > 1 && tooLong(width)) {
                rest.prepend(word.back());
                word.chop(1);
                width = widthOf(word);
            }
        }
        if (rotated) {
            canvas.save();
            canvas.translate(x, y);
            canvas.rotate(-90);
            canvas.drawText(0, metrics.ascent(), word);
            canvas.restore();
            y -= width;
        } else {
            canvas.drawText(x, y + metrics.ascent(), word);
            x += width;
        }
    }
}
