#include "net/AnswerText.h"

#include "net/HtmlHead.h"

#include <QStringDecoder>

namespace {

QByteArray mediaType(const QByteArray &contentType)
{
    const qsizetype semicolon = contentType.indexOf(';');
    return (semicolon < 0 ? contentType : contentType.left(semicolon)).trimmed().toLower();
}

// The value after "charset=" in a Content-Type header or a meta tag's content,
// read the way browsers read the latter: the first "charset" followed by "=",
// then a quoted value or one up to a space or ";".
QByteArray charsetParameter(const QByteArray &contentType)
{
    const QByteArray lower = contentType.toLower();
    qsizetype pos = 0;
    while ((pos = lower.indexOf("charset", pos)) >= 0) {
        pos += 7;
        while (pos < lower.size() && (lower[pos] == ' ' || lower[pos] == '\t'))
            ++pos;
        if (pos >= lower.size() || lower[pos] != '=')
            continue;
        ++pos;
        while (pos < lower.size() && (lower[pos] == ' ' || lower[pos] == '\t'))
            ++pos;
        if (pos < lower.size() && (lower[pos] == '"' || lower[pos] == '\'')) {
            const qsizetype close = lower.indexOf(lower[pos], pos + 1);
            if (close < 0)
                return {};
            return contentType.mid(pos + 1, close - pos - 1).trimmed();
        }
        qsizetype end = pos;
        while (end < lower.size() && lower[end] != ';' && lower[end] != ' ' && lower[end] != '\t')
            ++end;
        return contentType.mid(pos, end - pos);
    }
    return {};
}

QByteArray pageCharset(const QByteArray &page)
{
    for (const HtmlMeta &meta : headMetaTags(page)) {
        if (meta.contains("charset"))
            return meta.value("charset").trimmed();
        if (meta.value("http-equiv").trimmed().toLower() == "content-type") {
            const QByteArray charset = charsetParameter(meta.value("content"));
            if (!charset.isEmpty())
                return charset;
        }
    }
    return {};
}

bool isGbkLabel(const QByteArray &label)
{
    static const QByteArray labels[] = {"gbk",      "gb2312",     "gb18030",        "x-gbk",
                                        "cp936",    "ms936",      "windows-936",    "chinese",
                                        "csgb2312", "gb_2312",    "gb_2312-80",     "iso-ir-58",
                                        "euc-cn",   "csgb231280", "csiso58gb231280"};
    for (const QByteArray &known : labels) {
        if (label == known)
            return true;
    }
    return false;
}

} // namespace

bool isHtmlAnswer(const QByteArray &contentType)
{
    const QByteArray type = mediaType(contentType);
    return type.isEmpty() || type == "text/html" || type == "application/xhtml+xml";
}

QByteArray declaredCharset(const QByteArray &body, const QByteArray &contentType)
{
    if (isHtmlAnswer(contentType)) {
        const QByteArray charset = pageCharset(body);
        if (!charset.isEmpty())
            return charset;
    }
    return charsetParameter(contentType);
}

QString decodeAnswerText(const QByteArray &body, const QByteArray &contentType)
{
    const QByteArray label = declaredCharset(body, contentType).trimmed().toLower();
    if (label.isEmpty())
        return QString::fromLatin1(body);
    QStringDecoder decoder(isGbkLabel(label) ? "GB18030" : label.constData());
    if (!decoder.isValid())
        return QString::fromLatin1(body);
    return decoder.decode(body);
}
