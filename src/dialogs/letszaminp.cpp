#include "dialogs/letszaminp.h"

Tletszam *letszam = nullptr;

Tletszam::Tletszam(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("letszam"));
    setWindowTitle(QStringLiteral("Maximális létszám"));
}
