#include "itinerary/FieldRules.h"

#include "itinerary/ItineraryFields.h"
#include "common/Pattern.h"
#include "common/TextRules.h"


namespace {

const QStringList amountFields = {QStringLiteral("edtFare"), QStringLiteral("edtCAAC"),
                                  QStringLiteral("edtYQ"), QStringLiteral("edtTax")};

bool isAmountField(const QString &name)
{
    return amountFields.contains(name);
}

bool isSeatField(const QString &name)
{
    static const QStringList seats = {QStringLiteral("edtSeat1"), QStringLiteral("edtSeat2"),
                                      QStringLiteral("edtSeat3"), QStringLiteral("edtSeat4")};
    return seats.contains(name);
}

} // namespace

long long amountInFen(const QString &text)
{
    // Always "." for the decimal point, whatever the regional settings say:
    // the amounts come from the terminal and the verification site in that
    // form, and the total must not depend on the machine it is computed on.
    // A "," is a thousands separator only between groups of three digits,
    // so "1860,50" typed in the European way is not taken for 186050.
    static const QRegularExpression number = makePattern(QStringLiteral(
        "^([+-]?)(\\d{1,3}(?:,\\d{3})+|\\d*)(?:\\.(\\d*))?(?:[eE]([+-]?\\d{1,4}))?$"));
    const QRegularExpressionMatch parts = number.match(trimmed(text));
    if (!parts.hasMatch())
        return 0;
    const QString whole = parts.captured(2).remove(u',');
    const QString fraction = parts.captured(3);
    if (whole.isEmpty() && fraction.isEmpty())
        return 0;

    // The digits with the decimal point moved by the exponent; fen are the
    // digits up to two places after it, the rest is cut off toward zero.
    const QString digits = whole + fraction;
    const qsizetype point = whole.size() + parts.captured(4).toInt();
    const qsizetype fenDigits = point + 2;
    if (fenDigits <= 0)
        return 0;
    QString fen = digits.left(fenDigits);
    if (fen.size() < fenDigits)
        fen.append(QString(fenDigits - fen.size(), u'0'));
    while (fen.size() > 1 && fen.front() == u'0')
        fen.remove(0, 1);
    if (fen.size() > maxAmountFenDigits)
        return 0;
    const long long value = fen.toLongLong();
    return parts.captured(1) == QLatin1String("-") ? -value : value;
}

QString fenText(long long fen)
{
    const QString sign = fen < 0 ? QStringLiteral("-") : QString();
    const unsigned long long magnitude = fen < 0 ? 0ULL - static_cast<unsigned long long>(fen)
                                                 : static_cast<unsigned long long>(fen);
    return sign + QString::number(magnitude / 100) + u'.' +
           QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QString checkCodeOf(const QString &serialNumber)
{
    static const QRegularExpression wellFormed = makePattern(QStringLiteral("\\d{10}\\s\\d"));
    QString s = trimmed(serialNumber);
    if (!wellFormed.match(s).hasMatch())
        return {};
    s.remove(u' ');
    if (s.size() <= 5)
        return {};
    return s.mid(s.size() - 5, 4);
}

void TFieldRules::textChanged(const QString &name)
{
    if (isAmountField(name))
        RecalcTotal();
    else if (isSeatField(name))
        followSeat(name);
    else if (name == QLatin1String("edtSerNo"))
        followSerialNumber();
}

void TFieldRules::RecalcTotal()
{
    // Summed exactly in fen; four parts each below 10^17 fen cannot overflow.
    long long sum = 0;
    for (const QString &field : amountFields)
        sum += amountInFen(FFields.text(field));
    FFields.setText(QStringLiteral("edtTotal"), fenText(sum));
}

void TFieldRules::followSeat(const QString &seatName)
{
    const QString row = seatName.right(1);
    FFields.setText(QStringLiteral("edtBasts") + row, FFields.text(seatName));
}

void TFieldRules::internationalChanged()
{
    if (!FFields.international())
        return;
    FFields.setText(QStringLiteral("edtYQ"), QString());
    // Also when the surcharge was empty already and its own rule did not run.
    RecalcTotal();
}

void TFieldRules::followSerialNumber()
{
    const QString checkCode = checkCodeOf(FFields.text(QStringLiteral("edtSerNo")));
    if (!checkCode.isEmpty())
        FFields.setText(QStringLiteral("edtCk"), checkCode);
}
