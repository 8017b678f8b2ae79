#include "itinerary/FieldRules.h"

#include "common/TextRules.h"
#include "itinerary/ItineraryFields.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace {

// The parts of the total.
constexpr Field amountFields[] = {Field::Fare, Field::AirportTax, Field::FuelSurcharge,
                                  Field::OtherTax};

// An amount as the terminal and the site write it: a sign, whole units with
// or without "," between groups of three, a fraction after ".", an exponent.
struct AmountParts
{
    bool negative = false;
    QStringView whole;
    QStringView fraction;
    int exponent = 0;
};

// The digits from `at` on; `at` is moved past them.
QStringView digitsFrom(QStringView text, qsizetype &at)
{
    const qsizetype begin = at;
    while (at < text.size() && isAsciiDigit(text[at]))
        ++at;
    return text.sliced(begin, at - begin);
}

// One to three digits, then groups of "," and three digits.
bool isGroupedWhole(QStringView whole)
{
    const QList<QStringView> groups = whole.split(u',');
    if (groups.size() < 2 || groups.front().isEmpty() || groups.front().size() > 3)
        return false;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (!allAsciiDigits(groups[i]) || (i > 0 && groups[i].size() != 3))
            return false;
    }
    return true;
}

// The parts of text when all of it is such an amount (every part may be
// missing), nothing otherwise.
std::optional<AmountParts> amountParts(QStringView text)
{
    AmountParts parts;
    qsizetype at = 0;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        parts.negative = text[at++] == u'-';
    const qsizetype wholeBegin = at;
    while (at < text.size() && (isAsciiDigit(text[at]) || text[at] == u','))
        ++at;
    parts.whole = text.sliced(wholeBegin, at - wholeBegin);
    if (parts.whole.contains(u',') && !isGroupedWhole(parts.whole))
        return std::nullopt;
    if (at < text.size() && text[at] == u'.') {
        ++at;
        parts.fraction = digitsFrom(text, at);
    }
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        ++at;
        const qsizetype exponentBegin = at;
        if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
            ++at;
        const QStringView digits = digitsFrom(text, at);
        if (digits.isEmpty() || digits.size() > 4)
            return std::nullopt;
        parts.exponent = text.sliced(exponentBegin, at - exponentBegin).toInt();
    }
    if (at != text.size())
        return std::nullopt;
    return parts;
}

// Somewhere in the text: ten digits, a blank (space, tab or line break) and
// a digit.
bool holdsSerialNumber(QStringView text)
{
    const auto isAsciiBlank = [](QChar c) {
        return c == u' ' || (c.unicode() >= u'\t' && c.unicode() <= u'\r');
    };
    for (qsizetype at = 0; at + 12 <= text.size(); ++at) {
        if (allAsciiDigits(text.sliced(at, 10)) && isAsciiBlank(text[at + 10]) &&
            isAsciiDigit(text[at + 11]))
            return true;
    }
    return false;
}

} // namespace

long long amountInFen(const QString &text)
{
    // Always "." for the decimal point, whatever the regional settings say:
    // the amounts come from the terminal and the verification site in that
    // form, and the total must not depend on the machine it is computed on.
    // A "," is a thousands separator only between groups of three digits,
    // so "1860,50" typed in the European way is not taken for 186050.
    const QString amount = trimmed(text); // the parts are views into it
    const std::optional<AmountParts> parts = amountParts(amount);
    if (!parts)
        return 0;
    const QString whole = parts->whole.toString().remove(u',');
    const QString fraction = parts->fraction.toString();
    if (whole.isEmpty() && fraction.isEmpty())
        return 0;

    // The digits with the decimal point moved by the exponent; fen are the
    // digits up to two places after it, the rest is cut off toward zero.
    const QString digits = whole + fraction;
    const qsizetype point = whole.size() + parts->exponent;
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
    return parts->negative ? -value : value;
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
    QString s = trimmed(serialNumber);
    if (!holdsSerialNumber(s))
        return {};
    s.remove(u' ');
    if (s.size() <= 5)
        return {};
    return s.mid(s.size() - 5, 4);
}

void FieldRules::textChanged(const QString &name)
{
    const FieldSpec *spec = findField(name);
    if (!spec)
        return;
    if (std::find(std::begin(amountFields), std::end(amountFields), spec->field) !=
        std::end(amountFields))
        recalcTotal();
    else if (spec->field == Field::Seat)
        followSeat(spec->row);
    else if (spec->field == Field::SerialNumber)
        followSerialNumber();
}

void FieldRules::recalcTotal()
{
    // Summed exactly in fen; four parts each below 10^17 fen cannot overflow.
    long long sum = 0;
    for (Field field : amountFields)
        sum += amountInFen(m_fields.text(field));
    m_fields.setText(Field::Total, fenText(sum));
}

void FieldRules::followSeat(int row)
{
    m_fields.setText({Field::FareBasis, row}, m_fields.text({Field::Seat, row}));
}

void FieldRules::internationalChanged()
{
    if (!m_fields.international())
        return;
    m_fields.setText(Field::FuelSurcharge, QString());
    // Also when the surcharge was empty already and its own rule did not run.
    recalcTotal();
}

void FieldRules::followSerialNumber()
{
    const QString checkCode = checkCodeOf(m_fields.text(Field::SerialNumber));
    if (!checkCode.isEmpty())
        m_fields.setText(Field::CheckCode, checkCode);
}
