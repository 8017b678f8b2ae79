#pragma once

#include <QString>

class ItineraryFields;

// The rules that tie fields of the receipt together. Each runs after its
// field's text has changed, whoever changed it.
//   edtFare, edtCAAC, edtYQ, edtTax -> recalcTotal
//   edtSeat1..4                     -> the row's fare basis edtBasts1..4
//   chkGuowai                       -> empties the fuel surcharge when switched on
//   edtSerNo                        -> the check code edtCk
class FieldRules
{
public:
    explicit FieldRules(ItineraryFields &fields) : m_fields(fields) {}

    void textChanged(const QString &name);
    void internationalChanged();

    // edtTotal := the sum of the four amounts, in fen, written with two decimals.
    void recalcTotal();

private:
    void followSeat(int row);
    void followSerialNumber();

    ItineraryFields &m_fields;
};

// An amount as the total counts it, in fen: an optional sign, digits with
// "," allowed between groups of three, an optional "." with a fraction and an
// optional exponent, blanks around. Places beyond the fen are cut off toward
// zero. Anything else counts 0: the empty text, "EXEMPT", a currency code, a
// decimal comma, and amounts of 10^15 yuan or more, for which no meaningful
// total exists.
long long amountInFen(const QString &text);
constexpr qsizetype maxAmountFenDigits = 17;

// Fen written as yuan with two decimals: -350 -> "-3.50".
QString fenText(long long fen);

// The check code that a print serial number gives, or an empty text when the
// serial number is not well formed and the check code is to stay as it is.
QString checkCodeOf(const QString &serialNumber);
