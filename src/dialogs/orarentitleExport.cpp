// The export for the student information system: course-level rows and one schedule row per
// occasion and teaching week, written by the data module as the two export files.

#include "data/datam.h"
#include "dialogs/dialogsCommon.h"
#include "dialogs/orarentitle.h"
#include "memtable/ztrDirectLoad.h"

#include <QProgressBar>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

using dlg::intOf;
using dlg::textOf;

namespace {

// Fixed values the information system expects for this semester.
const char *const ExportFelev = "2025/26/1";
const char *const OrarendKezdet = "2025.09.08";
const char *const OrarendVeg = "2025.12.14";
constexpr int HetiOraszam = 2;
constexpr int FelevesOraszam = 28;
const char *const TeremElotag = "ZQF-";
// Written for a head count stored as negative (unknown).
constexpr int UnknownHeadCount = 999;
// Lesson count of an occasion that does not fit the lesson slots.
constexpr int OffSlotLessons = 222;
constexpr int LessonMinutes = 45;

// Start minute of lesson slots 1 to 14.
constexpr std::array<int, 14> SlotStarts{465, 510, 570, 615,  675,  720,  795,
                                         840, 900, 945, 1005, 1050, 1110, 1155};

std::string part(const std::string &text, std::size_t from, std::size_t count)
{
    return from < text.size() ? text.substr(from, count) : std::string();
}

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int headCount(const TField &field)
{
    const int value = field.AsInteger();
    return value < 0 ? UnknownHeadCount : value;
}

// Monday 1 to Sunday 7 from the calendar day of week 1; days of later weeks give 0.
int weekdayOf(TDateTime moment)
{
    const double day = std::trunc(double(moment));
    if (day >= 2 && day <= 7)
        return int(day) - 1;
    if (day == 1 || day == 8)
        return 7;
    return 0;
}

// The minute of the day as stored, truncated.
int truncatedMinute(TDateTime moment)
{
    const double value = double(moment);
    return int((value - std::trunc(value)) * MinutesPerDay);
}

// Stored times a minute short of a multiple of five are moved up by that minute.
int roundedUp(int minute)
{
    return minute % 5 != 0 ? minute + 1 : minute;
}

// Weeks the information system does not take: the 8th (autumn break), the 15th (exams) and the
// 7th from Thursday on.
bool weekWritten(int week, int weekday)
{
    return week != 8 && week <= 14 && !(week == 7 && weekday >= 4);
}

// Off for the length of the run and back on afterwards if it was: lookups must see every row,
// while the window that filtered the table keeps its view.
class FilterSuspended
{
public:
    explicit FilterSuspended(TztrMemTable &table) : table_(table), wasOn_(table.Filtered())
    {
        table_.SetFiltered(false);
    }
    ~FilterSuspended() { table_.SetFiltered(wasOn_); }
    FilterSuspended(const FilterSuspended &) = delete;
    FilterSuspended &operator=(const FilterSuspended &) = delete;

private:
    TztrMemTable &table_;
    bool wasOn_;
};

// The rows of a link table read in one pass in the table's order and kept per course: a course
// then finds its own rows, in that order, without a filter built and run for it. A row without a
// course belongs to none, as a filter on the course would not take it.
template <class Row>
class RowsByCourse
{
public:
    template <class Read>
    RowsByCourse(TztrMemTable &table, Read read)
    {
        // Every row, whatever filter a window left on the table.
        table.SetFiltered(false);
        const TField &course = *table.FieldByName("kurzus_id");
        for (table.First(); !table.Eof(); table.Next())
            if (!course.IsNull())
                rows_[course.AsInteger()].push_back(read(table));
    }

    const std::vector<Row> &of(int kurzusId) const
    {
        static const std::vector<Row> none;
        const auto found = rows_.find(kurzusId);
        return found == rows_.end() ? none : found->second;
    }

private:
    std::unordered_map<int, std::vector<Row>> rows_;
};

// The room code of every room, read in one pass: an occasion finds its room's without a search.
// As a search would, a room id held twice gives the first row's code.
class RoomCodes
{
public:
    explicit RoomCodes(TztrMemTable &rooms)
    {
        const TField &id = *rooms.FieldByName("terem_id");
        for (rooms.First(); !rooms.Eof(); rooms.Next())
            if (!id.IsNull())
                codes_.try_emplace(id.AsInteger(),
                                   TeremElotag + textOf(rooms, "terem_hely") + textOf(rooms, "terem_kod"));
    }

