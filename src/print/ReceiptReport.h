#pragma once

#include "print/ReportPage.h"

#include <QHash>
#include <QString>
#include <vector>

// The print layout of the receipt: one A4 page holding the 74 labels of the
// layout table at their designed positions, in the design font "TEC", plus
// the empty title band. Every preview and every print makes a new one, so
// offsets and added characters never carry over from one run to the next.
class ReceiptReport
{
public:
    explicit ReceiptReport(TextMeasure measure = TextMeasure());

    ReceiptReport(const ReceiptReport &) = delete;
    ReceiptReport &operator=(const ReceiptReport &) = delete;

    ReportPage &reportPage() { return m_reportPage; }
    const ReportPage &reportPage() const { return m_reportPage; }

    // The layout label of that exact name, or nullptr.
    PrintLabel *label(const QString &name) const { return m_byName.value(name, nullptr); }
    // The label "qlbl" + stem + row, or nullptr (rows 1 to 4; the city also 5).
    PrintLabel *label(const QString &stem, int row) const;

    // The layout's own labels, in the order of the table; not the ones that
    // the filling adds.
    const std::vector<PrintLabel *> &layoutLabels() const { return m_layoutLabels; }

private:
    ReportPage m_reportPage;
    std::vector<PrintLabel *> m_layoutLabels;
    QHash<QString, PrintLabel *> m_byName;
};
