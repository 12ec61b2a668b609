#pragma once

// Searching subjects and course templates for a course.

#include <QDialog>

class Ttargy_kereso : public QDialog {
public:
    explicit Ttargy_kereso(QWidget *parent = nullptr);
};

extern Ttargy_kereso *targy_kereso;
