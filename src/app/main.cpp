#include "app/QtTranslations.h"
#include "app/Screenshot.h"
#include "app/SingleInstance.h"
#include "app/vonalzo.h"
#include "platform/InstanceLock.h"

#include <QApplication>
#include <QMainWindow>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (!installQtTranslations(app))
        std::fprintf(stderr, "Qt's Hungarian texts (qtbase_hu) are not installed; its own buttons stay English.\n");

    // Held until main returns, that is, until the main window has closed.
    const QString name = instanceName(programFolder());
    const InstanceLock instance(name.toStdString());
    if (!instance.isHeld()) {
        refuseSecondStart(name);
        return 1;
    }

    // Creation order: the data module first (it loads every data file before any window exists),
    // then the main window, so it becomes the application's main window, then the progress window,
    // the dialogs, the database data module and the database copy window.
    QMainWindow mainWindow;
    mainWindow.setWindowTitle(QStringLiteral("Brelvix"));
    TVonal Vonal(&mainWindow);

    mainWindow.show();
    // Only scripts set this, to check the program on a virtual display without a user.
    if (const QString shot = qEnvironmentVariable("BRELVIX_SCREENSHOT"); !shot.isEmpty())
        saveScreenshotOnceShown(mainWindow, shot);
    return app.exec();
}
