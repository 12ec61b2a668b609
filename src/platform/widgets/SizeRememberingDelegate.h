#pragma once

// An item delegate that measures an item once for everything its size depends on.

#include <QCache>
#include <QFont>
#include <QSize>
#include <QStyledItemDelegate>

// A list view asks for the size of its first row at every layout, and measuring a row shapes
// every text in it. The size a style gives follows only from the item's option (its text, font,
// area and features) and the style itself, so it is kept under those and measured again only
// when one of them is new.
class SizeRememberingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    struct Measured
    {
        QString text;
        QFont font;
        QSize area;
        QSize decorationSize;
        int features = 0;
        int decorationPosition = 0;
        int displayAlignment = 0;
        int textElideMode = 0;
        int checkState = 0;
        const void *style = nullptr;

        bool operator==(const Measured &) const = default;
    };

private:
    mutable QCache<Measured, QSize> sizes_{4096};
};

size_t qHash(const SizeRememberingDelegate::Measured &measured, size_t seed = 0);
