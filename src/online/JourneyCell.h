#pragma once

#include <QString>
#include <optional>

// The content of the first DIV of a journey cell's HTML: from the end of the
// first start tag ("<DIV>" or "<DIV class=...>", any case, on one line) to
// the last "</DIV>" on the same line, trimmed. Nothing when no line holds
// both.
//
// Worked out in one pass instead of by the pattern itself: on a long line
// with many "<DIV" and no "</DIV>" after them, the pattern retries from every
// one of them and takes time that grows with the square of the line or
// worse, and the cells come from a page off the network.
std::optional<QString> journeyCellContent(const QString &cellHtml);
