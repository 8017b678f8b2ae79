// The delimited list form: reading any text must end, and whatever list it
// gives must come back the same after writing and reading it again.
#include "settings/DelimitedText.h"
#include "FuzzSupport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(bytesOf(data, size));
    const QStringList entries = fromDelimitedText(text);
    if (fromDelimitedText(toDelimitedText(entries)) != entries)
        std::abort();
    return 0;
}
