#include "dialogs/targykival.h"

#include "data/datam.h"
#include "dialogs/RadioGroup.h"
#include "dialogs/dialogTables.h"
#include "dialogs/dialogsCommon.h"
#include "dialogs/tantargyszerv.h"
#include "platform/widgets/DBGrids.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cctype>

using namespace dlg;

TTargyfelvet *Targyfelvet = nullptr;

namespace {

const QStringList FelveteltipusItems{QStringLiteral("Mindegyik"), QStringLiteral("Kötelező"),
                                     QStringLiteral("Kötelezően választható"),
                                     QStringLiteral("Szabadon választható"), QStringLiteral("Egyéb")};

const char *const SubjectFields[] = {"targy_id",  "targy_nev",    "targy_kod",        "targy_ea",
                                     "targy_gy",  "targy_la",     "targy_kredit",     "targy_teljesites",
                                     "tanszek_id", "szabad",      "evjarat"};

const char *const TemplateFields[] = {"kurzusminta_id", "kurzusminta_kod", "kurzusminta_tipus", "targy_id",
                                      "felev",          "atargykod",       "orarendiinfo"};

const std::string MissingSubject = utf8ToCp1250("Adathiba!!! Hiányzó tárgyi kapcsolat!");

struct GridColumn {
    const char *field;
    QString title;
};

TDBGrid *makeGrid(TDataSource &source, std::initializer_list<GridColumn> columns, QWidget *parent)
{
    auto *grid = new TDBGrid(parent);
    grid->SetDataSource(&source);
    for (const GridColumn &c : columns) {
        TColumn *column = grid->Columns().Add(c.field);
        if (!c.title.isEmpty())
            column->Title().SetCaption(c.title);
    }
    grid->OnTitleClick = [grid](TColumn &column) {
        if (auto *table = dynamic_cast<TztrMemTable *>(grid->DataSet()))
            table->SetIndexFieldNames(column.FieldName());
    };
    return grid;
}

std::string sequenceText(int number)
{
    return (number < 10 ? "0" : "") + std::to_string(number);
}

} // namespace

