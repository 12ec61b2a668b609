#pragma once

// The timetables one course belongs to: every timetable with a mark for the course's links, and
// a click on the mark adds or removes the link in the shared table at once.

#include "memtable/ztrMemTable.h"
#include "platform/DB.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;
class TColumn;
class TDBGrid;

class Torarend_valaszto : public QDialog {
public:
    explicit Torarend_valaszto(QWidget *parent = nullptr);

    // The course whose timetables are listed; set by the caller before the modal show.
    int KurzusId = -1;

    // The display name of a course in cp1250: its own name, else its subject's; `table`
    // defaults to DM's course search view.
    static std::string KurzusMegnevezes(int kurzusId, TDataSet *table = nullptr);

    TztrMemTable MT_orarend_temp;
    TDataSource DS_orarend_temp{&MT_orarend_temp};

    QLineEdit *Edit1;
    QLineEdit *Edit2;
    TDBGrid *DBGrid1;
    QPushButton *Button1;

    void FormShow();
    void FormClose();
    void MT_orarend_tempjeloloGetText(TField &sender, std::string &text, bool displayText);
    void DBGrid1CellClick(TColumn &column);
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
};

extern Torarend_valaszto *orarend_valaszto;
