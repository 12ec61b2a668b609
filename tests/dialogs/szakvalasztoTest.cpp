#include "dialogs/szakvalaszto.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ProgrammeChooser, ChooseWithoutATableStaysClearGivesZeroAndBackGivesNone)
{
    Tszakval dialog;
    dialog.show();
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.SzakId, -1);
    QTest::mouseClick(dialog.Button3, Qt::LeftButton);
    EXPECT_EQ(dialog.SzakId, 0);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    dialog.show();
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_EQ(dialog.SzakId, -1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

} // namespace
