#include "print/ReportPage.h"

#include <QPageSize>

namespace {

constexpr qreal marginMillimetres = 10.0;

} // namespace

ReportPage::ReportPage(TextMeasure measure) : m_measure(std::move(measure))
{
    const qreal margin = pixelsFromMillimetres(marginMillimetres);
    m_titleBand = QRectF(margin, margin, 0, 0);
}

QPageLayout ReportPage::pageLayout()
{
    const QMarginsF margins(marginMillimetres, marginMillimetres, marginMillimetres,
                            marginMillimetres);
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                       QPageLayout::Millimeter);
}

QRectF ReportPage::sheet()
{
    const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    return QRectF(0, 0, pixelsFromMillimetres(mm.width()), pixelsFromMillimetres(mm.height()));
}

void ReportPage::setTitleBand(const QSizeF &size)
{
    m_titleBand.setSize(size);
}

PrintLabel &ReportPage::addLabel(const QString &name)
{
    static const QString defaultFamily = QStringLiteral("Arial Narrow");
    constexpr qreal defaultPointSize = 10;
    m_labels.push_back(std::make_unique<PrintLabel>(
        m_measure, name, TextMeasure::labelFont(defaultFamily, defaultPointSize)));
    return *m_labels.back();
}

PrintLabel *ReportPage::findLabel(const QString &name) const
{
    for (const auto &label : m_labels) {
        if (label->name() == name)
            return label.get();
    }
    return nullptr;
}

void ReportPage::printed() const
{
    if (m_afterPrint)
        m_afterPrint();
}