    // Empty for a room that is not there.
    const std::string &of(int teremId) const
    {
        static const std::string none;
        const auto found = codes_.find(teremId);
        return found == codes_.end() ? none : found->second;
    }

private:
    std::unordered_map<int, std::string> codes_;
};

// The courses that belong to a timetable, read in one pass.
std::unordered_set<int> coursesInTimetables(TztrMemTable &links)
{
    std::unordered_set<int> courses;
    const TField &course = *links.FieldByName("kurzus_id");
    for (links.First(); !links.Eof(); links.Next())
        if (!course.IsNull())
            courses.insert(course.AsInteger());
    return courses;
}

struct TeacherLink {
    int oktatoId;
    int szazalek;
};

struct SubjectLink {
    std::optional<int> targyId;
    int maxletszam;
};

struct Occasion {
    TDateTime kezdIdo;
    TDateTime vegIdo;
    int teremId;
    std::string hetek;
};

// The columns the row routines set, in the order they set them.
const std::vector<const char *> KurzusColumns = {
    "K_helyzet",  "K_targykod",    "K_felev",          "K_kurzustkod",        "K_kurzuskod",
    "K_nyelv",    "K_kurzustipus", "K_tipusazonosito", "K_oktatokastorelkod", "K_oktatotipus",
    "megjegyzes", "K_maxletszam",  "K_hetioraszam",    "K_felevesoraszam",    "K_oktatoszazalek"};
const std::vector<const char *> AlkalomColumns = {
    "K_orarendkod",    "K_orarendnev",    "K_tagozat",        "K_felev",
    "K_orarendkezdet", "K_orarendveg",    "K_csengetesirend", "K_oracsoportkod",
    "K_oracsoportnev", "K_hetek",         "K_oraeleje",       "K_oravege",
    "K_targy_kurzus",  "K_teremkod",      "K_orahossza",      "K_nap",
    "K_oktato",        "K_teremutkozhet", "K_oktatoutkozhet", "K_kurzusoktatoit_azorakhoz",
    "K_hetirendszeres"};
// Where K_hetek stands among them.
constexpr std::size_t HetekColumn = 9;

// A row of an export table goes straight into the store while nothing shows the table (the
// export keeps its controls disabled); otherwise it is appended and posted as usual.
class ExportRow
{
public:
    ExportRow(TztrMemTable &table, bool direct) : table_(table)
    {
        if (direct)
            direct_.emplace(table);
        else
            table.Append();
    }

    void setText(TField &field, const std::string &value)
    {
        if (!direct_ || !direct_->WriteString(field, value))
            field.SetAsString(value);
    }

    void post()
    {
        if (direct_)
            direct_->Store();
        else
            table_.Post();
    }

    // Stores a row stored straight and goes on with a copy of it, all columns set as they were.
    void repeat() { direct_->StoreAndRepeat(); }

private:
    TztrMemTable &table_;
    std::optional<TztrDirectLoadRecord> direct_;
};

// For the length of a run, whether a table takes its rows straight into its store: decided once,
// as the run holds everything the decision rests on still. Outside a run rows are posted.
class DirectRowsForRun
{
public:
    DirectRowsForRun(bool &direct, const TztrMemTable &table) : direct_(direct)
    {
        direct_ = TztrDirectLoadRecord::AppliesToAppend(table);
    }
    ~DirectRowsForRun() { direct_ = false; }
    DirectRowsForRun(const DirectRowsForRun &) = delete;
    DirectRowsForRun &operator=(const DirectRowsForRun &) = delete;

private:
    bool &direct_;
};

// Looked up by name once: an export writes half a million rows of twenty fields.
const std::vector<TField *> &exportFields(const TztrMemTable &table, std::vector<TField *> &fields,
                                          const std::vector<const char *> &names)
{
    if (fields.empty())
        for (const char *name : names)
            fields.push_back(table.FieldByName(name));
    return fields;
}

// One run's walk over the courses: the link tables are read once, then every course writes its
// rows from them.
class CourseExport
{
public:
    explicit CourseExport(Torarend &dialog)
        : dialog_(dialog),
          teachers_(DM->MT_kurzusoktato,
                    [](const TztrMemTable &links) {
                        return TeacherLink{intOf(links, "oktato_id"), intOf(links, "szazalek")};
                    }),
          subjects_(DM->MT_kurzustargy,
                    [](const TztrMemTable &links) {
                        const TField &targy = *links.FieldByName("targy_id");
                        return SubjectLink{targy.IsNull() ? std::nullopt : std::optional(targy.AsInteger()),
                                           headCount(*links.FieldByName("maxletszam"))};
                    }),
          occasions_(DM->MT_alkalom, [](const TztrMemTable &occasion) {
              return Occasion{occasion.FieldByName("kezd_ido")->AsDateTime(),
                              occasion.FieldByName("veg_ido")->AsDateTime(), intOf(occasion, "terem_id"),
                              textOf(occasion, "hetek")};
          }),
          rooms_(DM->MT_terem), scheduled_(coursesInTimetables(DM->MT_kurzusorarend))
    {
    }

