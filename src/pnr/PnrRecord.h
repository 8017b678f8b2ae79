#pragma once

#include "pnr/PassengerChooser.h"

#include <QList>
#include <QString>

// What a pasted reservation display says, read without touching the
// receipt: readPnrRecord() builds it, writePnrRecord() puts it into the
// receipt.

enum class PassengerType { Adult, Child, Infant };

// One fare line: "FN/A/FCNY1860.00/SCNY1860.00/.../ACNY1910.00", an
// infant's "FN/IN/.../P1", a passenger's own ".../P2".
struct PnrFareLine
{
    PnrAmounts amounts;
    bool infant = false; // the fare of the infant carried by passenger
    int passenger = 0;   // the passenger its "/Pn" names; 0 for none

    bool operator==(const PnrFareLine &) const = default;
};

// One price of a price quote: "01 Y FARE:CNY1860.00 TAX:CNY50.00
// YQ:TEXEMPTYQ TOTAL:1910.00", after ">PAT:A" for adults, ">PAT:A*CH" for
// children, ">PAT:A*IN" for infants.
struct PnrPriceQuote
{
    PassengerType type = PassengerType::Adult;
    PnrAmounts amounts;

    bool operator==(const PnrPriceQuote &) const = default;
};

// One segment line, its codes as the display writes them.
struct PnrSegment
{
    QString carrier; // "MU", "3U"
    QString flight;  // "MU5132"
    QString bookingClass;
    QString date;    // "YYYY-MM-DD", empty when the display's date is no date
    QString departs; // "10:55"
    QString from;    // "PEK"
    QString to;      // "HGH"
    QString status;  // the action code, "HK", "RR", "UN"...
    // The terminals at both ends; empty for none ("--" or blanks). hasTerminals
    // is false when the line ends before the terminal columns.
    QString departureTerminal;
    QString arrivalTerminal;
    bool hasTerminals = false;

    // A segment cancelled, refused or never actioned (UN, UC, NO, HX, XX, XL)
    // is not flown.
    bool isFlown() const;

    bool operator==(const PnrSegment &) const = default;
};

struct PnrRecord
{
    QList<PnrPriceQuote> priceQuotes; // in the display's order
    QList<PnrFareLine> fareLines;     // in the display's order
    // Every flight segment in the display's order, flown or not; surface
    // segments (ARNK) and open dates are none.
    QList<PnrSegment> segments;
    // The passengers in the order of the name items, each infant right after
    // the adult who carries it, each with the ID, ticket number and amounts
    // found for them.
    QList<PassengerChooser::Entry> passengers;
    QString locator;     // as written, empty when the display gives none
    QString endorsement; // from the EI item; empty when there is none
    // Whether the display holds any numbered item at all: a display that
    // does marks the row after its last segment void.
    bool hasItems = false;

    // The segments that take a row of the receipt: the flown ones; all of
    // them when none is flown (a flight cancelled and not yet rebooked
    // shows as it stands).
    QList<PnrSegment> rowSegments() const;

    // Whether the display gives any amount at all.
    bool hasAmounts() const;

    // The amounts of one passenger (1 for the first name; 0 for none in
    // particular). Their own fare line first; a child's price quote; the
    // fare line that names no passenger, which is every adult's and child's
    // who has none of their own; the adults' price quote. An infant's are
    // the infant fare line of the adult who carries it, else the one that
    // names no passenger, else the infants' price quote, else none: never
    // an adult's.
    PnrAmounts amountsOf(PassengerType type, int passenger) const;
};
