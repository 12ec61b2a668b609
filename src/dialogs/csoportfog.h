#pragma once

// The occasions of a group of courses together on a calendar.

#include <QDialog>

class Tcsoportfoglalasok : public QDialog {
public:
    explicit Tcsoportfoglalasok(QWidget *parent = nullptr);
};

extern Tcsoportfoglalasok *csoportfoglalasok;
