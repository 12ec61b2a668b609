#pragma once

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

// Right-clicks `widget` at `at` and, in the popup that opens, clicks `entry`.
inline void chooseFromPopup(QWidget *widget, QPoint at, QMenu *popup, QAction *entry)
{
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &rightClick);
    ASSERT_TRUE(popup->isVisible()) << popup->objectName().toStdString();
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(entry).center());
}
