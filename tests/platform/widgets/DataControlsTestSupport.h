#pragma once

// A room table in an array dataset, a data source on it, and helpers for driving data controls
// the way a user does.

#include "platform/ArrayDataSet.h"
#include "platform/Cp1250.h"
#include "support/ModalAnswerer.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <string>

class RoomTable {
public:
    explicit RoomTable(int rows = 5)
    {
        table.FieldDefs().Add("terem_id", ftInteger);
        table.FieldDefs().Add("terem_kod", ftString, 40);
        table.FieldDefs().Add("terem_kapacitas", ftInteger);
        table.Open();
        for (int i = 1; i <= rows; ++i)
            table.AppendRecord({i, utf8ToCp1250("Főépület " + std::to_string(i)), 10 * i});
        table.First();
        source.SetDataSet(&table);
    }

    int currentId() { return table.FieldByName("terem_id")->AsInteger(); }
    std::string currentRoom() { return cp1250ToUtf8(table.FieldByName("terem_kod")->AsString()); }
    int currentCapacity() { return table.FieldByName("terem_kapacitas")->AsInteger(); }

    ArrayDataSet table;
    TDataSource source;
};

// Types text of any script into a widget, one key at a time (QTest's own typing knows ASCII only).
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

// Types one character that is no key of its own (an emoji is two UTF-16 units), as an input
// method delivers it.
inline void typeCharacter(QWidget *widget, const QString &character)
{
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
}

// Pastes through the clipboard with Ctrl+V, as a person does; the texts of the message boxes
// that brought up, each answered with OK.
inline QStringList pasteInto(QWidget *widget, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QStringList said;
    answeringModals([&] { QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier); }, [&](QWidget &modal) {
        auto &box = static_cast<QMessageBox &>(modal);
        said << box.text();
        box.button(QMessageBox::Ok)->click();
    });
    // The desktop gives the window its focus back once a box has gone.
    if (!said.isEmpty()) {
        QApplication::setActiveWindow(widget->window());
        (void)QTest::qWaitForWindowActive(widget->window());
    }
    return said;
}

// Delivers a key press to the widget alone. Used where the key makes the control raise: an
// exception must not unwind through Qt's event dispatch, which is built without exception support.
inline void pressKeyOn(QWidget *widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    static_cast<QObject *>(widget)->event(&press);
}

// Shows a top-level widget and makes it the active window, so that it takes focus and keys.
inline void showActive(QWidget &widget)
{
    widget.show();
    QApplication::setActiveWindow(&widget);
    (void)QTest::qWaitForWindowActive(&widget);
}
