#pragma once

// Searching subjects and course templates for a course. The caller sets KurzusId and
// KeresesMod (1 subjects suggested by the course code, 2 every subject, 3 course templates),
// runs the dialog and on OK reads Eredmeny, or the rows selected on the active subject page
// (KivalasztottTargyak gives both). The dialog changes no data; its searches filter shared
// tables.

#include "memtable/ztrMemTable.h"
#include "platform/DataSource.h"

#include <QDialog>

#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QWidget;
class TColumn;
class TDBGrid;

class Ttargy_kereso : public QDialog {
public:
    explicit Ttargy_kereso(QWidget *parent = nullptr);

    int KurzusId = -1;
    int KeresesMod = 1;
    std::string KurzusKod;
    int Eredmeny = -1;
    std::string KeresoMezo = "targy_kod";

    TztrMemTable MT_targy_temp;
    TztrMemTable MT_targyszuk;
    TztrMemTable MT_kurzusmintaszuk;
    TztrMemTable MT_targy_temp2;
    TDataSource DS_targy_temp{&MT_targy_temp};
    TDataSource DS_targyszuk{&MT_targyszuk};
    TDataSource DS_targy_temp2{&MT_targy_temp2};

    QTabWidget *PC;
    QWidget *TS_szuk;
    QWidget *TS_targy;
    QWidget *TS_kurzusminta;
    TDBGrid *DBGrid1;
    QLineEdit *Edit1;
    TDBGrid *DBGrid2;
    TDBGrid *DBG_kurzusminta;
    QLabel *L_kereso_kod;
    QLineEdit *E_kereso_kod;
    QLabel *L_kereso_nev;
    QLineEdit *E_kereso_nev;
    TDBGrid *DBG_kurzusmintatargyai;
    QLabel *L_kereso;
    QMenu *PM_kereso;
    QAction *targy_kod;
    QAction *targy_nev;
    QLineEdit *E_kereso;
    QPushButton *B_vissza;
    QPushButton *B_mentes;

    std::string TargykodElotag() const;
    void TargySzures();
    void KurzusmintaSzures();
    void kereso_Click(QAction *item);
    void B_mentesClick();
    void DBGrid1CellClick();
    void DBG_kurzusmintaCellClick();
    void PCChange();
    void FormShow();
    void FormClose();
    // Fills the narrowed list from the templates whose code begins with the course's prefix.
    void SzukitettLista();
    // After OK: the subjects the caller should link, the selected rows of the active subject
    // page or else the one in Eredmeny.
    std::vector<int> KivalasztottTargyak();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpTables();
    void showPages(bool subjects, bool templates);
    // Set while the show steps switch pages themselves.
    bool showing_ = false;
};

extern Ttargy_kereso *targy_kereso;
