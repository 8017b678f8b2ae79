#include "app/ApplicationSetup.h"
#include "app/MainWindow.h"
#include "app/TerminationSignals.h"
#include "app/WindowFont.h"
#include "settings/SettingsLocation.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    // Menus, pop-ups and message boxes in the main window's face too, as on
    // the Chinese Windows desktop; no second face is loaded for them.
    QApplication::setFont(windowFont());

    const TTerminationSignals orderlyQuit;
    const QString programFolder = QApplication::applicationDirPath();
    TfrmMain frmMain(programFolder, TSettingsLocation::forProgram(programFolder));
    frmMain.show();
    return app.exec();
}
