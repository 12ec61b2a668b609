#include "dialogs/Beemeles_u.h"

TEmelo *Emelo = nullptr;

TEmelo::TEmelo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Emelo"));
    setWindowTitle(QStringLiteral("Emelo"));
}
