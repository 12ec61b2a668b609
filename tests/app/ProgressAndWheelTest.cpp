#include "app/WheelAsArrowKeys.h"
#include "app/vonalzo.h"

#include <QApplication>
#include <QListWidget>
#include <QProgressBar>
#include <QScrollBar>
#include <QWheelEvent>
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

TEST(ProgressWindow, ShowsCaptionAndStepsHoldsTheInputAndPaintsTheFullBarAtOnce)
{
    TVonal window;
    Progress &progress = window;
    progress.start(3, "Mentés");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), &window) << "other windows take no input meanwhile";
    EXPECT_EQ(window.ProgressBar1->maximum(), 3);
    progress.step();
    progress.setCaption("Mentés:Órarendek");
    progress.step();
    EXPECT_EQ(window.ProgressBar1->value(), 2);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Mentés:Órarendek"));
    // The operations never yield to the event loop, so the last step is painted at once.
    PaintCounter counter;
    window.ProgressBar1->installEventFilter(&counter);
    progress.step();
    progress.step();
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(window.ProgressBar1->value(), 3) << "steps beyond the maximum keep the bar full";
    progress.finish();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Equal bounds would make the bar an endless busy animation.
    progress.start(0, "Másolás: terem");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Másolás: terem"));
    EXPECT_LT(window.ProgressBar1->minimum(), window.ProgressBar1->maximum());
    EXPECT_EQ(window.ProgressBar1->value(), 0);
}

TEST(WheelAsArrowKeys, NotchMovesOneRowUpAwayFromTheUserAndDownOtherwiseWithoutScrolling)
{
    WheelAsArrowKeys wheelAsKeys;
    qApp->installEventFilter(&wheelAsKeys);
    QListWidget list;
    for (int i = 0; i < 200; ++i)
        list.addItem(QString::number(i));
    list.resize(200, 100);
    for (const auto &[delta, row] : {std::pair{120, 0}, std::pair{-120, 2}, std::pair{0, 2}}) {
        list.setCurrentRow(1);
        const QPointF inside(5, 5);
        QWheelEvent wheel(inside, list.viewport()->mapToGlobal(inside), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list.viewport(), &wheel);
        EXPECT_EQ(list.currentRow(), row) << "delta " << delta;
        EXPECT_EQ(list.verticalScrollBar()->value(), 0) << "a row in sight needs no scrolling";
    }
}
