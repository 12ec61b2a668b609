#pragma once

// One running copy of the program per installation folder: copies in the same folder would
// overwrite each other's data files.

#include <QString>

// The folder of the running program file, with a trailing separator. Needs the application object.
QString programFolder();

// The name one copy per folder runs under: the folder followed by "BrelvixKastorel", with every
// blank removed, every "\" turned into "/" and every ":" into "_".
QString instanceName(const QString &folder);

// Tells that a copy already runs under `name`: on standard error, for a terminal or a script, and
// in a confirmation box with the single button OK. Returns once the box is answered.
void refuseSecondStart(const QString &name);
