#include "dialogs/targybeemeles.h"

Tbeemeles *beemeles = nullptr;

Tbeemeles::Tbeemeles(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("beemeles"));
    setWindowTitle(QStringLiteral("Beemelés"));
}
