// The answer of the verification service decoded by its declared character
// set, whatever the bytes and the header say: decoding ends with a text, and a
// page that declares nothing comes back byte for byte.
#include "net/AnswerText.h"
#include "FuzzSupport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    const QByteArray bytes = bytesOf(data, size);
    // The first line stands for the Content-Type header, the rest for the body.
    const qsizetype newline = bytes.indexOf('\n');
    const QByteArray contentType = newline < 0 ? QByteArray() : bytes.left(newline);
    const QByteArray body = newline < 0 ? bytes : bytes.mid(newline + 1);
    decodeAnswerText(body, contentType);
    if (!body.contains('<') && !contentType.contains('=') &&
        decodeAnswerText(body, QByteArray()) != QString::fromLatin1(body))
        std::abort();
    return 0;
}
