#include "pnr/PnrParser.h"

#include "common/TextRules.h"
#include "itinerary/FieldRules.h"
#include "itinerary/ItineraryFields.h"
#include "pnr/PassengerChooser.h"
#include "pnr/PnrReader.h"
#include "pnr/PnrRecord.h"
#include "reference/ReferenceList.h"

namespace {

QString field(const char *stem, int row)
{
    return QString::fromLatin1(stem) + QString::number(row);
}

class TRecordWriter
{
public:
    TRecordWriter(TItineraryFields &fields, const TReferenceList &airNames,
                  const TReferenceList &cityNames)
        : FFields(fields), FAirNames(airNames), FCityNames(cityNames)
    {}

    void writeAmounts(const TPnrAmounts &amounts);
    void writeSegment(int row, const TPnrSegment &segment);
    void writeVoidMarks(int segments);

private:
    void write(const char *name, const std::optional<QString> &text);
    void writeFuelSurcharge(const std::optional<QString> &text);
    QString cityName(const QString &code) const;

    TItineraryFields &FFields;
    const TReferenceList &FAirNames;
    const TReferenceList &FCityNames;
};

void TRecordWriter::write(const char *name, const std::optional<QString> &text)
{
    if (text)
        FFields.setText(QString::fromLatin1(name), *text);
}

// Every write of an amount recomputes the total; the display's own total,
// when it gives one, has the last word.
void TRecordWriter::writeAmounts(const TPnrAmounts &amounts)
{
    write("edtFare", amounts.fare);
    write("edtCAAC", amounts.airportTax);
    if (!FFields.international())
        writeFuelSurcharge(amounts.fuelSurcharge);
    write("edtTax", amounts.otherTax);
    write("edtTotal", amounts.total);
}

void TRecordWriter::writeSegment(int row, const TPnrSegment &segment)
{
    const QString airline = trimmed(FAirNames.lookup(segment.carrier));
    FFields.setText(field("cboAir", row), airline.isEmpty() ? segment.carrier : airline);
    FFields.setText(field("edtFlight", row), segment.flight);
    // The class rule copies the class into the fare basis at once.
    FFields.setText(field("edtSeat", row), segment.bookingClass);
    FFields.setText(field("edtDate", row), segment.date);
    FFields.setText(field("edtTime", row), segment.departs);
    FFields.setText(field("edtBasts", row), segment.bookingClass);
    FFields.setText(field("edtAllow", row), QStringLiteral("20K"));

    // The city of a later row is the previous segment's arrival: the
    // departure code of a later segment is not read (an open jaw shows the
    // first city of the gap).
    if (row == 1)
        FFields.setText(field("edtFrom", 1), cityName(segment.from));
    FFields.setText(field("edtFrom", row + 1), cityName(segment.to));

    // Each city row has one terminal box, showing the terminal at that city:
    // the arrival terminal of this segment goes to the next row, its
    // departure terminal to this row when the display gives one, over the
    // previous segment's arrival terminal there.
    if (!segment.departureTerminal.isEmpty() || row == 1)
        FFields.setText(field("edtT", row), segment.departureTerminal);
    FFields.setText(field("edtT", row + 1), segment.arrivalTerminal);
}

// The row after the last segment is marked void. Beyond the fourth row
// there is nothing to mark and the model ignores the names.
void TRecordWriter::writeVoidMarks(int segments)
{
    FFields.setText(field("cboAir", segments + 1), QStringLiteral("VOID"));
    FFields.setText(field("edtFrom", segments + 2), QStringLiteral("VOID"));
}

// The receipt keeps its fuel surcharge from one conversion to the next, so
// the display's may already stand there; the total is worked out as if it
// had been written anew, or the total of a display would depend on the one
// converted before it.
void TRecordWriter::writeFuelSurcharge(const std::optional<QString> &text)
{
    const QString name = QStringLiteral("edtYQ");
    if (!text)
        return;
    if (FFields.text(name) == upperCased(*text))
        TFieldRules(FFields).RecalcTotal();
    else
        FFields.setText(name, *text);
}

QString TRecordWriter::cityName(const QString &code) const
{
    const QString name = FCityNames.lookup(code);
    return name.isEmpty() ? code : name;
}

} // namespace

void WritePnrRecord(const TPnrRecord &record, TItineraryFields &fields,
                    TPassengerChooser &passengers, const TReferenceList &airNames,
                    const TReferenceList &cityNames)
{
    TRecordWriter writer(fields, airNames, cityNames);
    // The price display first: the fare line, when there is one, replaces
    // its amounts.
    writer.writeAmounts(record.priceDisplay);
    // A fare line lists every tax of the ticket: one without a YQ means no
    // fuel surcharge, not the surcharge of the display converted before.
    TPnrAmounts fareLine = record.fareLine;
    if (fareLine.fare && !fareLine.fuelSurcharge)
        fareLine.fuelSurcharge = QStringLiteral("EXEMPT");
    writer.writeAmounts(fareLine);

    int row = 0;
    for (const TPnrSegment &segment : record.flownSegments())
        writer.writeSegment(++row, segment);
    if (record.hasItems)
        writer.writeVoidMarks(row);

    if (!record.locator.isEmpty())
        fields.setText(QStringLiteral("edtPnr"), record.locator);
    if (!record.endorsement.isEmpty())
        fields.setText(QStringLiteral("cboEndorsement"), record.endorsement);
    passengers.setEntries(record.passengers);
}

void ParsePnrText(const QString &text, TItineraryFields &fields, TPassengerChooser &passengers,
                  const TReferenceList &airNames, const TReferenceList &cityNames,
                  const QDate &today)
{
    WritePnrRecord(ReadPnrRecord(text, today), fields, passengers, airNames, cityNames);
}
