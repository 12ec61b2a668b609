#include "platform/widgets/DBGrids.h"

#include "platform/widgets/Colors.h"
#include "platform/widgets/FieldTextInput.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include <algorithm>
#include <cmath>

namespace {

constexpr int IndicatorWidth = 14;
constexpr int ColumnGrip = 3;
constexpr int MinColumnWidth = 8;
// A long name or remark takes no more of a grid's width than this many digits.
constexpr int WidestDefaultColumnChars = 30;

Qt::Alignment toQtAlignment(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// Painting visits the records of the link's window by making each the active one for a moment.
class ActiveRecordGuard {
public:
    explicit ActiveRecordGuard(TDataLink &link) : link_(link), saved_(link.ActiveRecord()) {}
    ~ActiveRecordGuard() { link_.SetActiveRecord(saved_); }
    ActiveRecordGuard(const ActiveRecordGuard &) = delete;
    ActiveRecordGuard &operator=(const ActiveRecordGuard &) = delete;
    int saved() const { return saved_; }

private:
    TDataLink &link_;
    int saved_;
};

} // namespace

// --- the grid's data link and in-place editor ------------------------------------------------

class TDBGrid::Link : public TDataLink {
public:
    explicit Link(TDBGrid &grid) : grid_(grid) {}

protected:
    void ActiveChanged() override { grid_.linkActiveChanged(); }
    void DataSetChanged() override { grid_.dataSetChanged(); }
    void DataSetScrolled(int) override { grid_.dataSetScrolled(); }
    void RecordChanged(TField *field) override { grid_.recordChanged(field); }
    void EditingChanged() override { grid_.editingChanged(); }
    void LayoutChanged() override
    {
        grid_.layoutChanged();
        grid_.dataSetChanged();
    }
    void UpdateData() override { grid_.updateData(); }

private:
    TDBGrid &grid_;
};

class TDBGrid::Editor : public QLineEdit {
public:
    Editor(TDBGrid &grid) : QLineEdit(grid.viewport()), grid_(grid)
    {
        setFrame(false);
        connect(this, &QLineEdit::textEdited, this, [this] { grid_.editorTyped(); });
    }

protected:
    bool event(QEvent *event) override
    {
        // Keys the grid acts on are taken here rather than in keyPressEvent, so that a refused
        // value raises straight out of the editor and not through Qt's key handling.
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            grid_.editorKey(key);
            if (key->isAccepted())
                return true;
            key->accept();
        }
        return QLineEdit::event(event);
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QLineEdit::focusOutEvent(event);
        grid_.focusLeft();
    }

private:
    TDBGrid &grid_;
};

// --- TDBGrid: set-up and properties ----------------------------------------------------------

TDBGrid::TDBGrid(QWidget *parent) : QAbstractScrollArea(parent), link_(std::make_unique<Link>(*this))
{
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (link_->Active())
            scrollDataSet(*verticalScrollBar(), *DataSet(), action, recordCount_, VisibleRowCount());
    });
    updateScrollBars();
}

bool TDBGrid::linkActive() const
{
    return link_->Active();
}

TDBGrid::~TDBGrid()
{
    // The link must not call back into a grid that is half gone.
    link_->SetDataSource(nullptr);
}

TDataSource *TDBGrid::DataSource() const
{
    return link_->DataSource();
}

void TDBGrid::SetDataSource(TDataSource *source)
{
    link_->SetDataSource(source);
}

TDataSet *TDBGrid::DataSet() const
{
    return link_->DataSet();
}

void TDBGrid::SetOptions(TDBGridOptions options)
{
    if (!options.Contains(dgMultiSelect))
        selectedRows_.Clear();
    options_ = options;
    if (!canEditCell())
        hideEditor();
    updateBufferCount();
    layoutChanged();
}

void TDBGrid::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    link_->SetReadOnly(readOnly);
    if (readOnly)
        hideEditor();
}

