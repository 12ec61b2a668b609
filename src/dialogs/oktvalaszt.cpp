#include "dialogs/oktvalaszt.h"

#include "data/datam.h"
#include "dialogs/Oktatofoglaltsag.h"
#include "dialogs/dialogsCommon.h"
#include "platform/widgets/DBGrids.h"
#include "platform/widgets/FieldTextInput.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Toktval *oktval = nullptr;

using dlg::intOf;
using dlg::textOf;

namespace {

// Names this short are taken for typing mistakes and ignored.
constexpr int ShortestName = 5;

} // namespace

Toktval::Toktval(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("oktval"));
    setWindowTitle(QStringLiteral("Oktató választása"));
    resize(520, 480);

    DBGrid1 = new TDBGrid(this);
    DBGrid1->SetDataSource(&DM->DS_oktato);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetOptions(DBGrid1->Options() + TDBGridOptions{dgRowSelect});
    TColumn *code = DBGrid1->Columns().Add("oktato_kkod");
    code->Title().SetCaption(QStringLiteral("Azonosító"));
    code->SetWidth(150);
    TColumn *name = DBGrid1->Columns().Add("oktato_nev");
    name->Title().SetCaption(QStringLiteral("Oktató neve"));
    name->SetWidth(300);

    PM = new QMenu(this);
    Mdosts1 = PM->addAction(QStringLiteral("Módosítás"));
    Oktatrarendje1 = PM->addAction(QStringLiteral("Oktató órarendje"));
    DBGrid1->SetPopupMenu(PM);

    Label1 = new QLabel(QStringLiteral("Oktató neve :"), this);
    Edit1 = new QLineEdit(this);
    limitEditToField(*Edit1, DM->MT_oktato.FieldByName("oktato_nev"));
    Edit2 = new QLineEdit(this);
    limitEditToField(*Edit2, DM->MT_oktato.FieldByName("oktato_kkod"));
    Button3 = new QPushButton(QStringLiteral("Újbeírás"), this);
    Button1 = new QPushButton(QStringLiteral("Vissza"), this);
    Button2 = new QPushButton(QStringLiteral("Kiválaszt"), this);

    auto *entry = new QHBoxLayout;
    entry->addWidget(Label1);
    entry->addWidget(Edit1, 2);
    entry->addWidget(Edit2, 1);
    entry->addWidget(Button3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(entry);
    layout->addLayout(buttons);

    DBGrid1->OnCellClick = [this](TColumn &column) { DBGrid1CellClick(column); };
    DBGrid1->OnTitleClick = [this](TColumn &column) { DBGrid1TitleClick(column); };
    DBGrid1->OnKeyDown = [this](TDBGrid &, int &key, Qt::KeyboardModifiers) { DBGrid1KeyDown(key); };
    connect(Mdosts1, &QAction::triggered, this, &Toktval::Mdosts1Click);
    connect(Oktatrarendje1, &QAction::triggered, this, &Toktval::Oktatrarendje1Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button3, &QPushButton::clicked, this, &Toktval::Button3Click);
}

void Toktval::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Toktval::FormShow()
{
    for (QWidget *entry : std::initializer_list<QWidget *>{Button3, Edit1, Edit2, Label1})
        entry->setVisible(DM->Admin);
    // A change begun at the last opening is dropped with its texts: the button says "Újbeírás",
    // and a name typed now must not overwrite whichever teacher happens to be current.
    startNewEntry();
}

void Toktval::startNewEntry()
{
    Edit1->clear();
    Edit2->clear();
    Button3->setText(QStringLiteral("Újbeírás"));
    Modositas = false;
}

void Toktval::DBGrid1CellClick(TColumn &)
{
    startNewEntry();
}

void Toktval::DBGrid1KeyDown(int key)
{
    // Letter keys carry their upper-case character code.
    if (key <= 0 || key > 0xFF)
        return;
    TztrMemTable &teachers = DM->MT_oktato;
    if (teachers.IsEmpty())
        return;
    const std::string letter(1, char(key));
    const std::string name = textOf(teachers, "oktato_nev");
    if (!name.empty() && name.front() == letter.front()) {
        teachers.Next();
        return;
    }
    // A failed search leaves the cursor where it was.
    teachers.Locate("oktato_nev", letter, {loCaseInsensitive, loPartialKey});
}

void Toktval::DBGrid1TitleClick(TColumn &column)
{
    DM->MT_oktato.SetIndexFieldNames(column.FieldName());
}

void Toktval::Mdosts1Click()
{
    TztrMemTable &teachers = DM->MT_oktato;
    if (teachers.IsEmpty())
        return;
    Edit1->setText(guiText(textOf(teachers, "oktato_nev")));
    Edit2->setText(guiText(textOf(teachers, "oktato_kkod")));
    Button3->setText(QStringLiteral("Módosítás"));
    Modositas = true;
}

void Toktval::Button3Click()
{
    if (Edit1->text().size() < ShortestName)
        return;
    TztrMemTable &teachers = DM->MT_oktato;
    const std::string name = storableFieldText(Edit1->text(), teachers.FieldByName("oktato_nev"));
    const std::string code = storableFieldText(Edit2->text(), teachers.FieldByName("oktato_kkod"));
    if (Modositas) {
        teachers.Edit();
        teachers.FieldByName("oktato_nev")->SetAsString(name);
        teachers.FieldByName("oktato_kkod")->SetAsString(code);
        teachers.Post();
    } else if (!teachers.Locate("oktato_nev", name, {loCaseInsensitive})) {
        teachers.Insert();
        teachers.FieldByName("oktato_nev")->SetAsString(name);
        // A teacher without a code gets one made of its new number.
        teachers.FieldByName("oktato_kkod")
            ->SetAsString(code.empty() ? "." + std::to_string(intOf(teachers, "oktato_id")) : code);
        teachers.Post();
    }
    startNewEntry();
}

void Toktval::Oktatrarendje1Click()
{
    if (!Oktatofog || DM->MT_oktato.IsEmpty())
        return;
    Oktatofog->OktatoId = intOf(DM->MT_oktato, "oktato_id");
    Oktatofog->NaptarBeallitas(ScaleMode, MainCalendar);
    Oktatofog->exec();
}
