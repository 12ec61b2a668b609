// Making a course current, and the handlers of the course list.

#include "app/brelvix_pas.h"

#include "sajat/SajatVCI.h"
#include "app/brelvix_pasCommon.h"
#include "data/datam.h"
#include "platform/LocaleCompare.h"
#include "platform/SysUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTreeWidget>

using namespace mainwindow;

namespace {

constexpr TColor CurrentBGColor = clMoneyGreen;
constexpr TColor CurrentSelBGColor = clSkyBlue;
constexpr TColor OtherBGColor = clWhite;
constexpr TColor OtherSelBGColor = clCream;

} // namespace

namespace mainwindow {

bool CourseListRow::operator<(const QTreeWidgetItem &other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    if (const auto *row = dynamic_cast<const CourseListRow *>(&other))
        return CompareText(sortKey(column), row->sortKey(column)) < 0;
    return CompareText(sortKey(column), utf8ToCp1250(other.text(column).toStdString())) < 0;
}

const std::string &CourseListRow::sortKey(int column) const
{
    if (keyColumn_ != column) {
        key_ = utf8ToCp1250(text(column).toStdString());
        keyColumn_ = column;
    }
    return key_;
}

void CourseListRow::setData(int column, int role, const QVariant &value)
{
    keyColumn_ = -1;
    QTreeWidgetItem::setData(column, role, value);
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && treeWidget())
        fitListTo(value.toString());
}

void CourseListRow::joinList(QTreeWidget &list)
{
    list.addTopLevelItem(this);
    for (int column = 0; column < columnCount(); ++column)
        fitListTo(text(column));
}

void CourseListRow::fitListTo(const QString &text)
{
    if (text.contains(QLatin1Char('\n')) || text.contains(QChar::LineSeparator))
        treeWidget()->setUniformRowHeights(false);
}

} // namespace mainwindow

void TForm1::SelectCourse(const QString &origin, int courseId, int occasionId)
{
    if (SelectBusy)
        return;
    if (!MT_kurzus_temp.Active())
        throw Exception("Kurzus tábla nincs megnyitva!");
    SelectBusy = true;
    // Cleared however the selection ends, so that a failed one does not block every later one.
    struct BusyReset {
        bool &flag;
        ~BusyReset() { flag = false; }
    } reset{SelectBusy};

    // Shows the occasions of the course (or of the course it is attached to) and marks its items.
    const auto showCourse = [this, courseId](int occasion) {
        const int linked = intOf(MT_kurzus_temp, "kurzus_id_csatolt");
        refilter(MT_alkalom_temp, keyFilter("kurzus_id", linked > 0 ? linked : courseId));
        if (occasion < 0 && !MT_alkalom_temp.Eof())
            occasion = intOf(MT_alkalom_temp, "alkalom_id");
        Highlight(occasion, courseId);
    };

    if (origin == QLatin1String("LV")) {
        if (MT_kurzus_temp.Locate("kurzus_id", courseId, {})) {
            QTreeWidgetItem *row = LV->currentItem();
            if (row && row->isSelected() && rowCourseId(*row) == courseId)
                row->setText(1, courseListTitle(MT_kurzus_temp));
            showCourse(occasionId);
        } else {
            Edit1->setText(QStringLiteral("Hiba-642!!!"));
            Edit2->clear();
            Edit3->clear();
            Edit4->setText(QStringLiteral("0"));
        }
        loadCoursePanels(courseId, -1, courseId);
    } else if (origin == QLatin1String("VL")) {
        for (int i = 0; i < LV->topLevelItemCount(); ++i) {
            QTreeWidgetItem *row = LV->topLevelItem(i);
            if (rowCourseId(*row) != courseId)
                continue;
            LV->setCurrentItem(row);
            LV->scrollToItem(row);
            if (!MT_kurzus_temp.Locate("kurzus_id", courseId, {}))
                break;
            showCourse(occasionId);
            if (walkToOccasion(occasionId)) {
                // The occasion stays the current row of the occasion panel.
                SelectBusy = false;
                loadCoursePanels(courseId, courseId, -1);
                return;
            }
            break;
        }
        loadCoursePanels(courseId, -1, courseId);
    } else if (origin == QLatin1String("C")) {
        Highlight(occasionId, courseId);
    }
}