TTargyfelvet::TTargyfelvet(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Targyfelvet"));
    setWindowTitle(QStringLiteral("Tárgy kiválasztása"));
    setUpTables();
    setUpGrids();

    RG_tagozat = new TRadioGroup(QString(), {QStringLiteral("Mindegyik"), QStringLiteral("Nappali"),
                                             QStringLiteral("Levelező")}, this);
    RG_nyelv = new TRadioGroup(QString(), {QStringLiteral("Mindegyik"), QStringLiteral("Magyar"),
                                           QStringLiteral("Angol")}, this);
    RG_szint = new TRadioGroup(QStringLiteral("Szint"),
                               {QStringLiteral("Mindegyik"), QStringLiteral("felsőoktatási szakképzés"),
                                QStringLiteral("alapképzés (BA/BSc)"), QStringLiteral("mesterképzés (MA/MSc)"),
                                QStringLiteral("egységes, osztatlan képzés"), QStringLiteral("szakirányú továbbképzés"),
                                QStringLiteral("nemzetközi program képzése"), QStringLiteral("doktori képzés (PhD/DLA)"),
                                QStringLiteral("doktori képzés (PhD/DLA) (Nftv. 114 (2))")},
                               this, 2);
    // In one row under the subject grid, which so gets the page's whole width for its columns.
    RG_felveteltipus = new TRadioGroup(QString(), FelveteltipusItems, this, int(FelveteltipusItems.size()));
    RG_felveteltipuskurzus = new TRadioGroup(QString(), FelveteltipusItems, this);
    RG_felev = new TRadioGroup(QString(),
                               {QStringLiteral("Mindegyik"), QStringLiteral("Kereszt"), QStringLiteral("2021/22/2"),
                                QStringLiteral("2021/22/1"), QStringLiteral("2020/21/2"), QStringLiteral("2020/21/1"),
                                QStringLiteral("2019/20/2"), QStringLiteral("2019/20/1"), QStringLiteral("2018/19/2"),
                                QStringLiteral("2018/19/1"), QStringLiteral("2017/18/2"), QStringLiteral("2017/18/1")},
                               this, 2);
    RG_tipus = new TRadioGroup(QString(), {QStringLiteral("Mindegyik"), QStringLiteral("Előadás"),
                                           QStringLiteral("Gyakorlat"), QStringLiteral("Labor"),
                                           QStringLiteral("Gyak+Lab")}, this);
    for (TRadioGroup *group : {RG_tagozat, RG_nyelv, RG_szint, RG_tipus})
        group->SetItemIndex(0);
    for (TRadioGroup *group : {RG_felveteltipus, RG_felveteltipuskurzus, RG_felev})
        group->SetItemIndex(1);

    PageControl1 = new QTabWidget(this);
    TS_targy = new QWidget;
    auto *targyPage = new QVBoxLayout(TS_targy);
    targyPage->addWidget(DBG_targy, 1);
    targyPage->addWidget(RG_felveteltipus);
    TS_kurzus = new QWidget;
    auto *kurzusPage = new QHBoxLayout(TS_kurzus);
    auto *kurzusGrids = new QVBoxLayout;
    kurzusGrids->addWidget(DBG_targy2);
    kurzusGrids->addWidget(DBG_kurzusminta);
    kurzusGrids->addWidget(DBG_targy3);
    kurzusPage->addLayout(kurzusGrids, 1);
    auto *kurzusFilters = new QVBoxLayout;
    kurzusFilters->addWidget(RG_felveteltipuskurzus);
    kurzusFilters->addWidget(RG_tipus);
    kurzusPage->addLayout(kurzusFilters);
    kurzusPage->addWidget(RG_felev);
    PageControl1->addTab(TS_targy, QStringLiteral("Tantárgyak"));
    PageControl1->addTab(TS_kurzus, QStringLiteral("Kurzusok"));
    PageControl1->setCurrentWidget(TS_kurzus);

    Button1 = new QPushButton(QStringLiteral("Vissza"), this);
    B_kivalaszt = new QPushButton(QStringLiteral("Kiválaszt"), this);
    BEA = new QPushButton(QStringLiteral("Előadás létrehozása"), this);
    BGY = new QPushButton(QStringLiteral("Gyakorlat létrehozása"), this);
    BLA = new QPushButton(QStringLiteral("Labor létrehozása"), this);
    vagolap = new QLineEdit(this);

    auto *filters = new QHBoxLayout;
    filters->addWidget(RG_tagozat);
    filters->addWidget(RG_nyelv);
    filters->addWidget(RG_szint, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {Button1, B_kivalaszt, BEA, BGY, BLA})
        buttons->addWidget(button);
    buttons->addWidget(vagolap, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DBG_mintatanterv, 1);
    layout->addLayout(filters);
    layout->addWidget(PageControl1, 2);
    layout->addLayout(buttons);
    resize(1000, 720);

    for (TRadioGroup *group : {RG_tagozat, RG_nyelv, RG_szint})
        group->OnClick = [this](TRadioGroup &) { RGSzuroClick(); };
    for (TRadioGroup *group : {RG_felveteltipus, RG_felveteltipuskurzus})
        group->OnClick = [this](TRadioGroup &sender) { RG_felveteltipusClick(&sender); };
    for (TRadioGroup *group : {RG_felev, RG_tipus})
        group->OnClick = [this](TRadioGroup &sender) { RGSzuro2Click(&sender); };
    DBG_mintatanterv->OnCellClick = [this](TColumn &column) { DBG_mintatantervCellClick(column); };
    DBG_targy->OnDblClick = [this](TDBGrid &sender) { B_kivalasztClick(&sender); };
    for (QPushButton *button : {B_kivalaszt, BEA, BGY, BLA})
        connect(button, &QPushButton::clicked, this, [this, button] { B_kivalasztClick(button); });
    connect(Button1, &QPushButton::clicked, this, &TTargyfelvet::Button1Click);
}

