#pragma once

class QPainter;
class ReportPage;

// Paints the page onto the painter's device: a printer, a PDF writer, an
// image or a preview. The device's origin must be the sheet's top-left corner
// (a printer in full-page mode, a PDF writer without margins); the painter is
// scaled to 96 units per inch so that label positions are used as they stand,
// and every label is drawn with the font it was measured with.
//
// With the value boxes shown (the preview's backdrop), each value's box is
// drawn in light grey under the values with its field's caption in small grey
// type; paper and PDF never get them.
enum class Backdrop { None, ValueBoxes };
void renderPage(const ReportPage &page, QPainter &painter, Backdrop backdrop = Backdrop::None);
