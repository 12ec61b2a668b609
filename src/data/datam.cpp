#include "data/datam.h"

#include "data/Progress.h"
#include "data/datamFileCheck.h"
#include "data/datamFileSet.h"
#include "platform/Cp1250.h"
#include "platform/System.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

TDM *DM = nullptr;

namespace {

std::string programFileFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = error ? std::filesystem::current_path() : program.parent_path();
    return (folder / "").string();
}

// Stands in when no progress display is bound, so the saves need not ask.
class NoProgress : public Progress {
public:
    void start(int, const std::string &) override {}
    void setCaption(const std::string &) override {}
    void step() override {}
    void finish() override {}
};

NoProgress noProgress;

// The texts of the frequency codes 0 to 4, then that of every other code, padded to one width.
// Grids ask for these texts for every row they paint, so they are converted once.
const std::array<std::string, 6> &frequencyNames()
{
    static const std::array<std::string, 6> names = [] {
        std::array<std::string, 6> padded{
            utf8ToCp1250("Minden héten"),    utf8ToCp1250("Páratlan héten"),
            utf8ToCp1250("Páros héten"),     utf8ToCp1250("Minden 3. héten"),
            utf8ToCp1250("Minden 4. héten"), utf8ToCp1250("Egyedi beosztás"),
        };
        for (std::string &name : padded)
            name.resize(19, ' ');
        return padded;
    }();
    return names;
}

// By (day - 1) mod 7: the calendar's day 1 is a Sunday.
const std::array<std::string, 7> &dayNames()
{
    static const std::array<std::string, 7> names{
        utf8ToCp1250("Vasárnap"),  utf8ToCp1250("Hétfő"),  utf8ToCp1250("Kedd"),    utf8ToCp1250("Szerda"),
        utf8ToCp1250("Csütörtök"), utf8ToCp1250("Péntek"), utf8ToCp1250("Szombat"),
    };
    return names;
}

// A row being inserted into an empty table is current although the table has no records yet.
bool hasCurrentRow(const TDataSet &table) { return !table.IsEmpty() || table.State() == dsInsert; }

std::string loadFailure(const char *fileName, const std::string &reason)
{
    return std::string("A(z) ") + fileName + " adatfájl nem tölthető be, a program nem indul el.\n" + reason;
}

// The timetable files the start reads. Each save writes them all, so once one of them is in the
// folder the samples must no longer stand in for a missing one: the next save would write the
// sample rows beside the planner's own.
constexpr const char *TimetableFiles[] = {"KK_orarend.csv",      "KK_kurzus.csv",        "KK_alkalom.csv",
                                          "KK_kurzusoktato.csv", "KK_kurzustargy.csv", "KK_kurzusorarend.csv"};

// Whether anything stands under the name, a link to nothing included.
bool entryExists(const std::string &path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// Why what stands under the name cannot be read as a data file (UTF-8); empty for a file.
std::string notAFile(const std::string &path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_regular_file(status))
        return {};
    if (fs::is_symlink(fs::symlink_status(path, error)) && !fs::exists(status))
        return "A fájl egy nem létező fájlra mutató hivatkozás.";
    if (fs::is_directory(status))
        return "A fájl helyén egy mappa áll.";
    return "A fájl nem közönséges fájl.";
}

// What the planner is told of a save a crash cut short (UTF-8); empty when there was none.
std::string recoveryNotice(DataFileSet::Recovery recovery)
{
    switch (recovery) {
    case DataFileSet::Recovery::None:
        break;
    case DataFileSet::Recovery::Completed:
        return "Az előző mentést a program váratlan leállása félbeszakította. A program most "
               "befejezte: az adatfájlok a mentett adatokat tartalmazzák.";
    case DataFileSet::Recovery::Undone:
        return "Az előző mentést a program váratlan leállása félbeszakította. A program most "
               "visszavonta: az adatfájlok a mentés előtti állapotukban vannak, az akkor mentett "
               "módosítások elvesztek.";
    }
    return {};
}

} // namespace

TDMEnvironment TDMEnvironment::Program()
{
    return {programFileFolder, [](std::string &name) { return GetUserName(name); }};
}

