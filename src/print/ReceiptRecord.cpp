#include "print/ReceiptRecord.h"

#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"

#include <QJsonDocument>
#include <QStringList>

namespace {

const QString internationalSwitch = fieldName(Field::International);

QString rowsOf(const ItineraryFields &fields, Field field)
{
    QStringList values;
    for (int row = 1; row <= lastRow(field); ++row) {
        const QString value = fields.text({field, row}).trimmed();
        if (!value.isEmpty())
            values.append(value);
    }
    return values.join(u' ');
}

} // namespace

ReceiptRecord ReceiptRecord::of(const ItineraryFields &fields)
{
    ReceiptRecord record;
    record.serialNumber = fields.text(Field::SerialNumber);
    record.checkCode = fields.text(Field::CheckCode);
    record.passenger = fields.text(Field::Passenger);
    record.idNumber = fields.text(Field::IdNumber);
    record.ticketNumber = fields.text(Field::TicketNumber);
    record.pnr = fields.text(Field::Pnr);
    record.flights = rowsOf(fields, Field::Flight);
    record.dates = rowsOf(fields, Field::Date);
    record.fare = fields.text(Field::Fare);
    record.airportTax = fields.text(Field::AirportTax);
    record.fuelSurcharge = fields.text(Field::FuelSurcharge);
    record.otherTaxes = fields.text(Field::OtherTax);
    record.total = fields.text(Field::Total);
    for (const FieldSpec &spec : itineraryFieldTable()) {
        if (!spec.remembered)
            continue;
        if (spec.kind == FieldKind::Switch)
            record.fields.insert(spec.name, fields.international());
        else
            record.fields.insert(spec.name, fields.text(spec.name));
    }
    return record;
}

ReceiptRecord ReceiptRecord::fromFieldsJson(const QString &json)
{
    ReceiptRecord record;
    record.fields = QJsonDocument::fromJson(json.toUtf8()).object();
    return record;
}

QString ReceiptRecord::fieldsJson() const
{
    return QString::fromUtf8(QJsonDocument(fields).toJson(QJsonDocument::Compact));
}

void ReceiptRecord::applyTo(ItineraryFields &target) const
{
    // The switch first: switching it on empties the fuel surcharge, which the
    // texts below then bring back as printed.
    if (fields.contains(internationalSwitch))
        target.setInternational(fields.value(internationalSwitch).toBool());
    for (const FieldSpec &spec : itineraryFieldTable()) {
        if (spec.kind == FieldKind::Switch || !fields.contains(spec.name) ||
            spec.field == Field::SerialNumber || spec.field == Field::CheckCode)
            continue;
        target.setText(spec.name, fields.value(spec.name).toString());
    }
    // The amounts recompute the total as they come in; the sheet showed this one.
    const QString total = fieldName(Field::Total);
    if (fields.contains(total))
        target.setText(Field::Total, fields.value(total).toString());
}
