#include "itinerary/IssueDate.h"
#include "itinerary/ItineraryFields.h"

#include <gtest/gtest.h>

namespace {

const QString issueDate = QStringLiteral("edtDateOfInsue");

// The date of issue set at start and a window left open over midnight.
TEST(IssueDate, FollowsTheCalendarDayUntilSomeoneChangesIt)
{
    const struct
    {
        const char *changedTo; // nullptr: nobody touches the date
        const char *afterMidnight;
        bool follows;
    } cases[] = {
        {nullptr, "2026-12-11", true},
        {"2026-12-01", "2026-12-01", false}, // the agent's own date stays
        {"", "", false},                     // emptied on purpose: stays empty
    };
    for (const auto &c : cases) {
        ItineraryFields fields;
        IssueDate date(fields);
        QDate today(2026, 12, 10);
        date.setClock([&today] { return today; });
        date.setToday();
        EXPECT_EQ(fields.text(issueDate), QStringLiteral("2026-12-10"));
        if (c.changedTo)
            fields.setText(issueDate, QString::fromLatin1(c.changedTo));

        today = today.addDays(1);
        date.followCalendar();
        EXPECT_EQ(fields.text(issueDate), QString::fromLatin1(c.afterMidnight));
        EXPECT_EQ(date.followsCalendar(), c.follows);
    }
}

TEST(IssueDate, ChangingItBackToTheDayWrittenStillFollows)
{
    ItineraryFields fields;
    IssueDate date(fields);
    QDate today(2026, 12, 31);
    date.setClock([&today] { return today; });
    date.setToday();
    // Written by another part with the very same text: no change at all.
    fields.setText(issueDate, QStringLiteral("2026-12-31"));
    today = QDate(2027, 1, 1);
    date.followCalendar();
    EXPECT_EQ(fields.text(issueDate), QStringLiteral("2027-01-01"));
    // A later start sets today again and follows again.
    fields.setText(issueDate, QStringLiteral("2020-01-01"));
    date.setToday();
    EXPECT_TRUE(date.followsCalendar());
    EXPECT_EQ(fields.text(issueDate), QStringLiteral("2027-01-01"));
}

} // namespace
