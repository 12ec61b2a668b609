#include "dialogs/Admin_table.h"

#include "data/datam.h"
#include "dialogs/RadioGroup.h"
#include "dialogs/dialogTables.h"
#include "dialogs/dialogsCommon.h"
#include "platform/widgets/DBGrids.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>
#include <vector>

using namespace dlg;

TAdminka *Adminka = nullptr;

namespace {

const char *const SubjectFields[] = {"targy_id",  "targy_nev",    "targy_kod",        "targy_ea",
                                     "targy_gy",  "targy_la",     "targy_kredit",     "targy_teljesites",
                                     "tanszek_id", "szabad",      "evjarat"};

TDBGrid *gridOn(TDataSource *source, QWidget *parent)
{
    auto *grid = new TDBGrid(parent);
    grid->SetDataSource(source);
    grid->OnTitleClick = [grid](TColumn &column) {
        if (auto *table = dynamic_cast<TztrMemTable *>(grid->DataSet()))
            table->SetIndexFieldNames(column.FieldName());
    };
    return grid;
}

} // namespace

TAdminka::TAdminka(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Adminka"));
    setWindowTitle(QStringLiteral("Admin..."));
    setUpTables();

    PageControl1 = new QTabWidget(this);
    const std::pair<QString, TDataSource *> rawTables[] = {
        {QStringLiteral("Órarend"), &DM->DS_orarend},
        {QStringLiteral("Kurzus"), &DM->DS_kurzus},
        {QStringLiteral("Kurzus-Tárgy"), &DM->DS_kurzustargy},
        {QStringLiteral("Kurzus-Oktató"), &DM->DS_kurzusoktato},
        {QStringLiteral("Kurzus-Órarend"), &DM->DS_kurzusorarend},
        {QStringLiteral("Alkalom"), &DM->DS_alkalom},
        {QStringLiteral("Oktató"), &DM->DS_oktato},
        {QStringLiteral("Terem"), &DM->DS_terem},
    };
    for (const auto &[caption, source] : rawTables)
        PageControl1->addTab(rawPage(*source, false), caption);
    PageControl1->addTab(rawPage(DM->DS_targy, true, &DBG_targy), QStringLiteral("Tárgy"));

    const QStringList tagozatItems{QStringLiteral("Mindegyik"), QStringLiteral("Nappali"), QStringLiteral("Levelező")};
    const QStringList nyelvItems{QStringLiteral("Mindegyik"), QStringLiteral("Magyar"), QStringLiteral("Angol")};
    const QStringList szintItems{QStringLiteral("Mindegyik"),
                                 QStringLiteral("felsőoktatási szakképzés"),
                                 QStringLiteral("alapképzés (BA/BSc)"),
                                 QStringLiteral("mesterképzés (MA/MSc)"),
                                 QStringLiteral("egységes, osztatlan képzés"),
                                 QStringLiteral("szakirányú továbbképzés"),
                                 QStringLiteral("nemzetközi program képzése"),
                                 QStringLiteral("doktori képzés (PhD/DLA)"),
                                 QStringLiteral("doktori képzés (PhD/DLA) (Nftv. 114 (2))")};
    QWidget *curricula = rawPage(DM->DS_mintatanterv, true, &DBG_mintatanterv);
    RG_tagozat = new TRadioGroup(QStringLiteral("Tagozat"), tagozatItems, curricula);
    RG_nyelv = new TRadioGroup(QStringLiteral("Nyelv"), nyelvItems, curricula);
    RG_tipus = new TRadioGroup(QStringLiteral("Szint"), szintItems, curricula, 3);
    auto *curriculumFilters = new QHBoxLayout;
    for (TRadioGroup *group : {RG_tagozat, RG_nyelv, RG_tipus}) {
        group->SetItemIndex(0);
        curriculumFilters->addWidget(group);
    }
    static_cast<QVBoxLayout *>(curricula->layout())->addLayout(curriculumFilters);
    PageControl1->addTab(curricula, QStringLiteral("Mintatanterv"));

    PageControl1->addTab(rawPage(DM->DS_mintatantervtargy, false), QStringLiteral("Mintatanterv-Tárgy"));
    PageControl1->addTab(rawPage(DM->DS_kurzusminta, false), QStringLiteral("Kurzusminta"));
    PageControl1->addTab(rawPage(DM->DS_kurzusmintatargy, false), QStringLiteral("Kurzusminta-Tárgy"));
    PageControl1->addTab(new QWidget, QStringLiteral("Kurzusminta-Oktató"));

    TS_kurzusmintafa = new QWidget;
    DBG_kurzusminta = gridOn(&DS_kurzusminta_temp, TS_kurzusmintafa);
    DBG_kurzusmintatargy = gridOn(&DS_targy_temp, TS_kurzusmintafa);
    DBG_kurzusmintaoktato = gridOn(&DS_kurzusmintaoktato_temp, TS_kurzusmintafa);
    RG_tip2 = new TRadioGroup(QStringLiteral("Tipus"),
                              {QStringLiteral("Mindegyik"), QStringLiteral("Előadás"), QStringLiteral("Gyakorlat"),
                               QStringLiteral("Labor")},
                              TS_kurzusmintafa);
    RG_felev = new TRadioGroup(QStringLiteral("Félévek"),
                               {QStringLiteral("Mindegyik"), QStringLiteral("Kereszt"), QStringLiteral("2021/22/2"),
                                QStringLiteral("2021/22/1"), QStringLiteral("2020/21/2"), QStringLiteral("2020/21/1"),
                                QStringLiteral("2019/20/2"), QStringLiteral("2019/20/1"), QStringLiteral("2018/19/2"),
                                QStringLiteral("2018/19/1"), QStringLiteral("2017/18/2"), QStringLiteral("2017/18/1")},
                               TS_kurzusmintafa, 2);
    RG_felev->SetItemIndex(0);
    auto *templateTree = new QGridLayout(TS_kurzusmintafa);
    templateTree->addWidget(DBG_kurzusminta, 0, 0, 2, 1);
    templateTree->addWidget(DBG_kurzusmintatargy, 0, 1);
    templateTree->addWidget(DBG_kurzusmintaoktato, 1, 1);
    auto *templateFilters = new QVBoxLayout;
    templateFilters->addWidget(RG_tip2);
    templateFilters->addWidget(RG_felev);
    templateFilters->addStretch();
    templateTree->addLayout(templateFilters, 0, 2, 2, 1);
    PageControl1->addTab(TS_kurzusmintafa, QStringLiteral("Kurzusminta-Tárgy-Oktató"));

    TS_mintatantervfa = new QWidget;
    DBG_mintatanterv_fa = gridOn(&DM->DS_mintatanterv, TS_mintatantervfa);
    DBG_mintatanterv_fa->SetReadOnly(true);
    DBG_targy_fa = gridOn(&DS_targy_temp, TS_mintatantervfa);
    DBG_targy_fa->SetReadOnly(true);
    for (const char *field : {"szabad", "targy_kod", "targy_nev", "targy_ea", "targy_gy", "targy_la", "targy_kredit",
                              "targy_teljesites", "felvetel_tipusa", "evjarat", "targy_id"})
        DBG_targy_fa->Columns().Add(field);
    RG_felveteltipus = new TRadioGroup(QString(),
                                       {QStringLiteral("Mindegyik"), QStringLiteral("Kötelező"),
                                        QStringLiteral("Kötelezően választható"),
                                        QStringLiteral("Szabadon választható"), QStringLiteral("Egyéb")},
                                       TS_mintatantervfa);
    RG_felveteltipus->SetItemIndex(1);
    auto *curriculumTree = new QGridLayout(TS_mintatantervfa);
    curriculumTree->addWidget(DBG_mintatanterv_fa, 0, 0);
    curriculumTree->addWidget(DBG_targy_fa, 1, 0);
    curriculumTree->addWidget(RG_felveteltipus, 1, 1);
    PageControl1->addTab(TS_mintatantervfa, QStringLiteral("Mintatanterv-tárgy fa"));

    PageControl1->addTab(operationsPage(), QStringLiteral("Műveletek"));

    // These grids were laid out for tables the program no longer has.
    auto *elements = new QWidget;
    auto *elementGrids = new QGridLayout(elements);
    for (int i = 0; i < 4; ++i)
        elementGrids->addWidget(new TDBGrid(elements), i / 2, i % 2);
    PageControl1->addTab(elements, QStringLiteral("Tantárgyelem"));

    auto *kastorel = new QWidget;
    DBG_kastorel = new TDBGrid(kastorel);
    for (const char *field : {"targykod", "targynev", "targynev_angol", "kurzuskod_ea", "kurzuskod_gy", "kurzuskod_la",
                              "hea", "hgy"})
        DBG_kastorel->Columns().Add(field);
    szures = new QLineEdit(kastorel);
    auto *kastorelLayout = new QVBoxLayout(kastorel);
    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Szűrés :"), kastorel));
    search->addWidget(szures, 1);
    kastorelLayout->addLayout(search);
    kastorelLayout->addWidget(DBG_kastorel, 1);
    PageControl1->addTab(kastorel, QStringLiteral("Kastorel-tantárgy"));

    PageControl1->setCurrentWidget(TS_mintatantervfa);
    (new QVBoxLayout(this))->addWidget(PageControl1);
    resize(1000, 700);

    DBG_targy->OnCellClick = [this](TColumn &column) { DBG_targyCellClick(column); };
    DBG_mintatanterv->OnCellClick = [this](TColumn &column) { DBG_mintatantervCellClick(column); };
    DBG_mintatanterv_fa->OnCellClick = [this](TColumn &column) { DBG_mintatanterv_faCellClick(&column); };
    DBG_targy_fa->OnCellClick = [this](TColumn &column) { DBG_targy_faCellClick(column); };
    DBG_kurzusminta->OnCellClick = [this](TColumn &) { DBG_kurzusmintaCellClick(); };
    for (TRadioGroup *group : {RG_tagozat, RG_nyelv, RG_tipus})
        group->OnClick = [this](TRadioGroup &) { RGSzuroClick(); };
    RG_felveteltipus->OnClick = [this](TRadioGroup &) { RG_felveteltipusClick(); };
    for (TRadioGroup *group : {RG_tip2, RG_felev})
        group->OnClick = [this](TRadioGroup &) { RG_kurzusmintaClick(); };
    connect(PageControl1, &QTabWidget::currentChanged, this, &TAdminka::PageControl1Change);
    DBG_kastorel->OnCellClick = [this](TColumn &column) {
        kastorelColumn_ = column.FieldName();
        szures->clear();
        setWindowTitle(QStringLiteral("Adminka ..."));
    };
    DBG_kastorel->OnKeyPress = [this](TDBGrid &, QChar &key) {
        if (kastorelColumn_.empty())
            return;
        if (key == QLatin1Char('\b'))
            szures->setText(szures->text().chopped(szures->text().isEmpty() ? 0 : 1));
        else if (isSearchCharacter(key))
            szures->setText(szures->text() + key);
    };
}

