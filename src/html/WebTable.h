#pragma once

#include "html/HtmlElement.h"

#include <QString>

// A TABLE element read by rows and cells. The rows are those of all its
// sections (THEAD, TBODY, TFOOT and rows written straight into the table) in
// the order of the page, not those of tables inside its cells. Cells are
// addressed column first, then row, both from 0.
class WebTable
{
public:
    explicit WebTable(const HtmlElement &table = {});

    const HtmlElement &tableInterface() const { return m_tableInterface; }
    // Attaches a TABLE element or none; any other element raises
    // "不支持此接口" and leaves the table attached before.
    void setTableInterface(const HtmlElement &table);

    int rowCount() const;
    // The class attribute as written; empty with no table.
    QString className() const { return m_tableInterface.className(); }
    // Not trimmed; empty with no table.
    QString innerHtml() const { return m_tableInterface.innerHTML(); }
    QString innerText() const { return m_tableInterface.innerText(); }

    // The shown text of cell column of row row, trimmed; empty with no table,
    // no such row or no such cell.
    QString getCell(int column, int row) const;
    // The HTML of that cell, trimmed; empty likewise.
    QString getCellHtml(int column, int row) const;
    // The TD or TH element; none likewise.
    HtmlElement getCellElement(int column, int row) const;
    // The number of cells of that row; 0 with no table or no such row.
    int getRowColCount(int rowIndex) const;

private:
    const _xmlNode *rowNode(int index) const;

    HtmlElement m_tableInterface;
};
