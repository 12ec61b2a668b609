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
    EXPECT_EQ(std::vector({dialog.SpinEdit1->value(), dialog.SpinEdit2->value(), dialog.SpinEdit3->value()}),
              std::vector({1, 0, 1}));
    EXPECT_FALSE(dialog.SpinEdit2->isEnabled());
    EXPECT_EQ(dialog.SpinEdit3->maximum(), 10);
    dialog.SpinEdit3->setValue(4);
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_EQ(std::vector({dialog.EloadasDarab, dialog.GyakorlatDarab, dialog.LaborDarab}), std::vector({1, 0, 4}));
    dialog.GyakorlatDarab = 3;
    dialog.show();
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_EQ(dialog.GyakorlatDarab, 3) << "back keeps the offer";
}

} // namespace
