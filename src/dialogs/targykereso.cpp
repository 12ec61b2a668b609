#include "dialogs/targykereso.h"

#include "data/datam.h"
#include "dialogs/dialogTables.h"
#include "dialogs/dialogsCommon.h"
#include "dialogs/targykival.h"
#include "platform/widgets/DBGrids.h"

#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace dlg;

Ttargy_kereso *targy_kereso = nullptr;

namespace {

// The subject fields the lists copy; tanszek_id is not carried over.
const char *const SubjectFields[] = {"targy_id",     "targy_nev",        "targy_kod", "targy_ea", "targy_gy",
                                     "targy_la",     "targy_kredit",     "targy_teljesites",     "szabad",
                                     "evjarat"};

const char *const TemplateFields[] = {"kurzusminta_id", "kurzusminta_kod", "kurzusminta_tipus", "targy_id",
                                      "felev",          "orarendiinfo",    "atargykod"};

void defineSubjectFields(TztrMemTable &table)
{
    defineFields(table, {{"targy_id", ftInteger},
                         {"targy_nev", ftString, 100},
                         {"targy_kod", ftString, 50},
                         {"targy_ea", ftInteger},
                         {"targy_gy", ftInteger},
                         {"targy_la", ftInteger},
                         {"targy_kredit", ftInteger},
                         {"targy_teljesites", ftString, 50},
                         {"tanszek_id", ftInteger},
                         {"szabad", ftInteger},
                         {"evjarat", ftInteger}});
}

// Appends the subject DM->MT_targy stands on.
void appendSubject(TztrMemTable &list)
{
    list.Append();
    copyFields(DM->MT_targy, list, SubjectFields);
    list.FieldByName("tanszek_id")->SetAsInteger(-1);
    list.Post();
}

struct GridColumn {
    const char *field;
    QString title;
};

TDBGrid *makeGrid(TDataSource &source, std::initializer_list<GridColumn> columns, QWidget *parent)
{
    auto *grid = new TDBGrid(parent);
    grid->SetDataSource(&source);
    for (const GridColumn &c : columns)
        grid->Columns().Add(c.field)->Title().SetCaption(c.title);
    grid->OnTitleClick = [grid](TColumn &column) {
        if (auto *table = dynamic_cast<TztrMemTable *>(grid->DataSet()))
            table->SetIndexFieldNames(column.FieldName());
    };
    return grid;
}

TDBGrid *makeSubjectGrid(TDataSource &source, QWidget *parent)
{
    return makeGrid(source,
                    {{"targy_kod", QStringLiteral("Kód")},
                     {"targy_nev", QStringLiteral("Megnevezés")},
                     {"targy_ea", QStringLiteral("EA")},
                     {"targy_gy", QStringLiteral("GY")},
                     {"targy_la", QStringLiteral("LA")},
                     {"targy_kredit", QStringLiteral("Kredit")},
                     {"targy_teljesites", QStringLiteral("Követelmény")},
                     {"evjarat", QStringLiteral("Évjárat")}},
                    parent);
}

} // namespace

