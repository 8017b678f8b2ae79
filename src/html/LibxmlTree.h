#pragma once

#include "html/HtmlNode.h"

#include <QByteArray>

// Parses a whole page (UTF-8) with libxml2's HTML parser, as forgiving as a
// browser with broken markup and without any network access, and returns it
// as a tree under a document node: an HTML element holding what the page
// wrote, a BODY around content that came without one. A page beyond the
// limits of PageLimits.h is refused with a KestranoError before it is read.
THtmlNode::Ptr parsePage(const QByteArray &utf8);
