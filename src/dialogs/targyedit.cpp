#include "dialogs/targyedit.h"

#include "dialogs/dialogTables.h"
#include "dialogs/dialogsCommon.h"
#include "platform/widgets/DBGrids.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QValidator>
#include <QVBoxLayout>

TTargyeditor *Targyeditor = nullptr;

namespace {

// Keeps the typed text in upper case.
class UpperCaseText : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

TTargyeditor::TTargyeditor(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Targyeditor"));
    setWindowTitle(QStringLiteral("Tantárgy létrehozása"));

    auto *upper = new UpperCaseText(this);
    E_kod = new QLineEdit(this);
    E_kod->setValidator(upper);
    E_nev = new QLineEdit(this);
    QLineEdit **hours[] = {&E_ea, &E_gy, &E_gy2, &E_gy3, &E_la, &E_la2, &E_la3, &E_kredit};
    for (QLineEdit **edit : hours)
        *edit = new QLineEdit(this);
    CB_sablon = new QComboBox(this);
    CB_sablon->setEditable(true);
    CB_sablon->addItems({QStringLiteral("A"), QStringLiteral("F"), QStringLiteral("S"), QStringLiteral("V")});
    CB_sablon->lineEdit()->setMaxLength(1);
    CB_sablon->lineEdit()->setValidator(upper);
    // The department list it was bound to is not part of the data.
    CB_tanszek = new QComboBox(this);
    CB_tanszek->setVisible(false);
    DBGrid1 = new TDBGrid(this);
    const std::pair<const char *, QString> columns[] = {{"targykod", QStringLiteral("Tárgykód")},
                                                        {"targynev", QStringLiteral("Tárgynév")},
                                                        {"targynev_angol", QStringLiteral("Tárgynév (angol)")},
                                                        {"kurzuskod_ea", QString()}};
    for (const auto &[field, title] : columns) {
        TColumn *column = DBGrid1->Columns().Add(field);
        if (!title.isEmpty())
            column->Title().SetCaption(title);
    }
    B_megse = new QPushButton(QStringLiteral("Mégse"), this);
    B_mentes = new QPushButton(QStringLiteral("Mentés*"), this);
    B_mentesujkent = new QPushButton(QStringLiteral("Mentés újként"), this);
    B_mentesujkent->setVisible(false);
    B_mentestargy = new QPushButton(QStringLiteral("Mentés tárgy alapján"), this);
    B_mentestargy->setVisible(false);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Kód*"), E_kod);
    form->addRow(QStringLiteral("Megnevezés*"), E_nev);
    auto *gyak = new QHBoxLayout;
    for (QLineEdit *edit : {E_gy, E_gy2, E_gy3})
        gyak->addWidget(edit);
    auto *labor = new QHBoxLayout;
    for (QLineEdit *edit : {E_la, E_la2, E_la3})
        labor->addWidget(edit);
    form->addRow(QStringLiteral("Előadás"), E_ea);
    form->addRow(QStringLiteral("Gyakorlat"), gyak);
    form->addRow(QStringLiteral("Labor"), labor);
    form->addRow(QStringLiteral("Kredit"), E_kredit);
    form->addRow(QStringLiteral("Sablon"), CB_sablon);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {B_megse, B_mentes, B_mentesujkent, B_mentestargy})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);

    connect(E_kod, &QLineEdit::textChanged, this, &TTargyeditor::E_kodChange);
    connect(E_nev, &QLineEdit::textChanged, this, &TTargyeditor::E_nevChange);
    connect(B_megse, &QPushButton::clicked, this, &TTargyeditor::B_megseClick);
    for (QPushButton *save : {B_mentes, B_mentesujkent, B_mentestargy})
        connect(save, &QPushButton::clicked, this, &TTargyeditor::B_mentesClick);
}

void TTargyeditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TTargyeditor::FormShow()
{
    Kitoltes = true;
    CB_sablon->setCurrentText(QStringLiteral("V"));
    E_kod->clear();
    E_nev->clear();
    for (QLineEdit *edit : {E_ea, E_gy, E_gy2, E_gy3, E_la, E_la2, E_la3})
        edit->setText(QStringLiteral("0"));
    E_kredit->setText(KastorelTargyId > 0 ? QStringLiteral("99") : QStringLiteral("0"));
    B_mentesujkent->setVisible(false);
    E_kod->setFocus();
    Kitoltes = false;
}

void TTargyeditor::E_kodChange()
{
    if (E_kod->hasFocus() && !Kitoltes)
        Szuro = "targykod like " + dlg::likePattern(dataText(E_kod->text()));
}

void TTargyeditor::E_nevChange()
{
    if (E_nev->hasFocus() && !Kitoltes)
        Szuro = "targynev like " + dlg::likePattern(dataText(E_nev->text()));
}

void TTargyeditor::B_megseClick()
{
    TargyId = -1;
    KastorelTargyId = -1;
    reject();
}

void TTargyeditor::B_mentesClick()
{
    KastorelTargyId = -1;
    accept();
}
