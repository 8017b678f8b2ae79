#pragma once

#include "html/HtmlElement.h"

#include <memory>
#include <vector>

// A list of elements in the order of the page, as the document gives it: all
// its elements, its tables, or those of a list with one tag name. Copies
// share the elements. A default-made list is "none": a place where no list
// has been attached, which reads like an empty one.
class THtmlElementList
{
public:
    THtmlElementList() = default;
    explicit THtmlElementList(std::vector<THtmlElement> elements);

    bool isNull() const { return !FElements; }

    int length() const;
    // The element at that position; none when out of range.
    THtmlElement item(int index) const;
    // The first element whose id or name attribute equals name.
    THtmlElement item(const QString &name) const;
    // Among the elements whose id or name equals name, the one at position
    // index.
    THtmlElement item(const QString &name, int index) const;
    // The elements of this list with that tag name (any case), in order.
    THtmlElementList tags(const QString &tagName) const;

private:
    std::shared_ptr<const std::vector<THtmlElement>> FElements;
};
