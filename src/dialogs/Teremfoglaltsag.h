#pragma once

// The occupancy of one room: every weekly occasion held in a room picked from the list of all
// rooms, on a read-only calendar, with the details of the occasion clicked and the timetables
// its course is in. It only reads the data.

#include "data/datam.h"

#include <QDialog>

class QAction;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TCustomCalendarItem;
class TDBCtrlGrid;
class TveltoCalendar;

class TTeremfog : public QDialog {
public:
    explicit TTeremfog(QWidget *parent = nullptr);

    // Fits a calendar to its window: time column 100 pixels, header row 20, the rest shared
    // out in order, the integer remainder going to the later columns and rows.
    static void Igazitas(TveltoCalendar &calendar);

    QWidget *Panel1;
    QWidget *Panel2;
    TveltoCalendar *VL;
    QTreeWidget *LV;
    TDBCtrlGrid *DBCtrlGrid1;
    TDBCtrlGrid *DBCtrlGrid2;
    QPushButton *Button1;
    // The calendar's menu.
    QMenu *PM_nezet;
    QAction *Nap[7];
    QAction *Igazts1;
    QAction *Csakrarend1;
    QAction *Minden1;
    // The items' menu.
    QMenu *PM_elem;
    QAction *rarendben1;
    QAction *MI_Osszevonas;

    TztrMemTable MT_terem_temp;
    TztrMemTable MT_alkalom_temp;
    TztrMemTable MT_kurzus_temp;
    TztrMemTable MT_kurzusoktato_temp;
    TztrMemTable MT_alkalom_temp2;
    TztrMemTable MT_orarend_temp;
    TztrMemTable MT_kurzusorarend_temp;
    TDataSource DS_alkalom_temp2{&MT_alkalom_temp2};

    void FormCreate();
    void FormShow();
    void LVSelectItem(QTreeWidgetItem *item, bool selected);
    void VLDetails(TveltoCalendar &calendar, TCustomCalendarItem *item);
    void VLClick(TveltoCalendar &calendar, TCustomCalendarItem *item);
    void rarendben1Click();
    void MI_OsszevonasClick();
    void Nap7Click(QAction *action);
    void Csakrarend1Click();
    void Minden1Click();
    void Button1Click();

    // The texts the detail panes show.
    void MT_alkalom_tempnapGetText(TField &sender, std::string &text, bool displayText);
    void gettimestr(TField &sender, std::string &text, bool displayText);
    void gyakorisagGetText(TField &sender, std::string &text, bool displayText);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setUpTables();
    void setUpCalendar();
    QWidget *detailPane(TDBCtrlGrid *&grid, const QString &title);
    // The title of the current course of MT_kurzus_temp: its own, its subject's, its template's.
    std::string courseTitle();
    void fitCalendar();
};

extern TTeremfog *Teremfog;
