#pragma once

#include <QString>

// The journal's database file and the two files SQLite keeps beside it in
// WAL mode ("-wal", "-shm"). They hold passengers' names, ID and ticket
// numbers, so none of them may be a link (SQLite would write through it to
// wherever it points and make its companions there, readable by all), a file
// of another user, or one that anybody else may read.
namespace JournalFiles {

// Creates the journal file when there is none (0600) and closes the file and
// its companions to everybody else. Each is opened without following a link
// and checked on what was opened. Raises KestranoError naming the file and
// the reason when one is a link, not a regular file or another user's:
// nothing may be written to it until the user has mended it.
void makePrivate(const QString &path);

// The name under which Qt's SQLite driver (opened with QSQLITE_OPEN_URI)
// opens path refusing a link, at every open of the file, also when one is put
// in its place after makePrivate. Call it once the driver is loaded (it loads
// SQLite); raises KestranoError when the SQLite in use cannot be told.
QString noFollowName(const QString &path);

} // namespace JournalFiles
