#include "dialogs/targyedit.h"

TTargyeditor *Targyeditor = nullptr;

TTargyeditor::TTargyeditor(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Targyeditor"));
    setWindowTitle(QStringLiteral("Tantárgy létrehozása"));
}
