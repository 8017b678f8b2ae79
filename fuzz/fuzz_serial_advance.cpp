// The number advance after printing on any serial number: it ends, and a
// serial number it advances ends in a check digit 0 to 6 after a blank.
#include "FuzzSupport.h"
#include "itinerary/ItineraryFields.h"
#include "print/NumberAdvance.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    const QString serial = QString::fromUtf8(bytesOf(data, size));
    const QString advanced = advanceSerial(serial);
    if (advanced != serial) {
        const QChar checkDigit = advanced.back();
        if (checkDigit < u'0' || checkDigit > u'6' || !advanced.at(advanced.size() - 2).isSpace())
            std::abort();
    }
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtSerNo"), serial);
    fields.setText(QStringLiteral("edtCk"), serial.left(4));
    reportPageAfterPrint(fields);
    return 0;
}
