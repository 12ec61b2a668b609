#include "dialogs/teremval.h"

Tteremvalasztas *teremvalasztas = nullptr;

Tteremvalasztas::Tteremvalasztas(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("teremvalasztas"));
    setWindowTitle(QStringLiteral("Terem választása"));
}
