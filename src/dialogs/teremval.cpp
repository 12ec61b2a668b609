#include "dialogs/teremval.h"

#include "sajat/SajatVCI.h"
#include "data/datam.h"
#include "dialogs/dialogsCommon.h"
#include "dialogs/hetek_edit.h"
#include "dialogs/teremfel.h"
#include "platform/widgets/DBGrids.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

Tteremvalasztas *teremvalasztas = nullptr;

using dlg::intOf;
using dlg::textOf;

namespace {

// Odd-week and even-week occasions never meet, whatever their masks say.
constexpr int OddWeeks = 1;
constexpr int EvenWeeks = 2;
// Rooms with this place code are offered whoever holds them.
const std::string SharedRoomPlace = "V";

// When and in which weeks an occasion holds its room, as the free-room search compares them.
struct Slot {
    int day = 0;
    int start = 0;
    int end = 0;
    int frequency = 0;
    std::string weeks;
};

Slot slotOf(const TDataSet &occasion)
{
    const TDateTime start = occasion.FieldByName("kezd_ido")->AsDateTime();
    const TDateTime end = occasion.FieldByName("veg_ido")->AsDateTime();
    return {static_cast<int>(std::trunc(start)), Tteremvalasztas::Kerekites5(MinuteOfDay(start)),
            Tteremvalasztas::Kerekites5(MinuteOfDay(end)), intOf(occasion, "gyakorisag"),
            textOf(occasion, "hetek")};
}

const std::string &weeksOf(const Slot &slot)
{
    const auto &fixed = Tedithetek::FixedMasks;
    if (slot.frequency >= 0 && slot.frequency < int(fixed.size()))
        return fixed[std::size_t(slot.frequency)];
    return slot.weeks;
}

bool shareAWeek(const std::string &a, const std::string &b)
{
    const std::size_t weeks = std::min({a.size(), b.size(), std::size_t(Tedithetek::WeekCount)});
    for (std::size_t week = 0; week < weeks; ++week)
        if (a[week] == '1' && b[week] == '1')
            return true;
    return false;
}

// Intervals that only touch count as overlapping: a room needs the break between two classes.
bool clash(const Slot &source, const Slot &other)
{
    if (other.day != source.day || other.end < source.start || other.start > source.end)
        return false;
    if ((source.frequency == OddWeeks && other.frequency == EvenWeeks) ||
        (source.frequency == EvenWeeks && other.frequency == OddWeeks))
        return false;
    return shareAWeek(weeksOf(source), weeksOf(other));
}

} // namespace

Tteremvalasztas::Tteremvalasztas(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("teremvalasztas"));
    setWindowTitle(QStringLiteral("Terem választása"));
    resize(460, 420);

    DBGrid1 = new TDBGrid(this);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetOptions(DBGrid1->Options() + TDBGridOptions{dgRowSelect});
    const struct {
        const char *field;
        const char *title;
        int width;
    } columns[] = {
        {"terem_hely", "Kód", 50},
        {"terem_kod", "Hely/Név", 150},
        {"terem_kapacitas", "Max hely", 50},
        {"terem_telephely", "Telephely", 120},
    };
    for (const auto &c : columns) {
        TColumn *column = DBGrid1->Columns().Add(c.field);
        column->Title().SetCaption(QString::fromUtf8(c.title));
        column->SetWidth(c.width);
    }
    DBGrid1->WidenColumnsToTitles();

    CheckBox1 = new QCheckBox(QStringLiteral("szükít"), this);
    Button1 = new QPushButton(QStringLiteral("Kiválaszt"), this);
    Button2 = new QPushButton(QStringLiteral("Vissza"), this);
    Button3 = new QPushButton(QStringLiteral("Új felvétele"), this);
    Button3->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CheckBox1);
    buttons->addStretch();
    buttons->addWidget(Button3);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);

    // Ticking from code runs the search as a click does; the show relies on it.
    connect(CheckBox1, &QCheckBox::toggled, this, &Tteremvalasztas::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &Tteremvalasztas::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tteremvalasztas::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &Tteremvalasztas::Button3Click);
    DBGrid1->OnTitleClick = [this](TColumn &column) { DBGrid1TitleClick(column); };

    FormCreate();
}

