#pragma once

#include "pnr/PassengerInfo.h"

#include <QList>
#include <QString>

class ItineraryFields;

// The passengers that the last PNR conversion found, behind the drop-down
// "选择乘客" (cboPassenger). The model holds the entries' names and the one
// shown, for the window to display; this holds each entry's ID and ticket
// number and puts a chosen passenger into the receipt. The window owns one
// for its whole life; only a conversion replaces the entries.
class PassengerChooser
{
public:
    // Names beyond this many are not offered.
    static constexpr qsizetype maxEntries = 999;

    struct Entry
    {
        QString name;
        PassengerInfo info;
    };

    explicit PassengerChooser(ItineraryFields &fields) : m_fields(fields) {}

    const QList<Entry> &entries() const { return m_entries; }

    // Replaces every entry, then shows the first one exactly as if the user
    // had chosen it. Without entries the drop-down is emptied and the
    // receipt is left as it is.
    void setEntries(const QList<Entry> &entries);

    // The user picked the entry at index (0 for the first, as the drop-down
    // counts). Its name, ID and ticket number go into edtPassenger, edtId and
    // edtTicketNo every time, also over whatever was typed there since, and
    // an empty ID or ticket number empties its field; so do its amounts,
    // when the display gave any (writeAmounts), so that every passenger's
    // receipt carries their own money. Nothing flows back from the fields to
    // the entry. An index without an entry changes nothing.
    void choosePassenger(int index);

private:
    ItineraryFields &m_fields;
    QList<Entry> m_entries;
};

// Writes a passenger's amounts into the receipt through its rules, each box
// anew so nothing of an earlier display stays: the fare, the airport tax,
// the fuel surcharge ("EXEMPT" when absent; while "打印国际" keeps its box
// empty, added to the other tax instead) and the other tax, each
// recomputing the total. The total is then their sum, which a display's
// total that differs from it empties: the amounts of a receipt always add
// up, or its total is left empty for the agent. Amounts that are all absent
// leave the total empty too.
void writeAmounts(ItineraryFields &fields, const PnrAmounts &amounts);
