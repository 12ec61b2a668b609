#pragma once

// A number of at most three digits: a head count or a teacher's share.

#include <QDialog>

class Tletszam : public QDialog {
public:
    explicit Tletszam(QWidget *parent = nullptr);
};

extern Tletszam *letszam;
