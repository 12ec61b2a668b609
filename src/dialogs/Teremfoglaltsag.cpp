#include "dialogs/Teremfoglaltsag.h"

#include "sajat/SajatVCI.h"
#include "calendar/CalendarFitting.h"
#include "calendar/veltoCalendar.h"
#include "dialogs/dialogsCommon.h"
#include "platform/FormatSettings.h"
#include "platform/widgets/DBCGrids.h"
#include "platform/widgets/DBCtrls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <optional>

TTeremfog *Teremfog = nullptr;

using dlg::intOf;
using dlg::textOf;

namespace {

const char *const FrequencyNames[] = {"Minden héten", "Páratlan héten", "Páros héten", "Minden 3. héten",
                                      "Minden 4. héten"};

// By the calendar day of week 1: 1 and 8 are Sundays.
const char *const DayNames[] = {"Vasárnap", "Hétfő", "Kedd", "Szerda", "Csütörtök", "Péntek", "Szombat", "Vasárnap"};

} // namespace

TTeremfog::TTeremfog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Teremfog"));
    setWindowTitle(QStringLiteral("Teremfoglaltság"));

    setUpTables();

    Panel2 = new QWidget(this);
    VL = new TveltoCalendar(Panel2);
    auto *calendarLayout = new QVBoxLayout(Panel2);
    calendarLayout->setContentsMargins(0, 0, 0, 0);
    calendarLayout->addWidget(VL);
    setUpCalendar();

    Panel1 = new QWidget(this);
    Panel1->setFixedHeight(224);
    LV = new QTreeWidget(Panel1);
    LV->setColumnCount(2);
    LV->setHeaderLabels({QStringLiteral("Terem kód, telephely")});
    LV->setColumnWidth(0, 300);
    // The room's id rides along unseen.
    LV->setColumnHidden(1, true);
    LV->setRootIsDecorated(false);
    LV->setSelectionBehavior(QAbstractItemView::SelectRows);
    LV->setMinimumWidth(300);
    Button1 = new QPushButton(QStringLiteral("Kilépés"), Panel1);
    auto *buttonPanel = new QVBoxLayout;
    buttonPanel->addWidget(Button1);
    buttonPanel->addStretch();
    auto *bottom = new QHBoxLayout(Panel1);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(LV);
    // One above the other: side by side they would not leave the window its designed width.
    auto *panes = new QVBoxLayout;
    panes->setContentsMargins(0, 0, 0, 0);
    panes->addWidget(detailPane(DBCtrlGrid1, QStringLiteral("Aktuális óra :")));
    panes->addWidget(detailPane(DBCtrlGrid2, QStringLiteral("Kiválasztott óra:")));
    bottom->addLayout(panes, 1);
    bottom->addLayout(buttonPanel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel2, 1);
    layout->addWidget(Panel1);
    // Narrower, the calendar's day columns would not take their texts, nor the panes theirs.
    setMinimumWidth(std::max(780, layout->totalMinimumSize().width()));
    resize(std::max(809, minimumWidth()), 579);

    connect(LV, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem *> selected = LV->selectedItems();
        if (!selected.isEmpty())
            LVSelectItem(selected.front(), true);
    });
    connect(Button1, &QPushButton::clicked, this, &TTeremfog::Button1Click);
    VL->OnDetails = [this](TveltoCalendar &calendar, TCustomCalendarItem *item) { VLDetails(calendar, item); };
    VL->OnClick = [this](TveltoCalendar &calendar, TCustomCalendarItem *item) { VLClick(calendar, item); };
    keepFitted(*VL, [this] { fitCalendar(); });

    FormCreate();
}