void TTargyfelvet::setUpTables()
{
    MT_mintatanterv_temp.SetName("MT_mintatanterv_temp");
    MT_mintatanterv_temp.SetAttachedTo(&DM->MT_mintatanterv);
    MT_mintatantervtargy_temp.SetName("MT_mintatantervtargy_temp");
    MT_mintatantervtargy_temp.SetAttachedTo(&DM->MT_mintatantervtargy);
    MT_targy_osszes_temp.SetName("MT_targy_osszes_temp");
    MT_targy_osszes_temp.SetAttachedTo(&DM->MT_targy);
    MT_targy_osszes_temp.IndexDefs().Add("targy_id", "targy_id", {});
    MT_kurzusmintatargy_temp.SetName("MT_kurzusmintatargy_temp");
    MT_kurzusmintatargy_temp.SetAttachedTo(&DM->MT_kurzusmintatargy);
    MT_kurzusmintatargy3_temp.SetName("MT_kurzusmintatargy3_temp");
    MT_kurzusmintatargy3_temp.SetAttachedTo(&DM->MT_kurzusmintatargy);

    MT_targy_temp.SetName("MT_targy_temp");
    defineFields(MT_targy_temp, {{"targy_id", ftInteger},
                                 {"targy_nev", ftString, 100},
                                 {"targy_kod", ftString, 50},
                                 {"targy_ea", ftInteger},
                                 {"targy_gy", ftInteger},
                                 {"targy_la", ftInteger},
                                 {"targy_kredit", ftInteger},
                                 {"targy_teljesites", ftString, 50},
                                 {"tanszek_id", ftInteger},
                                 {"szabad", ftInteger},
                                 {"evjarat", ftInteger},
                                 {"felvetel_tipusa", ftString, 100}});
    MT_kurzusminta_temp.SetName("MT_kurzusminta_temp");
    defineFields(MT_kurzusminta_temp, {{"kurzusminta_id", ftInteger},
                                       {"kurzusminta_kod", ftString, 50},
                                       {"kurzusminta_nev", ftString, 100},
                                       {"kurzusminta_tipus", ftString, 2},
                                       {"targy_id", ftInteger},
                                       {"felev", ftString, 50},
                                       {"orarendiinfo", ftString, 100},
                                       {"atargykod", ftString, 20}});
    MT_kurzusmintatargy2_temp.SetName("MT_kurzusmintatargy2_temp");
    defineFields(MT_kurzusmintatargy2_temp, {{"targy_kod", ftString, 20}, {"targy_nev", ftString, 100}});

    // The template list follows the subject only while the subject list is not being refilled.
    MT_targy_temp.AfterScroll = [this](TDataSet &table) {
        if (!table.ControlsDisabled())
            TargyKurzusmintai(-1);
    };
    MT_kurzusminta_temp.AfterScroll = [this](TDataSet &table) {
        if (!table.ControlsDisabled())
            KurzusmintaTargyai(-1);
    };
}

