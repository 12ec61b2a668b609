#include "dialogs/szakvalaszto.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// Created but never shown by the program; only its two result buttons work.
TEST(ProgrammeChooser, ChooseWithoutATableStaysClearGivesZeroAndBackGivesNone)
{
    Tszakval dialog;
    dialog.show();
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.Button3, Qt::LeftButton);
    EXPECT_EQ(dialog.SzakId, 0);
    dialog.show();
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_EQ(dialog.SzakId, -1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
