#pragma once

class ItineraryFields;

// Empties the fields that a conversion fills, before it fills them. Leaves
// the endorsement, fuel surcharge, amount prefixes, check code, information,
// agent codes, issuing office, date of issue, the international switch and
// mark, and the conversions' inputs as they are.
void clearItinerary(ItineraryFields &fields);
