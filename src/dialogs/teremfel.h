#pragma once

// Adding a new room to the rooms table, saved at once. The edits keep their texts between
// openings, so rooms of one building are entered one after the other.

#include <QDialog>

class QLineEdit;
class QPushButton;

class Tteremfelvetel : public QDialog {
public:
    explicit Tteremfelvetel(QWidget *parent = nullptr);

    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QLineEdit *Edit3;
    QLineEdit *Edit4;
    QPushButton *Button1;
    QPushButton *Button2;

    void FormCreate();
    // Raises EConvertError, adding nothing, when the capacity is no integer; raises
    // EDataFileError when the data cannot be saved (the room stays in the table).
    void Button1Click();
    void Button2Click();
};

extern Tteremfelvetel *teremfelvetel;
