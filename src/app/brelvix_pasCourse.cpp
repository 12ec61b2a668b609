// Course editing from the edit row, single reservations, and taking a course out of or copying
// it into the current timetable.

#include "app/brelvix_pas.h"

#include "app/brelvix_pasCommon.h"
#include "data/datam.h"
#include "dialogs/targybeemeles.h"
#include "dialogs/targykival.h"
#include "platform/FormatSettings.h"
#include "platform/widgets/FieldTextInput.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace mainwindow;

namespace {

constexpr int RoomsMode = 2;

std::string dataText(const QLineEdit &edit)
{
    return utf8ToCp1250(edit.text().toStdString());
}

// The text of an edit as the course field would hold it; raises for what the field cannot hold.
std::string courseText(const QString &text, const char *field)
{
    return storableFieldText(text, DM->MT_kurzus.FieldByName(field));
}

// Edits the current row of `table` through `write` and posts it; a value the fields refuse
// leaves the row as it was instead of half edited.
template <class Write>
void editRow(TDataSet &table, Write write)
{
    table.Edit();
    try {
        write();
        table.Post();
    } catch (...) {
        table.Cancel();
        throw;
    }
}

} // namespace

void TForm1::B_letrehozasClick()
{
    if (TimetableId < 0)
        return;
    Targyfelvet->OrarendId = TimetableId;
    Targyfelvet->exec();
    if (Targyfelvet->OrarendId == 0)
        RefreshView();
}

void TForm1::B_beemelesClick()
{
    if (TimetableId < 0)
        return;
    beemeles->OrarendId = TimetableId;
    beemeles->exec();
    if (beemeles->OrarendId < 0)
        RefreshView();
}

void TForm1::B_egyedifoglalasClick()
{
    // A single reservation belongs to the shown timetable, or in room mode to the chosen room.
    if (TimetableId < 0 && WorkMode != RoomsMode)
        return;
    Edit1->setReadOnly(false);
    Edit1->setText(QStringLiteral("Egyedi"));
    Edit2->clear();
    Edit2->setFocus();
    Edit3->clear();
    Edit4->setText(QStringLiteral("0"));
    B_kurzusmentes->setText(QStringLiteral(" Foglalás"));
}

void TForm1::Edit1Exit()
{
    Edit1->setReadOnly(!DM->Admin);
}

void TForm1::Edit4Change()
{
    int ignored = 0;
    // An empty text passes; a sign or any other character does not.
    if (!TryStrToInt("0" + dataText(*Edit4), ignored))
        Edit4->setText(QStringLiteral("0"));
}

void TForm1::B_kurzusmentesClick()
{
    const bool singleReservation = B_kurzusmentes->text().startsWith(QLatin1Char(' '));
    QTreeWidgetItem *row = selectedRow();
    if (singleReservation) {
        if (Edit1->text().size() < 5 || Edit2->text().size() < 5) {
            showMessage(this, QStringLiteral("A kód és a megnevezés hossza legalább 5 karakter kell legyen!"));
            return;
        }
        CreateCourse(TimetableId, Edit1->text(), Edit2->text(), StrToInt(dataText(*Edit4)), Edit3->text());
        Edit1->setReadOnly(!DM->Admin);
        return;
    }
    if (!row)
        return;

    // Refused before anything changes, the list row included.
    const std::string code = courseText(Edit1->text(), "kurzus_kod_osszetett");
    const std::string title = courseText(Edit2->text(), "megnevezes");
    const std::string remark = courseText(Edit3->text(), "megjegyzes");
    const int id = rowCourseId(*row);
    row->setText(1, Edit2->text());
    row->setText(2, Edit4->text());
    row->setText(3, Edit3->text());
    TztrMemTable &courses = DM->MT_kurzus;
    if (courses.Locate("kurzus_id", id, {})) {
        const bool codeChange = DM->Admin && code != textOf(courses, "kurzus_kod_osszetett");
        bool duplicate = false;
        if (codeChange) {
            if (!DM->MT_kurzus_kereso.Active())
                DM->MT_kurzus_kereso.Open();
            duplicate = DM->MT_kurzus_kereso.Locate("kurzus_kod_osszetett", code, {});
        }
        editRow(courses, [&] {
            if (codeChange && !duplicate)
                courses.FieldByName("kurzus_kod_osszetett")->SetAsString(code);
            courses.FieldByName("megnevezes")->SetAsString(title);
            courses.FieldByName("megjegyzes")->SetAsString(remark);
            courses.FieldByName("max_letszam")->SetAsString(dataText(*Edit4));
        });
        if (codeChange && !duplicate)
            row->setText(0, Edit1->text());
        if (duplicate)
            showMessage(this, QStringLiteral("Ilyen kurzuskód már szerepel a nyilvántartásban!\r"
                                             "A kurzuskód nem került mentésre!"));
        if (selectedRow() == row && rowCourseId(*row) == id) {
            QString title;
            CourseTitle(id, &courses, title);
            row->setText(1, title);
        }
        SelectCourse(QStringLiteral("VL"), id, -1);
    }
    Edit1->setReadOnly(!DM->Admin);
}

