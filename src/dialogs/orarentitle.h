#pragma once

// The timetable list: picking the timetable to work on, adding timetables, marking tests, and
// the export for the student information system. The grid works on the data module's timetable
// table itself, so the row current at closing is the module's current timetable too.

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QProgressBar;
class QPushButton;
class TColumn;
class TDBGrid;
class TField;

// The values of one course-level export row, columns K_helyzet to megjegyzes. Texts are cp1250.
struct ExportKurzusAdat {
    std::string helyzet;
    std::string targykod;
    std::string felev;
    std::string kurzustkod;
    std::string kurzuskod;
    int maxletszam = 0;
    std::string nyelv;
    std::string kurzustipus;
    int hetioraszam = 0;
    int felevesoraszam = 0;
    std::string tipusazonosito;
    std::string oktatokastorelkod;
    int oktatoszazalek = 0;
    std::string oktatotipus;
    std::string megjegyzes;
};

// The values of one schedule row, columns K_orarendkod to K_teremkod. Texts are cp1250.
struct ExportAlkalomAdat {
    std::string orarendkod;
    std::string orarendnev;
    std::string tagozat;
    std::string felev;
    std::string orarendkezdet;
    std::string orarendveg;
    std::string csengetesirend;
    std::string oracsoportkod;
    std::string oracsoportnev;
    int orahossza = 0;
    std::string hetek;
    int nap = 0;
    std::string oraeleje;
    std::string oravege;
    std::string targy_kurzus;
    std::string teremkod;
};

// Lesson slots of the export: whether `minute` is within 2 minutes of the slot's start (or, with
// `end`, of its end after `length` minutes).
bool IdoEgyezik(int slotStart, int length, int minute, bool end);
// The 45-minute lesson slot 1 to 14 that starts (or ends) at `minute`; 999 for none.
int OraSorszam(int minute, bool end);
// "HH:MM" of a minute of the day.
std::string PercbolIdo(int minute);
// Teaching language of a subject code; course type of a course code (cp1250 in and out).
std::string NyelvKodbol(const std::string &targyKod);
std::string TipusKodbol(const std::string &kurzusKod);
// The timetable code of a course: a fragment of its course code followed by the semester.
std::string OrarendKodbol(const std::string &kurzusKod, const std::string &felev);

class Torarend : public QDialog {
public:
    // Most course rows one export examines.
    static constexpr int MaxExportCourses = 30000;

    explicit Torarend(QWidget *parent = nullptr);

    // The chosen timetable after the modal show, -1 when none was chosen.
    int OrarendId = -1;
    // The week mask of the chosen timetable, empty when none was chosen (cp1250).
    std::string Hetek;
    // The bell schedule the export writes into every schedule row (cp1250); set at every showing.
    std::string Csengetesirend;

    TDBGrid *DBGrid1;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QLineEdit *DefHetek;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;
    QPushButton *Button4;
    QPushButton *BTNExport;
    QProgressBar *PB;
    QProgressBar *PB2;

    void FormShow();
    void DBGrid1CellClick(TColumn &column);
    void MentesUjkentClick();
    void Button2Click();
    void Button3Click();
    void BemelesClick();
    void DefHetekDblClick();

    // The export: fills the data module's two export tables, has them written and tells so.
    void BTNExportClick();
    // Only the rows, without the files and the message, from at most `maxCourses` course rows.
    void ExportTablak(int maxCourses = MaxExportCourses);
    void ExportKurzusSor(const ExportKurzusAdat &row);
    void ExportAlkalomSor(const ExportAlkalomAdat &row);
    // The schedule row once for each of the weeks, in their order, K_hetek holding the week.
    void ExportAlkalomHetek(ExportAlkalomAdat row, const std::vector<int> &weeks);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // While a run fills the export tables, whether each takes its rows straight into its store.
    bool kurzusDirect_ = false;
    bool alkalomDirect_ = false;
    // The export tables' fields, in the order the row routines set them.
    std::vector<TField *> kurzusFields_;
    std::vector<TField *> alkalomFields_;
};

extern Torarend *orarend;
