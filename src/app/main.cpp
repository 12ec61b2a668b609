#include "app/Application.h"
#include "app/ProgramForms.h"
#include "app/QtTranslations.h"
#include "app/Screenshot.h"
#include "app/SingleInstance.h"
#include "app/brelvix_pas.h"
#include "platform/InstanceLock.h"

#include <QTreeWidget>

#include <cstdio>
#include <memory>

namespace {

// The picture is meant to show a real timetable: the first one of the timetable list, chosen as
// a planner would choose it.
void showFirstTimetable(TForm1 &window)
{
    window.UM_orarend->trigger();
    if (QTreeWidgetItem *first = window.LV_orarend->topLevelItem(0))
        window.LV_orarend->setCurrentItem(first);
}

} // namespace

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    if (!installQtTranslations(app))
        std::fprintf(stderr, "Qt's Hungarian texts (qtbase_hu) are not installed; its own buttons stay English.\n");

    // Held until main returns, that is, until the main window has closed.
    const QString name = instanceName(programFolder());
    const InstanceLock instance(name.toStdString());
    if (!instance.isHeld()) {
        refuseSecondStart(name);
        return 1;
    }

    // A start that fails (above all a data file that cannot be loaded) ends the program before
    // any window shows: on standard error for a terminal or a script, and in a box for the user.
    std::unique_ptr<TProgramForms> forms;
    try {
        forms = std::make_unique<TProgramForms>();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        std::fflush(stderr);
        showException(error);
        return 1;
    }

    // The record of an interrupted save is gone now, so this is said at this start only.
    tellRecoveredSave(*DM);
    Form1->show();
    // Only scripts set this, to check the program on a virtual display without a user.
    if (const QString shot = qEnvironmentVariable("BRELVIX_SCREENSHOT"); !shot.isEmpty()) {
        showFirstTimetable(*Form1);
        saveScreenshotOnceShown(*Form1, shot);
    }
    return app.exec();
}
