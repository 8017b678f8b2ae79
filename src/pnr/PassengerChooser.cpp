#include "pnr/PassengerChooser.h"

#include "itinerary/ItineraryFields.h"

void TPassengerChooser::setEntries(const QList<Entry> &entries)
{
    FEntries = entries;
    QStringList names;
    names.reserve(entries.size());
    for (const Entry &entry : entries)
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
}
