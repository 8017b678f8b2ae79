#pragma once

#include <QDate>
#include <QString>

// The date of a journey, "YYYY-MM-DD", from the month and day that the
// result page shows ("08-26"). The page gives no year: of last year, this
// year and next year, the one that puts the date nearest to today is taken,
// so that a January flight looked up in December is dated next January and
// not eleven months back (the later one when two are equally near). A
// piece of any other form, or one that is no date in any of the three
// years, gets this year and a hyphen in front, as it stands.
QString journeyDate(const QString &monthAndDay, const QDate &today);
