#include "html/HtmlElementList.h"

#include "html/LibxmlNodes.h"

using namespace LibxmlNodes;

HtmlElementList::HtmlElementList(HtmlPage::Ptr page, const QString &tagName)
    : m_list(std::make_shared<List>())
{
    m_list->page = std::move(page);
    m_list->tag = lowerName(tagName);
}

HtmlElementList HtmlElementList::empty()
{
    return HtmlElementList(nullptr);
}

const std::vector<xmlNode *> &HtmlElementList::nodes() const
{
    static const std::vector<xmlNode *> nothing;
    if (!m_list || !m_list->page)
        return nothing;
    const std::vector<xmlNode *> &all = m_list->page->elements();
    if (m_list->tag.isEmpty())
        return all;
    // Picked from the page's elements again only after the tree changed.
    List &list = *m_list;
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

int HtmlElementList::length() const
{
    return int(nodes().size());
}

HtmlElement HtmlElementList::item(int index) const
{
    const std::vector<xmlNode *> &list = nodes();
    if (index < 0 || size_t(index) >= list.size())
        return {};
    return HtmlElement(m_list->page, list[size_t(index)]);
}

HtmlElement HtmlElementList::item(const QString &name) const
{
    return item(name, 0);
}

HtmlElement HtmlElementList::item(const QString &name, int index) const
{
    if (index < 0)
        return {};
    const QByteArray wanted = name.toUtf8();
    for (xmlNode *node : nodes()) {
        if (LibxmlNodes::hasIdOrName(node, wanted) && index-- == 0)
            return HtmlElement(m_list->page, node);
    }
    return {};
}

HtmlElementList HtmlElementList::tags(const QString &tagName) const
{
    if (!m_list || !m_list->page)
        return empty();
    const QByteArray wanted = lowerName(tagName);
    // A list of one tag name has nothing of another.
    if (wanted.isEmpty() || (!m_list->tag.isEmpty() && m_list->tag != wanted))
        return empty();
    return HtmlElementList(m_list->page, tagName);
}
