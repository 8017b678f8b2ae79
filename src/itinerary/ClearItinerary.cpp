#include "itinerary/ClearItinerary.h"

#include "itinerary/ItineraryFields.h"

void clearItinerary(ItineraryFields &fields, SerialNumberOnClear serialNumber)
{
    if (serialNumber == SerialNumberOnClear::Empty)
        fields.setText(Field::SerialNumber, QString());
    // The amounts go before the total, so the total ends up empty rather
    // than recomputed.
    for (Field field :
         {Field::Passenger, Field::IdNumber, Field::Pnr, Field::Fare,
          Field::AirportTax, Field::OtherTax, Field::Total, Field::TicketNumber})
        fields.setText(field, QString());
    fields.setText(Field::Insurance, QStringLiteral("XXX"));

    for (Field field : {Field::Terminal, Field::From, Field::FromCode, Field::Carrier,
                        Field::Flight, Field::Seat, Field::Date, Field::Time, Field::FareBasis,
                        Field::NotValidBefore, Field::NotValidAfter, Field::Allowance}) {
        for (int row = 1; row <= lastRow(field); ++row)
            fields.setText({field, row}, QString());
    }
}
