#pragma once

#include <QString>

struct _xmlNode;

// The two texts that a page's elements are read as, both taken from
// libxml2's tree. Both walk the tree without recursion, so no page is nested
// too deeply for them, and both build the text in UTF-8, as the tree holds
// it, and convert it once.

// The text as a browser shows it: tags removed, character references
// resolved, every run of blanks shown as one space and none at the start or
// end of a line (except inside PRE and its kind), a line break for every BR
// and around every block such as DIV, P, TR or LI, a tab between the cells of
// a row. Script, style and other content that is never shown is left out.
QString renderedText(const _xmlNode *element);

// The HTML of the element's content. Tag names come in upper case,
// attributes in double quotes, a line break element always as "<BR>" with no
// attributes, and every run of blanks in the text as one space (except inside
// PRE and its kind), so an element written over several lines of the source
// comes out on one line, the way the Windows engine gave it.
QString innerHtml(const _xmlNode *element);
