#include "pnr/PnrAmounts.h"

#include "common/TextRules.h"
#include "itinerary/FieldRules.h"
#include "pnr/BoundedPattern.h"

namespace {

struct AmountPatterns
{
    // A fare is always an amount; only the taxes may be waived.
    BoundedPattern fare{QStringLiteral(R"(FARE:CNY([0-9]++(?:\.[0-9]++)?+))")};
    BoundedPattern tax{QStringLiteral(R"(TAX:(?:CNY([0-9]++(?:\.[0-9]++)?+)|T?+(EXEMPT)))")};
    BoundedPattern fuel{QStringLiteral(R"(YQ:(?:CNY([0-9]++(?:\.[0-9]++)?+)|T?+(EXEMPT)))")};
    BoundedPattern total{QStringLiteral(R"(TOTAL:(?:CNY)?+([0-9]++(?:\.[0-9]++)?+))")};

    // The price display of QTE: "FARE  CNY    4200", "FARE  USD  600.00
    // EQUIV CNY 4200", then "TAX   CNY 90CN CNY 40DE ...", "TOTAL CNY 7200",
    // and the breakdown of XT, "XT CNY 311RA CNY 2500YQ".
    BoundedPattern quoteFare{QStringLiteral(
        R"(FARE\s++(?:[A-Z]{3}\s*+[0-9]++(?:\.[0-9]++)?+\s++EQUIV\s++)?+)"
        R"(CNY\s*+([0-9]++(?:\.[0-9]++)?+)(?![0-9.]))")};
    BoundedPattern quoteTaxes{QStringLiteral(R"(\s*+(?:TAX\s++)?+CNY\s*+([0-9]++(?:\.[0-9]++)?+)([A-Z][A-Z0-9])\b)")};
    BoundedPattern quoteTotal{QStringLiteral(R"(\s*+TOTAL\s++CNY\s*+([0-9]++(?:\.[0-9]++)?+)(?![0-9.]))")};
    BoundedPattern quoteBreakdown{QStringLiteral(R"((?<![A-Z])XT(?=\s++CNY\s*+[0-9]))")};
    BoundedPattern quoteBreakdownTax{QStringLiteral(R"(\s++CNY\s*+([0-9]++(?:\.[0-9]++)?+)([A-Z][A-Z0-9])\b)")};
};

const AmountPatterns &patterns()
{
    static const AmountPatterns compiled;
    return compiled;
}

// An amount written "1860", "1860.5" or "1860.50", as the receipt shows it,
// "1860.50"; none for one that is no amount or too large to be any fare's.
std::optional<QString> amount(QStringView text)
{
    const qsizetype point = text.indexOf(u'.');
    const QStringView yuan = point < 0 ? text : text.left(point);
    const QStringView fen = point < 0 ? QStringView() : text.mid(point + 1);
    if (yuan.isEmpty() || yuan.size() > 10 || !allAsciiDigits(yuan) || fen.size() > 2 ||
        !allAsciiDigits(fen))
        return std::nullopt;
    return fenText(amountInFen(text.toString()));
}

std::optional<QString> amountOrExempt(const QRegularExpressionMatch &found)
{
    if (found.hasCaptured(2))
        return QStringLiteral("EXEMPT");
    return amount(found.capturedView(1));
}

PnrAmounts readPriceLine(const QString &text, qsizetype start, qsizetype end)
{
    const AmountPatterns &p = patterns();
    PnrAmounts amounts;
    // Each search starts where the last one that matched ended, so a tax
    // standing before the fare is not taken for the fare's.
    qsizetype position = start;
    const auto next = [&](const BoundedPattern &pattern) {
        QRegularExpressionMatch found = pattern.match(text, position);
        if (found.hasMatch() && found.capturedEnd() <= end)
            position = found.capturedEnd();
        else
            found = {};
        return found;
    };
    if (const auto fare = next(p.fare); fare.hasMatch())
        amounts.fare = amount(fare.capturedView(1));
    if (const auto tax = next(p.tax); tax.hasMatch())
        amounts.airportTax = amountOrExempt(tax);
    if (const auto fuel = next(p.fuel); fuel.hasMatch())
        amounts.fuelSurcharge = amountOrExempt(fuel);
    if (const auto total = next(p.total); total.hasMatch())
        amounts.total = amount(total.capturedView(1));
    return amounts;
}

// The passenger type a ">PAT:" command prices: "A*CH" children, "A*IN"
// infants, anything else adults. A command is a short word.
PassengerType commandType(QStringView text, qsizetype start)
{
    qsizetype end = start;
    while (end < text.size() && end - start < 16 && !isBlankOrControl(text.at(end)))
        ++end;
    const QStringView command = text.mid(start, end - start);
    // PAT writes the type after "*"; QTE right after its colon, "QTE:CNN/CA".
    const auto names = [&](std::initializer_list<const char16_t *> codes) {
        for (const char16_t *code : codes) {
            const QStringView written(code);
            if (command.contains(u'*' + written.toString(), Qt::CaseInsensitive) ||
                command.startsWith(written, Qt::CaseInsensitive))
                return true;
        }
        return false;
    };
    if (names({u"CH", u"CNN", u"UNN"}))
        return PassengerType::Child;
    if (names({u"IN"}))
        return PassengerType::Infant;
    return PassengerType::Adult;
}

// Where word stands in text at or after from, or -1. Its first letter is
// looked for first: a search for one character reads a long paste many
// times faster than a search for a word.
qsizetype indexOfWord(QStringView text, QStringView word, qsizetype from)
{
    for (qsizetype at = text.indexOf(word.front(), from); at >= 0;
         at = text.indexOf(word.front(), at + 1)) {
        if (text.mid(at).startsWith(word))
            return at;
    }
    return -1;
}

// Hands each part of the text that a pricing command begins (">PAT:A*CH",
// ">QTE:CNN/CA"), the command as the agent typed it in any case, to read
// with the passenger type it prices; the part before the first command is
// the adults'.
template<typename Read>
void forEachPricedPart(const QString &text, const QString &command, Read read)
{
    // Where the command ("PAT:") begins at or after from, in any case. Its
    // colon is looked for first, at the speed of a plain search: a search
    // in any case reads a long paste many times slower.
    const qsizetype word = command.size() - 1;
    const auto indexOfCommand = [&](qsizetype from) {
        for (qsizetype colon = text.indexOf(u':', from + word); colon >= 0;
             colon = text.indexOf(u':', colon + 1)) {
            if (QStringView(text).mid(colon - word, word).compare(
                    QStringView(command).left(word), Qt::CaseInsensitive) == 0)
                return colon - word;
        }
        return qsizetype(-1);
    };
    PassengerType type = PassengerType::Adult;
    qsizetype start = 0;
    for (;;) {
        const qsizetype next = indexOfCommand(start);
        const qsizetype end = next < 0 ? text.size() : next;
        read(type, text.mid(start, end - start));
        if (next < 0)
            return;
        start = next + command.size();
        type = commandType(text, start);
    }
}

struct Taxes
{
    std::optional<qint64> airport;
    bool airportExempt = false;
    std::optional<qint64> fuel;
    bool fuelExempt = false;
    std::optional<qint64> other;

