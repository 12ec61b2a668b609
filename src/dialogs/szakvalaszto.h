#pragma once

// The programme chooser.

#include <QDialog>

class Tszakval : public QDialog {
public:
    explicit Tszakval(QWidget *parent = nullptr);
};

extern Tszakval *szakval;
