#include "pnr/PassengerChooser.h"

#include "itinerary/FieldRules.h"
#include "itinerary/ItineraryFields.h"

#include <algorithm>

void PassengerChooser::setEntries(const QList<Entry> &entries)
{
    // A display holds a few dozen names at most; a hostile paste must not
    // fill the drop-down with hundreds of thousands.
    m_entries = entries.first(std::min<qsizetype>(entries.size(), maxEntries));
    QStringList names;
    names.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        names.append(entry.name);
    // One notification for the whole list: the drop-down is refilled once,
    // however many names the display held.
    m_fields.setPassengerEntries(names);
    choosePassenger(0);
}

void PassengerChooser::choosePassenger(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    const Entry &entry = m_entries.at(index);
    m_fields.setPassengerIndex(index);
    m_fields.setText(Field::Passenger, entry.name);
    m_fields.setText(Field::IdNumber, entry.info.id);
    m_fields.setText(Field::TicketNumber, entry.info.ticketNumber);
    if (entry.info.amounts)
        writeAmounts(m_fields, *entry.info.amounts);
}

void writeAmounts(ItineraryFields &fields, const PnrAmounts &amounts)
{
    std::optional<QString> otherTax = amounts.otherTax;
    // The international receipt keeps its fuel surcharge box empty: the
    // surcharge is paid all the same and counts among the other taxes.
    if (fields.international() && amounts.fuelSurcharge) {
        if (const long long fuel = amountInFen(*amounts.fuelSurcharge); fuel != 0)
            otherTax = fenText(amountInFen(otherTax.value_or(QString())) + fuel);
    }
    fields.setText(Field::Fare, amounts.fare.value_or(QString()));
    fields.setText(Field::AirportTax, amounts.airportTax.value_or(QString()));
    if (!fields.international())
        fields.setText(Field::FuelSurcharge,
                       amounts.fuelSurcharge.value_or(QStringLiteral("EXEMPT")));
    fields.setText(Field::OtherTax, otherTax.value_or(QString()));
    if (amounts.isEmpty()) {
        fields.setText(Field::Total, QString());
        return;
    }
    // A box that already held its amount ran no rule: the total is worked
    // out anew all the same.
    FieldRules(fields).recalcTotal();
    // The display's total stands only where the amounts shown add up to it;
    // a receipt whose amounts contradict each other is never made, the
    // total is left for the agent to check.
    if (amounts.total && amountInFen(*amounts.total) != amountInFen(fields.text(Field::Total)))
        fields.setText(Field::Total, QString());
}