    static void add(std::optional<qint64> &sum, qint64 fen) { sum = sum.value_or(0) + fen; }

    // "TCNY50.00CN", "TCNY12.75E7", "TEXEMPTYQ": one tax element.
    void read(QStringView element)
    {
        if (element.startsWith(u"TEXEMPT") && element.size() == 9) {
            const QStringView code = element.mid(7);
            if (code == u"CN")
                airportExempt = true;
            else if (code == u"YQ")
                fuelExempt = true;
            return;
        }
        if (!element.startsWith(u"TCNY") || element.size() < 7)
            return;
        const QStringView code = element.right(2);
        const std::optional<QString> written = amount(element.mid(4, element.size() - 6));
        if (!written)
            return;
        const qint64 fen = amountInFen(*written);
        if (code == u"CN")
            add(airport, fen);
        else if (code == u"YQ")
            add(fuel, fen);
        else
            add(other, fen);
    }
};

std::optional<QString> written(const std::optional<qint64> &fen, bool exempt)
{
    if (fen)
        return fenText(*fen);
    if (exempt)
        return QStringLiteral("EXEMPT");
    return std::nullopt;
}

// "P2" after the amounts: the passenger a fare line is for.
int passengerNumber(QStringView element)
{
    if (element.size() < 2 || element.size() > 4 || element.at(0) != u'P' ||
        !allAsciiDigits(element.mid(1)))
        return 0;
    return element.mid(1).toInt();
}

// Reads the amounts with their tax codes that follow each other from
// position on ("CNY 90CN CNY 40DE"), handing each to take in fen; where they
// end.
template<typename Take>
qsizetype readCodedAmounts(const BoundedPattern &pattern, const QString &text, qsizetype position,
                           Take take)
{
    for (;;) {
        const QRegularExpressionMatch tax = pattern.matchAt(text, position);
        if (!tax.hasMatch())
            return position;
        position = tax.capturedEnd();
        if (const std::optional<QString> written = amount(tax.capturedView(1)))
            take(amountInFen(*written), tax.capturedView(2));
    }
}

// The first FARE, TAX and TOTAL lines of QTE's display in text.
std::optional<PnrPriceQuote> readFareQuote(const QString &text)
{
    const AmountPatterns &p = patterns();
    // The word FARE is looked for first, at the speed of a plain search; the
    // pattern only where it stands.
    QRegularExpressionMatch fare;
    for (qsizetype at = indexOfWord(text, u"FARE", 0); at >= 0 && !fare.hasMatch();
         at = indexOfWord(text, u"FARE", at + 4)) {
        if (at == 0 || !(text.at(at - 1) >= u'A' && text.at(at - 1) <= u'Z'))
            fare = p.quoteFare.matchAt(text, at);
    }
    if (!fare.hasMatch())
        return std::nullopt;
    const std::optional<QString> fareWritten = amount(fare.capturedView(1));
    if (!fareWritten)
        return std::nullopt;

    // The taxes of the TAX line (or lines), each with its code.
    qint64 airport = 0;
    qint64 fuel = 0;
    qint64 others = 0; // every other code, XT included
    qint64 added = 0;  // XT, the taxes added up
    bool airportFound = false;
    bool fuelFound = false;
    const auto isFuel = [](QStringView code) { return code == u"YQ" || code == u"YR"; };
    qsizetype position =
        readCodedAmounts(p.quoteTaxes, text, fare.capturedEnd(), [&](qint64 fen, QStringView code) {
            if (code == u"CN") {
                airport += fen;
                airportFound = true;
            } else if (isFuel(code)) {
                fuel += fen;
                fuelFound = true;
            } else {
                others += fen;
                if (code == u"XT")
                    added += fen;
            }
        });
    std::optional<qint64> total;
    if (const QRegularExpressionMatch found = p.quoteTotal.matchAt(text, position);
        found.hasMatch()) {
        if (const std::optional<QString> written = amount(found.capturedView(1)))
            total = amountInFen(*written);
        position = found.capturedEnd();
    }
    // The surcharges that XT adds up are named in its breakdown.
    if (added > 0) {
        if (const QRegularExpressionMatch breakdown = p.quoteBreakdown.match(text, position);
            breakdown.hasMatch()) {
            readCodedAmounts(p.quoteBreakdownTax, text, breakdown.capturedEnd(),
                             [&](qint64 fen, QStringView code) {
                                 if (!isFuel(code))
                                     return;
                                 fuel += fen;
                                 others -= fen;
                                 fuelFound = true;
                             });
        }
    }

    PnrPriceQuote quote;
    const qint64 fareFen = amountInFen(*fareWritten);
    quote.amounts.fare = fareWritten;
    if (airportFound)
        quote.amounts.airportTax = fenText(airport);
    if (fuelFound)
        quote.amounts.fuelSurcharge = fenText(fuel);
    // The other taxes are what the total leaves, when it leaves anything.
    if (total)
        others = *total - fareFen - airport - fuel;
    // A total below its parts leaves them as they are, to be checked.
    if (others > 0)
        quote.amounts.otherTax = fenText(others);
    quote.amounts.total = fenText(total.value_or(fareFen + airport + fuel + others));
    return quote;
}

} // namespace