void TTargyfelvet::setUpGrids()
{
    DBG_mintatanterv = makeGrid(DS_mintatanterv_temp,
                                {{"mintatanterv_kod", QStringLiteral("Mterv kódja")},
                                 {"mintatanterv_nev", QStringLiteral("Mterv neve")},
                                 {"tagozat", QStringLiteral("Tagozat")},
                                 {"tipus", {}},
                                 {"nyelv", QStringLiteral("Nyelv")}},
                                this);
    DBG_mintatanterv->SetReadOnly(true);
    DBG_targy = makeGrid(DS_targy_temp,
                         {{"szabad", {}},
                          {"targy_kod", QStringLiteral("Kód")},
                          {"targy_nev", QStringLiteral("Tantárgy neve")},
                          {"targy_ea", QStringLiteral("EA")},
                          {"targy_gy", QStringLiteral("GY")},
                          {"targy_la", QStringLiteral("LA")},
                          {"felvetel_tipusa", QStringLiteral("Felvétel tipusa")},
                          {"targy_teljesites", QStringLiteral("Teljesítés")},
                          {"targy_kredit", QStringLiteral("KR")},
                          {"evjarat", QStringLiteral("Évjárat")},
                          {"targy_id", {}}},
                         this);
    DBG_targy->SetReadOnly(true);
    DBG_targy2 = makeGrid(DS_targy_temp, {{"targy_kod", QStringLiteral("Kód")},
                                          {"targy_nev", QStringLiteral("Tantárgy neve")}},
                          this);
    DBG_targy2->SetReadOnly(true);
    DBG_kurzusminta = makeGrid(DS_kurzusminta_temp,
                               {{"felev", QStringLiteral("Félév")},
                                {"kurzusminta_kod", QStringLiteral("Kód")},
                                {"kurzusminta_tipus", QStringLiteral("Tipus")},
                                {"kurzusminta_nev", QStringLiteral("Megnevezés")},
                                {"orarendiinfo", QStringLiteral("Infó")},
                                {"atargykod", {}}},
                               this);
    DBG_kurzusminta->SetReadOnly(true);
    DBG_targy3 = makeGrid(DS_kurzusmintatargy2_temp, {{"targy_kod", QStringLiteral("Kód")},
                                                     {"targy_nev", QStringLiteral("Tantárgy neve")}},
                          this);
    DBG_targy3->SetReadOnly(true);
}

void TTargyfelvet::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TTargyfelvet::FormShow()
{
    if (ElsoMegjelenites) {
        for (TztrMemTable *table :
             {&MT_mintatanterv_temp, &MT_mintatantervtargy_temp, &MT_targy_temp, &MT_targy_osszes_temp})
            table->Open();
        MT_targy_osszes_temp.SetIndexFieldNames("targy_id");
        MT_kurzusminta_temp.Open();
        MT_kurzusmintatargy2_temp.Open();
        RGSzuroClick();
        RGSzuro2Click(RG_felev);
        RG_felveteltipusClick(nullptr);
        ElsoMegjelenites = false;
    }
    ForrasKurzusTipus = hasRow(DM->MT_kurzus) ? textOf(DM->MT_kurzus, "kurzus_tipus") : std::string();
}

void TTargyfelvet::RGSzuroClick()
{
    static const char *const Tagozat[] = {"", "tagozat='N'", "tagozat='L'"};
    static const char *const Nyelv[] = {"", "nyelv='magyar'", "nyelv='angol'"};
    // The levels as the 30-character field holds them.
    static const char *const Szint[] = {"",
                                        "tipus='felsőoktatási szakképzés'",
                                        "tipus='alapképzés (BA/BSc)'",
                                        "tipus='mesterképzés (MA/MSc)'",
                                        "tipus='egységes, osztatlan képzés'",
                                        "tipus='szakirányú továbbképzés'",
                                        "tipus='Nemzetközi program képzése'",
                                        "tipus='doktori képzés (PhD/DLA)'",
                                        "tipus='Doktori képzés (PhD/DLA) (Nftv'"};
    std::string text = "(szabad=1)";
    const auto part = [&text](const char *const *parts, int count, int index) {
        if (index > 0 && index < count)
            text += std::string(" and (") + parts[index] + ")";
    };
    part(Tagozat, 3, RG_tagozat->ItemIndex());
    part(Nyelv, 3, RG_nyelv->ItemIndex());
    part(Szint, 9, RG_szint->ItemIndex());
    text = utf8ToCp1250(text);
    MT_mintatanterv_temp.SetFiltered(false);
    vagolap->setText(guiText(text));
    MT_mintatanterv_temp.SetFilter(text);
    MT_mintatanterv_temp.SetFiltered(true);
}

