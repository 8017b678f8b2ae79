#pragma once

#include <QString>

// The print serial number as the stock carries it: ten digits, one space and
// the check digit, "1234567890 3".

// The text as typed, with what is clearly the same number made plain:
// full-width digits become ASCII digits, and every run of blanks (spaces,
// tabs, the ideographic and the no-break space) becomes one space. Anything
// else stays as it is, so a half-typed number is left alone.
QString normalisedSerialNumber(const QString &typed);

// True when the text, without leading and trailing blanks, is ten ASCII
// digits, one space and one digit: the form the advance after printing
// counts on.
bool isWellFormedSerialNumber(const QString &text);
