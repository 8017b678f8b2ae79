#pragma once

#include <QJsonObject>
#include <QString>

class ItineraryFields;

// A receipt as it went to paper: the values an agency looks a sheet up by,
// and every field's text (with the "打印国际" switch) so that the receipt can
// be shown and put back again.
struct ReceiptRecord
{
    QString serialNumber;
    QString checkCode;
    QString passenger;
    QString idNumber;
    QString ticketNumber;
    QString pnr;
    QString flights; // the segments' flight numbers, in row order
    QString dates;   // their dates
    QString fare;
    QString airportTax;
    QString fuelSurcharge;
    QString otherTaxes;
    QString total;
    QJsonObject fields; // field name -> text; "chkGuowai" -> true or false

    static ReceiptRecord of(const ItineraryFields &fields);
    static ReceiptRecord fromFieldsJson(const QString &json);
    QString fieldsJson() const;

    // Puts the receipt's values back for a reprint, keeping the serial number
    // and the check code as they are now: the reprint goes on the next sheet,
    // which bears the next number, never on the old one.
    void applyTo(ItineraryFields &target) const;
};
