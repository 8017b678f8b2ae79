#include "print/ReceiptReport.h"

#include "print/PrintLayout.h"

ReceiptReport::ReceiptReport(TextMeasure measure) : m_reportPage(std::move(measure))
{
    // 189.97 by 5.03 mm: it only makes the page exist.
    m_reportPage.setTitleBand(QSizeF(718, 19));

    for (const LayoutLabelSpec &spec : printLayoutTable()) {
        PrintLabel &label = m_reportPage.addLabel(spec.name);
        label.setAlignment(spec.alignment);
        label.setTransparent(true);
        label.setSizeClass(spec.sizeClass);
        label.setColour(Qt::black);
        label.setFontFamily(layoutFontFamily());
        label.setPointSize(spec.designPointSize);
        label.setText(spec.sample);
        label.setDesignBox(QRectF(spec.left, spec.top, spec.width, spec.height));
        m_layoutLabels.push_back(&label);
        m_byName.insert(spec.name, &label);
    }
}

PrintLabel *ReceiptReport::label(const QString &stem, int row) const
{
    return label(QStringLiteral("qlbl") + stem + QString::number(row));
}