void TDBGrid::SetSelectedIndex(int index)
{
    if (index < 0 || index >= columns_.Count() || !columns_[index]->Visible() || index == selectedIndex_)
        return;
    leaveCell();
    selectedIndex_ = index;
    scrollToColumn(index);
    viewport()->update();
}

TField *TDBGrid::SelectedField() const
{
    return selectedIndex_ < columns_.Count() ? columns_[selectedIndex_]->Field() : nullptr;
}

QLineEdit *TDBGrid::InplaceEditor() const
{
    return editor_;
}

bool TDBGrid::EditorMode() const
{
    return editor_ && editor_->isVisible();
}

void TDBGrid::SetEditorMode(bool on)
{
    if (on) {
        showEditor(nullptr);
    } else {
        leaveCell();
        hideEditor();
    }
}

// --- geometry --------------------------------------------------------------------------------

int TDBGrid::RowHeight() const
{
    return fontMetrics().height() + 6;
}

int TDBGrid::titleHeight() const
{
    return options_.Contains(dgTitles) ? RowHeight() : 0;
}

int TDBGrid::indicatorWidth() const
{
    return options_.Contains(dgIndicator) ? IndicatorWidth : 0;
}

int TDBGrid::VisibleRowCount() const
{
    return std::max(1, (viewport()->height() - titleHeight()) / RowHeight());
}

std::vector<int> TDBGrid::shownColumns() const
{
    std::vector<int> shown;
    for (int i = 0; i < columns_.Count(); ++i)
        if (columns_[i]->Visible())
            shown.push_back(i);
    return shown;
}

int TDBGrid::nextShownColumn(int from, int step) const
{
    for (int i = from + step; i >= 0 && i < columns_.Count(); i += step)
        if (columns_[i]->Visible())
            return i;
    return from;
}

int TDBGrid::columnLeft(int column) const
{
    int left = indicatorWidth() - horizontalOffset_;
    for (int i = 0; i < column; ++i)
        if (columns_[i]->Visible())
            left += columns_[i]->Width();
    return left;
}

QRect TDBGrid::TitleRect(int column) const
{
    if (column < 0 || column >= columns_.Count() || !columns_[column]->Visible() || !options_.Contains(dgTitles))
        return {};
    return QRect(columnLeft(column), 0, columns_[column]->Width(), titleHeight());
}

QRect TDBGrid::CellRect(int column, int row) const
{
    if (column < 0 || column >= columns_.Count() || !columns_[column]->Visible() || row < 0)
        return {};
    return QRect(columnLeft(column), titleHeight() + row * RowHeight(), columns_[column]->Width(), RowHeight());
}

void TDBGrid::WidenColumnsToTitles()
{
    if (!options_.Contains(dgTitles))
        return;
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    for (int column : shownColumns()) {
        TColumn &shown = *columns_[column];
        // Rounded up: a title a fraction of a pixel wider than its room is already cut.
        const int needed = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(shown.Title().Caption()))) + 2 * margin;
        if (shown.Width() > 0 && shown.Width() < needed)
            shown.SetWidth(needed);
    }
}

int TDBGrid::widestShownValue(const TColumn &column) const
{
    const TField *field = column.Field();
    if (!field)
        return 0;
    valueWidths_.useFont(font());
    const qreal cap = WidestDefaultColumnChars * valueWidths_.width(QStringLiteral("0"));
    qreal widest = 0;
    ActiveRecordGuard guard(*link_);
    for (int row = 0; row < link_->RecordCount() && widest < cap; ++row) {
        link_->SetActiveRecord(row);
        widest = std::max(widest, valueWidths_.width(fieldTextToQString(field->DisplayText())));
    }
    // Rounded up: a text a fraction of a pixel wider than its room is already cut.
    return int(std::ceil(std::min(widest, cap)));
}

void TDBGrid::valuesChanged(bool replaced)
{
    for (int column = 0; column < columns_.Count(); ++column)
        columns_[column]->valuesChanged(replaced);
}

