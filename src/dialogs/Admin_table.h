#pragma once

// The administrator's table browser: the data module's tables raw, the offered flags of
// curricula and subjects, curriculum and template trees, and the maintenance operations (saving
// the master data, the imports, the course-occasion links, fixing course names). Most tabs work
// on the shared tables themselves, so edits, filters and orders made here stay.

#include "memtable/ztrMemTable.h"
#include "platform/DataSource.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TColumn;
class TDBGrid;
class TRadioGroup;

class TAdminka : public QDialog {
public:
    explicit TAdminka(QWidget *parent = nullptr);

    TztrMemTable MT_mintatantervtargy_temp;
    TztrMemTable MT_targy_osszes_temp;
    TztrMemTable MT_targy_temp;
    TztrMemTable MT_kurzusminta_temp;
    TztrMemTable MT_kurzusmintatargy_temp;
    TztrMemTable MT_kurzusmintaoktato_temp;
    TDataSource DS_targy_temp{&MT_targy_temp};
    TDataSource DS_kurzusminta_temp{&MT_kurzusminta_temp};
    TDataSource DS_kurzusmintaoktato_temp{&MT_kurzusmintaoktato_temp};

    QTabWidget *PageControl1;
    TDBGrid *DBG_targy;
    TDBGrid *DBG_mintatanterv;
    TRadioGroup *RG_tagozat;
    TRadioGroup *RG_nyelv;
    TRadioGroup *RG_tipus;
    QWidget *TS_kurzusmintafa;
    TDBGrid *DBG_kurzusminta;
    TDBGrid *DBG_kurzusmintatargy;
    TDBGrid *DBG_kurzusmintaoktato;
    TRadioGroup *RG_tip2;
    TRadioGroup *RG_felev;
    QWidget *TS_mintatantervfa;
    TDBGrid *DBG_mintatanterv_fa;
    TDBGrid *DBG_targy_fa;
    TRadioGroup *RG_felveteltipus;
    QLabel *Felhasznalo;
    QPushButton *B_mentes;
    QPushButton *B_tantervimport;
    QPushButton *B_kurzusmintaimport;
    QPushButton *B_kurzusalkalom;
    QPushButton *B_knevfix;
    QCheckBox *sfLoadFormat;
    QCheckBox *sfSaveFormat;
    TDBGrid *DBG_kastorel;
    QLineEdit *szures;

    void FormShow();
    void PageControl1Change();
    void RGSzuroClick();
    // Flips the offered flag of the current row of a shared table: 1 becomes 0, anything else 1.
    void SzabadValtas(TDataSet &table);
    void DBG_targyCellClick(TColumn &column);
    void DBG_mintatantervCellClick(TColumn &column);
    // A click in the curriculum tree's grid; no column when the page change runs it.
    void DBG_mintatanterv_faCellClick(TColumn *column);
    void DBG_targy_faCellClick(TColumn &column);
    void MintatantervTargyai();
    void RG_felveteltipusClick();
    void DBG_kurzusmintaCellClick();
    void KurzusmintaTargyai();
    void RG_kurzusmintaClick();
    void B_mentesClick();
    void B_tantervimportClick();
    void B_kurzusmintaimportClick();
    void B_kurzusalkalomClick();
    void B_knevfixClick();
    // The name a course should carry: its own, else its subject's; none gives DM->MT_kurzus.
    std::string KurzusMegnevezes(int kurzusId, TDataSet *table = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpTables();
    QWidget *rawPage(TDataSource &source, bool readOnly, TDBGrid **grid = nullptr);
    QWidget *operationsPage();
    void appendSubject(const std::string &felvetelTipusa);
    // The column of the Kastorel grid whose text the typed characters collect for.
    std::string kastorelColumn_;
};

extern TAdminka *Adminka;
