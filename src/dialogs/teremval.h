#pragma once

// The room chooser, with the search for rooms free at an occasion's time.

#include <QDialog>

class Tteremvalasztas : public QDialog {
public:
    explicit Tteremvalasztas(QWidget *parent = nullptr);
};

extern Tteremvalasztas *teremvalasztas;
