#include "dialogs/targyedit.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// Created but never shown by the program.
TEST(SubjectEditor, ShowStartsEmptyTypedCodeBuildsItsSearchAndOnlySaveKeepsTheSubject)
{
    TTargyeditor dialog;
    dialog.TargyId = 3;
    dialog.KastorelTargyId = 4;
    dialog.show();
    EXPECT_EQ(dialog.E_kredit->text(), QStringLiteral("99")) << "a student-system subject";
    QApplication::setActiveWindow(&dialog);
    QTest::keyClicks(dialog.E_kod, QStringLiteral("ma'b"));
    EXPECT_EQ(dialog.E_kod->text(), QStringLiteral("MA'B"));
    EXPECT_EQ(dialog.Szuro, "targykod like 'MA''B**'");
    QTest::mouseClick(dialog.B_mentes, Qt::LeftButton);
    EXPECT_EQ(dialog.TargyId, 3);
    EXPECT_EQ(dialog.KastorelTargyId, -1);
    dialog.show();
    EXPECT_TRUE(dialog.E_kod->text().isEmpty());
    EXPECT_EQ(dialog.E_ea->text() + dialog.E_kredit->text() + dialog.CB_sablon->currentText(), QStringLiteral("00V"));
    QTest::mouseClick(dialog.B_megse, Qt::LeftButton);
    EXPECT_EQ(dialog.TargyId, -1);
}
