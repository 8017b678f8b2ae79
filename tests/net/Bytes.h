#pragma once

#include <QByteArray>
#include <ostream>

// Failure messages show bytes as text, with anything outside ASCII as \xHH.
inline void PrintTo(const QByteArray &bytes, std::ostream *out)
{
    static const char hexDigits[] = "0123456789ABCDEF";
    *out << '"';
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x20 && code < 0x7F) {
            *out << byte;
        } else {
            *out << "\\x" << hexDigits[code >> 4] << hexDigits[code & 0x0F];
        }
    }
    *out << '"';
}
