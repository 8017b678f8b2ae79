#include "common/FileEncoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

#if defined(__GLIBC__)
#include <cerrno>
#include <iconv.h>
#endif

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

#if defined(__GLIBC__)

// GB18030 through the C library's converter rather than Qt's: Qt converts it
// with ICU, whose converter and tables cost every start about a megabyte of
// memory, as the lists and the settings are read before the window shows.
// Bytes the converter cannot take become U+FFFD, one for each, as with Qt.
// Nothing when the C library has no such converter.
std::optional<QByteArray> convert(const char *to, const char *from, const QByteArray &bytes,
                                  const QByteArray &replacement)
{
    const iconv_t converter = iconv_open(to, from);
    if (converter == iconv_t(-1))
        return std::nullopt;
    QByteArray out;
    out.reserve(bytes.size() * 2);
    char buffer[4096];
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    while (inLeft > 0) {
        char *at = buffer;
        size_t room = sizeof buffer;
        const size_t done = iconv(converter, &in, &inLeft, &at, &room);
        const int error = done == size_t(-1) ? errno : 0;
        out.append(buffer, at - buffer);
        if (error == 0 || error == E2BIG)
            continue;
        out.append(replacement); // EILSEQ: a byte it cannot read; EINVAL: cut off at the end
        if (error != EILSEQ)
            break;
        ++in;
        --inLeft;
    }
    iconv_close(converter);
    return out;
}

#endif

QString fromGb18030(const QByteArray &bytes)
{
#if defined(__GLIBC__)
    if (const auto utf8 = convert("UTF-8", "GB18030", bytes, "\xEF\xBF\xBD"))
        return QString::fromUtf8(*utf8);
#endif
    QStringDecoder decoder("GB18030");
    return decoder.decode(bytes);
}

QByteArray toGb18030(const QString &text)
{
#if defined(__GLIBC__)
    if (const auto gb = convert("GB18030", "UTF-8", text.toUtf8(), "?"))
        return *gb;
#endif
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

} // namespace

QString decodeFileText(const QByteArray &bytes)
{
    // The mark alone does not make a file UTF-8: GB18030 text may begin with
    // the same three bytes, and decoding it as UTF-8 would destroy it.
    const QByteArray body = bytes.startsWith(utf8Bom) ? bytes.mid(utf8Bom.size()) : bytes;
    if (isValidUtf8(body))
        return QString::fromUtf8(body);
    return fromGb18030(bytes);
}

QByteArray encodeFileText(const QString &text)
{
    const QByteArray gb = toGb18030(text);
    // Some GB18030 text is valid UTF-8 as well ("畏" is the bytes of "η")
    // and would be read back as UTF-8. Such a text is written as UTF-8 with
    // a byte-order mark instead, which reads back unmistakably.
    if (isValidUtf8(gb) && QString::fromUtf8(gb) != text)
        return utf8Bom + text.toUtf8();
    return gb;
}
