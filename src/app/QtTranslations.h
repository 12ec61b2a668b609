#pragma once

// Qt's own texts (standard buttons, built-in dialogs) in Hungarian, like the rest of the program.

class QCoreApplication;

// Loads Qt's Hungarian translation from Qt's translations folder into `app`. False when it is
// not installed; Qt's texts then stay English.
bool installQtTranslations(QCoreApplication &app);
