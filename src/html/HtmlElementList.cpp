#include "html/HtmlElementList.h"

THtmlElementList::THtmlElementList(std::vector<THtmlElement> elements)
    : FElements(std::make_shared<const std::vector<THtmlElement>>(std::move(elements)))
{}

int THtmlElementList::length() const
{
    return FElements ? int(FElements->size()) : 0;
}

THtmlElement THtmlElementList::item(int index) const
{
    if (index < 0 || index >= length())
        return {};
    return (*FElements)[size_t(index)];
}

THtmlElement THtmlElementList::item(const QString &name) const
{
    return item(name, 0);
}

THtmlElement THtmlElementList::item(const QString &name, int index) const
{
    if (!FElements || index < 0)
        return {};
    for (const THtmlElement &element : *FElements) {
        if (element.hasIdOrName(name) && index-- == 0)
            return element;
    }
    return {};
}

THtmlElementList THtmlElementList::tags(const QString &tagName) const
{
    std::vector<THtmlElement> matching;
    if (FElements) {
        const QString wanted = tagName.toUpper();
        for (const THtmlElement &element : *FElements) {
            if (element.hasTagName(wanted))
                matching.push_back(element);
        }
    }
    return THtmlElementList(std::move(matching));
}
