// The teachers and subjects of the current course: adding and removing them, teachers' shares,
// subjects' head counts, the default subject and the course's template.

#include "app/brelvix_pas.h"

#include "app/brelvix_pasCommon.h"
#include "data/datam.h"
#include "dialogs/HeadCount.h"
#include "dialogs/Oktatofoglaltsag.h"
#include "dialogs/letszaminp.h"
#include "dialogs/oktvalaszt.h"
#include "dialogs/targykereso.h"
#include "platform/widgets/DBGrids.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidget>

using namespace mainwindow;

namespace {

const QString MissingCourseOrSubject = QStringLiteral("A kurzus és/vagy tárgy hiányzik!");

// A subject's head count that sets no limit.
constexpr int NoLimit = -1;

// Asks for a number in the head-count dialog; false when it is cancelled or the text is no
// count, which is told, and the dialog's edit is left showing "0". With `noLimitAllowed`, "-1"
// is kept as the subject's "no limit" it was shown as.
bool askNumber(int current, const QString &label, const QString &caption, int &value, bool noLimitAllowed = false)
{
    letszam->Edit1->setText(QString::number(current));
    letszam->Label1->setText(label);
    letszam->setWindowTitle(caption);
    if (letszam->exec() != QDialog::Accepted)
        return false;
    const QString typed = letszam->Edit1->text().trimmed();
    if (const std::optional<int> count = countOf(typed)) {
        value = *count;
        return true;
    }
    if (noLimitAllowed && typed == QString::number(NoLimit)) {
        value = NoLimit;
        return true;
    }
    showMessage(letszam->parentWidget(), countRefusal(typed));
    letszam->Edit1->setText(QStringLiteral("0"));
    return false;
}

void setInteger(TDataSet &table, const char *field, int value)
{
    table.Edit();
    table.FieldByName(field)->SetAsInteger(value);
    table.Post();
}

bool linked(TztrMemTable &links, const char *field, int courseId, int id)
{
    links.SetFiltered(false);
    return links.Locate(std::string("kurzus_id;") + field, VarArrayOf({courseId, id}), {});
}

} // namespace

void TForm1::OktatofelvetelClick()
{
    const int courseId = selectedCourseId();
    if (courseId < 0)
        return;
    // The chooser's teacher timetable shows the rows, weeks and days this calendar shows now.
    oktval->ScaleMode = ScaleMode;
    oktval->MainCalendar = VL;
    if (oktval->exec() != QDialog::Accepted)
        return;
    const int oktatoId = intOf(DM->MT_oktato, "oktato_id");
    // The links are filtered to the course the teacher list was loaded for.
    if (MT_kurzusoktato_temp.Locate("oktato_id", oktatoId, {}))
        return;
    MT_kurzusoktato_temp.Append();
    MT_kurzusoktato_temp.FieldByName("oktato_id")->SetAsInteger(oktatoId);
    MT_kurzusoktato_temp.FieldByName("kurzus_id")->SetAsInteger(courseId);
    MT_kurzusoktato_temp.FieldByName("szazalek")->SetAsInteger(100);
    MT_kurzusoktato_temp.Post();
    LoadCourseTeachers(courseId, oktatoId);
}

void TForm1::oktatodelClick()
{
    const int courseId = selectedCourseId();
    if (courseId < 0 || !hasRow(&MT_oktato_temp))
        return;
    const int oktatoId = intOf(MT_oktato_temp, "oktato_id");
    if (!confirm(this, QStringLiteral("Valóban törölni akarja?\r\n") + guiText(textOf(MT_oktato_temp, "oktato_nev"))))
        return;
    if (!linked(DM->MT_kurzusoktato, "oktato_id", courseId, oktatoId)) {
        showMessage(this, QStringLiteral("A törlendő oktató nem található!"));
        return;
    }
    DM->MT_kurzusoktato.Delete();
    LoadCourseTeachers(courseId, oktatoId);
}

