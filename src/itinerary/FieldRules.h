#pragma once

#include <QString>

class TItineraryFields;

// The rules that tie fields of the receipt together. Each runs after its
// field's text has changed, whoever changed it.
//   edtFare, edtCAAC, edtYQ, edtTax -> RecalcTotal
//   edtSeat1..4                     -> the row's fare basis edtBasts1..4
//   chkGuowai                       -> empties the fuel surcharge when switched on
//   edtSerNo                        -> the check code edtCk
class TFieldRules
{
public:
    explicit TFieldRules(TItineraryFields &fields) : FFields(fields) {}

    void textChanged(const QString &name);
    void internationalChanged();

    // edtTotal := the sum of the whole parts of the four amounts, then ".00".
    void RecalcTotal();

private:
    void followSeat(const QString &seatName);
    void followSerialNumber();

    TItineraryFields &FFields;
};

// The whole part of an amount as the total counts it: the text read as a
// decimal number with the regional decimal separator and cut toward zero;
// 0 for anything else (empty text, "EXEMPT", thousands separators, codes) and
// for whole parts of 10^15 or more, for which no meaningful total exists.
long long amountWholePart(const QString &text);

// The check code that a print serial number gives, or an empty text when the
// serial number is not well formed and the check code is to stay as it is.
QString checkCodeOf(const QString &serialNumber);
