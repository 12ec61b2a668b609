#pragma once

// Course creation from the subjects of a curriculum and from course templates.

#include <QDialog>

class TTargyfelvet : public QDialog {
public:
    explicit TTargyfelvet(QWidget *parent = nullptr);
};

extern TTargyfelvet *Targyfelvet;
