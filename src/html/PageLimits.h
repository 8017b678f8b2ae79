#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

// What a page may demand of the HTML parser. Pages come from the network.
// libxml2 stops nesting at 256 levels by itself and reads the rest of a page
// in time linear in its size, with one exception: it compares every
// attribute of a tag with all before it, so a single tag with a hundred
// thousand attributes would hold the program for minutes. A page beyond
// these limits is refused before it is parsed; real pages stay far below
// them.
namespace PageLimits {
inline constexpr qsizetype maxPageBytes = 4 * 1024 * 1024; // in UTF-8
inline constexpr int maxAttributes = 128;

// Throws KestranoError for a page of more than maxPageBytes bytes.
void checkSize(qsizetype bytes);

// Throws KestranoError for a page (UTF-8) with a tag that has more than
// maxAttributes attributes. Otherwise returns the page as the parser is to
// read it: an end tag "</br>" written where a tag is read becomes "<br>", a
// line break, as browsers read it (libxml2 would drop it).
QByteArray checkedPage(const QByteArray &page);

// The most attributes that one tag of the page can have as the parser
// reads its tags: comments, the text of SCRIPT and STYLE, quoted values
// and bogus attribute names are passed over the way libxml2 passes over
// them. Never fewer than the parser finds; a few more where the page is
// odd.
int mostAttributesInOneTag(QByteArrayView page);
} // namespace PageLimits
