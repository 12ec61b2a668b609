// The course panels below the course list. The edit row is filled here; the teacher, subject
// and course-group panels come with the editing of teachers and subjects, and until then their
// loaders leave those panels as they are.

#include "app/brelvix_pas.h"

#include "app/brelvix_pasCommon.h"
#include "data/datam.h"

#include <QLineEdit>
#include <QTreeWidget>

using namespace mainwindow;

namespace {

// The course id of the selected list row, or -1.
int selectedCourse(const QTreeWidget &list)
{
    const QList<QTreeWidgetItem *> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : rowCourseId(*selected.first());
}

} // namespace

void TForm1::LoadCourseTeachers(int, int)
{
}

void TForm1::LoadCourseSubjects(int, int)
{
}

void TForm1::LoadLinkedCourses(int)
{
}

void TForm1::LoadCourseEditor(int courseId)
{
    if (courseId < 0)
        courseId = selectedCourse(*LV);
    if (courseId < 0) {
        for (QLineEdit *edit : {Edit1, Edit2, Edit3, Edit4})
            edit->clear();
        Edit1->setReadOnly(true);
        // The occasion view is emptied by its filter but stays open: the next rebuild walks it.
        refilter(MT_alkalom_temp, keyFilter("kurzus_id", -1));
        return;
    }
    if (!MT_kurzus_temp.Locate("kurzus_id", courseId, {}))
        return;
    Edit1->setText(guiText(textOf(MT_kurzus_temp, "kurzus_kod_osszetett")));
    QString title = guiText(textOf(MT_kurzus_temp, "megnevezes"));
    if (title.isEmpty()) {
        const int targyId = intOf(MT_kurzus_temp, "targy_id");
        title = targyId >= 0 && DM->MT_targy.Locate("targy_id", targyId, {})
                    ? guiText(textOf(DM->MT_targy, "targy_nev"))
                    : QStringLiteral("A tárgy vagy egyedi foglalás nem található!!!");
    }
    Edit2->setText(title);
    Edit3->setText(guiText(textOf(MT_kurzus_temp, "megjegyzes")));
    const QString limit = guiText(MT_kurzus_temp.FieldByName("max_letszam")->AsString());
    Edit4->setText(limit.isEmpty() ? QStringLiteral("0") : limit);
    Edit1->setReadOnly(!DM->Admin);
}
