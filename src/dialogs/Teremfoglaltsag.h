#pragma once

// The occupancy of one room on a calendar.

#include <QDialog>

class TTeremfog : public QDialog {
public:
    explicit TTeremfog(QWidget *parent = nullptr);
};

extern TTeremfog *Teremfog;
