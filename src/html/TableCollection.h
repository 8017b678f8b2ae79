#pragma once

#include "html/HtmlElement.h"
#include "html/WebTable.h"

class HtmlDocument;

// The tables of a document, with lookups by position and by id or name. The
// list is the document's own: tables that a later page brings into the
// document are in it without a new lookup.
class TableCollection
{
public:
    explicit TableCollection(HtmlDocument *Doc);

    HtmlDocument *document() const { return m_document; }
    void setDocument(HtmlDocument *Doc) { m_document = Doc; }

    int count() const;
    // The TABLE element at that position; none when out of range.
    HtmlElement getTableInterfaceByIndex(int index) const;
    // The first table whose id or name attribute equals name.
    HtmlElement getTableInterfaceByName(const QString &name) const;

    // Attach the table found (or none) to the one table wrapper that every
    // call re-points, and return it; nullptr when no table was found, and a
    // wrapper obtained before then reads as no table.
    WebTable *getTableByIndex(int index);
    WebTable *getTableByName(const QString &name);

private:
    WebTable *attach(const HtmlElement &table);

    HtmlDocument *m_document;
    WebTable m_webTable;
};
