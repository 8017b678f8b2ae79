#pragma once

#include "html/HtmlElement.h"
#include "html/WebTable.h"

class THtmlDocument;

// The tables of a document, with lookups by position and by id or name. The
// list is the document's own: tables that a later page brings into the
// document are in it without a new lookup.
class TTableCollection
{
public:
    explicit TTableCollection(THtmlDocument *Doc);

    THtmlDocument *Document() const { return FDocument; }
    void setDocument(THtmlDocument *Doc) { FDocument = Doc; }

    int Count() const;
    // The TABLE element at that position; none when out of range.
    THtmlElement GetTableInterfaceByIndex(int index) const;
    // The first table whose id or name attribute equals AName.
    THtmlElement GetTableInterfaceByName(const QString &AName) const;

    // Attach the table found (or none) to the one table wrapper that every
    // call re-points, and return it; nullptr when no table was found, and a
    // wrapper obtained before then reads as no table.
    TWebTable *GetTableByIndex(int index);
    TWebTable *GetTableByName(const QString &AName);

private:
    TWebTable *attach(const THtmlElement &table);

    THtmlDocument *FDocument;
    TWebTable FWebTable;
};
