#include "print/PagePdf.h"

#include "print/PageRenderer.h"
#include "print/ReportPage.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

// Fine enough that every position lands within a fraction of a layout pixel.
constexpr int pdfResolution = 1200;

} // namespace

void setUpA4Pdf(QPdfWriter &writer, int resolution, const QString &title)
{
    writer.setResolution(resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Kestrano"));
}

QByteArray renderPagePdf(const ReportPage &page)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        setUpA4Pdf(writer, pdfResolution, page.reportTitle());
        QPainter painter(&writer);
        renderPage(page, painter);
    }
    return pdf;
}
