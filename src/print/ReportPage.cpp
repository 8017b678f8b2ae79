#include "print/ReportPage.h"

#include <QPageSize>

namespace {

constexpr qreal marginMillimetres = 10.0;

} // namespace

TReportPage::TReportPage(TTextMeasure measure) : FMeasure(std::move(measure))
{
    const qreal margin = pixelsFromMillimetres(marginMillimetres);
    FTitleBand = QRectF(margin, margin, 0, 0);
}

QPageLayout TReportPage::pageLayout()
{
    const QMarginsF margins(marginMillimetres, marginMillimetres, marginMillimetres,
                            marginMillimetres);
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                       QPageLayout::Millimeter);
}

QRectF TReportPage::sheet()
{
    const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    return QRectF(0, 0, pixelsFromMillimetres(mm.width()), pixelsFromMillimetres(mm.height()));
}

void TReportPage::setTitleBand(const QSizeF &size)
{
    FTitleBand.setSize(size);
}

TPrintLabel &TReportPage::addLabel(const QString &name)
{
    static const QString defaultFamily = QStringLiteral("Arial Narrow");
    constexpr qreal defaultPointSize = 10;
    FLabels.push_back(std::make_unique<TPrintLabel>(
        FMeasure, name, TTextMeasure::labelFont(defaultFamily, defaultPointSize)));
    return *FLabels.back();
}

TPrintLabel *TReportPage::findLabel(const QString &name) const
{
    for (const auto &label : FLabels) {
        if (label->name() == name)
            return label.get();
    }
    return nullptr;
}

void TReportPage::printed() const
{
    if (FAfterPrint)
        FAfterPrint();
}