QList<PnrPriceQuote> readPriceQuotes(const QString &text)
{
    const AmountPatterns &p = patterns();
    const QString command = QStringLiteral("PAT:");
    QList<PnrPriceQuote> quotes;
    // Each quote is read in a copy of its own part of the text, so that no
    // search runs on into the quotes after it.
    const auto readQuote = [&](PassengerType type, const QString &section) {
        // The first price line, up to the next one: the quote's further
        // lines are other fares to choose from.
        qsizetype lineStart = 0;
        qsizetype lineEnd = section.size();
        const QRegularExpressionMatch fare = p.fare.match(section);
        if (fare.hasMatch()) {
            lineStart = fare.capturedStart();
            const QRegularExpressionMatch nextFare = p.fare.match(section, fare.capturedEnd());
            if (nextFare.hasMatch())
                lineEnd = nextFare.capturedStart();
        }
        PnrPriceQuote quote{type, readPriceLine(section, lineStart, lineEnd)};
        if (!quote.amounts.isEmpty())
            quotes.append(quote);
    };

    // Every price quote writes its amounts after a colon.
    if (text.contains(u':'))
        forEachPricedPart(text, command, readQuote);
    return quotes;
}

QList<PnrPriceQuote> readFareQuotes(const QString &display)
{
    // No display without its FARE line; a paste is mostly none, and long.
    if (indexOfWord(display, u"FARE", 0) < 0)
        return {};
    // The display's words stand apart by blanks, which a web page or a chat
    // may write as no-break or ideographic spaces.
    QString text = display;
    if (text.contains(QChar(0xA0)) || text.contains(QChar(0x3000))) {
        for (QChar &c : text) {
            if (c.unicode() == 0xA0 || c.unicode() == 0x3000)
                c = u' ';
        }
    }
    QList<PnrPriceQuote> quotes;
    forEachPricedPart(text, QStringLiteral("QTE:"), [&](PassengerType type, const QString &part) {
        if (std::optional<PnrPriceQuote> quote = readFareQuote(part)) {
            quote->type = type;
            quotes.append(*quote);
        }
    });
    return quotes;
}

