#pragma once

// The week-mask editor.

#include <QDialog>

class Tedithetek : public QDialog {
public:
    explicit Tedithetek(QWidget *parent = nullptr);
};

extern Tedithetek *edithetek;
