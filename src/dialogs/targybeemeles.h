#pragma once

// Which courses belong to a timetable.

#include <QDialog>

class Tbeemeles : public QDialog {
public:
    explicit Tbeemeles(QWidget *parent = nullptr);
};

extern Tbeemeles *beemeles;
