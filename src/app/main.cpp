#include "app/ProgramRun.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char *argv[])
{
    // "--export-register FILE.csv" writes the register and ends, without a
    // window (nor a display to show one on).
    if (argc > 1 && qstrcmp(argv[1], "--export-register") == 0) {
        QCoreApplication app(argc, argv);
        return runRegisterExport(QCoreApplication::arguments(),
                                 QCoreApplication::applicationDirPath());
    }
    QApplication app(argc, argv);
    return runProgram(app, QApplication::applicationDirPath());
}
