#pragma once

// TForm1: the main timetable window. The class is one form split over several files by concern:
// brelvix_pas.cpp (controls, creation, calendar items), brelvix_pasView.cpp (the view rebuild),
// brelvix_pasList.cpp (course selection and the course list), brelvix_pasModes.cpp (working
// modes and selector lists), brelvix_pasShell.cpp (show, panel buttons, days, time rows,
// colours, printing) and brelvix_pasPanels.cpp (the course panels).

#include "app/WheelAsArrowKeys.h"
#include "calendar/veltoCalendar.h"
#include "memtable/ztrMemTable.h"
#include "platform/DataSource.h"

#include <QMainWindow>
#include <QPrinter>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TSajat;

class TForm1 : public QMainWindow {
public:
    // Needs the data module DM loaded: the window's tables share its records.
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // Calendar area and the right-hand button panel.
    QWidget *Panel1;
    TveltoCalendar *VL;
    QWidget *Panel4;
    QPushButton *B_beosztoras;
    QPushButton *B_beosztsajat;
    QPushButton *B_group;
    QPushButton *Mentes;
    QPushButton *Button1;
    QPushButton *Button9;
    QPushButton *Button2;

    // Bottom panel: course list with its filters, occasion panel, page control and course panel.
    QWidget *Panel2;
    QTreeWidget *LV;
    QMenu *PM_LV;
    QAction *PM_LV0;
    QAction *PM_LV1;
    QAction *PM_LV2;
    QAction *PM_LV3;
    QAction *PM_LV4;
    QAction *Nincstrgyfelels1;
    QAction *Kapcsolo;
    QComboBox *HetekCB;
    QToolButton *het_SPBUp;
    QToolButton *het_SPBDown;
    QCheckBox *AlkalomCB;
    QCheckBox *tobbalkalomCB;
    QWidget *DBCtrlGrid1;
    QTabWidget *PC;
    QWidget *PC_oktatok;
    QWidget *PC_orarend;
    QWidget *PC_terem;
    QWidget *PC_oktato;
    QWidget *PC_tantargy;
    QTreeWidget *LV_orarend;
    QTreeWidget *LV_terem;
    QTreeWidget *LV_oktato;
    QTreeWidget *LV_tantargy;
    std::array<QCheckBox *, 7> CBNap;
    QPushButton *Button3;
    QPushButton *B_admin;
    QPushButton *B_szunet;
    QPushButton *B_egyfogl;
    QLabel *UN;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QLineEdit *Edit3;
    QLineEdit *Edit4;

    // Menus.
    QMenu *PM_Uzemmod;
    QAction *UM_orarendek;
    QAction *UM_terem;
    QAction *UM_oktato;
    QAction *UM_orarend;
    QAction *UM_tantargy;
    QMenu *vlPopUpMenu;
    std::array<QAction *, 7> Nap;
    QAction *Igazts1;
    QAction *rarendek1;
    QAction *Norml1;
    QAction *Fehr1;
    QAction *Fehrnyomtatshoz1;
    QAction *Csakrarend1;
    QAction *Minden1;
    QAction *Nyomtats1;

    // The window's own cursors, filters and orders on DM's tables; the rows are DM's.
    TztrMemTable MT_kurzus_temp;
    TDataSource DS_kurzus_temp{&MT_kurzus_temp};
    TztrMemTable MT_kurzusoktato_temp;
    TztrMemTable MT_kurzusoktato_temp2;
    TztrMemTable MT_alkalom_temp;
    TztrMemTable MT_alkalom_teremtemp;

    // Working state, read and written by the window's handlers and by the dialogs it opens.
    // WorkMode: 0 timetables through the timetable dialog, 1 one timetable, 2 rooms, 3 teachers,
    // 4 subjects.
    int WorkMode = 0;
    // When 0 or more, the view shows this timetable whatever the mode.
    int TimetableId = -1;
    // The picked timetable, room, teacher or subject.
    int SelectionId = -1;
    // Course-list filter: 0 no occasion, 1 no teacher, 2 no room, 3 all, 4 no head-count limit,
    // 5 with subject.
    int ListFilter = 3;
    // The week mask new occasions get.
    std::string WeekMask = "111111111111111";
    // The time-row preset in use (0 to 4).
    int ScaleMode = 4;
    int SortColumn = 0;
    int AdminClickCount = 0;
    bool RefreshBusy = false;
    bool SelectBusy = false;
    bool ScrollGuard = false;
    // The room text of the occasion views' rows is looked up only while this is set, so that
    // walks over many occasions that never show it skip the lookups.
    bool RoomTextOn = false;
    int NapBusy = 0;
    TCustomCalendarItem *LastSelectedItem = nullptr;

    // Occasion rows to calendar items. A row argument is the current record of its dataset; a
    // null dataset, or one at its end, means there is no such row.
    void AddCalendarItem(TDataSet &occasion, TDataSet *course, TDataSet *subject);
    // Rewrites the item of the occasion in place; tells the user when it is not on the calendar.
    // The teacher names are left empty until the next rebuild.
    void UpdateCalendarItem(TDataSet &occasion, TDataSet *course, TDataSet *subject);
    TSajat *FindCalendarItem(int alkalomId) const;
    // As above, with the course's subject looked up in DM.
    void AddCalendarItemForCourse(TDataSet &occasion, TDataSet *course);
    void UpdateCalendarItemForCourse(TDataSet &occasion, TDataSet *course);
    // As above, with the course looked up among the courses of this window; an occasion whose
    // course is not there is left off the calendar.
    void AddOccasionToCalendar(TDataSet &occasion);
    void UpdateOccasionInCalendar(TDataSet &occasion);

