#pragma once

// Head-count statistics.

#include <QDialog>

class TSegitseg : public QDialog {
public:
    explicit TSegitseg(QWidget *parent = nullptr);
};

extern TSegitseg *Segitseg;
