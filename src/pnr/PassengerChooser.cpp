#include "pnr/PassengerChooser.h"

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
}