bool TForm1::walkToOccasion(int occasionId)
{
    // The occasion panel and its counter show where the walk stops, not every row on the way.
    ControlsDisabled still(MT_alkalom_temp);
    for (MT_alkalom_temp.First(); !MT_alkalom_temp.Eof(); MT_alkalom_temp.Next()) {
        if (intOf(MT_alkalom_temp, "alkalom_id") == occasionId)
            return true;
    }
    return false;
}

void TForm1::Highlight(int occasionId, int courseId)
{
    // The next click on an item then selects it, whichever was selected before: only a click on
    // the item a click selected marks it.
    LastSelectedItem = nullptr;
    if (TCustomCalendarItem *selected = VL->SelectedItem()) {
        VL->SetSelectedItem(nullptr);
        if (selected->Obj())
            selected->Obj()->update();
    }
    for (TCustomCalendarItem *item : VL->Items()) {
        auto *occasion = dynamic_cast<TSajat *>(item);
        if (occasion && occasion->KurzusID == courseId) {
            item->SetBGColor(CurrentBGColor);
            item->SetSelBGColor(CurrentSelBGColor);
            // Selected here, as a box that has the focus already gets no focus event; it takes
            // the focus only from the calendar, not from the list or a box the planner works in.
            if (occasion->AlkalomID == occasionId && item->Obj()) {
                VL->SetSelectedItem(item);
                item->Obj()->update();
                if (calendarMayTakeFocus())
                    item->Obj()->setFocus();
            }
        } else {
            item->SetBGColor(OtherBGColor);
            item->SetSelBGColor(OtherSelBGColor);
        }
    }
}

bool TForm1::calendarMayTakeFocus() const
{
    const QWidget *focused = focusWidget();
    return !focused || focused == this || focused == VL || VL->isAncestorOf(focused);
}

void TForm1::LVSelectItem(QTreeWidgetItem *item)
{
    SelectCourse(QStringLiteral("LV"), rowCourseId(*item), -1);
}

void TForm1::VLDetails(TCustomCalendarItem *item)
{
    if (auto *occasion = dynamic_cast<TSajat *>(item))
        SelectCourse(QStringLiteral("VL"), occasion->KurzusID, occasion->AlkalomID);
}

void TForm1::VLClick(TCustomCalendarItem *item)
{
    // A second click on the selected item toggles its mark.
    if (item && VL->SelectedItem() == item && item == LastSelectedItem)
        item->SetSelect(!item->Select());
    LastSelectedItem = VL->SelectedItem();
}

void TForm1::LVColumnClick(int column)
{
    SortColumn = std::max(column, 0);
    SortLV();
}

void TForm1::SortLV()
{
    LV->sortItems(SortColumn, Qt::AscendingOrder);
    // The current course stays in sight in its new place.
    if (QTreeWidgetItem *current = LV->currentItem())
        LV->scrollToItem(current);
}

void TForm1::ListFilterClick(int code)
{
    // The filters apply to a timetable's courses only.
    if (TimetableId < 0)
        return;
    ListFilter = code;
    RefreshView();
}

void TForm1::HetekCBChange()
{
    RefreshView();
}

void TForm1::AlkalomCBClick()
{
    RefreshView();
}

void TForm1::tobbalkalomCBClick()
{
    RefreshView();
}

void TForm1::het_SPBUpClick()
{
    // Past the last week the chooser shows no entry, which means no week filter; one more step
    // starts again from "0".
    const int next = HetekCB->currentIndex() + 1;
    HetekCB->setCurrentIndex(next < HetekCB->count() ? next : -1);
}

void TForm1::het_SPBDownClick()
{
    const int previous = HetekCB->currentIndex() - 1;
    if (previous >= 0) {
        HetekCB->setCurrentIndex(previous);
        return;
    }
    const QSignalBlocker quiet(HetekCB);
    HetekCB->setCurrentIndex(0);
}
