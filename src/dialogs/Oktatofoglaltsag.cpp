#include "dialogs/Oktatofoglaltsag.h"

#include "sajat/SajatVCI.h"
#include "calendar/veltoCalendar.h"
#include "data/datam.h"
#include "dialogs/Teremfoglaltsag.h"
#include "dialogs/dialogsCommon.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QMetaObject>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

TOktatofog *Oktatofog = nullptr;

using dlg::intOf;
using dlg::textOf;

namespace {

const char *const DayNames[] = {"Hétfő", "Kedd", "Szerda", "Csütörtök", "Péntek", "Szombat", "Vasárnap"};

} // namespace

TOktatofog::TOktatofog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Oktatofog"));
    setWindowTitle(QStringLiteral("Oktatói órarend"));
    resize(809, 579);
    // Narrower, the day columns would not take their texts.
    setMinimumWidth(780);

    VL = new TveltoCalendar(this);
    VL->SetColor(0x80FFFF);
    VL->SetBGColor(0x40C0C0);
    VL->SetSelColor(clNavy);
    VL->SetHetek(1);
    VL->SetScale(60);
    VL->SetVonalzoBal(5);
    VL->SetVonalzoJobb(5);
    VL->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});

    auto *bottom = new QHBoxLayout;
    for (int day = 0; day < 7; ++day) {
        QCheckBox *box = new QCheckBox(QString::fromUtf8(DayNames[day]), this);
        box->setObjectName(QStringLiteral("CBNap%1").arg(day + 1));
        box->setChecked(day < 5);
        bottom->addWidget(box);
        CBNap[std::size_t(day)] = box;
        // Clicks only: the show ticks the boxes from code without changing the days.
        connect(box, &QCheckBox::clicked, this, [this, box] { Nap7Click(box); });
    }
    bottom->addStretch();
    Button1 = new QPushButton(QStringLiteral("Kilépés"), this);
    bottom->addWidget(Button1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(VL, 1);
    layout->addLayout(bottom);

    connect(Button1, &QPushButton::clicked, this, &TOktatofog::Button1Click);
    // The cells are fitted to the calendar's client area, which is sized after the window.
    VL->viewport()->installEventFilter(this);

    MT_alkalom_temp.SetName("MT_alkalom_temp");
    MT_alkalom_temp.IndexDefs().Add("Index1", "kurzus_id", {});
    MT_kurzus_temp.SetName("MT_kurzus_temp");
    MT_kurzusoktato_temp.SetName("MT_kurzusoktato_temp");
    // The links to each occasion's course follow it through these indexes, not by scans.
    MT_kurzus_temp.IndexDefs().Add("Index1", "kurzus_id", {});
    MT_kurzusoktato_temp.IndexDefs().Add("Index1", "kurzus_id", {});
    teacherLinks_.SetName("teacherLinks");
    teacherLinks_.IndexDefs().Add("oktato_id", "oktato_id", {});
}

void TOktatofog::NaptarBeallitas(int scaleMode, const TveltoCalendar *model)
{
    DM->applyTimeRowPreset(scaleMode, *VL);
    if (!model)
        return;
    VL->SetHetek(model->Hetek());
    VL->SetDays(model->Days());
    VL->SetVonalzoBal(model->VonalzoBal());
    VL->SetVonalzoJobb(model->VonalzoJobb());
}

void TOktatofog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

bool TOktatofog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == VL->viewport() && event->type() == QEvent::Resize)
        Igazitas();
    return QDialog::eventFilter(watched, event);
}

