#include "pnr/PnrParser.h"

#include "pnr/BoundedPattern.h"
#include "itinerary/ItineraryFields.h"
#include "pnr/PassengerChooser.h"
#include "pnr/PnrDate.h"
#include "reference/ReferenceList.h"
#include "common/TextRules.h"

namespace {

// The patterns read the terminal's fixed layout. Where a plainer pattern
// would rescan a long line from every start position, an equivalent one is
// used that reads each character a bounded number of times (see
// TBoundedPattern); each such place says what it stands for.
struct TPnrPatterns
{
    // The price display: "FARE:CNY1860.00 TAX:CNY50.00 ... TOTAL:1910.00".
    TBoundedPattern fare{QStringLiteral(R"(FARE:CNY([0-9]++))")};
    TBoundedPattern tax{QStringLiteral(R"(TAX:CNY([0-9]++))")};
    TBoundedPattern total{QStringLiteral(R"(TOTAL:([0-9]++))")};

    // The fare line: "FN/A/FCNY1860.00/SCNY1860.00/.../TCNY50.00CN/.../ACNY1910.00".
    TBoundedPattern fareAmount{QStringLiteral(R"(SCNY([0-9]++\.00))")};
    TBoundedPattern taxAmount{QStringLiteral(R"(TCNY([0-9]++\.00))")};
    TBoundedPattern totalAmount{QStringLiteral(R"(ACNY([0-9]++\.00))")};

    // An item runs from the first number followed by a full stop in a line
    // to the end of the line. Searched from the end of the previous item,
    // the leftmost such number always begins a run of digits, so looking
    // only at the start of runs finds the same items.
    TBoundedPattern item{QStringLiteral(R"((?<!\d)\d++\..*)")};

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

    // A segment line, in columns counted from the last digit of its item
    // number: carrier 4-5, flight 6-9, class 11, day of the week 15-16, date
    // 17-21, departure and arrival codes 24-26 and 27-29, departure and
    // arrival times 37-40 and 42-45, departure and arrival terminals 58-61.
    // A line without terminals may end anywhere after the arrival time: the
    // copy out of the terminal often cuts the blanks at the end of a line.
    TBoundedPattern segment{QStringLiteral(
        R"(\d..{2}(?<carrier>[A-Z0-9]{2})(?<flight>.{4}).(?<class>[A-Z]{1}).{3})"
        R"((?<weekday>[A-Z]{2})(?<date>[0-9]{2}[A-Z]{3}).{2}(?<from>[A-Z]{3})(?<to>[A-Z]{3}).{7})"
        R"((?<departs>\d{4}).(?<arrives>\d{4})(?:.{12}(?<terminals>.{4})?)?)")};

    // The record locator closes the name line: "2.李四 HX7QJ2". Only the
    // last blank of the name can stand before the six characters that end
    // it, so no leading ".*" is needed to find it.
    TBoundedPattern locator{QStringLiteral(R"(\s([A-Za-z0-9]{6})$)")};
};

const TPnrPatterns &patterns()
{
    static const TPnrPatterns compiled;
    return compiled;
}

QString field(const char *stem, int row)
{
    return QString::fromLatin1(stem) + QString::number(row);
}

// A terminal half of the segment line: "T2", or "--" and blanks for none.
QString terminal(const QString &text)
{
    const QString name = trimmed(text);
    return name == QLatin1String("--") ? QString() : name;
}

class TPnrConversion
{
public:
    TPnrConversion(TItineraryFields &fields, const TReferenceList &airNames,
                   const TReferenceList &cityNames, const QDate &today)
        : FFields(fields), FAirNames(airNames), FCityNames(cityNames), FToday(today)
    {}

    void readAmounts(const QString &text);
    void readItems(const QString &text);
    void finish(TPassengerChooser &passengers);

private:
    struct Link
    {
        const TBoundedPattern &pattern;
        const char *name;
        QString suffix;
    };
    void readChain(const QString &text, std::initializer_list<Link> chain);

