#include "itinerary/FieldRules.h"
#include "itinerary/ItineraryFields.h"
#include "Strings.h"

#include <gtest/gtest.h>

namespace {

TEST(RecalcTotal, AddsTheWholePartsOfTheFourAmounts)
{
    const struct
    {
        const char *fare, *tax, *yq, *other, *total;
    } cases[] = {
        {"1860.00", "50.00", "EXEMPT", "", "1910.00"},
        {"1860.00", "50.00", "110", "", "2020.00"},
        {"1860.99", "", "", "", "1860.00"},
        {"0.90", "0.90", "", "", "0.00"},
        {"", "", "", "", "0.00"},
        {"1,860.00", "50", "", "", "50.00"},
        {"CNY1860", "50", "", "", "50.00"},
        {"-3.5", "", "", "", "-3.00"},
        {" 12 ", ".5", "1e2", "+7.", "119.00"},
        {"2147483647", "2147483647", "", "", "4294967294.00"},
        {"1e300", "5", "NAN", "INF", "5.00"},
    };
    for (const auto &c : cases) {
        TItineraryFields fields;
        fields.setText(QStringLiteral("edtFare"), u8s(c.fare));
        fields.setText(QStringLiteral("edtCAAC"), u8s(c.tax));
        fields.setText(QStringLiteral("edtYQ"), u8s(c.yq));
        fields.setText(QStringLiteral("edtTax"), u8s(c.other));
        EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), u8s(c.total))
            << c.fare << " " << c.tax << " " << c.yq << " " << c.other;
    }
}

TEST(RecalcTotal, OverwritesATypedTotalWhileATypedTotalRunsNothing)
{
    TItineraryFields fields;
    fields.setText(QStringLiteral("edtFare"), QStringLiteral("100"));
    fields.setText(QStringLiteral("edtTotal"), QStringLiteral("5"));
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("5"));
    fields.setText(QStringLiteral("edtTax"), QStringLiteral("1"));
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("101.00"));
}

TEST(FareBasis, FollowsTheClassOfItsOwnRowOneWayOnly)
{
    TItineraryFields fields;
    fields.setText(QStringLiteral("edtSeat2"), QStringLiteral("y"));
    EXPECT_EQ(fields.text(QStringLiteral("edtBasts2")), QStringLiteral("Y"));
    EXPECT_EQ(fields.text(QStringLiteral("edtBasts1")), QString());
    fields.setText(QStringLiteral("edtBasts2"), QStringLiteral("YOW"));
    EXPECT_EQ(fields.text(QStringLiteral("edtSeat2")), QStringLiteral("Y"));
    fields.setText(QStringLiteral("edtSeat2"), QString());
    EXPECT_EQ(fields.text(QStringLiteral("edtBasts2")), QString());
    for (int row = 1; row <= 4; ++row) {
        fields.setText(QStringLiteral("edtSeat%1").arg(row), QStringLiteral("F%1").arg(row));
        EXPECT_EQ(fields.text(QStringLiteral("edtBasts%1").arg(row)), QStringLiteral("F%1").arg(row));
    }
}

TEST(InternationalSwitch, EmptiesTheFuelSurchargeWhenTurnedOnAndNotBack)
{
    TItineraryFields fields;
    fields.setText(QStringLiteral("edtFare"), QStringLiteral("1000"));
    fields.setText(QStringLiteral("edtYQ"), QStringLiteral("110"));
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("1110.00"));

    fields.setInternational(true);
    EXPECT_TRUE(fields.international());
    EXPECT_EQ(fields.text(QStringLiteral("edtYQ")), QString());
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("1000.00"));
    EXPECT_EQ(fields.text(QStringLiteral("edtGuowai")), u8s("国际(I)"));

    fields.setInternational(false);
    EXPECT_EQ(fields.text(QStringLiteral("edtYQ")), QString());

    // Turning it on with the surcharge already empty still totals afresh.
    fields.setText(QStringLiteral("edtTotal"), QStringLiteral("7"));
    fields.setInternational(true);
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("1000.00"));
}

TEST(CheckCode, FollowsAWellFormedSerialNumberOnly)
{
    const struct
    {
        const char *serial;
        const char *checkCode; // empty: the check code keeps its text
    } cases[] = {
        {"1234567890 3", "7890"},
        {"  1234567890 3  ", "7890"},
        {"1234567890\t3", "890\t"},
        {"123456789 3", ""},
        {"1234567890  3", ""},
        {"1234567890", ""},
        {"12345678903", ""},
        {"ABCDEFGHIJ 3", ""},
        {"No.1234567890 3", "7890"},
        {"1234567890 3 X9", "903X"},
        {"1234567890 31", "8903"},
        {"", ""},
    };
    for (const auto &c : cases) {
        TItineraryFields fields;
        fields.setText(QStringLiteral("edtCk"), QStringLiteral("OLD"));
        fields.setText(QStringLiteral("edtSerNo"), u8s(c.serial));
        const QString expected = *c.checkCode ? u8s(c.checkCode) : QStringLiteral("OLD");
        EXPECT_EQ(fields.text(QStringLiteral("edtCk")), expected) << c.serial;
    }
}

TEST(CheckCode, StaysWhileASerialNumberIsTypedUntilItIsComplete)
{
    TItineraryFields fields;
    fields.setText(QStringLiteral("edtCk"), QStringLiteral("OLD"));
    QString typed;
    for (QChar c : QStringLiteral("1234567890 ")) {
        typed += c;
        fields.setText(QStringLiteral("edtSerNo"), typed);
        EXPECT_EQ(fields.text(QStringLiteral("edtCk")), QStringLiteral("OLD")) << typed.toStdString();
    }
    fields.setText(QStringLiteral("edtSerNo"), typed + u'3');
    EXPECT_EQ(fields.text(QStringLiteral("edtCk")), QStringLiteral("7890"));
    fields.setText(QStringLiteral("edtSerNo"), typed);
    EXPECT_EQ(fields.text(QStringLiteral("edtCk")), QStringLiteral("7890"));
}

} // namespace
