#include "html/WebElementCollection.h"

WebElementCollection::WebElementCollection(const HtmlElementList &collection)
    : m_collection(collection)
{}

WebElementCollection::~WebElementCollection() = default;

HtmlElement WebElementCollection::getElementByName(const QString &itemName) const
{
    return m_collection.item(itemName);
}

HtmlElement WebElementCollection::getElement(const QString &itemName, int index) const
{
    return m_collection.item(itemName, index);
}

WebElementCollection *WebElementCollection::getCollection(const QString &index)
{
    if (m_collection.isNull())
        return nullptr;
    if (!m_childCollection)
        m_childCollection = std::make_unique<WebElementCollection>();
    m_childCollection->setCollection(m_collection.tags(index));
    return m_childCollection.get();
}
