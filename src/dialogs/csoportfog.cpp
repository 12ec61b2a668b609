#include "dialogs/csoportfog.h"

#include "sajat/SajatVCI.h"
#include "calendar/veltoCalendar.h"
#include "dialogs/Teremfoglaltsag.h"
#include "dialogs/dialogsCommon.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

Tcsoportfoglalasok *csoportfoglalasok = nullptr;

using dlg::intOf;
using dlg::textOf;

namespace {

// A course shows no more of its occasions than this, those passed over included.
constexpr int MaxOccasionsPerCourse = 20;

enum ListColumn { KodColumn, CimColumn, LetszamColumn, MegjegyzesColumn, SzervezoColumn, SzervezoIdColumn };

std::string idFilter(const char *field, int id)
{
    return std::string(field) + "=" + std::to_string(id);
}

} // namespace

Tcsoportfoglalasok::Tcsoportfoglalasok(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("csoportfoglalasok"));
    setWindowTitle(QStringLiteral("Csoport foglalásai"));
    resize(914, 718);

    setUpTables();
    VL = new TveltoCalendar(this);
    setUpCalendar();
    keepFitted(*VL, [this] { TTeremfog::Igazitas(*VL); });

    LV = new QTreeWidget(this);
    LV->setColumnCount(6);
    LV->setHeaderLabels({QStringLiteral("Órarendi kód"), QStringLiteral("Cím"), QStringLiteral("Létszám"),
                         QStringLiteral("Megjegyzés"), QStringLiteral("Szervező")});
    LV->setColumnWidth(KodColumn, 130);
    LV->setColumnWidth(CimColumn, 300);
    LV->setColumnWidth(MegjegyzesColumn, 200);
    // The organiser's course id and the mark after it are carried, not shown.
    LV->setColumnHidden(SzervezoColumn, true);
    LV->setColumnHidden(SzervezoIdColumn, true);
    LV->setRootIsDecorated(false);
    LV->setAllColumnsShowFocus(true);
    LV->setSelectionBehavior(QAbstractItemView::SelectRows);
    LV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LV->header()->setSectionsClickable(true);

    Kilep = new QPushButton(QStringLiteral("Kilépés"), this);
    Button1 = new QPushButton(QStringLiteral("Igazítás"), this);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(Kilep);
    buttons->addWidget(Button1);
    buttons->addStretch();
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(LV, 1);
    bottom->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(VL, 1);
    layout->addLayout(bottom);

    connect(LV->header(), &QHeaderView::sectionClicked, this, &Tcsoportfoglalasok::LVColumnClick);
    connect(Kilep, &QPushButton::clicked, this, &Tcsoportfoglalasok::KilepClick);
    connect(Button1, &QPushButton::clicked, this, &Tcsoportfoglalasok::Button1Click);

    FormCreate();
}

void Tcsoportfoglalasok::setUpTables()
{
    MT_kurzus_temp.SetName("MT_kurzus_temp");
    addField(MT_kurzus_temp, "kurzus_id", ftInteger);

    MT_alkalom_temp.SetName("MT_alkalom_temp");
    addField(MT_alkalom_temp, "alkalom_id", ftAutoInc);
    addField(MT_alkalom_temp, "kurzus_id", ftInteger);
    addField(MT_alkalom_temp, "terem_id", ftInteger);
    addField(MT_alkalom_temp, "kezd_ido", ftDateTime);
    addField(MT_alkalom_temp, "veg_ido", ftDateTime);
    addField(MT_alkalom_temp, "gyakorisag", ftInteger);
    addField(MT_alkalom_temp, "hetek", ftString, 50);
    addField(MT_alkalom_temp, "kiiras", ftString, 20, fkCalculated).OnGetText =
        [this](TField &f, std::string &t, bool d) { MT_alkalom_tempkiirasGetText(f, t, d); };
    MT_alkalom_temp.IndexDefs().Add("Index1", "kurzus_id", {});
    MT_alkalom_temp.SetAttachedTo(&DM->MT_alkalom);
    MT_alkalom_temp.SetIndexFieldNames("kurzus_id");

    MT_kurzusoktato_temp2.SetName("MT_kurzusoktato_temp2");
    // Each occasion's teachers are found through this index, not by a scan of every link.
    MT_kurzusoktato_temp2.IndexDefs().Add("Index1", "kurzus_id", {});
    MT_kurzusoktato_temp2.SetAttachedTo(&DM->MT_kurzusoktato);
    MT_kurzustargy_temp.SetName("MT_kurzustargy_temp");
    MT_kurzustargy_temp.SetAttachedTo(&DM->MT_kurzustargy);
    MT_kurzustargy_temp2.SetName("MT_kurzustargy_temp2");
    MT_kurzustargy_temp2.SetAttachedTo(&DM->MT_kurzustargy);

    roomOccasions_.SetName("roomOccasions");
    listedCourse_.SetName("listedCourse");
    listedCourse_.IndexDefs().Add("kurzus_id", "kurzus_id", {});
}

