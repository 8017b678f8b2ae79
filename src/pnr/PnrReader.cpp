#include "pnr/PnrReader.h"

#include "common/TextRules.h"
#include "pnr/BoundedPattern.h"
#include "pnr/PnrAmounts.h"
#include "pnr/PnrItems.h"
#include "pnr/PnrSegmentLine.h"

#include <QHash>
#include <QStringView>
#include <algorithm>

namespace {

// Where a plainer pattern would rescan a long line from every start
// position, an equivalent one is used that reads each character a bounded
// number of times (see BoundedPattern).
struct ItemPatterns
{
    // Passenger numbers of any length: "1.张三 2.李四" and "10.ZHANG" alike.
    BoundedPattern nameNumber{QStringLiteral(R"((?<!\d)\d++\.)")};

    // A document line ends in "NI110101199001011234/P1" (or PP, ID). The
    // number is the rest of the word after the first type code in it that
    // has anything after it; the word is found first, then the code in it.
    BoundedPattern documentWord{QStringLiteral(R"((?<!\w)(\w++)/P(\d++))")};
    BoundedPattern documentType{QStringLiteral(R"((?:NI|PP|ID)(\w++))")};

    // After "SSR TKNE": 13 digits, two characters (the coupon number) and the
    // passenger, "7812345678901/1/P1". An infant's ticket follows "INF",
    // "INF7812345678902/1/P1", and is not its adult's.
    BoundedPattern ticket{QStringLiteral(R"((?<!INF)(\d{13}).{2}/P(\d++))")};
    BoundedPattern infantTicket{QStringLiteral(R"(INF(\d{13}).{2}/P(\d++))")};

    // "TN/781-2345678901/P1", also with the last booklet of a conjunction
    // ticket ("781-2345678901-02"); an infant's is "TN/IN/...".
    BoundedPattern listedTicket{
        QStringLiteral(R"(^TN/(IN/)?+(\d{3})-?+(\d{10})(?!\d)(?:-\d++)?+/P(\d++))")};

    // An e-ticket in other service information, after the airline's "ET":
    // "OSI 1E CAET TN/9991234567890", with the passenger's name after the
    // count of names ("TN/880-1234567890 1ZHANGSAN") or its number ("/P2"),
    // or a group's range, one number per name ("TN/9991234567801-
    // 9991234567824"). A two-digit end is a conjunction ticket's last
    // booklet ("TN/880-1234567890-91"), not a range.
    BoundedPattern otherInformationTicket{QStringLiteral(
        R"(^OSI\s++\S++\s++[A-Z0-9]{2}ET\s++TN/(?<first>\d{3}-?+\d{10})(?!\d))"
        R"((?:-(?<last>\d{3}-?+\d{10})(?!\d)|-\d{1,2}+(?!\d))?+)"
        R"((?:/P(?<passenger>\d++)| ?+(?<count>\d++) ?+(?<name>\S.*+))?+)")};

    // Items that are clearly no name: the elements of a record, an office
    // line ("BJS/T BJS/T 010-..."), the ticketing mark "T", and a booking
    // reply (a flight with its class, or the end of a transaction).
    BoundedPattern element{QStringLiteral(
        R"(^(?:(?:SSR|OSI|RMK)\b|(?:TL|FN|FC|FP|EI|TN|XN|T)/|T\s*$|[A-Z]{3}/T\s++[A-Z]{3}/T\b)"
        R"(|\*?[A-Z0-9]{2}\d{3,4}[A-Z]?\s++[A-Z]\s))")};
    BoundedPattern endOfTransaction{QStringLiteral(R"(-EOT\b|\bEOT SUCCESSFUL)")};

