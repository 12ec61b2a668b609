#pragma once

// Adding a new room.

#include <QDialog>

class Tteremfelvetel : public QDialog {
public:
    explicit Tteremfelvetel(QWidget *parent = nullptr);
};

extern Tteremfelvetel *teremfelvetel;
