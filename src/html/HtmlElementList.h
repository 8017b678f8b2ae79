#pragma once

#include "html/HtmlElement.h"

#include <QByteArray>
#include <memory>
#include <vector>

// A live list of a page's elements in the order of the page: all of them, or
// those of one tag name. Options that are added or removed later are in it
// or gone from it without a new lookup. Copies share the list. A
// default-made list is "none": a place where no list has been attached,
// which reads like an empty one.
class HtmlElementList
{
public:
    HtmlElementList() = default;
    // All elements of the page; with a tag name (any case), those with it.
    explicit HtmlElementList(HtmlPage::Ptr page, const QString &tagName = QString());
    // A list that is attached and holds nothing, as of a page not read yet.
    static HtmlElementList empty();

    bool isNull() const { return !m_list; }

    int length() const;
    // The element at that position; none when out of range.
    HtmlElement item(int index) const;
    // The first element whose id or name attribute equals name.
    HtmlElement item(const QString &name) const;
    // Among the elements whose id or name equals name, the one at position
    // index.
    HtmlElement item(const QString &name, int index) const;
    // The elements of this list with that tag name (any case), in order.
    HtmlElementList tags(const QString &tagName) const;

private:
    struct List
    {
        HtmlPage::Ptr page; // none: the list holds nothing
        QByteArray tag;     // lower case; empty for all elements
        std::vector<_xmlNode *> matching;
        quint64 version = ~quint64(0);
    };

    const std::vector<_xmlNode *> &nodes() const;

    std::shared_ptr<List> m_list;
};
