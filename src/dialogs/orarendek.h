#pragma once

// The timetables one course belongs to.

#include <QDialog>

class Torarend_valaszto : public QDialog {
public:
    explicit Torarend_valaszto(QWidget *parent = nullptr);

    // The course whose timetables are listed; set by the caller before the modal show.
    int KurzusId = -1;
};

extern Torarend_valaszto *orarend_valaszto;