    // The record locator closes the name line: "2.李四 HX7QJ2", an older
    // record's "2.ZHU/JUN WBL03", also with the carrier after it, "王五
    // MZ4K7R/HU". Only the last blank of the name can stand before it, so no
    // leading ".*" is needed to find it.
    BoundedPattern locator{QStringLiteral(R"(\s([A-Za-z0-9]{5,6})(?:/[A-Z0-9]{2})?$)")};
};

const ItemPatterns &patterns()
{
    static const ItemPatterns compiled;
    return compiled;
}

bool isLocator(QStringView text)
{
    return (text.size() == 5 || text.size() == 6) &&
           std::all_of(text.begin(), text.end(), isAsciiLetterOrDigit);
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
QString lineLocator(const QString &line)
{
    const QString text = trimmed(line);
    const qsizetype slash = text.indexOf(u'/');
    if (slash < 0)
        return isLocator(text) ? text : QString();
    const QStringView code = QStringView(text).left(slash);
    return isLocator(code) && isCarrier(QStringView(text).mid(slash + 1)) ? code.toString()
                                                                          : QString();
}

// The character at i (both halves of a pair) is a Chinese one.
bool isChineseAt(const QString &text, qsizetype i)
{
    char32_t c = text.at(i).unicode();
    if (text.at(i).isHighSurrogate() && i + 1 < text.size())
        c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
    else if (text.at(i).isLowSurrogate() && i > 0)
        c = QChar::surrogateToUcs4(text.at(i - 1), text.at(i));
    return isChineseCharacter(c);
}

// The text with its runs of blanks made one blank, but for those between two
// Chinese characters, where a copy broke a line: "改期退票 收费" is one word.
QString joinedWords(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBlankOrControl(text.at(i))) {
            result.append(text.at(i));
            continue;
        }
        qsizetype next = i;
        while (next < text.size() && isBlankOrControl(text.at(next)))
            ++next;
        const bool betweenChinese = !result.isEmpty() && next < text.size() &&
                                    isChineseAt(result, result.size() - 1) &&
                                    isChineseAt(text, next);
        if (!result.isEmpty() && next < text.size() && !betweenChinese)
            result.append(u' ');
        i = next - 1;
    }
    return result;
}

// The endorsement of an EI item's text ("BUDEQIANZHUAN不得签转/改期收费50元
// /仅限MU航班使用"): of each piece that holds Chinese, the piece from its
// first Chinese character on, the pinyin spelling it out dropped, digits and
// codes inside it kept ("不得签转/改期收费50元/仅限MU航班使用"); without any
// Chinese, the text as written ("NON-END/NON-RERTE").
QString endorsement(const QString &text)
{
    QString remarks = trimmed(text);
    if (remarks.startsWith(QLatin1String("Q/")))
        remarks = trimmed(remarks.mid(2));
    QStringList pieces;
    for (const QString &piece : remarks.split(u'/')) {
        for (qsizetype i = 0; i < piece.size(); ++i) {
            if (isChineseAt(piece, i)) {
                pieces.append(joinedWords(piece.mid(i)));
                break;
            }
        }
    }
    return pieces.isEmpty() ? remarks : pieces.join(u'/');
}

// An element's text without blanks after its "/": a copy that turned line
// breaks into blanks splits "/P1" into "/ P1" where the terminal broke the
// line after the "/".
QString slashesClosed(const QString &text)
{
    if (!text.contains(u"/ "))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!(isBlankOrControl(c) && !result.isEmpty() && result.back() == u'/'))
            result.append(c);
    }
    return result;
}

// An element an agent may copy without its item number: a fare line, an
// endorsement, a service request, a ticket.
bool isElement(const QString &text)
{
    for (const char *keyword : {"FN/", "EI/", "SSR ", "OSI ", "TN/"}) {
        if (text.startsWith(QLatin1String(keyword)))
            return true;
    }
    return false;
}

// What the items say about one passenger, by the passenger's number.
struct PassengerLines
{
    QString document;           // NI, PP or ID: the last one
    QString travelDocument;     // SSR DOCS: the first one of an adult
    QString ticket;             // SSR TKNE: the first one
    QString listedTicket;       // TN: the first one
    QString infantDocument;     // SSR DOCS of the infant carried: the first one
    QString infantTicket;       // SSR TKNE ... INF: the first one
    QString infantListedTicket; // TN/IN: the first one
    bool child = false;         // SSR CHLD
};

