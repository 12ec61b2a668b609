#include "dialogs/letszamok.h"

#include "dialogs/dialogTables.h"
#include "dialogs/dialogsCommon.h"
#include "platform/widgets/DBGrids.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <array>

using namespace dlg;

TSegitseg *Segitseg = nullptr;

const char *const TSegitseg::Szamok[7] = {"erintett",          "teljesitette",         "megprobalta",
                                          "felvette",          "efeltteljesitette",    "efeltnemteljesitette",
                                          "efeltlehetteljesiti"};

namespace {

const char *const StatisticsFields[] = {"kpr",
                                        "kprnev",
                                        "tkod",
                                        "tnev",
                                        "kotelezo",
                                        "erintett",
                                        "teljesitette",
                                        "megprobalta",
                                        "felvette",
                                        "efeltteljesitette",
                                        "efeltnemteljesitette",
                                        "efeltlehetteljesiti",
                                        "mintalista"};

void defineStatistics(TztrMemTable &table, const char *name)
{
    table.SetName(name);
    defineFields(table, {{"kpr", ftString, 20},
                         {"kprnev", ftString, 100},
                         {"tkod", ftString, 20},
                         {"tnev", ftString, 100},
                         {"kotelezo", ftString, 20},
                         {"erintett", ftInteger},
                         {"teljesitette", ftInteger},
                         {"megprobalta", ftInteger},
                         {"felvette", ftInteger},
                         {"efeltteljesitette", ftInteger},
                         {"efeltnemteljesitette", ftInteger},
                         {"efeltlehetteljesiti", ftInteger},
                         {"mintalista", ftString, 100}});
}

void definePattern(TztrMemTable &table, const char *name)
{
    table.SetName(name);
    defineFields(table, {{"minta_id", ftInteger}, {"kod", ftString, 20}, {"nev", ftString, 100}});
}

} // namespace

TSegitseg::TSegitseg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Segitseg"));
    setWindowTitle(QStringLiteral("Létszámadatok"));
    MT_ora.SetName("MT_ora");
    defineFields(MT_ora,
                 {{"ora_id", ftInteger}, {"tantargy_id", ftInteger}, {"szervezo_id", ftInteger}, {"ora_kod", ftString, 20}});
    definePattern(MT_minta, "MT_minta");
    MT_tantargy.SetName("MT_tantargy");
    defineFields(MT_tantargy,
                 {{"tantargy_id", ftInteger}, {"tantargy_kod", ftString, 20}, {"tantargy_nev", ftString, 100}});
    MT_targykapcs.SetName("MT_targykapcs");
    defineFields(MT_targykapcs, {{"tantargykapcs_id", ftInteger},
                                 {"tantargykapcs_ujkod", ftString, 20},
                                 {"tantargykapcs_regikod", ftString, 20},
                                 {"tantargykapcs_minosites", ftString, 20}});
    definePattern(MT_minta2, "MT_minta2");
    defineStatistics(MT_segitsegtemp2, "MT_segitsegtemp2");
    defineStatistics(MT_segitsegtemp, "MT_segitsegtemp");
    openTables();

    DB_szamok = new TDBGrid(this);
    DB_szamok->SetDataSource(&DS_segitsegtemp);
    DBGrid1 = new TDBGrid(this);
    DBGrid1->SetDataSource(&DS_minta2);
    B_kilepes = new QPushButton(QStringLiteral("Kilépés"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DB_szamok, 1);
    layout->addWidget(DBGrid1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_kilepes);
    layout->addLayout(buttons);
    connect(B_kilepes, &QPushButton::clicked, this, &QDialog::accept);
}

void TSegitseg::openTables()
{
    for (TztrMemTable *table :
         {&MT_ora, &MT_minta, &MT_tantargy, &MT_targykapcs, &MT_minta2, &MT_segitsegtemp2, &MT_segitsegtemp})
        table->Open();
}

void TSegitseg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSegitseg::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormClose();
}

void TSegitseg::FormShow()
{
    DBGrid1->setFixedHeight(1);
    openTables();
    applyFilter(MT_ora, "szervezo_id=" + std::to_string(SzervezoId));
    for (MT_ora.First(); !MT_ora.Eof(); MT_ora.Next()) {
        const int tantargyId = intOf(MT_ora, "tantargy_id");
        if (MT_minta.Locate("minta_id", tantargyId, {}) || !MT_tantargy.Locate("tantargy_id", tantargyId, {}))
            continue;
        MT_minta.Append();
        MT_minta.FieldByName("minta_id")->SetAsInteger(tantargyId);
        MT_minta.FieldByName("kod")->SetAsString(textOf(MT_tantargy, "tantargy_kod"));
        MT_minta.FieldByName("nev")->SetAsString(textOf(MT_tantargy, "tantargy_nev"));
        MT_minta.Post();
    }
    for (MT_minta.First(); !MT_minta.Eof(); MT_minta.Next()) {
        if (intOf(MT_minta, "minta_id") <= 0)
            continue;
        applyFilter(MT_targykapcs, "tantargykapcs_ujkod=" + quotedText(textOf(MT_minta, "kod")));
        for (MT_targykapcs.First(); !MT_targykapcs.Eof(); MT_targykapcs.Next()) {
            if (!textOf(MT_targykapcs, "tantargykapcs_minosites").empty())
                continue;
            MT_minta2.Append();
            MT_minta2.FieldByName("minta_id")->SetAsInteger(intOf(MT_targykapcs, "tantargykapcs_id"));
            MT_minta2.FieldByName("kod")->SetAsString(textOf(MT_targykapcs, "tantargykapcs_regikod"));
            MT_minta2.FieldByName("nev")->SetAsString("-");
            MT_minta2.Post();
        }
    }
    std::array<int, 7> totals{};
    for (MT_minta2.First(); !MT_minta2.Eof(); MT_minta2.Next()) {
        applyFilter(MT_segitsegtemp2, "tkod=" + quotedText(textOf(MT_minta2, "kod")));
        for (MT_segitsegtemp2.First(); !MT_segitsegtemp2.Eof(); MT_segitsegtemp2.Next()) {
            MT_segitsegtemp.Append();
            copyFields(MT_segitsegtemp2, MT_segitsegtemp, StatisticsFields);
            MT_segitsegtemp.Post();
            for (std::size_t i = 0; i < totals.size(); ++i)
                totals[i] += intOf(MT_segitsegtemp2, Szamok[i]);
        }
    }
    MT_segitsegtemp.Append();
    MT_segitsegtemp.FieldByName("kpr")->SetAsString(" ");
    MT_segitsegtemp.FieldByName("kprnev")->SetAsString(utf8ToCp1250("Összesen"));
    for (std::size_t i = 0; i < totals.size(); ++i)
        MT_segitsegtemp.FieldByName(Szamok[i])->SetAsInteger(totals[i]);
    MT_segitsegtemp.Post();
}

void TSegitseg::FormClose()
{
    for (TztrMemTable *table : {&MT_ora, &MT_minta, &MT_tantargy, &MT_targykapcs, &MT_minta2, &MT_segitsegtemp2,
                                &MT_segitsegtemp})
        table->Close();
}
