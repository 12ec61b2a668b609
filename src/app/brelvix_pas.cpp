#include "app/brelvix_pas.h"

#include "app/SajatVCI.h"
#include "data/datam.h"
#include "platform/Cp1250.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>

TForm1 *Form1 = nullptr;

namespace {

constexpr TColor ItemSelBGColor = clSkyBlue;
constexpr TColor ItemBGColor = clMoneyGreen;
// Only the first few teachers fit in a box.
constexpr int MaxTeachersShown = 3;

QString guiText(const std::string &cp1250Text)
{
    return QString::fromStdString(cp1250ToUtf8(cp1250Text));
}

bool hasRow(const TDataSet *table)
{
    return table && table->Active() && !table->Eof();
}

int intOf(const TDataSet &table, const char *field)
{
    return table.FieldByName(field)->AsInteger();
}

std::string textOf(const TDataSet &table, const char *field)
{
    return table.FieldByName(field)->AsString();
}

QString itemTitle(const TDataSet *course, const TDataSet *subject)
{
    if (!hasRow(course))
        return QStringLiteral("Hiányzó kurzus!");
    if (const std::string title = textOf(*course, "megnevezes"); !title.empty())
        return guiText(title);
    if (!hasRow(subject))
        return QStringLiteral("A tárgy vagy egyedi foglalás nem található!!!");
    return guiText(textOf(*subject, "targy_nev"));
}

// Keeps the data-aware controls of a table still while a routine walks it, and lets them go
// again however the routine ends.
class ControlsDisabled {
public:
    explicit ControlsDisabled(TDataSet &table) : table_(table) { table_.DisableControls(); }
    ~ControlsDisabled() { table_.EnableControls(); }
    ControlsDisabled(const ControlsDisabled &) = delete;
    ControlsDisabled &operator=(const ControlsDisabled &) = delete;

private:
    TDataSet &table_;
};

void showMessage(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent), VL(new TveltoCalendar(this))
{
    setObjectName(QStringLiteral("Form1"));
    // Room for the working week of the calendar on a common screen.
    resize(1024, 720);
    setCentralWidget(VL);
    VL->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
    FormCreate();
}

void TForm1::FormCreate()
{
    MT_kurzus_temp.SetName("MT_kurzus_temp");
    MT_kurzus_temp.SetAttachedTo(&DM->MT_kurzus);
    MT_kurzus_temp.Open();
    MT_kurzusoktato_temp2.SetName("MT_kurzusoktato_temp2");
    MT_kurzusoktato_temp2.SetAttachedTo(&DM->MT_kurzusoktato);
    MT_kurzusoktato_temp2.Open();
    MT_alkalom_temp.SetName("MT_alkalom_temp");
    MT_alkalom_temp.SetDefaultFormat(&DM->CSV);
    MT_alkalom_temp.IndexDefs().Add("Index1", "kurzus_id", {});
    MT_alkalom_temp.SetAttachedTo(&DM->MT_alkalom);
    MT_alkalom_temp.FieldByName("kiiras")->OnGetText = [this](TField &sender, std::string &text, bool displayText) {
        MT_alkalom_tempkiirasGetText(sender, text, displayText);
    };
    MT_alkalom_temp.Open();
    DM->MT_terem_alkalomhoz.Open();
    DM->BeosztasSajat(*VL);
    setWindowTitle(QStringLiteral("Órarend ") + SemesterCaption(DM->Felev));
}

void TForm1::MT_alkalom_tempkiirasGetText(TField &sender, std::string &text, bool displayText)
{
    if (!displayText) {
        text = "Not display";
        return;
    }
    text.clear();
    if (!RoomTextOn || !hasRow(sender.DataSet()))
        return;
    const int teremId = intOf(*sender.DataSet(), "terem_id");
    TztrMemTable &rooms = DM->MT_terem_alkalomhoz;
    if (rooms.Locate("terem_id", teremId, {}))
        text = textOf(rooms, "terem_hely") + "-" + textOf(rooms, "terem_kod");
    else
        text = teremId < 0 ? "Nincs terem" : "Nincs meg a terem";
}

void TForm1::AddCalendarItem(TDataSet &occasion, TDataSet *course, TDataSet *subject)
{
    ControlsDisabled still(MT_kurzusoktato_temp2);
    auto *item = VL->Items().Add<TSajat>();
    item->SetSelBGColor(ItemSelBGColor);
    item->SetBGColor(ItemBGColor);
    item->AlkalomID = intOf(occasion, "alkalom_id");
    item->KurzusID = hasRow(course) ? intOf(*course, "kurzus_id") : -1;
    fillItem(*item, occasion, course, subject);
    item->SetOktatok(teacherNames(intOf(occasion, "kurzus_id")));
}

void TForm1::UpdateCalendarItem(TDataSet &occasion, TDataSet *course, TDataSet *subject)
{
    TSajat *item = FindCalendarItem(intOf(occasion, "alkalom_id"));
    if (!item) {
        showMessage(this, QStringLiteral("A Calendar-ban nem találom az alkalmat!"));
        return;
    }
    fillItem(*item, occasion, course, subject);
}

void TForm1::fillItem(TSajat &item, TDataSet &occasion, TDataSet *course, TDataSet *subject)
{
    item.SetStart(occasion.FieldByName("kezd_ido")->AsDateTime());
    // Only the time of day of the end counts: an occasion never spans midnight on purpose.
    item.SetEndTime(occasion.FieldByName("veg_ido")->AsDateTime());
    item.SetKod(hasRow(course) ? guiText(textOf(*course, "kurzus_kod_osszetett")) : QString());
    item.SetNev(itemTitle(course, subject));
    item.SetOktatok(QString());
    item.SetKiiras(guiText(occasion.FieldByName("kiiras")->DisplayText()));
    item.SetHetek(guiText(textOf(occasion, "hetek")));
    item.SetGyakorisag(intOf(occasion, "gyakorisag"));
}

QString TForm1::teacherNames(int kurzusId)
{
    MT_kurzusoktato_temp2.SetFiltered(false);
    MT_kurzusoktato_temp2.SetFilter("kurzus_id=" + std::to_string(kurzusId));
    MT_kurzusoktato_temp2.SetFiltered(true);
    MT_kurzusoktato_temp2.First();
    QStringList names;
    // A link whose teacher is gone still takes one of the places.
    for (int link = 0; link < MaxTeachersShown && !MT_kurzusoktato_temp2.Eof(); ++link) {
        if (DM->MT_oktato.Locate("oktato_id", intOf(MT_kurzusoktato_temp2, "oktato_id"), {}))
            names << guiText(textOf(DM->MT_oktato, "oktato_nev"));
        MT_kurzusoktato_temp2.Next();
    }
    return names.join(QStringLiteral(", "));
}

TSajat *TForm1::FindCalendarItem(int alkalomId) const
{
    for (TCustomCalendarItem *item : VL->Items()) {
        auto *occasionItem = dynamic_cast<TSajat *>(item);
        if (occasionItem && occasionItem->AlkalomID == alkalomId)
            return occasionItem;
    }
    return nullptr;
}

TDataSet *TForm1::courseSubject(TDataSet *course)
{
    const int targyId = hasRow(course) ? intOf(*course, "targy_id") : -1;
    return DM->MT_targy.Locate("targy_id", targyId, {}) ? &DM->MT_targy : nullptr;
}

void TForm1::AddCalendarItemForCourse(TDataSet &occasion, TDataSet *course)
{
    AddCalendarItem(occasion, course, courseSubject(course));
}

void TForm1::UpdateCalendarItemForCourse(TDataSet &occasion, TDataSet *course)
{
    UpdateCalendarItem(occasion, course, courseSubject(course));
}

void TForm1::AddOccasionToCalendar(TDataSet &occasion)
{
    if (MT_kurzus_temp.Locate("kurzus_id", intOf(occasion, "kurzus_id"), {}))
        AddCalendarItemForCourse(occasion, &MT_kurzus_temp);
}

void TForm1::UpdateOccasionInCalendar(TDataSet &occasion)
{
    if (MT_kurzus_temp.Locate("kurzus_id", intOf(occasion, "kurzus_id"), {}))
        UpdateCalendarItemForCourse(occasion, &MT_kurzus_temp);
}

bool HasWeekFrom(const std::string &mask, int from)
{
    if (from > int(mask.size()))
        return false;
    return mask.find('1', std::size_t(std::max(from, 1) - 1)) != std::string::npos;
}

QString SemesterCaption(const std::string &felev)
{
    const QString semester = guiText(felev);
    const bool autumn = felev.size() >= 11 && felev[10] == '1';
    return QStringLiteral(" (") + semester + (autumn ? QStringLiteral(" ősz)") : QStringLiteral(" tavasz)"));
}
