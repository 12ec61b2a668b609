#include "calendar/CalendarObj.h"

#include "calendar/CalendarGrid.h"
#include "calendar/CalendarItem.h"
#include "calendar/WordCache.h"

#include <QCache>
#include <QContextMenuEvent>
#include <QHash>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScopeGuard>
#include <QToolTip>

#include <cmath>
#include <cstdlib>

namespace {

// Pixels the pointer travels from the press before a Ctrl-drag starts moving the box.
constexpr int MoveThreshold = 4;

// What a box at rest shows: boxes come back alike view after view and at every repaint, and
// drawing their words is most of painting a calendar.
struct BoxLook {
    QString caption;
    QSize size;
    TColor background;
    bool highlighted;
    int pixelRatio;
    int dpi;
    bool operator==(const BoxLook &) const = default;
};

size_t qHash(const BoxLook &look, size_t seed = 0)
{
    return qHashMulti(seed, look.caption, look.size.width(), look.size.height(), look.background,
                      look.highlighted, look.pixelRatio, look.dpi);
}

// The pictures of the boxes drawn last, as many as fill a few calendars: boxes stand side by side,
// so one calendar's boxes cover at most its own area. A box gets its picture when it is drawn the
// second time, so a view shown once costs no more than drawing it. A new picture is drawn on one
// scratch image and copied out: a painter on a fresh image makes and drops a paint engine each time.
class BoxPictures
{
public:
    // Null for a box drawn the first time or too large to keep: it is drawn in place.
    template <class Draw>
    const QImage *picture(const BoxLook &look, Draw draw)
    {
        const QImage *found = pictures_.object(look);
        if (found && !found->isNull())
            return found;
        const QSize pixels = look.size * look.pixelRatio;
        const qsizetype kilobytes = 1 + qsizetype(pixels.width()) * pixels.height() * 4 / 1024;
        if (kilobytes > pictures_.maxCost())
            return nullptr;
        // Seen the first time, the look is kept without a picture.
        if (!found) {
            pictures_.insert(look, new QImage, 1);
            return nullptr;
        }
        if (scratch_.width() < pixels.width() || scratch_.height() < pixels.height())
            scratch_ = QImage(pixels.expandedTo(scratch_.size()), QImage::Format_RGB32);
        scratch_.setDevicePixelRatio(look.pixelRatio);
        {
            QPainter canvas(&scratch_);
            draw(canvas);
        }
        auto *picture = new QImage(scratch_.copy(QRect(QPoint(0, 0), pixels)));
        pictures_.insert(look, picture, kilobytes);
        return picture;
    }

private:
    QCache<BoxLook, QImage> pictures_{16 * 1024};
    QImage scratch_;
};

} // namespace

TveltoCalendarObj::TveltoCalendarObj(TveltoCalendar *calendar) : calendar_(calendar) {}

// An unchanged value repaints nothing: owners set the colours of every item at each course
// selection.
template <class T> void TveltoCalendarObj::change(T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    update();
}

void TveltoCalendarObj::SetCaption(const QString &value)
{
    change(caption_, value);
}

void TveltoCalendarObj::SetColor(TColor value)
{
    change(color_, value);
}

void TveltoCalendarObj::SetSelBGColor(TColor value)
{
    change(selBGColor_, value);
}

void TveltoCalendarObj::SetBGColor(TColor value)
{
    change(bgColor_, value);
}

void TveltoCalendarObj::SetSelect(bool value)
{
    change(select_, value);
}

void TveltoCalendarObj::setGeometry(const QRect &place)
{
    if (geometry_ == place)
        return;
    update();
    geometry_ = place;
    update();
    if (calendar_)
        calendar_->boxMoved(*this);
}

bool TveltoCalendarObj::isVisible() const
{
    return !hidden_ && calendar_ && calendar_->viewport()->isVisible();
}

void TveltoCalendarObj::show()
{
    if (!hidden_)
        return;
    hidden_ = false;
    update();
}

