#include "print/ReceiptRecord.h"

#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"

#include <QJsonDocument>
#include <QStringList>

namespace {

const QString internationalSwitch = QStringLiteral("chkGuowai");

QString rowsOf(const ItineraryFields &fields, const char *stem)
{
    QStringList values;
    for (int row = 1; row <= 4; ++row) {
        const QString value =
            fields.text(QString::fromLatin1(stem) + QString::number(row)).trimmed();
        if (!value.isEmpty())
            values.append(value);
    }
    return values.join(u' ');
}

} // namespace

ReceiptRecord ReceiptRecord::of(const ItineraryFields &fields)
{
    const auto text = [&](const char *name) { return fields.text(QString::fromLatin1(name)); };
    ReceiptRecord record;
    record.serialNumber = text("edtSerNo");
    record.checkCode = text("edtCk");
    record.passenger = text("edtPassenger");
    record.idNumber = text("edtId");
    record.ticketNumber = text("edtTicketNo");
    record.pnr = text("edtPnr");
    record.flights = rowsOf(fields, "edtFlight");
    record.dates = rowsOf(fields, "edtDate");
    record.fare = text("edtFare");
    record.airportTax = text("edtCAAC");
    record.fuelSurcharge = text("edtYQ");
    record.otherTaxes = text("edtTax");
    record.total = text("edtTotal");
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
            spec.name == QLatin1String("edtSerNo") || spec.name == QLatin1String("edtCk"))
            continue;
        target.setText(spec.name, fields.value(spec.name).toString());
    }
    // The amounts recompute the total as they come in; the sheet showed this one.
    const QString total = QStringLiteral("edtTotal");
    if (fields.contains(total))
        target.setText(total, fields.value(total).toString());
}
