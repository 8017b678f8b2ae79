#include "html/TableCollection.h"

#include "html/HtmlDocument.h"

TTableCollection::TTableCollection(THtmlDocument *Doc) : FDocument(Doc) {}

int TTableCollection::Count() const
{
    return FDocument ? FDocument->tables().length() : 0;
}

THtmlElement TTableCollection::GetTableInterfaceByIndex(int index) const
{
    return FDocument ? FDocument->tables().item(index) : THtmlElement();
}

THtmlElement TTableCollection::GetTableInterfaceByName(const QString &AName) const
{
    return FDocument ? FDocument->tables().item(AName) : THtmlElement();
}

TWebTable *TTableCollection::GetTableByIndex(int index)
{
    return attach(GetTableInterfaceByIndex(index));
}

TWebTable *TTableCollection::GetTableByName(const QString &AName)
{
    return attach(GetTableInterfaceByName(AName));
}

TWebTable *TTableCollection::attach(const THtmlElement &table)
{
    FWebTable.setTableInterface(table);
    return table ? &FWebTable : nullptr;
}
