// The mouse wheel acting as the arrow keys in every window.

#include "app/WheelAsArrowKeys.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

class WheelOnAList : public testing::Test {
protected:
    void SetUp() override
    {
        qApp->installEventFilter(&wheelAsKeys);
        list.addItems({QStringLiteral("első"), QStringLiteral("második"), QStringLiteral("harmadik")});
        list.setCurrentRow(1);
    }
    // One notch aimed at the list's viewport, as the mouse delivers it.
    void turn(int delta)
    {
        const QPointF inside(5, 5);
        QWheelEvent wheel(inside, list.viewport()->mapToGlobal(inside), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list.viewport(), &wheel);
    }

    WheelAsArrowKeys wheelAsKeys;
    QListWidget list;
};

} // namespace

TEST_F(WheelOnAList, NotchMovesOneRowUpAwayFromTheUserAndDownOtherwise)
{
    for (const auto &[delta, row] : {std::pair{120, 0}, std::pair{-120, 2}, std::pair{0, 2}}) {
        list.setCurrentRow(1);
        turn(delta);
        EXPECT_EQ(list.currentRow(), row) << "delta " << delta;
    }
}

TEST_F(WheelOnAList, WheelNoLongerScrollsTheList)
{
    for (int i = 0; i < 200; ++i)
        list.addItem(QString::number(i));
    list.resize(200, 100);
    list.setCurrentRow(0);
    turn(-120);
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(list.verticalScrollBar()->value(), 0) << "one row down needs no scrolling";
}
