#pragma once

#include <QDate>

// A day and month given without a year (on a PNR display whose segment
// prints no weekday that tells the year) are meant within about a year of
// today: of last year, this year and next year, the date nearest to today is
// taken, the later one when two are equally near. Invalid when the day
// exists in none of the three years (30 February; 29 February without a leap
// year among them).
QDate nearestDate(int month, int day, const QDate &today);