TDM::TDM() : TDM(TDMEnvironment::Program()) {}

TDM::TDM(TDMEnvironment environment) : environment_(std::move(environment))
{
    setUpFormats();
    setUpTables();
    setUpViews();
    DataModuleCreate();
}

TDM::~TDM() = default;

std::string TDM::FelhasznaloNev() const
{
    std::string name;
    if (!environment_.userName(name))
        return "Unknown";
    return name;
}

void TDM::DataModuleCreate()
{
    Admin = false;
    Felhasznalo = FelhasznaloNev();
    Admin = std::any_of(AdminUsers.begin(), AdminUsers.end(),
                        [this](std::string_view user) { return Felhasznalo == utf8ToCp1250(user); });
    Felev = "2025-2026-1";
    SzunetSor = false;
    Mappa = environment_.programFolder();

    // A save that a crash cut short is completed or undone before anything is read.
    recoveryNotice_ = recoveryNotice(DataFileSet::Recover(Mappa));
    loadFile(MT_targy, "targy.csv");
    addMissingIndexes(MT_targy, {{"index1", "targy_id"}, {"index2", "targy_kod"}, {"index3", "targy_nev"},
                                 {"index4", "evjarat"}});
    loadFile(MT_oktato, "oktato.csv");
    addMissingIndexes(MT_oktato, {{"index1", "oktato_id"}, {"index2", "oktato_kkod"}, {"index3", "oktato_nev"}});
    loadFile(MT_terem, "terem.csv");
    addMissingIndexes(MT_terem, {{"index1", "terem_id"}, {"index2", "terem_kod"}, {"index3", "terem_hely"},
                                 {"index4", "terem_kapacitas"}, {"index5", "terem_hely;terem_kod"}});

    loadFirstPresent(MT_mintatanterv, {"mintatanterv.csv"});
    addMissingIndexes(MT_mintatanterv,
                      {{"index1", "mintatanterv_id"}, {"index2", "mintatanterv_kod"}, {"index3", "mintatanterv_nev"},
                       {"index4", "tagozat"}, {"index5", "tipus"}, {"index6", "nyelv"}});
    loadFirstPresent(MT_mintatantervtargy, {"mintatantervtargy.csv"});
    addMissingIndexes(MT_mintatantervtargy, {{"index1", "mintatanterv_id"}, {"index2", "targy_id"},
                                             {"index3", "mintatanterv_id;targy_id"}});
    // Curriculum subjects are read by curriculum; the file may not have brought that index.
    MT_mintatantervtargy.SetIndexFieldNames("mintatanterv_id");
    loadFirstPresent(MT_kurzusminta, {"kurzusminta.csv"});
    addMissingIndexes(MT_kurzusminta, {{"index1", "kurzusminta_id"}, {"index2", "targy_id"},
                                       {"index3", "kurzusminta_kod"}, {"index4", "atargykod"},
                                       {"index5", "felev"}, {"index6", "orarendiinfo"}});
    loadFirstPresent(MT_kurzusmintatargy, {"kurzusmintatargy.csv"});
    addMissingIndexes(MT_kurzusmintatargy, {{"index1", "kurzusminta_id"}, {"index2", "targy_id"}});
    loadFirstPresent(MT_kurzusmintaoktato, {"kurzusmintaoktato.csv"});
    addMissingIndexes(MT_kurzusmintaoktato, {{"index1", "kurzusminta_id"}, {"index2", "oktato_id"}});

    loadTimetableFile(MT_orarend, "KK_orarend.csv", "orarend-minta.csv");
    addMissingIndexes(MT_orarend, {{"index1", "megnevezes"}});
    // Timetables are listed in name order.
    MT_orarend.SetIndexFieldNames("megnevezes");
    loadTimetableFile(MT_kurzus, "KK_kurzus.csv", "kurzus-minta.csv");
    addMissingIndexes(MT_kurzus, {{"index1", "kurzus_id"}, {"index2", "targy_id"}, {"index3", "kurzus_kod_osszetett"}});
    MT_kurzus_csatolt.Open();
    loadTimetableFile(MT_alkalom, "KK_alkalom.csv", "alkalom-minta.csv");
    addMissingIndexes(MT_alkalom, {{"index1", "kurzus_id"}, {"index3", "terem_id"}, {"index2", "kurzus_id;alkalom_id"}});
    // Its file is written by every save but rebuilt from the occasions rather than read.
    loadFirstPresent(MT_kurzusalkalom, {});
    addMissingIndexes(MT_kurzusalkalom, {{"index1", "kurzus_id"}, {"index2", "alkalom_id"}});
    loadTimetableFile(MT_kurzusoktato, "KK_kurzusoktato.csv", "kurzusoktato-minta.csv");
    addMissingIndexes(MT_kurzusoktato, {{"index1", "kurzus_id"}, {"index2", "oktato_id"}});
    loadTimetableFile(MT_kurzustargy, "KK_kurzustargy.csv", "kurzustargy-minta.csv");
    addMissingIndexes(MT_kurzustargy, {{"index1", "kurzus_id"}, {"index2", "targy_id"}});
    loadTimetableFile(MT_kurzusorarend, "KK_kurzusorarend.csv", "kurzusorarend-minta.csv");
    addMissingIndexes(MT_kurzusorarend, {{"index1", "kurzus_id"}, {"index2", "orarend_id"}});

    MT_terem_alkalomhoz.Open();
}