int TDBGrid::roomForLastColumn(const TColumn &column) const
{
    // Asked for every column whenever the grid measures itself: no list of the shown ones here.
    const int last = nextShownColumn(columns_.Count(), -1);
    if (last == columns_.Count() || columns_[last] != &column)
        return -1;
    int room = viewport()->width() - indicatorWidth();
    for (int i = 0; i < last; ++i)
        if (columns_[i]->Visible())
            room -= columns_[i]->Width();
    return std::max(room, 0);
}

int TDBGrid::WidthForAllColumns() const
{
    int width = indicatorWidth() + 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    for (int column : shownColumns())
        width += columns_[column]->fullWidth();
    return width;
}

int TDBGrid::ShownRowCount() const
{
    return link_->RecordCount();
}

QString TDBGrid::ShownCellText(int column, int row) const
{
    if (column < 0 || column >= columns_.Count() || row < 0 || row >= link_->RecordCount())
        return {};
    ActiveRecordGuard guard(*link_);
    link_->SetActiveRecord(row);
    return fittedCellText(column);
}

QString TDBGrid::ShownTitle(int column) const
{
    if (column < 0 || column >= columns_.Count() || !options_.Contains(dgTitles))
        return {};
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    return fontMetrics().elidedText(columns_[column]->Title().Caption(), Qt::ElideRight,
                                    columns_[column]->Width() - 2 * margin);
}

QString TDBGrid::fittedCellText(int column) const
{
    const TField *field = columns_[column]->Field();
    if (!field)
        return {};
    return fontMetrics().elidedText(fieldTextToQString(field->DisplayText()), Qt::ElideRight,
                                    columns_[column]->Width() - 2 * GridCellPadding);
}

TDBGrid::Hit TDBGrid::hitAt(const QPoint &pos) const
{
    Hit hit;
    const bool inTitles = pos.y() < titleHeight();
    if (!inTitles) {
        hit.row = (pos.y() - titleHeight()) / RowHeight();
        // Without records there is still the one empty row, whose cells take clicks.
        if (hit.row >= std::max(link_->RecordCount(), 1))
            return {};
    }
    if (pos.x() < indicatorWidth()) {
        hit.kind = inTitles ? Hit::None : Hit::Indicator;
        return hit;
    }
    for (int column : shownColumns()) {
        const int left = columnLeft(column);
        if (pos.x() >= left && pos.x() < left + columns_[column]->Width()) {
            hit.kind = inTitles ? Hit::Title : Hit::Cell;
            hit.column = column;
            return hit;
        }
    }
    return {};
}

int TDBGrid::columnEdgeAt(const QPoint &pos) const
{
    if (!options_.Contains(dgColumnResize) || pos.y() >= titleHeight())
        return -1;
    for (int column : shownColumns()) {
        const int right = columnLeft(column) + columns_[column]->Width();
        if (std::abs(pos.x() - right) <= ColumnGrip)
            return column;
    }
    return -1;
}

void TDBGrid::scrollToColumn(int column)
{
    if (column < 0 || column >= columns_.Count() || !columns_[column]->Visible())
        return;
    // In content coordinates, where the offset is the first pixel shown after the indicator.
    const int left = columnLeft(column) + horizontalOffset_ - indicatorWidth();
    const int right = left + columns_[column]->Width();
    const int room = viewport()->width() - indicatorWidth();
    int offset = horizontalOffset_;
    if (right > offset + room)
        offset = right - room;
    if (left < offset)
        offset = left;
    horizontalScrollBar()->setValue(offset);
}

void TDBGrid::clampSelectedIndex()
{
    if (columns_.Count() == 0)
        selectedIndex_ = 0;
    else if (selectedIndex_ >= columns_.Count() || !columns_[selectedIndex_]->Visible())
        selectedIndex_ = std::max(nextShownColumn(-1, 1), 0);
}

