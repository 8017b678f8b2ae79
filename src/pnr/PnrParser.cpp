#include "pnr/PnrParser.h"

#include "common/TextRules.h"
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

    void writeSegment(int row, const TPnrSegment &segment);
    void writeVoidMarks(int segments);

private:
    QString cityName(const QString &code) const;

    TItineraryFields &FFields;
    const TReferenceList &FAirNames;
    const TReferenceList &FCityNames;
};

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
    // The adults' amounts, every box of them, so nothing of the display
    // converted before stays; a display without amounts leaves them empty.
    // Choosing a passenger below puts that passenger's own in their place.
    WriteAmounts(fields, record.hasAmounts() ? record.amountsOf(TPassengerType::Adult, 0)
                                             : TPnrAmounts());

    TRecordWriter writer(fields, airNames, cityNames);
    int row = 0;
    for (const TPnrSegment &segment : record.rowSegments())
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
