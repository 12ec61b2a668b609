#include "dialogs/tantargyszerv2.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ElementCounts, ShowStartsWithNoRows)
{
    Ttargyszervezo2 dialog;
    dialog.show();
    dialog.SetInput("KOD1", "EA");
    dialog.hide();
    dialog.show();
    EXPECT_EQ(dialog.Darab, 0);
    EXPECT_FALSE(dialog.Lkod[0]->isVisible());
}

TEST(ElementCounts, SeventhRowIsIgnored)
{
    Ttargyszervezo2 dialog;
    dialog.show();
    for (int i = 1; i <= 7; ++i)
        dialog.SetInput("KOD" + std::to_string(i), "GY");
    EXPECT_EQ(dialog.Darab, 6);
    EXPECT_EQ(dialog.Lkod[5]->text(), QStringLiteral("KOD6"));
    EXPECT_TRUE(dialog.SE[5]->isVisible());
    EXPECT_EQ(dialog.SE[5]->value(), 1);
}

TEST(ElementCounts, OkStoresTheRowsInUse)
{
    Ttargyszervezo2 dialog;
    dialog.show();
    dialog.SetInput("KOD1", "EA");
    dialog.SetInput("KOD2", "LA");
    dialog.SE[1]->setValue(3);
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Kodok[1], "KOD2");
    EXPECT_EQ(dialog.Tipusok[1], "LA");
    EXPECT_EQ(dialog.Szamok[0], 1);
    EXPECT_EQ(dialog.Szamok[1], 3);
    EXPECT_EQ(dialog.Szamok[2], 0);
    EXPECT_TRUE(dialog.Kodok[2].empty());
}

} // namespace
