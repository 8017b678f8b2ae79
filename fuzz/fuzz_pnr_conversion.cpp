// A pasted PNR display, whatever it holds: the reading ends (in time linear
// in the paste) with a record that keeps its invariants, the conversion
// writes exactly that record into the receipt, and converting the same text
// again gives the same receipt.
#include "FuzzSupport.h"
#include "common/TextRules.h"
#include "itinerary/FieldRules.h"
#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"
#include "pnr/PassengerChooser.h"
#include "pnr/PnrParser.h"
#include "pnr/PnrReader.h"
#include "pnr/PnrRecord.h"
#include "reference/ReferenceList.h"

#include <QDate>
#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>

namespace {

const QDate today(2026, 12, 10);

// A broken invariant ends the run, naming the line that checks it.
void fail(int line)
{
    std::fprintf(stderr, "invariant of line %d broken\n", line);
    std::abort();
}
#define check(holds)                                                                               \
    do {                                                                                           \
        if (!(holds))                                                                              \
            fail(__LINE__);                                                                        \
    } while (false)

bool matches(const QRegularExpression &pattern, const QString &text)
{
    return pattern.match(text).hasMatch();
}

QRegularExpression whole(const char *pattern)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(QLatin1String(pattern)));
}

// Compiled once: the target runs them for every input.
const QRegularExpression amountText = whole(R"(\d+\.\d\d|EXEMPT)");
const QRegularExpression ticketNumber = whole(R"(\d{13})");
const QRegularExpression locatorText = whole(R"([A-Za-z0-9]{5,6})");
const QRegularExpression timeText = whole(R"(\d\d:\d\d)");

bool isAmount(const std::optional<QString> &amount)
{
    return !amount || matches(amountText, *amount);
}

void checkAmounts(const PnrAmounts &amounts)
{
    for (const auto *amount : {&amounts.fare, &amounts.airportTax, &amounts.fuelSurcharge,
                               &amounts.otherTax, &amounts.total})
        check(isAmount(*amount));
    check(!amounts.fare || amounts.fare != QStringLiteral("EXEMPT"));
    check(!amounts.otherTax || amounts.otherTax != QStringLiteral("EXEMPT"));
}

void checkRecord(const PnrRecord &record)
{
    for (const PnrPriceQuote &quote : record.priceQuotes)
        checkAmounts(quote.amounts);
    for (const PnrFareLine &line : record.fareLines)
        checkAmounts(line.amounts);
    for (const PassengerChooser::Entry &entry : record.passengers) {
        // A name is a trimmed piece of a name item; a ticket thirteen digits.
        check(!entry.name.isEmpty() && entry.name == trimmed(entry.name));
        check(entry.info.ticketNumber.isEmpty() ||
              matches(ticketNumber, entry.info.ticketNumber));
        // Every passenger has amounts of their own exactly when the display
        // gives any.
        check(entry.info.amounts.has_value() == record.hasAmounts());
        if (entry.info.amounts)
            checkAmounts(*entry.info.amounts);
    }
    check(record.locator.isEmpty() || matches(locatorText, record.locator));
    check(record.hasItems || (record.passengers.isEmpty() && record.segments.isEmpty()));
    for (const PnrSegment &segment : record.segments) {
        check(segment.date.isEmpty() ||
              QDate::fromString(segment.date, QStringLiteral("yyyy-MM-dd")).isValid());
        check(matches(timeText, segment.departs));
        check(segment.flight.startsWith(segment.carrier));
    }
    check(record.rowSegments().size() <= record.segments.size());
    check(record.rowSegments().isEmpty() == record.segments.isEmpty());
}