    // The rows of the course the course table stands on.
    void exportCourse(const std::string &orarendKod) const;

private:
    void exportOccasion(const Occasion &occasion, const std::string &orarendKod, const std::string &kod,
                        const std::string &targyKod, const std::string &targyKurzus) const;

    Torarend &dialog_;
    RowsByCourse<TeacherLink> teachers_;
    RowsByCourse<SubjectLink> subjects_;
    RowsByCourse<Occasion> occasions_;
    RoomCodes rooms_;
    std::unordered_set<int> scheduled_;
};

} // namespace

bool IdoEgyezik(int slotStart, int length, int minute, bool end)
{
    const int at = end ? slotStart + length : slotStart;
    return minute >= at - 2 && minute <= at + 2;
}

int OraSorszam(int minute, bool end)
{
    for (std::size_t slot = 0; slot < SlotStarts.size(); ++slot)
        if (IdoEgyezik(SlotStarts[slot], LessonMinutes, minute, end))
            return int(slot) + 1;
    return 999;
}

std::string PercbolIdo(int minute)
{
    auto twoDigits = [](int value) { return (value < 10 ? "0" : "") + std::to_string(value); };
    return twoDigits(minute / 60) + ":" + twoDigits(minute % 60);
}

std::string NyelvKodbol(const std::string &targyKod)
{
    const std::string prefix = part(targyKod, 0, 2);
    if (prefix == "MS" || prefix == "IV" || prefix == "EP" || prefix == "ID" || prefix == "SZ") {
        const std::string seventh = part(targyKod, 6, 1);
        if (seventh == "A")
            return "angol";
        if (seventh == "M")
            return "magyar";
    } else if (prefix == "PM") {
        return targyKod.back() == 'A' ? "angol" : "magyar";
    }
    return "Ismeretlen";
}

std::string TipusKodbol(const std::string &kurzusKod)
{
    const std::size_t dash = kurzusKod.find('-');
    const std::string type = part(kurzusKod, dash == std::string::npos ? 0 : dash + 1, 1);
    if (type == "E")
        return utf8ToCp1250("Előadás");
    if (type == "G")
        return "Gyakorlat";
    if (type == "L")
        return "Labor";
    return "Ismeretlen";
}

std::string OrarendKodbol(const std::string &kurzusKod, const std::string &felev)
{
    std::string fragment;
    if (part(kurzusKod, 0, 2) == "PM")
        fragment = kurzusKod.size() >= 7 && isAsciiLetter(kurzusKod[6]) ? part(kurzusKod, 3, 3)
                                                                        : part(kurzusKod, 2, 3);
    else
        fragment = part(kurzusKod, 0, 3);
    return fragment + felev;
}

void Torarend::ExportKurzusSor(const ExportKurzusAdat &row)
{
    TztrMemTable &table = DM->MT_export;
    const std::vector<TField *> &fields = exportFields(table, kurzusFields_, KurzusColumns);
    ExportRow added(table, kurzusDirect_);
    const std::string *const texts[] = {&row.helyzet,     &row.targykod,       &row.felev,
                                        &row.kurzustkod,  &row.kurzuskod,      &row.nyelv,
                                        &row.kurzustipus, &row.tipusazonosito, &row.oktatokastorelkod,
                                        &row.oktatotipus, &row.megjegyzes};
    std::size_t column = 0;
    for (const std::string *value : texts)
        added.setText(*fields[column++], *value);
    for (int value : {row.maxletszam, row.hetioraszam, row.felevesoraszam, row.oktatoszazalek})
        fields[column++]->SetAsInteger(value);
    added.post();
}

