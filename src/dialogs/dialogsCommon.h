#pragma once

// Small pieces the planning dialogs share: moving data texts (cp1250) to and from the widgets,
// and the plain message box.

#include "platform/Cp1250.h"

#include <QMessageBox>
#include <QString>

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
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    box.exec();
}
