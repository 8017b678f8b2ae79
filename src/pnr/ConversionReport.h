#pragma once

#include "itinerary/FieldTable.h"

#include <QList>
#include <QString>

class ItineraryFields;

// What a conversion tells the agent: how many passengers and flight
// segments it read, and which values that a receipt normally holds (name,
// ID, ticket number, flight, fare, total) it left empty, so that a receipt
// with a gap is not printed unnoticed.
struct ConversionReport
{
    qsizetype passengers = 0;
    qsizetype segments = 0;
    QList<FieldKey> missing; // in the order the receipt reads
    // The total is empty although the amounts are there: the display's
    // total was not what they add up to (see writeAmounts).
    bool totalContradicted = false;

    // "已转换：3 位旅客，2 个航段；未找到：票号、票价", for the status line;
    // a contradicted total is named apart: "；合计与票价、税费之和不符，未填".
    QString text() const;
};

// The report on the receipt as it stands after a conversion, or after
// another passenger was chosen; the fields left empty are marked in the
// model (ItineraryFields::markMissing) until their text changes.
ConversionReport markWhatIsMissing(ItineraryFields &fields, qsizetype passengers,
                                   qsizetype segments);
