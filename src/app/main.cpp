#include "app/ProgramRun.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return runProgram(app, QApplication::applicationDirPath());
}
