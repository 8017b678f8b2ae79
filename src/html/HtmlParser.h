#pragma once

#include "html/HtmlDocument.h"
#include "html/TableCollection.h"
#include "html/WebCombobox.h"
#include "html/WebElementCollection.h"

#include <QString>

// Read access to an HTML page as a parsed document: all its elements in the
// order of the page, its tables with their rows and cells, and its select
// elements. Set the page as HTML, then look things up. A table, child
// collection or select obtained from a lookup stays valid until the next
// lookup of the same kind.
class HtmlParser
{
public:
    HtmlParser();
    ~HtmlParser();
    HtmlParser(const HtmlParser &) = delete;
    HtmlParser &operator=(const HtmlParser &) = delete;

    // The text set last; empty for a new parser.
    const QString &html() const { return m_html; }
    // Reads the page into the document, unless it is the text set last: the
    // same page is never read twice. A page beyond the limits of
    // PageLimits.h raises a KestranoError and leaves everything as it was.
    void setHTML(const QString &html);

    TableCollection &webTables() { return m_webTables; }
    // All elements of the document; nothing attached until a page with
    // some text has been set.
    WebElementCollection &webElements() { return m_webElements; }
    // The select wrapper with the element of that id or name attached (none
    // when there is no such element); nullptr while WebElements has nothing
    // attached. An element that is not a SELECT raises "Interface not
    // supported".
    WebCombobox *getWebCombobox(const QString &name);

    HtmlDocument &document() { return m_htmlDoc; }

private:
    QString m_html;
    // Before the wrappers, which hold on to it.
    HtmlDocument m_htmlDoc;
    TableCollection m_webTables;
    WebElementCollection m_webElements;
    WebCombobox m_webComb;
};
