#include "itinerary/SerialNumber.h"

#include "common/TextRules.h"

namespace {

constexpr char16_t fullWidthZero = u'\uFF10';
constexpr char16_t fullWidthNine = u'\uFF19';

} // namespace

QString normalisedSerialNumber(const QString &typed)
{
    QString plain;
    plain.reserve(typed.size());
    bool inBlankRun = false;
    for (const QChar c : typed) {
        if (c.isSpace()) {
            if (!inBlankRun)
                plain.append(u' ');
            inBlankRun = true;
            continue;
        }
        inBlankRun = false;
        if (c.unicode() >= fullWidthZero && c.unicode() <= fullWidthNine)
            plain.append(QChar(char16_t(u'0' + (c.unicode() - fullWidthZero))));
        else
            plain.append(c);
    }
    return plain;
}

bool isWellFormedSerialNumber(const QString &text)
{
    // Ten digits, one blank and the check digit.
    const QString s = trimmed(text);
    return s.size() == 12 && allAsciiDigits(QStringView(s).first(10)) && s.at(10) == u' ' &&
           isAsciiDigit(s.at(11));
}

bool isMalformedSerialNumber(const QString &text)
{
    return !trimmed(text).isEmpty() && !isWellFormedSerialNumber(text);
}

std::optional<qint64> serialNumberValue(const QString &text)
{
    if (!isWellFormedSerialNumber(text))
        return std::nullopt;
    return trimmed(text).first(10).toLongLong();
}

QString serialDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 10, 10, QLatin1Char('0'));
}