void TTeremfog::setUpTables()
{
    MT_terem_temp.SetName("MT_terem_temp");
    MT_alkalom_temp.SetName("MT_alkalom_temp");
    // A room's occasions are found through this index, not by a scan of every occasion.
    MT_alkalom_temp.IndexDefs().Add("terem_id", "terem_id", {});
    MT_alkalom_temp.SetAttachedTo(&DM->MT_alkalom);
    MT_kurzus_temp.SetName("MT_kurzus_temp");
    // The course of each occasion is found through this index, not by a scan.
    MT_kurzus_temp.IndexDefs().Add("Index1", "kurzus_id", {});
    MT_kurzus_temp.SetAttachedTo(&DM->MT_kurzus);
    MT_kurzusoktato_temp.SetName("MT_kurzusoktato_temp");
    // Each occasion's teachers are found through this index, not by a scan of every link.
    MT_kurzusoktato_temp.IndexDefs().Add("Index1", "kurzus_id", {});
    MT_kurzusoktato_temp.SetAttachedTo(&DM->MT_kurzusoktato);
    MT_kurzusorarend_temp.SetName("MT_kurzusorarend_temp");
    MT_kurzusorarend_temp.SetAttachedTo(&DM->MT_kurzusorarend);

    MT_alkalom_temp2.SetName("MT_alkalom_temp2");
    addField(MT_alkalom_temp2, "alkalom_id", ftInteger);
    addField(MT_alkalom_temp2, "terem_id", ftInteger);
    addField(MT_alkalom_temp2, "kezd_ido", ftDateTime).OnGetText = [this](TField &f, std::string &t, bool d) {
        gettimestr(f, t, d);
    };
    addField(MT_alkalom_temp2, "veg_ido", ftDateTime).OnGetText = [this](TField &f, std::string &t, bool d) {
        gettimestr(f, t, d);
    };
    addField(MT_alkalom_temp2, "gyakorisag", ftInteger).OnGetText = [this](TField &f, std::string &t, bool d) {
        gyakorisagGetText(f, t, d);
    };
    addField(MT_alkalom_temp2, "hetek", ftString, 50);
    addField(MT_alkalom_temp2, "nap", ftString, 20, fkCalculated).OnGetText =
        [this](TField &f, std::string &t, bool d) { MT_alkalom_tempnapGetText(f, t, d); };

    // The timetables with a work column marking those of one course.
    MT_orarend_temp.SetName("MT_orarend_temp");
    addField(MT_orarend_temp, "orarend_id", ftInteger);
    addField(MT_orarend_temp, "megnevezes", ftString, 50);
    addField(MT_orarend_temp, "megjegyzes", ftString, 100);
    addField(MT_orarend_temp, "kell", ftInteger);
}

void TTeremfog::setUpCalendar()
{
    VL->SetCaption(QStringLiteral("Teremórarend"));
    VL->SetDays({vlMonday, vlTuesday, vlWednesday, vlThursday, vlFriday});
    VL->SetScale(90);
    VL->SetDefaultColWidth(130);
    VL->SetDefaultRowHeight(20);
    VL->SetHetek(1);
    VL->SetReadOnly(true);
    VL->SetBGColor(0x40C0C0);
    VL->SetColor(0x80FFFF);
    VL->SetSelColor(0x800000);
    VL->SetVonalzoBal(5);
    VL->SetVonalzoJobb(5);

    PM_nezet = new QMenu(this);
    const QString days[] = {QStringLiteral("Hétfő"),  QStringLiteral("Kedd"),   QStringLiteral("Szerda"),
                            QStringLiteral("Csütörtök"), QStringLiteral("Péntek"), QStringLiteral("Szombat"),
                            QStringLiteral("Vasárnap")};
    for (int day = 0; day < 7; ++day) {
        Nap[day] = PM_nezet->addAction(days[day]);
        Nap[day]->setObjectName(QStringLiteral("Nap%1").arg(day + 1));
        Nap[day]->setCheckable(true);
        Nap[day]->setChecked(day < 5);
    }
    Igazts1 = PM_nezet->addAction(QStringLiteral("Igazítás"));
    for (QAction *action : PM_nezet->actions())
        connect(action, &QAction::triggered, this, [this, action] { Nap7Click(action); });
    PM_nezet->addSeparator();
    Csakrarend1 = PM_nezet->addAction(QStringLiteral("Csak órarend"));
    Minden1 = PM_nezet->addAction(QStringLiteral("Minden"));
    connect(Csakrarend1, &QAction::triggered, this, &TTeremfog::Csakrarend1Click);
    connect(Minden1, &QAction::triggered, this, &TTeremfog::Minden1Click);
    VL->SetPopupMenu(PM_nezet);

    PM_elem = new QMenu(this);
    rarendben1 = PM_elem->addAction(QStringLiteral("Órarendben"));
    MI_Osszevonas = PM_elem->addAction(QStringLiteral("Összevonás"));
    MI_Osszevonas->setCheckable(true);
    connect(rarendben1, &QAction::triggered, this, &TTeremfog::rarendben1Click);
    connect(MI_Osszevonas, &QAction::triggered, this, &TTeremfog::MI_OsszevonasClick);
    VL->SetItemPopupMenu(PM_elem);
}

