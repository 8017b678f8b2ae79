#pragma once

#include <QString>
#include <optional>

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

// True for a serial number that is there but not well formed: the advance
// after printing leaves it as it is, and the agent is to know. An empty or
// blank box is no serial number and never malformed.
bool isMalformedSerialNumber(const QString &text);

// The number a well-formed serial number counts: its ten digits, the check
// digit left out. Nothing for any other text. Stock is received, registered
// and reconciled by these numbers.
std::optional<qint64> serialNumberValue(const QString &text);

// The serial number's ten digits as the stock prints them, leading zeros kept.
QString serialDigits(qint64 value);
