#include "common/FileEncoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

QString decodeFileText(const QByteArray &bytes)
{
    // The mark alone does not make a file UTF-8: GB18030 text may begin with
    // the same three bytes, and decoding it as UTF-8 would destroy it.
    const QByteArray body = bytes.startsWith(utf8Bom) ? bytes.mid(utf8Bom.size()) : bytes;
    if (isValidUtf8(body))
        return QString::fromUtf8(body);
    QStringDecoder decoder("GB18030");
    return decoder.decode(bytes);
}

QByteArray encodeFileText(const QString &text)
{
    QStringEncoder encoder("GB18030");
    const QByteArray gb = encoder.encode(text);
    // Some GB18030 text is valid UTF-8 as well ("畏" is the bytes of "η")
    // and would be read back as UTF-8. Such a text is written as UTF-8 with
    // a byte-order mark instead, which reads back unmistakably.
    if (isValidUtf8(gb) && QString::fromUtf8(gb) != text)
        return utf8Bom + text.toUtf8();
    return gb;
}
