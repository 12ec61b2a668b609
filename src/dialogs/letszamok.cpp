#include "dialogs/letszamok.h"

TSegitseg *Segitseg = nullptr;

TSegitseg::TSegitseg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Segitseg"));
    setWindowTitle(QStringLiteral("Létszámadatok"));
}
