#include "itinerary/ClearItinerary.h"

#include "itinerary/ItineraryFields.h"

void clearItinerary(ItineraryFields &fields)
{
    // The amounts go before the total, so the total ends up empty rather
    // than recomputed.
    for (const char *name : {"edtSerNo", "edtPassenger", "edtId", "edtPnr", "edtFare", "edtCAAC",
                             "edtTax", "edtTotal", "edtTicketNo"})
        fields.setText(QString::fromLatin1(name), QString());
    fields.setText(QStringLiteral("edtIssue"), QStringLiteral("XXX"));

    struct Rows
    {
        const char *stem;
        int last;
    };
    for (const Rows &rows :
         {Rows{"edtT", 4}, Rows{"edtFrom", 5}, Rows{"edtFromCode", 4}, Rows{"cboAir", 4},
          Rows{"edtFlight", 4}, Rows{"edtSeat", 4}, Rows{"edtDate", 4}, Rows{"edtTime", 4},
          Rows{"edtBasts", 4}, Rows{"edtNotValidBefore", 4}, Rows{"edtNotValidAfter", 4},
          Rows{"edtAllow", 4}}) {
        for (int row = 1; row <= rows.last; ++row)
            fields.setText(QString::fromLatin1(rows.stem) + QString::number(row), QString());
    }
}
