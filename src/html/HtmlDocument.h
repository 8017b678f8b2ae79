#pragma once

#include "html/HtmlElementList.h"
#include "html/HtmlPage.h"

#include <QString>

// A document in memory that takes a page's HTML and gives its elements.
// Nothing of the page runs: there are no scripts, styles or requests.
class HtmlDocument
{
public:
    HtmlDocument() = default;

    // Replaces the content with the page, read by libxml2's HTML parser: a
    // whole page with its own HTML, HEAD and BODY tags is taken in as it
    // stands, and a fragment lands in a body. A page beyond the limits of
    // PageLimits.h is refused with a KestranoError and the content stays as
    // it was.
    void setBodyHtml(const QString &html);

    // All elements in the order of the page, each before its descendants;
    // an empty list before the first page. Both lists are live.
    const HtmlElementList &all() const { return m_all; }
    // Its TABLE elements.
    const HtmlElementList &tables() const { return m_tables; }

    // A new element of that tag name that belongs to no place in the page
    // yet, such as an OPTION to add to a select element.
    HtmlElement createElement(const QString &tagName) const;

private:
    // Made when an element is made before any page has been read.
    mutable HtmlPage::Ptr m_page;
    HtmlElementList m_all = HtmlElementList::empty();
    HtmlElementList m_tables = HtmlElementList::empty();
};
