#pragma once

// The timetable list: picking the timetable to work on, and the export for the student information system.

#include <QDialog>

class Torarend : public QDialog {
public:
    explicit Torarend(QWidget *parent = nullptr);
};

extern Torarend *orarend;
