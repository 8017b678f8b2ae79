// A pasted PNR display, whatever it holds: the conversion ends (in time
// linear in the paste) and leaves a receipt, and converting the same text
// again gives the same receipt.
#include "itinerary/ClearItinerary.h"
#include "itinerary/FieldTable.h"
#include "FuzzSupport.h"
#include "itinerary/ItineraryFields.h"
#include "pnr/PassengerChooser.h"
#include "pnr/PnrParser.h"
#include "reference/ReferenceList.h"

#include <QDate>
#include <cstdlib>

namespace {

QStringList receipt(const TItineraryFields &fields)
{
    QStringList texts;
    for (const TFieldSpec &spec : itineraryFieldTable())
        texts.append(fields.text(spec.name));
    return texts;
}

QStringList convert(const QString &text, TItineraryFields &fields, TPassengerChooser &passengers)
{
    static const TReferenceList empty;
    ClearItinerary(fields);
    ParsePnrText(text, fields, passengers, empty, empty, QDate(2026, 12, 10));
    return receipt(fields);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    const QString text = QString::fromUtf8(bytesOf(data, size));
    TItineraryFields fields;
    TPassengerChooser passengers(fields);
    const QStringList first = convert(text, fields, passengers);
    if (convert(text, fields, passengers) != first)
        std::abort();
    return 0;
}
