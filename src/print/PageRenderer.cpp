#include "print/PageRenderer.h"

#include "print/ReportPage.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>

namespace {

void drawLabel(const PrintLabel &label, const TextMeasure &measure, QPainter &painter,
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
    font.setPointSizeF(label.pointSize() * ReportPage::pixelsPerInch / deviceDpiY);
    painter.setFont(font);
    painter.setPen(label.colour());
    painter.drawText(QPointF(x, baseline), label.text());
}

void drawMark(const PageMark &mark, QPainter &painter)
{
    painter.setPen(QPen(mark.colour, mark.penWidth));
    painter.setBrush(Qt::NoBrush);
    if (mark.frame)
        painter.drawRect(QRectF(mark.line.p1(), mark.line.p2()));
    else
        painter.drawLine(mark.line);
}

void drawValueBox(const ValueBox &value, QPainter &painter, qreal deviceDpiY)
{
    static const QColor fill(236, 236, 236);
    static const QColor outline(200, 200, 200);
    static const QColor captionColour(150, 150, 150);
    constexpr qreal captionPoints = 6;

    painter.setPen(QPen(outline, 0.5));
    painter.setBrush(fill);
    painter.drawRect(value.box);

    QString caption = value.caption;
    if (value.stretch != 100)
        caption += QStringLiteral(" %1%").arg(value.stretch);
    if (value.shrunkBy > 0)
        caption += QStringLiteral(" -%1pt").arg(value.shrunkBy);
    QFont font = TextMeasure::labelFont(QStringLiteral("宋体"), captionPoints);
    font.setPointSizeF(captionPoints * ReportPage::pixelsPerInch / deviceDpiY);
    painter.setFont(font);
    painter.setPen(captionColour);
    // Bottom right, where a value that fits leaves the box empty.
    painter.drawText(value.box.adjusted(1, 0, -1, 0), Qt::AlignRight | Qt::AlignBottom, caption);
}

} // namespace

void renderPage(const ReportPage &page, QPainter &painter, Backdrop backdrop)
{
    const QPaintDevice *device = painter.device();
    const qreal dpiX = device->logicalDpiX();
    const qreal dpiY = device->logicalDpiY();

    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(dpiX / ReportPage::pixelsPerInch, dpiY / ReportPage::pixelsPerInch);
    painter.fillRect(page.titleBand(), Qt::white);
    if (backdrop == Backdrop::ValueBoxes) {
        for (const ValueBox &value : page.valueBoxes())
            drawValueBox(value, painter, dpiY);
    }
    for (const PageMark &mark : page.marks())
        drawMark(mark, painter);
    for (const auto &label : page.labels())
        drawLabel(*label, page.measure(), painter, dpiY);
    painter.restore();
}