namespace {

void setAlkalomColumns(ExportRow &added, const std::vector<TField *> &fields, const ExportAlkalomAdat &row)
{
    const std::string *const texts[] = {
        &row.orarendkod, &row.orarendnev,     &row.tagozat,       &row.felev,         &row.orarendkezdet,
        &row.orarendveg, &row.csengetesirend, &row.oracsoportkod, &row.oracsoportnev, &row.hetek,
        &row.oraeleje,   &row.oravege,        &row.targy_kurzus,  &row.teremkod};
    std::size_t column = 0;
    for (const std::string *value : texts)
        added.setText(*fields[column++], *value);
    for (int value : {row.orahossza, row.nap})
        fields[column++]->SetAsInteger(value);
    added.setText(*fields[column++], "");
    while (column < fields.size())
        added.setText(*fields[column++], "I");
}

} // namespace

void Torarend::ExportAlkalomSor(const ExportAlkalomAdat &row)
{
    TztrMemTable &table = DM->MT_export_alkalom;
    ExportRow added(table, alkalomDirect_);
    setAlkalomColumns(added, exportFields(table, alkalomFields_, AlkalomColumns), row);
    added.post();
}

void Torarend::ExportAlkalomHetek(ExportAlkalomAdat row, const std::vector<int> &weeks)
{
    if (weeks.empty())
        return;
    if (!alkalomDirect_) {
        for (int week : weeks) {
            row.hetek = std::to_string(week);
            ExportAlkalomSor(row);
        }
        return;
    }
    TztrMemTable &table = DM->MT_export_alkalom;
    ExportRow added(table, true);
    const std::vector<TField *> &fields = exportFields(table, alkalomFields_, AlkalomColumns);
    row.hetek = std::to_string(weeks.front());
    setAlkalomColumns(added, fields, row);
    // The weeks of an occasion differ in their week alone.
    for (std::size_t i = 1; i < weeks.size(); ++i) {
        added.repeat();
        added.setText(*fields[HetekColumn], std::to_string(weeks[i]));
    }
    added.post();
}

void Torarend::BTNExportClick()
{
    ExportTablak();
    DM->ExportMentes();
    ShowMessage(this, QStringLiteral("Export egyenlőre nincs kész!!!"));
}

void Torarend::ExportTablak(int maxCourses)
{
    for (TztrMemTable *table : {&DM->MT_export, &DM->MT_export_alkalom}) {
        table->Close();
        table->Open();
    }
    // Every course is examined and every lookup sees the whole table, whatever filter a window
    // left on these.
    FilterSuspended courseFilter(DM->MT_kurzus);
    FilterSuspended timetableFilter(DM->MT_kurzusorarend);
    FilterSuspended subjectFilter(DM->MT_targy);
    FilterSuspended teacherFilter(DM->MT_oktato);
    FilterSuspended roomFilter(DM->MT_terem);
    // The windows showing these tables need not follow every row the export moves over or adds.
    // The course table stays live: the attached-course table follows it, while its grid is drawn
    // once at the end rather than twice per course.
    const ControlsDisabled still({&DM->MT_kurzusorarend, &DM->MT_targy, &DM->MT_oktato, &DM->MT_terem,
                                  &DM->MT_kurzusoktato, &DM->MT_kurzustargy, &DM->MT_alkalom, &DM->MT_kurzus_csatolt,
                                  &DM->MT_export, &DM->MT_export_alkalom});

    const DirectRowsForRun kurzusRows(kurzusDirect_, DM->MT_export);
    const DirectRowsForRun alkalomRows(alkalomDirect_, DM->MT_export_alkalom);
    const CourseExport run(*this);
    TztrMemTable &courses = DM->MT_kurzus;
    for (QProgressBar *bar : {PB, PB2}) {
        bar->setMaximum(courses.RecordCount());
        bar->setValue(0);
        bar->show();
    }
    courses.First();
    for (int examined = 0; !courses.Eof() && examined < maxCourses; ++examined) {
        PB2->setValue(PB2->value() + 1);
        run.exportCourse(OrarendKodbol(textOf(courses, "kurzus_kod_osszetett"), DM->Felev));
        courses.Next();
    }
    // Rows stored straight leave the cursor behind; it ends on the last row, as posting leaves it.
    for (TztrMemTable *table : {&DM->MT_export, &DM->MT_export_alkalom})
        table->Last();
}

