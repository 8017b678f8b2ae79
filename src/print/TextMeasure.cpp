#include "print/TextMeasure.h"

#include <QFontMetricsF>

namespace {

// 96 dots per inch in dots per metre, as QImage stores resolution.
constexpr int dotsPerMetre96 = 3780;

} // namespace

TTextMeasure::TTextMeasure() : TTextMeasure(WidthRule()) {}

TTextMeasure::TTextMeasure(WidthRule widths)
    : FDevice(1, 1, QImage::Format_ARGB32_Premultiplied), FWidths(std::move(widths))
{
    FDevice.setDotsPerMeterX(dotsPerMetre96);
    FDevice.setDotsPerMeterY(dotsPerMetre96);
}

qreal TTextMeasure::width(const QFont &font, const QString &text) const
{
    if (FWidths)
        return FWidths(font, text);
    return QFontMetricsF(font, &FDevice).horizontalAdvance(text);
}

qreal TTextMeasure::ascent(const QFont &font) const
{
    return QFontMetricsF(font, &FDevice).ascent();
}

qreal TTextMeasure::lineHeight(const QFont &font) const
{
    return QFontMetricsF(font, &FDevice).height();
}

QFont TTextMeasure::labelFont(const QString &family, qreal pointSize, int stretch)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    // Left unset at full width, so that the font of a value that fits is the
    // one it has always printed in.
    if (stretch != 100)
        font.setStretch(stretch);
    return font;
}
