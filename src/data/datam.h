#pragma once

// The timetable data module: every table of the timetable data as a memory table, the views the
// windows share, the data sources, the two data-file formats, the module's state, and the loading
// at start and the saves. The windows read and edit its tables directly.

#include "memtable/ztrMemCSVStreamFormat.h"
#include "memtable/ztrMemTable.h"
#include "platform/DB.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

class Progress;
class TveltoCalendar;

// A data file that could not be read at start, or a set of files that could not be saved. The
// message names the file and the problem and is ready to show.
class EDataFileError : public Exception {
public:
    EDataFileError(const std::string &fileName, const std::string &message)
        : Exception(message), fileName_(fileName)
    {
    }
    const std::string &FileName() const { return fileName_; }

private:
    std::string fileName_;
};

// The login names that run the program as administrators, compared exactly. The main window
// singles out entries 1 and 4 (indexes 0 and 3).
inline constexpr std::array<std::string_view, 6> AdminUsers{
    "qadlepu", "WUSNERX.QLA", "wusnerx.qla", "Vemdár Pukol", "lomak.trevudon", "trevudon.lomak"};

// Where the module finds its data and whom it runs for. The program uses the folder of the
// program file and the login name; tests point the module at a folder of their own.
struct TDMEnvironment {
    // The data folder, with its trailing separator.
    std::function<std::string()> programFolder;
    // The login name in cp1250; false when it cannot be read.
    std::function<bool(std::string &)> userName;

    static TDMEnvironment Program();
};

class TDM {
public:
    // Completes or undoes a save a crash cut short, builds the tables and loads every data file;
    // raises EDataFileError naming the file, line and field when a file cannot be loaded or would
    // not save back every value it holds, leaving every data file as it was. A sample file stands
    // in for a timetable file only while the folder holds none of them.
    TDM();
    explicit TDM(TDMEnvironment environment);
    TDM(const TDM &) = delete;
    TDM &operator=(const TDM &) = delete;
    ~TDM();

    // State and loading at creation.
    void DataModuleCreate();
    // The login name, or "Unknown" when it cannot be read.
    std::string FelhasznaloNev() const;

    // Saves the teachers and the seven timetable files with progress; TorzsadatMentes the eight
    // master files without. The files of a set replace the old ones all together, also when the
    // program is killed on the way: a failure (a read-only file or a folder in a file's place
    // included) raises EDataFileError naming the file and leaves all the old files as they were.
    // A data file that is a link stays one; the file it leads to is replaced.
    void Mentes();
    void TorzsadatMentes();
    // Writes the export tables as "KK_export.txt" and "KK_export_ALKALOM.txt".
    void ExportMentes();
    // Sets Mappa to the program folder again.
    void MappaFrissites();
    // What the start did with a save a crash had cut short (completed or undone), ready to show
    // (UTF-8); empty when there was none.
    const std::string &RecoveryNotice() const { return recoveryNotice_; }

    // The progress display the saves, imports and regeneration drive; none shows nothing. The
    // module does not own it.
    void SetProgress(Progress *progress);

    // Master-data import from the student information system's files (datamImport.cpp). A run
    // takes one batch of rows, adds the curricula, subjects, templates and links that are missing
    // without changing existing master rows, saves the master data when it added anything and
    // writes the import file back. The window shows the message.
    struct ImportResult {
        bool succeeded = false;
        // UTF-8, ready to show.
        std::string message;
    };
    ImportResult MintatantervBeolvasas();
    ImportResult KurzusmintaBeolvasas();

    // Rebuilds MT_kurzusalkalom from the occasions of every course; a course linked to another
    // one gets that course's occasions as well (datamKurzusalkalom.cpp).
    void KurzusalkalomGeneralas();

    // Text handlers of the calculated fields of MT_alkalom and its views.
    void MT_alkalomgyaknevGetText(TField &sender, std::string &text, bool displayText);
    void KiirasGetText(TField &sender, std::string &text, bool displayText);
    void MT_alkalomnapGetText(TField &sender, std::string &text, bool displayText);

    // Row layouts of a calendar, numbered 0 to 4 in this order (datamPresets.cpp).
    void BeosztasDupla(TveltoCalendar &calendar);
    void BeosztasOras(TveltoCalendar &calendar);
    void BeosztasFeloras(TveltoCalendar &calendar);
    void BeosztasFeloras15(TveltoCalendar &calendar);
    // With SzunetSor set, a "SZÜNET" row marks the lunch break.
    void BeosztasSajat(TveltoCalendar &calendar);
    // The layout of that number; any other number gives the last one.
    void applyTimeRowPreset(int scaleMode, TveltoCalendar &calendar);

    // State, read and written by the windows. Texts are cp1250; Mappa is the folder path.
    std::string Mappa;
    std::string Felev;
    bool Admin = false;
    std::string Felhasznalo;
    bool SzunetSor = false;

