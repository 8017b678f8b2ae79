#include "online/JourneyDate.h"

#include <gtest/gtest.h>

namespace {

TEST(JourneyDate, TakesTheYearThatPutsTheDateWithinTheTicketsLife)
{
    const struct
    {
        QDate today;
        const char *piece;
        const char *date;
    } cases[] = {
        {QDate(2016, 8, 20), "08-26", "2016-08-26"},
        {QDate(2016, 8, 20), "08-20", "2016-08-20"},
        // A flight seven months ahead is this year's, not last year's.
        {QDate(2027, 1, 10), "08-01", "2027-08-01"},
        {QDate(2016, 6, 1), "12-05", "2016-12-05"},
        // The window's ends: 60 days back, 305 days ahead; where both hold
        // the day, the nearer one.
        {QDate(2027, 1, 10), "11-12", "2026-11-12"},
        {QDate(2027, 1, 10), "11-11", "2026-11-11"},
        {QDate(2027, 1, 10), "11-10", "2027-11-10"},
        // The turn of the year, both ways.
        {QDate(2016, 12, 20), "01-05", "2017-01-05"},
        {QDate(2017, 1, 3), "12-28", "2016-12-28"},
        {QDate(2016, 7, 2), "01-01", "2017-01-01"},
        // 29 February where the window holds a leap year's.
        {QDate(2019, 11, 1), "02-29", "2020-02-29"},
        {QDate(2024, 4, 20), "02-29", "2024-02-29"},
        // Anything else gets this year in front as it stands.
        {QDate(2018, 5, 5), "02-29", "2018-02-29"},
        {QDate(2017, 3, 1), "02-29", "2017-02-29"},
        {QDate(2016, 8, 20), "02-30", "2016-02-30"},
        {QDate(2016, 8, 20), "13-01", "2016-13-01"},
        {QDate(2016, 8, 20), "8-26", "2016-8-26"},
        {QDate(2016, 8, 20), "08-26 ", "2016-08-26 "},
        {QDate(2016, 8, 20), "26AUG", "2016-26AUG"},
        {QDate(2016, 8, 20), "&nbsp;", "2016-&nbsp;"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(journeyDate(QString::fromLatin1(c.piece), c.today), QString::fromLatin1(c.date))
            << c.piece << " on " << c.today.toString(Qt::ISODate).toStdString();
    }
}

} // namespace
