#include "dialogs/tantargyszerv2.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ElementCounts, TakesSixRowsOkStoresThemAndShowingAgainStartsEmpty)
{
    Ttargyszervezo2 dialog;
    dialog.show();
    for (int i = 1; i <= 7; ++i)
        dialog.SetInput("KOD" + std::to_string(i), i == 2 ? "LA" : "GY");
    EXPECT_EQ(dialog.Darab, 6);
    EXPECT_EQ(dialog.Lkod[5]->text(), QStringLiteral("KOD6"));
    EXPECT_TRUE(dialog.SE[5]->isVisible());
    EXPECT_EQ(dialog.SE[5]->value(), 1);
    dialog.SE[1]->setValue(3);
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Kodok[1], "KOD2");
    EXPECT_EQ(dialog.Tipusok[1], "LA");
    EXPECT_EQ(dialog.Szamok[0], 1);
    EXPECT_EQ(dialog.Szamok[1], 3);

    dialog.show();
    EXPECT_EQ(dialog.Darab, 0);
    EXPECT_FALSE(dialog.Lkod[0]->isVisible());
    dialog.SetInput("KOD1", "EA");
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_EQ(dialog.Szamok[1], 0);
    EXPECT_TRUE(dialog.Kodok[1].empty());
}

} // namespace
