#include "dialogs/Teremfoglaltsag.h"

TTeremfog *Teremfog = nullptr;

TTeremfog::TTeremfog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Teremfog"));
    setWindowTitle(QStringLiteral("Teremfoglaltság"));
}
