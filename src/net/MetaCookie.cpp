#include "net/MetaCookie.h"

#include "net/CurlLibrary.h"

namespace {

bool hasControlCharacter(const QByteArray &text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    }
    return false;
}

// The directory of the page's path, as for a Set-Cookie header without Path.
QByteArray defaultPath(const QByteArray &path)
{
    const qsizetype lastSlash = path.lastIndexOf('/');
    if (!path.startsWith('/') || lastSlash <= 0)
        return "/";
    return path.left(lastSlash);
}

} // namespace

QByteArray metaCookieLine(const QByteArray &setCookie, const QUrl &page, qint64 now)
{
    const QList<QByteArray> parts = setCookie.split(';');
    const QByteArray pair = parts.first();
    const qsizetype equals = pair.indexOf('=');
    if (equals < 0)
        return {};
    const QByteArray name = pair.left(equals).trimmed();
    const QByteArray value = pair.mid(equals + 1).trimmed();
    if (name.isEmpty() || hasControlCharacter(name) || hasControlCharacter(value))
        return {};

    const QByteArray host = page.host(QUrl::FullyEncoded).toLower().toLatin1();
    if (host.isEmpty())
        return {};
    QByteArray path;
    bool secure = false;
    bool httpOnly = false;
    bool maxAgeGiven = false;
    qint64 expires = 0; // a session cookie
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const qsizetype attributeEquals = parts[i].indexOf('=');
        const QByteArray key =
            (attributeEquals < 0 ? parts[i] : parts[i].left(attributeEquals)).trimmed().toLower();
        const QByteArray argument =
            attributeEquals < 0 ? QByteArray() : parts[i].mid(attributeEquals + 1).trimmed();
        // A Domain attribute is ignored: a page may set cookies for its own
        // host only, never for a whole domain (".com.cn") it does not own.
        if (key == "path") {
            path = argument.startsWith('/') ? argument : QByteArray();
        } else if (key == "secure") {
            secure = true;
        } else if (key == "httponly") {
            httpOnly = true;
        } else if (key == "max-age") {
            bool isNumber = false;
            const qint64 seconds = argument.toLongLong(&isNumber);
            if (isNumber) {
                maxAgeGiven = true;
                // A time in the past removes the cookie; 0 would mean "session".
                expires = seconds <= 0 ? 1 : now + seconds;
            }
        } else if (key == "expires" && !maxAgeGiven) {
            const time_t when = CurlLibrary::instance().getdate(argument.constData(), nullptr);
            if (when != -1)
                expires = when <= 0 ? 1 : qint64(when);
        }
    }

    if (secure && page.scheme() != QStringLiteral("https"))
        return {};
    if (hasControlCharacter(path))
        return {};
    if (path.isEmpty())
        path = defaultPath(page.path(QUrl::FullyEncoded).toLatin1());

    // Netscape cookie-file fields: domain, subdomains too (never), path,
    // secure, expiry, name, value.
    QByteArray line = httpOnly ? "#HttpOnly_" : "";
    line += host + "\tFALSE\t" + path + '\t' + (secure ? "TRUE" : "FALSE") + '\t' +
            QByteArray::number(expires) + '\t' + name + '\t' + value;
    return line;
}
