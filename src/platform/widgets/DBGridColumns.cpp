#include "platform/widgets/DBGridColumns.h"

#include "platform/widgets/DBGrids.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int EmptyColumnWidth = 58;
// Enough for the values of several screens of rows; past it the cache starts over.
constexpr qsizetype MostTextWidthsKept = 4096;

} // namespace

// --- TextWidthCache ------------------------------------------------------------------------

void TextWidthCache::useFont(const QFont &font)
{
    if (font == font_)
        return;
    font_ = font;
    metrics_ = QFontMetricsF(font);
    widths_.clear();
}

qreal TextWidthCache::width(const QString &text)
{
    if (const auto known = widths_.constFind(text); known != widths_.cend())
        return *known;
    if (widths_.size() >= MostTextWidthsKept)
        widths_.clear();
    return widths_.insert(text, metrics_.horizontalAdvance(text)).value();
}

// --- TColumnTitle, TColumn -------------------------------------------------------------------

QString TColumnTitle::Caption() const
{
    if (captionSet_)
        return caption_;
    const TField *field = column_.Field();
    return fieldTextToQString(field ? field->DisplayName() : column_.FieldName());
}

void TColumnTitle::SetCaption(const QString &caption)
{
    caption_ = caption;
    captionSet_ = true;
    column_.Grid().viewport()->update();
}

void TColumnTitle::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    column_.Grid().viewport()->update();
}

TColumn::TColumn(TDBGrid &grid, const std::string &fieldName) : grid_(grid), fieldName_(fieldName) {}

int TColumn::Index() const
{
    const TDBGridColumns &columns = grid_.Columns();
    for (int i = 0; i < columns.Count(); ++i)
        if (columns[i] == this)
            return i;
    return -1;
}

void TColumn::SetFieldName(const std::string &name)
{
    fieldName_ = name;
    grid_.layoutChanged();
}

TField *TColumn::Field() const
{
    TDataSet *dataSet = grid_.DataSet();
    return dataSet && grid_.linkActive() && !fieldName_.empty() ? dataSet->FindField(fieldName_) : nullptr;
}

int TColumn::Width() const
{
    if (width_ >= 0)
        return width_;
    const int full = fullWidth();
    const int room = grid_.roomForLastColumn(*this);
    return room < 0 ? full : std::max(std::min(full, room), titleWidth());
}

int TColumn::titleWidth() const
{
    QString caption = title_.Caption();
    const QFont &font = grid_.font();
    if (measured_.captionPixels < 0 || measured_.caption != caption || measured_.font != font) {
        if (measured_.font != font)
            valuesChanged(true);
        measured_.captionPixels = int(std::ceil(QFontMetricsF(font).horizontalAdvance(caption)));
        measured_.caption = std::move(caption);
        measured_.font = font;
    }
    return measured_.captionPixels + 2 * GridCellPadding;
}

int TColumn::fullWidth() const
{
    if (width_ >= 0)
        return width_;
    const int title = titleWidth();
    // The grid's buffer may take more rows without telling its columns.
    if (measured_.valuesStale || measured_.rowsSeen != grid_.ShownRowCount()) {
        measured_.valuesStale = false;
        measured_.rowsSeen = grid_.ShownRowCount();
        measured_.valuesPixels = std::max(measured_.valuesPixels, grid_.widestShownValue(*this));
    }
    // A column of a closed grid still offers some room to click.
    const int floor = Field() ? 0 : EmptyColumnWidth;
    return std::max({title, measured_.valuesPixels + 2 * GridCellPadding, floor + 2 * GridCellPadding});
}

void TColumn::valuesChanged(bool replaced) const
{
    if (replaced)
        measured_.valuesPixels = 0;
    measured_.valuesStale = true;
}

void TColumn::SetWidth(int width)
{
    width_ = std::max(width, 0);
    grid_.layoutChanged();
}

void TColumn::SetVisible(bool visible)
{
    visible_ = visible;
    grid_.layoutChanged();
}

void TColumn::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (readOnly && grid_.SelectedIndex() == Index())
        grid_.hideEditor();
}

// --- TDBGridColumns --------------------------------------------------------------------------

TColumn *TDBGridColumns::Add(const std::string &fieldName)
{
    if (state_ == csDefault) {
        columns_.clear();
        state_ = csCustomized;
    }
    columns_.push_back(std::make_unique<TColumn>(grid_, fieldName));
    grid_.layoutChanged();
    return columns_.back().get();
}

void TDBGridColumns::Clear()
{
    state_ = csDefault;
    rebuildDefault();
    grid_.layoutChanged();
}

TColumn *TDBGridColumns::ColumnOfField(const TField *field) const
{
    for (const auto &column : columns_)
        if (field && column->Field() == field)
            return column.get();
    return nullptr;
}

void TDBGridColumns::rebuildDefault()
{
    if (state_ != csDefault)
        return;
    std::vector<std::string> names;
    TDataSet *dataSet = grid_.DataSet();
    if (dataSet && grid_.linkActive())
        for (const auto &field : dataSet->Fields())
            if (field->Visible())
                names.push_back(field->FieldName());
    // Unchanged fields keep their columns, with the widths the user dragged them to.
    const bool same = std::equal(names.begin(), names.end(), columns_.begin(), columns_.end(),
                                 [](const std::string &name, const auto &column) { return column->FieldName() == name; });
    if (same)
        return;
    columns_.clear();
    for (const std::string &name : names)
        columns_.push_back(std::make_unique<TColumn>(grid_, name));
}

// --- TBookmarkList ---------------------------------------------------------------------------

TDataSet *TBookmarkList::dataSet() const
{
    TDataSet *dataSet = grid_.DataSet();
    return dataSet && dataSet->Active() ? dataSet : nullptr;
}

bool TBookmarkList::Find(const TBookmark &bookmark) const
{
    return !bookmark.empty() && std::find(bookmarks_.begin(), bookmarks_.end(), bookmark) != bookmarks_.end();
}

bool TBookmarkList::CurrentRowSelected() const
{
    TDataSet *data = dataSet();
    return data && Find(data->GetBookmark());
}

void TBookmarkList::SetCurrentRowSelected(bool selected)
{
    TDataSet *data = dataSet();
    if (!data)
        return;
    const TBookmark current = data->GetBookmark();
    if (current.empty() || Find(current) == selected)
        return;
    if (selected)
        bookmarks_.push_back(current);
    else
        bookmarks_.erase(std::find(bookmarks_.begin(), bookmarks_.end(), current));
    grid_.viewport()->update();
}

void TBookmarkList::Clear()
{
    if (bookmarks_.empty())
        return;
    bookmarks_.clear();
    grid_.viewport()->update();
}

bool TBookmarkList::Refresh()
{
    TDataSet *data = dataSet();
    const auto gone = std::remove_if(bookmarks_.begin(), bookmarks_.end(),
                                     [data](const TBookmark &bookmark) { return !data || !data->BookmarkValid(bookmark); });
    const bool dropped = gone != bookmarks_.end();
    bookmarks_.erase(gone, bookmarks_.end());
    if (dropped)
        grid_.viewport()->update();
    return dropped;
}