void TTargyfelvet::RG_felveteltipusClick(QObject *sender)
{
    if (sender == RG_felveteltipuskurzus)
        RG_felveteltipus->SetItemIndex(RG_felveteltipuskurzus->ItemIndex());
    else if (dynamic_cast<TRadioGroup *>(sender))
        RG_felveteltipuskurzus->SetItemIndex(RG_felveteltipus->ItemIndex());
    static const char *const Parts[] = {"", "felvetel_tipusa='Kötelező'",
                                        "felvetel_tipusa='Kötelezően választható'",
                                        "felvetel_tipusa='Szabadon választható'", "felvetel_tipusa='Nincs megadva'"};
    std::string text = "(szabad=1)";
    const int index = RG_felveteltipus->ItemIndex();
    if (index > 0 && index < 5)
        text += std::string(" and (") + Parts[index] + ")";
    text = utf8ToCp1250(text);
    vagolap->setText(guiText(text));
    MT_targy_temp.SetFilter(text);
    MT_targy_temp.SetFiltered(true);
}

void TTargyfelvet::RGSzuro2Click(QObject *sender)
{
    if (!dynamic_cast<TRadioGroup *>(sender))
        return;
    static const char *const Tipus[] = {"", "kurzusminta_tipus='EA'", "kurzusminta_tipus='GY'",
                                        "kurzusminta_tipus='LA'",
                                        "(kurzusminta_tipus='GY' or kurzusminta_tipus='LA')"};
    std::string text;
    const auto add = [&text](const std::string &part) {
        text += (text.empty() ? "(" : " and (") + part + ")";
    };
    if (RG_felev->ItemIndex() > 0)
        add("felev='" + dataText(RG_felev->ItemText(RG_felev->ItemIndex())) + "'");
    const int tipus = RG_tipus->ItemIndex();
    if (tipus > 0 && tipus < 5)
        add(Tipus[tipus]);
    vagolap->setText(guiText(text));
    applyFilter(MT_kurzusminta_temp, text);
}

void TTargyfelvet::DBG_mintatantervCellClick(TColumn &)
{
    if (hasRow(MT_mintatanterv_temp))
        MintatantervTargyai(intOf(MT_mintatanterv_temp, "mintatanterv_id"));
}

void TTargyfelvet::MintatantervTargyai(int mintatantervId)
{
    DBG_targy2->setEnabled(false);
    {
        ControlsDisabled still(MT_targy_temp);
        if (mintatantervId < 0) {
            if (!hasRow(MT_mintatanterv_temp))
                return;
            mintatantervId = intOf(MT_mintatanterv_temp, "mintatanterv_id");
        }
        MT_targy_temp.Close();
        MT_targy_temp.Open();
        MT_targy_osszes_temp.SetIndexFieldNames("targy_id");
        applyFilter(MT_mintatantervtargy_temp, "mintatanterv_id=" + std::to_string(mintatantervId));
        const TField *felveteltipus = MT_mintatantervtargy_temp.FindField("targy_felveteltipus");
        for (MT_mintatantervtargy_temp.First(); !MT_mintatantervtargy_temp.Eof(); MT_mintatantervtargy_temp.Next()) {
            // A link to a subject that is gone would give a row of nothing.
            if (!MT_targy_osszes_temp.Locate("targy_id", intOf(MT_mintatantervtargy_temp, "targy_id"), {}))
                continue;
            MT_targy_temp.Append();
            copyFields(MT_targy_osszes_temp, MT_targy_temp, SubjectFields);
            MT_targy_temp.FieldByName("felvetel_tipusa")->SetAsString(felveteltipus ? felveteltipus->AsString() : "");
            MT_targy_temp.Post();
        }
        MT_targy_temp.First();
    }
    DBG_targy2->setEnabled(true);
    RG_felveteltipusClick(nullptr);
    TargyKurzusmintai(-1);
}

