#include "app/ApplicationSetup.h"
#include "app/MainWindow.h"
#include "app/TerminationSignals.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);

    const TTerminationSignals orderlyQuit;
    TfrmMain frmMain(QApplication::applicationDirPath());
    frmMain.show();
    return app.exec();
}