void TveltoCalendarObj::hide()
{
    if (hidden_)
        return;
    update();
    hidden_ = true;
    if (calendar_)
        calendar_->releaseBox(*this);
}

void TveltoCalendarObj::raise()
{
    if (calendar_)
        calendar_->raiseBox(*this);
}

void TveltoCalendarObj::update()
{
    if (calendar_ && !hidden_)
        calendar_->repaintBox(*this);
}

QPixmap TveltoCalendarObj::grab() const
{
    if (!calendar_)
        return {};
    return calendar_->viewport()->grab(geometry_);
}

bool TveltoCalendarObj::hasFocus() const
{
    return calendar_ && calendar_->boxControl().Box() == this && calendar_->boxControl().hasFocus();
}

void TveltoCalendarObj::setFocus()
{
    if (calendar_)
        calendar_->focusBox(*this);
}

TGridCoord TveltoCalendarObj::cellUnder(const QPoint &pos) const
{
    return calendar_->MouseCoord(pos.x(), pos.y());
}

bool TveltoCalendarObj::moveStarted(const QPoint &pos, const TGridCoord &cell) const
{
    const QPoint travel = pos - downPos_;
    return cell.X != downCol_ || cell.Y != downRow_ || std::abs(travel.x()) > MoveThreshold ||
           std::abs(travel.y()) > MoveThreshold;
}

void TveltoCalendarObj::setDragCursor(Qt::CursorShape shape)
{
    calendar_->SetCursor(shape);
}

void TveltoCalendarObj::Click()
{
    setFocus();
    if (OnClick)
        OnClick(*this);
}

void TveltoCalendarObj::DblClick()
{
    if (calendar_) {
        skipMouseDown_ = true;
        setFocus();
    }
    if (OnDblClick)
        OnDblClick(*this);
    if (!calendar_)
        return;
    dragMode_ = dmNone;
    setDragCursor(Qt::ArrowCursor);
    if (calendar_->OnDetails && item_)
        calendar_->OnDetails(*calendar_, item_);
}

void TveltoCalendarObj::DoEnter()
{
    update();
    if (!calendar_)
        return;
    TCustomCalendarItem *before = calendar_->SelectedItem();
    calendar_->SetSelectedItem(item_);
    if (before && before != item_ && before->Obj())
        before->Obj()->update();
    if (calendar_->OnDetails && item_)
        calendar_->OnDetails(*calendar_, item_);
}

void TveltoCalendarObj::DoExit()
{
    dragMode_ = dmNone;
    update();
}

// A handler may drop the item and with it this box (an owner rebuilding at once), so the count
// is put back only on a box that is still there.
auto TveltoCalendarObj::handlingGuard()
{
    ++handling_;
    return qScopeGuard([self = QPointer<TveltoCalendarObj>(this)] {
        if (self)
            --self->handling_;
    });
}

bool TveltoCalendarObj::focusQuiet() const
{
    return calendar_ && calendar_->BoxFocusQuiet();
}

void TveltoCalendarObj::FocusIn()
{
    const auto done = handlingGuard();
    if (focusQuiet())
        update();
    else
        DoEnter();
}

void TveltoCalendarObj::FocusOut()
{
    const auto done = handlingGuard();
    if (focusQuiet())
        update();
    else
        DoExit();
}

void TveltoCalendarObj::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &pos)
{
    if (!calendar_ || calendar_->ReadOnly())
        return;
    const auto done = handlingGuard();
    if (skipMouseDown_) {
        skipMouseDown_ = false;
        return;
    }
    QPointer<TveltoCalendarObj> self(this);
    setFocus();
    // Entering the box may have made the owner rebuild its items.
    if (!self || !item_)
        return;
    dragMode_ = dmNone;
    moved_ = false;
    const TGridCoord cell = cellUnder(pos);
    if (cell.X < 1 || cell.Y < 1 || button != Qt::LeftButton || calendar_->Scale() > 0)
        return;
    if (shift & Qt::ControlModifier)
        dragMode_ = dmMove;
    else if (shift & Qt::ShiftModifier)
        dragMode_ = dmResize;
    else
        return;
    downCol_ = cell.X;
    downRow_ = cell.Y;
    downPos_ = pos;
    raise();
    setDragCursor(dragMode_ == dmResize ? Qt::SizeVerCursor : Qt::DragMoveCursor);
    update();
}

