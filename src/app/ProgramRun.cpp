#include "app/ProgramRun.h"

#include "app/ApplicationSetup.h"
#include "app/MainWindow.h"
#include "app/TerminationSignals.h"
#include "app/WindowFont.h"
#include "settings/SettingsLocation.h"

#include <QApplication>

int runProgram(QApplication &app, const QString &programFolder)
{
    setUpApplication(app);
    // Menus, pop-ups and message boxes in the main window's face too, as on
    // the Chinese Windows desktop; no second face is loaded for them.
    QApplication::setFont(windowFont());

    const TerminationSignals orderlyQuit;
    MainWindow frmMain(programFolder, SettingsLocation::forProgram(programFolder));
    if (TerminationSignals::requested())
        return 0;
    frmMain.show();
    return app.exec();
}