void TDM::loadFile(TztrMemTable &table, const char *fileName)
{
    // Going on with part of the data would let the next save overwrite good files.
    std::vector<DesignField> design = DesignFieldsOf(table);
    // The links' table puts this column back itself when a file lacks it.
    if (&table == &MT_mintatantervtargy)
        std::erase_if(design, [](const DesignField &field) { return field.name == "targy_felveteltipus"; });
    std::error_code sizeError;
    if (std::filesystem::file_size(Mappa + fileName, sizeError) == 0 && !sizeError)
        throw EDataFileError(fileName, loadFailure(fileName, "A fájl üres." + DataFilePlace(fileName, 0, "")));
    try {
        table.LoadFromFile(Mappa + fileName);
    } catch (const std::exception &error) {
        throw EDataFileError(fileName, loadFailure(fileName, error.what()));
    }
    if (const std::string problem = LoadedFileProblem(table, design, fileName); !problem.empty())
        throw EDataFileError(fileName, loadFailure(fileName, problem));
}

void TDM::loadFirstPresent(TztrMemTable &table, std::initializer_list<const char *> fileNames)
{
    for (const char *fileName : fileNames) {
        if (!entryExists(Mappa + fileName))
            continue;
        if (const std::string problem = notAFile(Mappa + fileName); !problem.empty())
            throw EDataFileError(fileName, loadFailure(fileName, problem + DataFilePlace(fileName, 0, "")));
        loadFile(table, fileName);
        return;
    }
    table.Open();
}

void TDM::loadTimetableFile(TztrMemTable &table, const char *fileName, const char *sampleName)
{
    const bool firstStart = std::none_of(std::begin(TimetableFiles), std::end(TimetableFiles),
                                         [this](const char *name) { return entryExists(Mappa + name); });
    if (firstStart) {
        loadFirstPresent(table, {sampleName});
        return;
    }
    if (!entryExists(Mappa + fileName))
        throw EDataFileError(fileName, loadFailure(fileName, "A fájl hiányzik, pedig a mappában vannak más "
                                                             "órarendi adatfájlok." +
                                                                 DataFilePlace(fileName, 0, "")));
    loadFirstPresent(table, {fileName});
}

void TDM::addMissingIndexes(TztrMemTable &table, std::initializer_list<IndexSpec> indexes)
{
    for (const IndexSpec &index : indexes) {
        if (table.IndexDefs().IndexOf(index.name) < 0)
            table.AddIndex(index.name, index.fields, {});
    }
}

