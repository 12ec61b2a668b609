#include "dialogs/Admin_table.h"

TAdminka *Adminka = nullptr;

TAdminka::TAdminka(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Adminka"));
    setWindowTitle(QStringLiteral("Admin..."));
}
