#include "print/CalibrationPage.h"

#include "print/PrintLimits.h"
#include "print/ReceiptReport.h"
#include "print/ReportFiller.h"

#include <cmath>

namespace {

constexpr qreal captionPoints = 6;
constexpr qreal crossArm = 4;   // pixels each way from the anchor
constexpr qreal hairline = 0.5; // pixels
const QString captionFont = QStringLiteral("宋体");

void line(ReportPage &page, QPointF from, QPointF to)
{
    page.addMark({QLineF(from, to), false, hairline, Qt::black});
}

void text(ReportPage &page, const QString &caption, QPointF at)
{
    PrintLabel &label = page.addLabel(QStringLiteral("calibration"));
    label.setTransparent(true);
    label.setFontFamily(captionFont);
    label.setPointSize(captionPoints);
    label.setText(caption);
    label.setLeft(at.x());
    label.setTop(at.y());
}

// A tick every millimetre, longer every 5 and 10, numbered every 10.
void rulers(ReportPage &page)
{
    const QRectF sheet = ReportPage::sheet();
    const auto tickLength = [](int mm) {
        return ReportPage::pixelsFromMillimetres(mm % 10 == 0 ? 5 : mm % 5 == 0 ? 3 : 1.5);
    };
    const int widthMm = int(std::floor(ReportPage::millimetresFromPixels(sheet.width()) + 1e-6));
    const int heightMm = int(std::floor(ReportPage::millimetresFromPixels(sheet.height()) + 1e-6));
    const qreal numberAt = ReportPage::pixelsFromMillimetres(5.5);
    for (int mm = 0; mm <= widthMm; ++mm) {
        const qreal x = ReportPage::pixelsFromMillimetres(mm);
        line(page, QPointF(x, 0), QPointF(x, tickLength(mm)));
        if (mm % 10 == 0 && mm > 0)
            text(page, QString::number(mm), QPointF(x + 1, numberAt));
    }
    for (int mm = 0; mm <= heightMm; ++mm) {
        const qreal y = ReportPage::pixelsFromMillimetres(mm);
        line(page, QPointF(0, y), QPointF(tickLength(mm), y));
        if (mm % 10 == 0 && mm > 0)
            text(page, QString::number(mm), QPointF(numberAt, y + 1));
    }
}

} // namespace

void drawCalibrationPage(ReportPage &page, const PrintSettings &settings)
{
    page.setReportTitle(QStringLiteral("校准页"));

    // The anchors as a filled receipt has them: the layout restyled in the
    // print font and sizes, moved by the offsets.
    ReceiptReport rep(page.measure());
    ReportFiller filler(rep, settings);
    filler.restyleLayout();

    rulers(page);
    for (const PrintLabel *anchor : rep.layoutLabels()) {
        const QPointF at(anchor->left(), anchor->top());
        line(page, at - QPointF(crossArm, 0), at + QPointF(crossArm, 0));
        line(page, at - QPointF(0, crossArm), at + QPointF(0, crossArm));

        const qreal limit = filler.rightLimit(anchor->name());
        const qreal height = page.measure().lineHeight(anchor->font());
        page.addMark({QLineF(at, QPointF(limit, at.y() + height)), true, hairline, Qt::black});
        // A caption wider than a narrow box is cut, so that it never runs
        // into the next one.
        QString caption = valueCaption(anchor->name());
        const QFont captionFace = TextMeasure::labelFont(captionFont, captionPoints);
        const qreal room = limit - at.x() - crossArm - 2;
        while (caption.size() > 1 && page.measure().width(captionFace, caption) > room)
            caption.chop(1);
        text(page, caption, at + QPointF(crossArm + 1, 1));
    }

    const QRectF sheet = ReportPage::sheet();
    text(page,
         QStringLiteral("校准页  左右偏移 %1  上下偏移 %2").arg(settings.hpos).arg(settings.vpos),
         QPointF(ReportPage::pixelsFromMillimetres(20), sheet.height() / 2));
}
