#pragma once

class QApplication;

#include <QString>
#include <QStringList>

// The program as it runs from its entry: the orderly quit on a termination
// signal, the main window on the program's folder (its lists beside it, its
// settings where SettingsLocation puts them), its event loop. A signal that
// comes during the start (a message box shown before the main window) ends
// the program there, the receipt remembered as at any close. Returns the
// exit code.
int runProgram(QApplication &app, const QString &programFolder);

// "kestrano --export-register FILE.csv": the whole register as CSV, the
// server's when "register" is set, else the journal's. Says what it wrote on
// standard output and returns 0; says why not on standard error, in
// Chinese, and returns 1.
int runRegisterExport(const QStringList &arguments, const QString &programFolder);