void TDM::Mentes()
{
    Progress &progress = currentProgress();
    progress.start(8, "Mentés");
    saveSet({{"Mentés:Oktatók", MT_oktato, "oktato.csv"},
             {"Mentés:Órarendek", MT_orarend, "KK_orarend.csv"},
             {"Mentés:Alkalmak", MT_alkalom, "KK_alkalom.csv"},
             {"Mentés:Kurzusok", MT_kurzus, "KK_kurzus.csv"},
             {"Mentés:Kurzus oktatói", MT_kurzusoktato, "KK_kurzusoktato.csv"},
             {"Mentés:Kurzus órarendjei", MT_kurzusorarend, "KK_kurzusorarend.csv"},
             {"Mentés:Kurzus tárgyai", MT_kurzustargy, "KK_kurzustargy.csv"},
             {"Mentés:Kurzus-alkalom kapcsolatok", MT_kurzusalkalom, "KK_kurzusalkalom.csv"}},
            progress);
}

void TDM::TorzsadatMentes()
{
    saveSet({{"", MT_oktato, "oktato.csv"},
             {"", MT_targy, "targy.csv"},
             {"", MT_terem, "terem.csv"},
             {"", MT_mintatanterv, "mintatanterv.csv"},
             {"", MT_mintatantervtargy, "mintatantervtargy.csv"},
             {"", MT_kurzusminta, "kurzusminta.csv"},
             {"", MT_kurzusmintatargy, "kurzusmintatargy.csv"},
             {"", MT_kurzusmintaoktato, "kurzusmintaoktato.csv"}},
            noProgress);
}

void TDM::ExportMentes()
{
    saveSet({{"", MT_export, "KK_export.txt"}, {"", MT_export_alkalom, "KK_export_ALKALOM.txt"}}, noProgress);
}

void TDM::saveSet(std::initializer_list<SaveStep> steps, Progress &progress)
{
    // Nothing is replaced before every file of the set was written; then all are replaced at once.
    DataFileSet files(Mappa);
    try {
        for (const SaveStep &step : steps) {
            progress.step();
            progress.setCaption(step.caption);
            try {
                step.table.SaveToStreamViaFormat(files.Add(step.fileName), step.table.DefaultFormat());
            } catch (const std::exception &error) {
                DataFileSet::FailSaving(step.fileName, error.what());
            }
        }
        files.Commit();
    } catch (...) {
        progress.finish();
        throw;
    }
    progress.finish();
}

void TDM::MappaFrissites() { Mappa = environment_.programFolder(); }

void TDM::SetProgress(Progress *progress) { progress_ = progress; }

Progress &TDM::currentProgress() { return progress_ != nullptr ? *progress_ : noProgress; }

void TDM::MT_alkalomgyaknevGetText(TField &sender, std::string &text, bool)
{
    const TDataSet &table = *sender.DataSet();
    if (!hasCurrentRow(table)) {
        text.assign(19, ' ');
        return;
    }
    const int code = table.FieldByName("gyakorisag")->AsInteger();
    const auto &names = frequencyNames();
    text = names[code >= 0 && code < 5 ? code : 5];
}

void TDM::KiirasGetText(TField &sender, std::string &text, bool displayText)
{
    if (!displayText) {
        text = "Not display";
        return;
    }
    // Each occasion shows its own room: the view is moved to it before it is read.
    const Variant roomId = sender.DataSet()->FieldByName("terem_id")->Value();
    if (!MT_terem_alkalomhoz.Locate("terem_id", roomId, {})) {
        text = "Hiba!";
        return;
    }
    text = MT_terem_alkalomhoz.FieldByName("terem_hely")->AsString() + "-" +
           MT_terem_alkalomhoz.FieldByName("terem_kod")->AsString();
}

void TDM::MT_alkalomnapGetText(TField &sender, std::string &text, bool)
{
    const TDataSet &table = *sender.DataSet();
    const double day = std::trunc(table.FieldByName("kezd_ido")->AsDateTime());
    if (day >= 1 && day <= 49)
        text = dayNames()[static_cast<std::size_t>(static_cast<int>(day - 1) % 7)];
    else if (!hasCurrentRow(table))
        text.clear();
    else
        text = "napGetText!(" + std::to_string(static_cast<long long>(std::clamp(day, -1e15, 1e15))) + ")";
}