void TAdminka::setUpTables()
{
    MT_mintatantervtargy_temp.SetName("MT_mintatantervtargy_temp");
    MT_mintatantervtargy_temp.IndexDefs().Add("targy_id", "targy_id", {});
    MT_mintatantervtargy_temp.IndexDefs().Add("mintatanterv_id", "mintatanterv_id", {});
    MT_mintatantervtargy_temp.SetAttachedTo(&DM->MT_mintatantervtargy);
    MT_targy_osszes_temp.SetName("MT_targy_osszes_temp");
    MT_targy_osszes_temp.IndexDefs().Add("targy_id", "targy_id", {});
    MT_targy_osszes_temp.SetAttachedTo(&DM->MT_targy);
    MT_kurzusminta_temp.SetName("MT_kurzusminta_temp");
    MT_kurzusminta_temp.SetAttachedTo(&DM->MT_kurzusminta);
    MT_kurzusmintatargy_temp.SetName("MT_kurzusmintatargy_temp");
    MT_kurzusmintatargy_temp.SetAttachedTo(&DM->MT_kurzusmintatargy);
    MT_kurzusmintaoktato_temp.SetName("MT_kurzusmintaoktato_temp");
    MT_kurzusmintaoktato_temp.SetAttachedTo(&DM->MT_kurzusmintaoktato);
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
    MT_targy_temp.IndexDefs().Add("targy_id", "targy_id", {});
}