// An e-ticket of an OSI item: one number, or a range of them.
struct OtherInformationTicket
{
    qint64 first = 0;
    qint64 count = 1;  // the numbers of a group's range
    int passenger = 0; // its "/Pn"; 0 for none
    QString name;      // the passenger's name as the item writes it
};

struct Infant
{
    int adult = 0; // the passenger who carries it
    QString name;
};

class RecordReader
{
public:
    explicit RecordReader(const QDate &today) : m_today(today) {}

    void readItems(const QString &display);
    PnrRecord finish();

    PnrRecord m_record;

private:
    void readItem(const PnrItem &item);
    // A kind of element and what is read from it; see elementTypes().
    struct ElementType
    {
        const char *begins;
        void (RecordReader::*read)(const QString &text);
    };
    static const QList<ElementType> &elementTypes();

    void readElement(const QString &text);
    void readFare(const QString &text);
    void readEndorsement(const QString &text);
    void readOtherInformation(const QString &text);
    bool readGroupHeader(const PnrItem &item);
    void readDocument(const QString &text);
    void readTravelDocument(const QString &text);
    void readTicket(const QString &text);
    void readListedTicket(const QString &text);
    void readInfant(const QString &text);
    void readChild(const QString &text);
    bool isNoName(const QString &body) const;
    void readNames(const PnrItem &item);
    void readLocator();
    QList<PassengerChooser::Entry> passengers() const;
    QStringList otherInformationTickets() const;
    PassengerLines &passenger(QStringView number);

    const QDate m_today;
    QHash<int, PassengerLines> m_lines;
    QStringList m_names;
    QList<Infant> m_infants;
    QList<OtherInformationTicket> m_otherTickets;
    bool m_namesEnded = false;
    QString m_headerLocator;    // from the group's item 0
    QString m_nameContinuation; // the lines after the last name item
    bool m_hasEndorsement = false;
};

void RecordReader::readItems(const QString &display)
{
    for (const PnrItem &item : pnrItems(display)) {
        if (item.number >= 0)
            readItem(item);
        else if (isElement(item.row))
            // A line before the first item: an element copied alone.
            readElement(slashesClosed(item.text()));
    }
}

// The kinds of element of a booking display, by the words that begin them,
// and what the reader takes from each; the first kind that fits is the
// element's. A kind without a reading is known and deliberately left alone:
// nothing on the receipt comes from it. The other items are known by their
// place and form rather than by their first words: the group's header
// (item 0, readGroupHeader), the names before the first segment (readNames,
// which also takes the record locator), the segments with ARNK and OPEN
// (readSegmentLine), the office line "BJS/T BJS/T 010-...", and the office
// code that ends the record ("BJS930"), which gives nothing.
const QList<RecordReader::ElementType> &RecordReader::elementTypes()
{
    static const QList<ElementType> types = {
        // The passenger's ID document, "SSR FOID CA HK1 NI110101.../P1".
        {"SSR FOID ", &RecordReader::readDocument},
        // A passport (type, country, number, nationality, birth date, sex,
        // expiry, names), an infant's when the sex is MI or FI.
        {"SSR DOCS ", &RecordReader::readTravelDocument},
        // The e-ticket and its coupon, "...9992360700101/1/P1"; an infant's
        // after "INF".
        {"SSR TKNE ", &RecordReader::readTicket},
        // The passenger is a child.
        {"SSR CHLD ", &RecordReader::readChild},
        // The infant's seat request; the infant itself comes from its XN item.
        {"SSR INFT ", nullptr},
        // The airline's time limit for ticketing.
        {"SSR ADTK ", nullptr},
        // Frequent flyer, meals, seats, wheelchairs, check-in, contacts and
        // other service requests; one of them may still carry a document
        // written as FOID writes it (NI, PP or ID and "/Pn").
        {"SSR ", &RecordReader::readDocument},
        // The e-ticket given as TN/ in other service information: one, a
        // passenger's by name or number, or a group's range; other OSI items
        // (contacts, "GROUP NAMES TO FOLLOW") hold no value of the receipt.
        {"OSI ", &RecordReader::readOtherInformation},
        // Remarks, including the airline's record locator "RMK CA/MZ5Q2K".
        {"RMK ", nullptr},
        // The ticket numbers, "TN/999-2361234567/P1", an infant's "TN/IN/".
        {"TN/", &RecordReader::readListedTicket},
        // An infant carried by a passenger, "XN/IN/刘小宝INF(MAR25)/P1".
        {"XN/IN/", &RecordReader::readInfant},
        // The fare, taxes and total, "FN/A/FCNY.../SCNY.../ACNY...".
        {"FN/", &RecordReader::readFare},
        // The fare calculation: its amounts are the fare line's, in NUC.
        {"FC/", nullptr},
        // The form of payment.
        {"FP/", nullptr},
        // The endorsements, the first EI item.
        {"EI/", &RecordReader::readEndorsement},
        // The ticketing time limit, "TL/1200/20DEC/BJS188".
        {"TL/", nullptr},
        // Ticketed, "T/" or "T".
        {"T/", nullptr},
    };
    return types;
}

