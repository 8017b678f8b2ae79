// The number advance after printing on any serial number: it ends, keeps the
// text's length unless the number grows a digit, and a well-formed serial
// number advanced moves the check code on.
#include "FuzzSupport.h"
#include "ItineraryFields.h"
#include "NumberAdvance.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    const QString serial = QString::fromUtf8(bytesOf(data, size));
    const QString advanced = AdvanceSerial(serial);
    if (advanced.size() != serial.size() && advanced.size() != serial.size() + 1)
        std::abort();
    TItineraryFields fields;
    fields.setText(QStringLiteral("edtSerNo"), serial);
    fields.setText(QStringLiteral("edtCk"), serial.left(4));
    ReportPageAfterPrint(fields);
    return 0;
}
