#pragma once

#include "pnr/PnrRecord.h"

// The amounts of a display. Each may throw PatternGaveUp on a text no
// terminal writes.

// The prices of a price quote, read from the whole text, one for each
// ">PAT:" command and its passenger type ("PAT:A*CH" for children,
// "PAT:A*IN" for infants, else adults; a price line without command is the
// adults'). In each, the first price line: "01 Y FARE:CNY1860.50
// TAX:CNY50.00 YQ:CNY30.00 TOTAL:1940.50", each amount searched after the
// one before it, kept in yuan and fen; "EXEMPT" for a tax not due
// ("TAX:TEXEMPTCN", "YQ:TEXEMPTYQ"). Quotes without any amount are left out.
QList<PnrPriceQuote> readPriceQuotes(const QString &text);

// The international price display of QTE (or XS FSQ), whole yuan:
//   FARE  CNY    4200
//   TAX   CNY     90CN CNY     40DE CNY   2870XT
//   TOTAL CNY    7200
//   ... the fare calculation ...
//   XT CNY 311RA ... CNY 2500YQ
// The fare; the airport tax CN; the fuel surcharge, YQ and YR, also where
// they are added up into XT and named in its breakdown; the other taxes,
// what the total leaves (DE and the rest of XT); the total. Fares in
// another currency count by their CNY equivalent ("FARE USD 600.00 EQUIV
// CNY 4200"). Read from the whole text, the first display after each
// ">QTE:" command, for the passenger type it prices ("QTE:CNN/CA" children,
// "QTE:INF/CA" infants, else adults; a display without command is the
// adults').
QList<PnrPriceQuote> readFareQuotes(const QString &text);

// One fare line, the text of its item after the number (continuation lines
// joined): "FN/A/FCNY1860.00/SCNY1860.00/C3.00/XCNY80.00/TCNY50.00CN/
// TCNY30.00YQ/ACNY1940.00/P2". The fare is the SCNY amount, but for an
// exchange, whose SCNY is 0.00, the FCNY amount, and where the two differ
// (net-remit, group and inclusive-tour fares) the one with which fare and
// taxes add up to the ACNY total; the total the ACNY amount
// (an exchange's is what was collected anew, not the ticket's total, which
// is then left to the sum). The taxes go by their codes: CN is the airport
// tax, YQ the fuel surcharge ("EXEMPT" for TEXEMPTCN, TEXEMPTYQ), every
// other code adds up into the other tax. "/IN/" before the amounts makes it
// an infant's fare, a "/Pn" after them names the passenger.
PnrFareLine readFareLine(const QString &text);
