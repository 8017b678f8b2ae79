#include "online/JourneyDate.h"

#include <gtest/gtest.h>

namespace {

TEST(JourneyDate, TakesTheYearThatPutsTheDateNearestToToday)
{
    const struct
    {
        QDate today;
        const char *piece;
        const char *date;
    } cases[] = {
        {QDate(2016, 8, 20), "08-26", "2016-08-26"},
        {QDate(2016, 8, 20), "08-20", "2016-08-20"},
        {QDate(2016, 12, 20), "01-05", "2017-01-05"},
        {QDate(2017, 1, 3), "12-28", "2016-12-28"},
        {QDate(2016, 6, 1), "11-30", "2016-11-30"},
        {QDate(2016, 6, 1), "12-05", "2015-12-05"},
        // Equally far back and ahead: the later one, as for PNR dates.
        {QDate(2016, 7, 2), "01-01", "2017-01-01"},
        // 29 February exists in one of the three years only.
        {QDate(2017, 3, 1), "02-29", "2016-02-29"},
        {QDate(2019, 11, 1), "02-29", "2020-02-29"},
        // Anything else gets this year in front as it stands.
        {QDate(2018, 5, 5), "02-29", "2018-02-29"},
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
