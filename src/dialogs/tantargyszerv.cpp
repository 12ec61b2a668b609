#include "dialogs/tantargyszerv.h"

Ttantargyszervezes *tantargyszervezes = nullptr;

Ttantargyszervezes::Ttantargyszervezes(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("tantargyszervezes"));
    setWindowTitle(QStringLiteral("Tantárgy hirdetés"));
}
