#pragma once

#include <QDate>
#include <QString>

// The date of a segment line, written "26AUG" (two-digit day, English month
// abbreviation), as "YYYY-MM-DD". Empty when the token has fewer than five
// characters, names no month, or names a day that does not exist in any year
// that may be meant (30FEB; 29FEB when none of them is a leap year).
//
// The display gives no year. A booking is made at most about a year ahead
// and a receipt is printed at most about a year after the flight, so the
// year is one of last year, this year and next year, counted from today:
// the one in which the date falls on weekday, the segment's day of the week
// (MO TU WE TH FR SA SU); without a weekday, or when none of the three years
// fits it, the one that puts the date nearest to today (the later one when
// two are equally near). So 05JAN converted on 20 December is next January.
QString pnrDateToIso(const QString &token, const QDate &today = QDate::currentDate(),
                     const QString &weekday = QString());

// The date of a segment line that prints its year after the month,
// "09APR20": the token "09APR" in the year 2000 + twoDigitYear. Empty when
// that year has no such day.
QString pnrDateInYear(const QString &token, int twoDigitYear);
