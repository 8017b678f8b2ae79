#include "html/WebElementCollection.h"

TWebElementCollection::TWebElementCollection(const THtmlElementList &ACollection)
    : FCollection(ACollection)
{}

TWebElementCollection::~TWebElementCollection() = default;

THtmlElement TWebElementCollection::GetElementByName(const QString &itemName) const
{
    return FCollection.item(itemName);
}

THtmlElement TWebElementCollection::GetElement(const QString &itemName, int index) const
{
    return FCollection.item(itemName, index);
}

TWebElementCollection *TWebElementCollection::GetCollection(const QString &index)
{
    if (FCollection.isNull())
        return nullptr;
    if (!FChildCollection)
        FChildCollection = std::make_unique<TWebElementCollection>();
    FChildCollection->setCollection(FCollection.tags(index));
    return FChildCollection.get();
}