    void readItem(const QString &item);
    void readDocument(const QString &item);
    void readTicket(const QString &item);
    void fillSegment(int row, const QRegularExpressionMatch &segment);
    void readNames(const QString &item);
    void addName(const QString &piece);
    TPassengerInfo *passenger(const QString &number);
    QString cityName(const QString &code) const;
    void readLocator();

    TItineraryFields &FFields;
    const TReferenceList &FAirNames;
    const TReferenceList &FCityNames;
    const QDate FToday;
    int FSegments = 0;
    QList<TPassengerChooser::Entry> FEntries;
};

void TPnrConversion::readAmounts(const QString &text)
{
    const TPnrPatterns &p = patterns();
    // The price display gives whole amounts; the fare line, read second,
    // replaces them. Every write of the fare or the tax recomputes the
    // total, and the total of each chain, when there is one, has the last
    // word.
    const QString cents = QStringLiteral(".00");
    readChain(
        text,
        {{p.fare, "edtFare", cents}, {p.tax, "edtCAAC", cents}, {p.total, "edtTotal", cents}});
    readChain(text, {{p.fareAmount, "edtFare", {}},
                     {p.taxAmount, "edtCAAC", {}},
                     {p.totalAmount, "edtTotal", {}}});
}

// Each search starts where the last one of the chain that matched ended, so
// a tax standing before the fare is not taken for the fare's.
void TPnrConversion::readChain(const QString &text, std::initializer_list<Link> chain)
{
    qsizetype position = 0;
    for (const Link &link : chain) {
        const QRegularExpressionMatch found = link.pattern.match(text, position);
        if (!found.hasMatch())
            continue;
        FFields.setText(QString::fromLatin1(link.name), trimmed(found.captured(1)) + link.suffix);
        position = found.capturedEnd();
    }
}

void TPnrConversion::readItems(const QString &text)
{
    qsizetype position = 0;
    for (;;) {
        const QRegularExpressionMatch item = patterns().item.match(text, position);
        if (!item.hasMatch())
            return;
        position = item.capturedEnd();
        readItem(item.captured());
    }
}

void TPnrConversion::readItem(const QString &item)
{
    readDocument(trimmed(item));
    readTicket(item);
    const QRegularExpressionMatch segment = patterns().segment.match(item);
    if (segment.hasMatch())
        fillSegment(++FSegments, segment);
    // The row after the last segment is marked void; the next segment, if
    // any, writes over the marks. Beyond the fourth row there is nothing to
    // mark and the model ignores the names.
    FFields.setText(field("cboAir", FSegments + 1), QStringLiteral("VOID"));
    FFields.setText(field("edtFrom", FSegments + 2), QStringLiteral("VOID"));
    // The names come before the first segment; later lines are contacts,
    // remarks and service requests.
    if (FSegments == 0)
        readNames(trimmed(item));
}

void TPnrConversion::readDocument(const QString &item)
{
    const TPnrPatterns &p = patterns();
    qsizetype position = 0;
    for (;;) {
        const QRegularExpressionMatch word = p.documentWord.match(item, position);
        if (!word.hasMatch())
            return;
        const QRegularExpressionMatch document = p.documentType.match(word.captured(1));
        if (document.hasMatch()) {
            if (TPassengerInfo *info = passenger(word.captured(2)))
                info->FId = trimmed(document.captured(1));
            return;
        }
        // The next word may begin right after the "/" (at the "P").
        position = word.capturedEnd(1) + 1;
    }
}

void TPnrConversion::readTicket(const QString &item)
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
    if (TPassengerInfo *info = passenger(ticket.captured(2)))
        info->FTicketNum = trimmed(ticket.captured(1));
}

// The passenger of a "/P" number, or nullptr when the name line gave none
// of that number.
TPassengerInfo *TPnrConversion::passenger(const QString &number)
{
    bool ok = false;
    const int k = number.toInt(&ok);
    if (!ok || k < 1 || k > FEntries.size())
        return nullptr;
    return &FEntries[k - 1].FInfo;
}

