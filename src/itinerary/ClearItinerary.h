#pragma once

class ItineraryFields;

// What the clearing does with the print serial number.
enum class SerialNumberOnClear {
    Empty, // the whole receipt is started afresh
    Keep,  // a conversion: the number is that of the next sheet in the printer
};

// Empties the fields that a conversion fills, before it fills them. Leaves
// the endorsement, fuel surcharge, amount prefixes, check code, information,
// agent codes, issuing office, date of issue, the international switch and
// mark, and the conversions' inputs as they are. The serial number is
// emptied unless told to keep it: a conversion keeps it (and so the check
// code that follows it), since it belongs to the stock, not to the ticket.
void clearItinerary(ItineraryFields &fields,
                    SerialNumberOnClear serialNumber = SerialNumberOnClear::Empty);