Ttargy_kereso::Ttargy_kereso(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("targy_kereso"));
    setWindowTitle(QStringLiteral("Tárgy keresése"));
    setUpTables();

    PC = new QTabWidget(this);
    TS_szuk = new QWidget;
    DBGrid1 = makeSubjectGrid(DS_targyszuk, TS_szuk);
    DBGrid1->SetOptions(DBGrid1->Options() + TDBGridOptions{dgMultiSelect, dgRowSelect});
    DBGrid1->SetReadOnly(true);
    Edit1 = new QLineEdit(TS_szuk);
    auto *szukPage = new QVBoxLayout(TS_szuk);
    szukPage->addWidget(DBGrid1, 1);
    szukPage->addWidget(Edit1);

    TS_targy = new QWidget;
    DBGrid2 = makeSubjectGrid(DS_targy_temp, TS_targy);
    DBGrid2->SetOptions(DBGrid2->Options() + TDBGridOptions{dgMultiSelect});
    (new QVBoxLayout(TS_targy))->addWidget(DBGrid2);

    TS_kurzusminta = new QWidget;
    DBG_kurzusminta = makeGrid(DM->DS_kurzusminta,
                               {{"kurzusminta_kod", QStringLiteral("Kurzuskód")},
                                {"kurzusminta_tipus", QStringLiteral("Tipus")},
                                {"felev", QStringLiteral("Félév")},
                                {"atargykod", QStringLiteral("Tárgykód")},
                                {"orarendiinfo", QStringLiteral("Órarendi információ")}},
                               TS_kurzusminta);
    DBG_kurzusminta->SetReadOnly(true);
    L_kereso_kod = new QLabel(QStringLiteral("Kód:"), TS_kurzusminta);
    E_kereso_kod = new QLineEdit(TS_kurzusminta);
    L_kereso_nev = new QLabel(QStringLiteral("Tárgykód:"), TS_kurzusminta);
    E_kereso_nev = new QLineEdit(TS_kurzusminta);
    DBG_kurzusmintatargyai = makeGrid(DS_targy_temp2,
                                      {{"targy_kod", QStringLiteral("Kód")},
                                       {"targy_nev", QStringLiteral("Név")},
                                       {"targy_ea", QStringLiteral("EA")},
                                       {"targy_gy", QStringLiteral("GY")},
                                       {"targy_la", QStringLiteral("LA")},
                                       {"targy_kredit", QStringLiteral("Kredit")},
                                       {"targy_teljesites", QStringLiteral("Követelmény")}},
                                      TS_kurzusminta);
    DBG_kurzusmintatargyai->SetReadOnly(true);
    auto *templateSearch = new QHBoxLayout;
    templateSearch->addWidget(L_kereso_kod);
    templateSearch->addWidget(E_kereso_kod);
    templateSearch->addWidget(L_kereso_nev);
    templateSearch->addWidget(E_kereso_nev);
    auto *templatePage = new QVBoxLayout(TS_kurzusminta);
    templatePage->addWidget(DBG_kurzusminta, 2);
    templatePage->addLayout(templateSearch);
    templatePage->addWidget(DBG_kurzusmintatargyai, 1);

    PC->addTab(TS_szuk, QStringLiteral("Szükített"));
    PC->addTab(TS_targy, QStringLiteral("Tárgyak"));
    PC->addTab(TS_kurzusminta, QStringLiteral("Kurzusminta"));

    L_kereso = new QLabel(QStringLiteral("Kód:"), this);
    PM_kereso = new QMenu(this);
    targy_kod = PM_kereso->addAction(QStringLiteral("Kód"));
    targy_kod->setObjectName(QStringLiteral("targy_kod"));
    targy_nev = PM_kereso->addAction(QStringLiteral("Megnevezés"));
    targy_nev->setObjectName(QStringLiteral("targy_nev"));
    for (QLabel *label : {L_kereso, L_kereso_kod, L_kereso_nev})
        label->installEventFilter(this);
    E_kereso = new QLineEdit(this);
    B_vissza = new QPushButton(QStringLiteral("Visszalépés"), this);
    B_mentes = new QPushButton(QStringLiteral("Kiválasztás"), this);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(L_kereso);
    bottom->addWidget(E_kereso, 1);
    bottom->addWidget(B_vissza);
    bottom->addWidget(B_mentes);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PC, 1);
    layout->addLayout(bottom);
    resize(800, 560);

    connect(E_kereso, &QLineEdit::textChanged, this, &Ttargy_kereso::TargySzures);
    connect(E_kereso_kod, &QLineEdit::textChanged, this, &Ttargy_kereso::KurzusmintaSzures);
    connect(E_kereso_nev, &QLineEdit::textChanged, this, &Ttargy_kereso::KurzusmintaSzures);
    connect(PM_kereso, &QMenu::triggered, this, &Ttargy_kereso::kereso_Click);
    connect(PC, &QTabWidget::currentChanged, this, [this] {
        if (!showing_)
            PCChange();
    });
    DBGrid1->OnCellClick = [this](TColumn &) { DBGrid1CellClick(); };
    DBG_kurzusminta->OnCellClick = [this](TColumn &) { DBG_kurzusmintaCellClick(); };
    DBG_kurzusminta->OnEnter = [this](TDBGrid &) { DBG_kurzusmintaCellClick(); };
    connect(B_vissza, &QPushButton::clicked, this, &QDialog::reject);
    connect(B_mentes, &QPushButton::clicked, this, &Ttargy_kereso::B_mentesClick);
}

