#include "pnr/PassengerChooser.h"

#include "itinerary/FieldRules.h"
#include "itinerary/ItineraryFields.h"

#include <algorithm>

void TPassengerChooser::setEntries(const QList<Entry> &entries)
{
    // A display holds a few dozen names at most; a hostile paste must not
    // fill the drop-down with hundreds of thousands.
    FEntries = entries.first(std::min<qsizetype>(entries.size(), maxEntries));
    QStringList names;
    names.reserve(FEntries.size());
    for (const Entry &entry : FEntries)
        names.append(entry.FName);
    // One notification for the whole list: the drop-down is refilled once,
    // however many names the display held.
    FFields.setPassengerEntries(names);
    cboPassengerChange(0);
}

void TPassengerChooser::cboPassengerChange(int index)
{
    if (index < 0 || index >= FEntries.size())
        return;
    const Entry &entry = FEntries.at(index);
    FFields.setPassengerIndex(index);
    FFields.setText(QStringLiteral("edtPassenger"), entry.FName);
    FFields.setText(QStringLiteral("edtId"), entry.FInfo.FId);
    FFields.setText(QStringLiteral("edtTicketNo"), entry.FInfo.FTicketNum);
    if (entry.FInfo.FAmounts)
        WriteAmounts(FFields, *entry.FInfo.FAmounts);
}

void WriteAmounts(TItineraryFields &fields, const TPnrAmounts &amounts)
{
    fields.setText(QStringLiteral("edtFare"), amounts.fare.value_or(QString()));
    fields.setText(QStringLiteral("edtCAAC"), amounts.airportTax.value_or(QString()));
    if (!fields.international())
        fields.setText(QStringLiteral("edtYQ"),
                       amounts.fuelSurcharge.value_or(QStringLiteral("EXEMPT")));
    fields.setText(QStringLiteral("edtTax"), amounts.otherTax.value_or(QString()));
    if (amounts.total)
        fields.setText(QStringLiteral("edtTotal"), *amounts.total);
    else if (amounts.isEmpty())
        fields.setText(QStringLiteral("edtTotal"), QString());
    else
        // A box that already held its amount ran no rule: the total is
        // worked out anew all the same.
        TFieldRules(fields).RecalcTotal();
}
