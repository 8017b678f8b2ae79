#pragma once

#include <QString>
#include <optional>

// The amounts a passenger pays, as the receipt shows them ("1860.00",
// "EXEMPT" for a tax not due). A value the display does not give is absent.
struct PnrAmounts
{
    std::optional<QString> fare;
    std::optional<QString> airportTax;    // the tax coded CN
    std::optional<QString> fuelSurcharge; // the tax coded YQ
    std::optional<QString> otherTax;      // every other tax, added up
    std::optional<QString> total;

    bool isEmpty() const { return !fare && !airportTax && !fuelSurcharge && !otherTax && !total; }
    bool operator==(const PnrAmounts &) const = default;
};

// What a PNR display says about one passenger besides the name. The texts
// are empty until the conversion finds the passenger's document or ticket
// line.
struct PassengerInfo
{
    QString id;           // the document number without its type (NI, PP, ID)
    QString ticketNumber; // the 13-digit e-ticket number
    // The passenger's own amounts; absent when the display gave no amounts
    // at all, so that choosing the passenger keeps what the agent typed.
    std::optional<PnrAmounts> amounts = std::nullopt;
};
