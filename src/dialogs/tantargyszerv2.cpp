#include "dialogs/tantargyszerv2.h"

Ttargyszervezo2 *targyszervezo2 = nullptr;

Ttargyszervezo2::Ttargyszervezo2(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("targyszervezo2"));
    setWindowTitle(QStringLiteral("Órarendi elemek létrehozása"));
}
