#include "dialogs/letszaminp.h"

#include "dialogs/dialogsCommon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Tletszam *letszam = nullptr;

Tletszam::Tletszam(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("letszam"));
    setWindowTitle(QStringLiteral("Maximális létszám"));

    Label1 = new QLabel(QStringLiteral("Maximális létszám:"), this);
    Edit1 = new QLineEdit(this);
    // Three optional digits with a blank in each empty place; the first may be a sign, so that
    // -1, a subject's "no limit", is shown and kept as it is.
    Edit1->setInputMask(QStringLiteral("#00; "));
    Edit1->setMaxLength(3);
    Button1 = new QPushButton(QStringLiteral("Mentés"), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Mégse"), this);

    auto *row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(Edit1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);

    // Leaving the edit checks it whether or not it was changed, which editingFinished does not.
    Edit1->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void Tletszam::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centerOnScreen(*this);
    FormActivate();
}

bool Tletszam::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit1 && event->type() == QEvent::FocusOut)
        Edit1Exit();
    return QDialog::eventFilter(watched, event);
}

void Tletszam::FormActivate()
{
    Edit1->setFocus();
}

void Tletszam::Edit1Exit()
{
    bool isNumber = false;
    Edit1->text().trimmed().toInt(&isNumber);
    if (!isNumber)
        Edit1->setText(QStringLiteral("0"));
}
