#pragma once

#include "print/ReportPage.h"

#include <QHash>
#include <QString>
#include <vector>

// The print layout of the receipt: one A4 page holding the 74 labels of the
// layout table at their designed positions, in the design font "TEC", plus
// the empty title band. Every preview and every print makes a new one, so
// offsets and added characters never carry over from one run to the next.
class TfrmRep
{
public:
    explicit TfrmRep(TTextMeasure measure = TTextMeasure());

    TfrmRep(const TfrmRep &) = delete;
    TfrmRep &operator=(const TfrmRep &) = delete;

    TReportPage &ReportPage() { return FReportPage; }
    const TReportPage &ReportPage() const { return FReportPage; }

    // The layout label of that exact name, or nullptr.
    TPrintLabel *label(const QString &name) const { return FByName.value(name, nullptr); }
    // The label "qlbl" + stem + row, or nullptr (rows 1 to 4; the city also 5).
    TPrintLabel *label(const QString &stem, int row) const;

    // The layout's own labels, in the order of the table; not the ones that
    // the filling adds.
    const std::vector<TPrintLabel *> &layoutLabels() const { return FLayoutLabels; }

private:
    TReportPage FReportPage;
    std::vector<TPrintLabel *> FLayoutLabels;
    QHash<QString, TPrintLabel *> FByName;
};
