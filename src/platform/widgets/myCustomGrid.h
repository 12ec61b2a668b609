#pragma once

// TmyCustomGrid: the grid base the calendar and other cell views are built on. Fixed rows and
// columns stay in place while the rest scrolls by whole cells (top row, left column); cells are
// painted one by one through the virtual DrawCell. Coordinates are those of the viewport, where
// cells are painted and where child controls over the cells belong.

#include "platform/widgets/Colors.h"
#include "platform/widgets/GridAxis.h"

#include <QAbstractScrollArea>
#include <QMenu>
#include <QPointer>

#include <functional>

class QPainter;

struct TGridCoord {
    int X = -1;
    int Y = -1;
    bool operator==(const TGridCoord &) const = default;
};

// Columns Left..Right and rows Top..Bottom, both ends included.
struct TGridRect {
    int Left = -1;
    int Top = -1;
    int Right = -1;
    int Bottom = -1;
    bool operator==(const TGridRect &) const = default;
    bool contains(int col, int row) const { return col >= Left && col <= Right && row >= Top && row <= Bottom; }
};

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
};
using TGridOptions = unsigned;

enum TGridDrawStateFlag : unsigned {
    gdSelected = 1u << 0,
    gdFocused = 1u << 1,
    gdFixed = 1u << 2,
};
using TGridDrawState = unsigned;

class TmyCustomGrid : public QAbstractScrollArea {
public:
    // Key codes are Qt's (Qt::Key_Up, Qt::Key_W ...); a handler may set the key to 0 to swallow it.
    using TKeyEvent = std::function<void(TmyCustomGrid &sender, int &key, Qt::KeyboardModifiers shift)>;
    using TKeyPressEvent = std::function<void(TmyCustomGrid &sender, QChar &key)>;
    using TNotifyEvent = std::function<void(TmyCustomGrid &sender)>;

    explicit TmyCustomGrid(QWidget *parent = nullptr);

    int ColCount() const { return cols_.count(); }
    void SetColCount(int value);
    int RowCount() const { return rows_.count(); }
    void SetRowCount(int value);
    int FixedCols() const { return cols_.fixed; }
    void SetFixedCols(int value);
    int FixedRows() const { return rows_.fixed; }
    void SetFixedRows(int value);

    int DefaultColWidth() const { return cols_.defaultSize; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return rows_.defaultSize; }
    void SetDefaultRowHeight(int value);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);

    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int value);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions value);

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor value);

    // The focused cell; moving it selects that one cell.
    int Col() const { return current_.X; }
    void SetCol(int value);
    int Row() const { return current_.Y; }
    void SetRow(int value);
    TGridRect Selection() const { return selection_; }
    void SetSelection(const TGridRect &value);

    int TopRow() const { return rows_.first; }
    void SetTopRow(int value);
    int LeftCol() const { return cols_.first; }
    void SetLeftCol(int value);
    int VisibleColCount() const;
    int VisibleRowCount() const;
    int ClientWidth() const;
    int ClientHeight() const;

    TGridCoord MouseCoord(int x, int y) const;
    void MouseToCell(int x, int y, int &col, int &row) const;
    // Screen rectangles; empty (left and top 0) when nothing of the cells is on screen.
    QRect CellRect(int col, int row) const;
    QRect BoxRect(int left, int top, int right, int bottom) const;
    void InvalidateCell(int col, int row);
    void Invalidate();

    Qt::CursorShape Cursor() const { return cursor_; }
    void SetCursor(Qt::CursorShape shape);
    QMenu *PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu *menu) { popupMenu_ = menu; }

    // Raises OnKeyUp; controls laid over the cells forward their key releases here.
    virtual void KeyUp(int &key, Qt::KeyboardModifiers shift);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    // Paints every pixel of the cell: the grid's colour is filled in only beside the cells.
    virtual void DrawCell(QPainter &canvas, int col, int row, const QRect &rect, TGridDrawState state);
    virtual bool SelectCell(int col, int row);
    virtual void ColWidthsChanged() {}
    virtual void RowHeightsChanged() {}
    virtual void TopLeftChanged() {}

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    enum class Sizing { None, Column, Row };

    void setCount(GridAxis &axis, int value);
    void setFixed(GridAxis &axis, int value, const char *tooBig);
    void setDefaultSize(GridAxis &axis, int value);
    void updateLines();
    void afterGeometryChange();
    void updateScrollBars();
    void clampCurrent();
    void moveCurrent(int col, int row, bool extend);
    void scrollIntoView(int col, int row);
    void setFirst(GridAxis &axis, int value, int client);
    bool sizingEdgeAt(const QPoint &pos, Sizing &kind, int &index) const;
    void applyCursor(Qt::CursorShape shape);
    TGridDrawState drawStateOf(int col, int row) const;
    void paintLines(QPainter &painter, int col, int row, const QRect &cell);

    GridAxis cols_;
    GridAxis rows_;
    int gridLineWidth_ = 1;
    TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    TColor color_ = clWindow;
    TColor fixedColor_ = clBtnFace;
    TGridCoord current_;
    TGridCoord anchor_;
    TGridRect selection_;
    bool selecting_ = false;
    Sizing sizing_ = Sizing::None;
    int sizingIndex_ = -1;
    int sizingOrigin_ = 0;
    bool overSizingEdge_ = false;
    Qt::CursorShape cursor_ = Qt::ArrowCursor;
    QPointer<QMenu> popupMenu_;
    bool syncingScrollBars_ = false;
};
