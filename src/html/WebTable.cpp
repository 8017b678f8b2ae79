#include "html/WebTable.h"

#include "common/KestranoError.h"
#include "common/TextRules.h"

namespace {

bool isSection(const THtmlNode &node)
{
    return node.isElement(u"THEAD") || node.isElement(u"TBODY") || node.isElement(u"TFOOT");
}

bool isCell(const THtmlNode &node)
{
    return node.isElement(u"TD") || node.isElement(u"TH");
}

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
        throw KestranoError(QStringLiteral("Interface not supported"));
    FTableInterface = ATable;
}

int TWebTable::RowCount() const
{
    if (!FTableInterface)
        return 0;
    int count = 0;
    for (const THtmlNode::Ptr &child : FTableInterface.node()->children()) {
        if (child->isElement(u"TR")) {
            ++count;
        } else if (isSection(*child)) {
            for (const THtmlNode::Ptr &sectionRow : child->children())
                count += sectionRow->isElement(u"TR") ? 1 : 0;
        }
    }
    return count;
}

const THtmlNode *TWebTable::row(int index) const
{
    if (!FTableInterface || index < 0)
        return nullptr;
    for (const THtmlNode::Ptr &child : FTableInterface.node()->children()) {
        if (child->isElement(u"TR")) {
            if (index-- == 0)
                return child.get();
        } else if (isSection(*child)) {
            for (const THtmlNode::Ptr &sectionRow : child->children()) {
                if (sectionRow->isElement(u"TR") && index-- == 0)
                    return sectionRow.get();
            }
        }
    }
    return nullptr;
}

THtmlElement TWebTable::GetCellElement(int ACol, int ARow) const
{
    const THtmlNode *cells = row(ARow);
    if (!cells || ACol < 0)
        return {};
    for (const THtmlNode::Ptr &cell : cells->children()) {
        if (isCell(*cell) && ACol-- == 0)
            return THtmlElement(cell);
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
    const THtmlNode *cells = row(RowIndex);
    if (!cells)
        return 0;
    int count = 0;
    for (const THtmlNode::Ptr &cell : cells->children()) {
        if (isCell(*cell))
            ++count;
    }
    return count;
}