void TTargyfelvet::TargyKurzusmintai(int targyId)
{
    fillTemplates(targyId);
    KurzusmintaTargyai(-1);
}

void TTargyfelvet::fillTemplates(int targyId)
{
    ControlsDisabled still(MT_kurzusminta_temp);
    if (targyId < 0)
        targyId = hasRow(MT_targy_temp) ? intOf(MT_targy_temp, "targy_id") : -1;
    MT_kurzusminta_temp.Close();
    MT_kurzusminta_temp.Open();
    MT_kurzusmintatargy_temp.Open();
    applyFilter(MT_kurzusmintatargy_temp, "targy_id=" + std::to_string(targyId));
    TztrMemTable &templates = DM->MT_kurzusminta;
    for (MT_kurzusmintatargy_temp.First(); !MT_kurzusmintatargy_temp.Eof(); MT_kurzusmintatargy_temp.Next()) {
        if (!templates.Locate("kurzusminta_id", intOf(MT_kurzusmintatargy_temp, "kurzusminta_id"), {}))
            continue;
        const bool subjectFound = MT_targy_osszes_temp.Locate("targy_id", intOf(templates, "targy_id"), {});
        MT_kurzusminta_temp.Append();
        copyFields(templates, MT_kurzusminta_temp, TemplateFields);
        MT_kurzusminta_temp.FieldByName("kurzusminta_nev")
            ->SetAsString(subjectFound ? textOf(MT_targy_osszes_temp, "targy_nev") : MissingSubject);
        MT_kurzusminta_temp.Post();
    }
    MT_kurzusminta_temp.First();
}

void TTargyfelvet::KurzusmintaTargyai(int kurzusmintaId)
{
    DBG_targy3->setEnabled(false);
    {
        ControlsDisabled still(MT_kurzusmintatargy2_temp);
        if (kurzusmintaId < 0)
            kurzusmintaId = hasRow(MT_kurzusminta_temp) ? intOf(MT_kurzusminta_temp, "kurzusminta_id") : -1;
        MT_kurzusmintatargy2_temp.Close();
        MT_kurzusmintatargy2_temp.Open();
        MT_kurzusmintatargy3_temp.Open();
        applyFilter(MT_kurzusmintatargy3_temp, "kurzusminta_id=" + std::to_string(kurzusmintaId));
        for (MT_kurzusmintatargy3_temp.First(); !MT_kurzusmintatargy3_temp.Eof(); MT_kurzusmintatargy3_temp.Next()) {
            const bool found = MT_targy_osszes_temp.Locate("targy_id", intOf(MT_kurzusmintatargy3_temp, "targy_id"), {});
            MT_kurzusmintatargy2_temp.Append();
            MT_kurzusmintatargy2_temp.FieldByName("targy_kod")
                ->SetAsString(found ? textOf(MT_targy_osszes_temp, "targy_kod") : std::string());
            MT_kurzusmintatargy2_temp.FieldByName("targy_nev")
                ->SetAsString(found ? textOf(MT_targy_osszes_temp, "targy_nev") : MissingSubject);
            MT_kurzusmintatargy2_temp.Post();
        }
        MT_kurzusmintatargy2_temp.First();
    }
    DBG_targy3->setEnabled(true);
}

bool TTargyfelvet::HaromSzamjegy(const std::string &kod, int n)
{
    if (n < 1 || int(kod.size()) < n + 2)
        return false;
    for (int i = n - 1; i < n + 2; ++i)
        if (!std::isdigit(static_cast<unsigned char>(kod[std::size_t(i)])))
            return false;
    return true;
}

