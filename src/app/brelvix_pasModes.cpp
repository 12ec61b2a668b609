// The working modes, the selector lists, the calendar's keys and the timetable-links launch.

#include "app/brelvix_pas.h"

#include "app/brelvix_pasCommon.h"
#include "data/datam.h"
#include "dialogs/orarendek.h"
#include "dialogs/orarentitle.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

using namespace mainwindow;

namespace {

// " (text)", or nothing for an empty text.
QString inParentheses(const std::string &text)
{
    return text.empty() ? QString() : QStringLiteral(" (") + guiText(text) + QStringLiteral(")");
}

} // namespace

void TForm1::UM_tipusClick(QAction *sender)
{
    if (!sender)
        return;
    sender->setChecked(true);
    PM_Uzemmod->setDefaultAction(sender);
    // Switching the check box refreshes the view still in the old mode, as a click on it would.
    const auto setEveryOccasion = [this](bool on) { AlkalomCB->setChecked(on); };

    if (sender == UM_orarendek) {
        setEveryOccasion(false);
        B_group->setText(QStringLiteral("Órarendek"));
        WorkMode = 0;
        B_groupClick();
    } else if (sender == UM_orarend) {
        setEveryOccasion(false);
        B_group->setText(QStringLiteral("Ü: órarendek"));
        WorkMode = 1;
        TztrMemTable &t = DM->MT_orarend;
        fillSelector(LV_orarend, t,
                     [name = t.FieldByName("megnevezes"), remark = t.FieldByName("megjegyzes"),
                      id = t.FieldByName("orarend_id")] {
                         return QStringList{guiText(name->AsString()) + inParentheses(remark->AsString()),
                                            QString::number(id->AsInteger())};
                     });
        B_groupClick();
        TimetableId = SelectionId = -1;
        setCaptionNothingChosen(QStringLiteral("Órarend"));
    } else if (sender == UM_terem) {
        setEveryOccasion(true);
        B_group->setText(QStringLiteral("Ü: termek"));
        WorkMode = 2;
        TztrMemTable &t = DM->MT_terem;
        fillSelector(LV_terem, t,
                     [place = t.FieldByName("terem_hely"), code = t.FieldByName("terem_kod"),
                      site = t.FieldByName("terem_telephely"), seats = t.FieldByName("terem_kapacitas"),
                      id = t.FieldByName("terem_id")] {
                         return QStringList{guiText(place->AsString()) + QStringLiteral("-") + guiText(code->AsString()) +
                                                QStringLiteral(" (") + guiText(site->AsString()) + QStringLiteral("/") +
                                                guiText(seats->AsString()) + QStringLiteral(" fő)"),
                                            QString::number(id->AsInteger())};
                     });
        B_groupClick();
        TimetableId = SelectionId = -1;
        setCaptionNothingChosen(QStringLiteral("Terem"));
    } else if (sender == UM_oktato) {
        setEveryOccasion(false);
        B_group->setText(QStringLiteral("Ü: oktatók"));
        WorkMode = 3;
        TztrMemTable &t = DM->MT_oktato;
        fillSelector(LV_oktato, t,
                     [name = t.FieldByName("oktato_nev"), code = t.FieldByName("oktato_kkod"),
                      id = t.FieldByName("oktato_id")] {
                         return QStringList{guiText(name->AsString()) + inParentheses(code->AsString()),
                                            QString::number(id->AsInteger())};
                     });
        B_groupClick();
    } else if (sender == UM_tantargy) {
        setEveryOccasion(false);
        B_group->setText(QStringLiteral("Ü: tantargyak"));
        WorkMode = 4;
        TimetableId = SelectionId = -1;
        TztrMemTable &t = DM->MT_targy;
        fillSelector(LV_tantargy, t,
                     [code = t.FieldByName("targy_kod"), name = t.FieldByName("targy_nev"),
                      id = t.FieldByName("targy_id")] {
                         return QStringList{guiText(code->AsString()), guiText(name->AsString()),
                                            QString::number(id->AsInteger())};
                     });
        B_groupClick();
    }
}

// `rowTexts` reads fields it looked up once: a whole university's subjects are thousands of rows.
void TForm1::fillSelector(SelectorList *list, TztrMemTable &table, const std::function<QStringList()> &rowTexts)
{
    std::vector<QStringList> rows;
    {
        // The grids on the table follow it to its first row, not through every row on the way.
        ControlsDisabled still(table);
        for (table.First(); !table.Eof(); table.Next())
            rows.push_back(rowTexts());
        table.First();
    }
    list->showRows(std::move(rows));
}

