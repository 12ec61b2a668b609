#include "dialogs/szakvalaszto.h"

#include "platform/widgets/DBGrids.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

Tszakval *szakval = nullptr;

Tszakval::Tszakval(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("szakval"));
    setWindowTitle(QStringLiteral("Szakválasztó"));
    DBGrid1 = new TDBGrid(this);
    DBGrid1->Columns().Add("szak_id");
    Button1 = new QPushButton(QStringLiteral("Vissza"), this);
    Button2 = new QPushButton(QStringLiteral("Kiválaszt"), this);
    Button3 = new QPushButton(QStringLiteral("Kiválasztás törlése"), this);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {Button1, Button2, Button3})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &Tszakval::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tszakval::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &Tszakval::Button3Click);
}

void Tszakval::Button1Click()
{
    SzakId = -1;
    reject();
}

void Tszakval::Button2Click()
{
    // Without a table there is no row to take.
    TDataSet *table = DBGrid1->DataSet();
    if (!table || !table->Active() || table->IsEmpty())
        return;
    const int id = table->FieldByName("szak_id")->AsInteger();
    if (id < 0)
        return;
    SzakId = id;
    accept();
}

void Tszakval::Button3Click()
{
    SzakId = 0;
    accept();
}
