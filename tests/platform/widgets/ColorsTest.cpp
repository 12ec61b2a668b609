#include "platform/widgets/Colors.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

TEST(ColorValues, LowByteIsRedComponentsBuildThePlatformValueSystemColoursFollowThePalette)
{
    EXPECT_EQ(toQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(toQColor(0x80FFFF), QColor(255, 255, 128));
    EXPECT_EQ(toQColor(0xF0CAA6), QColor(0xA6, 0xCA, 0xF0));
    EXPECT_EQ(RGBToColor(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(toQColor(RGBToColor(10, 20, 30)), QColor(10, 20, 30));
    EXPECT_EQ(RGBToColor(255, 255, 0), clYellow);
    const QPalette palette = QApplication::palette();
    EXPECT_EQ(toQColor(clHighlight), palette.color(QPalette::Highlight));
    EXPECT_EQ(toQColor(clBtnFace), palette.color(QPalette::Button));
    EXPECT_EQ(toQColor(clWindow), palette.color(QPalette::Base));
}