    void MT_alkalom_tempkiirasGetText(TField &sender, std::string &text, bool displayText);

    // Rebuilds the course list and the calendar for the current mode and selection.
    void RefreshView();

    // Makes a course current in the list, on the calendar and in the course panels. Origin "LV"
    // (a list row), "VL" (a calendar item) or "C" (the occasion panel); occasionId -1 for none.
    void SelectCourse(const QString &origin, int courseId, int occasionId);
    void Highlight(int occasionId, int courseId);

    // Course panels; a negative course id stands for the course of the selected list row.
    void LoadCourseTeachers(int courseId, int teacherId);
    void LoadCourseEditor(int courseId);
    void LoadCourseSubjects(int courseId, int subjectId);
    void LoadLinkedCourses(int courseId);

    // Course list.
    void LVSelectItem(QTreeWidgetItem *item);
    void VLDetails(TCustomCalendarItem *item);
    void VLClick(TCustomCalendarItem *item);
    void LVColumnClick(int column);
    void SortLV();
    void ListFilterClick(int code);
    void HetekCBChange();
    void AlkalomCBClick();
    void tobbalkalomCBClick();
    void het_SPBUpClick();
    void het_SPBDownClick();

    // Modes and selectors.
    void UM_tipusClick(QAction *sender);
    void B_groupClick();
    void LV_orarendSelectItem(QTreeWidgetItem *item);
    void LV_teremSelectItem(QTreeWidgetItem *item);
    void LV_oktatoSelectItem(QTreeWidgetItem *item);
    void LV_tantargySelectItem(QTreeWidgetItem *item);
    void VLKeyUp(int key, Qt::KeyboardModifiers shift);
    void KapcsoloClick();

    // Shell.
    void FormShow();
    void MentesClick();
    void Button1Click();
    void Panel4DblClick();
    void B_adminClick();
    void B_szunetClick();
    void B_beosztsajatClick();
    void B_beosztorasClick();
    void B_beosztorassajatClick();
    void B_beosztfelorasClick();
    void B_beosztfeloras15Click();
    // The day handler: sender is a day menu item, "Igazítás", a day check box, or the window.
    void Nap7Click(QObject *sender);
    void Panel1Resize();
    void Csakrarend1Click();
    void Minden1Click();
    void Norml1Click();
    void Fehr1Click();
    void Fehrnyomtatshoz1Click();
    // Asks for a printer and prints the window's image under a title line.
    void PrintForm(const QString &title);
    // Prints the window's image under a title line on the printer as it is set up.
    void PrintFormTo(QPrinter &printer, const QString &title);
    void Button3Click();
    void Nyomtats1Click();
    void FormKeyDown(int key);

    // The printer PrintForm offers; its settings are kept between prints.
    QPrinter Printer;
    // Turns every wheel notch in the program into an arrow key press.
    WheelAsArrowKeys ApplicationEvents1;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QWidget *buildButtonPanel();
    QWidget *buildBottomPanel();
    QWidget *buildCourseListPanel();
    QWidget *buildCoursePanel();
    void buildMenus();
    void connectHandlers();
    void FormCreate();

    void fillItem(TSajat &item, TDataSet &occasion, TDataSet *course, TDataSet *subject);
    QString teacherNames(int kurzusId);
    TDataSet *courseSubject(TDataSet *course);

    // View rebuild branches.
    void listTimetable(int orarendId, bool followLinkedCourse, bool weekTestOnItems);
    // Lists the courses of the timetable and draws their occasions; gives the last course visited.
    int walkTimetable(int orarendId, bool followLinkedCourse, bool weekTestOnItems);
    void listRoom();
    void listLinkedCourses(TztrMemTable &links, const char *keyField);
    bool admittedByListFilter(TDataSet &course, bool noTeacher);
    QTreeWidgetItem *addCourseRow(const QString &caption, TDataSet &course, const QString &title,
                                  const QString &selection, bool withSubject);
    int chosenWeek() const;
    void loadCoursePanels(int courseId, int teacherCourseId, int linkedCourseId);

    // Selector lists.
    void fillSelector(QTreeWidget *list, TztrMemTable &table, const std::function<void(QTreeWidgetItem &)> &fill);
    QTreeWidget *modeSelector() const;
    void selectorRowChosen(QTreeWidgetItem *item, const QString &prefix, int idColumn);
    void showSelectorPage(QWidget *page);
    void setCaptionNothingChosen(const QString &prefix);

    void fitCalendarCells();
    void setTimeRows(int scaleMode);
    void syncDayTicks();
    void setCalendarColours(TColor color, TColor fixedColor, TColor selColor);
};

extern TForm1 *Form1;

// Whether the week mask has a "1" at the 1-based position `from` or after it.
bool HasWeekFrom(const std::string &mask, int from);

// What every window caption of the program ends with: the semester and its season.
QString SemesterCaption(const std::string &felev);

// Shares `total` pixels among `count` cells in order, each getting what is left divided by the
// number still to size, so the integer remainder goes to the later cells.
std::vector<int> ShareOut(int total, int count);

// Fits a calendar to its window: time column 100 pixels, header row 20, the rest shared out.
void FitCalendarCells(TveltoCalendar &calendar);