void TDBGrid::updateBufferCount()
{
    link_->SetBufferCount(VisibleRowCount());
}

void TDBGrid::updateVerticalScrollBar()
{
    showDataSetPosition(*verticalScrollBar(), link_->Active() ? DataSet() : nullptr, recordCount_,
                        VisibleRowCount());
}

void TDBGrid::updateScrollBars()
{
    updateVerticalScrollBar();
    int total = 0;
    for (int column : shownColumns())
        total += columns_[column]->Width();
    const int room = std::max(0, viewport()->width() - indicatorWidth());
    QScrollBar *bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, total - room));
    bar->setPageStep(std::max(room, 1));
    bar->setSingleStep(std::max(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 4, 1));
    horizontalOffset_ = bar->value();
}

void TDBGrid::updateScrollBarsInView()
{
    // A hidden grid (on a page not shown, say) measures its columns when shown, not at every
    // change of its rows meanwhile.
    if (isVisible())
        updateScrollBars();
    else
        updateVerticalScrollBar();
}

void TDBGrid::scrollContentsBy(int, int)
{
    // Vertical moves go through the dataset (the bar's actions); only columns scroll by pixels.
    horizontalOffset_ = horizontalScrollBar()->value();
    placeEditor();
    viewport()->update();
}

void TDBGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateBufferCount();
    updateScrollBars();
    placeEditor();
}

// --- notifications from the link ------------------------------------------------------------

void TDBGrid::linkActiveChanged()
{
    hideEditor();
    columns_.rebuildDefault();
    if (!link_->Active())
        selectedRows_.Clear();
    clampSelectedIndex();
    updateBufferCount();
    dataSetChanged();
}

void TDBGrid::layoutChanged()
{
    columns_.rebuildDefault();
    clampSelectedIndex();
    updateScrollBars();
    placeEditor();
    viewport()->update();
}

void TDBGrid::dataSetChanged()
{
    TDataSet *dataSet = DataSet();
    // Counting may walk a filtered table; it is done on changes only, never on scrolling.
    recordCount_ = link_->Active() && dataSet->IsSequenced() ? dataSet->RecordCount() : 0;
    if (!link_->Editing())
        hideEditor();
    else if (EditorMode() && !editorModified_)
        recordChanged(nullptr);
    valuesChanged(true);
    updateScrollBarsInView();
    viewport()->update();
}

void TDBGrid::dataSetScrolled()
{
    hideEditor();
    // Rows coming into view may widen the columns.
    valuesChanged(false);
    updateScrollBarsInView();
    viewport()->update();
}

void TDBGrid::recordChanged(TField *field)
{
    TField *shown = SelectedField();
    if (EditorMode() && !editorModified_ && shown && (!field || field == shown))
        showFieldText(*editor_, fieldTextToQString(shown->Text()));
    valuesChanged(false);
    updateScrollBarsInView();
    viewport()->update();
}

void TDBGrid::editingChanged()
{
    viewport()->update();
}

void TDBGrid::updateData()
{
    TField *field = SelectedField();
    if (!EditorMode() || !editorModified_ || !field)
        return;
    field->SetText(storableFieldText(editor_->text(), field));
    editorModified_ = false;
}

// --- in-place editing ------------------------------------------------------------------------

bool TDBGrid::canEditCell() const
{
    if (!options_.Contains(dgEditing) || options_.Contains(dgRowSelect) || readOnly_ || !link_->Active())
        return false;
    if (selectedIndex_ >= columns_.Count() || columns_[selectedIndex_]->ReadOnly())
        return false;
    const TField *field = SelectedField();
    return field && field->CanModify();
}

bool TDBGrid::canInsertRows() const
{
    return options_.Contains(dgEditing) && !readOnly_ && link_->Active() && DataSet()->CanModify();
}

