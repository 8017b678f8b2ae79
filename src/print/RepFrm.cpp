#include "print/RepFrm.h"

#include "print/PrintLayout.h"

TfrmRep::TfrmRep(TTextMeasure measure) : FReportPage(std::move(measure))
{
    // 189.97 by 5.03 mm: it only makes the page exist.
    FReportPage.setTitleBand(QSizeF(718, 19));

    for (const TLayoutLabelSpec &spec : printLayoutTable()) {
        TPrintLabel &label = FReportPage.addLabel(spec.name);
        label.setAlignment(spec.alignment);
        label.setTransparent(true);
        label.setSizeClass(spec.sizeClass);
        label.setColour(Qt::black);
        label.setFontFamily(layoutFontFamily());
        label.setPointSize(spec.designPointSize);
        label.setText(spec.sample);
        label.setDesignBox(QRectF(spec.left, spec.top, spec.width, spec.height));
        FLayoutLabels.push_back(&label);
        FByName.insert(spec.name, &label);
    }
}

TPrintLabel *TfrmRep::label(const QString &stem, int row) const
{
    return label(QStringLiteral("qlbl") + stem + QString::number(row));
}
