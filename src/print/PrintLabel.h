#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class TTextMeasure;

// Which print size the report filling gives a layout label (Tag 1 or 0).
enum class TSizeClass { English, Chinese };

// One text label placed on the page. Left and Top are print-layout pixels
// (1/96 inch) from the top-left corner of the sheet, not from the margins.
//
// The label sizes itself to its text: whenever the text or the font changes,
// its width becomes the text's width in its font and its height at least one
// line of the font. A right-aligned label keeps its right edge while doing
// so, a left-aligned one its left edge.
class TPrintLabel
{
public:
    TPrintLabel(const TTextMeasure &measure, const QString &name, const QFont &font);

    TPrintLabel(const TPrintLabel &) = delete;
    TPrintLabel &operator=(const TPrintLabel &) = delete;

    const QString &name() const { return FName; }

    const QString &text() const { return FText; }
    void setText(const QString &text);

    qreal left() const { return FBox.left(); }
    qreal top() const { return FBox.top(); }
    void setLeft(qreal left) { FBox.moveLeft(left); }
    void setTop(qreal top) { FBox.moveTop(top); }
    qreal width() const { return FBox.width(); }
    qreal height() const { return FBox.height(); }
    const QRectF &box() const { return FBox; }
    // The box as designed; auto-size takes over at the first change.
    void setDesignBox(const QRectF &box) { FBox = box; }

    // Family and point size; regular style.
    const QFont &font() const { return FFont; }
    QString fontFamily() const { return FFont.family(); }
    qreal pointSize() const { return FFont.pointSizeF(); }
    void setFontFamily(const QString &family);
    void setPointSize(qreal pointSize);
    // Horizontal condensing in percent; 100 is the font's own width.
    int stretch() const { return FStretch; }
    void setStretch(int percent);

    const QColor &colour() const { return FColour; }
    void setColour(const QColor &colour) { FColour = colour; }

    // Qt::AlignLeft or Qt::AlignRight.
    Qt::Alignment alignment() const { return FAlignment; }
    void setAlignment(Qt::Alignment alignment) { FAlignment = alignment; }

    // An opaque label paints a white box behind its text, over whatever the
    // page holds there already.
    bool transparent() const { return FTransparent; }
    void setTransparent(bool transparent) { FTransparent = transparent; }

    TSizeClass sizeClass() const { return FSizeClass; }
    void setSizeClass(TSizeClass sizeClass) { FSizeClass = sizeClass; }

private:
    void setFont(const QFont &font);
    void fitToText();

    const TTextMeasure &FMeasure;
    QString FName;
    QString FText;
    QRectF FBox;
    QFont FFont;
    QColor FColour = Qt::black;
    Qt::Alignment FAlignment = Qt::AlignLeft;
    bool FTransparent = false;
    TSizeClass FSizeClass = TSizeClass::English;
    int FStretch = 100;
};
