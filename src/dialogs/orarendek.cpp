#include "dialogs/orarendek.h"

#include "data/datam.h"
#include "dialogs/dialogsCommon.h"
#include "platform/widgets/DBGrids.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Torarend_valaszto *orarend_valaszto = nullptr;

using dlg::intOf;
using dlg::textOf;

namespace {

bool isMarked(const TField &mark)
{
    return !mark.IsNull() && mark.AsInteger() == 1;
}

} // namespace

Torarend_valaszto::Torarend_valaszto(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("orarend_valaszto"));
    setWindowTitle(QStringLiteral("Órarendi kapcsoló"));
    resize(640, 400);

    MT_orarend_temp.SetName("MT_orarend_temp");
    // Persistent fields, so the mark's text handler outlives closing and reopening the table.
    addField(MT_orarend_temp, "orarend_id", ftAutoInc);
    addField(MT_orarend_temp, "megnevezes", ftString, 50);
    addField(MT_orarend_temp, "megjegyzes", ftString, 100);
    addField(MT_orarend_temp, "szak_id", ftInteger);
    addField(MT_orarend_temp, "hetek", ftString, 15);
    addField(MT_orarend_temp, "teszt", ftInteger);
    addField(MT_orarend_temp, "jelolo", ftInteger).OnGetText = [this](TField &sender, std::string &text,
                                                                      bool displayText) {
        MT_orarend_tempjeloloGetText(sender, text, displayText);
    };

    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    for (QLineEdit *edit : {Edit1, Edit2})
        edit->setReadOnly(true);

    DBGrid1 = new TDBGrid(this);
    DBGrid1->SetDataSource(&DS_orarend_temp);
    // The list is a copy made for the marks: nothing typed into it would reach the timetables.
    DBGrid1->SetReadOnly(true);
    const struct {
        const char *field;
        const char *title;
        int width;
    } columns[] = {
        {"jelolo", "Jelolo", 32},
        {"megnevezes", "Megnevezes", 281},
        {"megjegyzes", "Megjegyzes", 251},
        {"hetek", "Hetek", -1},
    };
    for (const auto &c : columns) {
        TColumn *column = DBGrid1->Columns().Add(c.field);
        column->Title().SetCaption(QString::fromUtf8(c.title));
        if (c.width > 0)
            column->SetWidth(c.width);
    }

    Button1 = new QPushButton(QStringLiteral("Kilépés"), this);

    auto *top = new QHBoxLayout;
    top->addWidget(Edit1, 1);
    top->addWidget(Edit2, 2);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(Button1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);

    DBGrid1->OnCellClick = [this](TColumn &column) { DBGrid1CellClick(column); };
    connect(Button1, &QPushButton::clicked, this, &Torarend_valaszto::Button1Click);
}

void Torarend_valaszto::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    FormShow();
    // Every column in view, however wide the font makes them; the mask's width is known once
    // the list is open.
    const QMargins margins = layout()->contentsMargins();
    const int needed = DBGrid1->WidthForAllColumns() + margins.left() + margins.right();
    if (width() < needed)
        resize(needed, height());
}

void Torarend_valaszto::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormClose();
}

std::string Torarend_valaszto::KurzusMegnevezes(int kurzusId, TDataSet *table)
{
    TDataSet &courses = table ? *table : DM->MT_kurzus_kereso;
    if (!courses.Active())
        return utf8ToCp1250("kurzustábla nem aktív");
    const bool current = !courses.IsEmpty() && intOf(courses, "kurzus_id") == kurzusId;
    if (!current && !courses.Locate("kurzus_id", kurzusId, {}))
        return utf8ToCp1250("kurzus hiányzik (" + std::to_string(kurzusId) + ")");
    std::string name = textOf(courses, "megnevezes");
    if (!name.empty())
        return name;
    const int targyId = intOf(courses, "targy_id");
    if (targyId < 0)
        return utf8ToCp1250("A tárgy vagy egyedi foglalás nem található!!!");
    return lookUp(DM->MT_targy, "targy_id", targyId, "targy_nev");
}

void Torarend_valaszto::FormShow()
{
    MT_orarend_temp.LoadFromDataSet(DM->MT_orarend, {});

    TztrMemTable &courses = DM->MT_kurzus;
    const bool current = !courses.IsEmpty() && intOf(courses, "kurzus_id") == KurzusId;
    if (!current && !courses.Locate("kurzus_id", KurzusId, {}))
        return;
    Edit1->setText(guiText(textOf(courses, "kurzus_kod_osszetett")));
    Edit2->setText(guiText(KurzusMegnevezes(KurzusId, &courses)));

    TztrMemTable &links = DM->MT_kurzusorarend;
    links.SetFilter("kurzus_id=" + std::to_string(KurzusId));
    links.SetFiltered(true);
    for (links.First(); !links.Eof(); links.Next()) {
        if (!MT_orarend_temp.Locate("orarend_id", intOf(links, "orarend_id"), {}))
            continue;
        MT_orarend_temp.Edit();
        MT_orarend_temp.FieldByName("jelolo")->SetAsInteger(1);
        MT_orarend_temp.Post();
    }
    links.SetFiltered(false);
    MT_orarend_temp.First();
}

void Torarend_valaszto::FormClose()
{
    MT_orarend_temp.Close();
}

void Torarend_valaszto::MT_orarend_tempjeloloGetText(TField &sender, std::string &text, bool)
{
    text = isMarked(sender) ? "X" : " ";
}

void Torarend_valaszto::DBGrid1CellClick(TColumn &column)
{
    if (column.FieldName() != "jelolo" || MT_orarend_temp.IsEmpty())
        return;
    TField *mark = MT_orarend_temp.FieldByName("jelolo");
    const int newMark = isMarked(*mark) ? 0 : 1;
    MT_orarend_temp.Edit();
    mark->SetAsInteger(newMark);
    MT_orarend_temp.Post();

    const int orarendId = intOf(MT_orarend_temp, "orarend_id");
    TztrMemTable &links = DM->MT_kurzusorarend;
    const Variant key = VarArrayOf({KurzusId, orarendId});
    const bool linked = links.Locate("kurzus_id;orarend_id", key, {});
    if (newMark == 1 && !linked) {
        links.Append();
        links.FieldByName("orarend_id")->SetAsInteger(orarendId);
        links.FieldByName("kurzus_id")->SetAsInteger(KurzusId);
        links.Post();
    } else if (newMark == 0 && linked) {
        links.Delete();
    }
}

void Torarend_valaszto::Button1Click()
{
    close();
}
