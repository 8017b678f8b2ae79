#include "pnr/PnrReader.h"

#include "common/TextRules.h"
#include "pnr/BoundedPattern.h"
#include "pnr/PnrAmounts.h"
#include "pnr/PnrDate.h"
#include "pnr/PnrDisplayLines.h"

#include <QHash>
#include <QStringView>
#include <algorithm>

namespace {

// The patterns read the terminal's fixed layout. Where a plainer pattern
// would rescan a long line from every start position, an equivalent one is
// used that reads each character a bounded number of times (see
// TBoundedPattern).
struct TItemPatterns
{
    // Passenger numbers of any length: "1.张三 2.李四" and "10.ZHANG" alike.
    TBoundedPattern nameNumber{QStringLiteral(R"((?<!\d)\d++\.)")};

    // A document line ends in "NI110101199001011234/P1" (or PP, ID). The
    // number is the rest of the word after the first type code in it that
    // has anything after it; the word is found first, then the code in it.
    TBoundedPattern documentWord{QStringLiteral(R"((?<!\w)(\w++)/P(\d++))")};
    TBoundedPattern documentType{QStringLiteral(R"((?:NI|PP|ID)(\w++))")};

    // After "SSR TKNE": 13 digits, two characters (the coupon number) and the
    // passenger, "7812345678901/1/P1". An infant's ticket, "INF7812345678901",
    // is not its adult's.
    TBoundedPattern ticket{QStringLiteral(R"((?<!INF)(\d{13}).{2}/P(\d++))")};

    // "TN/781-2345678901/P1", also with the last booklet of a conjunction
    // ticket ("781-2345678901-02"). An infant's, "TN/IN/...", is not its
    // adult's.
    TBoundedPattern listedTicket{
        QStringLiteral(R"(^TN/(?!IN/)(\d{3})-?+(\d{10})(?!\d)(?:-\d++)?+/P(\d++))")};

    // A segment line, in columns counted from the last digit of its item
    // number: carrier 4-5, flight 6-9, class 11, day of the week 15-16, date
    // 17-21, the year (when printed) 22-23, departure and arrival codes 24-26
    // and 27-29, action code and count 30-36, departure and arrival times
    // 37-40 and 42-45, departure and arrival terminals 58-61. A line without
    // terminals may end anywhere after the arrival time: the copy out of the
    // terminal often cuts the blanks at the end of a line.
    TBoundedPattern segment{QStringLiteral(
        R"(\d..{2}(?<carrier>[A-Z0-9]{2})(?<flight>.{4}).(?<class>[A-Z]{1}).{3})"
        R"((?<weekday>[A-Z]{2})(?<date>[0-9]{2}[A-Z]{3})(?<year>.{2})(?<from>[A-Z]{3}))"
        R"((?<to>[A-Z]{3})(?<status>.{7}))"
        R"((?<departs>\d{4}).(?<arrives>\d{4})(?:.{12}(?<terminals>.{4})?)?)")};

    // Items that are clearly no name: the elements of a record, an office
    // line ("BJS/T BJS/T 010-..."), the ticketing mark "T", and a booking
    // reply (a flight with its class, or the end of a transaction).
    TBoundedPattern element{QStringLiteral(
        R"(^(?:(?:SSR|OSI|RMK)\b|(?:TL|FN|FC|FP|EI|TN|XN|T)/|T\s*$|[A-Z]{3}/T\s++[A-Z]{3}/T\b)"
        R"(|\*?[A-Z0-9]{2}\d{3,4}[A-Z]?\s++[A-Z]\s))")};
    TBoundedPattern endOfTransaction{QStringLiteral(R"(-EOT\b|\bEOT SUCCESSFUL)")};

