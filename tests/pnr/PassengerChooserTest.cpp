#include "Conversion.h"
#include "Strings.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<const char *>;

QStringList shown(const ItineraryFields &fields)
{
    return {fields.text(QStringLiteral("edtPassenger")), fields.text(QStringLiteral("edtId")),
            fields.text(QStringLiteral("edtTicketNo"))};
}

QList<PassengerChooser::Entry> twoPassengers()
{
    return {{u8s("张三"), {QStringLiteral("110101199001011234"), QStringLiteral("9991234567890")}},
            {u8s("李四"), {QStringLiteral("E12345678"), QString()}}};
}

TEST(PassengerChooser, ShowsTheFirstEntryWhenFilled)
{
    ItineraryFields fields;
    PassengerChooser chooser(fields);
    chooser.setEntries(twoPassengers());
    EXPECT_EQ(fields.passengerEntries(), u8list({"张三", "李四"}));
    EXPECT_EQ(fields.passengerIndex(), 0);
    EXPECT_EQ(fields.text(QStringLiteral("cboPassenger")), u8s("张三"));
    EXPECT_EQ(shown(fields), u8list({"张三", "110101199001011234", "9991234567890"}));
}

TEST(PassengerChooser, HoldsAtMost999Passengers)
{
    ItineraryFields fields;
    PassengerChooser chooser(fields);
    QList<PassengerChooser::Entry> many;
    for (int i = 1; i <= 5000; ++i)
        many.append({QStringLiteral("P/%1").arg(i), {}});
    chooser.setEntries(many);
    ASSERT_EQ(fields.passengerEntries().size(), 999);
    EXPECT_EQ(fields.passengerEntries().last(), QStringLiteral("P/999"));
    chooser.choosePassenger(999);
    EXPECT_EQ(fields.text(QStringLiteral("edtPassenger")), QStringLiteral("P/1"));
}

TEST(PassengerChooser, WritesAllThreeFieldsAtEveryChoice)
{
    ItineraryFields fields;
    PassengerChooser chooser(fields);
    chooser.setEntries(twoPassengers());

    chooser.choosePassenger(1);
    EXPECT_EQ(fields.passengerIndex(), 1);
    EXPECT_EQ(shown(fields), u8list({"李四", "E12345678", ""}));

    chooser.choosePassenger(0);
    EXPECT_EQ(shown(fields), u8list({"张三", "110101199001011234", "9991234567890"}));

    // Typed over, then chosen again: the entry's texts come back, and an
    // empty ticket number empties what was typed.
    fields.setText(QStringLiteral("edtId"), QStringLiteral("X"));
    chooser.choosePassenger(0);
    EXPECT_EQ(shown(fields), u8list({"张三", "110101199001011234", "9991234567890"}));
    fields.setText(QStringLiteral("edtTicketNo"), QStringLiteral("7811111111111"));
    chooser.choosePassenger(1);
    EXPECT_EQ(shown(fields), u8list({"李四", "E12345678", ""}));
    // Nothing flows back into the entry.
    EXPECT_EQ(chooser.entries().at(0).info.id, QStringLiteral("110101199001011234"));
}

TEST(PassengerChooser, IgnoresAChoiceWithoutEntry)
{
    ItineraryFields fields;
    PassengerChooser chooser(fields);
    chooser.setEntries(twoPassengers());
    fields.setText(QStringLiteral("edtPassenger"), QStringLiteral("WANG/WU"));
    for (int index : {-1, 2, 100})
        chooser.choosePassenger(index);
    EXPECT_EQ(fields.passengerIndex(), 0);
    EXPECT_EQ(shown(fields), u8list({"WANG/WU", "110101199001011234", "9991234567890"}));
}

TEST(PassengerChooser, EmptiedLeavesTheReceiptAsItIs)
{
    ItineraryFields fields;
    PassengerChooser chooser(fields);
    chooser.setEntries(twoPassengers());
    chooser.setEntries({});
    EXPECT_TRUE(fields.passengerEntries().isEmpty());
    EXPECT_EQ(fields.passengerIndex(), -1);
    EXPECT_EQ(shown(fields), u8list({"张三", "110101199001011234", "9991234567890"}));
    chooser.choosePassenger(0);
    EXPECT_EQ(fields.passengerIndex(), -1);
}

TEST(PassengerChooser, OffersThePassengersOfAConversion)
{
    const FixtureLists lists;
    Receipt receipt;
    receipt.convert(readFixture(QStringLiteral("sample.pnr")), QDate(2026, 12, 10), lists.airNames,
                    lists.cityNames);
    receipt.passengers.choosePassenger(1);
    EXPECT_EQ(shown(receipt.fields), u8list({"李四", "", ""}));

    receipt.convert(readFixture(QStringLiteral("round_trip.pnr")), QDate(2026, 12, 10),
                    lists.airNames, lists.cityNames);
    receipt.passengers.choosePassenger(1);
    EXPECT_EQ(shown(receipt.fields), u8list({"赵晓燕", "370102199207153322", "7843217765012"}));
    receipt.passengers.choosePassenger(0);
    EXPECT_EQ(shown(receipt.fields), u8list({"李明", "110101198501012345", "7843217765011"}));

    // A display that gives no names empties the chooser.
    receipt.convert(
        QStringLiteral(" 1.  CA1501 Y   TU15DEC  PEKSHA HK1   0800 1010          E T3T2"),
        QDate(2026, 12, 10), lists.airNames, lists.cityNames);
    EXPECT_TRUE(receipt.passengers.entries().isEmpty());
    EXPECT_TRUE(receipt.fields.passengerEntries().isEmpty());
    EXPECT_EQ(shown(receipt.fields), QStringList({QString(), QString(), QString()}));
}

// The amounts of a receipt add up to its total, or the total is empty:
// a display's total that its parts do not make is left for the agent.
TEST(writeAmounts, ShowsATotalOnlyWhereTheAmountsAddUpToIt)
{
    const struct
    {
        const char *what;
        bool international;
        PnrAmounts amounts;
        Lines receipt; // fare, airport tax, fuel surcharge, other tax, total
    } cases[] = {
        {"parts and total agree", false,
         {u8s("1860.00"), u8s("50.00"), std::nullopt, std::nullopt, u8s("1910.00")},
         {"1860.00", "50.00", "EXEMPT", "", "1910.00"}},
        {"a total the parts do not make", false,
         {u8s("1860.00"), u8s("50.00"), std::nullopt, std::nullopt, u8s("2000.00")},
         {"1860.00", "50.00", "EXEMPT", "", ""}},
        {"no total: the sum", false,
         {u8s("1860.00"), u8s("50.00"), u8s("120.00"), std::nullopt, std::nullopt},
         {"1860.00", "50.00", "120.00", "", "2030.00"}},
        {"international: the surcharge among the other taxes", true,
         {u8s("4200.00"), u8s("90.00"), u8s("480.00"), u8s("94.00"), u8s("4864.00")},
         {"4200.00", "90.00", "", "574.00", "4864.00"}},
        {"international, the surcharge waived", true,
         {u8s("1860.00"), u8s("50.00"), u8s("EXEMPT"), std::nullopt, u8s("1910.00")},
         {"1860.00", "50.00", "", "", "1910.00"}},
    };
    for (const auto &c : cases) {
        ItineraryFields fields;
        fields.setInternational(c.international);
        writeAmounts(fields, c.amounts);
        QStringList receipt;
        for (const QString &name : Expected::amountFields())
            receipt.append(fields.text(name));
        EXPECT_EQ(receipt, u8list(c.receipt)) << c.what;
    }
}

} // namespace
