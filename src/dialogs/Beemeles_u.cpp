#include "dialogs/Beemeles_u.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TEmelo *Emelo = nullptr;

TEmelo::TEmelo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Emelo"));
    setWindowTitle(QStringLiteral("Emelo"));
    DCB = new QComboBox(this);
    for (const QFileInfo &drive : QDir::drives())
        DCB->addItem(drive.absoluteFilePath());
    DLB = new QListWidget(this);
    P = new QLineEdit(this);
    PB = new QProgressBar(this);
    PB->setMaximum(900);
    B_osszefesules = new QPushButton(QStringLiteral("Összefésülés"), this);
    B_megse = new QPushButton(QStringLiteral("Mégse"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_osszefesules);
    buttons->addWidget(B_megse);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DCB);
    layout->addWidget(DLB, 1);
    layout->addWidget(P);
    layout->addWidget(PB);
    layout->addLayout(buttons);
    if (DCB->count() > 0)
        SetMappa(DCB->itemText(0));

    connect(DCB, &QComboBox::currentTextChanged, this, &TEmelo::DCBChange);
    connect(DLB, &QListWidget::currentRowChanged, this, &TEmelo::DLBChange);
    connect(DLB, &QListWidget::itemClicked, this, &TEmelo::DLBChange);
    connect(B_megse, &QPushButton::clicked, this, &QDialog::reject);
}

void TEmelo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TEmelo::FormShow()
{
    PB->setValue(0);
}

void TEmelo::SetMappa(const QString &folder)
{
    mappa_ = folder;
    const QSignalBlocker quiet(DLB);
    DLB->clear();
    DLB->addItems(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name));
}

void TEmelo::DCBChange()
{
    SetMappa(DCB->currentText());
}

void TEmelo::DLBChange()
{
    if (const QListWidgetItem *item = DLB->currentItem())
        P->setText(QDir(mappa_).filePath(item->text()));
}
