#pragma once

#include "html/HtmlElementList.h"

#include <QString>
#include <memory>

// A list of a page's elements with lookups by position, by id or name, and
// by tag name. With nothing attached every lookup finds nothing.
class WebElementCollection
{
public:
    explicit WebElementCollection(const HtmlElementList &collection = {});
    ~WebElementCollection();

    const HtmlElementList &collection() const { return m_collection; }
    void setCollection(const HtmlElementList &collection) { m_collection = collection; }

    int elementCount() const { return m_collection.length(); }
    // The element at that position; none when out of range.
    HtmlElement getElementByIndex(int index) const { return m_collection.item(index); }
    // The first element whose id or name attribute equals itemName.
    HtmlElement getElementByName(const QString &itemName) const;
    // Among the elements whose id or name equals itemName, the one at
    // position index.
    HtmlElement getElement(const QString &itemName, int index) const;
    // The elements of this list with that tag name, in order, in the one
    // child collection that every call re-points: a collection obtained
    // before now lists the new elements. nullptr with nothing attached.
    WebElementCollection *getCollection(const QString &index);

private:
    HtmlElementList m_collection;
    std::unique_ptr<WebElementCollection> m_childCollection;
};
