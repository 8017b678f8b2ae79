#include "pnr/PnrParser.h"

#include "common/TextRules.h"
#include "itinerary/ClearItinerary.h"
#include "itinerary/ItineraryFields.h"
#include "pnr/PassengerChooser.h"
#include "pnr/PnrReader.h"
#include "pnr/PnrRecord.h"
#include "reference/ReferenceList.h"

namespace {

class RecordWriter
{
public:
    RecordWriter(ItineraryFields &fields, const ReferenceList &airNames,
                 const ReferenceList &cityNames)
        : m_fields(fields), m_airNames(airNames), m_cityNames(cityNames)
    {}

    void writeSegment(int row, const PnrSegment &segment);
    void writeVoidMarks(int segments);

private:
    QString cityName(const QString &code) const;

    ItineraryFields &m_fields;
    const ReferenceList &m_airNames;
    const ReferenceList &m_cityNames;
};

void RecordWriter::writeSegment(int row, const PnrSegment &segment)
{
    const QString airline = trimmed(m_airNames.lookup(segment.carrier));
    m_fields.setText({Field::Carrier, row}, airline.isEmpty() ? segment.carrier : airline);
    m_fields.setText({Field::Flight, row}, segment.flight);
    // The class rule copies the class into the fare basis at once.
    m_fields.setText({Field::Seat, row}, segment.bookingClass);
    m_fields.setText({Field::Date, row}, segment.date);
    m_fields.setText({Field::Time, row}, segment.departs);
    m_fields.setText({Field::FareBasis, row}, segment.bookingClass);
    m_fields.setText({Field::Allowance, row}, QStringLiteral("20K"));

    // The city of a later row is the previous segment's arrival: the
    // departure code of a later segment is not read (an open jaw shows the
    // first city of the gap).
    if (row == 1)
        m_fields.setText({Field::From, 1}, cityName(segment.from));
    m_fields.setText({Field::From, row + 1}, cityName(segment.to));

    // Each city row has one terminal box, showing the terminal at that city:
    // the arrival terminal of this segment goes to the next row, its
    // departure terminal to this row when the display gives one, over the
    // previous segment's arrival terminal there.
    if (!segment.departureTerminal.isEmpty() || row == 1)
        m_fields.setText({Field::Terminal, row}, segment.departureTerminal);
    m_fields.setText({Field::Terminal, row + 1}, segment.arrivalTerminal);
}

// The row after the last segment is marked void. Beyond the fourth row
// there is nothing to mark and the model ignores the names.
void RecordWriter::writeVoidMarks(int segments)
{
    m_fields.setText({Field::Carrier, segments + 1}, QStringLiteral("VOID"));
    m_fields.setText({Field::From, segments + 2}, QStringLiteral("VOID"));
}

QString RecordWriter::cityName(const QString &code) const
{
    const QString name = m_cityNames.lookup(code);
    return name.isEmpty() ? code : name;
}

} // namespace

void writePnrRecord(const PnrRecord &record, ItineraryFields &fields, PassengerChooser &passengers,
                    const ReferenceList &airNames, const ReferenceList &cityNames)
{
    // The adults' amounts, every box of them, so nothing of the display
    // converted before stays; a display without amounts leaves them empty.
    // Choosing a passenger below puts that passenger's own in their place.
    writeAmounts(fields,
                 record.hasAmounts() ? record.amountsOf(PassengerType::Adult, 0) : PnrAmounts());

    RecordWriter writer(fields, airNames, cityNames);
    int row = 0;
    for (const PnrSegment &segment : record.rowSegments())
        writer.writeSegment(++row, segment);
    if (record.hasItems)
        writer.writeVoidMarks(row);

    if (!record.locator.isEmpty())
        fields.setText(Field::Pnr, record.locator);
    if (!record.endorsement.isEmpty())
        fields.setText(Field::Endorsement, record.endorsement);
    passengers.setEntries(record.passengers);
}

void parsePnrText(const QString &text, ItineraryFields &fields, PassengerChooser &passengers,
                  const ReferenceList &airNames, const ReferenceList &cityNames, const QDate &today)
{
    writePnrRecord(readPnrRecord(text, today), fields, passengers, airNames, cityNames);
}

ConversionReport convertPnrText(const QString &text, ItineraryFields &fields,
                                PassengerChooser &passengers, const ReferenceList &airNames,
                                const ReferenceList &cityNames, const QDate &today)
{
    clearItinerary(fields, SerialNumberOnClear::Keep);
    const PnrRecord record = readPnrRecord(text, today);
    writePnrRecord(record, fields, passengers, airNames, cityNames);
    return markWhatIsMissing(fields, passengers.entries().size(), record.rowSegments().size());
}
