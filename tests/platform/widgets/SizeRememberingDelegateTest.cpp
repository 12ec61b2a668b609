#include "platform/widgets/SizeRememberingDelegate.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Two lists with the same rows, one measuring through the remembering delegate.
struct ListPair {
    ListPair()
    {
        remembering.setItemDelegate(new SizeRememberingDelegate(&remembering));
        for (QTreeWidget *list : {&plain, &remembering}) {
            list->setColumnCount(2);
            list->setColumnWidth(0, 80);
            list->resize(300, 200);
        }
    }

    void addRow(const QString &first, const QString &second, const QFont *font = nullptr)
    {
        for (QTreeWidget *list : {&plain, &remembering}) {
            auto *row = new QTreeWidgetItem(list, {first, second});
            if (font)
                row->setFont(1, *font);
        }
    }

    // Columns fitted to their contents, row heights and each item's own size, side by side.
    void expectSameSizes()
    {
        for (int column = 0; column < 2; ++column) {
            plain.resizeColumnToContents(column);
            remembering.resizeColumnToContents(column);
            EXPECT_EQ(remembering.columnWidth(column), plain.columnWidth(column)) << "column " << column;
        }
        for (int row = 0; row < plain.topLevelItemCount(); ++row) {
            EXPECT_EQ(remembering.visualItemRect(remembering.topLevelItem(row)).height(),
                      plain.visualItemRect(plain.topLevelItem(row)).height())
                << "row " << row;
            for (int column = 0; column < 2; ++column) {
                const QModelIndex plainIndex = plain.model()->index(row, column);
                const QModelIndex rememberingIndex = remembering.model()->index(row, column);
                QStyleOptionViewItem option;
                option.initFrom(&plain);
                option.rect = QRect(0, 0, 40 + 30 * column, 20);
                EXPECT_EQ(remembering.itemDelegate()->sizeHint(option, rememberingIndex),
                          plain.itemDelegate()->sizeHint(option, plainIndex))
                    << "row " << row << " column " << column;
            }
        }
    }

    QTreeWidget plain;
    QTreeWidget remembering;
};

TEST(SizeRememberingDelegate, MeasuresEveryRowAsThePlainDelegateDoes)
{
    ListPair lists;
    QFont large = lists.plain.font();
    large.setPointSize(large.pointSize() * 2);
    lists.addRow(QStringLiteral("SZT151MN-LA-03W"), QStringLiteral("Analízis"));
    lists.addRow(QStringLiteral("i"), QStringLiteral("Két\nsor"));
    lists.addRow(QStringLiteral("SZT151MN-LA-03W"), QStringLiteral("Analízis"), &large);
    lists.addRow(QString(), QStringLiteral("Árvíztűrő tükörfúrógép, nagyon hosszú szöveg, amely nem fér el"));
    lists.expectSameSizes();
    // Asked again, the remembered sizes answer.
    lists.expectSameSizes();
}

TEST(SizeRememberingDelegate, FollowsAFontChangedAfterMeasuring)
{
    ListPair lists;
    lists.addRow(QStringLiteral("SZT151MN-LA-03W"), QStringLiteral("Analízis"));
    lists.expectSameSizes();
    for (QTreeWidget *list : {&lists.plain, &lists.remembering}) {
        QFont font = list->font();
        font.setPointSize(font.pointSize() + 5);
        list->setFont(font);
    }
    lists.expectSameSizes();
    EXPECT_GT(lists.remembering.columnWidth(0), 0);
}

TEST(SizeRememberingDelegate, ARowGivenItsOwnSizeKeepsIt)
{
    ListPair lists;
    lists.addRow(QStringLiteral("a"), QStringLiteral("b"));
    lists.remembering.topLevelItem(0)->setSizeHint(0, QSize(7, 99));
    lists.remembering.topLevelItem(0)->setSizeHint(1, QSize(7, 99));
    EXPECT_EQ(lists.remembering.visualItemRect(lists.remembering.topLevelItem(0)).height(), 99);
}

} // namespace
