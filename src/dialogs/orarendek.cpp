#include "dialogs/orarendek.h"

Torarend_valaszto *orarend_valaszto = nullptr;

Torarend_valaszto::Torarend_valaszto(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("orarend_valaszto"));
    setWindowTitle(QStringLiteral("Órarendi kapcsoló"));
}
