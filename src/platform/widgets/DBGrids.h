#pragma once

// TDBGrid: a grid over the records of a data source's dataset. It shows only the records in its
// data link's buffer window (as many as fit), so a table of any size costs the same; the
// current record is always on screen, and moving in the grid moves the dataset and the
// reverse. The vertical scroll bar stands for the position in the whole dataset. Cells are
// edited in place through the fields: typing puts the dataset into edit mode, Enter posts.

#include "platform/DB.h"
#include "platform/EnumSet.h"
#include "platform/widgets/DBCtrls.h"
#include "platform/widgets/DBGridColumns.h"

#include <QAbstractScrollArea>
#include <QMenu>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLineEdit;

enum TDBGridOption : std::uint8_t {
    dgEditing,
    dgTitles,
    dgIndicator,
    dgColumnResize,
    dgColLines,
    dgRowLines,
    dgTabs,
    dgRowSelect,
    dgAlwaysShowSelection,
    dgConfirmDelete,
    dgCancelOnExit,
    dgMultiSelect,
};
using TDBGridOptions = EnumSet<TDBGridOption>;

class TDBGrid : public QAbstractScrollArea {
public:
    using TDBGridClickEvent = std::function<void(TColumn &column)>;
    // Key codes are Qt's; a handler may set the key to 0 to swallow it.
    using TKeyEvent = std::function<void(TDBGrid &sender, int &key, Qt::KeyboardModifiers shift)>;
    // The character typed (backspace included); a handler may clear it to swallow it.
    using TKeyPressEvent = std::function<void(TDBGrid &sender, QChar &key)>;
    using TNotifyEvent = std::function<void(TDBGrid &sender)>;

    static constexpr TDBGridOptions DefaultOptions{dgEditing,  dgTitles, dgIndicator,     dgColumnResize, dgColLines,
                                                   dgRowLines, dgTabs,   dgConfirmDelete, dgCancelOnExit};

    explicit TDBGrid(QWidget *parent = nullptr);
    ~TDBGrid() override;

    TDataSource *DataSource() const;
    void SetDataSource(TDataSource *source);
    TDataSet *DataSet() const;
    TDBGridColumns &Columns() { return columns_; }
    const TDBGridColumns &Columns() const { return columns_; }
    TDBGridOptions Options() const { return options_; }
    void SetOptions(TDBGridOptions options);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    TBookmarkList &SelectedRows() { return selectedRows_; }
    // The current column (index into Columns) and its field.
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);
    TField *SelectedField() const;
    // Whether the in-place editor is showing; setting it shows it where editing is allowed.
    bool EditorMode() const;
    void SetEditorMode(bool on);
    // The in-place editor, once it was first shown.
    QLineEdit *InplaceEditor() const;
    QMenu *PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu *menu) { popupMenu_ = menu; }

    // Geometry in viewport coordinates; rows count from the top record on screen.
    int RowHeight() const;
    int VisibleRowCount() const;
    QRect TitleRect(int column) const;
    QRect CellRect(int column, int row) const;
    // Widths chosen for a smaller font must still show the titles: widens each shown column
    // (not a hidden one of width 0) whose title would be cut.
    void WidenColumnsToTitles();
    // The grid's width with every shown column in full and room for a vertical scroll bar.
    int WidthForAllColumns() const;
    // What a person sees: the record rows drawn, a cell's text and a column's title as drawn,
    // cut short with an ellipsis where the column is too narrow for them.
    int ShownRowCount() const;
    QString ShownCellText(int column, int row) const;
    QString ShownTitle(int column) const;

    TDBGridClickEvent OnCellClick;
    TDBGridClickEvent OnTitleClick;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool event(QEvent *event) override;

private:
    class Link;
    class Editor;
    friend class TColumn;
    friend class TColumnTitle;
    friend class TDBGridColumns;
    friend class Link;
    friend class Editor;

    struct Hit {
        enum Kind { None, Title, Indicator, Cell } kind = None;
        int column = -1;
        int row = -1;
    };

    bool linkActive() const;
    // The widest display text of the column's field among the rows on screen, within a cap.
    int widestShownValue(const TColumn &column) const;
    void valuesChanged(bool replaced);
    // For the last shown column: the viewport's width less the other columns'; -1 for any other.
    int roomForLastColumn(const TColumn &column) const;
    // Called by the link.
    void linkActiveChanged();
    void dataSetChanged();
    void dataSetScrolled();
    void recordChanged(TField *field);
    void editingChanged();
    void updateData();

    void layoutChanged();
    void updateBufferCount();
    void updateScrollBars();
    void updateVerticalScrollBar();
    // Both bars on a grid in view; only the vertical one, which follows the dataset, on a hidden grid.
    void updateScrollBarsInView();
    void scrollToColumn(int column);
    void clampSelectedIndex();
    int indicatorWidth() const;
    int titleHeight() const;
    int columnLeft(int column) const;
    Hit hitAt(const QPoint &pos) const;
    int columnEdgeAt(const QPoint &pos) const;
    std::vector<int> shownColumns() const;
    int nextShownColumn(int from, int step) const;

    bool canEditCell() const;
    bool canInsertRows() const;
    void showEditor(const QString *typed);
    void hideEditor();
    void placeEditor();
    void editorTyped();
    // Leaving the cell: the editor's text goes into the field (the record is not posted).
    void leaveCell();
    void commitEditor();
    void cancelEditing();
    void editorKey(QKeyEvent *event);
    // Raises OnExit (and drops a blank new record) when the focus has left grid and editor.
    void focusLeft();

    // A left button press: a column edge to drag, or a record (and column) to make current.
    void press(QMouseEvent *event);
    // The keys that move in or change the data; false for any other key.
    bool dataKey(int key, Qt::KeyboardModifiers modifiers);
    void moveRows(int distance, Qt::KeyboardModifiers modifiers);
    void deleteRecord();
    void paintTitle(QPainter &painter, int column, const QRect &rect);
    // marked: the record is among the selected rows.
    void paintIndicator(QPainter &painter, int row, bool active, bool marked);
    void paintCell(QPainter &painter, const QRect &cell, int column, bool highlighted);
    // The active record's text in the column, cut to the width of the column.
    QString fittedCellText(int column) const;

    std::unique_ptr<Link> link_;
    TDBGridColumns columns_{*this};
    TBookmarkList selectedRows_{*this};
    TDBGridOptions options_ = DefaultOptions;
    bool readOnly_ = false;
    int selectedIndex_ = 0;
    int horizontalOffset_ = 0;
    int recordCount_ = 0;
    Editor *editor_ = nullptr;
    bool editorModified_ = false;
    Hit pressed_;
    bool pressedOnCurrentCell_ = false;
    bool focusInside_ = false;
    int resizingColumn_ = -1;
    int resizeOrigin_ = 0;
    QPointer<QMenu> popupMenu_;
    mutable TextWidthCache valueWidths_;
};
