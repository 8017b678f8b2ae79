#include "html/TableCollection.h"

#include "html/HtmlDocument.h"

TableCollection::TableCollection(HtmlDocument *Doc) : m_document(Doc) {}

int TableCollection::count() const
{
    return m_document ? m_document->tables().length() : 0;
}

HtmlElement TableCollection::getTableInterfaceByIndex(int index) const
{
    return m_document ? m_document->tables().item(index) : HtmlElement();
}

HtmlElement TableCollection::getTableInterfaceByName(const QString &name) const
{
    return m_document ? m_document->tables().item(name) : HtmlElement();
}

WebTable *TableCollection::getTableByIndex(int index)
{
    return attach(getTableInterfaceByIndex(index));
}

WebTable *TableCollection::getTableByName(const QString &name)
{
    return attach(getTableInterfaceByName(name));
}

WebTable *TableCollection::attach(const HtmlElement &table)
{
    m_webTable.setTableInterface(table);
    return table ? &m_webTable : nullptr;
}
