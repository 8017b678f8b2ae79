#pragma once

#include "print/PrintSettings.h"

class ReportPage;

// The calibration page, printed on plain A4 and laid on the receipt stock
// against the light: a small cross at the anchor of every value with its
// field's caption beside it, the outline of every value's box (anchor to
// right limit, one line of its print font high), all at the given offsets and
// print sizes, and millimetre rulers along the sheet's top and left edges,
// which the offsets do not move. It carries no after-print hook: printing it
// advances nothing.
void drawCalibrationPage(ReportPage &page, const PrintSettings &settings);
