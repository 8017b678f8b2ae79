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
class THtmlParser
{
public:
    THtmlParser();
    ~THtmlParser();
    THtmlParser(const THtmlParser &) = delete;
    THtmlParser &operator=(const THtmlParser &) = delete;

    // The text set last; empty for a new parser.
    const QString &HTML() const { return FHTML; }
    // Reads the page into the document, unless it is the text set last: the
    // same page is never read twice. A page beyond the limits of
    // PageLimits.h raises a KestranoError and leaves everything as it was.
    void setHTML(const QString &html);

    TTableCollection &WebTables() { return FWebTables; }
    // All elements of the document; nothing attached until a page with
    // some text has been set.
    TWebElementCollection &WebElements() { return FWebElements; }
    // The select wrapper with the element of that id or name attached (none
    // when there is no such element); nullptr while WebElements has nothing
    // attached. An element that is not a SELECT raises "Interface not
    // supported".
    TWebCombobox *GetWebCombobox(const QString &AName);

    THtmlDocument &Document() { return FHtmlDoc; }

private:
    QString FHTML;
    // Before the wrappers, which hold on to it.
    THtmlDocument FHtmlDoc;
    TTableCollection FWebTables;
    TWebElementCollection FWebElements;
    TWebCombobox FWebComb;
};
