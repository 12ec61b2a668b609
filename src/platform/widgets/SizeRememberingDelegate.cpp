#include "platform/widgets/SizeRememberingDelegate.h"

#include <QApplication>
#include <QStyle>

QSize SizeRememberingDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    // A size the model gives, or an icon (whose pixmaps the key cannot tell apart), goes the
    // plain way.
    if (index.data(Qt::SizeHintRole).isValid() || !item.icon.isNull())
        return QStyledItemDelegate::sizeHint(option, index);
    QStyle *style = item.widget ? item.widget->style() : QApplication::style();
    const Measured key{item.text,
                       item.font,
                       item.rect.size(),
                       item.decorationSize,
                       int(item.features),
                       int(item.decorationPosition),
                       int(item.displayAlignment),
                       int(item.textElideMode),
                       int(item.checkState),
                       style};
    if (const QSize *size = sizes_.object(key))
        return *size;
    const QSize size = style->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), item.widget);
    sizes_.insert(key, new QSize(size));
    return size;
}

size_t qHash(const SizeRememberingDelegate::Measured &measured, size_t seed)
{
    return qHashMulti(seed, measured.text, measured.font, measured.area.width(), measured.area.height(),
                      measured.features, measured.style);
}