void Tcsoportfoglalasok::openViews()
{
    // Open views follow their tables' changes; opened again they would rebuild their indexes.
    if (!roomOccasions_.Active() || roomOccasions_.AttachedTo() != &DM->MT_alkalom) {
        roomOccasions_.Close();
        roomOccasions_.SetAttachedTo(&DM->MT_alkalom);
        // The table's own orders too, so that the view can take whichever the table is in.
        roomOccasions_.IndexDefs().Assign(DM->MT_alkalom.IndexDefs());
        roomOccasions_.IndexDefs().Add("roomOccasions_terem_id", "terem_id", {});
        roomOccasions_.Open();
    }
    if (!listedCourse_.Active() || listedCourse_.AttachedTo() != &DM->MT_kurzus) {
        listedCourse_.Close();
        listedCourse_.SetAttachedTo(&DM->MT_kurzus);
        listedCourse_.Open();
    }
}

void Tcsoportfoglalasok::setUpCalendar()
{
    VL->SetDays(TveltoCalendarDays::all());
    VL->SetScale(60);
    VL->SetDefaultColWidth(120);
    VL->SetDefaultRowHeight(20);
    VL->SetHetek(1);
    VL->SetBGColor(0x40C0C0);
    VL->SetColor(0x80FFFF);
    VL->SetSelColor(0x800000);
    VL->SetVonalzoBal(5);
    VL->SetVonalzoJobb(5);
}

void Tcsoportfoglalasok::FormCreate()
{
    FoglalasMod = TantargyFoglalasai;
    DM->BeosztasDupla(*VL);
    TTeremfog::Igazitas(*VL);
    sortColumn_ = 0;
}

void Tcsoportfoglalasok::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tcsoportfoglalasok::FormShow()
{
    DM->MT_terem_alkalomhoz.Open();
    LV->clear();
    VL->Items().Clear();
    int teremId = -1;
    openViews();
    const int kurzusId = intOf(DM->MT_kurzus, "kurzus_id");
    MT_alkalom_temp.SetMasterSource(&DM->DS_kurzus);
    MT_alkalom_temp.SetMasterFields("kurzus_id");
    MT_alkalom_temp.Open();
    MT_kurzus_temp.Close();
    MT_kurzus_temp.Open();
    switch (FoglalasMod) {
    case TantargyFoglalasai:
        setWindowTitle(QStringLiteral("Alaértelmezett Tantárgy foglalásai"));
        collectSubjectCourses();
        break;
    case KapcsolodoTargyakFoglalasai:
        setWindowTitle(QStringLiteral("Kapcsolódó Tantárgy foglalásai"));
        MT_kurzustargy_temp.SetFilter(idFilter("kurzus_id", kurzusId));
        MT_kurzustargy_temp.SetFiltered(true);
        collectRelatedCourses();
        break;
    case TeremFoglalasai:
        setWindowTitle(QStringLiteral("Terem foglalásai"));
        teremId = intOf(DM->MT_terem, "terem_id");
        collectRoomCourses(teremId);
        break;
    default:
        break;
    }
    listCourses(teremId);
    TTeremfog::Igazitas(*VL);
    LV->sortItems(sortColumn_, Qt::AscendingOrder);
}

