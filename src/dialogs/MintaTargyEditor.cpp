#include "dialogs/MintaTargyEditor.h"

TMintaTargy *MintaTargy = nullptr;

TMintaTargy::TMintaTargy(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MintaTargy"));
    setWindowTitle(QStringLiteral("Minta(elem) tárgyai"));
}