void TForm1::G_okttempCellClick(TColumn &column)
{
    const int courseId = selectedCourseId();
    if (column.FieldName() != "oktato_szazalek" || courseId < 0 || !hasRow(&MT_oktato_temp))
        return;
    int share = 0;
    if (!askNumber(intOf(MT_oktato_temp, "oktato_szazalek"), QStringLiteral("Részvétel %:"),
                   QStringLiteral("Részvétel 0-100"), share))
        return;
    if (share < 0 || share > 100)
        share = 100;
    const int oktatoId = intOf(MT_oktato_temp, "oktato_id");
    if (linked(DM->MT_kurzusoktato, "oktato_id", courseId, oktatoId))
        setInteger(DM->MT_kurzusoktato, "szazalek", share);
    if (MT_oktato_temp.Locate("oktato_id", oktatoId, {}))
        setInteger(MT_oktato_temp, "oktato_szazalek", share);
}

void TForm1::oktatoinfoClick()
{
    if (selectedCourseId() < 0 || !hasRow(&MT_oktato_temp))
        return;
    Oktatofog->OktatoId = intOf(MT_oktato_temp, "oktato_id");
    prepareOccupancyCalendar(*Oktatofog->VL);
    Oktatofog->exec();
}

void TForm1::popuptoktatoPopup()
{
    const bool open = MT_oktato_temp.Active();
    const bool current = open && hasRow(&MT_oktato_temp);
    tnew->setVisible(open);
    tdel->setVisible(current);
    tinfo->setVisible(current);
}

void TForm1::kurzustargyaiPopup()
{
    const bool open = MT_kurzustargy_temp.Active();
    for (QAction *item : kurzustargyai->actions())
        item->setVisible(open);
    if (!open)
        return;
    const int courseId = selectedCourseId();
    const int defaultSubject = courseId >= 0 && MT_kurzus_temp.Locate("kurzus_id", courseId, {})
                                   ? intOf(MT_kurzus_temp, "targy_id")
                                   : -1;
    const bool current = hasRow(&MT_kurzustargy_temp);
    const int subject = current ? intOf(MT_kurzustargy_temp, "targy_id") : 0;
    kurzustargyDel->setVisible(current && subject != defaultSubject);
    AlapertelmezettTargykurzustargydefswap->setVisible(subject != defaultSubject);
}

void TForm1::DBGrid2CellClick(TColumn &column)
{
    if (column.FieldName() != "maxletszam" || !hasRow(&MT_kurzustargy_temp))
        return;
    int headCount = 0;
    if (!askNumber(intOf(MT_kurzustargy_temp, "maxletszam"), QStringLiteral("Tárgy maximális létszáma:"),
                   QStringLiteral("Tárgy maximális létszáma"), headCount, true))
        return;
    setInteger(MT_kurzustargy_temp, "maxletszam", headCount);
    if (linked(DM->MT_kurzustargy, "targy_id", intOf(MT_kurzustargy_temp, "kurzus_id"),
               intOf(MT_kurzustargy_temp, "targy_id")))
        setInteger(DM->MT_kurzustargy, "maxletszam", headCount);
}

void TForm1::DBGrid2TitleClick(TColumn &column)
{
    MT_kurzustargy_temp.SortOn(column.FieldName(), {});
}

void TForm1::kurzustargyDelClick()
{
    if (!hasRow(&MT_kurzustargy_temp))
        return;
    const int courseId = intOf(MT_kurzustargy_temp, "kurzus_id");
    const int subjectId = intOf(MT_kurzustargy_temp, "targy_id");
    if (courseId < 0 || subjectId < 0) {
        showMessage(this, MissingCourseOrSubject);
        return;
    }
    if (!confirm(this, QStringLiteral("Valóban törölni akarja?")))
        return;
    if (!linked(DM->MT_kurzustargy, "targy_id", courseId, subjectId))
        return;
    MT_kurzustargy_temp.Delete();
    DM->MT_kurzustargy.Delete();
}

void TForm1::AlapertelmezettTargykurzustargydefswapClick()
{
    if (!hasRow(&MT_kurzustargy_temp))
        return;
    const int courseId = intOf(MT_kurzustargy_temp, "kurzus_id");
    const int subjectId = intOf(MT_kurzustargy_temp, "targy_id");
    if (courseId < 0 || subjectId < 0) {
        showMessage(this, MissingCourseOrSubject);
        return;
    }
    if (DM->MT_kurzus.Locate("kurzus_id", courseId, {}))
        setInteger(DM->MT_kurzus, "targy_id", subjectId);
}

void TForm1::kurzustargydefClick()
{
    if (!hasRow(&MT_kurzustargy_temp))
        return;
    restoreTemplateSubjects(intOf(MT_kurzustargy_temp, "kurzus_id"));
}

