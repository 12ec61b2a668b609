#include "dialogs/targykival.h"

TTargyfelvet *Targyfelvet = nullptr;

TTargyfelvet::TTargyfelvet(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Targyfelvet"));
    setWindowTitle(QStringLiteral("Tárgy kiválasztása"));
}
