#pragma once

// TForm1: the main timetable window. The class is one form split over several files by concern:
// brelvix_pas.cpp (controls, creation, calendar items), brelvix_pasView.cpp (the view rebuild),
// brelvix_pasList.cpp (course selection and the course list), brelvix_pasModes.cpp (working
// modes and selector lists), brelvix_pasShell.cpp (show, panel buttons, days, time rows,
// colours, printing) and brelvix_pasPanels.cpp (the course panels).

#include "calendar/CalendarFitting.h"
#include "app/SelectorList.h"
#include "app/WheelAsArrowKeys.h"
#include "calendar/veltoCalendar.h"
#include "memtable/ztrMemTable.h"
#include "platform/DataSource.h"
#include "platform/widgets/DBCGrids.h"
#include "platform/widgets/DBCtrls.h"

#include <QMainWindow>
#include <QPrinter>
#include <QPrinterInfo>

#include <array>
#include <functional>
#include <optional>
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
class TColumn;
class TDBEdit;
class TDBGrid;
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
    // Occasion panel: the current occasion of the course.
    TDBCtrlGrid *DBCtrlGrid1;
    TDBEdit *DBEdit1;
    TDBEdit *DBEdit2;
    TDBEdit *DBEdit3;
    TDBEdit *DBEdit4;
    TDBEdit *DBEdit5;
    TDBEdit *DBEdit6;
    // The occasion count and the position in it ("3/1"); the shared occasion record has no
    // room for a column of the window's own.
    QLineEdit *DBEdit7;
    QTabWidget *PC;
    QWidget *PC_oktatok;
    QWidget *PC_targyak;
    QWidget *PC_kurzus;
    TDBGrid *G_okttemp;
    TDBGrid *DBGrid2;
    TDBGrid *DBGrid1;
    QWidget *PC_orarend;
    QWidget *PC_terem;
    QWidget *PC_oktato;
    QWidget *PC_tantargy;
    SelectorList *LV_orarend;
    SelectorList *LV_terem;
    SelectorList *LV_oktato;
    SelectorList *LV_tantargy;
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
    QPushButton *B_kurzusmentes;
    QPushButton *B_letrehozas;
    QPushButton *B_beemeles;

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
    QAction *Felvetel;
    QAction *Vizsga;
    QAction *Szabadterem;
    // Course-list popup entries of course editing.
    QAction *EltavolitoLV;
    QAction *Szaporito;
    QAction *Foglalsok1;
    QAction *Ltszmadatok1;
    QAction *Kurzusmintacsere;
    // Teacher and subject grid popups.
    QMenu *popuptoktato;
    QAction *tnew;
    QAction *tdel;
    QAction *tinfo;
    QMenu *kurzustargyai;
    QAction *kurzustargyDel;
    QAction *kurzustargynew;
    QAction *kurzustargydef;
    QAction *kurzustargyswap;
    QAction *AlapertelmezettTargykurzustargydefswap;
    QAction *rarendikapcsol1;
    // Frequency menu of the occasion panel.
    QMenu *popupgyak;
    std::array<QAction *, 6> Het;
    // The popup every calendar item carries.
    QMenu *PMSajat;
    QAction *rls2;
    QAction *UresSor1;
    QMenu *Orarendben;
    QMenu *Alapertelmezes;
    QAction *Letszamadatok;
    QAction *Kivagas;
    QAction *EltavolitoSC;
    QAction *Szaporito1;
    QAction *Foglalsok2;
    QAction *Foglalasok4;
    QAction *Foglalsok3;
    QAction *rarendikapcsol2;

    // The window's own cursors, filters and orders on DM's tables; the rows are DM's.
    TztrMemTable MT_kurzus_temp;
    TDataSource DS_kurzus_temp{&MT_kurzus_temp};
    TztrMemTable MT_kurzusoktato_temp;
    TztrMemTable MT_kurzusoktato_temp2;
    TztrMemTable MT_alkalom_temp;
    TztrMemTable MT_alkalom_teremtemp;
    TDataSource DS_alkalom_temp{&MT_alkalom_temp};
    // The course panel's lists: teachers with their shares, subjects with their head counts.
    TztrMemTable MT_oktato_temp;
    TDataSource DS_oktato_temp{&MT_oktato_temp};
    TztrMemTable MT_kurzustargy_temp;
    TDataSource DS_kurzustargy_temp{&MT_kurzustargy_temp};

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
    // The teacher names stay as they are: editing an occasion changes no teacher.
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
    // Whether the focus is where moving it to a calendar box takes it from no one.
    bool calendarMayTakeFocus() const;

    // Course panels; a negative course id stands for the course of the selected list row.
    void LoadCourseTeachers(int courseId, int teacherId);
    void LoadCourseEditor(int courseId);
    void LoadCourseSubjects(int courseId, int subjectId);
    void LoadLinkedCourses(int courseId);
    // The display title of a course of `courses` (MT_kurzus_temp when null).
    void CourseTitle(int courseId, TDataSet *courses, QString &title);

    // Course editing, creation and removal from a timetable.
    void B_letrehozasClick();
    void B_beemelesClick();
    void B_egyedifoglalasClick();
    void B_kurzusmentesClick();
    void Edit1Exit();
    void Edit4Change();
    void EltavolitoClick();
    void Szaporito1Click();
    void KivagoClick();
    void CreateCourse(int timetableId, const QString &code, const QString &title, int headCount,
                      const QString &remark);

    // Teachers and subjects of a course.
    void OktatofelvetelClick();
    void oktatodelClick();
    void oktatoinfoClick();
    void popuptoktatoPopup();
    void G_okttempCellClick(TColumn &column);
    void kurzustargyaiPopup();
    void DBGrid2CellClick(TColumn &column);
    void DBGrid2TitleClick(TColumn &column);
    void kurzustargyDelClick();
    void kurzustargynewClick();
    void kurzustargydefClick();
    void kurzustargyswapClick();
    void AlapertelmezettTargykurzustargydefswapClick();

    // Occasion editing.
    void VLMoving(TCustomCalendarItem *item, TDateTime newStart, TDateTime newEnd, bool &accept);
    void VLResizing(TCustomCalendarItem *item, TDateTime newStart, TDateTime newEnd, bool &accept);
    void alkalomtorlesClick();
    void AlkalomFelvetelClick(QAction *sender);
    void Het0Click(QAction *sender);
    void DBEdit5DblClick();
    void DBEdit6DblClick();
    void MT_alkalom_tempAfterScroll();
    void MT_alkalom_tempidoGetText(TField &sender, std::string &text, bool displayText);
    void MT_alkalom_tempnapGetText(TField &sender, std::string &text, bool displayText);
    void MT_alkalom_tempgyaknevGetText(TField &sender, std::string &text, bool displayText);

    // Item popup and occupancy launches.
    void PMSajatPopup();
    void ItemClick(QAction *sender);
    void Button9Click();
    void Foglalsok1Click();
    void Foglalasok4Click();
    void Foglalsok3Click();

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
    // Prints the window's image under a title line on the system's default printer; asks for a
    // printer only when there is none.
    void PrintForm(const QString &title);
    // Prints the window's image under a title line on the printer as it is set up.
    void PrintFormTo(QPrinter &printer, const QString &title);
    void Button3Click();
    void Nyomtats1Click();
    // Shows `key`, the Windows virtual-key code of a key nothing else took.
    void FormKeyDown(int key);

    // The printer PrintForm prints on, the default one where the system has one; its settings
    // are kept between prints.
    QPrinter Printer;
    // Whether the system has a default printer, that PrintForm then prints on unasked.
    std::function<bool()> HasDefaultPrinter = [] { return !QPrinterInfo::defaultPrinter().isNull(); };
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
    // The selected course-list row and its course id (null and -1 with no row selected).
    QTreeWidgetItem *selectedRow() const;
    int selectedCourseId() const;
    // The course of the occasion in the occasion panel, else of the selected list row.
    int courseInFocus() const;
    QWidget *buildOccasionPanel();
    void buildCourseTabs();
    void buildEditingMenus();
    void connectEditingHandlers();
    void setUpPanelTables();
    void setUpOccasionTexts();
    void showOccasionCount();
    // The row of an occasion: in the panel's table when there, else in DM's whole store; null
    // when it is gone.
    TDataSet *occasionRow(int alkalomId);
    bool writeNewTime(TSajat &item, TDateTime newStart, TDateTime newEnd);
    bool confirmTimeChange(const QString &question, TCustomCalendarItem *item, TDateTime newStart,
                           TDateTime newEnd);
    void restoreTemplateSubjects(int courseId);
    // Links a subject to a course with no head-count limit, unless it is linked already.
    bool attachSubject(int courseId, int subjectId);
    // Sets up an occupancy window's calendar like the main one.
    void prepareOccupancyCalendar(TveltoCalendar &calendar);
    void openGroupOccupancy(int mode);

    void fillItem(TSajat &item, TDataSet &occasion, TDataSet *course, TDataSet *subject, const QString &oktatok);
    QString teacherNames(int kurzusId);
    TDataSet *courseSubject(TDataSet *course);

    // View rebuild branches: listCourses runs the one the mode and selection call for.
    void listCourses();
    void listTimetable(int orarendId, bool followLinkedCourse, bool weekTestOnItems);
    // Lists the courses of the timetable and draws their occasions; gives the last course visited.
    int walkTimetable(int orarendId, bool followLinkedCourse, bool weekTestOnItems);
    void listRoom();
    // Moves MT_alkalom_temp to the occasion; false, past its last row, when it is not there.
    bool walkToOccasion(int occasionId);
    // The courses with an occasion in the room, in the order of MT_kurzus_temp.
    std::vector<int> coursesUsingRoom(int teremId);
    void listLinkedCourses(TztrMemTable &links, const char *keyField);
    QTreeWidgetItem *addCourseRow(const QString &caption, TDataSet &course, const QString &title,
                                  const QString &selection, bool withSubject);
    int chosenWeek() const;
    void loadCoursePanels(int courseId, int teacherCourseId, int linkedCourseId);

    // Selector lists.
    void fillSelector(SelectorList *list, TztrMemTable &table, const std::function<QStringList()> &rowTexts);
    QTreeWidget *modeSelector() const;
    void selectorRowChosen(QTreeWidgetItem *item, const QString &prefix, int idColumn);
    void showSelectorPage(QWidget *page);
    void setCaptionNothingChosen(const QString &prefix);

    void fitCalendarCells();
    void setTimeRows(int scaleMode);
    void syncDayTicks();
    void setCalendarColours(TColor color, TColor fixedColor, TColor selColor);

    // Follows the occasion panel's table to keep DBEdit7 current.
    TFieldDataLink occasionCountLink_;
    // Walks the panel's occasions to find the position of the current one.
    TztrMemTable occasionCounter_;
    // Every occasion in room order, so that a room's courses are found without a scan.
    TztrMemTable roomOccasions_;
    // The teachers of the course whose occasion the rebuild drew last: its other occasions come
    // next and show the same names, and nothing edits the links while the view is rebuilt.
    std::optional<std::pair<int, QString>> rebuildTeachers_;
};

extern TForm1 *Form1;

// Whether the week mask has a "1" at the 1-based position `from` or after it.
bool HasWeekFrom(const std::string &mask, int from);

// What every window caption of the program ends with: the semester and its season.
QString SemesterCaption(const std::string &felev);

