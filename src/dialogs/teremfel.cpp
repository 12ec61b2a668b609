#include "dialogs/teremfel.h"

#include "data/datam.h"
#include "dialogs/HeadCount.h"
#include "dialogs/dialogsCommon.h"
#include "platform/widgets/FieldTextInput.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tteremfelvetel *teremfelvetel = nullptr;

Tteremfelvetel::Tteremfelvetel(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("teremfelvetel"));
    setWindowTitle(QStringLiteral("Terem felvétel"));

    TztrMemTable &rooms = DM->MT_terem;
    Edit1 = new QLineEdit(this);
    limitEditToField(*Edit1, rooms.FieldByName("terem_hely"));
    Edit2 = new QLineEdit(this);
    limitEditToField(*Edit2, rooms.FieldByName("terem_kod"));
    // Room numbers are kept short, though the field would take more.
    Edit2->setMaxLength(20);
    Edit3 = new QLineEdit(this);
    Edit4 = new QLineEdit(this);
    limitEditToField(*Edit4, rooms.FieldByName("terem_telephely"));
    Button1 = new QPushButton(QStringLiteral("Felvétel"), this);
    Button2 = new QPushButton(QStringLiteral("Mégsem"), this);

    auto *edits = new QFormLayout;
    edits->addRow(QStringLiteral("Épületkód:"), Edit1);
    edits->addRow(QStringLiteral("Terem szám:"), Edit2);
    edits->addRow(QStringLiteral("Max létszám:"), Edit3);
    edits->addRow(QStringLiteral("Telephely:"), Edit4);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(edits);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &Tteremfelvetel::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tteremfelvetel::Button2Click);

    FormCreate();
}

void Tteremfelvetel::FormCreate()
{
    Edit1->clear();
    Edit2->clear();
    Edit3->setText(QStringLiteral("0"));
    Edit4->setText(QStringLiteral("Kelmendor"));
}

void Tteremfelvetel::Button1Click()
{
    if (Edit1->text().isEmpty() || Edit2->text().isEmpty()) {
        ShowMessage(this, QStringLiteral("Kérem töltse ki a terem kódot és a helyet!"));
        return;
    }
    const std::optional<int> capacity = countOf(Edit3->text());
    if (!capacity) {
        ShowMessage(this, countRefusal(Edit3->text()));
        return;
    }
    TztrMemTable &rooms = DM->MT_terem;
    // Checked before the row is begun, so a refusal leaves no half-made room behind.
    std::string code, place, site;
    if (!storableOrTold(this, [&] {
            code = storableFieldText(Edit2->text(), rooms.FieldByName("terem_kod"));
            place = storableFieldText(Edit1->text(), rooms.FieldByName("terem_hely"));
            site = storableFieldText(Edit4->text(), rooms.FieldByName("terem_telephely"));
        }))
        return;
    rooms.Insert();
    rooms.FieldByName("terem_kod")->SetAsString(code);
    rooms.FieldByName("terem_hely")->SetAsString(place);
    rooms.FieldByName("terem_kapacitas")->SetAsInteger(*capacity);
    rooms.FieldByName("terem_telephely")->SetAsString(site);
    rooms.Post();
    DM->Mentes();
    // The rooms file is master data: without this the occasions just saved would point to a
    // room that the next start does not know.
    DM->TorzsadatMentes();
    accept();
}

void Tteremfelvetel::Button2Click()
{
    reject();
}
