#include "itinerary/FieldRules.h"
#include "Strings.h"
#include "itinerary/ItineraryFields.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(recalcTotal, SumsTheFourAmountsExactlyInFen)
{
    const struct
    {
        const char *fare, *tax, *yq, *other, *total;
    } cases[] = {
        {"1860.00", "50.00", "EXEMPT", "", "1910.00"},
        {"1860.00", "50.00", "110", "", "2020.00"},
        {"1860", "50", "", "", "1910.00"},
        {"1860.50", "50.50", "500.00", "", "2411.00"},
        {"4235.60", "90.00", "1120.80", "345.70", "5792.10"},
        {"0.10", "0.20", "", "", "0.30"}, // no binary fractions on the way
        {"1860.99", "", "", "", "1860.99"},
        {"0.90", "0.90", "", "", "1.80"},
        {"", "", "", "", "0.00"},
        {"12,345.00", "", "", "", "12345.00"},
        {"1,860.00", "50", "", "", "1910.00"},
        {"1,234,567.5", "", "", "", "1234567.50"},
        // A comma that is no thousands separator makes no number.
        {"1860,50", "50", "", "", "50.00"},
        {"1,86", "50", "", "", "50.00"},
        {"12,3456", "50", "", "", "50.00"},
        {"CNY1860", "50", "", "", "50.00"},
        {"-3.5", "", "", "", "-3.50"},
        {"-0.05", "", "", "", "-0.05"},
        {"100", "-100.01", "", "", "-0.01"},
        {" 12 ", ".5", "1e2", "+7.", "119.50"},
        {"12.999", "", "", "", "12.99"}, // beyond the fen: cut toward zero
        {"-12.999", "", "", "", "-12.99"},
        {"1.5e1", "1e-3", "", "", "15.00"},
        {"2147483647", "2147483647", "", "", "4294967294.00"},
        {"999999999999999.99", "0.01", "", "", "1000000000000000.00"},
        {"1000000000000000", "5", "", "", "5.00"},
        {"1e300", "5", "NAN", "INF", "5.00"},
        {"+", "-", ".", "1.2.3", "0.00"},
    };
    for (const auto &c : cases) {
        ItineraryFields fields;
        fields.setText(QStringLiteral("edtFare"), u8s(c.fare));
        fields.setText(QStringLiteral("edtCAAC"), u8s(c.tax));
        fields.setText(QStringLiteral("edtYQ"), u8s(c.yq));
        fields.setText(QStringLiteral("edtTax"), u8s(c.other));
        EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), u8s(c.total))
            << c.fare << " " << c.tax << " " << c.yq << " " << c.other;
    }
}

// The total is the same on every machine: "." is the decimal point also
// where the regional settings write a comma.
TEST(recalcTotal, IgnoresTheRegionalDecimalSeparator)
{
    const QLocale before;
    for (const QLocale::Language language : {QLocale::German, QLocale::French, QLocale::Chinese}) {
        QLocale::setDefault(QLocale(language));
        ItineraryFields fields;
        fields.setText(QStringLiteral("edtFare"), QStringLiteral("1860.00"));
        fields.setText(QStringLiteral("edtCAAC"), QStringLiteral("50.00"));
        EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("1910.00"));
        fields.setText(QStringLiteral("edtCAAC"), QStringLiteral("50,50"));
        EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("1860.00"));
    }
    QLocale::setDefault(before);
}

TEST(recalcTotal, OverwritesATypedTotalWhileATypedTotalRunsNothing)
{
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtFare"), QStringLiteral("100"));
    fields.setText(QStringLiteral("edtTotal"), QStringLiteral("5"));
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("5"));
    fields.setText(QStringLiteral("edtTax"), QStringLiteral("1"));
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("101.00"));
}