void RecordReader::readElement(const QString &text)
{
    for (const ElementType &type : elementTypes()) {
        if (text.startsWith(QLatin1String(type.begins))) {
            if (type.read)
                (this->*type.read)(text);
            return;
        }
    }
    // Any other item may still name a passenger's document or ticket, as
    // when a copy lost the item's first words.
    readDocument(text);
    readTicket(text);
}

void RecordReader::readFare(const QString &text)
{
    m_record.fareLines.append(readFareLine(text));
}

void RecordReader::readEndorsement(const QString &text)
{
    if (m_hasEndorsement)
        return;
    m_hasEndorsement = true;
    m_record.endorsement = endorsement(text.mid(3));
}

void RecordReader::readItem(const PnrItem &item)
{
    m_record.hasItems = true;
    readElement(slashesClosed(item.text()));

    const SegmentLine segment = readSegmentLine(item, m_today);
    if (segment.kind == SegmentKind::Flight)
        m_record.segments.append(segment.segment);
    if (segment.kind != SegmentKind::None)
        m_namesEnded = true;

    // The names come first; contacts, remarks and service requests follow.
    // An item 0 heading a group is no name and leaves the names to come.
    if (!m_namesEnded && !readGroupHeader(item)) {
        if (isNoName(item.body()))
            m_namesEnded = true;
        else
            readNames(item);
    }
}

// An item 0 heads a group: the number of seats, the group's name, "NM" and
// the number of names entered (none yet: "NM0"), and the record locator,
// "0.15BJTUAN NM15 KQ7X2M", "0.15PAX NM15 TFK2S".
bool RecordReader::readGroupHeader(const PnrItem &item)
{
    if (item.number != 0 || !m_names.isEmpty() || !m_headerLocator.isEmpty())
        return false;
    const QString body = item.body();
    const QList<QStringView> words = QStringView(body).split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 3 || !isAsciiDigit(words.first().at(0)))
        return false;
    bool named = false;
    for (qsizetype i = 1; i + 1 < words.size(); ++i) {
        const QStringView word = words.at(i);
        if (word.size() > 2 && word.startsWith(u"NM") && allAsciiDigits(word.mid(2)))
            named = true;
    }
    if (!named || !isLocator(words.last()))
        return false;
    m_headerLocator = words.last().toString();
    return true;
}

bool RecordReader::isNoName(const QString &body) const
{
    const ItemPatterns &p = patterns();
    return p.element.match(body).hasMatch() || p.endOfTransaction.match(body).hasMatch();
}