void TOktatofog::FormShow()
{
    if (OktatoId < 1) {
        // Queued: a modal run closed before its event loop starts would never return.
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    // The boxes show the days the caller gave the calendar.
    for (int day = 0; day < 7; ++day)
        CBNap[std::size_t(day)]->setChecked(VL->Days().contains(TveltoCalendarDay(day)));

    openTables();
    frissites();
    Igazitas();
}

void TOktatofog::openTables()
{
    const std::pair<TztrMemTable *, TztrMemTable *> views[] = {{&MT_alkalom_temp, &DM->MT_alkalom},
                                                               {&MT_kurzus_temp, &DM->MT_kurzus},
                                                               {&MT_kurzusoktato_temp, &DM->MT_kurzusoktato},
                                                               {&teacherLinks_, &DM->MT_kurzusoktato}};
    // Views follow their stores' changes while open; opening one again would only rebuild its
    // indexes over the whole store.
    if (std::all_of(std::begin(views), std::end(views),
                    [](const auto &view) { return view.first->Active() && view.first->AttachedTo() == view.second; }))
        return;
    // The details close before their master.
    for (auto view = std::rbegin(views); view != std::rend(views); ++view)
        view->first->Close();
    for (const auto &[view, store] : views)
        view->SetAttachedTo(store);
    for (TztrMemTable *detail : {&MT_kurzus_temp, &MT_kurzusoktato_temp}) {
        detail->SetMasterSource(&DS_alkalom_temp);
        detail->SetMasterFields("kurzus_id");
        detail->SetDetailFields("kurzus_id");
    }
    for (const auto &view : views)
        view.first->Open();
}

std::string TOktatofog::courseName()
{
    std::string name = textOf(MT_kurzus_temp, "megnevezes");
    if (name.empty())
        name = lookUp(DM->MT_targy, "targy_id", intOf(MT_kurzus_temp, "targy_id"), "targy_nev");
    if (name.empty() && DM->MT_kurzusminta.Locate("kurzusminta_id", intOf(MT_kurzus_temp, "kurzusminta_id"), {}))
        name = lookUp(DM->MT_targy, "targy_id", intOf(DM->MT_kurzusminta, "targy_id"), "targy_nev");
    return name;
}

std::string TOktatofog::roomText()
{
    const int teremId = intOf(MT_alkalom_temp, "terem_id");
    if (teremId >= 0 && DM->MT_terem.Locate("terem_id", teremId, {}))
        return textOf(DM->MT_terem, "terem_hely") + textOf(DM->MT_terem, "terem_kod");
    return "Nincs terem";
}

std::set<int> TOktatofog::coursesTaught()
{
    dlg::applyFilter(teacherLinks_, "oktato_id=" + std::to_string(OktatoId));
    std::set<int> courses;
    for (teacherLinks_.First(); !teacherLinks_.Eof(); teacherLinks_.Next())
        courses.insert(intOf(teacherLinks_, "kurzus_id"));
    teacherLinks_.SetFiltered(false);
    return courses;
}

std::vector<int> TOktatofog::occasionsOf(const std::set<int> &courses)
{
    // Each course's filter reaches its occasions through the kurzus_id index, so the cost
    // follows the teacher's occasions rather than all of them.
    std::vector<int> positions;
    for (const int kurzusId : courses) {
        dlg::applyFilter(MT_alkalom_temp, "kurzus_id=" + std::to_string(kurzusId));
        for (MT_alkalom_temp.First(); !MT_alkalom_temp.Eof(); MT_alkalom_temp.Next())
            positions.push_back(MT_alkalom_temp.RecNo());
    }
    MT_alkalom_temp.SetFiltered(false);
    std::sort(positions.begin(), positions.end());
    return positions;
}

void TOktatofog::frissites()
{
    TCalendarItems &items = VL->Items();
    items.Clear();
    MT_kurzusoktato_temp.SetFilter("oktato_id=" + std::to_string(OktatoId));
    MT_kurzusoktato_temp.SetFiltered(true);
    const std::set<int> taught = coursesTaught();
    // One layout for the lot instead of one per item. The course and teacher links follow only
    // the occasions of the teacher's courses, not every occasion passed on the way.
    items.BeginUpdate();
    MT_alkalom_temp.DisableControls();
    const auto done = qScopeGuard([this, &items] {
        MT_alkalom_temp.EnableControls();
        items.EndUpdate();
    });
    // The lookups move these tables item by item; their grids show only where they end.
    const ControlsDisabled roomsStill(DM->MT_terem);
    const ControlsDisabled subjectsStill(DM->MT_targy);
    const ControlsDisabled templatesStill(DM->MT_kurzusminta);
    int added = 0;
    // The teacher's occasions in the order a walk over every occasion meets them.
    for (const int position : occasionsOf(taught)) {
        if (added >= MaxItems)
            break;
        MT_alkalom_temp.SetRecNo(position);
        MT_alkalom_temp.EnableControls();
        const auto stillAgain = qScopeGuard([this] { MT_alkalom_temp.DisableControls(); });
        if (MT_kurzusoktato_temp.IsEmpty() || MT_kurzus_temp.IsEmpty())
            continue;
        auto *item = items.Add<TSajat>();
        item->AlkalomID = intOf(MT_alkalom_temp, "alkalom_id");
        item->KurzusID = intOf(MT_alkalom_temp, "kurzus_id");
        const TDateTime start = MT_alkalom_temp.FieldByName("kezd_ido")->AsDateTime();
        item->SetStart(start);
        item->SetLength(MinuteOfDay(MT_alkalom_temp.FieldByName("veg_ido")->AsDateTime()) - MinuteOfDay(start));
        item->SetTexts({.Kod = guiText(textOf(MT_kurzus_temp, "kurzus_kod_osszetett")),
                        .Nev = guiText(courseName()),
                        .Oktatok = QString(),
                        .Kiiras = guiText(roomText()),
                        .Hetek = guiText(textOf(MT_alkalom_temp, "hetek")),
                        .Gyakorisag = intOf(MT_alkalom_temp, "gyakorisag")});
        ++added;
    }
}

void TOktatofog::Igazitas()
{
    TTeremfog::Igazitas(*VL);
}

void TOktatofog::Nap7Click(QCheckBox *sender)
{
    const auto day = TveltoCalendarDay(std::find(CBNap.begin(), CBNap.end(), sender) - CBNap.begin());
    TveltoCalendarDays days = VL->Days();
    if (sender->isChecked())
        days.include(day);
    else
        days.exclude(day);
    // The calendar shows at least one day: the last one cannot be taken away.
    if (days.empty())
        sender->setChecked(true);
    else
        VL->SetDays(days);
    Igazitas();
}

void TOktatofog::Button1Click()
{
    close();
}
