#pragma once

// TveltoCalendar: a week-by-day calendar on the grid base. Column 0 shows the time of each row,
// row 0 the day of each column; the other columns are the chosen weekdays over 1 to 15 weeks,
// the other rows time slots of a fixed number of minutes or custom rows with their own labels.
// The calendar draws the items' boxes over the cells and hands them the mouse; one box control
// stands over the box that has the focus.

#include "calendar/CalendarItem.h"
#include "calendar/CalendarObj.h"
#include "platform/DateTime.h"
#include "platform/widgets/myCustomGrid.h"

#include <QMenu>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

enum TveltoCalendarDay { vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday, vlSaturday, vlSunday };

// A set of weekdays; bit 0 is Monday, as the day masks of the program store it.
class TveltoCalendarDays {
public:
    constexpr TveltoCalendarDays() = default;
    constexpr TveltoCalendarDays(std::initializer_list<TveltoCalendarDay> days)
    {
        for (TveltoCalendarDay day : days)
            bits_ |= 1u << day;
    }
    static constexpr TveltoCalendarDays fromBits(unsigned bits)
    {
        TveltoCalendarDays days;
        days.bits_ = bits & 0x7F;
        return days;
    }
    static constexpr TveltoCalendarDays all() { return fromBits(0x7F); }

    constexpr unsigned bits() const { return bits_; }
    constexpr bool contains(TveltoCalendarDay day) const { return bits_ & 1u << day; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr void include(TveltoCalendarDay day) { bits_ |= 1u << day; }
    constexpr void exclude(TveltoCalendarDay day) { bits_ &= ~(1u << day); }
    constexpr bool operator==(const TveltoCalendarDays &) const = default;

private:
    unsigned bits_ = 0;
};

// One non-fixed row: its start minute of the day, its length in minutes and its label.
struct TveltoCalendarRow {
    int Start = 0;
    int Length = 0;
    QString Label;
};

class TveltoCalendar;

using TvlOnNewEvent = std::function<void(TveltoCalendar &sender, TCustomCalendarItem *item)>;
using TvlOnDetailsEvent = TvlOnNewEvent;
using TvlOnClicksEvent = TvlOnNewEvent;
using TvlOnNew2Event = std::function<void(TveltoCalendar &sender, TDateTime start, int length)>;
using TvlOnDeleteEvent = std::function<void(TveltoCalendar &sender, TCustomCalendarItem *item, bool &accept)>;
using TvlOnMovingEvent = std::function<void(TveltoCalendar &sender, TCustomCalendarItem *item, TDateTime newStart,
                                            TDateTime newEnd, int newLength, bool &accept)>;
using TvlOnResizingEvent = TvlOnMovingEvent;

class TveltoCalendar : public TmyCustomGrid {
public:
    static constexpr int MaxWeeks = 15;
    static constexpr int MaxDayColumns = MaxWeeks * 7;

    explicit TveltoCalendar(QWidget *parent = nullptr);
    ~TveltoCalendar() override;

    TCalendarItems &Items() const { return *items_; }

    // Fill of the day cells; hides the grid's own Color, which BGColor sets.
    TColor Color() const { return dayColor_; }
    void SetColor(TColor value);
    TColor SelColor() const { return selColor_; }
    void SetSelColor(TColor value);
    TColor BGColor() const { return TmyCustomGrid::Color(); }
    void SetBGColor(TColor value) { TmyCustomGrid::SetColor(value); }

    TveltoCalendarDays Days() const { return days_; }
    void SetDays(TveltoCalendarDays value);
    int Hetek() const { return hetek_; }
    void SetHetek(int value);
    // Minutes per row, or -1 for custom rows.
    int Scale() const { return scale_; }
    void SetScale(int value);
    // Appends a custom row; a negative start ends the list and lays the items out.
    virtual void AddRow(int start, int length, const QString &label);
    const std::vector<TveltoCalendarRow> &Rows() const { return rows_; }

