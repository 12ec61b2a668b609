#pragma once

// Which courses belong to a timetable: the timetable's courses on the right, the others on the
// left, moved between the lists and written back on "Mentés". With "Egyik órarendben sem" the
// left list holds the courses of no timetable, which "<Törlés>" deletes from the whole data.
// The caller sets OrarendId and rebuilds its view when it is negative afterwards.

#include "memtable/ztrMemTable.h"
#include "platform/DataSource.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QPushButton;
class TColumn;
class TDBGrid;

class Tbeemeles : public QDialog {
public:
    explicit Tbeemeles(QWidget *parent = nullptr);

    int OrarendId = -1;

    TztrMemTable MT_kurzus1_temp;
    TztrMemTable MT_kurzus2_temp;
    TDataSource DS_kurzus1_temp{&MT_kurzus1_temp};
    TDataSource DS_kurzus2_temp{&MT_kurzus2_temp};

    TDBGrid *DBGrid1;
    TDBGrid *DBGrid2;
    QPushButton *B_bevetel;
    QPushButton *B_bevetelek;
    QPushButton *B_kivetelek;
    QPushButton *B_kivetel;
    QPushButton *Button5;
    QPushButton *Button6;
    QCheckBox *CheckBox1;
    QPushButton *torles;
    QPushButton *megse;
    QPushButton *kivalaszt;

    void FormShow();
    void CheckBox1Click();
    void B_bevetelClick();
    void B_kivetelClick();
    void B_bevetelekClick();
    void B_kivetelekClick();
    void Button5Click();
    void Button6Click();
    void kivalasztClick();
    void kivalasztMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift);
    void torlesClick();
    // Refills both lists from the data module.
    void frissites();
    // The title the lists show for the course DM->MT_kurzus stands on.
    static std::string KurzusCim();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void moveRow(TztrMemTable &from, TztrMemTable &to);
    static void moveSelected(TDBGrid &grid, TztrMemTable &from, TztrMemTable &to);
    // Asks every question for one course and deletes it when all were answered OK.
    void deleteCourse(int kurzusId, const QString &text);
};

extern Tbeemeles *beemeles;
