#include "app/vonalzo.h"

#include <QEvent>
#include <QProgressBar>
#include <gtest/gtest.h>

namespace {

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

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

TEST(ProgressWindow, BarIsDrawnOnceAsTheWindowShows)
{
    // Drawing the bar costs more than most steps; a value already on screen is not drawn again.
    TVonal window;
    PaintCounter counter;
    window.ProgressBar1->installEventFilter(&counter);
    Progress &progress = window;
    progress.start(2, "Fress");
    EXPECT_EQ(counter.paints, 1);
    progress.setCaption("Mentés");
    EXPECT_EQ(counter.paints, 1) << "a new caption leaves the bar as it is";
    progress.finish();
    progress.start(2, "Fress");
    EXPECT_EQ(counter.paints, 2) << "shown again, drawn again";
}
