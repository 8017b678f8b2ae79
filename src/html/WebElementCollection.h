#pragma once

#include "html/HtmlElementList.h"

#include <QString>
#include <memory>

// A list of a page's elements with lookups by position, by id or name, and
// by tag name. With nothing attached every lookup finds nothing.
class TWebElementCollection
{
public:
    explicit TWebElementCollection(const THtmlElementList &ACollection = {});
    ~TWebElementCollection();

    const THtmlElementList &Collection() const { return FCollection; }
    void setCollection(const THtmlElementList &ACollection) { FCollection = ACollection; }

    int ElementCount() const { return FCollection.length(); }
    // The element at that position; none when out of range.
    THtmlElement GetElementByIndex(int index) const { return FCollection.item(index); }
    // The first element whose id or name attribute equals itemName.
    THtmlElement GetElementByName(const QString &itemName) const;
    // Among the elements whose id or name equals itemName, the one at
    // position index.
    THtmlElement GetElement(const QString &itemName, int index) const;
    // The elements of this list with that tag name, in order, in the one
    // child collection that every call re-points: a collection obtained
    // before now lists the new elements. nullptr with nothing attached.
    TWebElementCollection *GetCollection(const QString &index);

private:
    THtmlElementList FCollection;
    std::unique_ptr<TWebElementCollection> FChildCollection;
};