void TPnrConversion::fillSegment(int row, const QRegularExpressionMatch &segment)
{
    const QString carrier = trimmed(segment.captured(u"carrier"));
    const QString airline = trimmed(FAirNames.lookup(carrier));
    FFields.setText(field("cboAir", row), airline.isEmpty() ? carrier : airline);
    FFields.setText(field("edtFlight", row),
                    segment.captured(u"carrier") + trimmed(segment.captured(u"flight")));
    // The class rule copies the class into the fare basis at once.
    FFields.setText(field("edtSeat", row), segment.captured(u"class"));
    FFields.setText(field("edtDate", row),
                    PnrDateToIso(segment.captured(u"date"), FToday, segment.captured(u"weekday")));
    const QString departs = segment.captured(u"departs");
    FFields.setText(field("edtTime", row), departs.left(2) + u':' + departs.mid(2));
    FFields.setText(field("edtBasts", row), segment.captured(u"class"));
    FFields.setText(field("edtAllow", row), QStringLiteral("20K"));

    // The city of a later row is the previous segment's arrival: the
    // departure code of a later segment is not read (an open jaw shows the
    // first city of the gap).
    if (row == 1)
        FFields.setText(field("edtFrom", 1), cityName(segment.captured(u"from")));
    FFields.setText(field("edtFrom", row + 1), cityName(segment.captured(u"to")));

    // Each city row has one terminal box, showing the terminal at that city:
    // the arrival terminal of this segment goes to the next row, its
    // departure terminal to this row when the display gives one, over the
    // previous segment's arrival terminal there.
    QString departure;
    QString arrival;
    if (segment.hasCaptured(u"terminals")) {
        const QString terminals = segment.captured(u"terminals");
        departure = terminal(terminals.left(2));
        arrival = terminal(terminals.mid(2));
    }
    if (!departure.isEmpty() || row == 1)
        FFields.setText(field("edtT", row), departure);
    FFields.setText(field("edtT", row + 1), arrival);
}

QString TPnrConversion::cityName(const QString &code) const
{
    const QString city = trimmed(code);
    const QString name = FCityNames.lookup(city);
    return name.isEmpty() ? city : name;
}

void TPnrConversion::readNames(const QString &item)
{
    const TBoundedPattern &number = patterns().nameNumber;
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

void TPnrConversion::addName(const QString &piece)
{
    const QString name = trimmed(piece);
    if (!name.isEmpty())
        FEntries.append({name, {}});
}

void TPnrConversion::readLocator()
{
    if (FEntries.isEmpty())
        return;
    const QRegularExpressionMatch locator = patterns().locator.match(FEntries.last().FName);
    if (!locator.hasMatch())
        return;
    const QString pnrName = QStringLiteral("edtPnr");
    FFields.setText(pnrName, trimmed(locator.captured(1)));
    // The model holds the locator in capitals; it leaves the name whatever
    // case it was pasted in.
    QString &name = FEntries.last().FName;
    name = trimmed(name.remove(FFields.text(pnrName), Qt::CaseInsensitive));
}

void TPnrConversion::finish(TPassengerChooser &passengers)
{
    try {
        readLocator();
    } catch (const TPatternGaveUp &) {
        // The last name stays as it is and edtPnr empty.
    }
    passengers.setEntries(FEntries);
}

} // namespace

void ParsePnrText(const QString &text, TItineraryFields &fields, TPassengerChooser &passengers,
                  const TReferenceList &airNames, const TReferenceList &cityNames,
                  const QDate &today)
{
    const QString display = TBoundedPattern::wellFormed(text);
    TPnrConversion conversion(fields, airNames, cityNames, today);
    try {
        conversion.readAmounts(display);
        conversion.readItems(display);
    } catch (const TPatternGaveUp &) {
        // No terminal writes such a text; the conversion ends with what it
        // has found so far.
    }
    conversion.finish(passengers);
}