bool sameRecord(const PnrRecord &a, const PnrRecord &b)
{
    if (a.passengers.size() != b.passengers.size())
        return false;
    for (qsizetype k = 0; k < a.passengers.size(); ++k) {
        const PassengerChooser::Entry &x = a.passengers.at(k);
        const PassengerChooser::Entry &y = b.passengers.at(k);
        if (x.name != y.name || x.info.id != y.info.id ||
            x.info.ticketNumber != y.info.ticketNumber || x.info.amounts != y.info.amounts)
            return false;
    }
    return a.priceQuotes == b.priceQuotes && a.fareLines == b.fareLines &&
           a.segments == b.segments && a.locator == b.locator && a.endorsement == b.endorsement &&
           a.hasItems == b.hasItems;
}

QStringList receipt(const ItineraryFields &fields)
{
    QStringList texts;
    for (const FieldSpec &spec : itineraryFieldTable())
        texts.append(fields.text(spec.name));
    return texts;
}

QStringList convert(const QString &text, ItineraryFields &fields, PassengerChooser &passengers)
{
    static const ReferenceList empty;
    const ConversionReport report = convertPnrText(text, fields, passengers, empty, empty, today);
    // Every value the report names as not found is empty and marked.
    for (const FieldKey &key : report.missing)
        check(fields.text(key).trimmed().isEmpty() && fields.isMarkedMissing(key));
    return receipt(fields);
}

// The receipt holds what the record says: the chooser its passengers, the
// first one shown with their amounts, and a row for each segment up to four.
void checkWritten(const PnrRecord &record, const ItineraryFields &fields,
                  const PassengerChooser &passengers)
{
    QStringList names;
    for (const PassengerChooser::Entry &entry : record.passengers)
        names.append(entry.name);
    check(fields.passengerEntries() == names);
    check(passengers.entries().size() == record.passengers.size());
    if (!record.passengers.isEmpty()) {
        const PassengerChooser::Entry &shown = record.passengers.first();
        check(fields.text(QStringLiteral("edtPassenger")) == upperCased(shown.name));
        check(fields.text(QStringLiteral("edtId")) == upperCased(shown.info.id));
        check(fields.text(QStringLiteral("edtTicketNo")) == shown.info.ticketNumber);
        if (shown.info.amounts && shown.info.amounts->fare)
            check(fields.text(QStringLiteral("edtFare")) == *shown.info.amounts->fare);
        // The display's total, or none where the amounts shown do not make it.
        if (shown.info.amounts && shown.info.amounts->total)
            check(fields.text(QStringLiteral("edtTotal")) == *shown.info.amounts->total ||
                  fields.text(QStringLiteral("edtTotal")).isEmpty());
    }
    // The amounts shown add up to the total, or the total is empty.
    const QString total = fields.text(QStringLiteral("edtTotal"));
    long long sum = 0;
    for (const char *part : {"edtFare", "edtCAAC", "edtYQ", "edtTax"})
        sum += amountInFen(fields.text(QLatin1String(part)));
    check(total.isEmpty() || amountInFen(total) == sum);
    if (!record.hasAmounts()) {
        check(fields.text(QStringLiteral("edtFare")).isEmpty());
        check(fields.text(QStringLiteral("edtTotal")).isEmpty());
        check(fields.text(QStringLiteral("edtYQ")) == QStringLiteral("EXEMPT"));
    }
    const QList<PnrSegment> flown = record.rowSegments();
    for (int row = 1; row <= 4 && row <= flown.size(); ++row)
        check(fields.text(QStringLiteral("edtFlight%1").arg(row)) ==
              upperCased(flown.at(row - 1).flight));
    check(fields.text(QStringLiteral("edtPnr")) == upperCased(record.locator));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    const QString text = QString::fromUtf8(bytesOf(data, size));

    const PnrRecord record = readPnrRecord(text, today);
    checkRecord(record);
    check(sameRecord(readPnrRecord(text, today), record));

    ItineraryFields fields;
    PassengerChooser passengers(fields);
    const QStringList first = convert(text, fields, passengers);
    checkWritten(record, fields, passengers);
    check(convert(text, fields, passengers) == first);
    return 0;
}