QWidget *TTeremfog::detailPane(TDBCtrlGrid *&grid, const QString &title)
{
    auto *pane = new QGroupBox(title, Panel1);
    grid = new TDBCtrlGrid(pane);
    grid->SetDataSource(&DS_alkalom_temp2);
    QWidget *panel = grid->Panel();
    auto text = [panel, this](const char *field) {
        auto *control = new TDBText(panel);
        control->SetDataSource(&DS_alkalom_temp2);
        control->SetDataField(field);
        return control;
    };
    auto *dash = new QLabel(QStringLiteral("-"), panel);
    QFont large = dash->font();
    large.setPointSize(large.pointSize() * 2);
    large.setBold(true);
    dash->setFont(large);
    // Only this copy of the occasion takes what is typed here.
    auto *end = new TDBEdit(panel);
    end->SetDataSource(&DS_alkalom_temp2);
    end->SetDataField("veg_ido");
    // Room for the widest text each field takes, so that no occasion shows cut.
    const auto roomFor = [](QWidget *control, const QString &widest, int extra = 0) {
        control->setMinimumWidth(control->fontMetrics().horizontalAdvance(widest) + extra);
        return control;
    };
    const QString time = QStringLiteral("00:00");
    auto *fields = new QGridLayout(panel);
    fields->addWidget(new QLabel(QStringLiteral("Időpont:"), panel), 0, 0);
    fields->addWidget(roomFor(text("nap"), QStringLiteral("Csütörtök")), 0, 1);
    fields->addWidget(roomFor(text("kezd_ido"), time), 0, 2);
    fields->addWidget(dash, 0, 3);
    fields->addWidget(roomFor(end, time, end->minimumSizeHint().width()), 0, 4);
    fields->addWidget(new QLabel(QStringLiteral("Gyakoriság:"), panel), 1, 0);
    fields->addWidget(roomFor(text("gyakorisag"), QStringLiteral("Egyedi beosztás")), 1, 1, 1, 4);
    const QSize needed = panel->minimumSizeHint();
    grid->SetPanelWidth(std::max(grid->PanelWidth(), needed.width()));
    grid->SetPanelHeight(std::max(grid->PanelHeight(), needed.height()));
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(grid);
    return pane;
}

void TTeremfog::FormCreate()
{
    DM->BeosztasDupla(*VL);
    MT_alkalom_temp2.Open();
    MT_alkalom_temp.Open();
    MT_terem_temp.SetAttachedTo(&DM->MT_terem);
    MT_terem_temp.Open();
    for (MT_terem_temp.First(); !MT_terem_temp.Eof(); MT_terem_temp.Next()) {
        auto *row = new CompareTextRow(LV);
        row->setText(0, guiText(textOf(MT_terem_temp, "terem_hely") + "-" + textOf(MT_terem_temp, "terem_kod") +
                                " (" + textOf(MT_terem_temp, "terem_telephely") + "/" +
                                textOf(MT_terem_temp, "terem_kapacitas")) +
                            QStringLiteral(" fő)"));
        row->setText(1, QString::number(intOf(MT_terem_temp, "terem_id")));
    }
    LV->sortItems(0, Qt::AscendingOrder);
    MT_kurzus_temp.Open();
    fitCalendar();
}

void TTeremfog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centerOnScreen(*this);
    FormShow();
}

void TTeremfog::FormShow()
{
    // The day menu shows the days the caller gave the calendar, so that a click changes the day
    // it names.
    for (int day = 0; day < 7; ++day)
        Nap[day]->setChecked(VL->Days().contains(TveltoCalendarDay(day)));
    fitCalendar();
}

void TTeremfog::Igazitas(TveltoCalendar &calendar)
{
    FitCalendarCells(calendar);
}

void TTeremfog::fitCalendar()
{
    Igazitas(*VL);
}

