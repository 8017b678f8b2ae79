#pragma once

#include "pnr/PassengerChooser.h"

#include <QList>
#include <QString>
#include <optional>

// What a pasted reservation display says, read without touching the
// receipt: ReadPnrRecord() builds it, WritePnrRecord() puts it into the
// receipt.

// The amounts of the price display or of the fare line, as the receipt
// shows them ("1860.00"). A value the display does not give is absent and
// leaves its field as it is.
struct TPnrAmounts
{
    std::optional<QString> fare;
    std::optional<QString> airportTax;    // the tax coded CN
    std::optional<QString> fuelSurcharge; // the tax coded YQ, or "EXEMPT"
    std::optional<QString> otherTax;      // every other tax, added up
    std::optional<QString> total;

    bool operator==(const TPnrAmounts &) const = default;
};

// One segment line, its codes as the display writes them.
struct TPnrSegment
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
    // is not flown and takes no row of the receipt.
    bool isFlown() const;

    bool operator==(const TPnrSegment &) const = default;
};

struct TPnrRecord
{
    TPnrAmounts priceDisplay; // "FARE:CNY1860.00 TAX:CNY50.00 ... TOTAL:1910.00"
    TPnrAmounts fareLine;     // "FN/A/FCNY1860.00/SCNY1860.00/.../ACNY1910.00"
    // Every segment line in the display's order, flown or not.
    QList<TPnrSegment> segments;
    // The passengers in the order of the name items, each with the ID and
    // ticket number found for them.
    QList<TPassengerChooser::Entry> passengers;
    QString locator;     // as written, empty when the display gives none
    QString endorsement; // from the EI item; empty when there is none
    // Whether the display holds any numbered item at all: a display that
    // does marks the row after its last flown segment void.
    bool hasItems = false;

    QList<TPnrSegment> flownSegments() const;
};
