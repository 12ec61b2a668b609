#include "dialogs/MintaTargyEditor.h"

#include "data/datam.h"
#include "dialogs/dialogTables.h"
#include "platform/widgets/DBGrids.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TMintaTargy *MintaTargy = nullptr;

TMintaTargy::TMintaTargy(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MintaTargy"));
    setWindowTitle(QStringLiteral("Minta(elem) tárgyai"));

    PageControl1 = new QTabWidget(this);
    auto *subjects = new QWidget;
    DBGrid1 = new TDBGrid(subjects);
    for (const char *field : {"tantargykapcs_id", "tantargykapcs_ujkod", "tantargykapcs_regikod"})
        DBGrid1->Columns().Add(field);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->addAction(QStringLiteral("Leválasztás"));
    DBGrid1->SetPopupMenu(PopupMenu1);
    DBGrid2 = new TDBGrid(subjects);
    for (const char *field : {"targykod", "targynev", "targynev_angol"})
        DBGrid2->Columns().Add(field);
    PopupMenu2 = new QMenu(this);
    PopupMenu2->addAction(QStringLiteral("Összerendelés"));
    DBGrid2->SetPopupMenu(PopupMenu2);
    auto *subjectsLayout = new QVBoxLayout(subjects);
    subjectsLayout->addWidget(DBGrid1);
    subjectsLayout->addWidget(DBGrid2);
    PageControl1->addTab(subjects, QStringLiteral("Minta tárgyai"));

    auto *counts = new QWidget;
    DBGrid3 = new TDBGrid(counts);
    for (const char *field : {"Mintakod", "Targykd", "Targymegnevezes", "szervezo_id", "MaxLetszam", "Engedelyezett"})
        DBGrid3->Columns().Add(field);
    (new QVBoxLayout(counts))->addWidget(DBGrid3);
    PageControl1->addTab(counts, QStringLiteral("Létszámok tárgyakra"));

    B_ok = new QPushButton(QStringLiteral("OK"), this);
    B_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    B_torzsadatmentes = new QPushButton(QStringLiteral("Törzsadatok mentése"), this);
    B_torzsadatmentes->setVisible(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B_torzsadatmentes);
    buttons->addStretch();
    buttons->addWidget(B_ok);
    buttons->addWidget(B_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    DBGrid2->OnCellClick = [this](TColumn &column) { DBGrid2CellClick(column.FieldName()); };
    DBGrid2->OnKeyPress = [this](TDBGrid &, QChar &key) { DBGrid2KeyPress(key); };
    connect(B_torzsadatmentes, &QPushButton::clicked, this, &TMintaTargy::B_torzsadatmentesClick);
    connect(B_ok, &QPushButton::clicked, this, &TMintaTargy::B_okClick);
    connect(B_cancel, &QPushButton::clicked, this, &TMintaTargy::B_cancelClick);
}

void TMintaTargy::DBGrid2CellClick(const std::string &fieldName)
{
    const bool searchable = fieldName == "targykod" || fieldName == "targynev" || fieldName == "targynev_angol";
    KeresoOszlop = searchable ? fieldName : std::string();
    KeresoSzoveg.clear();
    setWindowTitle(QStringLiteral("Minta(elem) tárgyai ..."));
}

void TMintaTargy::DBGrid2KeyPress(QChar &key)
{
    if (KeresoOszlop.empty())
        return;
    if (key == QLatin1Char('\b'))
        KeresoSzoveg.chop(1);
    else if (dlg::isSearchCharacter(key))
        KeresoSzoveg += key;
    else
        return;
    setWindowTitle(KeresoSzoveg.isEmpty() ? QStringLiteral("Minta(elem) tárgyai")
                                          : QStringLiteral("Minta(elem) tárgyai ... Keresés:") + KeresoSzoveg);
}

void TMintaTargy::B_torzsadatmentesClick()
{
    DM->TorzsadatMentes();
    B_torzsadatmentes->setVisible(false);
}

void TMintaTargy::B_okClick()
{
    if (B_torzsadatmentes->isVisibleTo(this))
        B_torzsadatmentesClick();
    accept();
}

void TMintaTargy::B_cancelClick()
{
    if (B_torzsadatmentes->isVisibleTo(this))
        B_torzsadatmentesClick();
    reject();
}