void TDBGrid::showEditor(const QString *typed)
{
    if (!canEditCell())
        return;
    if (!editor_)
        editor_ = new Editor(*this);
    editorModified_ = false;
    limitEditToField(*editor_, SelectedField());
    editor_->setText(fieldTextToQString(SelectedField()->Text()));
    editor_->setAlignment(toQtAlignment(SelectedField()->Alignment()));
    placeEditor();
    editor_->show();
    editor_->setFocus();
    if (typed) {
        editor_->setText(*typed);
        editorTyped();
    } else {
        editor_->selectAll();
    }
}

void TDBGrid::hideEditor()
{
    if (!EditorMode())
        return;
    editorModified_ = false;
    const bool hadFocus = editor_->hasFocus();
    editor_->hide();
    if (hadFocus)
        setFocus();
}

void TDBGrid::placeEditor()
{
    if (!editor_)
        return;
    const QRect cell = CellRect(selectedIndex_, link_->ActiveRecord());
    editor_->setGeometry(cell.adjusted(1, 1, -1, -1));
}

void TDBGrid::editorTyped()
{
    const QString typed = editor_->text();
    const int cursor = editor_->cursorPosition();
    // Entering edit mode reloads the cell from the field; the typing is put back over it.
    if (!link_->Editing() && !link_->Edit()) {
        editor_->setText(fieldTextToQString(SelectedField()->Text()));
        return;
    }
    if (editor_->text() != typed) {
        editor_->setText(typed);
        editor_->setCursorPosition(cursor);
    }
    editorModified_ = true;
}

void TDBGrid::leaveCell()
{
    if (EditorMode() && editorModified_)
        link_->UpdateRecord();
    hideEditor();
}

void TDBGrid::commitEditor()
{
    TDataSet *dataSet = DataSet();
    // Posting writes the editor's text through the field first; a refused value keeps the editor.
    if (link_->Active() && IsEditState(dataSet->State()))
        dataSet->Post();
    hideEditor();
}

void TDBGrid::cancelEditing()
{
    editorModified_ = false;
    hideEditor();
    if (link_->Active() && IsEditState(DataSet()->State()))
        DataSet()->Cancel();
}

void TDBGrid::editorKey(QKeyEvent *event)
{
    event->accept();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commitEditor();
        return;
    case Qt::Key_Escape:
        cancelEditing();
        return;
    case Qt::Key_F2:
        leaveCell();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Through the grid, which moves on to the next column.
        leaveCell();
        QApplication::sendEvent(this, event);
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        leaveCell();
        keyPressEvent(event);
        return;
    default:
        event->ignore();
    }
}

// --- moving and deleting ---------------------------------------------------------------------

void TDBGrid::moveRows(int distance, Qt::KeyboardModifiers modifiers)
{
    TDataSet *dataSet = DataSet();
    const bool extend = options_.Contains(dgMultiSelect) && modifiers & Qt::ShiftModifier;
    if (extend)
        selectedRows_.SetCurrentRowSelected(true);
    else if (!(modifiers & Qt::ControlModifier))
        selectedRows_.Clear();
    const bool blankNewRecord = dataSet->State() == dsInsert && !dataSet->Modified();
    if (distance == 1) {
        // Below the last record a new one is begun, where rows may be added.
        if (blankNewRecord)
            return;
        dataSet->Next();
        if (dataSet->Eof() && canInsertRows())
            dataSet->Append();
    } else if (distance == -1 && blankNewRecord) {
        dataSet->Cancel();
    } else {
        dataSet->MoveBy(distance);
    }
    if (extend)
        selectedRows_.SetCurrentRowSelected(true);
}

