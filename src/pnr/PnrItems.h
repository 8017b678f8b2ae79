#pragma once

#include <QList>
#include <QString>

// One numbered item of a reservation display: "3.  MU5132 Y   WE26AUG ...",
// "10.FN/A/FCNY1860.00/...", with the lines that continue it.
struct PnrItem
{
    // The item number; -1 for a line before the first item, which is kept
    // for the elements an agent may paste without their numbers (a fare line
    // copied alone).
    int number = -1;
    // From the item number to the end of its first line (or to the next
    // item on the same line): the row the terminal's fixed columns are
    // counted in. Page marks and prompts are blanked, so columns stay.
    QString row;
    qsizetype bodyStart = 0; // in row, just after the full stop
    // The lines after the first that belong to this item, each trimmed and
    // joined as the item's text reads on.
    QString continuation;

    // The row after the full stop, trimmed: "MU5132 Y   WE26AUG ...".
    QString body() const;
    // The whole item after the full stop, its continuation joined on:
    // "FN/A/.../TEXEMPTYQ/ACNY1910.00".
    QString text() const;
};

// Joins a continued text: a break at "/" or between two Chinese characters
// was a break inside a word or a list of elements, any other one a blank.
// appendJoined() appends in place, so many lines join in linear time.
QString joinedText(const QString &before, const QString &after);
void appendJoined(QString &before, const QString &after);

// A display cut into its items, whatever way it was copied: out of the
// terminal with its 80 columns, or from a web platform, a chat or a log
// where runs of blanks collapse, indentation is lost, tabs or no-break
// spaces stand for blanks and lines run together.
//
// An item begins with its number and a full stop: at the start of a line
// (after blanks), any number; inside a line, after a blank, only the number
// that follows the item before it, since the items count on in one
// sequence (0 for a group's header, the names, the segments, the rest).
// A number followed by a digit ("1910.00") begins no item, but for a
// group's header "0.15PAX NM15 TFK2S". A line that begins no item continues
// the item before it, unless it is a price quote's line, which is read from
// the whole text instead.
//
// The terminal marks a page that goes on with "+" and one that continues
// with "-" in column 80, and a copy of several pages may glue the next
// item to it ("...P2    -10.SSR TKNE"); prompts such as ">PN" or ">RT
// KQ7X2M" may stand anywhere. Both are blanked. Any line break counts.
// A log viewer writes each carriage return as the two characters "^M": they
// end the line as the break itself would.
//
// Inside a line, the item number that follows in the sequence begins an item
// also where it is glued to the word before it, as some copies leave it:
// "2.WANG/FANG MS KX7P2M3.  CX251 ..." holds the items 2 and 3.
//
// Reading is linear in the length of the text.
QList<PnrItem> pnrItems(const QString &display);
