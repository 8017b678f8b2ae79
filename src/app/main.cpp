#include "app/ApplicationSetup.h"
#include "app/MainWindow.h"
#include "app/TerminationSignals.h"
#include "settings/SettingsLocation.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);

    const TTerminationSignals orderlyQuit;
    const QString programFolder = QApplication::applicationDirPath();
    TfrmMain frmMain(programFolder, TSettingsLocation::forProgram(programFolder));
    frmMain.show();
    return app.exec();
}
