#include "print/PageRenderer.h"

#include "print/ReportPage.h"

#include <QPaintDevice>
#include <QPainter>

namespace {

void drawLabel(const TPrintLabel &label, const TTextMeasure &measure, QPainter &painter,
               qreal deviceDpiY)
{
    if (!label.transparent())
        painter.fillRect(label.box(), Qt::white);
    if (label.text().isEmpty())
        return;

    qreal x = label.left();
    if (label.alignment() & Qt::AlignRight)
        x = label.box().right() - measure.width(label.font(), label.text());
    const qreal baseline = label.top() + measure.ascent(label.font());

    // The painter already scales 96-dpi units up to the device, so the font
    // is given at the size that the scaling brings back to its point size.
    QFont font = label.font();
    font.setPointSizeF(label.pointSize() * TReportPage::pixelsPerInch / deviceDpiY);
    painter.setFont(font);
    painter.setPen(label.colour());
    painter.drawText(QPointF(x, baseline), label.text());
}

} // namespace

void renderPage(const TReportPage &page, QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    const qreal dpiX = device->logicalDpiX();
    const qreal dpiY = device->logicalDpiY();

    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(dpiX / TReportPage::pixelsPerInch, dpiY / TReportPage::pixelsPerInch);
    painter.fillRect(page.titleBand(), Qt::white);
    for (const auto &label : page.labels())
        drawLabel(*label, page.measure(), painter, dpiY);
    painter.restore();
}
