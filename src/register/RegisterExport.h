#pragma once

#include <QString>
#include <QtGlobal>

class Settings;

// "kestrano --export-register FILE.csv": the whole register as CSV (UTF-8
// with a byte order mark), one line per print: serial number, time, desk,
// passenger, ticket number, total, outcome, void reason. The server's
// register when "register" is set, else the journal in settingsFolder (an
// empty register when nothing was ever printed). Raises KestranoError naming
// the file or the server and the reason.
// Returns the number of rows written.
qint64 exportRegister(const Settings &settings, const QString &settingsFolder, const QString &path);