void Tcsoportfoglalasok::addCourseId(int kurzusId)
{
    if (MT_kurzus_temp.Locate("kurzus_id", Variant(kurzusId), {}))
        return;
    MT_kurzus_temp.Append();
    MT_kurzus_temp.FieldByName("kurzus_id")->SetAsInteger(kurzusId);
    MT_kurzus_temp.Post();
}

void Tcsoportfoglalasok::collectSubjectCourses()
{
    const int targyId = intOf(DM->MT_kurzus, "targy_id");
    TztrMemTable &links = DM->MT_kurzustargy;
    links.SetFiltered(false);
    for (links.First(); !links.Eof(); links.Next())
        if (intOf(links, "targy_id") == targyId)
            addCourseId(intOf(links, "kurzus_id"));
}

void Tcsoportfoglalasok::collectRelatedCourses()
{
    MT_kurzustargy_temp.Open();
    for (MT_kurzustargy_temp.First(); !MT_kurzustargy_temp.Eof(); MT_kurzustargy_temp.Next()) {
        MT_kurzustargy_temp2.Close();
        MT_kurzustargy_temp2.SetFilter(idFilter("targy_id", intOf(MT_kurzustargy_temp, "targy_id")));
        MT_kurzustargy_temp2.SetFiltered(true);
        MT_kurzustargy_temp2.Open();
        for (MT_kurzustargy_temp2.First(); !MT_kurzustargy_temp2.Eof(); MT_kurzustargy_temp2.Next())
            addCourseId(intOf(MT_kurzustargy_temp2, "kurzus_id"));
    }
}

void Tcsoportfoglalasok::collectRoomCourses(int teremId)
{
    // The room's occasions in the table's order, as a walk over every occasion meets them; the
    // view's filter reaches them through its terem_id index, so the cost follows the rows found.
    TztrMemTable &occasions = DM->MT_alkalom;
    if (roomOccasions_.IndexFieldNames() != occasions.IndexFieldNames())
        roomOccasions_.SetIndexFieldNames(occasions.IndexFieldNames());
    dlg::applyFilter(roomOccasions_, idFilter("terem_id", teremId));
    for (roomOccasions_.First(); !roomOccasions_.Eof(); roomOccasions_.Next())
        addCourseId(intOf(roomOccasions_, "kurzus_id"));
    roomOccasions_.SetFiltered(false);
    // The table is left as such a walk leaves it: unfiltered, past its last row.
    occasions.SetFiltered(false);
    occasions.Last();
}

void Tcsoportfoglalasok::listCourses(int teremId)
{
    TztrMemTable &course = listedCourse_;
    TCalendarItems &items = VL->Items();
    items.BeginUpdate();
    // Left open from one showing to the next rather than opened per occasion or per showing:
    // opening rebuilds its index over every teacher link.
    MT_kurzusoktato_temp2.Open();
    MT_alkalom_temp.SetMasterSource(&listedCourseSource_);
    const auto done = qScopeGuard([this, &items] {
        // Back to following the data module's current course.
        MT_alkalom_temp.SetMasterSource(&DM->DS_kurzus);
        items.EndUpdate();
    });
    // The lookups move these tables item by item; the grids over them show only where they end.
    const ControlsDisabled subjectsStill(DM->MT_targy);
    const ControlsDisabled teachersStill(DM->MT_oktato);
    const ControlsDisabled roomsStill(DM->MT_terem_alkalomhoz);
    int lastListed = -1;
    for (MT_kurzus_temp.First(); !MT_kurzus_temp.Eof(); MT_kurzus_temp.Next()) {
        if (!course.Locate("kurzus_id", Variant(intOf(MT_kurzus_temp, "kurzus_id")), {}))
            continue;
        lastListed = intOf(course, "kurzus_id");
        std::string title = textOf(course, "megnevezes");
        if (FoglalasMod == TeremFoglalasai && title.empty())
            title = lookUp(DM->MT_targy, "targy_id", intOf(course, "targy_id"), "targy_nev");
        auto *row = new CompareTextRow(LV);
        row->setText(KodColumn, guiText(textOf(course, "kurzus_kod_osszetett")));
        row->setText(CimColumn, guiText(title));
        row->setText(LetszamColumn, guiText(textOf(course, "max_letszam")));
        row->setText(MegjegyzesColumn, guiText(textOf(course, "megjegyzes")));
        row->setText(SzervezoColumn, QString::number(intOf(course, "kurzus_id")));
        row->setText(SzervezoIdColumn, QStringLiteral("-1"));

        int walked = 0;
        for (MT_alkalom_temp.First(); !MT_alkalom_temp.Eof() && walked < MaxOccasionsPerCourse;
             MT_alkalom_temp.Next(), ++walked)
            if (FoglalasMod != TeremFoglalasai || intOf(MT_alkalom_temp, "terem_id") == teremId)
                KurzusAlkalmai();
    }
    // The walk visits the courses on a cursor of its own; the module's course table is left
    // where a walk on it would end, on the last course listed.
    if (lastListed >= 0)
        DM->MT_kurzus.Locate("kurzus_id", Variant(lastListed), {});
}

