#include "html/HtmlElementList.h"

#include "html/LibxmlNodes.h"

using namespace LibxmlNodes;

THtmlElementList::THtmlElementList(THtmlPage::Ptr page, const QString &tagName)
    : FList(std::make_shared<TList>())
{
    FList->page = std::move(page);
    FList->tag = lowerName(tagName);
}

THtmlElementList THtmlElementList::empty()
{
    return THtmlElementList(nullptr);
}

const std::vector<xmlNode *> &THtmlElementList::nodes() const
{
    static const std::vector<xmlNode *> nothing;
    if (!FList || !FList->page)
        return nothing;
    const std::vector<xmlNode *> &all = FList->page->elements();
    if (FList->tag.isEmpty())
        return all;
    // Picked from the page's elements again only after the tree changed.
    TList &list = *FList;
    if (list.version != list.page->version()) {
        list.matching.clear();
        for (xmlNode *node : all) {
            if (isElement(node, list.tag.constData()))
                list.matching.push_back(node);
        }
        list.version = list.page->version();
    }
    return list.matching;
}

int THtmlElementList::length() const
{
    return int(nodes().size());
}

THtmlElement THtmlElementList::item(int index) const
{
    const std::vector<xmlNode *> &list = nodes();
    if (index < 0 || size_t(index) >= list.size())
        return {};
    return THtmlElement(FList->page, list[size_t(index)]);
}

THtmlElement THtmlElementList::item(const QString &name) const
{
    return item(name, 0);
}

THtmlElement THtmlElementList::item(const QString &name, int index) const
{
    if (index < 0)
        return {};
    const QByteArray wanted = name.toUtf8();
    for (xmlNode *node : nodes()) {
        if (LibxmlNodes::hasIdOrName(node, wanted) && index-- == 0)
            return THtmlElement(FList->page, node);
    }
    return {};
}

THtmlElementList THtmlElementList::tags(const QString &tagName) const
{
    if (!FList || !FList->page)
        return empty();
    const QByteArray wanted = lowerName(tagName);
    // A list of one tag name has nothing of another.
    if (wanted.isEmpty() || (!FList->tag.isEmpty() && FList->tag != wanted))
        return empty();
    return THtmlElementList(FList->page, tagName);
}