void Ttargy_kereso::setUpTables()
{
    MT_targy_temp.SetName("MT_targy_temp");
    MT_targy_temp.IndexDefs().Add("targy_kod", "targy_kod", {});
    MT_targy_temp.IndexDefs().Add("targy_nev", "targy_nev", {});
    MT_targy_temp.SetAttachedTo(&DM->MT_targy);
    MT_targyszuk.SetName("MT_targyszuk");
    defineSubjectFields(MT_targyszuk);
    MT_targy_temp2.SetName("MT_targy_temp2");
    defineSubjectFields(MT_targy_temp2);
    MT_kurzusmintaszuk.SetName("MT_kurzusmintaszuk");
    defineFields(MT_kurzusmintaszuk, {{"kurzusminta_id", ftInteger},
                                      {"kurzusminta_kod", ftString, 50},
                                      {"kurzusminta_tipus", ftString, 2},
                                      {"targy_id", ftInteger},
                                      {"felev", ftString, 50},
                                      {"orarendiinfo", ftString, 100},
                                      {"atargykod", ftString, 20}});
}

bool Ttargy_kereso::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu &&
        (watched == L_kereso || watched == L_kereso_kod || watched == L_kereso_nev)) {
        PM_kereso->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

std::string Ttargy_kereso::TargykodElotag() const
{
    std::string extended = KurzusKod;
    if (extended.size() < 20)
        extended.resize(20, ' ');
    if (TTargyfelvet::HaromSzamjegy(extended, 4))
        return KurzusKod.substr(0, 8);
    if (TTargyfelvet::HaromSzamjegy(extended, 7))
        return KurzusKod.substr(0, 9);
    if (TTargyfelvet::HaromSzamjegy(extended, 8))
        return KurzusKod.substr(0, 10);
    return "ISMERETLEN!";
}

void Ttargy_kereso::TargySzures()
{
    MT_targy_temp.SetFilter(KeresoMezo + " like " + likePattern(dataText(E_kereso->text())));
    MT_targy_temp.SetFiltered(true);
}

void Ttargy_kereso::KurzusmintaSzures()
{
    DM->MT_kurzusminta.SetFilter("(kurzusminta_kod like " + likePattern(dataText(E_kereso_kod->text())) +
                                 ") and (atargykod like " + likePattern(dataText(E_kereso_nev->text())) + ")");
    DM->MT_kurzusminta.SetFiltered(true);
}

void Ttargy_kereso::kereso_Click(QAction *item)
{
    KeresoMezo = item->objectName().toStdString();
    {
        // The cleared edit must not search on the old field first.
        const QSignalBlocker quiet(E_kereso);
        E_kereso->clear();
    }
    L_kereso->setText(item->text() + QLatin1Char(':'));
    TargySzures();
}

void Ttargy_kereso::SzukitettLista()
{
    ControlsDisabled still(MT_targyszuk);
    MT_targyszuk.Close();
    MT_targyszuk.Open();
    MT_kurzusmintaszuk.Close();
    MT_kurzusmintaszuk.SetFiltered(false);
    MT_kurzusmintaszuk.Open();
    TztrMemTable &templates = DM->MT_kurzusminta;
    {
        // The template search may have left the shared table filtered.
        Unfiltered all(templates);
        for (templates.First(); !templates.Eof(); templates.Next()) {
            MT_kurzusmintaszuk.Append();
            copyFields(templates, MT_kurzusmintaszuk, TemplateFields);
            MT_kurzusmintaszuk.Post();
        }
    }
    const std::string filter = "kurzusminta_kod like " + likePattern(TargykodElotag());
    MT_kurzusmintaszuk.SetFilter(filter);
    Edit1->setText(guiText(filter));
    MT_kurzusmintaszuk.SetFiltered(true);

    TztrMemTable &links = DM->MT_kurzusmintatargy;
    // A course-subject link hidden by a filter would let an attached subject in again.
    Unfiltered allAttached(DM->MT_kurzustargy);
    for (MT_kurzusmintaszuk.First(); !MT_kurzusmintaszuk.Eof(); MT_kurzusmintaszuk.Next()) {
        applyFilter(links, "kurzusminta_id=" + std::to_string(intOf(MT_kurzusmintaszuk, "kurzusminta_id")));
        for (links.First(); !links.Eof(); links.Next()) {
            const int targyId = intOf(links, "targy_id");
            if (MT_targyszuk.Locate("targy_id", targyId, {}) ||
                DM->MT_kurzustargy.Locate("kurzus_id;targy_id", VarArrayOf({Variant(KurzusId), Variant(targyId)}),
                                          {}) ||
                !DM->MT_targy.Locate("targy_id", targyId, {}))
                continue;
            appendSubject(MT_targyszuk);
        }
    }
    MT_targyszuk.First();
}

void Ttargy_kereso::DBG_kurzusmintaCellClick()
{
    MT_targy_temp2.Close();
    MT_targy_temp2.Open();
    TztrMemTable &templates = DM->MT_kurzusminta;
    if (!hasRow(templates))
        return;
    TztrMemTable &links = DM->MT_kurzusmintatargy;
    applyFilter(links, "kurzusminta_id=" + std::to_string(intOf(templates, "kurzusminta_id")));
    for (links.First(); !links.Eof(); links.Next())
        if (DM->MT_targy.Locate("targy_id", intOf(links, "targy_id"), {}))
            appendSubject(MT_targy_temp2);
    links.SetFiltered(false);
    MT_targy_temp2.First();
}

void Ttargy_kereso::DBGrid1CellClick()
{
    Edit1->setText(QString::number(DBGrid1->SelectedRows().Count()));
}

void Ttargy_kereso::PCChange()
{
    ControlsDisabled still(MT_targy_temp);
    KeresesMod = PC->currentIndex() + 1;
    if (PC->currentWidget() == TS_szuk)
        SzukitettLista();
}

void Ttargy_kereso::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Ttargy_kereso::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormClose();
}

