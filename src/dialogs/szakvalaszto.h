#pragma once

// The programme chooser. The programme table it was laid out for is not part of the data, so
// its grid stays unbound and only "Vissza" and "Kiválasztás törlése" give a result.

#include <QDialog>

class QPushButton;
class TDBGrid;

class Tszakval : public QDialog {
public:
    explicit Tszakval(QWidget *parent = nullptr);

    // The chosen programme: -1 none, 0 the choice cleared.
    int SzakId = -1;

    TDBGrid *DBGrid1;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;

    void Button1Click();
    void Button2Click();
    void Button3Click();
};

extern Tszakval *szakval;
