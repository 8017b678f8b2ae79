#pragma once

#include <QByteArray>
#include <QString>

class QPdfWriter;
class ReportPage;

// The page as a one-page A4 portrait PDF without margins, the sheet's corner
// at the origin, titled with the page's report title: what a printer receives.
// Rendered with the same routine as the preview, so every character lands
// where the preview shows it.
QByteArray renderPagePdf(const ReportPage &page);

// A writer of A4 portrait pages without margins at resolution dots per
// inch, titled, as every document the program prints is made.
void setUpA4Pdf(QPdfWriter &writer, int resolution, const QString &title);
