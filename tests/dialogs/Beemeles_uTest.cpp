#include "dialogs/Beemeles_u.h"

#include "data/datamTestFolder.h"

#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// Created but never shown by the program.
TEST(MergeFolderPicker, ShowEmptiesTheBarAndAChosenSubfolderFillsThePath)
{
    datamtest::TempFolder folder;
    std::filesystem::create_directory(folder.path() / "alfa");
    std::filesystem::create_directory(folder.path() / "beta");
    TEmelo dialog;
    dialog.PB->setValue(500);
    dialog.show();
    EXPECT_EQ(dialog.PB->value(), 0);
    const QString root = QString::fromStdString(folder.path().string());
    dialog.SetMappa(root);
    ASSERT_EQ(dialog.DLB->count(), 2);
    dialog.DLB->setCurrentRow(1);
    EXPECT_EQ(dialog.P->text(), root + QStringLiteral("/beta"));
}

TEST(MergeFolderPicker, ShowEmptiesTheBarAndCancelCloses)
{
    TEmelo dialog;
    dialog.PB->setValue(500);
    dialog.show();
    EXPECT_EQ(dialog.PB->value(), 0);
    EXPECT_EQ(dialog.PB->maximum(), 900);
    QTest::mouseClick(dialog.B_megse, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}
