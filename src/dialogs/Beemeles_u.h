#pragma once

// Merging the data of another folder.

#include <QDialog>

class TEmelo : public QDialog {
public:
    explicit TEmelo(QWidget *parent = nullptr);
};

extern TEmelo *Emelo;
