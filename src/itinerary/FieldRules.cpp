#include "itinerary/FieldRules.h"

#include "itinerary/ItineraryFields.h"
#include "common/Pattern.h"
#include "common/TextRules.h"

#include <QLocale>
#include <cmath>

namespace {

const QStringList amountFields = {QStringLiteral("edtFare"), QStringLiteral("edtCAAC"),
                                  QStringLiteral("edtYQ"), QStringLiteral("edtTax")};

bool isAmountField(const QString &name)
{
    return amountFields.contains(name);
}

bool isSeatField(const QString &name)
{
    static const QRegularExpression seat = makePattern(QStringLiteral("^edtSeat[1-4]$"));
    return seat.match(name).hasMatch();
}

} // namespace

long long amountWholePart(const QString &text)
{
    static const QString separator = QLocale::system().decimalPoint();
    // Digits with an optional fraction and exponent, blanks around; no
    // thousands separators, no currency.
    static const QRegularExpression number =
        makePattern(QStringLiteral("^ *[+-]?(?:\\d+(?:%1\\d*)?|%1\\d+)(?:[eE][+-]?\\d+)? *$")
                        .arg(QRegularExpression::escape(separator)));
    if (!number.match(text).hasMatch())
        return 0;
    QString plain = text.trimmed();
    plain.replace(separator, QStringLiteral("."));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    const double whole = std::trunc(value);
    if (!ok || !std::isfinite(whole) || std::fabs(whole) >= 1e15)
        return 0;
    return static_cast<long long>(whole);
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
    // Four parts each below 10^15 cannot overflow the sum.
    long long sum = 0;
    for (const QString &field : amountFields)
        sum += amountWholePart(FFields.text(field));
    FFields.setText(QStringLiteral("edtTotal"), QString::number(sum) + QStringLiteral(".00"));
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
