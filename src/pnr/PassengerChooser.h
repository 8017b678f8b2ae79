#pragma once

#include "pnr/PassengerInfo.h"

#include <QList>
#include <QString>

class TItineraryFields;

// The passengers that the last PNR conversion found, behind the drop-down
// "选择乘客" (cboPassenger). The model holds the entries' names and the one
// shown, for the window to display; this holds each entry's ID and ticket
// number and puts a chosen passenger into the receipt. The window owns one
// for its whole life; only a conversion replaces the entries.
class TPassengerChooser
{
public:
    // Names beyond this many are not offered.
    static constexpr qsizetype maxEntries = 999;

    struct Entry
    {
        QString FName;
        TPassengerInfo FInfo;
    };

    explicit TPassengerChooser(TItineraryFields &fields) : FFields(fields) {}

    const QList<Entry> &entries() const { return FEntries; }

    // Replaces every entry, then shows the first one exactly as if the user
    // had chosen it. Without entries the drop-down is emptied and the
    // receipt is left as it is.
    void setEntries(const QList<Entry> &entries);

    // The user picked the entry at index (0 for the first, as the drop-down
    // counts). Its name, ID and ticket number go into edtPassenger, edtId and
    // edtTicketNo every time, also over whatever was typed there since, and
    // an empty ID or ticket number empties its field; so do its amounts,
    // when the display gave any (WriteAmounts), so that every passenger's
    // receipt carries their own money. Nothing flows back from the fields to
    // the entry. An index without an entry changes nothing.
    void cboPassengerChange(int index);

private:
    TItineraryFields &FFields;
    QList<Entry> FEntries;
};

// Writes a passenger's amounts into the receipt through its rules, each box
// anew so nothing of an earlier display stays: the fare, the airport tax,
// the fuel surcharge ("EXEMPT" when absent; left alone while "打印国际" keeps
// it empty) and the other tax, each recomputing the total; then the
// display's total when it gives one. Amounts that are all absent leave the
// total empty too.
void WriteAmounts(TItineraryFields &fields, const TPnrAmounts &amounts);
