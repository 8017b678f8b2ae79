#include "app/ProgramRun.h"

#include <QApplication>
#include <QCoreApplication>

#include <sys/resource.h>

int main(int argc, char *argv[])
{
    // No core file: the process holds the register's password and the
    // passengers' documents, and a core file would keep them on disk.
    const struct rlimit noCore = {0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
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
