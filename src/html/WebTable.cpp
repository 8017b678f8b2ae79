#include "html/WebTable.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "common/TextRules.h"
#include "html/LibxmlNodes.h"

using namespace LibxmlNodes;

namespace {

bool isSection(const xmlNode *node)
{
    return isElement(node, "thead") || isElement(node, "tbody") || isElement(node, "tfoot");
}

bool isCell(const xmlNode *node)
{
    return isElement(node, "td") || isElement(node, "th");
}

// Walks the rows of a table in the order of the page: those written straight
// into it and those of its sections, not those of tables inside its cells.
class RowWalk
{
public:
    explicit RowWalk(const xmlNode *table) : m_next(firstElementChild(table)) {}

    const xmlNode *next()
    {
        while (m_next) {
            const xmlNode *node = m_next;
            const bool inSection = m_inSection;
            if (inSection && !nextElementSibling(node)) {
                m_next = nextElementSibling(node->parent);
                m_inSection = false;
            } else {
                m_next = nextElementSibling(node);
            }
            if (isElement(node, "tr"))
                return node;
            if (!inSection && isSection(node)) {
                if (const xmlNode *first = firstElementChild(node)) {
                    m_next = first;
                    m_inSection = true;
                }
            }
        }
        return nullptr;
    }

private:
    const xmlNode *m_next;
    bool m_inSection = false;
};

} // namespace

WebTable::WebTable(const HtmlElement &table)
{
    setTableInterface(table);
}

void WebTable::setTableInterface(const HtmlElement &table)
{
    if (table == m_tableInterface)
        return;
    if (table && !table.hasTagName(u"TABLE"))
        throw KestranoError(Messages::interfaceNotSupported());
    m_tableInterface = table;
}

int WebTable::rowCount() const
{
    if (!m_tableInterface)
        return 0;
    int count = 0;
    for (RowWalk rows(m_tableInterface.node()); rows.next();)
        ++count;
    return count;
}

const xmlNode *WebTable::rowNode(int index) const
{
    if (!m_tableInterface || index < 0)
        return nullptr;
    RowWalk rows(m_tableInterface.node());
    const xmlNode *row = rows.next();
    for (; row && index > 0; --index)
        row = rows.next();
    return row;
}

HtmlElement WebTable::getCellElement(int column, int row) const
{
    const xmlNode *cells = rowNode(row);
    if (!cells || column < 0)
        return {};
    for (xmlNode *cell = firstElementChild(cells); cell; cell = nextElementSibling(cell)) {
        if (isCell(cell) && column-- == 0)
            return HtmlElement(m_tableInterface.page(), cell);
    }
    return {};
}

QString WebTable::getCell(int column, int row) const
{
    return trimmed(getCellElement(column, row).innerText());
}

QString WebTable::getCellHtml(int column, int row) const
{
    return trimmed(getCellElement(column, row).innerHTML());
}

int WebTable::getRowColCount(int rowIndex) const
{
    const xmlNode *cells = rowNode(rowIndex);
    if (!cells)
        return 0;
    int count = 0;
    for (const xmlNode *cell = firstElementChild(cells); cell; cell = nextElementSibling(cell))
        count += isCell(cell) ? 1 : 0;
    return count;
}
