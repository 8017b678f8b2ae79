#include "print/TextMeasure.h"

#include <QFontMetricsF>

namespace {

// 96 dots per inch in dots per metre, as QImage stores resolution.
constexpr int dotsPerMetre96 = 3780;

} // namespace

TextMeasure::TextMeasure() : TextMeasure(WidthRule()) {}

TextMeasure::TextMeasure(WidthRule widths)
    : m_device(1, 1, QImage::Format_ARGB32_Premultiplied), m_widths(std::move(widths))
{
    m_device.setDotsPerMeterX(dotsPerMetre96);
    m_device.setDotsPerMeterY(dotsPerMetre96);
}

qreal TextMeasure::width(const QFont &font, const QString &text) const
{
    if (m_widths)
        return m_widths(font, text);
    return QFontMetricsF(font, &m_device).horizontalAdvance(text);
}

qreal TextMeasure::ascent(const QFont &font) const
{
    return QFontMetricsF(font, &m_device).ascent();
}

qreal TextMeasure::lineHeight(const QFont &font) const
{
    return QFontMetricsF(font, &m_device).height();
}

QFont TextMeasure::labelFont(const QString &family, qreal pointSize, int stretch)
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
