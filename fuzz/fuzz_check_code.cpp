// The check code rule on any serial-number text: it ends, and when it gives a
// code that code has four characters.
#include "FuzzSupport.h"
#include "itinerary/FieldRules.h"
#include "itinerary/ItineraryFields.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    const QString serial = QString::fromUtf8(bytesOf(data, size));
    const QString code = checkCodeOf(serial);
    if (!code.isEmpty() && code.size() != 4)
        std::abort();
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtSerNo"), serial);
    fields.setText(QStringLiteral("edtFare"), serial);
    return 0;
}
