#pragma once

#include "pnr/PnrRecord.h"

// The amounts of a display, read from the whole text. Each may throw
// TPatternGaveUp on a text no terminal writes.

// The price display of a fare quote:
// "01 Y FARE:CNY1860.00 TAX:CNY50.00 YQ:CNY30.00  TOTAL:1940.00". The fare,
// the tax and the total in whole yuan, each searched after the one before
// it; the fuel surcharge as written, or "EXEMPT" for YQ:TEXEMPTYQ.
TPnrAmounts readPriceDisplay(const QString &text);

// The fare line: "FN/A/FCNY1860.00/SCNY1860.00/C3.00/XCNY80.00/TCNY50.00CN/
// TCNY30.00YQ/ACNY1940.00", possibly over several lines. The fare is the
// SCNY amount, the total the ACNY amount after it, both in whole yuan with
// ".00". The taxes between them go by their codes: CN is the airport tax, YQ
// the fuel surcharge ("EXEMPT" for TEXEMPTYQ), every other code adds up into
// the other tax, so that the amounts add up to the total.
TPnrAmounts readFareLine(const QString &text);