void Tteremvalasztas::FormCreate()
{
    MT_teremtemp.SetName("MT_teremtemp");
    MT_teremtemp.FieldDefs().Add("terem_id", ftInteger);
    MT_teremtemp.FieldDefs().Add("terem_kod", ftString, 40);
    MT_teremtemp.FieldDefs().Add("terem_hely", ftString, 20);
    MT_teremtemp.FieldDefs().Add("terem_kapacitas", ftInteger);
    MT_teremtemp.FieldDefs().Add("terem_telephely", ftString, 50);
    MT_alktemp.SetName("MT_alktemp");
    MT_alktemp.SetAttachedTo(&DM->MT_alkalom);
}

int Tteremvalasztas::Kerekites5(int minute)
{
    const int rest = minute % 5;
    return rest <= 2 ? minute - rest : minute + 5 - rest;
}

void Tteremvalasztas::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tteremvalasztas::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormClose();
}

void Tteremvalasztas::FormShow()
{
    MT_teremtemp.Close();
    Button3->setVisible(DM->Admin);
    Button3->setEnabled(true);
    DBGrid1->SetDataSource(&DM->DS_terem);
    CheckBox1->setChecked(false);
    CheckBox1->setEnabled(true);
    if (!Hetek.empty())
        CheckBox1->setChecked(true);
}

void Tteremvalasztas::FormClose()
{
    AlkalomId = -1;
    MT_teremtemp.Close();
}

void Tteremvalasztas::CheckBox1Click()
{
    if (!CheckBox1->isChecked()) {
        DBGrid1->SetDataSource(&DM->DS_terem);
        Button3->setEnabled(true);
        return;
    }
    narrowToFreeRooms();
    MT_teremtemp.First();
    DBGrid1->SetDataSource(&DS_teremtemp);
    Button3->setEnabled(false);
}

void Tteremvalasztas::fillRoomCopy()
{
    MT_teremtemp.Close();
    const struct {
        const char *name;
        const char *fields;
    } indexes[] = {
        {"index1", "terem_id"},        {"index2", "terem_kod"},
        {"index3", "terem_hely"},      {"index4", "terem_kapacitas"},
        {"index5", "terem_hely;terem_kod"},
    };
    for (const auto &index : indexes)
        if (MT_teremtemp.IndexDefs().IndexOf(index.name) < 0)
            MT_teremtemp.IndexDefs().Add(index.name, index.fields, {});
    MT_teremtemp.Open();
    MT_teremtemp.LoadFromDataSet(DM->MT_terem, {});
}

bool Tteremvalasztas::locateOccasion()
{
    if (!MT_alktemp.Active())
        MT_alktemp.Open();
    return AlkalomId >= 0 && MT_alktemp.Locate("alkalom_id", AlkalomId, {});
}

void Tteremvalasztas::narrowToFreeRooms()
{
    fillRoomCopy();
    MT_alktemp.Close();
    // Without an occasion to start from there is nothing to clash with.
    if (!locateOccasion())
        return;
    const Slot source = slotOf(MT_alktemp);
    // Every occasion, the source itself included: its own room is taken by it.
    for (MT_alktemp.First(); !MT_alktemp.Eof(); MT_alktemp.Next()) {
        const int teremId = intOf(MT_alktemp, "terem_id");
        if (teremId < 1 || !clash(source, slotOf(MT_alktemp)))
            continue;
        if (MT_teremtemp.Locate("terem_id", teremId, {}) &&
            textOf(MT_teremtemp, "terem_hely") != SharedRoomPlace)
            MT_teremtemp.Delete();
    }
}

void Tteremvalasztas::Button1Click()
{
    // The occasion is found by its id in the shared store, whichever row its caller stands on.
    if (locateOccasion()) {
        int teremId = intOf(DM->MT_terem, "terem_id");
        if (CheckBox1->isChecked())
            teremId = MT_teremtemp.IsEmpty() ? 0 : intOf(MT_teremtemp, "terem_id");
        MT_alktemp.Edit();
        MT_alktemp.FieldByName("terem_id")->SetAsInteger(teremId);
        MT_alktemp.Post();
    }
    accept();
}

void Tteremvalasztas::Button2Click()
{
    reject();
}

void Tteremvalasztas::Button3Click()
{
    if (teremfelvetel)
        teremfelvetel->exec();
}

void Tteremvalasztas::DBGrid1TitleClick(TColumn &column)
{
    if (auto *shown = dynamic_cast<TztrCustomMemTable *>(DBGrid1->DataSet()))
        shown->SetIndexFieldNames(column.FieldName());
}
