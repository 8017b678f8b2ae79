#include "print/PrintLabel.h"

#include "print/TextMeasure.h"

#include <algorithm>

TPrintLabel::TPrintLabel(const TTextMeasure &measure, const QString &name, const QFont &font)
    : FMeasure(measure), FName(name), FFont(font)
{
    fitToText();
}

void TPrintLabel::setText(const QString &text)
{
    FText = text;
    fitToText();
}

void TPrintLabel::setFontFamily(const QString &family)
{
    setFont(TTextMeasure::labelFont(family, FFont.pointSizeF(), FStretch));
}

void TPrintLabel::setPointSize(qreal pointSize)
{
    setFont(TTextMeasure::labelFont(FFont.family(), pointSize, FStretch));
}

void TPrintLabel::setStretch(int percent)
{
    FStretch = percent;
    setFont(TTextMeasure::labelFont(FFont.family(), FFont.pointSizeF(), FStretch));
}

void TPrintLabel::setFont(const QFont &font)
{
    FFont = font;
    fitToText();
}

void TPrintLabel::fitToText()
{
    const qreal width = FMeasure.width(FFont, FText);
    if (FAlignment & Qt::AlignRight)
        FBox.setLeft(FBox.right() - width);
    else
        FBox.setWidth(width);
    FBox.setHeight(std::max(FBox.height(), FMeasure.lineHeight(FFont)));
}
