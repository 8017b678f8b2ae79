#include "pnr/PnrSegmentLine.h"

#include "common/TextRules.h"
#include "pnr/BoundedPattern.h"
#include "pnr/PnrDate.h"
#include "pnr/PnrItems.h"

namespace {

struct SegmentPatterns
{
    // The fixed columns, from the last digit of the item number.
    BoundedPattern columns{QStringLiteral(
        R"(\d..{2}(?<carrier>[A-Z0-9]{2})(?<flight>.{4})(?<suffix>.)(?<class>[A-Z]{1}).{3})"
        R"((?<weekday>[A-Z]{2})(?<date>[0-9]{2}[A-Z]{3})(?<year>.{2})(?<from>[A-Z]{3}))"
        R"((?<to>[A-Z]{3})(?<status>.{7}))"
        R"((?<departs>\d{4}).(?<arrives>\d{4})(?:.{12}(?<terminals>.{4})?)?)")};

    // The words in their order, on the item's text with every run of blanks
    // made one.
    BoundedPattern words{QStringLiteral(
        R"(\*?+(?<carrier>[A-Z][A-Z0-9]|[0-9][A-Z]) ?+)"
        R"((?<flight>[0-9]{1,4}+(?:[A-Z](?= ?+[A-Z][0-9]?+ ))?+) ?+)"
        R"((?<class>[A-Z][0-9]?+) (?:(?<weekday>MO|TU|WE|TH|FR|SA|SU) ?+)?+)"
        R"((?<date>[0-9]{2}[A-Z]{3})(?<year>[0-9]{2})?+ ?+(?<from>[A-Z]{3})(?<to>[A-Z]{3}) )"
        R"((?<status>[A-Z]{2})[0-9]{0,3}+ (?<departs>[0-9]{4})(?: (?<arrives>[0-9]{4})(?:[+-][0-9])?+)?+)"
        R"((?: E)?+(?: (?<terminals>(?:--|T[0-9A-Z]){2})(?![^ ]))?+)")};

    BoundedPattern openDate{QStringLiteral(R"(\*?+(?:[A-Z][A-Z0-9]|[0-9][A-Z]) ?+OPEN\b)")};
    BoundedPattern surface{QStringLiteral(R"(ARNK\b)")};
};

const SegmentPatterns &patterns()
{
    static const SegmentPatterns compiled;
    return compiled;
}

// A terminal half of the segment line: "T2", or "--" and blanks for none.
QString terminal(const QString &text)
{
    const QString name = trimmed(text);
    return name == QLatin1String("--") ? QString() : name;
}

bool isTwoDigits(const QString &text)
{
    return text.size() == 2 && allAsciiDigits(text);
}

// Whether the fixed columns gave a flight as airlines number them: a code
// with a letter, then one to four digits and perhaps a suffix letter (a
// fifth character, in the column before the class, is read apart).
bool isFlightNumber(const QString &carrier, const QString &number)
{
    if (carrier.size() != 2 || (isAsciiDigit(carrier.at(0)) && isAsciiDigit(carrier.at(1))))
        return false;
    qsizetype digits = 0;
    while (digits < number.size() && isAsciiDigit(number.at(digits)))
        ++digits;
    const qsizetype suffix = number.size() - digits;
    return digits >= 1 && digits <= 4 &&
           (suffix == 0 || (suffix == 1 && number.back() >= u'A' && number.back() <= u'Z'));
}

PnrSegment segmentOf(const QRegularExpressionMatch &match, const QDate &today)
{
    PnrSegment segment;
    segment.carrier = trimmed(match.captured(u"carrier"));
    segment.flight = match.captured(u"carrier") + trimmed(match.captured(u"flight"));
    // A letter right after a four-digit number, where the class would
    // otherwise follow a blank, is the flight's own suffix: "HU7123AT" is
    // flight HU7123A in class T.
    if (const QString suffix = match.captured(u"suffix");
        suffix.size() == 1 && suffix.at(0) >= u'A' && suffix.at(0) <= u'Z')
        segment.flight += suffix;
    segment.bookingClass = match.captured(u"class");
    const QString year = match.captured(u"year");
    segment.date = isTwoDigits(year)
                       ? pnrDateInYear(match.captured(u"date"), year.toInt())
                       : pnrDateToIso(match.captured(u"date"), today, match.captured(u"weekday"));
    const QString departs = match.captured(u"departs");
    segment.departs = departs.left(2) + u':' + departs.mid(2);
    segment.from = trimmed(match.captured(u"from"));
    segment.to = trimmed(match.captured(u"to"));
    segment.status = trimmed(match.captured(u"status")).left(2);
    if (match.hasCaptured(u"terminals")) {
        const QString terminals = match.captured(u"terminals");
        segment.hasTerminals = true;
        segment.departureTerminal = terminal(terminals.left(2));
        segment.arrivalTerminal = terminal(terminals.mid(2));
    }
    return segment;
}

// The text with every run of blanks made one blank.
QString collapsedBlanks(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool blank = false;
    for (const QChar c : text) {
        if (isBlankOrControl(c)) {
            blank = true;
            continue;
        }
        if (blank && !result.isEmpty())
            result.append(u' ');
        blank = false;
        result.append(c);
    }
    return result;
}

// Whether the words may make a segment at all: "ARNK", or a carrier's two
// characters followed by a digit or a blank ("MU5132", "CA OPEN"); most
// items ("SSR ...", "OSI ...", "FN/...") are told apart here, before any
// pattern runs.
bool mayBeSegment(QStringView text)
{
    if (text.startsWith(u'*'))
        text = text.mid(1);
    if (text.startsWith(u"ARNK"))
        return true;
    const auto isCode = [](QChar c) { return (c >= u'A' && c <= u'Z') || isAsciiDigit(c); };
    return text.size() >= 3 && isCode(text.at(0)) && isCode(text.at(1)) &&
           (isAsciiDigit(text.at(2)) || isBlankOrControl(text.at(2)));
}

} // namespace

SegmentLine readSegmentLine(const PnrItem &item, const QDate &today)
{
    const SegmentPatterns &p = patterns();
    SegmentLine line;
    const QString body = item.body();
    if (item.number < 0 || !mayBeSegment(body))
        return line;

    // The fixed columns count from the number's last digit.
    const QRegularExpressionMatch columns = p.columns.matchAt(item.row, item.bodyStart - 2);
    if (columns.hasMatch() &&
        isFlightNumber(columns.captured(u"carrier"), trimmed(columns.captured(u"flight")))) {
        line.kind = SegmentKind::Flight;
        line.segment = segmentOf(columns, today);
        return line;
    }

    const QString words = collapsedBlanks(body);
    QRegularExpressionMatch flight = p.words.matchAt(words, 0);
    // A segment that begins at the end of a full row goes on in the next
    // one: "25.  CA1831 V   FR28MAR" then "PEKSHA RR24  0730 0940".
    if (!flight.hasMatch() && !item.continuation.isEmpty())
        flight = p.words.matchAt(collapsedBlanks(joinedText(body, item.continuation)), 0);
    if (flight.hasMatch()) {
        line.kind = SegmentKind::Flight;
        line.segment = segmentOf(flight, today);
    } else if (p.surface.matchAt(words, 0).hasMatch()) {
        line.kind = SegmentKind::Surface;
    } else if (p.openDate.matchAt(words, 0).hasMatch()) {
        line.kind = SegmentKind::OpenDate;
    }
    return line;
}
