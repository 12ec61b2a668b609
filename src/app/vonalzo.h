#pragma once

#include "data/Progress.h"

#include <QElapsedTimer>
#include <QWidget>

class QProgressBar;

// The progress window. The long operations run on the GUI thread without returning to the event
// loop, so the window paints itself when it shows a change instead of leaving that to the loop.
class TVonal : public QWidget, public Progress {
public:
    explicit TVonal(QWidget *parent = nullptr);

    void start(int maximum, const std::string &caption) override;
    void setCaption(const std::string &caption) override;
    void step() override;
    void finish() override;

    QProgressBar *ProgressBar1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeOverOwner();
    // Lets every window draw what is pending, then paints this one.
    void showNow();
    // Paints this window only.
    void paintNow();

    // Since the window was last put on screen; steps in between only move the bar.
    QElapsedTimer sinceShown_;
    // The value the bar showed when last drawn, -1 when not drawn since the window was shown.
    int drawnValue_ = -1;
};
