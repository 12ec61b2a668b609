#pragma once

// Small helpers the files of the main window share: reading rows, filtering the shared tables,
// texts between cp1250 data and the screen, and the message boxes.

#include "platform/Cp1250.h"
#include "platform/DataSet.h"
#include "platform/Field.h"

#include <QFontMetrics>
#include <QString>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QWidget>

#include <string>

namespace mainwindow {

inline QString guiText(const std::string &cp1250Text)
{
    return QString::fromStdString(cp1250ToUtf8(cp1250Text));
}

inline bool hasRow(const TDataSet *table)
{
    return table && table->Active() && !table->Eof();
}

inline int intOf(const TDataSet &table, const char *field)
{
    return table.FieldByName(field)->AsInteger();
}

inline std::string textOf(const TDataSet &table, const char *field)
{
    return table.FieldByName(field)->AsString();
}

// Goes to the row whose key field holds id, as Locate does. A walk looks up the same course,
// subject, room or teacher again and again, and a table already standing on the row is not
// searched again.
inline bool locateKey(TDataSet &table, const char *field, int id)
{
    if (hasRow(&table) && intOf(table, field) == id)
        return true;
    return table.Locate(field, id, {});
}

// "field=id", the filter text every lookup by key uses.
inline std::string keyFilter(const char *field, int id)
{
    return std::string(field) + "=" + std::to_string(id);
}

// Sets a new filter text and goes to the first row it lets through. The filter is switched off
// while the text changes, so no half-set filter is ever evaluated.
inline void refilter(TDataSet &table, const std::string &filter)
{
    table.SetFiltered(false);
    table.SetFilter(filter);
    table.SetFiltered(true);
    table.First();
}

// A row of the course list. Rows sort by the text of the sort column, folding only a-z, so
// that numbers sort as text ("10" before "9") the way the planners are used to.
// A list whose rows all show one line may take every row as high as the first, which spares
// measuring each row above the ones it draws; a row given a text of more lines switches its
// list back to measuring rows one by one.
class CourseListRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override;
    void setData(int column, int role, const QVariant &value) override;
    // Adds the row, filled while outside the list, so that the list hears of it once rather than
    // of each of its texts.
    void joinList(QTreeWidget &list);

private:
    void fitListTo(const QString &text);
    // The text of the column in cp1250, kept from one comparison to the next: a sort compares
    // each row many times.
    const std::string &sortKey(int column) const;

    mutable int keyColumn_ = -1;
    mutable std::string key_;
};

// A course's title in the course list: its own name, else its subject's name (empty when the
// subject is gone), and a fixed text for a course without subject.
QString courseListTitle(const TDataSet &course);

// The course id a course-list row carries.
inline int rowCourseId(const QTreeWidgetItem &row)
{
    return row.text(4).toInt();
}

// The width a line edit needs to show `text` whole in its font, its frame and margins included.
inline int boxWidthFor(const QWidget &box, const QString &text)
{
    constexpr int FrameAndMargins = 12;
    return box.fontMetrics().horizontalAdvance(text) + FrameAndMargins;
}

// As long as the longest course codes of the faculty, with a letter to spare.
inline const QString WidestCourseCode = QStringLiteral("SZT151MN-LA-03W");

// Shows or hides the tab of `page`. A tab widget lays out and repaints itself and every page
// whenever a tab's visibility is set, even to what it was, so an unchanged one is left alone.
inline void setPageVisible(QTabWidget *pages, QWidget *page, bool visible)
{
    const int index = pages->indexOf(page);
    if (pages->isTabVisible(index) != visible)
        pages->setTabVisible(index, visible);
}

// A plain message with only an OK button.
void showMessage(QWidget *parent, const QString &text);
// A question with OK and Cancel; true on OK.
bool confirm(QWidget *parent, const QString &text);

} // namespace mainwindow
