#include "dialogs/szakvalaszto.h"

Tszakval *szakval = nullptr;

Tszakval::Tszakval(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("szakval"));
    setWindowTitle(QStringLiteral("Szakválasztó"));
}
