#include "pnr/PnrAmounts.h"

#include "common/TextRules.h"
#include "pnr/BoundedPattern.h"

namespace {

struct TAmountPatterns
{
    TBoundedPattern fare{QStringLiteral(R"(FARE:CNY([0-9]++))")};
    TBoundedPattern tax{QStringLiteral(R"(TAX:CNY([0-9]++))")};
    TBoundedPattern fuel{QStringLiteral(R"(YQ:(?:CNY([0-9]++(?:\.[0-9]++)?)|T?(EXEMPT)))")};
    TBoundedPattern total{QStringLiteral(R"(TOTAL:([0-9]++))")};

    TBoundedPattern fareAmount{QStringLiteral(R"(SCNY([0-9]++\.00))")};
    TBoundedPattern totalAmount{QStringLiteral(R"(ACNY([0-9]++\.00))")};
    // One tax of the fare line, "TCNY50.00CN" or "TEXEMPTYQ", starting an
    // element of it.
    TBoundedPattern taxItem{
        QStringLiteral(R"((?<![A-Z0-9])T(?:CNY([0-9]++(?:\.[0-9]{1,2})?)|(EXEMPT))([A-Z0-9]{2}))")};
};

const TAmountPatterns &patterns()
{
    static const TAmountPatterns compiled;
    return compiled;
}

// An amount in fen; none for one too large to be any fare's.
std::optional<qint64> fen(const QString &amount)
{
    const qsizetype point = amount.indexOf(u'.');
    const QString yuan = point < 0 ? amount : amount.left(point);
    QString cents = point < 0 ? QString() : amount.mid(point + 1);
    if (yuan.isEmpty() || yuan.size() > 10 || cents.size() > 2)
        return std::nullopt;
    while (cents.size() < 2)
        cents.append(u'0');
    return yuan.toLongLong() * 100 + cents.toLongLong();
}

QString written(qint64 fen)
{
    return QStringLiteral("%1.%2").arg(fen / 100).arg(fen % 100, 2, 10, QChar(u'0'));
}

// The fuel surcharge as written: "30.00"; "30" reads "30.00".
std::optional<QString> writtenAmount(const QString &amount)
{
    const std::optional<qint64> value = fen(amount);
    if (!value)
        return std::nullopt;
    return written(*value);
}

struct TTaxes
{
    std::optional<qint64> airport;
    std::optional<qint64> fuel;
    bool fuelExempt = false;
    std::optional<qint64> other;

    static void add(std::optional<qint64> &sum, qint64 amount) { sum = sum.value_or(0) + amount; }
};

// The taxes from start up to end.
TTaxes readTaxes(const QString &text, qsizetype start, qsizetype end)
{
    TTaxes taxes;
    qsizetype position = start;
    for (;;) {
        const QRegularExpressionMatch tax = patterns().taxItem.match(text, position);
        if (!tax.hasMatch() || tax.capturedStart() >= end)
            return taxes;
        position = tax.capturedEnd();
        const QString code = tax.captured(3);
        if (tax.hasCaptured(2)) {
            // An exempt tax adds nothing; only the fuel surcharge shows it.
            if (code == QLatin1String("YQ"))
                taxes.fuelExempt = true;
            continue;
        }
        const std::optional<qint64> amount = fen(tax.captured(1));
        if (!amount)
            continue;
        if (code == QLatin1String("CN"))
            TTaxes::add(taxes.airport, *amount);
        else if (code == QLatin1String("YQ"))
            TTaxes::add(taxes.fuel, *amount);
        else
            TTaxes::add(taxes.other, *amount);
    }
}

} // namespace

TPnrAmounts readPriceDisplay(const QString &text)
{
    const TAmountPatterns &p = patterns();
    const QString cents = QStringLiteral(".00");
    TPnrAmounts amounts;
    // Each search starts where the last one that matched ended, so a tax
    // standing before the fare is not taken for the fare's.
    qsizetype position = 0;
    const auto next = [&](const TBoundedPattern &pattern) {
        const QRegularExpressionMatch found = pattern.match(text, position);
        if (found.hasMatch())
            position = found.capturedEnd();
        return found;
    };
    if (const auto fare = next(p.fare); fare.hasMatch())
        amounts.fare = trimmed(fare.captured(1)) + cents;
    if (const auto tax = next(p.tax); tax.hasMatch())
        amounts.airportTax = trimmed(tax.captured(1)) + cents;
    if (const auto fuel = next(p.fuel); fuel.hasMatch())
        amounts.fuelSurcharge =
            fuel.hasCaptured(2) ? QStringLiteral("EXEMPT") : writtenAmount(fuel.captured(1));
    if (const auto total = next(p.total); total.hasMatch())
        amounts.total = trimmed(total.captured(1)) + cents;
    return amounts;
}

TPnrAmounts readFareLine(const QString &text)
{
    const TAmountPatterns &p = patterns();
    TPnrAmounts amounts;
    qsizetype start = 0;
    qsizetype end = text.size();
    const QRegularExpressionMatch fare = p.fareAmount.match(text);
    if (fare.hasMatch()) {
        amounts.fare = fare.captured(1);
        start = fare.capturedEnd();
        // An infant's fare line may follow the adult's: its taxes are not
        // the adult's.
        const qsizetype nextLine = text.indexOf(QLatin1String("FN/"), start);
        if (nextLine >= 0)
            end = nextLine;
    }
    const QRegularExpressionMatch total = p.totalAmount.match(text, start);
    if (total.hasMatch()) {
        amounts.total = total.captured(1);
        end = std::min(end, total.capturedStart());
    }

    const TTaxes taxes = readTaxes(text, start, end);
    if (taxes.airport)
        amounts.airportTax = written(*taxes.airport);
    if (taxes.fuel)
        amounts.fuelSurcharge = written(*taxes.fuel);
    else if (taxes.fuelExempt)
        amounts.fuelSurcharge = QStringLiteral("EXEMPT");
    if (taxes.other)
        amounts.otherTax = written(*taxes.other);
    return amounts;
}
