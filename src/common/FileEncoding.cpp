#include "FileEncoding.h"

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
    if (bytes.startsWith(utf8Bom))
        return QString::fromUtf8(bytes.constData() + utf8Bom.size(), bytes.size() - utf8Bom.size());
    if (isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    QStringDecoder decoder("GB18030");
    return decoder.decode(bytes);
}

QByteArray encodeFileText(const QString &text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}