TEST(FareBasis, FollowsTheClassOfItsOwnRowOneWayOnly)
{
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtSeat2"), QStringLiteral("y"));
    EXPECT_EQ(fields.text(QStringLiteral("edtBasts2")), QStringLiteral("Y"));
    EXPECT_EQ(fields.text(QStringLiteral("edtBasts1")), QString());
    fields.setText(QStringLiteral("edtBasts2"), QStringLiteral("YOW"));
    EXPECT_EQ(fields.text(QStringLiteral("edtSeat2")), QStringLiteral("Y"));
    fields.setText(QStringLiteral("edtSeat2"), QString());
    EXPECT_EQ(fields.text(QStringLiteral("edtBasts2")), QString());
    for (int row = 1; row <= 4; ++row) {
        fields.setText(QStringLiteral("edtSeat%1").arg(row), QStringLiteral("F%1").arg(row));
        EXPECT_EQ(fields.text(QStringLiteral("edtBasts%1").arg(row)),
                  QStringLiteral("F%1").arg(row));
    }
}

TEST(InternationalSwitch, EmptiesTheFuelSurchargeWhenTurnedOnAndNotBack)
{
    ItineraryFields fields;
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
        // Blanks are held as one space, so these are the same number.
        {"1234567890\t3", "7890"},
        {"1234567890  3", "7890"},
        {"1234567890\u30003", "7890"},
        {"\uFF11\uFF12\uFF13\uFF14\uFF15\uFF16\uFF17\uFF18\uFF19\uFF10 \uFF13", "7890"},
        {"123456789 3", ""},
        {"1234567890", ""},
        {"12345678903", ""},
        {"ABCDEFGHIJ 3", ""},
        {"No.1234567890 3", "7890"},
        {"1234567890 3 X9", "903X"},
        {"1234567890 31", "8903"},
        {"", ""},
    };
    for (const auto &c : cases) {
        ItineraryFields fields;
        fields.setText(QStringLiteral("edtCk"), QStringLiteral("OLD"));
        fields.setText(QStringLiteral("edtSerNo"), u8s(c.serial));
        const QString expected = *c.checkCode ? u8s(c.checkCode) : QStringLiteral("OLD");
        EXPECT_EQ(fields.text(QStringLiteral("edtCk")), expected) << c.serial;
    }
}

TEST(CheckCode, StaysWhileASerialNumberIsTypedUntilItIsComplete)
{
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtCk"), QStringLiteral("OLD"));
    QString typed;
    for (QChar c : QStringLiteral("1234567890 ")) {
        typed += c;
        fields.setText(QStringLiteral("edtSerNo"), typed);
        EXPECT_EQ(fields.text(QStringLiteral("edtCk")), QStringLiteral("OLD"))
            << typed.toStdString();
    }
    fields.setText(QStringLiteral("edtSerNo"), typed + u'3');
    EXPECT_EQ(fields.text(QStringLiteral("edtCk")), QStringLiteral("7890"));
    fields.setText(QStringLiteral("edtSerNo"), typed);
    EXPECT_EQ(fields.text(QStringLiteral("edtCk")), QStringLiteral("7890"));
}

} // namespace

namespace {

// A receipt closed with the switch on comes back with the surcharge typed
// after it and the total kept with it.
TEST(InternationalSwitch, RestoredKeepsTheStoredSurchargeAndTotal)
{
    ItineraryFields fields;
    std::vector<bool> shown;
    QObject::connect(&fields, &ItineraryFields::internationalChanged, &fields,
                     [&shown](bool on) { shown.push_back(on); });
    fields.setText(QStringLiteral("edtFare"), QStringLiteral("1860.00"));
    fields.setText(QStringLiteral("edtYQ"), QStringLiteral("500.00"));
    fields.setText(QStringLiteral("edtTotal"), QStringLiteral("2360.00"));

    fields.restoreInternational(true);
    EXPECT_TRUE(fields.international());
    EXPECT_EQ(shown, std::vector<bool>{true});
    EXPECT_EQ(fields.text(QStringLiteral("edtYQ")), QStringLiteral("500.00"));
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("2360.00"));

    // Switched by hand afterwards, the rule holds again.
    fields.setInternational(false);
    fields.setInternational(true);
    EXPECT_EQ(fields.text(QStringLiteral("edtYQ")), QString());
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("1860.00"));
}

} // namespace
