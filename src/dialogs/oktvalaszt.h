#pragma once

// The teacher chooser.

#include <QDialog>

class Toktval : public QDialog {
public:
    explicit Toktval(QWidget *parent = nullptr);
};

extern Toktval *oktval;
