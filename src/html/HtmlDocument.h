#pragma once

#include "html/HtmlElementList.h"
#include "html/HtmlPage.h"

#include <QString>

// A document in memory that takes a page's HTML and gives its elements.
// Nothing of the page runs: there are no scripts, styles or requests.
class THtmlDocument
{
public:
    THtmlDocument() = default;

    // Replaces the content with the page, read by libxml2's HTML parser: a
    // whole page with its own HTML, HEAD and BODY tags is taken in as it
    // stands, and a fragment lands in a body. A page beyond the limits of
    // PageLimits.h is refused with a KestranoError and the content stays as
    // it was.
    void setBodyHtml(const QString &html);

    // All elements in the order of the page, each before its descendants;
    // an empty list before the first page. Both lists are live.
    const THtmlElementList &all() const { return FAll; }
    // Its TABLE elements.
    const THtmlElementList &tables() const { return FTables; }

    // A new element of that tag name that belongs to no place in the page
    // yet, such as an OPTION to add to a select element.
    THtmlElement createElement(const QString &tagName) const;

private:
    // Made when an element is made before any page has been read.
    mutable THtmlPage::Ptr FPage;
    THtmlElementList FAll = THtmlElementList::empty();
    THtmlElementList FTables = THtmlElementList::empty();
};
