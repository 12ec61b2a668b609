#pragma once

// The timetable of one teacher: every occasion of every course the teacher is linked to, on a
// calendar set up like the main window's. The caller sets OktatoId and the calendar's rows,
// weeks, days and margins (NaptarBeallitas does all but the first) and runs it modally.

#include "memtable/ztrMemTable.h"
#include "platform/DB.h"

#include <QDialog>

#include <array>
#include <set>
#include <vector>

class QCheckBox;
class QPushButton;
class TveltoCalendar;

class TOktatofog : public QDialog {
public:
    explicit TOktatofog(QWidget *parent = nullptr);

    // At most this many occasions are shown.
    static constexpr int MaxItems = 100;

    // The teacher; below 1 the window closes as soon as it shows.
    int OktatoId = -1;

    // The time-row preset `scaleMode` (0 to 4, as the main window numbers them) on VL, and,
    // from `model` when given, its weeks, days and margins.
    void NaptarBeallitas(int scaleMode, const TveltoCalendar *model);

    // Every occasion; the course and the teacher links follow its current row.
    TztrMemTable MT_alkalom_temp;
    TDataSource DS_alkalom_temp{&MT_alkalom_temp};
    TztrMemTable MT_kurzus_temp;
    TztrMemTable MT_kurzusoktato_temp;

    TveltoCalendar *VL;
    QPushButton *Button1;
    // Monday to Sunday.
    std::array<QCheckBox *, 7> CBNap{};

    void FormShow();
    void frissites();
    void Igazitas();
    void Nap7Click(QCheckBox *sender);
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Attaches the working tables to the module's and links the details to the occasions.
    void openTables();
    // The course's own name, else its subject's, else its template's subject's (cp1250).
    std::string courseName();
    std::string roomText();
    // The courses OktatoId has a link to.
    std::set<int> coursesTaught();
    // Where the occasions of those courses stand in MT_alkalom_temp's order (RecNo), ascending.
    std::vector<int> occasionsOf(const std::set<int> &courses);

    // The teacher links, found through their teacher's index.
    TztrMemTable teacherLinks_;
};

extern TOktatofog *Oktatofog;
