#include "Conversion.h"
#include "Strings.h"

#include <gtest/gtest.h>

// Whole reservation displays as agents paste them, each .pnr beside the
// fields it must give (.expected).

namespace {

class FixtureDisplay : public ::testing::TestWithParam<std::string>
{
protected:
    QString name() const { return QString::fromStdString(GetParam()); }
};

TEST(FixtureDisplays, AreThere)
{
    EXPECT_FALSE(fixtureDisplayNames().empty()) << fixturePath(QString()).toStdString();
}

TEST_P(FixtureDisplay, GivesItsExpectedFields)
{
    const QString display = readFixture(name() + QStringLiteral(".pnr"));
    ASSERT_FALSE(display.isEmpty());
    const Expected expected =
        Expected::fromLines(readFixture(name() + QStringLiteral(".expected")).split(u'\n'));
    const FixtureLists lists;

    // The terminal copies CR LF; the PNR box hands its text over with LF;
    // a paste from an old Mac tool has bare CR.
    const struct
    {
        const char *name;
        QString lineEnd;
    } lineEnds[] = {{"CR LF", QStringLiteral("\r\n")},
                    {"LF", QStringLiteral("\n")},
                    {"CR", QStringLiteral("\r")}};
    for (const auto &lineEnd : lineEnds) {
        const QString text = QString(display).replace(u'\n', lineEnd.lineEnd);
        Receipt receipt;
        receipt.convert(text, expected.today, lists.airNames, lists.cityNames);
        EXPECT_EQ(expected.differences(receipt), QStringList()) << lineEnd.name;
        EXPECT_EQ(expected.choiceDifferences(receipt), QStringList()) << lineEnd.name;
    }
}

// Whoever is chosen, the receipt's fare, airport tax, fuel surcharge and
// other tax make its total (a waived tax counting nothing), or the total is
// left empty: never amounts that contradict each other.
TEST_P(FixtureDisplay, AddsUpForEveryPassenger)
{
    const QString display = readFixture(name() + QStringLiteral(".pnr"));
    const Expected expected =
        Expected::fromLines(readFixture(name() + QStringLiteral(".expected")).split(u'\n'));
    const FixtureLists lists;
    Receipt receipt;
    receipt.convert(display, expected.today, lists.airNames, lists.cityNames);
    for (qsizetype k = -1; k < receipt.passengers.entries().size(); ++k) {
        if (k >= 0)
            receipt.passengers.choosePassenger(int(k));
        const ItineraryFields &fields = receipt.fields;
        const QString total = fields.text(Field::Total);
        long long sum = 0;
        for (Field part : {Field::Fare, Field::AirportTax, Field::FuelSurcharge, Field::OtherTax})
            sum += amountInFen(fields.text(part));
        if (total.isEmpty())
            continue;
        EXPECT_EQ(amountInFen(total), sum)
            << "entry " << k + 1 << ": " << fields.text(Field::Fare).toStdString() << " + "
            << fields.text(Field::AirportTax).toStdString() << " + "
            << fields.text(Field::FuelSurcharge).toStdString() << " + "
            << fields.text(Field::OtherTax).toStdString() << " != " << total.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Pnr, FixtureDisplay, ::testing::ValuesIn(fixtureDisplayNames()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             return info.param;
                         });

} // namespace
