#pragma once

// The teacher chooser: every teacher, for picking one (the current row of DM's teacher table
// when it returns Accepted); administrators also enter new teachers and change existing ones.
// Its popup opens the current teacher's timetable, set up as ScaleMode and MainCalendar say.

#include <QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class TColumn;
class TDBGrid;
class TveltoCalendar;

class Toktval : public QDialog {
public:
    explicit Toktval(QWidget *parent = nullptr);

    // How the teacher timetable shows its calendar, as the main window does: the time-row
    // preset 0 to 4, and the calendar whose weeks, days and margins it copies (none: its own).
    int ScaleMode = 4;
    const TveltoCalendar *MainCalendar = nullptr;

    TDBGrid *DBGrid1;
    QMenu *PM;
    QAction *Mdosts1;
    QAction *Oktatrarendje1;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;
    QLabel *Label1;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    // Button3 changes the current teacher (set) or enters a new one (clear).
    bool Modositas = false;

    void FormShow();
    void DBGrid1CellClick(TColumn &column);
    void DBGrid1KeyDown(int key);
    void DBGrid1TitleClick(TColumn &column);
    void Mdosts1Click();
    void Button3Click();
    void Oktatrarendje1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void startNewEntry();
};

extern Toktval *oktval;