PnrFareLine readFareLine(const QString &text)
{
    PnrFareLine line;
    std::optional<QString> fare;     // SCNY
    std::optional<QString> fullFare; // FCNY
    std::optional<QString> total;    // ACNY
    Taxes taxes;
    bool amountsBegun = false;
    bool totalRead = false;
    for (const QStringView piece : QStringView(text).split(u'/')) {
        const QString element = trimmed(piece.toString());
        if (totalRead) {
            // After the total only the passenger it is for.
            if (!line.passenger)
                line.passenger = passengerNumber(element);
            continue;
        }
        if (!amountsBegun && element == QLatin1String("IN"))
            line.infant = true;
        if (element.startsWith(QLatin1String("FCNY"))) {
            amountsBegun = true;
            if (!fullFare)
                fullFare = amount(QStringView(element).mid(4));
        } else if (element.startsWith(QLatin1String("SCNY"))) {
            amountsBegun = true;
            if (!fare)
                fare = amount(QStringView(element).mid(4));
        } else if (element.startsWith(QLatin1String("ACNY"))) {
            total = amount(QStringView(element).mid(4));
            totalRead = true;
        } else if (element.startsWith(u'T')) {
            taxes.read(element);
        } else if (amountsBegun && !line.passenger) {
            line.passenger = passengerNumber(element);
        }
    }

    const bool exchange = fare && fullFare && amountInFen(*fare) == 0;
    line.amounts.fare = exchange || !fare ? fullFare : fare;
    // Where the two fares differ, the one the total is made of.
    if (!exchange && fare && fullFare && total && *fare != *fullFare) {
        const qint64 taxSum = taxes.airport.value_or(0) + taxes.fuel.value_or(0) +
                              taxes.other.value_or(0);
        const qint64 totalFen = amountInFen(*total);
        if (amountInFen(*fare) + taxSum != totalFen && amountInFen(*fullFare) + taxSum == totalFen)
            line.amounts.fare = fullFare;
    }
    if (!exchange)
        line.amounts.total = total;
    line.amounts.airportTax = written(taxes.airport, taxes.airportExempt);
    line.amounts.fuelSurcharge = written(taxes.fuel, taxes.fuelExempt);
    line.amounts.otherTax = taxes.other ? std::optional(fenText(*taxes.other)) : std::nullopt;
    return line;
}