QWidget *TAdminka::rawPage(TDataSource &source, bool readOnly, TDBGrid **grid)
{
    auto *page = new QWidget;
    TDBGrid *shown = gridOn(&source, page);
    shown->SetReadOnly(readOnly);
    (new QVBoxLayout(page))->addWidget(shown, 1);
    if (grid)
        *grid = shown;
    return page;
}

QWidget *TAdminka::operationsPage()
{
    auto *page = new QWidget;
    Felhasznalo = new QLabel(page);
    B_mentes = new QPushButton(QStringLiteral("Mentegető"), page);
    B_tantervimport = new QPushButton(QStringLiteral("Tantervek és tantárgyak importálása"), page);
    B_kurzusmintaimport = new QPushButton(QStringLiteral("Kurzusminták importálása"), page);
    B_kurzusalkalom = new QPushButton(QStringLiteral("Kurzusalkalom generálása"), page);
    B_knevfix = new QPushButton(QStringLiteral("Kurzus megnevezésének fixálása"), page);
    sfLoadFormat = new QCheckBox(QStringLiteral("sfLoadFormat"), page);
    sfSaveFormat = new QCheckBox(QStringLiteral("sfSaveFormat"), page);
    sfLoadFormat->installEventFilter(this);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(Felhasznalo);
    for (QWidget *control : std::initializer_list<QWidget *>{B_mentes, B_tantervimport, B_kurzusmintaimport,
                                                             B_kurzusalkalom, B_knevfix, sfLoadFormat, sfSaveFormat})
        layout->addWidget(control);
    layout->addStretch();
    connect(B_mentes, &QPushButton::clicked, this, &TAdminka::B_mentesClick);
    connect(B_tantervimport, &QPushButton::clicked, this, &TAdminka::B_tantervimportClick);
    connect(B_kurzusmintaimport, &QPushButton::clicked, this, &TAdminka::B_kurzusmintaimportClick);
    connect(B_kurzusalkalom, &QPushButton::clicked, this, &TAdminka::B_kurzusalkalomClick);
    connect(B_knevfix, &QPushButton::clicked, this, &TAdminka::B_knevfixClick);
    return page;
}