    // Data-file formats: CSV writes and reads the definition block, CSV_Nodef neither, and keeps
    // the user's number and date settings.
    TztrCSVStreamFormat CSV;
    TztrCSVStreamFormat CSV_Nodef;

    // Main tables.
    TztrMemTable MT_orarend;
    TztrMemTable MT_alkalom;
    TztrMemTable MT_oktato;
    TztrMemTable MT_terem;
    TztrMemTable MT_targy;
    TztrMemTable MT_mintatanterv;
    TztrMemTable MT_kurzusminta;
    TztrMemTable MT_kurzus;
    // Link tables.
    TztrMemTable MT_kurzusorarend;
    TztrMemTable MT_kurzusoktato;
    TztrMemTable MT_kurzusalkalom;
    TztrMemTable MT_mintatantervtargy;
    TztrMemTable MT_kurzustargy;
    TztrMemTable MT_kurzusmintatargy;
    TztrMemTable MT_kurzusmintaoktato;
    // Views sharing a main table's records.
    TztrMemTable MT_terem_locate;
    TztrMemTable MT_terem_alkalomhoz;
    TztrMemTable MT_kurzus_kereso;
    TztrMemTable MT_kurzus_csatolt;
    TztrMemTable MT_alkalom_kurzus;
    TztrMemTable MT_alkalom_kurzus2;
    // Import buffers, the connection string and the export rows.
    TztrMemTable MT_kastorelboltargy;
    TztrMemTable MT_kastorelbolkurzus;
    TztrMemTable MT_provider;
    TztrMemTable MT_export;
    TztrMemTable MT_export_alkalom;

    TDataSource DS_orarend{&MT_orarend};
    TDataSource DS_alkalom{&MT_alkalom};
    TDataSource DS_oktato{&MT_oktato};
    TDataSource DS_terem{&MT_terem};
    TDataSource DS_targy{&MT_targy};
    TDataSource DS_mintatanterv{&MT_mintatanterv};
    TDataSource DS_mintatantervtargy{&MT_mintatantervtargy};
    TDataSource DS_kurzusminta{&MT_kurzusminta};
    TDataSource DS_kurzusmintatargy{&MT_kurzusmintatargy};
    TDataSource DS_kurzusmintaoktato{&MT_kurzusmintaoktato};
    TDataSource DS_kurzus{&MT_kurzus};
    TDataSource DS_kurzusorarend{&MT_kurzusorarend};
    TDataSource DS_kurzusoktato{&MT_kurzusoktato};
    TDataSource DS_kurzustargy{&MT_kurzustargy};
    TDataSource DS_kurzusalkalom{&MT_kurzusalkalom};
    TDataSource DS_kurzus_kereso{&MT_kurzus_kereso};
    TDataSource DS_kurzus_csatolt{&MT_kurzus_csatolt};
    TDataSource DS_alkalom_kurzus{&MT_alkalom_kurzus};
    TDataSource DS_alkalom_kurzus2{&MT_alkalom_kurzus2};
    TDataSource DS_terem_alkalomhoz{&MT_terem_alkalomhoz};
    TDataSource DS_kastorelboltargy{&MT_kastorelboltargy};
    TDataSource DS_kastorelbolkurzus{&MT_kastorelbolkurzus};
    TDataSource DS_provider{&MT_provider};
    TDataSource DS_export{&MT_export};
    TDataSource DS_export_alkalom{&MT_export_alkalom};

private:
    struct IndexSpec {
        const char *name;
        const char *fields;
    };
    struct SaveStep {
        const char *caption;
        TztrMemTable &table;
        const char *fileName;
    };

    // The layout the tables have before any file is read (datamTables.cpp).
    void setUpFormats();
    void setUpTables();
    void setUpViews();
    void addOccasionTextFields(TDataSet &table);

    void loadFile(TztrMemTable &table, const char *fileName);
    // Loads the first of the files that exists; with none, opens the table empty. A folder or a
    // link to nothing under a name is refused.
    void loadFirstPresent(TztrMemTable &table, std::initializer_list<const char *> fileNames);
    // The sample stands in only while the folder holds no timetable file at all (a first start);
    // after that a missing timetable file is refused.
    void loadTimetableFile(TztrMemTable &table, const char *fileName, const char *sampleName);
    // Adds the definitions the file did not bring, keeping those it did.
    void addMissingIndexes(TztrMemTable &table, std::initializer_list<IndexSpec> indexes);
    void saveSet(std::initializer_list<SaveStep> steps, Progress &progress);
    // The bound progress display, or one that shows nothing.
    Progress &currentProgress();

    void KurzusalkalomFelvetel(int kurzusId, int alkalomId);

    TDMEnvironment environment_;
    Progress *progress_ = nullptr;
    std::string recoveryNotice_;
};

// The one data module of the program, created first at start.
extern TDM *DM;
