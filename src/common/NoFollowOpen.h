#pragma once

#include <QString>
#include <fcntl.h>
#include <sys/types.h>

// Opens path (a name inside folderFd when one is given) without following a
// link at its last name and without waiting on a FIFO, closed on exec and
// never the controlling terminal; an interrupted call is made again. -1 with
// errno when it cannot. Files that others could have planted (the settings,
// the journal) are opened only this way.
int openNoFollow(const QString &path, int flags, mode_t mode = 0, int folderFd = AT_FDCWD);

// True for the errno with which such an open refuses a link: ELOOP (EMLINK on
// some BSDs).
bool isLinkRefusal(int error);
