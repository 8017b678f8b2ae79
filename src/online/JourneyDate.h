#pragma once

#include <QDate>
#include <QString>

// The date of a journey, "YYYY-MM-DD", from the month and day that the
// result page shows ("08-26"). The page gives no year. A ticket is looked up
// while it lives: from about two months after its flight (a receipt asked
// for late) to about ten months before it (a booking made early). So the
// year taken is the one that puts the date between 60 days before today and
// 305 days after it; where both ends of that window hold the day, the one
// nearer to today. A piece of any other form, or a day that falls in the
// window in no year (29 February far from a leap year), gets this year and a
// hyphen in front, as it stands.
QString journeyDate(const QString &monthAndDay, const QDate &today);