void Ttargy_kereso::showPages(bool subjects, bool templates)
{
    PC->setTabVisible(PC->indexOf(TS_szuk), subjects);
    PC->setTabVisible(PC->indexOf(TS_targy), subjects);
    PC->setTabVisible(PC->indexOf(TS_kurzusminta), templates);
}

void Ttargy_kereso::FormShow()
{
    showing_ = true;
    Eredmeny = -1;
    KurzusKod = DM->MT_kurzus.Locate("kurzus_id", KurzusId, {}) ? textOf(DM->MT_kurzus, "kurzus_kod") : std::string();
    if (!MT_targy_temp.Active()) {
        MT_targy_temp.Open();
        MT_targy_temp.SetFilter("");
        MT_targy_temp.SetFiltered(true);
    }
    MT_targyszuk.Close();
    MT_targyszuk.Open();
    switch (KeresesMod) {
    case 1:
        showPages(true, false);
        TargySzures();
        PC->setCurrentWidget(TS_szuk);
        SzukitettLista();
        if (MT_targyszuk.IsEmpty()) {
            KeresesMod = 2;
            E_kereso->setText(guiText(KurzusKod));
            TargySzures();
            PC->setCurrentWidget(TS_targy);
        }
        break;
    case 2:
        showPages(true, false);
        TargySzures();
        PC->setCurrentWidget(TS_targy);
        break;
    case 3:
        showPages(false, true);
        PC->setCurrentWidget(TS_kurzusminta);
        E_kereso_kod->setText(guiText(TargykodElotag()));
        KurzusmintaSzures();
        break;
    default:
        break;
    }
    showing_ = false;
}

void Ttargy_kereso::FormClose()
{
    DM->MT_kurzusminta.SetFiltered(false);
}

void Ttargy_kereso::B_mentesClick()
{
    setResult(0);
    QWidget *page = PC->currentWidget();
    if (page == TS_szuk && hasRow(MT_targyszuk))
        Eredmeny = intOf(MT_targyszuk, "targy_id");
    else if (page == TS_targy && hasRow(MT_targy_temp))
        Eredmeny = intOf(MT_targy_temp, "targy_id");
    else if (page == TS_kurzusminta && hasRow(DM->MT_kurzusminta))
        Eredmeny = intOf(DM->MT_kurzusminta, "kurzusminta_id");
    else
        return;
    accept();
}

std::vector<int> Ttargy_kereso::KivalasztottTargyak()
{
    TDBGrid *grid = PC->currentWidget() == TS_szuk ? DBGrid1 : PC->currentWidget() == TS_targy ? DBGrid2 : nullptr;
    std::vector<int> subjects;
    if (grid && grid->SelectedRows().Count() > 0) {
        TDataSet &table = *grid->DataSet();
        for (int i = 0; i < grid->SelectedRows().Count(); ++i) {
            table.GotoBookmark(grid->SelectedRows()[i]);
            subjects.push_back(intOf(table, "targy_id"));
        }
    } else if (Eredmeny >= 0) {
        subjects.push_back(Eredmeny);
    }
    return subjects;
}
