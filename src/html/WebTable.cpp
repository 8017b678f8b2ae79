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
class TRowWalk
{
public:
    explicit TRowWalk(const xmlNode *table) : FNext(firstElementChild(table)) {}

    const xmlNode *next()
    {
        while (FNext) {
            const xmlNode *node = FNext;
            const bool inSection = FInSection;
            if (inSection && !nextElementSibling(node)) {
                FNext = nextElementSibling(node->parent);
                FInSection = false;
            } else {
                FNext = nextElementSibling(node);
            }
            if (isElement(node, "tr"))
                return node;
            if (!inSection && isSection(node)) {
                if (const xmlNode *first = firstElementChild(node)) {
                    FNext = first;
                    FInSection = true;
                }
            }
        }
        return nullptr;
    }

private:
    const xmlNode *FNext;
    bool FInSection = false;
};

} // namespace

TWebTable::TWebTable(const THtmlElement &ATable)
{
    setTableInterface(ATable);
}

void TWebTable::setTableInterface(const THtmlElement &ATable)
{
    if (ATable == FTableInterface)
        return;
    if (ATable && !ATable.hasTagName(u"TABLE"))
        throw KestranoError(Messages::interfaceNotSupported());
    FTableInterface = ATable;
}

int TWebTable::RowCount() const
{
    if (!FTableInterface)
        return 0;
    int count = 0;
    for (TRowWalk rows(FTableInterface.node()); rows.next();)
        ++count;
    return count;
}

const xmlNode *TWebTable::row(int index) const
{
    if (!FTableInterface || index < 0)
        return nullptr;
    TRowWalk rows(FTableInterface.node());
    const xmlNode *row = rows.next();
    for (; row && index > 0; --index)
        row = rows.next();
    return row;
}

THtmlElement TWebTable::GetCellElement(int ACol, int ARow) const
{
    const xmlNode *cells = row(ARow);
    if (!cells || ACol < 0)
        return {};
    for (xmlNode *cell = firstElementChild(cells); cell; cell = nextElementSibling(cell)) {
        if (isCell(cell) && ACol-- == 0)
            return THtmlElement(FTableInterface.page(), cell);
    }
    return {};
}

QString TWebTable::GetCell(int ACol, int ARow) const
{
    return trimmed(GetCellElement(ACol, ARow).innerText());
}

QString TWebTable::GetCellHtml(int ACol, int ARow) const
{
    return trimmed(GetCellElement(ACol, ARow).innerHTML());
}

int TWebTable::GetRowColCount(int RowIndex) const
{
    const xmlNode *cells = row(RowIndex);
    if (!cells)
        return 0;
    int count = 0;
    for (const xmlNode *cell = firstElementChild(cells); cell; cell = nextElementSibling(cell))
        count += isCell(cell) ? 1 : 0;
    return count;
}
