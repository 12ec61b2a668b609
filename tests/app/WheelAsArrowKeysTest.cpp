#include "app/WheelAsArrowKeys.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

TEST(WheelAsArrowKeys, NotchMovesOneRowUpAwayFromTheUserAndDownOtherwiseWithoutScrolling)
{
    WheelAsArrowKeys wheelAsKeys;
    qApp->installEventFilter(&wheelAsKeys);
    QListWidget list;
    for (int i = 0; i < 200; ++i)
        list.addItem(QString::number(i));
    list.resize(200, 100);
    for (const auto &[delta, row] : {std::pair{120, 0}, std::pair{-120, 2}, std::pair{0, 2}}) {
        list.setCurrentRow(1);
        const QPointF inside(5, 5);
        QWheelEvent wheel(inside, list.viewport()->mapToGlobal(inside), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list.viewport(), &wheel);
        EXPECT_EQ(list.currentRow(), row) << "delta " << delta;
        EXPECT_EQ(list.verticalScrollBar()->value(), 0) << "a row in sight needs no scrolling";
    }
}