void TForm1::restoreTemplateSubjects(int courseId)
{
    TztrMemTable &courses = DM->MT_kurzus;
    if (!courses.Locate("kurzus_id", courseId, {}))
        return;
    int templateId = intOf(courses, "kurzusminta_id");
    int defaultSubject = intOf(courses, "targy_id");
    if (DM->MT_kurzusminta.Locate("kurzusminta_id", templateId, {})) {
        defaultSubject = intOf(DM->MT_kurzusminta, "targy_id");
        setInteger(courses, "targy_id", defaultSubject);
    } else {
        templateId = -1;
    }

    TztrMemTable &links = DM->MT_kurzustargy;
    refilter(links, "(" + keyFilter("kurzus_id", courseId) + ") and (targy_id<>" + std::to_string(defaultSubject) + ")");
    while (!links.IsEmpty()) {
        links.First();
        links.Delete();
    }
    links.SetFiltered(false);

    TztrMemTable &templateSubjects = DM->MT_kurzusmintatargy;
    refilter(templateSubjects, keyFilter("kurzusminta_id", templateId));
    for (; !templateSubjects.Eof(); templateSubjects.Next())
        attachSubject(courseId, intOf(templateSubjects, "targy_id"));
    templateSubjects.SetFiltered(false);
    LoadCourseSubjects(courseId, defaultSubject);
}

bool TForm1::attachSubject(int courseId, int subjectId)
{
    TztrMemTable &links = DM->MT_kurzustargy;
    if (linked(links, "targy_id", courseId, subjectId))
        return false;
    links.Append();
    links.FieldByName("kurzus_id")->SetAsInteger(courseId);
    links.FieldByName("targy_id")->SetAsInteger(subjectId);
    links.FieldByName("maxletszam")->SetAsInteger(-1);
    links.Post();
    return true;
}

void TForm1::kurzustargynewClick()
{
    QTreeWidgetItem *row = selectedRow();
    if (!row)
        return;
    const int courseId = rowCourseId(*row);
    QString code = row->text(0);
    if (code.startsWith(QLatin1Char('!')))
        code.remove(0, 1);
    targy_kereso->KurzusId = courseId;
    targy_kereso->KurzusKod = utf8ToCp1250(code.left(99).toStdString());
    targy_kereso->KeresesMod = 1;
    if (targy_kereso->exec() != QDialog::Accepted)
        return;
    QWidget *page = targy_kereso->PC->currentWidget();
    TDBGrid *grid = page == targy_kereso->TS_targy ? targy_kereso->DBGrid2
                    : page == targy_kereso->TS_szuk ? targy_kereso->DBGrid1
                                                    : nullptr;
    if (!grid)
        return;
    const bool fromSelection = grid->SelectedRows().Count() > 0;
    bool added = false;
    int last = -1;
    for (int subjectId : targy_kereso->KivalasztottTargyak()) {
        added = attachSubject(courseId, subjectId) || added;
        last = subjectId;
    }
    if (fromSelection || added)
        LoadCourseSubjects(courseId, last);
    if (fromSelection)
        grid->SelectedRows().Clear();
}

void TForm1::kurzustargyswapClick()
{
    if (LV->topLevelItemCount() == 0)
        return;
    const int courseId = selectedCourseId();
    targy_kereso->KurzusId = courseId;
    targy_kereso->KeresesMod = 3;
    if (targy_kereso->exec() != QDialog::Accepted)
        return;
    const int templateId = targy_kereso->Eredmeny;
    const int subjectId = intOf(DM->MT_kurzusminta, "targy_id");
    TztrMemTable &courses = DM->MT_kurzus;
    // The dialog left the course table on the course; anything else means the choice is stale.
    if (targy_kereso->PC->currentWidget() != targy_kereso->TS_kurzusminta || !hasRow(&courses) ||
        intOf(courses, "kurzus_id") != courseId)
        return;
    courses.Edit();
    courses.FieldByName("kurzusminta_id")->SetAsInteger(templateId);
    courses.FieldByName("targy_id")->SetAsInteger(subjectId);
    courses.Post();
    LoadCourseEditor(courseId);
    restoreTemplateSubjects(courseId);
    SelectCourse(QStringLiteral("LV"), courseId, -1);
}
