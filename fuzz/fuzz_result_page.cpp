// An answer page of the verification service, whatever it holds: the
// extraction ends, never crashes, and always leaves the captcha box empty.
#include "FuzzSupport.h"
#include "common/KestranoError.h"
#include "itinerary/ItineraryFields.h"
#include "online/ResultPage.h"

#include <QDate>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtCode"), QStringLiteral("AB12"));
    try {
        (void)parseResultPage(fields, QString::fromUtf8(bytesOf(data, size)), QDate(2026, 12, 10));
    } catch (const KestranoError &) {
        return 0; // a page beyond the limits is refused before anything changes
    }
    if (!fields.text(QStringLiteral("edtCode")).isEmpty())
        std::abort();
    return 0;
}
