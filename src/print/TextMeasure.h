#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <functional>

// Text sizes on the page, in print-layout pixels (1/96 inch). Widths come
// from the fonts as a 96-dpi device sees them, so the placement of the
// characters and the renderer, which draws with the same fonts on a painter
// scaled to 96 units per inch, agree on every device.
class TextMeasure
{
public:
    using WidthRule = std::function<qreal(const QFont &font, const QString &text)>;

    TextMeasure();
    // Widths by a rule of the caller's (fixed character widths), ascents and
    // line heights still from the fonts.
    explicit TextMeasure(WidthRule widths);

    qreal width(const QFont &font, const QString &text) const;
    qreal ascent(const QFont &font) const;
    qreal lineHeight(const QFont &font) const;

    // The font a page label prints in: family and size, regular style, design
    // metrics (no hinting), so the 96-dpi widths hold at any resolution.
    // stretch condenses the font horizontally, in percent of its width.
    static QFont labelFont(const QString &family, qreal pointSize, int stretch = 100);

private:
    QImage m_device; // 96 dpi; only its metrics are used
    WidthRule m_widths;
};
