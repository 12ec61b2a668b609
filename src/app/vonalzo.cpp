#include "app/vonalzo.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

TVonal::TVonal(QWidget *parent)
    : QWidget(parent, Qt::Dialog)
    , ProgressBar1(new QProgressBar(this))
{
    // While an operation runs the other windows must not react (closing the main window
    // half way through a save, say).
    setWindowModality(Qt::ApplicationModal);
    resize(420, 60);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar1);
    ProgressBar1->installEventFilter(this);
}

void TVonal::start(int maximum, const std::string &caption)
{
    // A bar whose maximum equals its minimum turns into an endless busy animation; an operation
    // over an empty table shows an empty bar instead.
    ProgressBar1->setRange(0, std::max(maximum, 1));
    ProgressBar1->setValue(0);
    drawnValue_ = -1;
    placeOverOwner();
    show();
    setCaption(caption);
}

void TVonal::placeOverOwner()
{
    // Over the window whose operation it reports, else in the middle of the screen.
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect over;
    if (owner && owner->isVisible())
        over = owner->frameGeometry();
    else if (const QScreen *shown = screen())
        over = shown->availableGeometry();
    if (over.isValid())
        move(over.center() - QPoint(width() / 2, height() / 2));
}

void TVonal::setCaption(const std::string &caption)
{
    setWindowTitle(QString::fromStdString(caption));
    showNow();
}

void TVonal::step()
{
    // Beyond the maximum the bar stays full.
    const int maximum = ProgressBar1->maximum();
    const bool fills = ProgressBar1->value() == maximum - 1;
    // The bar repaints itself at once whenever its percentage changes, a whole window's paint per
    // step; here it is only marked for the next paint.
    ProgressBar1->setUpdatesEnabled(false);
    ProgressBar1->setValue(std::min(ProgressBar1->value() + 1, maximum));
    ProgressBar1->setUpdatesEnabled(true);
    // Painting costs more than a step of most operations: the bar is put on screen about ten
    // times a second, and once more when it fills.
    constexpr qint64 RepaintMilliseconds = 100;
    // When the operation is ending the other windows can wait until it returns.
    const bool drawable = windowHandle() && windowHandle()->isExposed();
    if (fills && drawable)
        paintNow();
    else if (fills || sinceShown_.elapsed() >= RepaintMilliseconds)
        showNow();
}

void TVonal::finish()
{
    close();
}

void TVonal::showNow()
{
    // The window system reports the new window as drawable by an event; painting before that
    // event is handled draws nothing, so the window would stay blank for the whole operation.
    // User input is left waiting, so nothing can start another operation meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // A window just shown is drawn whole as it is exposed, and a bar marked for painting is
    // drawn with the pending paints; drawing either again costs as much as the first time.
    if (drawnValue_ == ProgressBar1->value())
        sinceShown_.start();
    else
        paintNow();
}

void TVonal::paintNow()
{
    repaint();
    sinceShown_.start();
}

bool TVonal::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ProgressBar1 && event->type() == QEvent::Paint)
        drawnValue_ = ProgressBar1->value();
    return QWidget::eventFilter(watched, event);
}
