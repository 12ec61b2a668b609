#include "dialogs/tantargyszerv2.h"

#include "dialogs/dialogsCommon.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

Ttargyszervezo2 *targyszervezo2 = nullptr;

Ttargyszervezo2::Ttargyszervezo2(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("targyszervezo2"));
    setWindowTitle(QStringLiteral("Órarendi elemek létrehozása"));
    Tkod = new QLabel(this);
    Tcim = new QLabel(this);
    auto *rows = new QGridLayout;
    for (int i = 0; i < RowCount; ++i) {
        Lkod[i] = new QLabel(this);
        Lt[i] = new QLabel(this);
        SE[i] = new QSpinBox(this);
        rows->addWidget(Lkod[i], i, 0);
        rows->addWidget(Lt[i], i, 1);
        rows->addWidget(SE[i], i, 2);
    }
    Button1 = new QPushButton(QStringLiteral("Vissza"), this);
    Button2 = new QPushButton(QStringLiteral("Ok"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Tkod);
    layout->addWidget(Tcim);
    layout->addLayout(rows);
    layout->addLayout(buttons);
    SetupInput();

    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, [this] {
        Button2Click();
        accept();
    });
}

void Ttargyszervezo2::SetupInput()
{
    for (int i = 0; i < RowCount; ++i)
        for (QWidget *control : std::initializer_list<QWidget *>{Lkod[i], Lt[i], SE[i]})
            control->setVisible(false);
}

void Ttargyszervezo2::FormShow()
{
    SetupInput();
    Darab = 0;
}

void Ttargyszervezo2::SetInput(const std::string &kod, const std::string &tipus)
{
    if (Darab >= RowCount)
        return;
    const int row = Darab++;
    Lkod[row]->setText(guiText(kod));
    Lt[row]->setText(guiText(tipus));
    SE[row]->setValue(1);
    for (QWidget *control : std::initializer_list<QWidget *>{Lkod[row], Lt[row], SE[row]})
        control->setVisible(true);
}

void Ttargyszervezo2::Button2Click()
{
    Kodok = {};
    Tipusok = {};
    Szamok = {};
    for (int i = 0; i < Darab; ++i) {
        Kodok[i] = dataText(Lkod[i]->text());
        Tipusok[i] = dataText(Lt[i]->text());
        Szamok[i] = SE[i]->value();
    }
}

void Ttargyszervezo2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}
