#include "app/Screenshot.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QWidget>
#include <QWindow>

#include <cstdio>

void saveScreenshotOnceShown(QWidget &window, const QString &path)
{
    // Queued, so it runs inside the event loop after the window has been shown.
    QMetaObject::invokeMethod(&window, [&window, path] {
        // A display server maps the window asynchronously; the grab is only worth taking once
        // the window can be drawn on.
        while (!window.windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        window.repaint();

        // Grabbing the screen rather than rendering the widget shows what the display really got.
        const QRect area = window.frameGeometry();
        const QPixmap shot = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        if (!shot.save(path)) {
            std::fprintf(stderr, "Cannot write the screenshot %s\n", path.toLocal8Bit().constData());
            QCoreApplication::exit(1);
            return;
        }
        QCoreApplication::exit(0);
    }, Qt::QueuedConnection);
}