void TveltoCalendarObj::MouseMove(const QPoint &pos)
{
    if (!calendar_ || calendar_->ReadOnly() || dragMode_ == dmNone)
        return;
    const auto done = handlingGuard();
    const TGridCoord cell = cellUnder(pos);
    if (dragMode_ == dmMove && (moved_ || moveStarted(pos, cell))) {
        moved_ = true;
        calendar_->MoveResizeItem(cell.X - downCol_, cell.Y - downRow_, false, this, true);
    } else if (dragMode_ == dmResize) {
        calendar_->MoveResizeItem(0, cell.Y - downRow_, false, this, false);
    }
}

void TveltoCalendarObj::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &pos)
{
    if (!calendar_)
        return;
    const auto done = handlingGuard();
    QPointer<TveltoCalendarObj> self(this);
    if (button == Qt::LeftButton && geometry_.contains(pos))
        Click();
    if (!self)
        return;
    if (calendar_->ReadOnly() || dragMode_ == dmNone) {
        if (calendar_->OnClick && item_)
            calendar_->OnClick(*calendar_, item_);
        return;
    }
    const TGridCoord cell = cellUnder(pos);
    const int mode = dragMode_;
    dragMode_ = dmNone;
    if (mode == dmMove && moved_)
        calendar_->MoveResizeItem(cell.X - downCol_, cell.Y - downRow_, true, this, true);
    else if (mode == dmResize)
        calendar_->MoveResizeItem(0, cell.Y - downRow_, true, this, false);
    if (!self)
        return;
    moved_ = false;
    setDragCursor(Qt::ArrowCursor);
    update();
}

void TveltoCalendarObj::MouseDoubleClick(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &pos)
{
    const auto done = handlingGuard();
    QPointer<TveltoCalendarObj> self(this);
    DblClick();
    // The press that comes with the double click; the flag set above makes it start nothing.
    if (self)
        MouseDown(button, shift, pos);
}

void TveltoCalendarObj::KeyUp(int key, Qt::KeyboardModifiers shift)
{
    if (!calendar_)
        return;
    const auto done = handlingGuard();
    calendar_->KeyUp(key, shift);
}

void TveltoCalendarObj::Paint(QPainter &canvas) const
{
    if (!calendar_)
        return;
    const bool highlighted = hasFocus() || (item_ && calendar_->SelectedItem() == item_);
    // Drawn in place: a dragged box, whose frame is wider than the box; a box too small for its
    // strip, which draws the strip beside it; a box off whole device pixels, whose picture would
    // show its text shifted.
    const int scale = WholePixelScale(canvas);
    if (dragMode_ != dmNone || width() < 6 || height() < 4 || scale == 0) {
        paintOn(canvas, highlighted);
        return;
    }
    static BoxPictures pictures;
    const QPaintDevice *device = canvas.device();
    const BoxLook look{caption_, geometry_.size(), select_ ? selBGColor_ : bgColor_, highlighted, scale,
                       device ? device->logicalDpiY() : 0};
    const auto draw = [&](QPainter &onPicture) { paintOn(onPicture, highlighted); };
    if (const QImage *picture = pictures.picture(look, draw))
        canvas.drawImage(0, 0, *picture);
    else
        paintOn(canvas, highlighted);
}