std::string TTargyfelvet::TargykodbolKurzuskod(const std::string &targyKod)
{
    if (HaromSzamjegy(targyKod, 4) && targyKod.size() >= 8 &&
        (targyKod.compare(6, 2, "MN") == 0 || targyKod.compare(6, 2, "AN") == 0))
        return targyKod.substr(0, 8);
    return targyKod;
}

std::string TTargyfelvet::KurzusmintabolKurzuskod(const std::string &kurzusmintaKod)
{
    return kurzusmintaKod.substr(0, kurzusmintaKod.find('-'));
}

bool TTargyfelvet::KurzusLetrehozas(const std::string &kod, const std::string &tipus, int orarendId, int targyId,
                                    int kurzusmintaId, int kurzusIdCsatolt)
{
    TztrMemTable &courses = DM->MT_kurzus;
    courses.SetIndexFieldNames("kurzus_kod;kurzus_tipus;kurzus_sorszam");
    // A filtered course table would hide taken numbers and hand them out twice.
    courses.SetFiltered(false);
    const bool lecture = tipus == "EA";
    int number = lecture ? 0 : 1;
    while (number < 100 && courses.Locate("kurzus_kod;kurzus_tipus;kurzus_sorszam",
                                          VarArrayOf({Variant(kod), Variant(tipus), Variant(sequenceText(number))}),
                                          {}))
        number += lecture ? 10 : 1;
    if (number >= 100) {
        ShowMessage(this, QStringLiteral("Hiba! Túl sok óra!!!"));
        return false;
    }
    const std::string sorszam = sequenceText(number);
    courses.Append();
    courses.FieldByName("kurzus_kod")->SetAsString(kod);
    courses.FieldByName("kurzus_tipus")->SetAsString(tipus);
    courses.FieldByName("kurzus_sorszam")->SetAsString(sorszam);
    courses.FieldByName("kurzus_kod_osszetett")->SetAsString(kod + "-" + tipus + "-" + sorszam);
    courses.FieldByName("targy_id")->SetAsInteger(targyId);
    courses.FieldByName("kurzusminta_id")->SetAsInteger(kurzusmintaId);
    courses.FieldByName("kurzus_id_csatolt")->SetAsInteger(kurzusIdCsatolt);
    courses.Post();
    const int kurzusId = intOf(courses, "kurzus_id");

    DM->MT_kurzusorarend.Append();
    DM->MT_kurzusorarend.FieldByName("kurzus_id")->SetAsInteger(kurzusId);
    DM->MT_kurzusorarend.FieldByName("orarend_id")->SetAsInteger(orarendId);
    DM->MT_kurzusorarend.Post();

    const auto linkSubject = [kurzusId](int subject) {
        TztrMemTable &links = DM->MT_kurzustargy;
        links.Append();
        links.FieldByName("kurzus_id")->SetAsInteger(kurzusId);
        links.FieldByName("targy_id")->SetAsInteger(subject);
        if (TField *maxletszam = links.FindField("maxletszam"))
            maxletszam->SetAsInteger(-1);
        links.Post();
    };
    if (kurzusmintaId < 0) {
        linkSubject(targyId);
        return true;
    }
    MT_kurzusmintatargy_temp.Open();
    applyFilter(MT_kurzusmintatargy_temp, "kurzusminta_id=" + std::to_string(kurzusmintaId));
    for (MT_kurzusmintatargy_temp.First(); !MT_kurzusmintatargy_temp.Eof(); MT_kurzusmintatargy_temp.Next())
        linkSubject(intOf(MT_kurzusmintatargy_temp, "targy_id"));
    return true;
}

bool TTargyfelvet::subjectChosen() const
{
    return PageControl1->currentWidget() == TS_targy && hasRow(MT_targy_temp);
}

bool TTargyfelvet::templateChosen() const
{
    return PageControl1->currentWidget() == TS_kurzus && hasRow(MT_kurzusminta_temp);
}

