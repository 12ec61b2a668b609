#include "dialogs/csoportfog.h"

Tcsoportfoglalasok *csoportfoglalasok = nullptr;

Tcsoportfoglalasok::Tcsoportfoglalasok(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("csoportfoglalasok"));
    setWindowTitle(QStringLiteral("Csoport foglalásai"));
}
