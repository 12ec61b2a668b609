#include "dialogs/tantargyszerv.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(CourseCounts, OfferedTypesStartAtOneOkHandsBackTheChoiceBackKeepsTheOffer)
{
    Ttantargyszervezes dialog;
    dialog.EloadasDarab = 2;
    dialog.LaborDarab = 1;
    dialog.show();
    for (QSpinBox *offered : {dialog.SpinEdit1, dialog.SpinEdit3}) {
        EXPECT_EQ(offered->value(), 1);
        EXPECT_TRUE(offered->isEnabled());
        EXPECT_EQ(offered->maximum(), 10);
    }
    EXPECT_EQ(dialog.SpinEdit2->value(), 0);
    EXPECT_FALSE(dialog.SpinEdit2->isEnabled());
    dialog.SpinEdit3->setValue(4);
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(std::vector({dialog.EloadasDarab, dialog.GyakorlatDarab, dialog.LaborDarab}), std::vector({1, 0, 4}));

    dialog.GyakorlatDarab = 3;
    dialog.show();
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.GyakorlatDarab, 3);
}

} // namespace
