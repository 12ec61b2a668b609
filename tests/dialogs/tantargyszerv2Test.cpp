#include "dialogs/tantargyszerv2.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

// Created but never shown by the program.
TEST(ElementCounts, TakesSixRowsOkStoresThemAndShowingAgainStartsEmpty)
{
    Ttargyszervezo2 dialog;
    dialog.show();
    for (int i = 1; i <= 7; ++i)
        dialog.SetInput("KOD" + std::to_string(i), i == 2 ? "LA" : "GY");
    EXPECT_EQ(dialog.Lkod[5]->text(), QStringLiteral("KOD6"));
    dialog.SE[1]->setValue(3);
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_EQ(std::vector(dialog.Kodok.begin(), dialog.Kodok.begin() + 2), (std::vector<std::string>{"KOD1", "KOD2"}));
    EXPECT_EQ(dialog.Tipusok[1], "LA");
    EXPECT_EQ(std::vector(dialog.Szamok.begin(), dialog.Szamok.end()), (std::vector{1, 3, 1, 1, 1, 1}));
    dialog.show();
    EXPECT_EQ(dialog.Darab, 0);
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_EQ(dialog.Szamok[0], 0);
}