    const QString &Caption() const { return caption_; }
    void SetCaption(const QString &value);
    QMenu *ItemPopupMenu() const { return itemPopupMenu_; }
    void SetItemPopupMenu(QMenu *menu);
    int VonalzoBal() const { return vonalzoBal_; }
    void SetVonalzoBal(int value);
    int VonalzoJobb() const { return vonalzoJobb_; }
    void SetVonalzoJobb(int value);
    int CurrentColumn() const { return currentColumn_; }
    TCustomCalendarItem *SelectedItem() const { return selectedItem_; }
    void SetSelectedItem(TCustomCalendarItem *item) { selectedItem_ = item; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    // While set, a box taking or losing the focus only repaints: the focus moves between a box
    // and the calendar around a change of the boxes, and no item is selected or left meanwhile.
    bool BoxFocusQuiet() const { return boxFocusQuiet_; }
    void moveFocusQuietly(QWidget &to);
    // Marks or unmarks every item.
    void SetSelect(bool value) { items_->SetSelectAll(value); }

    // The text the header cell of a column shows: the weekday, after "2:" ... "15:" from week 2 on.
    QString ColumnHeader(int col) const;

    int CurrentDay() const { return DayOfColumn(currentColumn_); }
    int SelStartMinute() const { return RowStartMinute(Selection().Top); }
    int SelEndMinute() const { return RowEndMinute(Selection().Bottom); }

    // Day numbers: 2 is Monday of week 1, 9 Monday of week 2; -1 for no day or no column.
    int ColumnOfDay(int day) const;
    int DayOfColumn(int col) const;
    int RowStartMinute(int row) const;
    int RowEndMinute(int row) const;
    int RowOfStartMinute(int minute) const;
    int RowOfEndMinute(int minute) const;

    // Re-lays everything out and repaints.
    void Update();
    // Gives the item (all items when null) its cell range and, unless rangeOnly is set, places
    // every box in its lane; inside an update bracket only the given item's range is worked
    // out, the rest waits for the bracket to close.
    virtual void LayoutItems(TCustomCalendarItem *item, bool rangeOnly = false);
    // Live feedback (isFinal false) and the vetoed apply (isFinal true) of a drag on a box.
    virtual void MoveResizeItem(int dCol, int dRow, bool isFinal, TveltoCalendarObj *box, bool isMove);

    TvlOnNewEvent OnNew;
    TvlOnNew2Event OnNew2;
    TvlOnDeleteEvent OnDelete;
    TvlOnMovingEvent OnMoving;
    TvlOnResizingEvent OnResizing;
    TvlOnDetailsEvent OnDetails;
    TvlOnClicksEvent OnClick;

protected:
    void DrawCell(QPainter &canvas, int col, int row, const QRect &rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void TopLeftChanged() override;
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TCalendarItems;
    friend class TCustomCalendarItem;
    friend class TveltoCalendarObj;

    // The item-changed notification of the collection.
    void itemChanged(TCustomCalendarItem *item);
    TveltoCalendarBoxControl &boxControl() const { return *boxControl_; }
    // The box drawn at a point of the viewport, the topmost where boxes overlap; null for none.
    TveltoCalendarObj *boxAt(const QPoint &pos) const;
    void focusBox(TveltoCalendarObj &box);
    // A box hidden or about to go leaves the box control, and its focus to the calendar, quietly.
    void releaseBox(TveltoCalendarObj &box);
    void repaintBox(const TveltoCalendarObj &box);
    void raiseBox(TveltoCalendarObj &box);
    void boxMoved(TveltoCalendarObj &box);
    void paintBoxes(QPainter &canvas, const QRegion &area) const;
    void computeRange(TCustomCalendarItem &item);
    // Places the boxes of every day, or only of the day columns given.
    void layoutDays(std::initializer_list<int> onlyColumns = {});
    void putBack(TveltoCalendarObj &box);
    bool isDayColumn(int col) const;
    const TveltoCalendarRow *rowRecord(int row) const;
    void drawFixedCell(QPainter &canvas, int col, int row, const QRect &rect);
    void drawDayCell(QPainter &canvas, int col, const QRect &rect, TGridDrawState state);
    void updateMarginCursor(const QPoint &pos);

    // One placed box of a day while the lanes are worked out.
    struct LayoutEntry {
        TveltoCalendarObj *box;
        int day;
        double start;
        int length;
        int group;
        // Where the box goes; null when its cells are out of view.
        QRect place;
    };
    void layoutDay(LayoutEntry *entries, int count);
    void placeBoxes();
    // Repainted one by one, the boxes a course selection recolours cost less than the whole
    // calendar; Qt merges every area given into the rest, which for hundreds of boxes costs
    // more than painting them all.
    static constexpr int FewBoxes = 64;

    std::unique_ptr<TCalendarItems> items_;
    TveltoCalendarBoxControl *boxControl_;
    // The box a press on the viewport went to: the mouse stays with it until the release.
    QPointer<TveltoCalendarObj> mouseBox_;
    bool mouseOnBox_ = false;
    QPointer<TveltoCalendarObj> raisedBox_;
    // Boxes repainted one by one since the last paint; past FewBoxes the whole viewport is.
    int boxRepaints_ = 0;
    // Row rebuilding passes through states the mapping cannot place items in.
    int rebuildingRows_ = 0;
    TColor dayColor_ = 0x80FFFF;
    TColor selColor_ = clNavy;
    TveltoCalendarDays days_ = TveltoCalendarDays::all();
    int hetek_ = 1;
    std::array<int, MaxDayColumns + 1> columnDays_{};
    // The other way round, by day number (2 .. MaxDayColumns + 1): every item placed asks it.
    std::array<int, MaxDayColumns + 2> dayColumns_{};
    int scale_ = 60;
    std::vector<TveltoCalendarRow> rows_;
    QString caption_;
    QPointer<QMenu> itemPopupMenu_;
    int vonalzoBal_ = 5;
    int vonalzoJobb_ = 5;
    int currentColumn_ = 0;
    TCustomCalendarItem *selectedItem_ = nullptr;
    bool readOnly_ = false;
    bool boxFocusQuiet_ = false;
    // Working storage of the layout, kept between runs so that a layout allocates nothing.
    std::vector<LayoutEntry> layoutEntries_;
    std::vector<int> rowCounts_;
    std::vector<int> rowGroups_;
    std::vector<int> groupLanes_;
    std::vector<unsigned char> occupancy_;
};
