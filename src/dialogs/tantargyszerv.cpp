#include "dialogs/tantargyszerv.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

Ttantargyszervezes *tantargyszervezes = nullptr;

Ttantargyszervezes::Ttantargyszervezes(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("tantargyszervezes"));
    setWindowTitle(QStringLiteral("Tantárgy hirdetés"));

    Tkod = new QLabel(this);
    Tcim = new QLabel(this);
    auto *counts = new QFormLayout;
    const QString labels[] = {QStringLiteral("Előadás darabszáma:"), QStringLiteral("Gyakorlat darabszáma:"),
                              QStringLiteral("Labor darabszáma:")};
    QSpinBox **spins[] = {&SpinEdit1, &SpinEdit2, &SpinEdit3};
    for (int i = 0; i < 3; ++i) {
        *spins[i] = new QSpinBox(this);
        (*spins[i])->setRange(0, 10);
        counts->addRow(labels[i], *spins[i]);
    }
    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button2 = new QPushButton(QStringLiteral("Vissza"), this);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Tkod);
    layout->addWidget(Tcim);
    layout->addLayout(counts);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &Ttantargyszervezes::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void Ttantargyszervezes::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Ttantargyszervezes::FormShow()
{
    const int offered[] = {EloadasDarab, GyakorlatDarab, LaborDarab};
    QSpinBox *spins[] = {SpinEdit1, SpinEdit2, SpinEdit3};
    for (int i = 0; i < 3; ++i) {
        spins[i]->setValue(offered[i] >= 1 ? 1 : 0);
        spins[i]->setEnabled(offered[i] >= 1);
    }
}

void Ttantargyszervezes::Button1Click()
{
    EloadasDarab = SpinEdit1->value();
    GyakorlatDarab = SpinEdit2->value();
    LaborDarab = SpinEdit3->value();
    accept();
}
