#pragma once

// The subject editor.

#include <QDialog>

class TTargyeditor : public QDialog {
public:
    explicit TTargyeditor(QWidget *parent = nullptr);
};

extern TTargyeditor *Targyeditor;
