#pragma once

// TveltoCalendarObj: the box that shows one calendar item over the cells of its calendar. It
// selects the item when it gets focus, reports clicks and double clicks, and lets the user move
// the item (Ctrl held) or stretch its bottom edge (Shift held) on custom rows.

#include "platform/widgets/Colors.h"
#include "platform/widgets/myCustomGrid.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <functional>

class TCustomCalendarItem;
class TveltoCalendar;

class TveltoCalendarObj : public QWidget {
public:
    enum TDragMode { dmNone = 0, dmMove = 1, dmResize = 2 };

    explicit TveltoCalendarObj(QWidget *parent = nullptr);

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

    int DragMode() const { return dragMode_; }
    bool Moved() const { return moved_; }
    // Columns and rows the item covers; all -1 when it has no place.
    const TGridRect &CellRange() const { return cellRange_; }
    void SetCellRange(const TGridRect &value) { cellRange_ = value; }

    // The calendar the box belongs to, or null when it lies on something else.
    TveltoCalendar *Calendar() const;
    // Whether one of the box's own event handlers is running: a box that an owner's handler may
    // still use after rebuilding its items is never handed to another item.
    bool Handling() const { return handling_ > 0; }
    // Forgets the item and whatever a drag or the item left on the box, and hides it, so that
    // the box can serve another item as if new.
    void Clear();

    std::function<void(TveltoCalendarObj &sender)> OnClick;
    std::function<void(TveltoCalendarObj &sender)> OnDblClick;

protected:
    bool event(QEvent *event) override;
    virtual void Click();
    virtual void DblClick();
    virtual void DoEnter();
    virtual void DoExit();

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
    TGridCoord cellUnder(const QPoint &pos) const;
    bool focusQuiet() const;
    bool moveStarted(const QPoint &pos, const TGridCoord &cell) const;

    TCustomCalendarItem *item_ = nullptr;
    QString caption_;
    TColor color_ = clBlack;
    TColor selBGColor_ = clSkyBlue;
    TColor bgColor_ = clWhite;
    bool select_ = false;
    QPointer<QMenu> popupMenu_;
    int dragMode_ = dmNone;
    bool moved_ = false;
    bool skipMouseDown_ = false;
    int downCol_ = -1;
    int downRow_ = -1;
    QPoint downPos_;
    TGridRect cellRange_;
    int handling_ = 0;
};

// Draws the text word by word inside the rectangle at the given point size; any angle other than
// 0 draws it rotated by 90 degrees, reading upwards.
void DrawRotatedText(QPainter &canvas, const QRect &rect, const QString &text, int size, int angle);
// Wraps at blanks; a word wider than a whole line is broken, at least one character per line.
void DrawWrappedText(QPainter &canvas, const QRect &rect, bool rotated, const QString &text);
