#pragma once

// The columns of a TDBGrid and the list of the records selected in it.

#include "platform/DB.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class TDBGrid;
class TColumn;

// Room left and right of a cell's text, counted into a column's default width.
inline constexpr int GridCellPadding = 3;

// Widths of texts in one font, remembered: a grid measures its values again at every change of
// its rows, mostly the same values, and shaping a text is the costly part of measuring it.
class TextWidthCache {
public:
    // Forgets what it knew when the font is another.
    void useFont(const QFont &font);
    qreal width(const QString &text);

private:
    QFontMetricsF metrics_{QFont()};
    QFont font_;
    QHash<QString, qreal> widths_;
};

class TColumnTitle {
public:
    explicit TColumnTitle(TColumn &column) : column_(column) {}

    // The field's display name unless set.
    QString Caption() const;
    void SetCaption(const QString &caption);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

private:
    TColumn &column_;
    QString caption_;
    bool captionSet_ = false;
    TAlignment alignment_ = taLeftJustify;
};

// One shown column: a field of the dataset by name, with its title and width.
class TColumn {
public:
    TColumn(TDBGrid &grid, const std::string &fieldName);
    TColumn(const TColumn &) = delete;
    TColumn &operator=(const TColumn &) = delete;

    TDBGrid &Grid() const { return grid_; }
    int Index() const;
    const std::string &FieldName() const { return fieldName_; }
    void SetFieldName(const std::string &name);
    // The dataset's field of that name while the grid's dataset is open, else none.
    TField *Field() const;
    TColumnTitle &Title() { return title_; }
    const TColumnTitle &Title() const { return title_; }
    // Pixels; unless set, as wide as the title and the widest value the grid has shown since its
    // rows last changed, the values within a cap: a field's declared size says little of its texts.
    // The last column so sized takes no more than the room the others leave, title aside, so
    // that every column of the grid is in view.
    int Width() const;
    void SetWidth(int width);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

private:
    friend class TDBGrid;
    // The grid's rows changed: `replaced` when they are other rows (measured afresh), not only
    // some more of them come into view.
    void valuesChanged(bool replaced) const;
    // The width from the title and the values, wherever the column stands.
    int fullWidth() const;
    int titleWidth() const;

    TDBGrid &grid_;
    std::string fieldName_;
    TColumnTitle title_{*this};
    int width_ = -1;
    // What the default width was measured from: grids ask for widths on every move of their
    // dataset, and measuring texts is the costly part.
    struct Measured {
        QFont font;
        QString caption;
        int captionPixels = -1;
        int valuesPixels = 0;
        int rowsSeen = -1;
        bool valuesStale = true;
    };
    mutable Measured measured_;
    bool visible_ = true;
    bool readOnly_ = false;
};

enum TDBGridColumnsState : std::uint8_t { csDefault, csCustomized };

// The grid's columns: one per visible field of the dataset until columns are added; then
// exactly the added ones.
class TDBGridColumns {
public:
    explicit TDBGridColumns(TDBGrid &grid) : grid_(grid) {}

    TDBGridColumnsState State() const { return state_; }
    // Adds a column of the caller's; the first one replaces the columns made from the fields.
    TColumn *Add(const std::string &fieldName = {});
    // Back to the columns made from the fields.
    void Clear();
    int Count() const { return static_cast<int>(columns_.size()); }
    TColumn *Items(int index) const { return columns_.at(static_cast<std::size_t>(index)).get(); }
    TColumn *operator[](int index) const { return Items(index); }
    // The column showing that field, or none.
    TColumn *ColumnOfField(const TField *field) const;

private:
    friend class TDBGrid;
    // Rebuilds the default columns from the dataset's visible fields.
    void rebuildDefault();

    TDBGrid &grid_;
    TDBGridColumnsState state_ = csDefault;
    std::vector<std::unique_ptr<TColumn>> columns_;
};

// The records selected in a multi-select grid, as bookmarks in the order they were selected.
class TBookmarkList {
public:
    explicit TBookmarkList(TDBGrid &grid) : grid_(grid) {}

    int Count() const { return static_cast<int>(bookmarks_.size()); }
    const TBookmark &Items(int index) const { return bookmarks_.at(static_cast<std::size_t>(index)); }
    const TBookmark &operator[](int index) const { return Items(index); }
    bool Find(const TBookmark &bookmark) const;
    bool CurrentRowSelected() const;
    void SetCurrentRowSelected(bool selected);
    void Clear();
    // Drops the bookmarks of records that are gone; true when any was dropped.
    bool Refresh();

private:
    TDataSet *dataSet() const;

    TDBGrid &grid_;
    std::vector<TBookmark> bookmarks_;
};
