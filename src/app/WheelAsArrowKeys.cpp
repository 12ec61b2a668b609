#include "app/WheelAsArrowKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWheelEvent>

bool WheelAsArrowKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    const auto *wheel = static_cast<QWheelEvent *>(event);
    const Qt::Key key = wheel->angleDelta().y() > 0 ? Qt::Key_Up : Qt::Key_Down;
    QKeyEvent press(QEvent::KeyPress, key, wheel->modifiers());
    QCoreApplication::sendEvent(watched, &press);
    return true;
}
