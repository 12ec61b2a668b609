// What the application does with an exception that escapes an event handler.

#include "app/Application.h"

#include "platform/SysUtils.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct SeenBox {
    int count = 0;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Delivers while answering every box that comes up with OK.
bool deliverAnswering(const std::function<bool()> &deliver, SeenBox &seen)
{
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++seen.count;
        seen.text = box->text();
        seen.icon = box->icon();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    answerer.start(0);
    return deliverShowingExceptions(deliver);
}

} // namespace

TEST(EscapedExceptions, AreShownOnceWithTheirMessageAndTheEventCountsAsUnhandled)
{
    SeenBox seen;
    EXPECT_TRUE(deliverAnswering([] { return true; }, seen));
    EXPECT_FALSE(deliverAnswering([] { return false; }, seen));
    EXPECT_EQ(seen.count, 0) << "a delivery without one shows nothing and keeps its result";

    const bool handled = deliverAnswering(
        []() -> bool { throw EDatabaseError("Duplikált érték az indexben. Művelet leállítva."); }, seen);
    EXPECT_FALSE(handled);
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.text, QStringLiteral("Duplikált érték az indexben. Művelet leállítva."));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}
