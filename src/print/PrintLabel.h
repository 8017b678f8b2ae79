#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class TextMeasure;

// Which print size the report filling gives a layout label (Tag 1 or 0).
enum class SizeClass { English, Chinese };

// One text label placed on the page. Left and Top are print-layout pixels
// (1/96 inch) from the top-left corner of the sheet, not from the margins.
//
// The label sizes itself to its text: whenever the text or the font changes,
// its width becomes the text's width in its font and its height at least one
// line of the font. A right-aligned label keeps its right edge while doing
// so, a left-aligned one its left edge.
class PrintLabel
{
public:
    PrintLabel(const TextMeasure &measure, const QString &name, const QFont &font);

    PrintLabel(const PrintLabel &) = delete;
    PrintLabel &operator=(const PrintLabel &) = delete;

    const QString &name() const { return m_name; }

    const QString &text() const { return m_text; }
    void setText(const QString &text);

    qreal left() const { return m_box.left(); }
    qreal top() const { return m_box.top(); }
    void setLeft(qreal left) { m_box.moveLeft(left); }
    void setTop(qreal top) { m_box.moveTop(top); }
    qreal width() const { return m_box.width(); }
    qreal height() const { return m_box.height(); }
    const QRectF &box() const { return m_box; }
    // The box as designed; auto-size takes over at the first change.
    void setDesignBox(const QRectF &box) { m_box = box; }

    // Family and point size; regular style.
    const QFont &font() const { return m_font; }
    QString fontFamily() const { return m_font.family(); }
    qreal pointSize() const { return m_font.pointSizeF(); }
    void setFontFamily(const QString &family);
    void setPointSize(qreal pointSize);
    // Horizontal condensing in percent; 100 is the font's own width.
    int stretch() const { return m_stretch; }
    void setStretch(int percent);

    const QColor &colour() const { return m_colour; }
    void setColour(const QColor &colour) { m_colour = colour; }

    // Qt::AlignLeft or Qt::AlignRight.
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment) { m_alignment = alignment; }

    // An opaque label paints a white box behind its text, over whatever the
    // page holds there already.
    bool transparent() const { return m_transparent; }
    void setTransparent(bool transparent) { m_transparent = transparent; }

    SizeClass sizeClass() const { return m_sizeClass; }
    void setSizeClass(SizeClass sizeClass) { m_sizeClass = sizeClass; }

private:
    void setFont(const QFont &font);
    void fitToText();

    const TextMeasure &m_measure;
    QString m_name;
    QString m_text;
    QRectF m_box;
    QFont m_font;
    QColor m_colour = Qt::black;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    bool m_transparent = false;
    SizeClass m_sizeClass = SizeClass::English;
    int m_stretch = 100;
};