void Tcsoportfoglalasok::KurzusAlkalmai()
{
    const TztrMemTable &course = listedCourse_;
    auto *occasion = VL->Items().Add<TSajat>();
    occasion->AlkalomID = intOf(MT_alkalom_temp, "alkalom_id");
    occasion->KurzusID = intOf(MT_alkalom_temp, "kurzus_id");
    const TDateTime start = MT_alkalom_temp.FieldByName("kezd_ido")->AsDateTime();
    occasion->SetStart(start);
    occasion->SetLength(MinuteOfDay(MT_alkalom_temp.FieldByName("veg_ido")->AsDateTime()) - MinuteOfDay(start));
    const QString kiiras = guiText(MT_alkalom_temp.FieldByName("kiiras")->DisplayText());
    std::string title = textOf(course, "megnevezes");
    if (title.empty())
        title = lookUp(DM->MT_targy, "targy_id", intOf(course, "targy_id"), "targy_nev");

    const bool opened = !MT_kurzusoktato_temp2.Active();
    MT_kurzusoktato_temp2.Open();
    MT_kurzusoktato_temp2.SetFilter(idFilter("kurzus_id", occasion->KurzusID));
    MT_kurzusoktato_temp2.SetFiltered(true);
    const QString teachers = firstTeachers(MT_kurzusoktato_temp2, DM->MT_oktato);
    if (opened)
        MT_kurzusoktato_temp2.Close();
    occasion->SetTexts({.Kod = guiText(textOf(course, "kurzus_kod_osszetett")),
                        .Nev = guiText(title),
                        .Oktatok = teachers,
                        .Kiiras = kiiras,
                        .Hetek = guiText(textOf(MT_alkalom_temp, "hetek")),
                        .Gyakorisag = intOf(MT_alkalom_temp, "gyakorisag")});
}

void Tcsoportfoglalasok::MT_alkalom_tempkiirasGetText(TField &sender, std::string &text, bool)
{
    const int teremId = intOf(*sender.DataSet(), "terem_id");
    if (teremId < 0) {
        text = "Nincs terem";
        return;
    }
    TztrMemTable &rooms = DM->MT_terem_alkalomhoz;
    if (rooms.Locate("terem_id", Variant(teremId), {}))
        text = textOf(rooms, "terem_hely") + "-" + textOf(rooms, "terem_kod");
    else
        text = "Hiba-1204!";
}

void Tcsoportfoglalasok::LVColumnClick(int column)
{
    sortColumn_ = column;
    LV->sortItems(sortColumn_, Qt::AscendingOrder);
}

void Tcsoportfoglalasok::KilepClick()
{
    close();
}

void Tcsoportfoglalasok::Button1Click()
{
    TTeremfog::Igazitas(*VL);
}
