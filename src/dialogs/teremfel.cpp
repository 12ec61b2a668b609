#include "dialogs/teremfel.h"

Tteremfelvetel *teremfelvetel = nullptr;

Tteremfelvetel::Tteremfelvetel(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("teremfelvetel"));
    setWindowTitle(QStringLiteral("Terem felvétel"));
}
