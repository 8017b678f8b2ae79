#include "print/PrintLabel.h"

#include "print/TextMeasure.h"

#include <algorithm>

PrintLabel::PrintLabel(const TextMeasure &measure, const QString &name, const QFont &font)
    : m_measure(measure), m_name(name), m_font(font)
{
    fitToText();
}

void PrintLabel::setText(const QString &text)
{
    m_text = text;
    fitToText();
}

void PrintLabel::setFontFamily(const QString &family)
{
    setFont(TextMeasure::labelFont(family, m_font.pointSizeF(), m_stretch));
}

void PrintLabel::setPointSize(qreal pointSize)
{
    setFont(TextMeasure::labelFont(m_font.family(), pointSize, m_stretch));
}

void PrintLabel::setStretch(int percent)
{
    m_stretch = percent;
    setFont(TextMeasure::labelFont(m_font.family(), m_font.pointSizeF(), m_stretch));
}

void PrintLabel::setFont(const QFont &font)
{
    m_font = font;
    fitToText();
}

void PrintLabel::fitToText()
{
    const qreal width = m_measure.width(m_font, m_text);
    if (m_alignment & Qt::AlignRight)
        m_box.setLeft(m_box.right() - width);
    else
        m_box.setWidth(width);
    m_box.setHeight(std::max(m_box.height(), m_measure.lineHeight(m_font)));
}