bool TAdminka::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == sfLoadFormat && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        sfLoadFormat->setChecked(false);
        sfSaveFormat->setChecked(false);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAdminka::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TAdminka::FormShow()
{
    Felhasznalo->setText(guiText(DM->Felhasznalo));
    for (TztrMemTable *table : {&MT_kurzusminta_temp, &MT_kurzusmintatargy_temp, &MT_targy_osszes_temp,
                                &MT_mintatantervtargy_temp, &MT_targy_temp})
        table->Open();
    MT_targy_osszes_temp.SetIndexFieldNames("targy_id");
    PageControl1Change();
    RGSzuroClick();
}

void TAdminka::PageControl1Change()
{
    if (PageControl1->currentWidget() == TS_mintatantervfa) {
        RG_felveteltipus->SetItemIndex(1);
        DBG_mintatanterv_faCellClick(nullptr);
    } else if (PageControl1->currentWidget() == TS_kurzusmintafa) {
        DBG_kurzusmintaCellClick();
    }
}

void TAdminka::RGSzuroClick()
{
    static const char *const Tagozat[] = {"", "tagozat='N'", "tagozat='L'"};
    static const char *const Nyelv[] = {"", "nyelv='magyar'", "nyelv='angol'"};
    static const char *const Szint[] = {"",
                                        "tipus='felsőoktatási szakképzés'",
                                        "tipus='alapképzés (BA/BSc)'",
                                        "tipus='mesterképzés (MA/MSc)'",
                                        "tipus='egységes, osztatlan képzés'",
                                        "tipus='szakirányú továbbképzés'",
                                        "tipus='Nemzetközi program képzése'",
                                        "tipus='doktori képzés (PhD/DLA)'",
                                        "tipus='Doktori képzés (PhD/DLA) (Nftv'"};
    std::string text;
    const auto part = [&text](const char *const *parts, int count, int index) {
        if (index > 0 && index < count)
            text += (text.empty() ? "(" : " and (") + std::string(parts[index]) + ")";
    };
    part(Tagozat, 3, RG_tagozat->ItemIndex());
    part(Nyelv, 3, RG_nyelv->ItemIndex());
    part(Szint, 9, RG_tipus->ItemIndex());
    applyFilter(DM->MT_mintatanterv, utf8ToCp1250(text));
}

