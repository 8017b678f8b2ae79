#include "pnr/PnrDate.h"
#include "Strings.h"

#include <gtest/gtest.h>

namespace {

TEST(pnrDateToIso, TakesTheYearInWhichTheDateFallsOnTheSegmentsWeekday)
{
    const struct
    {
        const char *today, *token, *weekday, *expected;
    } cases[] = {
        {"2026-08-01", "26AUG", "WE", "2026-08-26"},
        // 26 August 2016 was a Friday; the Wednesday before it was in 2015.
        {"2016-08-01", "26AUG", "WE", "2015-08-26"},
        // A January flight converted in December is next January's...
        {"2026-12-20", "05JAN", "TU", "2027-01-05"},
        // ...unless its weekday says it was this January's.
        {"2026-12-20", "05JAN", "MO", "2026-01-05"},
        // The weekday wins over the nearer date.
        {"2026-07-01", "30JUN", "WE", "2027-06-30"},
        {"2027-12-20", "29FEB", "TU", "2028-02-29"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pnrDateToIso(u8s(c.token), QDate::fromString(u8s(c.today), Qt::ISODate),
                               u8s(c.weekday)),
                  u8s(c.expected))
            << c.today << " " << c.token << " " << c.weekday;
}

TEST(pnrDateToIso, TakesTheNearestDateWithoutAFittingWeekday)
{
    const struct
    {
        const char *today, *token, *weekday, *expected;
    } cases[] = {
        {"2026-12-20", "05JAN", "", "2027-01-05"},
        {"2027-01-03", "20DEC", "", "2026-12-20"},
        {"2026-08-01", "26AUG", "", "2026-08-26"},
        // 30 June fell on a Monday, Tuesday and Wednesday in 2025 to 2027.
        {"2026-07-01", "30JUN", "SU", "2026-06-30"},
        {"2026-07-01", "30JUN", "XX", "2026-06-30"},
        // Exactly half-way between two years: the later date.
        {"2027-08-31", "01MAR", "", "2028-03-01"},
        // 29 February exists only in the leap year within reach.
        {"2025-03-01", "29FEB", "", "2024-02-29"},
        {"2025-03-01", "29FEB", "SU", "2024-02-29"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pnrDateToIso(u8s(c.token), QDate::fromString(u8s(c.today), Qt::ISODate),
                               u8s(c.weekday)),
                  u8s(c.expected))
            << c.today << " " << c.token << " " << c.weekday;
}

TEST(pnrDateToIso, GivesNothingForATokenThatIsNoDate)
{
    const QDate today(2026, 6, 1);
    // No leap year between 2025 and 2027.
    for (const char *token : {"29FEB", "30FEB", "00JAN", "32JAN", "31APR", "26XYZ", "6AUG", "",
                              "2XAUG", " 5JAN ", "AUG26", "+5AUG"})
        EXPECT_EQ(pnrDateToIso(u8s(token), today), QString()) << token;
}

TEST(pnrDateToIso, ReadsATrimmedTokenInAnyCase)
{
    const QDate today(2026, 8, 1);
    EXPECT_EQ(pnrDateToIso(QStringLiteral(" 26aug "), today), QStringLiteral("2026-08-26"));
    EXPECT_EQ(pnrDateToIso(QStringLiteral("01Dec"), today), QStringLiteral("2026-12-01"));
    // Only the first two and the last three characters count.
    EXPECT_EQ(pnrDateToIso(QStringLiteral("26XXAUG"), today), QStringLiteral("2026-08-26"));
}

} // namespace