void TDBGrid::deleteRecord()
{
    TDataSet *dataSet = DataSet();
    if (dataSet->IsEmpty())
        return;
    if (options_.Contains(dgConfirmDelete) &&
        QMessageBox::question(this, QApplication::applicationDisplayName(), QStringLiteral("Törli a rekordot?"),
                              QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    selectedRows_.SetCurrentRowSelected(false);
    dataSet->Delete();
}

// --- painting --------------------------------------------------------------------------------

void TDBGrid::paintTitle(QPainter &painter, int column, const QRect &rect)
{
    QStyleOptionHeader option;
    option.initFrom(this);
    option.rect = rect;
    option.text = ShownTitle(column);
    option.textAlignment = toQtAlignment(columns_[column]->Title().Alignment());
    option.state |= QStyle::State_Raised | QStyle::State_Horizontal;
    option.orientation = Qt::Horizontal;
    option.position = QStyleOptionHeader::Middle;
    style()->drawControl(QStyle::CE_Header, &option, &painter, this);
}

void TDBGrid::paintIndicator(QPainter &painter, int row, bool active, bool marked)
{
    QStyleOptionHeader option;
    option.initFrom(this);
    option.rect = QRect(0, titleHeight() + row * RowHeight(), IndicatorWidth, RowHeight());
    option.state |= QStyle::State_Raised;
    option.orientation = Qt::Vertical;
    style()->drawControl(QStyle::CE_HeaderSection, &option, &painter, this);
    if (!active && !marked)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setBrush(palette().color(QPalette::ButtonText));
    const QPointF centre = QRectF(option.rect).center();
    const TDataSetState state = DataSet()->State();
    if (active && state == dsEdit) {
        painter.drawText(option.rect, Qt::AlignCenter, QStringLiteral("I"));
    } else if (active && state == dsInsert) {
        painter.drawText(option.rect, Qt::AlignCenter, QStringLiteral("*"));
    } else if (active) {
        const QPointF arrow[] = {centre + QPointF(-2.5, -4.5), centre + QPointF(2.5, 0), centre + QPointF(-2.5, 4.5)};
        painter.drawPolygon(arrow, 3);
    } else {
        painter.drawEllipse(centre, 2.5, 2.5);
    }
    painter.restore();
}

void TDBGrid::paintCell(QPainter &painter, const QRect &cell, int column, bool highlighted)
{
    painter.fillRect(cell, palette().color(highlighted ? QPalette::Highlight : QPalette::Base));
    if (const TField *field = columns_[column]->Field()) {
        painter.setPen(palette().color(highlighted ? QPalette::HighlightedText : QPalette::Text));
        const QRect textRect = cell.adjusted(GridCellPadding, 0, -GridCellPadding, 0);
        painter.drawText(textRect, int(toQtAlignment(field->Alignment())), fittedCellText(column));
    }
    const QColor line = toQColor(clSilver);
    if (options_.Contains(dgColLines))
        painter.fillRect(cell.right(), cell.top(), 1, cell.height(), line);
    if (options_.Contains(dgRowLines))
        painter.fillRect(cell.left(), cell.bottom(), cell.width(), 1, line);
}

void TDBGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    // The columns on screen with their horizontal extent, worked out once for all rows.
    std::vector<std::pair<int, QRect>> columns;
    for (int column : shownColumns()) {
        const QRect title(columnLeft(column), 0, columns_[column]->Width(), titleHeight());
        if (title.left() < viewport()->width() && title.right() >= indicatorWidth())
            columns.emplace_back(column, title);
    }
    const QRect dataArea(indicatorWidth(), titleHeight(), viewport()->width(), viewport()->height());
    const bool focused = hasFocus() || (editor_ && editor_->hasFocus());
    const bool showSelection = focused || options_.Contains(dgAlwaysShowSelection);
    const bool marking = options_.Contains(dgMultiSelect) && selectedRows_.Count() > 0;
    ActiveRecordGuard guard(*link_);
    // Without records one empty row stands in their place, as the cells to click and type into.
    for (int row = 0; row < std::max(link_->RecordCount(), 1); ++row) {
        link_->SetActiveRecord(row);
        // The stand-in row of an empty dataset is no record, so it is never the current one.
        const bool active = link_->Active() && row < link_->RecordCount() && row == guard.saved();
        const bool marked = marking && selectedRows_.CurrentRowSelected();
        painter.setClipRect(dataArea);
        for (const auto &[column, title] : columns) {
            const bool current = active && showSelection && (options_.Contains(dgRowSelect) || column == selectedIndex_);
            const QRect cell(title.left(), titleHeight() + row * RowHeight(), title.width(), RowHeight());
            paintCell(painter, cell, column, marked || current);
        }
        painter.setClipping(false);
        if (options_.Contains(dgIndicator))
            paintIndicator(painter, row, active, marked);
    }
    if (!options_.Contains(dgTitles))
        return;
    painter.setClipRect(QRect(indicatorWidth(), 0, viewport()->width(), titleHeight()));
    for (const auto &[column, title] : columns)
        paintTitle(painter, column, title);
    painter.setClipping(false);
    if (options_.Contains(dgIndicator)) {
        QStyleOptionHeader corner;
        corner.initFrom(this);
        corner.rect = QRect(0, 0, IndicatorWidth, titleHeight());
        style()->drawControl(QStyle::CE_HeaderSection, &corner, &painter, this);
    }
}

// --- mouse -----------------------------------------------------------------------------------

void TDBGrid::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    press(event);
}

