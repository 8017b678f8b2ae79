#pragma once

#include "html/HtmlNode.h"

#include <QByteArrayView>
#include <cstddef>

// Parses a whole page (UTF-8) by the HTML5 rules with Gumbo and returns it
// as a tree under a document node: the usual HTML, HEAD and BODY elements,
// whether the page wrote them or not, and everything else where a browser
// would put it. A page beyond the limits of MarkupGuard.h, or one whose tree
// would take more memory than a page of its size can reasonably need, is
// refused with a KestranoError before any of it is returned.
THtmlNode::Ptr parsePage(QByteArrayView utf8);

// The same with the memory that Gumbo may take for the tree given in bytes.
THtmlNode::Ptr parsePage(QByteArrayView utf8, std::size_t memoryBudget);
