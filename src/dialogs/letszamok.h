#pragma once

// Head-count statistics of an organiser's subjects and the older codes linked to them, with a
// total row. The tables are kept by the window itself; nothing in the program fills them from
// a file, so it shows what a caller put into them.

#include "memtable/ztrMemTable.h"
#include "platform/DataSource.h"

#include <QDialog>

class QPushButton;
class TDBGrid;

class TSegitseg : public QDialog {
public:
    explicit TSegitseg(QWidget *parent = nullptr);

    // The organiser whose lessons are counted.
    int SzervezoId = 0;

    TztrMemTable MT_ora;
    TztrMemTable MT_minta;
    TztrMemTable MT_tantargy;
    TztrMemTable MT_targykapcs;
    TztrMemTable MT_minta2;
    TztrMemTable MT_segitsegtemp2;
    TztrMemTable MT_segitsegtemp;
    TDataSource DS_segitsegtemp{&MT_segitsegtemp};
    TDataSource DS_minta2{&MT_minta2};

    TDBGrid *DB_szamok;
    TDBGrid *DBGrid1;
    QPushButton *B_kilepes;

    // The seven counts every row and the total carry.
    static const char *const Szamok[7];

    void FormShow();
    void FormClose();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void openTables();
};

extern TSegitseg *Segitseg;