void TDBGrid::press(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    resizingColumn_ = columnEdgeAt(pos);
    if (resizingColumn_ >= 0) {
        resizeOrigin_ = columnLeft(resizingColumn_);
        return;
    }
    pressed_ = hitAt(pos);
    pressedOnCurrentCell_ = false;
    if (pressed_.kind != Hit::Cell && pressed_.kind != Hit::Indicator)
        return;
    leaveCell();
    pressedOnCurrentCell_ = pressed_.kind == Hit::Cell && pressed_.row == link_->ActiveRecord() &&
                            pressed_.column == selectedIndex_;
    if (link_->Active() && pressed_.row != link_->ActiveRecord())
        DataSet()->MoveBy(pressed_.row - link_->ActiveRecord());
    if (pressed_.kind == Hit::Cell)
        SetSelectedIndex(pressed_.column);
    if (options_.Contains(dgMultiSelect)) {
        if (event->modifiers() & Qt::ControlModifier)
            selectedRows_.SetCurrentRowSelected(!selectedRows_.CurrentRowSelected());
        else if (event->modifiers() & Qt::ShiftModifier)
            selectedRows_.SetCurrentRowSelected(true);
        else
            selectedRows_.Clear();
    }
}

void TDBGrid::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (resizingColumn_ >= 0) {
        columns_[resizingColumn_]->SetWidth(std::max(pos.x() - resizeOrigin_, MinColumnWidth));
        return;
    }
    viewport()->setCursor(columnEdgeAt(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TDBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (resizingColumn_ >= 0) {
        resizingColumn_ = -1;
        return;
    }
    const Hit pressed = pressed_;
    pressed_ = {};
    if (event->button() != Qt::LeftButton)
        return;
    // The release names the cell again: the records may have moved under the mouse meanwhile.
    const Hit released = hitAt(event->position().toPoint());
    if (pressed.kind == Hit::Title && released.kind == Hit::Title && released.column == pressed.column) {
        if (OnTitleClick)
            OnTitleClick(*columns_[released.column]);
    } else if (pressed.kind == Hit::Cell && released.kind == Hit::Cell && released.column == pressed.column) {
        if (pressedOnCurrentCell_)
            showEditor(nullptr);
        if (OnCellClick)
            OnCellClick(*columns_[released.column]);
    }
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    // The second press of a double click arrives as this event alone.
    press(event);
    const Hit hit = hitAt(event->position().toPoint());
    if ((hit.kind == Hit::Cell || hit.kind == Hit::Indicator) && OnDblClick)
        OnDblClick(*this);
}

void TDBGrid::wheelEvent(QWheelEvent *event)
{
    event->accept();
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0 && link_->Active())
        DataSet()->MoveBy(-steps);
}

