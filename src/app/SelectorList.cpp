#include "app/SelectorList.h"

#include <QCollator>
#include <QItemSelectionModel>

#include <algorithm>
#include <numeric>

SelectorList::SelectorList(const char *name, int dataColumns, QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    setColumnCount(1 + dataColumns);
    for (int column = 1; column <= dataColumns; ++column)
        setColumnHidden(column, true);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // One line of text each: no row needs measuring, however many thousands there are.
    setUniformRowHeights(true);
}

void SelectorList::showRows(std::vector<QStringList> rows)
{
    if (rows == rows_ && topLevelItemCount() == int(rows.size())) {
        // The same rows: a refill would only forget the pick and show the top again.
        selectionModel()->clear();
        scrollToTop();
        return;
    }
    // One collation key per caption rather than one collation per comparison.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(rows.size());
    for (const QStringList &row : rows)
        keys.push_back(QCollator::defaultSortKey(row.value(0)));
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(rows.size()));
    for (const int row : order)
        items.append(new QTreeWidgetItem(rows[std::size_t(row)]));
    clear();
    addTopLevelItems(items);
    rows_ = std::move(rows);
}
