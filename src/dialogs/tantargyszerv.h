#pragma once

// How many lecture, practice and lab courses to create for a subject.

#include <QDialog>

class Ttantargyszervezes : public QDialog {
public:
    explicit Ttantargyszervezes(QWidget *parent = nullptr);
};

extern Ttantargyszervezes *tantargyszervezes;
