#include "app/PagePrinter.h"

#include "common/KestranoError.h"
#include "print/PageRenderer.h"
#include "print/ReportPage.h"

#include <QPainter>
#include <QPrinter>

TPagePrinter::TPagePrinter(PrinterLookup lookup) : FLookup(std::move(lookup)) {}

bool TPagePrinter::print(const TReportPage &page) const
{
    const QPrinterInfo info = FLookup ? FLookup() : QPrinterInfo();
    if (info.isNull())
        return false;

    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(page.reportTitle());
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPaperSource(QPrinter::Auto);
    printer.setPrintRange(QPrinter::AllPages);
    // The sheet's corner is the origin. Zero margins as well: full-page mode
    // alone has shifted the output on some printers.
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    const QString failure = QStringLiteral("Unable to print to %1").arg(info.printerName());
    QPainter painter;
    if (!painter.begin(&printer))
        throw KestranoError(failure);
    renderPage(page, painter);
    if (!painter.end() || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted)
        throw KestranoError(failure);

    page.printed();
    return true;
}
