#pragma once

// The subjects of a course template, and head counts per subject. The tables it was laid out for
// are not part of the data: its grids stay unbound, and a typed search is only collected. Its
// one working operation is the master-data save.

#include <QDialog>

#include <string>

class QMenu;
class QPushButton;
class QTabWidget;
class TDBGrid;

class TMintaTargy : public QDialog {
public:
    explicit TMintaTargy(QWidget *parent = nullptr);

    QTabWidget *PageControl1;
    TDBGrid *DBGrid1;
    TDBGrid *DBGrid2;
    TDBGrid *DBGrid3;
    QMenu *PopupMenu1;
    QMenu *PopupMenu2;
    QPushButton *B_ok;
    QPushButton *B_cancel;
    QPushButton *B_torzsadatmentes;

    // The column the typed search is for (targykod, targynev, targynev_angol), empty for none.
    std::string KeresoOszlop;
    QString KeresoSzoveg;

    void DBGrid2CellClick(const std::string &fieldName);
    void DBGrid2KeyPress(QChar &key);
    void B_torzsadatmentesClick();
    void B_okClick();
    void B_cancelClick();
};

extern TMintaTargy *MintaTargy;
