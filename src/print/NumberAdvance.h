#pragma once

#include <QString>

class ItineraryFields;

// The print serial number after T: the number part plus one, keeping its
// width (0123456789 2 -> 0123456790 3), the first blank run as it stands, and
// the check digit counting 0 to 6 and back to 0. T comes back unchanged when
// it holds no digits, blanks and a digit in a row, or when its number part or
// last character is not made of decimal digits. Exact for any length.
QString advanceSerial(const QString &T);

// After every print job that reached the printer, makes the receipt ready for
// the next sheet of stock: a serial number longer than 10 characters
// advances when it is well formed (isWellFormedSerialNumber), and the check
// code follows it through the field's rule; one of any other form stays, and
// so does the check code;
// otherwise a check code of up to 9 decimal digits counts up by one within
// its width (0099 -> 0100, 9999 -> 0000, empty stays empty).
void reportPageAfterPrint(ItineraryFields &fields);
