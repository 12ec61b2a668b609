#pragma once

// The administrator's table browser and maintenance operations.

#include <QDialog>

class TAdminka : public QDialog {
public:
    explicit TAdminka(QWidget *parent = nullptr);
};

extern TAdminka *Adminka;
