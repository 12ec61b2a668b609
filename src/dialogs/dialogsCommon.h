#pragma once

// Small helpers the planning dialogs share: moving data texts (cp1250) to and from the widgets,
// the plain message box, list rows in the platform's text order, and reading the data tables.

#include "dialogs/dialogTables.h"
#include "platform/Cp1250.h"
#include "platform/DataSet.h"
#include "platform/Field.h"
#include "platform/LocaleCompare.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QScreen>
#include <QString>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <string>

inline QString guiText(const std::string &cp1250Text)
{
    return QString::fromStdString(cp1250ToUtf8(cp1250Text));
}

inline std::string dataText(const QString &text)
{
    return utf8ToCp1250(text.toStdString());
}

// A message with only an OK button, as the program tells the user of an outcome.
inline void ShowMessage(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

// Runs `convert`, which turns typed texts into the forms they are stored in; a text refused there
// is told in a message box and false returned, before anything has changed.
inline bool storableOrTold(QWidget *parent, const std::function<void()> &convert)
{
    try {
        convert();
        return true;
    } catch (const EDatabaseError &error) {
        ShowMessage(parent, QString::fromUtf8(error.what()));
        return false;
    }
}

// A list row ordered by the platform's CompareText of the sort column's texts: ASCII letters
// without case, everything else by its cp1250 code, numbers as text.
class CompareTextRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() != nullptr ? treeWidget()->sortColumn() : 0;
        return CompareText(dataText(text(column)), dataText(other.text(column))) < 0;
    }
};

// A field of a dialog's own table, defined before the table opens.
inline TField &addField(TDataSet &table, const char *name, TFieldType type, int size = 0, TFieldKind kind = fkData)
{
    std::unique_ptr<TField> field = CreateFieldOfType(type);
    field->SetFieldName(name);
    if (size > 0)
        field->SetSize(size);
    field->SetFieldKind(kind);
    return *table.Fields().Add(std::move(field));
}

// A text of the row with that id, or empty when there is none: a missing row must not lend its
// place to whichever row the table stood on. The table's cursor moves to the row found.
inline std::string lookUp(TDataSet &table, const char *keyField, int id, const char *field)
{
    return table.Locate(keyField, Variant(id), {}) ? dlg::textOf(table, field) : std::string();
}

// A course's weekly teachers as the occupancy views show them: the names of the first three
// links found in `links` (already filtered to the course), ", " between them.
inline QString firstTeachers(TDataSet &links, TDataSet &teachers)
{
    QString names;
    int walked = 0;
    for (links.First(); !links.Eof() && walked < 3; links.Next(), ++walked) {
        // A link whose teacher is gone still counts toward the three.
        if (!teachers.Locate("oktato_id", Variant(dlg::intOf(links, "oktato_id")), {}))
            continue;
        if (!names.isEmpty())
            names += QStringLiteral(", ");
        names += guiText(dlg::textOf(teachers, "oktato_nev"));
    }
    return names;
}

// Fits a calendar again whenever its room changes while it shows: the room settles only after
// its window has come up, and changes again when a scroll bar comes or goes. A fit made before
// would leave a band below the last row.
inline void keepFitted(QAbstractScrollArea &calendar, std::function<void()> fit)
{
    class Refit : public QObject {
    public:
        Refit(QAbstractScrollArea &calendar, std::function<void()> fit)
            : QObject(&calendar), calendar_(calendar), fit_(std::move(fit))
        {
        }
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Resize && calendar_.isVisible())
                fit_();
            return false;
        }

    private:
        QAbstractScrollArea &calendar_;
        std::function<void()> fit_;
    };
    calendar.viewport()->installEventFilter(new Refit(calendar, std::move(fit)));
}

// Dialogs the program centres on the screen do so each time they come up.
inline void centerOnScreen(QWidget &window)
{
    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}
