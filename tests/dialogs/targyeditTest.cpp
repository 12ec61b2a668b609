#include "dialogs/targyedit.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(SubjectEditor, ShowStartsEmptyTypedCodeBuildsItsSearchAndOnlySaveKeepsTheSubject)
{
    TTargyeditor dialog;
    dialog.TargyId = 3;
    dialog.KastorelTargyId = 4;
    dialog.show();
    EXPECT_EQ(dialog.E_kredit->text(), QStringLiteral("99")) << "a student-system subject";
    EXPECT_TRUE(dialog.Szuro.empty()) << "filling the edits is no typing";
    QApplication::setActiveWindow(&dialog);
    dialog.E_kod->setFocus();
    QTest::keyClicks(dialog.E_kod, QStringLiteral("ma'b"));
    EXPECT_EQ(dialog.E_kod->text(), QStringLiteral("MA'B"));
    EXPECT_EQ(dialog.Szuro, "targykod like 'MA''B**'");
    dialog.E_ea->setText(QStringLiteral("4"));
    QTest::mouseClick(dialog.B_mentes, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.TargyId, 3);
    EXPECT_EQ(dialog.KastorelTargyId, -1);

    dialog.show();
    EXPECT_TRUE(dialog.E_kod->text().isEmpty());
    EXPECT_EQ(dialog.E_ea->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.E_kredit->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.CB_sablon->currentText(), QStringLiteral("V"));
    QApplication::setActiveWindow(&dialog);
    QTest::keyClicks(dialog.E_kod, QStringLiteral("x"));
    EXPECT_EQ(dialog.Szuro, "targykod like 'X**'");
    QTest::mouseClick(dialog.B_megse, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.TargyId, -1);
}

} // namespace