void TForm1::CreateCourse(int timetableId, const QString &code, const QString &title, int headCount,
                          const QString &remark)
{
    const std::string storedCode = courseText(code, "kurzus_kod_osszetett");
    const std::string storedTitle = courseText(title, "megnevezes");
    const std::string storedRemark = courseText(remark, "megjegyzes");
    TztrMemTable &courses = DM->MT_kurzus;
    courses.Append();
    try {
        courses.FieldByName("kurzus_kod_osszetett")->SetAsString(storedCode);
        courses.FieldByName("megnevezes")->SetAsString(storedTitle);
        courses.FieldByName("megjegyzes")->SetAsString(storedRemark);
        courses.FieldByName("max_letszam")->SetAsInteger(headCount);
        courses.FieldByName("targy_id")->SetAsInteger(-1);
        for (const char *field : {"kurzus_kod", "kurzus_tipus", "kurzus_sorszam"})
            courses.FieldByName(field)->SetAsString(std::string());
        courses.Post();
    } catch (...) {
        courses.Cancel();
        throw;
    }
    const int id = intOf(courses, "kurzus_id");
    TztrMemTable &links = DM->MT_kurzusorarend;
    links.Append();
    links.FieldByName("orarend_id")->SetAsInteger(timetableId);
    links.FieldByName("kurzus_id")->SetAsInteger(id);
    links.Post();
    RefreshView();
    SelectCourse(QStringLiteral("VL"), id, -1);
}

int TForm1::courseInFocus() const
{
    if (hasRow(&MT_alkalom_temp))
        return intOf(MT_alkalom_temp, "kurzus_id");
    return selectedCourseId();
}

void TForm1::EltavolitoClick()
{
    if (LV->topLevelItemCount() == 0)
        return;
    const int id = courseInFocus();
    if (id < 0) {
        showMessage(this, QStringLiteral("Hiányzó kurzus!"));
        return;
    }
    TztrMemTable &links = DM->MT_kurzusorarend;
    links.SetFiltered(false);
    if (!links.Locate("kurzus_id;orarend_id", VarArrayOf({id, TimetableId}), {})) {
        showMessage(this, QStringLiteral("Nem található a kurzus az órarendben!"));
        return;
    }
    if (!confirm(this, QStringLiteral("Valóban el akarja távolítani az órarendből?")))
        return;
    links.Delete();
    RefreshView();
}

void TForm1::Szaporito1Click()
{
    if (LV->topLevelItemCount() == 0)
        return;
    TztrMemTable &courses = DM->MT_kurzus;
    if (!courses.Locate("kurzus_id", courseInFocus(), {}))
        return;
    // A copy is made of the group's head, which the dialog reads from the course table.
    const int head = intOf(courses, "kurzus_id_csatolt");
    if (head > 0 && !courses.Locate("kurzus_id", head, {}))
        return;
    const int source = intOf(courses, "kurzus_id");
    if (TimetableId >= 0) {
        Targyfelvet->OrarendId = -1 - TimetableId;
        Targyfelvet->ForrasKurzusId = source;
        Targyfelvet->exec();
    }
    if (Targyfelvet->OrarendId != 0)
        return;
    RefreshView();
    SelectCourse(QStringLiteral("LV"), source, -1);
    SelectCourse(QStringLiteral("VL"), source, -1);
    const int selected = selectedCourseId();
    SelectCourse(QStringLiteral("LV"), selected, -1);
    SelectCourse(QStringLiteral("VL"), selected, -1);
}

void TForm1::KivagoClick()
{
    showMessage(this, QStringLiteral("A funkció jelenleg nem elérhető"));
}