void TTargyfelvet::createCourses(const std::string &kod, int targyId, int kurzusmintaId, const int (&darab)[3])
{
    static const char *const Tipusok[] = {"EA", "GY", "LA"};
    for (int type = 0; type < 3; ++type)
        for (int i = 0; i < darab[type]; ++i)
            KurzusLetrehozas(kod, Tipusok[type], OrarendId, targyId, kurzusmintaId, -1);
}

void TTargyfelvet::created()
{
    OrarendId = 0;
    accept();
}

void TTargyfelvet::B_kivalasztClick(QObject *sender)
{
    if (OrarendId < 0) {
        // Decoded only once something is chosen, so a click with nothing chosen keeps copy mode.
        const int orarendId = -1 - OrarendId;
        if (subjectChosen())
            KurzusLetrehozas(TargykodbolKurzuskod(textOf(MT_targy_temp, "targy_kod")), ForrasKurzusTipus, orarendId,
                             intOf(MT_targy_temp, "targy_id"), -1, ForrasKurzusId);
        else if (templateChosen())
            KurzusLetrehozas(KurzusmintabolKurzuskod(textOf(MT_kurzusminta_temp, "kurzusminta_kod")),
                             ForrasKurzusTipus, orarendId, intOf(MT_kurzusminta_temp, "targy_id"),
                             intOf(MT_kurzusminta_temp, "kurzusminta_id"), ForrasKurzusId);
        else
            return;
        created();
        return;
    }
    const bool typeButton = sender == BEA || sender == BGY || sender == BLA;
    if (typeButton) {
        if (!subjectChosen())
            return;
        const char *tipus = sender == BEA ? "EA" : sender == BGY ? "GY" : "LA";
        KurzusLetrehozas(TargykodbolKurzuskod(textOf(MT_targy_temp, "targy_kod")), tipus, OrarendId,
                         intOf(MT_targy_temp, "targy_id"), -1, -1);
        created();
        return;
    }
    Ttantargyszervezes &szervezes = *tantargyszervezes;
    if (subjectChosen()) {
        szervezes.EloadasDarab = intOf(MT_targy_temp, "targy_ea");
        szervezes.GyakorlatDarab = intOf(MT_targy_temp, "targy_gy");
        szervezes.LaborDarab = intOf(MT_targy_temp, "targy_la");
        szervezes.Tkod->setText(guiText(textOf(MT_targy_temp, "targy_kod")));
        szervezes.Tcim->setText(guiText(textOf(MT_targy_temp, "targy_nev")));
        if (szervezes.exec() != QDialog::Accepted)
            return;
        createCourses(TargykodbolKurzuskod(textOf(MT_targy_temp, "targy_kod")), intOf(MT_targy_temp, "targy_id"), -1,
                      {szervezes.EloadasDarab, szervezes.GyakorlatDarab, szervezes.LaborDarab});
        created();
    } else if (templateChosen()) {
        const std::string tipus = textOf(MT_kurzusminta_temp, "kurzusminta_tipus");
        const std::string kod = KurzusmintabolKurzuskod(textOf(MT_kurzusminta_temp, "kurzusminta_kod"));
        szervezes.EloadasDarab = tipus == "EA" ? 1 : 0;
        szervezes.GyakorlatDarab = tipus == "GY" ? 1 : 0;
        szervezes.LaborDarab = tipus == "LA" ? 1 : 0;
        szervezes.Tkod->setText(guiText(kod));
        szervezes.Tcim->setText(guiText(textOf(MT_kurzusminta_temp, "kurzusminta_nev")));
        if (szervezes.exec() != QDialog::Accepted)
            return;
        createCourses(kod, intOf(MT_kurzusminta_temp, "targy_id"), intOf(MT_kurzusminta_temp, "kurzusminta_id"),
                      {szervezes.EloadasDarab, szervezes.GyakorlatDarab, szervezes.LaborDarab});
        created();
    }
}

void TTargyfelvet::Button1Click()
{
    OrarendId = -1;
    reject();
}
