#pragma once

// The database copy window: emptying the database tables, copying every memory table into them,
// and browsing one of them.

#include <QWidget>

class TForm2 : public QWidget {
public:
    explicit TForm2(QWidget *parent = nullptr);
};

extern TForm2 *Form2;
