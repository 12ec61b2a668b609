#pragma once

// The timetables one course belongs to.

#include <QDialog>

class Torarend_valaszto : public QDialog {
public:
    explicit Torarend_valaszto(QWidget *parent = nullptr);
};

extern Torarend_valaszto *orarend_valaszto;
