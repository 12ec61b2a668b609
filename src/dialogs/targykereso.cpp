#include "dialogs/targykereso.h"

Ttargy_kereso *targy_kereso = nullptr;

Ttargy_kereso::Ttargy_kereso(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("targy_kereso"));
    setWindowTitle(QStringLiteral("Tárgy keresése"));
}
