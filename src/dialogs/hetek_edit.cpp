#include "dialogs/hetek_edit.h"

Tedithetek *edithetek = nullptr;

Tedithetek::Tedithetek(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("edithetek"));
    setWindowTitle(QStringLiteral("edithetek"));
}
