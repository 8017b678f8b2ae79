#pragma once

#include "html/HtmlElement.h"

#include <QString>

// A TABLE element read by rows and cells. The rows are those of all its
// sections (THEAD, TBODY, TFOOT and rows written straight into the table) in
// the order of the page, not those of tables inside its cells. Cells are
// addressed column first, then row, both from 0.
class TWebTable
{
public:
    explicit TWebTable(const THtmlElement &ATable = {});

    const THtmlElement &TableInterface() const { return FTableInterface; }
    // Attaches a TABLE element or none; any other element raises
    // "不支持此接口" and leaves the table attached before.
    void setTableInterface(const THtmlElement &ATable);

    int RowCount() const;
    // The class attribute as written; empty with no table.
    QString className() const { return FTableInterface.className(); }
    // Not trimmed; empty with no table.
    QString InnerHtml() const { return FTableInterface.innerHTML(); }
    QString InnerText() const { return FTableInterface.innerText(); }

    // The shown text of cell ACol of row ARow, trimmed; empty with no table,
    // no such row or no such cell.
    QString GetCell(int ACol, int ARow) const;
    // The HTML of that cell, trimmed; empty likewise.
    QString GetCellHtml(int ACol, int ARow) const;
    // The TD or TH element; none likewise.
    THtmlElement GetCellElement(int ACol, int ARow) const;
    // The number of cells of that row; 0 with no table or no such row.
    int GetRowColCount(int RowIndex) const;

private:
    const _xmlNode *row(int index) const;

    THtmlElement FTableInterface;
};