void RecordReader::readDocument(const QString &text)
{
    const ItemPatterns &p = patterns();
    qsizetype position = 0;
    for (;;) {
        const QRegularExpressionMatch word = p.documentWord.match(text, position);
        if (!word.hasMatch())
            return;
        const QRegularExpressionMatch document = p.documentType.match(word.captured(1));
        if (document.hasMatch()) {
            passenger(word.capturedView(2)).document = trimmed(document.captured(1));
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
void RecordReader::readTravelDocument(const QString &text)
{
    const qsizetype passengerMark = text.lastIndexOf(QLatin1String("/P"));
    if (passengerMark < 0)
        return;
    const QString number = trimmed(text.mid(passengerMark + 2));
    const QList<QStringView> fields = QStringView(text).left(passengerMark).split(u'/');
    if (fields.size() < 3)
        return;
    const QString document = trimmed(fields.at(2).toString());
    if (document.isEmpty())
        return;
    const bool infant = fields.size() > 5 && (fields.at(5) == u"MI" || fields.at(5) == u"FI");
    QString &kept = infant ? passenger(number).infantDocument : passenger(number).travelDocument;
    if (kept.isEmpty())
        kept = document;
}

void RecordReader::readTicket(const QString &text)
{
    // The ticket number is the first one at least one character after the
    // first "SSR TKNE"; a later "SSR TKNE" could only find one of the same.
    const QString request = QStringLiteral("SSR TKNE");
    const qsizetype start = text.indexOf(request);
    if (start < 0)
        return;
    const qsizetype from = start + request.size() + 1;
    // The first ticket found is the passenger's: a later item may name the
    // second booklet of a conjunction ticket, the next number.
    if (const auto ticket = patterns().ticket.match(text, from); ticket.hasMatch()) {
        QString &kept = passenger(ticket.capturedView(2)).ticket;
        if (kept.isEmpty())
            kept = ticket.captured(1);
    } else if (const auto infant = patterns().infantTicket.match(text, from); infant.hasMatch()) {
        QString &kept = passenger(infant.capturedView(2)).infantTicket;
        if (kept.isEmpty())
            kept = infant.captured(1);
    }
}

void RecordReader::readListedTicket(const QString &text)
{
    const QRegularExpressionMatch ticket = patterns().listedTicket.match(text);
    if (!ticket.hasMatch())
        return;
    PassengerLines &lines = passenger(ticket.capturedView(4));
    QString &kept = ticket.hasCaptured(1) ? lines.infantListedTicket : lines.listedTicket;
    if (kept.isEmpty())
        kept = ticket.captured(2) + ticket.captured(3);
}

void RecordReader::readOtherInformation(const QString &text)
{
    const QRegularExpressionMatch found = patterns().otherInformationTicket.match(text);
    if (!found.hasMatch())
        return;
    const auto number = [](QString written) { return written.remove(u'-').toLongLong(); };
    OtherInformationTicket ticket;
    ticket.first = number(found.captured(u"first"));
    if (found.hasCaptured(u"last")) {
        const qint64 last = number(found.captured(u"last"));
        // A range of a group holds no more numbers than a group has names.
        if (last < ticket.first || last - ticket.first >= PassengerChooser::maxEntries)
            return;
        ticket.count = last - ticket.first + 1;
    }
    if (found.hasCaptured(u"passenger"))
        ticket.passenger = found.capturedView(u"passenger").toInt();
    else if (found.hasCaptured(u"name"))
        ticket.name = trimmed(found.captured(u"name"));
    m_otherTickets.append(ticket);
}

// "XN/IN/刘小宝INF(MAR25)/P1": the infant's name as displayed, its birth
// month dropped, and the passenger who carries it.
void RecordReader::readInfant(const QString &text)
{
    QString name = text.mid(6);
    Infant infant;
    const qsizetype mark = name.lastIndexOf(QLatin1String("/P"));
    if (mark >= 0 && allAsciiDigits(QStringView(name).mid(mark + 2).trimmed())) {
        infant.adult = QStringView(name).mid(mark + 2).trimmed().toInt();
        name.truncate(mark);
    }
    name = trimmed(name);
    if (name.endsWith(u')')) {
        const qsizetype open = name.lastIndexOf(u'(');
        if (open > 0)
            name.truncate(open);
    }
    infant.name = joinedWords(trimmed(name));
    if (!infant.name.isEmpty())
        m_infants.append(infant);
}

// "SSR CHLD CZ HK1 09SEP14/P2": passenger 2 is a child.
void RecordReader::readChild(const QString &text)
{
    const qsizetype mark = text.lastIndexOf(QLatin1String("/P"));
    if (mark >= 0)
        passenger(QStringView(text).mid(mark + 2).trimmed()).child = true;
}

// What the items say about the passenger of a "/P" number. Numbers that name
// no passenger are kept aside and never read.
PassengerLines &RecordReader::passenger(QStringView number)
{
    bool ok = false;
    const int k = number.toInt(&ok);
    return m_lines[ok && k > 0 ? k : 0];
}

// The names of one name item, its first line; usually one name, but names
// whose numbers are out of sequence may share it.
void RecordReader::readNames(const PnrItem &item)
{
    const BoundedPattern &number = patterns().nameNumber;
    const QString names = item.body();
    const auto addName = [this](const QString &piece) {
        const QString name = joinedWords(trimmed(piece));
        if (!name.isEmpty())
            m_names.append(name);
    };
    qsizetype start = 0;
    for (;;) {
        const QRegularExpressionMatch next = number.match(names, start);
        if (!next.hasMatch())
            break;
        addName(names.mid(start, next.capturedStart() - start));
        start = next.capturedEnd();
    }
    addName(names.mid(start));
    m_nameContinuation = item.continuation;
}

// The record locator: the group's, or the one closing the last name, or one
// on a line of its own after the names. It is taken off the last name.
void RecordReader::readLocator()
{
    m_record.locator = m_headerLocator;
    if (m_names.isEmpty())
        return;
    // A locator wrapped onto a line of its own is the locator, and the last
    // name keeps its last word ("SMITH/ANNA GRACE" then "HX7QJ2").
    const QString wrapped = lineLocator(m_nameContinuation);
    if (!wrapped.isEmpty() &&
        (m_headerLocator.isEmpty() || wrapped.compare(m_headerLocator, Qt::CaseInsensitive) == 0)) {
        m_record.locator = m_headerLocator.isEmpty() ? wrapped : m_headerLocator;
        return;
    }
    QString &name = m_names.last();
    const QRegularExpressionMatch found = patterns().locator.match(name);
    const QString closing = found.hasMatch() ? found.captured(1) : QString();
    if (!closing.isEmpty() &&
        (m_headerLocator.isEmpty() || closing.compare(m_headerLocator, Qt::CaseInsensitive) == 0)) {
        m_record.locator = m_headerLocator.isEmpty() ? closing : m_headerLocator;
        name.truncate(found.capturedStart());
        name = trimmed(name.remove(closing, Qt::CaseInsensitive));
    }
}

// The chooser's entries: the names in order, each infant right after the
// adult who carries it (one whose adult is no name at the end), each with
// what the items say about them.
QList<PassengerChooser::Entry> RecordReader::passengers() const
{
    const bool hasAmounts = m_record.hasAmounts();
    const auto amounts = [&](PassengerType type, int k) -> std::optional<PnrAmounts> {
        if (!hasAmounts)
            return std::nullopt;
        return m_record.amountsOf(type, k);
    };
    const auto infantEntry = [&](const Infant &infant) {
        const PassengerLines lines = m_lines.value(infant.adult);
        PassengerChooser::Entry entry{infant.name, {}};
        entry.info.id = lines.infantDocument;
        entry.info.ticketNumber =
            lines.infantTicket.isEmpty() ? lines.infantListedTicket : lines.infantTicket;
        entry.info.amounts = amounts(PassengerType::Infant, infant.adult);
        return entry;
    };

    const QStringList otherTickets = otherInformationTickets();
    QList<PassengerChooser::Entry> entries;
    for (int k = 1; k <= m_names.size(); ++k) {
        const QString &name = m_names.at(k - 1);
        const PassengerLines lines = m_lines.value(k);
        PassengerChooser::Entry entry{name, {}};
        entry.info.id = lines.document.isEmpty() ? lines.travelDocument : lines.document;
        entry.info.ticketNumber = !lines.ticket.isEmpty()         ? lines.ticket
                                  : !lines.listedTicket.isEmpty() ? lines.listedTicket
                                                                  : otherTickets.at(k - 1);
        const bool child = lines.child || name.endsWith(QLatin1String("CHD"), Qt::CaseInsensitive);
        entry.info.amounts = amounts(child ? PassengerType::Child : PassengerType::Adult, k);
        entries.append(entry);
        for (const Infant &infant : m_infants) {
            if (infant.adult == k)
                entries.append(infantEntry(infant));
        }
    }
    for (const Infant &infant : m_infants) {
        if (infant.adult < 1 || infant.adult > m_names.size())
            entries.append(infantEntry(infant));
    }
    return entries;
}

// The name as an OSI item writes it: letters alone, "ZHANG/SAN" and
// "ZHANGSAN" alike.
QString comparableName(const QString &name)
{
    QString letters;
    for (const QChar c : name) {
        if (c.isLetter())
            letters.append(c.toUpper());
    }
    return letters;
}

// The e-tickets that OSI items give the names, in the names' order: the one
// that names a passenger by number or by name (a title after the name item's
// name, MR or MS, need not be written); else their place in a group's range;
// else, when there are as many single numbers that name nobody as there are
// names, the k-th of them (one passenger's one number, most often).
QStringList RecordReader::otherInformationTickets() const
{
    const qsizetype names = m_names.size();
    QStringList tickets(names);
    if (m_otherTickets.isEmpty())
        return tickets;
    const auto written = [](qint64 number) {
        return QStringLiteral("%1").arg(number, 13, 10, QLatin1Char('0'));
    };
    // Each name as an OSI item may write it, with or without its title.
    QHash<QString, qsizetype> byName;
    for (qsizetype k = 0; k < names; ++k) {
        const QString name = comparableName(m_names.at(k));
        byName.insert(name, byName.value(name, k));
        for (const char *title : {"MR", "MS", "MRS", "MISS", "MSTR", "CHD"}) {
            if (name.size() > qsizetype(qstrlen(title)) && name.endsWith(QLatin1String(title))) {
                const QString bare = name.chopped(qstrlen(title));
                byName.insert(bare, byName.value(bare, k));
            }
        }
    }

    const OtherInformationTicket *range = nullptr;
    QList<qint64> unnamed;
    for (const OtherInformationTicket &ticket : m_otherTickets) {
        qsizetype k = -1;
        if (ticket.passenger >= 1 && ticket.passenger <= names)
            k = ticket.passenger - 1;
        else if (!ticket.name.isEmpty())
            k = byName.value(comparableName(ticket.name), -1);
        if (k >= 0) {
            if (tickets.at(k).isEmpty())
                tickets[k] = written(ticket.first);
        } else if (ticket.count > 1) {
            if (!range)
                range = &ticket;
        } else if (ticket.passenger == 0) {
            // A name written otherwise than in the name item (in pinyin for
            // a Chinese name) names nobody.
            unnamed.append(ticket.first);
        }
    }
    for (qsizetype k = 0; k < names; ++k) {
        if (!tickets.at(k).isEmpty())
            continue;
        if (range)
            tickets[k] = k < range->count ? written(range->first + k) : QString();
        else if (unnamed.size() == names)
            tickets[k] = written(unnamed.at(k));
    }
    return tickets;
}

PnrRecord RecordReader::finish()
{
    try {
        readLocator();
    } catch (const PatternGaveUp &) {
        // The last name stays as it is.
    }
    m_record.passengers = passengers();
    return std::move(m_record);
}

} // namespace

PnrRecord readPnrRecord(const QString &text, const QDate &today)
{
    const QString display = BoundedPattern::wellFormed(text);
    RecordReader reader(today);
    // No terminal writes a text on which a search gives up; the reading of
    // that part ends with what it has found so far.
    try {
        reader.m_record.priceQuotes = readPriceQuotes(display);
        reader.m_record.priceQuotes.append(readFareQuotes(display));
    } catch (const PatternGaveUp &) {
    }
    try {
        reader.readItems(display);
    } catch (const PatternGaveUp &) {
    }
    return reader.finish();
}
