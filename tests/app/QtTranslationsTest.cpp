#include "app/QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(QtTranslations, StandardButtonsSpeakHungarian)
{
    ASSERT_TRUE(installQtTranslations(*qApp)) << "qtbase_hu is missing from Qt's translations folder";

    const QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes
                                   | QDialogButtonBox::No);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Mégse"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Igen"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text(), QStringLiteral("&Nem"));
}
