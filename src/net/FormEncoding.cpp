#include "net/FormEncoding.h"

namespace {

bool staysAsItIs(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' ||
           c == '-' || c == '.' || c == '_';
}

} // namespace

QByteArray encodeFormValue(const QString &text)
{
    static const char hexDigits[] = "0123456789ABCDEF";
    QByteArray encoded;
    for (const char byte : text.toUtf8()) {
        const auto code = static_cast<unsigned char>(byte);
        if (staysAsItIs(byte)) {
            encoded.append(byte);
        } else if (byte == ' ') {
            encoded.append('+');
        } else {
            encoded.append('%');
            encoded.append(hexDigits[code >> 4]);
            encoded.append(hexDigits[code & 0x0F]);
        }
    }
    return encoded;
}

QByteArray encodeForm(const HttpForm &form)
{
    QByteArray body;
    for (const auto &[name, value] : form) {
        if (!body.isEmpty())
            body.append('&');
        body.append(encodeFormValue(name));
        body.append('=');
        body.append(encodeFormValue(value));
    }
    return body;
}
