#include "print/NumberAdvance.h"

#include "common/Pattern.h"
#include "common/TextRules.h"
#include "itinerary/ItineraryFields.h"
#include "itinerary/SerialNumber.h"

#include <limits>

namespace {

bool isDecimalDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// digits + 1 in decimal, as wide as digits unless the carry needs one more.
QString plusOne(const QString &digits)
{
    QString next = digits;
    for (qsizetype i = next.size() - 1; i >= 0; --i) {
        if (next[i] != u'9') {
            next[i] = QChar(next[i].unicode() + 1);
            return next;
        }
        next[i] = u'0';
    }
    return QLatin1Char('1') + next;
}

} // namespace

QString advanceSerial(const QString &T)
{
    static const QRegularExpression serialNumber = makePattern(QStringLiteral("\\d+\\s+\\d"));
    static const QRegularExpression blankRun = makePattern(QStringLiteral("\\s+"));
    if (!serialNumber.match(T).hasMatch())
        return T;
    const QString W = blankRun.match(T).captured();

    QString U = T;
    U.remove(u' ');
    const QString N = U.chopped(1);
    const QString D = U.right(1);
    if (!isDecimalDigits(N) || !isDecimalDigits(D))
        return T;

    const int checkDigit = D.at(0).unicode() - u'0';
    const int nextCheckDigit = checkDigit >= 6 ? 0 : checkDigit + 1;
    return plusOne(N) + W + QString::number(nextCheckDigit);
}

void reportPageAfterPrint(ItineraryFields &fields)
{
    const QString serialNumberField = fieldName(Field::SerialNumber);
    const QString checkCodeField = fieldName(Field::CheckCode);

    const QString S = fields.text(serialNumberField);
    if (S.size() > 10) {
        // Only a number of the stock's form moves on: anything else would
        // print a number or check code that no sheet carries. The agent was
        // told so before printing.
        if (!isWellFormedSerialNumber(S))
            return;
        const QString T = trimmed(S);
        const QString next = advanceSerial(T);
        // A serial number that does not advance stays exactly as typed.
        if (next != T)
            fields.setText(serialNumberField, next);
        return;
    }

    // The "1" in front keeps the check code's leading zeros through the sum.
    const QString K = QLatin1Char('1') + trimmed(fields.text(checkCodeField));
    if (!isDecimalDigits(K))
        return;
    bool ok = false;
    const qlonglong k = K.toLongLong(&ok);
    if (!ok || k > std::numeric_limits<qint32>::max())
        return;
    fields.setText(checkCodeField, QString::number(k + 1).mid(1));
}