void TveltoCalendarObj::paintOn(QPainter &canvas, bool highlighted) const
{
    const int w = width();
    const int h = height();
    const QRect whole(0, 0, w, h);
    const QColor background = toQColor(select_ ? selBGColor_ : bgColor_);

    // Frame, background and the line beside the strip as filled areas: stroked, they were the
    // dearest part of painting a box.
    canvas.fillRect(whole, Qt::black);
    const QRect inside = whole.adjusted(1, 1, -1, -1);
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
    canvas.setClipRect(inside, Qt::IntersectClip);
    const QRect textArea(7, 2, w - 14, h - 6);
    DrawRotatedText(canvas, textArea, caption_, 8, w - 9 > h - 5 ? 0 : 90);
}

TveltoCalendarBoxControl::TveltoCalendarBoxControl(QWidget *viewport) : QWidget(viewport)
{
    // Focus comes from a press on a box only, so a read-only calendar does not select on press.
    setFocusPolicy(Qt::TabFocus);
    hide();
}

void TveltoCalendarBoxControl::SetBox(TveltoCalendarObj *box)
{
    box_ = box;
    if (!box) {
        hide();
        return;
    }
    Follow();
    if (isHidden())
        show();
}

void TveltoCalendarBoxControl::Follow()
{
    if (box_ && geometry() != box_->geometry())
        setGeometry(box_->geometry());
}

QPoint TveltoCalendarBoxControl::onViewport(const QMouseEvent &event) const
{
    return event.position().toPoint() + geometry().topLeft();
}

bool TveltoCalendarBoxControl::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        if (box_ && !box_->toolTip().isEmpty())
            QToolTip::showText(help->globalPos(), box_->toolTip(), this, rect());
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void TveltoCalendarBoxControl::paintEvent(QPaintEvent *)
{
    if (!box_)
        return;
    QPainter canvas(this);
    box_->Paint(canvas);
}

void TveltoCalendarBoxControl::mousePressEvent(QMouseEvent *event)
{
    // Taken here, so that a press on a box never selects the cells beneath it.
    event->accept();
    if (box_)
        box_->MouseDown(event->button(), event->modifiers(), onViewport(*event));
}

void TveltoCalendarBoxControl::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (box_)
        box_->MouseMove(onViewport(*event));
}

void TveltoCalendarBoxControl::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (box_)
        box_->MouseUp(event->button(), event->modifiers(), onViewport(*event));
}

void TveltoCalendarBoxControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (box_)
        box_->MouseDoubleClick(event->button(), event->modifiers(), onViewport(*event));
}

void TveltoCalendarBoxControl::keyPressEvent(QKeyEvent *event)
{
    // The focused box takes its keys, as any focused control does; they move no grid cell.
    event->accept();
}

void TveltoCalendarBoxControl::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
    if (box_ && !event->isAutoRepeat())
        box_->KeyUp(event->key(), event->modifiers());
}

void TveltoCalendarBoxControl::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (box_)
        box_->FocusIn();
}

void TveltoCalendarBoxControl::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (box_)
        box_->FocusOut();
}

void TveltoCalendarBoxControl::contextMenuEvent(QContextMenuEvent *event)
{
    if (!box_ || !box_->PopupMenu()) {
        event->ignore();
        return;
    }
    event->accept();
    box_->PopupMenu()->popup(event->globalPos());
}

int WholePixelScale(const QPainter &canvas)
{
    const QTransform toDevice = canvas.deviceTransform();
    const qreal scale = toDevice.m11();
    const auto whole = [](qreal value) { return value == std::floor(value); };
    if (toDevice.type() > QTransform::TxScale || toDevice.m22() != scale || scale < 1 || !whole(scale) ||
        !whole(toDevice.dx()) || !whole(toDevice.dy()))
        return 0;
    return int(scale);
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
    static WordCache words;
    const QFontMetrics metrics = canvas.fontMetrics();
    const auto widthOf = [&](const QString &word) { return words.width(canvas, metrics, word); };
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
            canvas.drawStaticText(0, 0, words.text(canvas, word, true));
            canvas.restore();
            y -= width;
        } else {
            canvas.drawStaticText(x, y, words.text(canvas, word, false));
            x += width;
        }
    }
}
