#pragma once

// The subjects of a course template.

#include <QDialog>

class TMintaTargy : public QDialog {
public:
    explicit TMintaTargy(QWidget *parent = nullptr);
};

extern TMintaTargy *MintaTargy;
