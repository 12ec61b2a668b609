#pragma once

// Keeps typed text within what the data files can hold: cp1250 characters only, and no more of
// them than the field takes. Nothing is cut or replaced behind the user's back: a character is
// refused as it is typed or pasted, and a text that arrives another way raises an error.

#include "platform/Field.h"

#include <QString>

#include <string>

class QLineEdit;

// Whether every character of the text can be stored.
bool isStorableText(const QString &text);
// Makes the edit refuse what cp1250 lacks, naming a pasted character in a message box; with a
// text field, also more characters than it holds.
void limitEditToField(QLineEdit &edit, const TField *field);
// The field text for a typed text; raises EDatabaseError (naming the field, when one is given)
// for a character cp1250 lacks or a text longer than the field holds.
std::string storableFieldText(const QString &text, const TField *field = nullptr);
