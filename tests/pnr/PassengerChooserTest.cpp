#include "Conversion.h"
#include "Strings.h"

#include <gtest/gtest.h>

namespace {

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

} // namespace
