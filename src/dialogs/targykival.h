#pragma once

// Course creation from the subjects of a curriculum and from course templates. The caller sets
// OrarendId (>= 0: create into that timetable; < 0: copy mode into timetable -1 - OrarendId,
// attached to ForrasKurzusId) and runs the dialog; OrarendId is 0 afterwards when courses were
// created and -1 after "Vissza".

#include "memtable/ztrMemTable.h"
#include "platform/DataSource.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TColumn;
class TDBGrid;
class TRadioGroup;

class TTargyfelvet : public QDialog {
public:
    explicit TTargyfelvet(QWidget *parent = nullptr);

    int OrarendId = -1;
    int ForrasKurzusId = -1;
    std::string ForrasKurzusTipus;
    bool ElsoMegjelenites = true;

    TztrMemTable MT_mintatanterv_temp;
    TztrMemTable MT_mintatantervtargy_temp;
    TztrMemTable MT_targy_osszes_temp;
    TztrMemTable MT_targy_temp;
    TztrMemTable MT_kurzusminta_temp;
    TztrMemTable MT_kurzusmintatargy_temp;
    TztrMemTable MT_kurzusmintatargy3_temp;
    TztrMemTable MT_kurzusmintatargy2_temp;
    TDataSource DS_mintatanterv_temp{&MT_mintatanterv_temp};
    TDataSource DS_mintatantervtargy_temp{&MT_mintatantervtargy_temp};
    TDataSource DS_targy_temp{&MT_targy_temp};
    TDataSource DS_kurzusminta_temp{&MT_kurzusminta_temp};
    TDataSource DS_kurzusmintatargy2_temp{&MT_kurzusmintatargy2_temp};

    TDBGrid *DBG_mintatanterv;
    TRadioGroup *RG_tagozat;
    TRadioGroup *RG_nyelv;
    TRadioGroup *RG_szint;
    QTabWidget *PageControl1;
    QWidget *TS_targy;
    QWidget *TS_kurzus;
    TDBGrid *DBG_targy;
    TRadioGroup *RG_felveteltipus;
    TDBGrid *DBG_targy2;
    TDBGrid *DBG_kurzusminta;
    TDBGrid *DBG_targy3;
    TRadioGroup *RG_felveteltipuskurzus;
    TRadioGroup *RG_felev;
    TRadioGroup *RG_tipus;
    QPushButton *Button1;
    QPushButton *B_kivalaszt;
    QPushButton *BEA;
    QPushButton *BGY;
    QPushButton *BLA;
    QLineEdit *vagolap;

    void FormShow();
    void MintatantervTargyai(int mintatantervId);
    void TargyKurzusmintai(int targyId);
    void KurzusmintaTargyai(int kurzusmintaId);
    void RGSzuroClick();
    void RG_felveteltipusClick(QObject *sender);
    void RGSzuro2Click(QObject *sender);
    static std::string TargykodbolKurzuskod(const std::string &targyKod);
    static std::string KurzusmintabolKurzuskod(const std::string &kurzusmintaKod);
    static bool HaromSzamjegy(const std::string &kod, int n);
    // False when the sequence numbers of the code and type are used up (after telling so).
    bool KurzusLetrehozas(const std::string &kod, const std::string &tipus, int orarendId, int targyId,
                          int kurzusmintaId, int kurzusIdCsatolt);
    void B_kivalasztClick(QObject *sender);
    void Button1Click();
    void DBG_mintatantervCellClick(TColumn &column);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setUpTables();
    void setUpGrids();
    void fillTemplates(int targyId);
    bool subjectChosen() const;
    bool templateChosen() const;
    void createCourses(const std::string &kod, int targyId, int kurzusmintaId, const int (&darab)[3]);
    void created();
};

extern TTargyfelvet *Targyfelvet;