std::string TTeremfog::courseTitle()
{
    std::string title = textOf(MT_kurzus_temp, "megnevezes");
    if (title.empty())
        title = lookUp(DM->MT_targy, "targy_id", intOf(MT_kurzus_temp, "targy_id"), "targy_nev");
    if (title.empty() &&
        DM->MT_kurzusminta.Locate("kurzusminta_id", Variant(intOf(MT_kurzus_temp, "kurzusminta_id")), {}))
        title = lookUp(DM->MT_targy, "targy_id", intOf(DM->MT_kurzusminta, "targy_id"), "targy_nev");
    return title;
}

void TTeremfog::LVSelectItem(QTreeWidgetItem *item, bool selected)
{
    if (!selected)
        return;
    TCalendarItems &items = VL->Items();
    items.Clear();
    const int roomId = item->text(1).toInt();
    MT_kurzus_temp.SetIndexFieldNames("kurzus_id");
    // Left open from one room to the next: opening rebuilds its index over every teacher link.
    MT_kurzusoktato_temp.Open();
    items.BeginUpdate();
    // The lookups move these tables item by item; their grids show only where they end.
    const ControlsDisabled roomsStill(DM->MT_terem);
    const ControlsDisabled subjectsStill(DM->MT_targy);
    const ControlsDisabled templatesStill(DM->MT_kurzusminta);
    const ControlsDisabled teachersStill(DM->MT_oktato);
    // Every item names the same room: it is looked up once, when the first item needs it.
    std::optional<QString> room;
    // In the table's order still, but only the room's occasions are visited.
    dlg::applyFilter(MT_alkalom_temp, "terem_id=" + std::to_string(roomId));
    const auto unfiltered = qScopeGuard([this] { MT_alkalom_temp.SetFiltered(false); });
    for (MT_alkalom_temp.First(); !MT_alkalom_temp.Eof(); MT_alkalom_temp.Next()) {
        const int kurzusId = intOf(MT_alkalom_temp, "kurzus_id");
        if (!MT_kurzus_temp.Locate("kurzus_id", Variant(kurzusId), {}))
            continue;
        if (!room) {
            room = QStringLiteral("Nincs terem");
            if (roomId >= 0 && DM->MT_terem.Locate("terem_id", Variant(roomId), {}))
                room = guiText(textOf(DM->MT_terem, "terem_hely") + textOf(DM->MT_terem, "terem_kod"));
        }

        auto *occasion = items.Add<TSajat>();
        occasion->AlkalomID = intOf(MT_alkalom_temp, "alkalom_id");
        occasion->KurzusID = kurzusId;
        const TDateTime start = MT_alkalom_temp.FieldByName("kezd_ido")->AsDateTime();
        occasion->SetStart(start);
        occasion->SetLength(MinuteOfDay(MT_alkalom_temp.FieldByName("veg_ido")->AsDateTime()) - MinuteOfDay(start));
        const QString title = guiText(courseTitle());
        MT_kurzusoktato_temp.SetFilter("kurzus_id=" + std::to_string(kurzusId));
        MT_kurzusoktato_temp.SetFiltered(true);
        occasion->SetTexts({.Kod = guiText(textOf(MT_kurzus_temp, "kurzus_kod_osszetett")),
                            .Nev = title,
                            .Oktatok = firstTeachers(MT_kurzusoktato_temp, DM->MT_oktato),
                            .Kiiras = *room,
                            .Hetek = guiText(textOf(MT_alkalom_temp, "hetek")),
                            .Gyakorisag = intOf(MT_alkalom_temp, "gyakorisag")});
    }
    items.EndUpdate();
}

void TTeremfog::VLDetails(TveltoCalendar &, TCustomCalendarItem *item)
{
    MT_alkalom_temp2.EmptyTable();
    auto *occasion = dynamic_cast<TSajat *>(item);
    if (occasion != nullptr && MT_alkalom_temp.Locate("alkalom_id", Variant(occasion->AlkalomID), {}))
        MT_alkalom_temp2.CopyRecords(MT_alkalom_temp, MT_alkalom_temp2, false, false, 1);
}

void TTeremfog::VLClick(TveltoCalendar &calendar, TCustomCalendarItem *item)
{
    if (dynamic_cast<TSajat *>(item) == nullptr)
        return;
    // A read-only calendar does not select on its own: the click does what entering the box does.
    calendar.SetSelectedItem(item);
    if (item->Obj() != nullptr)
        item->Obj()->update();
    VLDetails(calendar, item);
}

