#include "app/vonalzo.h"

#include <QApplication>
#include <QEvent>
#include <QProgressBar>
#include <gtest/gtest.h>

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

} // namespace

TEST(ProgressWindow, ShowsCaptionAndStepsHoldsTheInputAndStartsAgainFromZero)
{
    TVonal window;
    Progress &progress = window;
    progress.start(8, "Mentés");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), &window) << "other windows take no input meanwhile";
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Mentés"));
    EXPECT_EQ(window.ProgressBar1->maximum(), 8);
    EXPECT_EQ(window.ProgressBar1->value(), 0);
    progress.step();
    progress.setCaption("Mentés:Oktatók");
    progress.step();
    progress.setCaption("Mentés:Órarendek");
    progress.step();
    EXPECT_EQ(window.ProgressBar1->value(), 3);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Mentés:Órarendek"));
    progress.finish();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    progress.start(2, "Kurzus minták beolvasása");
    EXPECT_EQ(window.ProgressBar1->value(), 0);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kurzus minták beolvasása"));
    for (int i = 0; i < 5; ++i)
        progress.step();
    EXPECT_EQ(window.ProgressBar1->value(), 2) << "steps beyond the maximum keep the bar full";

    // Equal bounds would make the bar an endless busy animation.
    progress.start(0, "Másolás: terem");
    EXPECT_LT(window.ProgressBar1->minimum(), window.ProgressBar1->maximum());
    EXPECT_EQ(window.ProgressBar1->value(), 0);
}

TEST(ProgressWindow, FullBarIsPaintedWithoutReturningToTheEventLoop)
{
    // The operations never yield to the event loop while they run, so a step only queued for
    // painting would never be seen; steps in between may be left to the next paint.
    TVonal window;
    Progress &progress = window;
    progress.start(3, "Generálás");
    PaintCounter counter;
    window.ProgressBar1->installEventFilter(&counter);
    progress.step();
    progress.step();
    const int beforeLast = counter.paints;
    progress.step();
    EXPECT_GT(counter.paints, beforeLast);
}
