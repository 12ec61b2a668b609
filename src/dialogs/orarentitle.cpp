#include "dialogs/orarentitle.h"

Torarend *orarend = nullptr;

Torarend::Torarend(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("orarend"));
    setWindowTitle(QStringLiteral("Órarend"));
}
