#pragma once

class QPainter;
class TReportPage;

// Paints the page onto the painter's device: a printer, a PDF writer, an
// image or a preview. The device's origin must be the sheet's top-left corner
// (a printer in full-page mode, a PDF writer without margins); the painter is
// scaled to 96 units per inch so that label positions are used as they stand,
// and every label is drawn with the font it was measured with.
void renderPage(const TReportPage &page, QPainter &painter);
