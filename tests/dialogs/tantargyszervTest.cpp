#include "dialogs/tantargyszerv.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(CourseCounts, OnlyOfferedTypesStartAtOneAndCanChange)
{
    Ttantargyszervezes dialog;
    dialog.EloadasDarab = 2;
    dialog.GyakorlatDarab = 0;
    dialog.LaborDarab = 1;
    dialog.show();
    EXPECT_EQ(dialog.SpinEdit1->value(), 1);
    EXPECT_TRUE(dialog.SpinEdit1->isEnabled());
    EXPECT_EQ(dialog.SpinEdit2->value(), 0);
    EXPECT_FALSE(dialog.SpinEdit2->isEnabled());
    EXPECT_EQ(dialog.SpinEdit3->maximum(), 10);
}

TEST(CourseCounts, OkHandsBackTheChosenNumbers)
{
    Ttantargyszervezes dialog;
    dialog.EloadasDarab = 1;
    dialog.GyakorlatDarab = 3;
    dialog.show();
    // Offered at one; the planner steps it up to two.
    QTest::keyClick(dialog.SpinEdit2, Qt::Key_Up);
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.EloadasDarab, 1);
    EXPECT_EQ(dialog.GyakorlatDarab, 2);
    EXPECT_EQ(dialog.LaborDarab, 0);
}

TEST(CourseCounts, BackKeepsTheOfferedNumbers)
{
    Ttantargyszervezes dialog;
    dialog.GyakorlatDarab = 3;
    dialog.show();
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.GyakorlatDarab, 3);
}

} // namespace
