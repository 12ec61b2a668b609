#pragma once

// TveltoCalendarObj: the box that shows one calendar item over the cells of its calendar. The
// calendar draws every box with its cells and hands the mouse on the box to it; the focus and
// the keys reach a box through the calendar's one box control, which stands over the box that
// has the focus. A box selects its item when it gets the focus, reports clicks and double
// clicks, and lets the user move the item (Ctrl held) or stretch its bottom edge (Shift held)
// on custom rows.

#include "platform/widgets/Colors.h"
#include "platform/widgets/myCustomGrid.h"

#include <QMenu>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>

class QPainter;
class TCustomCalendarItem;
class TveltoCalendar;

class TveltoCalendarObj : public QObject {
public:
    enum TDragMode { dmNone = 0, dmMove = 1, dmResize = 2 };

    // A box on no calendar draws nothing and takes no mouse.
    explicit TveltoCalendarObj(TveltoCalendar *calendar = nullptr);

    TCustomCalendarItem *Item() const { return item_; }
    void SetItem(TCustomCalendarItem *item) { item_ = item; }
    const QString &Caption() const { return caption_; }
    void SetCaption(const QString &value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor SelBGColor() const { return selBGColor_; }
    void SetSelBGColor(TColor value);
    TColor BGColor() const { return bgColor_; }
    void SetBGColor(TColor value);
    bool Select() const { return select_; }
    void SetSelect(bool value);
    QMenu *PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu *menu) { popupMenu_ = menu; }
    const QString &toolTip() const { return toolTip_; }
    void setToolTip(const QString &value) { toolTip_ = value; }

    int DragMode() const { return dragMode_; }
    bool Moved() const { return moved_; }
    // Columns and rows the item covers; all -1 when it has no place.
    const TGridRect &CellRange() const { return cellRange_; }
    void SetCellRange(const TGridRect &value) { cellRange_ = value; }

    // Where the box is drawn, in the coordinates of the calendar's viewport.
    const QRect &geometry() const { return geometry_; }
    void setGeometry(const QRect &place);
    QRect rect() const { return QRect(QPoint(0, 0), geometry_.size()); }
    int x() const { return geometry_.x(); }
    int y() const { return geometry_.y(); }
    int width() const { return geometry_.width(); }
    int height() const { return geometry_.height(); }
    bool isHidden() const { return hidden_; }
    // Drawn now: placed, and its calendar on screen.
    bool isVisible() const;
    void show();
    void hide();
    // Drawn above the other boxes, as a dragged box is.
    void raise();
    // Repaints the box where it is drawn.
    void update();
    // What the calendar shows where the box is drawn.
    QPixmap grab() const;

    bool hasFocus() const;
    // Takes the focus through the calendar's box control, which selects the item.
    void setFocus();

    // The calendar the box belongs to, or null.
    TveltoCalendar *Calendar() const { return calendar_; }
    // Whether one of the box's own handlers is running: its item must not free it meanwhile.
    bool Handling() const { return handling_ > 0; }

    // The mouse and the keys on the box, as the calendar and its box control hand them on;
    // points are in the viewport's coordinates.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &pos);
    void MouseMove(const QPoint &pos);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &pos);
    void MouseDoubleClick(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &pos);
    void KeyUp(int key, Qt::KeyboardModifiers shift);
    // Focus gained or lost by the box control while it stands over this box.
    void FocusIn();
    void FocusOut();

    // Draws the box at the painter's origin, as large as it is placed.
    void Paint(QPainter &canvas) const;

    std::function<void(TveltoCalendarObj &sender)> OnClick;
    std::function<void(TveltoCalendarObj &sender)> OnDblClick;

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void DoEnter();
    virtual void DoExit();

private:
    // Sets a look of the box, repainting it only when the value is another.
    template <class T> void change(T &member, const T &value);
    TGridCoord cellUnder(const QPoint &pos) const;
    void paintOn(QPainter &canvas, bool highlighted) const;
    bool focusQuiet() const;
    auto handlingGuard();
    bool moveStarted(const QPoint &pos, const TGridCoord &cell) const;
    void setDragCursor(Qt::CursorShape shape);

    TveltoCalendar *calendar_;
    TCustomCalendarItem *item_ = nullptr;
    QString caption_;
    QString toolTip_;
    TColor color_ = clBlack;
    TColor selBGColor_ = clSkyBlue;
    TColor bgColor_ = clWhite;
    bool select_ = false;
    QPointer<QMenu> popupMenu_;
    QRect geometry_;
    bool hidden_ = true;
    int dragMode_ = dmNone;
    bool moved_ = false;
    bool skipMouseDown_ = false;
    int downCol_ = -1;
    int downRow_ = -1;
    QPoint downPos_;
    TGridRect cellRange_;
    int handling_ = 0;
};

// The one focusable control of a calendar's boxes: it stands over the box that has the focus,
// draws it, and hands it the keys, the mouse, the hint and the popup menu.
class TveltoCalendarBoxControl : public QWidget {
public:
    explicit TveltoCalendarBoxControl(QWidget *viewport);

    TveltoCalendarObj *Box() const { return box_; }
    // Stands over the box; null leaves the control hidden and without a box.
    void SetBox(TveltoCalendarObj *box);
    // Follows the box to where it is drawn now.
    void Follow();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QPoint onViewport(const QMouseEvent &event) const;

    QPointer<TveltoCalendarObj> box_;
};

// Device pixels per pixel where the canvas draws unrotated and on whole device pixels, else 0.
int WholePixelScale(const QPainter &canvas);
// Draws the text word by word inside the rectangle at the given point size; any angle other than
// 0 draws it rotated by 90 degrees, reading upwards.
void DrawRotatedText(QPainter &canvas, const QRect &rect, const QString &text, int size, int angle);
// Wraps at blanks; a word wider than a whole line is broken, at least one character per line.
void DrawWrappedText(QPainter &canvas, const QRect &rect, bool rotated, const QString &text);
