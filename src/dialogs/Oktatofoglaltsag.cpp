#include "dialogs/Oktatofoglaltsag.h"

TOktatofog *Oktatofog = nullptr;

TOktatofog::TOktatofog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Oktatofog"));
    setWindowTitle(QStringLiteral("Oktatói órarend"));
}
