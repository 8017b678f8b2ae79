#pragma once

#include <QList>
#include <QString>

// One line of a reservation display.
struct TPnrLine
{
    QString text;        // the line without its line break and its page mark
    qsizetype item = -1; // where its numbered item begins; -1 for a line without one

    bool hasItem() const { return item >= 0; }
    // From the item number to the end of the line: " 3.  MU5132 Y ..." gives
    // "3.  MU5132 Y ...".
    QString itemText() const { return hasItem() ? text.mid(item) : QString(); }
};

// A display cut into its lines. Any line break counts (CR LF, LF, CR, and the
// rarer ones PCRE knows). The terminal shows a display in pages and marks a
// page that goes on with "+" and one that continues with "-" in column 80;
// a copy of several pages may glue the next page's first item right after
// such a mark ("...7812345678902/1/P2    -5.SSR TKNE ..."). Each item after a
// mark becomes a line of its own, and the marks are dropped, so that a mark
// after a name or a code is not read as part of it.
//
// An item begins at the first run of digits followed by a full stop in a
// line and runs to the end of the line: "  ACNY1910.00" holds the item
// "1910.00". Reading is linear in the length of the text.
QList<TPnrLine> pnrLines(const QString &display);
