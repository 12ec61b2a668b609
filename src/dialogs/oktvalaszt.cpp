#include "dialogs/oktvalaszt.h"

Toktval *oktval = nullptr;

Toktval::Toktval(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("oktval"));
    setWindowTitle(QStringLiteral("Oktató választása"));
}