void TAdminka::SzabadValtas(TDataSet &table)
{
    if (!hasRow(table))
        return;
    const int szabad = intOf(table, "szabad");
    table.Edit();
    table.FieldByName("szabad")->SetAsInteger(szabad == 1 ? 0 : 1);
    table.Post();
}

void TAdminka::DBG_targyCellClick(TColumn &column)
{
    if (column.FieldName() == "szabad")
        SzabadValtas(DM->MT_targy);
}

void TAdminka::DBG_mintatantervCellClick(TColumn &column)
{
    if (column.FieldName() == "szabad")
        SzabadValtas(DM->MT_mintatanterv);
}

void TAdminka::DBG_targy_faCellClick(TColumn &column)
{
    if (column.FieldName() != "szabad" || !hasRow(MT_targy_temp))
        return;
    const int szabad = intOf(MT_targy_temp, "szabad") == 1 ? 0 : 1;
    TztrMemTable &subjects = DM->MT_targy;
    if (!subjects.Locate("targy_id", intOf(MT_targy_temp, "targy_id"), {}))
        return;
    subjects.Edit();
    subjects.FieldByName("szabad")->SetAsInteger(szabad);
    subjects.Post();
    MT_targy_temp.Edit();
    MT_targy_temp.FieldByName("szabad")->SetAsInteger(szabad);
    MT_targy_temp.Post();
}

void TAdminka::DBG_mintatanterv_faCellClick(TColumn *column)
{
    TztrMemTable &curricula = DM->MT_mintatanterv;
    if (column && column->FieldName() == "szabad")
        SzabadValtas(curricula);
    const int id = hasRow(curricula) ? intOf(curricula, "mintatanterv_id") : -1;
    applyFilter(MT_mintatantervtargy_temp, "mintatanterv_id=" + std::to_string(id));
    MintatantervTargyai();
    RG_felveteltipusClick();
}

void TAdminka::appendSubject(const std::string &felvetelTipusa)
{
    MT_targy_temp.Append();
    copyFields(MT_targy_osszes_temp, MT_targy_temp, SubjectFields);
    MT_targy_temp.FieldByName("felvetel_tipusa")->SetAsString(felvetelTipusa);
    MT_targy_temp.Post();
}

void TAdminka::MintatantervTargyai()
{
    ControlsDisabled still(MT_targy_temp);
    MT_targy_temp.Close();
    MT_targy_temp.Open();
    const TField *felveteltipus = MT_mintatantervtargy_temp.FindField("targy_felveteltipus");
    for (MT_mintatantervtargy_temp.First(); !MT_mintatantervtargy_temp.Eof(); MT_mintatantervtargy_temp.Next())
        // A link whose subject is gone lists nothing.
        if (MT_targy_osszes_temp.Locate("targy_id", intOf(MT_mintatantervtargy_temp, "targy_id"), {}))
            appendSubject(felveteltipus ? felveteltipus->AsString() : std::string());
    MT_targy_temp.First();
}

void TAdminka::RG_felveteltipusClick()
{
    static const char *const Parts[] = {"", "felvetel_tipusa='Kötelező'",
                                        "felvetel_tipusa='Kötelezően választható'",
                                        "felvetel_tipusa='Szabadon választható'", "felvetel_tipusa='Nincs megadva'"};
    const int index = RG_felveteltipus->ItemIndex();
    applyFilter(MT_targy_temp, index > 0 && index < 5 ? utf8ToCp1250("(" + std::string(Parts[index]) + ")") : "");
}

