#pragma once

// The timetable list: picking the timetable to work on, and the export for the student information system.

#include <QDialog>

#include <string>

class Torarend : public QDialog {
public:
    explicit Torarend(QWidget *parent = nullptr);

    // The chosen timetable after the modal show, -1 when none was chosen.
    int OrarendId = -1;
    // The week mask of new occasions chosen with the timetable (cp1250).
    std::string Hetek = "111111111111111";
};

extern Torarend *orarend;