void TDBGrid::contextMenuEvent(QContextMenuEvent *event)
{
    if (!popupMenu_) {
        event->ignore();
        return;
    }
    event->accept();
    popupMenu_->popup(event->globalPos());
}

// --- keys and focus --------------------------------------------------------------------------

void TDBGrid::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (OnKeyDown)
        OnKeyDown(*this, key, modifiers);
    // The focused grid takes every key, so that the window holding it sees none of them.
    event->accept();
    if (key == 0 || (link_->Active() && dataKey(key, modifiers)))
        return;
    if (event->text().isEmpty() || modifiers & Qt::ControlModifier)
        return;
    QChar character = event->text().front();
    if (OnKeyPress)
        OnKeyPress(*this, character);
    // A character the files cannot hold opens no editor, as the editor itself would refuse it.
    if (character.isPrint() && isStorableText(QString(character))) {
        const QString typed(character);
        showEditor(&typed);
    }
}

bool TDBGrid::dataKey(int key, Qt::KeyboardModifiers modifiers)
{
    TDataSet *dataSet = DataSet();
    const bool control = modifiers & Qt::ControlModifier;
    const bool rowSelect = options_.Contains(dgRowSelect);
    switch (key) {
    case Qt::Key_Up:
        moveRows(-1, modifiers);
        break;
    case Qt::Key_Down:
        moveRows(1, modifiers);
        break;
    case Qt::Key_PageUp:
        moveRows(-VisibleRowCount(), modifiers);
        break;
    case Qt::Key_PageDown:
        moveRows(VisibleRowCount(), modifiers);
        break;
    case Qt::Key_Home:
        if (control || rowSelect)
            dataSet->First();
        else
            SetSelectedIndex(nextShownColumn(-1, 1));
        break;
    case Qt::Key_End:
        if (control || rowSelect)
            dataSet->Last();
        else
            SetSelectedIndex(nextShownColumn(columns_.Count(), -1));
        break;
    case Qt::Key_Left:
        SetSelectedIndex(nextShownColumn(selectedIndex_, -1));
        break;
    case Qt::Key_Right:
        SetSelectedIndex(nextShownColumn(selectedIndex_, 1));
        break;
    case Qt::Key_Insert:
        if (canInsertRows())
            dataSet->Insert();
        break;
    case Qt::Key_Delete:
        if (control && canInsertRows())
            deleteRecord();
        break;
    case Qt::Key_Escape:
        cancelEditing();
        break;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        showEditor(nullptr);
        break;
    default:
        return false;
    }
    return true;
}

bool TDBGrid::event(QEvent *event)
{
    // Rows scrolled into view while hidden were not measured yet.
    if (event->type() == QEvent::Show)
        updateScrollBars();
    // With dgTabs, Tab moves between the columns instead of leaving the grid.
    if (event->type() == QEvent::KeyPress && options_.Contains(dgTabs) && link_->Active()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int step = key->key() == Qt::Key_Tab ? 1 : (key->key() == Qt::Key_Backtab ? -1 : 0);
        const int next = nextShownColumn(selectedIndex_, step);
        if (step != 0 && next != selectedIndex_) {
            SetSelectedIndex(next);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TDBGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    if (!focusInside_) {
        focusInside_ = true;
        if (OnEnter)
            OnEnter(*this);
    }
}

void TDBGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
    focusLeft();
}

void TDBGrid::focusLeft()
{
    // Focus moving between the grid and its editor stays inside the grid.
    QWidget *now = QApplication::focusWidget();
    if (!focusInside_ || now == this || (editor_ && now == editor_))
        return;
    focusInside_ = false;
    TDataSet *dataSet = DataSet();
    if (options_.Contains(dgCancelOnExit) && link_->Active() && dataSet->State() == dsInsert && !dataSet->Modified())
        dataSet->Cancel();
    if (OnExit)
        OnExit(*this);
}