void TAdminka::DBG_kurzusmintaCellClick()
{
    const int id = hasRow(MT_kurzusminta_temp) ? intOf(MT_kurzusminta_temp, "kurzusminta_id") : -1;
    applyFilter(MT_kurzusmintatargy_temp, "kurzusminta_id=" + std::to_string(id));
    KurzusmintaTargyai();
    MT_kurzusmintaoktato_temp.Open();
    applyFilter(MT_kurzusmintaoktato_temp, "kurzusminta_id=" + std::to_string(id));
    MT_kurzusmintaoktato_temp.First();
}

void TAdminka::KurzusmintaTargyai()
{
    ControlsDisabled still(MT_targy_temp);
    MT_targy_temp.Close();
    MT_targy_temp.Open();
    applyFilter(MT_targy_temp, "");
    for (MT_kurzusmintatargy_temp.First(); !MT_kurzusmintatargy_temp.Eof(); MT_kurzusmintatargy_temp.Next())
        if (MT_targy_osszes_temp.Locate("targy_id", intOf(MT_kurzusmintatargy_temp, "targy_id"), {}))
            appendSubject(std::string());
    MT_targy_temp.First();
}

void TAdminka::RG_kurzusmintaClick()
{
    // The tree lists only the templates of one programme's code.
    std::string text = "kurzusminta_kod like " + likePattern("MSB293");
    const QString tipus = RG_tip2->ItemText(RG_tip2->ItemIndex());
    if (RG_tip2->ItemIndex() > 0) {
        if (tipus.startsWith(QStringLiteral("El")))
            text += " and (kurzusminta_tipus='EA')";
        else if (tipus.startsWith(QStringLiteral("Gy")))
            text += " and (kurzusminta_tipus='GY')";
        else if (tipus.startsWith(QStringLiteral("La")))
            text += " and (kurzusminta_tipus='LA')";
    }
    if (RG_felev->ItemIndex() > 0)
        text += " and (felev='" + dataText(RG_felev->ItemText(RG_felev->ItemIndex())) + "')";
    MT_kurzusminta_temp.SetFilter(text);
    MT_kurzusminta_temp.SetFiltered(true);
}

void TAdminka::B_mentesClick()
{
    DM->TorzsadatMentes();
}

void TAdminka::B_tantervimportClick()
{
    ShowMessage(this, QString::fromStdString(DM->MintatantervBeolvasas().message));
}

void TAdminka::B_kurzusmintaimportClick()
{
    ShowMessage(this, QString::fromStdString(DM->KurzusmintaBeolvasas().message));
}

void TAdminka::B_kurzusalkalomClick()
{
    DM->KurzusalkalomGeneralas();
}

std::string TAdminka::KurzusMegnevezes(int kurzusId, TDataSet *table)
{
    TDataSet &courses = table ? *table : DM->MT_kurzus;
    if (!hasRow(courses))
        return {};
    if (intOf(courses, "kurzus_id") != kurzusId && !courses.Locate("kurzus_id", kurzusId, {}))
        return {};
    std::string name = textOf(courses, "megnevezes");
    const int targyId = intOf(courses, "targy_id");
    if (name.empty() && targyId >= 0)
        name = lookUp(DM->MT_targy, "targy_id", targyId, "targy_nev");
    return name;
}

void TAdminka::B_knevfixClick()
{
    TztrMemTable &courses = DM->MT_kurzus;
    courses.SetFiltered(false);
    // Names are gathered first: a new name may move the row when the table is ordered by name.
    std::vector<std::pair<int, std::string>> names;
    for (courses.First(); !courses.Eof(); courses.Next()) {
        const int kurzusId = intOf(courses, "kurzus_id");
        names.emplace_back(kurzusId, KurzusMegnevezes(kurzusId, &courses));
    }
    for (const auto &[kurzusId, name] : names) {
        if (!courses.Locate("kurzus_id", kurzusId, {}) || textOf(courses, "megnevezes") == name)
            continue;
        courses.Edit();
        courses.FieldByName("megnevezes")->SetAsString(name);
        courses.Post();
    }
}