void TForm1::B_groupClick()
{
    if (WorkMode == 0) {
        orarend->OrarendId = -1;
        orarend->exec();
        if (orarend->OrarendId >= 0) {
            TimetableId = SelectionId = orarend->OrarendId;
            WeekMask = orarend->Hetek;
            setWindowTitle(QStringLiteral("Órarend ") + SemesterCaption(DM->Felev) + QStringLiteral(": ") +
                           guiText(textOf(DM->MT_orarend, "megnevezes")));
            RefreshView();
        }
        showSelectorPage(nullptr);
        return;
    }
    static const QString prefixes[] = {QString(), QStringLiteral("Orarend"), QStringLiteral("Terem"),
                                       QStringLiteral("Oktató"), QStringLiteral("Tantárgy")};
    TimetableId = SelectionId = -1;
    setCaptionNothingChosen(prefixes[WorkMode]);
    QWidget *const pages[] = {nullptr, PC_orarend, PC_terem, PC_oktato, PC_tantargy};
    showSelectorPage(pages[WorkMode]);
    RefreshView();
}

void TForm1::showSelectorPage(QWidget *page)
{
    setPageVisible(PC, PC_oktatok, true);
    for (QWidget *selector : {PC_orarend, PC_terem, PC_oktato, PC_tantargy})
        setPageVisible(PC, selector, selector == page);
    // A page can be made current only once it shows.
    PC->setCurrentWidget(page ? page : PC_oktatok);
}

void TForm1::setCaptionNothingChosen(const QString &prefix)
{
    setWindowTitle(prefix + SemesterCaption(DM->Felev) + QStringLiteral(": Nincs kiválasztva"));
}

void TForm1::selectorRowChosen(QTreeWidgetItem *item, const QString &prefix, int idColumn)
{
    TimetableId = -1;
    SelectionId = item->text(idColumn).toInt();
    setWindowTitle(prefix + SemesterCaption(DM->Felev) + QStringLiteral(": ") + item->text(0));
    RefreshView();
}

void TForm1::LV_orarendSelectItem(QTreeWidgetItem *item)
{
    selectorRowChosen(item, QStringLiteral("Órarend"), 1);
}

void TForm1::LV_teremSelectItem(QTreeWidgetItem *item)
{
    selectorRowChosen(item, QStringLiteral("Terem"), 1);
}

void TForm1::LV_oktatoSelectItem(QTreeWidgetItem *item)
{
    selectorRowChosen(item, QStringLiteral("Oktató"), 1);
}

void TForm1::LV_tantargySelectItem(QTreeWidgetItem *item)
{
    TimetableId = -1;
    SelectionId = item->text(2).toInt();
    // Code, name and id, so that printed subject timetables say what they show.
    setWindowTitle(QStringLiteral("Tantárgy") + SemesterCaption(DM->Felev) + QStringLiteral(": ") + item->text(0) +
                   QStringLiteral(" ") + item->text(1) + QStringLiteral("(") + item->text(2) + QStringLiteral(")"));
    RefreshView();
}

QTreeWidget *TForm1::modeSelector() const
{
    QTreeWidget *const lists[] = {nullptr, LV_orarend, LV_terem, LV_oktato, LV_tantargy};
    return WorkMode >= 1 && WorkMode <= 4 ? lists[WorkMode] : nullptr;
}

void TForm1::VLKeyUp(int key, Qt::KeyboardModifiers shift)
{
    const bool ctrl = shift.testFlag(Qt::ControlModifier);
    if (key == Qt::Key_P && ctrl) {
        PrintForm(windowTitle());
        return;
    }
    const bool back = key == Qt::Key_W || key == Qt::Key_F8;
    const bool forward = key == Qt::Key_S || key == Qt::Key_F4;
    QTreeWidget *list = modeSelector();
    if (!list || (!back && !forward))
        return;
    const int index = list->currentIndex().isValid() ? list->indexOfTopLevelItem(list->currentItem()) : -1;
    const int next = back ? index - 1 : index + 1;
    if ((back && index <= 0) || (forward && index >= list->topLevelItemCount() - 1))
        return;
    // Ctrl with a step prints the timetable shown before moving on, so that a run of Ctrl+S
    // prints one timetable after another.
    if (WorkMode == 1 && ctrl)
        PrintForm(windowTitle());
    QTreeWidgetItem *row = list->topLevelItem(next);
    list->setCurrentItem(row);
    list->scrollToItem(row);
}

void TForm1::KapcsoloClick()
{
    const QList<QTreeWidgetItem *> selected = LV->selectedItems();
    if (selected.isEmpty())
        return;
    const int courseId = rowCourseId(*selected.first());
    orarend_valaszto->KurzusId = courseId;
    orarend_valaszto->exec();
    RefreshView();
    SelectCourse(QStringLiteral("LV"), courseId, -1);
    SelectCourse(QStringLiteral("VL"), courseId, -1);
}