void TTeremfog::rarendben1Click()
{
    auto *selected = dynamic_cast<TSajat *>(VL->SelectedItem());
    const int kurzusId = selected != nullptr ? selected->KurzusID : -1;
    MT_orarend_temp.Close();
    MT_orarend_temp.Open();
    MT_orarend_temp.LoadFromDataSet(DM->MT_orarend, {});
    MT_kurzusorarend_temp.Close();
    MT_kurzusorarend_temp.Open();
    for (MT_orarend_temp.First(); !MT_orarend_temp.Eof(); MT_orarend_temp.Next()) {
        MT_orarend_temp.Edit();
        MT_orarend_temp.FieldByName("kell")->SetAsInteger(0);
        MT_orarend_temp.Post();
    }
    for (MT_kurzusorarend_temp.First(); !MT_kurzusorarend_temp.Eof(); MT_kurzusorarend_temp.Next()) {
        if (intOf(MT_kurzusorarend_temp, "kurzus_id") != kurzusId ||
            !MT_orarend_temp.Locate("orarend_id", Variant(intOf(MT_kurzusorarend_temp, "orarend_id")), {}))
            continue;
        MT_orarend_temp.Edit();
        MT_orarend_temp.FieldByName("kell")->SetAsInteger(-1);
        MT_orarend_temp.Post();
    }
    QString names;
    for (MT_orarend_temp.First(); !MT_orarend_temp.Eof(); MT_orarend_temp.Next())
        if (intOf(MT_orarend_temp, "kell") < 0)
            names += QStringLiteral("\r\n") + guiText(textOf(MT_orarend_temp, "megnevezes"));
    if (names.isEmpty())
        ShowMessage(this, QStringLiteral("Az alkalom egyik órarendben sem szerepel!"));
    else
        ShowMessage(this, QStringLiteral("Az alkalom a következő órarendekben szerepel:\r\n") + names);
}

void TTeremfog::MI_OsszevonasClick()
{
    TCustomCalendarItem *selected = VL->SelectedItem();
    if (selected == nullptr) {
        // Without an item the mark stays as it was.
        MI_Osszevonas->setChecked(!MI_Osszevonas->isChecked());
        return;
    }
    selected->SetSelect(MI_Osszevonas->isChecked());
}

void TTeremfog::Nap7Click(QAction *action)
{
    for (int day = 0; day < 7; ++day) {
        if (Nap[day] != action)
            continue;
        TveltoCalendarDays days = VL->Days();
        if (action->isChecked())
            days.include(TveltoCalendarDay(day));
        else
            days.exclude(TveltoCalendarDay(day));
        try {
            VL->SetDays(days);
        } catch (const Exception &error) {
            // The calendar keeps its last day; so does the menu.
            action->setChecked(true);
            ShowMessage(this, QString::fromStdString(error.what()));
        }
    }
    fitCalendar();
}

void TTeremfog::Csakrarend1Click()
{
    Panel1->hide();
    layout()->activate();
    fitCalendar();
}

void TTeremfog::Minden1Click()
{
    Panel1->show();
    layout()->activate();
    fitCalendar();
}

void TTeremfog::Button1Click()
{
    close();
}

void TTeremfog::MT_alkalom_tempnapGetText(TField &sender, std::string &text, bool)
{
    const TDataSet &table = *sender.DataSet();
    const double day = std::trunc(double(table.FieldByName("kezd_ido")->AsDateTime()));
    if (day >= 1 && day <= 8)
        text = utf8ToCp1250(DayNames[int(day) - 1]);
    else
        text = table.IsEmpty() ? "" : "Hiba!";
}

void TTeremfog::gettimestr(TField &sender, std::string &text, bool)
{
    if (sender.DataSet()->IsEmpty()) {
        text.clear();
        return;
    }
    text = TimeToStr(sender.AsDateTime());
    if (text.size() < 8)
        text.insert(0, "0");
    text.resize(std::min<std::size_t>(text.size(), 5));
}

void TTeremfog::gyakorisagGetText(TField &sender, std::string &text, bool)
{
    if (sender.DataSet()->IsEmpty()) {
        text.assign(19, ' ');
        return;
    }
    const int code = sender.AsInteger();
    text = utf8ToCp1250(code >= 0 && code < 5 ? FrequencyNames[code] : "Egyedi beosztás");
}