    // The record locator closes the name line: "2.李四 HX7QJ2", also with the
    // carrier after it, "王五 MZ4K7R/HU". Only the last blank of the name can
    // stand before it, so no leading ".*" is needed to find it.
    TBoundedPattern locator{QStringLiteral(R"(\s([A-Za-z0-9]{6})(?:/[A-Z0-9]{2})?$)")};
};

const TItemPatterns &patterns()
{
    static const TItemPatterns compiled;
    return compiled;
}

// A terminal half of the segment line: "T2", or "--" and blanks for none.
QString terminal(const QString &text)
{
    const QString name = trimmed(text);
    return name == QLatin1String("--") ? QString() : name;
}

bool isAsciiLetterOrDigit(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

bool isLocator(QStringView text)
{
    return text.size() == 6 && std::all_of(text.begin(), text.end(), isAsciiLetterOrDigit);
}

// An airline's code, "HU" or "3U".
bool isCarrier(QStringView text)
{
    return text.size() == 2 && std::all_of(text.begin(), text.end(), [](QChar c) {
               return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
           });
}

// A locator alone on its line, possibly with its carrier: "NQ3W8P",
// "NQ3W8P/HU".
bool isLocatorLine(const QString &line)
{
    const QString text = trimmed(line);
    if (text.size() == 9 && text.at(6) == u'/')
        return isLocator(QStringView(text).left(6)) && isCarrier(QStringView(text).mid(7));
    return isLocator(text);
}

// Chinese text: the unified ideographs with their extensions and the
// compatibility ideographs.
bool isChinese(char32_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// The endorsement of an EI item's text ("BUDEQIANZHUAN不得签转/GAIQI...
// 改期退票收费"): its Chinese pieces joined by "/" ("不得签转/改期退票收费"),
// the pinyin spelling them out dropped; without any Chinese, the text as
// written ("NON-END/NON-RERTE").
QString endorsement(const QString &text)
{
    QString remarks = trimmed(text);
    if (remarks.startsWith(QLatin1String("Q/")))
        remarks = trimmed(remarks.mid(2));
    QStringList pieces;
    QString piece;
    for (qsizetype i = 0; i < remarks.size(); ++i) {
        char32_t c = remarks.at(i).unicode();
        const bool pair = remarks.at(i).isHighSurrogate() && i + 1 < remarks.size();
        if (pair)
            c = QChar::surrogateToUcs4(remarks.at(i), remarks.at(i + 1));
        if (isChinese(c)) {
            piece.append(remarks.at(i));
            if (pair)
                piece.append(remarks.at(++i));
            continue;
        }
        if (!piece.isEmpty())
            pieces.append(std::exchange(piece, QString()));
    }
    if (!piece.isEmpty())
        pieces.append(piece);
    return pieces.isEmpty() ? remarks : pieces.join(u'/');
}

// What the items say about one passenger, by the passenger's number.
struct TPassengerLines
{
    QString document;       // NI, PP or ID: the last one
    QString travelDocument; // SSR DOCS: the first one of an adult
    QString ticket;         // SSR TKNE: the first one
    QString listedTicket;   // TN: the first one
};

class TRecordReader
{
public:
    explicit TRecordReader(const QDate &today) : FToday(today) {}

    void readLines(const QString &display);
    TPnrRecord finish();

    TPnrRecord FRecord;

private:
    void readItem(const TPnrLine &line);
    void readLine(const TPnrLine &line);
    bool readGroupHeader(QStringView number, const QString &body);
    void readDocument(const QString &item);
    void readTravelDocument(const QString &body);
    void readTicket(const QString &item);
    void readListedTicket(const QString &body);
    void readSegment(const QRegularExpressionMatch &segment);
    bool isNoName(const QString &body) const;
    void readNames(const QString &item);
    void readLocator();
    TPassengerLines &passenger(const QString &number);

    const QDate FToday;
    QHash<int, TPassengerLines> FLines;
    bool FNamesEnded = false;
    bool FAfterName = false;       // the last line that is not blank gave names
    QString FHeaderLocator;        // from the group's item 0
    QString FLocatorLine;          // a locator on a line of its own after the names
    bool FEndorsementOpen = false; // lines without item go on the EI item
    QString FEndorsement;
    bool FHasEndorsement = false;
};

void TRecordReader::readLines(const QString &display)
{
    for (const TPnrLine &line : pnrLines(display)) {
        if (line.hasItem())
            readItem(line);
        else
            readLine(line);
    }
}

// A line without an item: the locator after a wrapped name list, or more of
// a long EI item.
void TRecordReader::readLine(const TPnrLine &line)
{
    if (trimmed(line.text).isEmpty())
        return;
    if (FEndorsementOpen && isBlankOrControl(line.text.at(0))) {
        FEndorsement += u' ' + trimmed(line.text);
        return;
    }
    FEndorsementOpen = false;
    if (FAfterName && !FNamesEnded && isLocatorLine(line.text))
        FLocatorLine = trimmed(line.text).left(6);
    FAfterName = false;
}

void TRecordReader::readItem(const TPnrLine &line)
{
    const TItemPatterns &p = patterns();
    FRecord.hasItems = true;
    FEndorsementOpen = false;
    const QString item = line.itemText();
    const qsizetype stop = item.indexOf(u'.');
    const QStringView number = QStringView(item).left(stop);
    const QString body = trimmed(item.mid(stop + 1));

    // A passport's own item names the passenger too: its words are no
    // document type.
    if (body.startsWith(QLatin1String("SSR DOCS ")))
        readTravelDocument(body);
    else
        readDocument(trimmed(item));
    readTicket(item);
    if (body.startsWith(QLatin1String("TN/")))
        readListedTicket(body);
    if (body.startsWith(QLatin1String("EI/")) && !FHasEndorsement) {
        FHasEndorsement = true;
        FEndorsementOpen = true;
        FEndorsement = body.mid(3);
    }

    const QRegularExpressionMatch segment = p.segment.match(item);
    if (segment.hasMatch()) {
        readSegment(segment);
        FNamesEnded = true;
    }

    // The names come first; contacts, remarks and service requests follow.
    // An item 0 heading a group is no name and leaves the names to come.
    bool names = false;
    if (!FNamesEnded && !readGroupHeader(number, body)) {
        if (isNoName(body)) {
            FNamesEnded = true;
        } else {
            readNames(trimmed(item));
            FLocatorLine.clear();
            names = true;
        }
    }
    FAfterName = names;
}

// An item 0 heads a group: the number of seats, the group's name, "NM" and
// the number of names entered, and the record locator,
// "0.15BJTUAN NM15 KQ7X2M".
bool TRecordReader::readGroupHeader(QStringView number, const QString &body)
{
    if (number != u"0" || !FRecord.passengers.isEmpty() || !FHeaderLocator.isEmpty())
        return false;
    const QList<QStringView> words = QStringView(body).split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 3 || words.first().isEmpty() || !words.first().at(0).isDigit())
        return false;
    bool named = false;
    for (qsizetype i = 1; i + 1 < words.size(); ++i) {
        const QStringView word = words.at(i);
        if (word.size() > 2 && word.startsWith(u"NM") && word.mid(2).toUInt() > 0)
            named = true;
    }
    if (!named || !isLocator(words.last()))
        return false;
    FHeaderLocator = words.last().toString();
    return true;
}

bool TRecordReader::isNoName(const QString &body) const
{
    const TItemPatterns &p = patterns();
    return p.element.match(body).hasMatch() || p.endOfTransaction.match(body).hasMatch();
}

void TRecordReader::readDocument(const QString &item)
{
    const TItemPatterns &p = patterns();
    qsizetype position = 0;
    for (;;) {
        const QRegularExpressionMatch word = p.documentWord.match(item, position);
        if (!word.hasMatch())
            return;
        const QRegularExpressionMatch document = p.documentType.match(word.captured(1));
        if (document.hasMatch()) {
            passenger(word.captured(2)).document = trimmed(document.captured(1));
            return;
        }
        // The next word may begin right after the "/" (at the "P").
        position = word.capturedEnd(1) + 1;
    }
}

// "SSR DOCS CA HK1 P/CN/G12345678/CN/01JAN80/M/15JUN30/ZHANG/SAN/P1": the
// document's type, issuing country, number, nationality, birth date, sex
// (MI or FI for an infant, whose passport is not the adult's), expiry,
// names, and the passenger.
void TRecordReader::readTravelDocument(const QString &body)
{
    const qsizetype passengerMark = body.lastIndexOf(QLatin1String("/P"));
    if (passengerMark < 0)
        return;
    const QString number = body.mid(passengerMark + 2);
    const QList<QStringView> fields = QStringView(body).left(passengerMark).split(u'/');
    if (fields.size() < 3)
        return;
    const QString document = trimmed(fields.at(2).toString());
    const bool infant = fields.size() > 5 && (fields.at(5) == u"MI" || fields.at(5) == u"FI");
    if (document.isEmpty() || infant)
        return;
    TPassengerLines &lines = passenger(number);
    if (lines.travelDocument.isEmpty())
        lines.travelDocument = document;
}

void TRecordReader::readTicket(const QString &item)
{
    // The ticket number is the first one at least one character after the
    // first "SSR TKNE"; a later "SSR TKNE" could only find one of the same.
    const QString request = QStringLiteral("SSR TKNE");
    const qsizetype start = item.indexOf(request);
    if (start < 0)
        return;
    const QRegularExpressionMatch ticket =
        patterns().ticket.match(item, start + request.size() + 1);
    if (!ticket.hasMatch())
        return;
    // The first ticket found is the passenger's: a later item may name the
    // second booklet of a conjunction ticket, the next number.
    TPassengerLines &lines = passenger(ticket.captured(2));
    if (lines.ticket.isEmpty())
        lines.ticket = ticket.captured(1);
}

void TRecordReader::readListedTicket(const QString &body)
{
    const QRegularExpressionMatch ticket = patterns().listedTicket.match(body);
    if (!ticket.hasMatch())
        return;
    TPassengerLines &lines = passenger(ticket.captured(3));
    if (lines.listedTicket.isEmpty())
        lines.listedTicket = ticket.captured(1) + ticket.captured(2);
}

// What the items say about the passenger of a "/P" number. Numbers that name
// no passenger are kept aside and never read.
TPassengerLines &TRecordReader::passenger(const QString &number)
{
    bool ok = false;
    const int k = number.toInt(&ok);
    return FLines[ok && k > 0 ? k : 0];
}

void TRecordReader::readSegment(const QRegularExpressionMatch &match)
{
    TPnrSegment segment;
    segment.carrier = trimmed(match.captured(u"carrier"));
    segment.flight = match.captured(u"carrier") + trimmed(match.captured(u"flight"));
    segment.bookingClass = match.captured(u"class");
    const QString year = match.captured(u"year");
    const bool yearPrinted =
        year.at(0) >= u'0' && year.at(0) <= u'9' && year.at(1) >= u'0' && year.at(1) <= u'9';
    segment.date = yearPrinted
                       ? PnrDateInYear(match.captured(u"date"), year.toInt())
                       : PnrDateToIso(match.captured(u"date"), FToday, match.captured(u"weekday"));
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
    FRecord.segments.append(segment);
}

void TRecordReader::readNames(const QString &item)
{
    const TBoundedPattern &number = patterns().nameNumber;
    const auto addName = [this](const QString &piece) {
        const QString name = trimmed(piece);
        if (!name.isEmpty())
            FRecord.passengers.append({name, {}});
    };
    qsizetype start = 0;
    for (;;) {
        const QRegularExpressionMatch next = number.match(item, start);
        if (!next.hasMatch())
            break;
        addName(item.mid(start, next.capturedStart() - start));
        start = next.capturedEnd();
    }
    addName(item.mid(start));
}

// The record locator: the group's, or the one closing the last name, or one
// on a line of its own after the names. It is taken off the last name.
void TRecordReader::readLocator()
{
    FRecord.locator = FHeaderLocator;
    if (FRecord.passengers.isEmpty())
        return;
    QString &name = FRecord.passengers.last().FName;
    const QRegularExpressionMatch found = patterns().locator.match(name);
    const QString closing = found.hasMatch() ? found.captured(1) : QString();
    if (!closing.isEmpty() &&
        (FHeaderLocator.isEmpty() || closing.compare(FHeaderLocator, Qt::CaseInsensitive) == 0)) {
        FRecord.locator = FHeaderLocator.isEmpty() ? closing : FHeaderLocator;
        name.truncate(found.capturedStart());
        name = trimmed(name.remove(closing, Qt::CaseInsensitive));
    } else if (FRecord.locator.isEmpty()) {
        FRecord.locator = FLocatorLine;
    }
}

TPnrRecord TRecordReader::finish()
{
    try {
        readLocator();
    } catch (const TPatternGaveUp &) {
        // The last name stays as it is.
    }
    for (qsizetype k = 1; k <= FRecord.passengers.size(); ++k) {
        const auto lines = FLines.constFind(int(k));
        if (lines == FLines.cend())
            continue;
        TPassengerInfo &info = FRecord.passengers[k - 1].FInfo;
        info.FId = lines->document.isEmpty() ? lines->travelDocument : lines->document;
        info.FTicketNum = lines->ticket.isEmpty() ? lines->listedTicket : lines->ticket;
    }
    if (FHasEndorsement)
        FRecord.endorsement = endorsement(FEndorsement);
    return std::move(FRecord);
}

} // namespace

bool TPnrSegment::isFlown() const
{
    static const char *const notFlown[] = {"UN", "UC", "NO", "HX", "XX", "XL"};
    for (const char *code : notFlown) {
        if (status == QLatin1String(code))
            return false;
    }
    return true;
}

QList<TPnrSegment> TPnrRecord::flownSegments() const
{
    QList<TPnrSegment> flown;
    for (const TPnrSegment &segment : segments) {
        if (segment.isFlown())
            flown.append(segment);
    }
    return flown;
}

TPnrRecord ReadPnrRecord(const QString &text, const QDate &today)
{
    const QString display = TBoundedPattern::wellFormed(text);
    TRecordReader reader(today);
    // No terminal writes a text on which a search gives up; the reading of
    // that part ends with what it has found so far.
    try {
        reader.FRecord.priceDisplay = readPriceDisplay(display);
    } catch (const TPatternGaveUp &) {
    }
    try {
        reader.FRecord.fareLine = readFareLine(display);
    } catch (const TPatternGaveUp &) {
    }
    try {
        reader.readLines(display);
    } catch (const TPatternGaveUp &) {
    }
    return reader.finish();
}
