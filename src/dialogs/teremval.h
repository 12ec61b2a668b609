#pragma once

// The room chooser: gives an occasion a room from every room, or, with "szükít" ticked, from the
// rooms no other occasion holds at the same day, time and weeks. The caller sets AlkalomId and
// Hetek and runs the dialog modally; "Kiválaszt" writes the room into the occasion's row of the
// shared occasion store and accepts.

#include "memtable/ztrMemTable.h"
#include "platform/DB.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QPushButton;
class TColumn;
class TDBGrid;

class Tteremvalasztas : public QDialog {
public:
    explicit Tteremvalasztas(QWidget *parent = nullptr);

    // The occasion being given a room; -1 when none, and again after every closing.
    int AlkalomId = -1;
    // The occasion's week mask; a non-empty one starts the narrowed list at once.
    std::string Hetek;

    // A minute of the day to a multiple of 5: remainders 1 and 2 down, 3 and 4 up.
    static int Kerekites5(int minute);

    // The narrowed list: a copy of the rooms that loses those taken at the occasion's time.
    TztrMemTable MT_teremtemp;
    TDataSource DS_teremtemp{&MT_teremtemp};
    // Every occasion of the store: walked by the search, and holding the row the room goes into.
    TztrMemTable MT_alktemp;

    TDBGrid *DBGrid1;
    QCheckBox *CheckBox1;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;

    void FormCreate();
    void FormShow();
    void FormClose();
    void CheckBox1Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void DBGrid1TitleClick(TColumn &column);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // Makes the occasion AlkalomId current in MT_alktemp; false when there is none.
    bool locateOccasion();
    void narrowToFreeRooms();
    void fillRoomCopy();
};

extern Tteremvalasztas *teremvalasztas;
