#include "dialogs/orarentitle.h"

#include "data/datam.h"
#include "dialogs/dialogsCommon.h"
#include "dialogs/hetek_edit.h"
#include "platform/TextFields.h"
#include "platform/widgets/DBGrids.h"
#include "platform/widgets/FieldTextInput.h"
#include "platform/widgets/KeepPlaceWhenHidden.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Torarend *orarend = nullptr;

namespace {

QLineEdit *labelledEdit(QGridLayout *layout, int row, const QString &label, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    layout->addWidget(new QLabel(label, parent), row, 0);
    layout->addWidget(edit, row, 1);
    return edit;
}

} // namespace

Torarend::Torarend(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("orarend"));
    setWindowTitle(QStringLiteral("Órarend"));
    setFixedSize(746, 292);
    FormShow();

    DBGrid1 = new TDBGrid(this);
    DBGrid1->SetDataSource(&DM->DS_orarend);
    const struct {
        const char *field;
        QString title;
        int width;
    } columns[] = {
        {"megnevezes", QStringLiteral("Megnevezés"), 200},
        {"megjegyzes", QStringLiteral("Megjegyzés"), 220},
        // From the field's size, so that a whole mask of fifteen weeks shows.
        {"hetek", QStringLiteral("Gyakoriság"), -1},
        {"teszt", QStringLiteral("X"), 20},
    };
    for (const auto &c : columns) {
        TColumn *column = DBGrid1->Columns().Add(c.field);
        column->Title().SetCaption(c.title);
        if (c.width >= 0)
            column->SetWidth(c.width);
    }
    DBGrid1->Columns()[3]->Title().SetAlignment(taCenter);
    DBGrid1->WidenColumnsToTitles();

    auto *edits = new QGridLayout;
    Edit1 = labelledEdit(edits, 0, QStringLiteral("Órarend neve:"), this);
    Edit2 = labelledEdit(edits, 1, QStringLiteral("Megjegyés:"), this);
    DefHetek = labelledEdit(edits, 2, QStringLiteral("Gyakoriság:"), this);
    limitEditToField(*Edit1, DM->MT_orarend.FieldByName("megnevezes"));
    limitEditToField(*Edit2, DM->MT_orarend.FieldByName("megjegyzes"));
    limitEditToField(*DefHetek, DM->MT_orarend.FieldByName("hetek"));
    DefHetek->setToolTip(QStringLiteral("Gyakoriság: A pozícióban lévő 1 foglalást jelent."));
    DefHetek->installEventFilter(this);

    Button1 = new QPushButton(QStringLiteral("Mentés"), this);
    Button2 = new QPushButton(QStringLiteral("Kiválasztás"), this);
    Button3 = new QPushButton(QStringLiteral("Mégsem"), this);
    Button4 = new QPushButton(QStringLiteral("Összefésülés"), this);
    BTNExport = new QPushButton(QStringLiteral("Export"), this);
    PB = new QProgressBar(this);
    PB2 = new QProgressBar(this);
    for (QProgressBar *bar : {PB, PB2}) {
        bar->setTextVisible(false);
        // Until an export runs, an empty bar only looks like a field to type into; its place is
        // kept so that nothing moves when it shows.
        keepPlaceWhenHidden(*bar);
        bar->hide();
    }

    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {Button1, Button2, Button3, Button4, BTNExport})
        buttons->addWidget(button);
    buttons->addStretch();
    auto *bottom = new QHBoxLayout;
    bottom->addLayout(edits, 1);
    auto *bars = new QVBoxLayout;
    bars->addWidget(PB);
    bars->addWidget(PB2);
    bottom->addLayout(bars, 1);
    auto *left = new QVBoxLayout;
    left->addWidget(DBGrid1, 1);
    left->addLayout(bottom);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    DBGrid1->OnCellClick = [this](TColumn &column) { DBGrid1CellClick(column); };
    connect(Button1, &QPushButton::clicked, this, &Torarend::MentesUjkentClick);
    connect(Button2, &QPushButton::clicked, this, &Torarend::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &Torarend::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &Torarend::BemelesClick);
    connect(BTNExport, &QPushButton::clicked, this, &Torarend::BTNExportClick);
}

void Torarend::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centerOnScreen(*this);
    FormShow();
}

bool Torarend::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DefHetek && event->type() == QEvent::MouseButtonDblClick) {
        DefHetekDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Torarend::FormShow()
{
    OrarendId = -1;
    Hetek.clear();
    Csengetesirend = utf8ToCp1250("ZQF alapértelmezett 2");
}

void Torarend::DBGrid1CellClick(TColumn &column)
{
    TztrMemTable &table = DM->MT_orarend;
    if (column.FieldName() == "teszt" && !table.IsEmpty()) {
        TField *teszt = table.FieldByName("teszt");
        const bool marked = !teszt->IsNull() && teszt->AsInteger() == 1;
        // A click on the current cell opens the in-place editor; its stale text must not be
        // written back over the toggled mark when the cell is left.
        DBGrid1->SetEditorMode(false);
        table.Edit();
        teszt->SetAsInteger(marked ? 0 : 1);
        table.Post();
        return;
    }
    Edit1->setText(guiText(table.FieldByName("megnevezes")->AsString()));
    Edit2->setText(guiText(table.FieldByName("megjegyzes")->AsString()));
    DefHetek->setText(guiText(table.FieldByName("hetek")->AsString()));
}

void Torarend::MentesUjkentClick()
{
    if (Edit1->text().isEmpty())
        return;
    TztrMemTable &table = DM->MT_orarend;
    std::string name, remark, weeks;
    // Checked before the name is looked up: a text cut or changed to fit would find, or become,
    // another timetable's name.
    if (!storableOrTold(this, [&] {
            name = storableFieldText(Edit1->text(), table.FieldByName("megnevezes"));
            remark = storableFieldText(Edit2->text(), table.FieldByName("megjegyzes"));
            weeks = storableFieldText(DefHetek->text(), table.FieldByName("hetek"));
        }))
        return;
    if (table.Locate("megnevezes", Variant(name), {}))
        return;
    try {
        table.Insert();
        table.FieldByName("megnevezes")->SetAsString(name);
        table.FieldByName("megjegyzes")->SetAsString(remark);
        table.FieldByName("hetek")->SetAsString(weeks);
        table.Post();
        // The index places the new row by its name; the grid is to stand on it.
        table.Locate("megnevezes", Variant(name), {});
    } catch (const std::exception &) {
        // A half-made row left in insert mode would be posted by the next edit of the grid.
        if (table.State() == dsInsert)
            table.Cancel();
        ShowMessage(this, QStringLiteral("Hiba"));
    }
}

void Torarend::Button2Click()
{
    TztrMemTable &table = DM->MT_orarend;
    if (table.Eof())
        return;
    OrarendId = table.FieldByName("orarend_id")->AsInteger();
    Hetek = table.FieldByName("hetek")->AsString();
    close();
}

void Torarend::Button3Click()
{
    close();
}

void Torarend::BemelesClick()
{
    ShowMessage(this, QStringLiteral("Beemelés megszüntetve!!!"));
}

void Torarend::DefHetekDblClick()
{
    edithetek->Hetek = DM->MT_orarend.FieldByName("hetek")->AsString();
    edithetek->Gyakorisag = 0;
    // The editor takes masks as long as an occasion's; the edit would cut a longer one silently.
    if (edithetek->exec() == QDialog::Accepted && storableOrTold(this, [&] {
            CheckTextFits(*DM->MT_orarend.FieldByName("hetek"), edithetek->Hetek.size());
        }))
        DefHetek->setText(guiText(edithetek->Hetek));
}
