#pragma once

// Installed on the application, this makes the mouse wheel act as the arrow keys in every window
// of the program: lists, grids and calendars then step one row per notch, as the users expect.

#include <QObject>

class WheelAsArrowKeys : public QObject {
public:
    using QObject::QObject;

protected:
    // A wheel turned away from the user becomes an up-arrow key press for the widget the wheel
    // was aimed at, any other turn a down-arrow press; the wheel event itself is dropped.
    bool eventFilter(QObject *watched, QEvent *event) override;
};