namespace {

void CourseExport::exportCourse(const std::string &orarendKod) const
{
    const TztrMemTable &course = DM->MT_kurzus;
    const int kurzusId = intOf(course, "kurzus_id");
    const int targyId = intOf(course, "targy_id");
    const std::string kod = textOf(course, "kurzus_kod_osszetett");
    const int csatolt = intOf(course, "kurzus_id_csatolt");
    if (targyId < 0 || !scheduled_.contains(kurzusId))
        return;

    const std::string targyKod = lookUp(DM->MT_targy, "targy_id", targyId, "targy_kod");
    ExportKurzusAdat row;
    row.helyzet = "1 KURZUS";
    row.targykod = targyKod;
    row.felev = ExportFelev;
    row.kurzustkod = targyKod;
    row.kurzuskod = kod;
    row.maxletszam = headCount(*course.FieldByName("max_letszam"));
    row.nyelv = NyelvKodbol(targyKod);
    row.kurzustipus = TipusKodbol(kod);
    row.hetioraszam = HetiOraszam;
    row.felevesoraszam = FelevesOraszam;
    row.megjegyzes = textOf(course, "megjegyzes");
    dialog_.ExportKurzusSor(row);

    for (const TeacherLink &link : teachers_.of(kurzusId)) {
        std::string teacher;
        if (DM->MT_oktato.Locate("oktato_id", Variant(link.oktatoId), {})) {
            teacher = textOf(DM->MT_oktato, "oktato_kkod");
            if (teacher.empty() || teacher.front() == '.')
                teacher = textOf(DM->MT_oktato, "oktato_nev");
        }
        ExportKurzusAdat teacherRow = row;
        teacherRow.helyzet = "3 OKTATO";
        teacherRow.oktatokastorelkod = teacher;
        teacherRow.oktatoszazalek = std::clamp(link.szazalek, 0, 100);
        dialog_.ExportKurzusSor(teacherRow);
    }
    // Only the further subjects: a link to the course's own subject, or to none, is left out.
    for (const SubjectLink &link : subjects_.of(kurzusId)) {
        if (!link.targyId || *link.targyId == targyId)
            continue;
        ExportKurzusAdat subjectRow = row;
        subjectRow.helyzet = "2 TARGY+";
        subjectRow.targykod = lookUp(DM->MT_targy, "targy_id", *link.targyId, "targy_kod");
        subjectRow.maxletszam = link.maxletszam;
        dialog_.ExportKurzusSor(subjectRow);
    }

    // An attached course is scheduled through the course it is attached to.
    if (csatolt > 0 && csatolt != kurzusId)
        return;

    std::string targyKurzus = targyKod + "{" + kod + "}";
    TztrMemTable &attached = DM->MT_kurzus_csatolt;
    for (attached.First(); !attached.Eof(); attached.Next())
        targyKurzus += ";" + lookUp(DM->MT_targy, "targy_id", intOf(attached, "targy_id"), "targy_kod") +
                       "{" + textOf(attached, "kurzus_kod_osszetett") + "}";

    for (const Occasion &occasion : occasions_.of(kurzusId))
        exportOccasion(occasion, orarendKod, kod, targyKod, targyKurzus);
}

void CourseExport::exportOccasion(const Occasion &occasion, const std::string &orarendKod, const std::string &kod,
                                  const std::string &targyKod, const std::string &targyKurzus) const
{
    const int weekday = weekdayOf(occasion.kezdIdo);
    const int s = truncatedMinute(occasion.kezdIdo);
    const int e = truncatedMinute(occasion.vegIdo);
    const int firstSlot = OraSorszam(s, false);
    const int lastSlot = OraSorszam(e, true);

    ExportAlkalomAdat row;
    row.orarendkod = orarendKod;
    row.orarendnev = orarendKod;
    row.tagozat = kod;
    row.felev = ExportFelev;
    row.orarendkezdet = OrarendKezdet;
    row.orarendveg = OrarendVeg;
    row.csengetesirend = dialog_.Csengetesirend;
    row.oracsoportkod = targyKod + "/" + kod;
    row.oracsoportnev = row.oracsoportkod;
    row.orahossza = firstSlot > 20 || lastSlot > 20 ? OffSlotLessons : lastSlot - firstSlot + 1;
    row.nap = weekday;
    row.oraeleje = PercbolIdo(roundedUp(s));
    row.oravege = PercbolIdo(roundedUp(e));
    row.targy_kurzus = targyKurzus;
    row.teremkod = rooms_.of(occasion.teremId);

    std::vector<int> weeks;
    const std::string &hetek = occasion.hetek;
    for (std::size_t i = 0; i < hetek.size(); ++i) {
        const int week = int(i) + 1;
        if (hetek[i] == '1' && weekWritten(week, weekday))
            weeks.push_back(week);
    }
    dialog_.ExportAlkalomHetek(row, weeks);
}

} // namespace
