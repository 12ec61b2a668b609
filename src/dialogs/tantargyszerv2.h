#pragma once

// How many timetable elements to create of each kind.

#include <QDialog>

class Ttargyszervezo2 : public QDialog {
public:
    explicit Ttargyszervezo2(QWidget *parent = nullptr);
};

extern Ttargyszervezo2 *targyszervezo2;
