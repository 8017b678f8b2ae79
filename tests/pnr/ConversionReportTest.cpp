#include "Conversion.h"
#include "DisplayItems.h"
#include "Strings.h"
#include "pnr/ConversionReport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

// What "PNR信息转" tells the agent: how many passengers and segments it
// read, and which of the values every receipt holds it left empty, each
// such field marked in the model until its text changes.

namespace {

QStringList names(const QList<FieldKey> &keys)
{
    QStringList list;
    for (const FieldKey &key : keys)
        list.append(fieldName(key));
    return list;
}

// The round trip of the fixtures without some of its items.
QString roundTripWithout(const QList<int> &items)
{
    return displayWithout(readFixture(QStringLiteral("round_trip.pnr")), items);
}

TEST(ConversionReport, NamesWhatWasReadAndWhatWasNotFoundInTheReceiptsOrder)
{
    const struct
    {
        qsizetype passengers, segments;
        QList<FieldKey> missing;
        const char *text;
    } cases[] = {
        {3, 2, {}, "已转换：3 位旅客，2 个航段"},
        {3, 2, {Field::TicketNumber, Field::Fare}, "已转换：3 位旅客，2 个航段；未找到：票号、票价"},
        {0,
         0,
         {Field::Passenger, Field::IdNumber, Field::TicketNumber, FieldKey(Field::Flight, 1),
          Field::Fare, Field::Total},
         "已转换：0 位旅客，0 个航段；未找到：姓名、证件号码、票号、航班、票价、合计"},
    };
    for (const auto &c : cases) {
        const ConversionReport report{c.passengers, c.segments, c.missing};
        EXPECT_EQ(report.text(), u8s(c.text));
    }
    const ConversionReport contradicted{1, 1, {Field::TicketNumber, Field::Total}, true};
    EXPECT_EQ(contradicted.text(),
              u8s("已转换：1 位旅客，1 个航段；未找到：票号；合计与票价、税费之和不符，未填"));
}

// A display whose fare and taxes do not make its total: the total is left
// empty, marked, and the report says why rather than that it was not found.
TEST(convertPnrText, SaysWhenTheTotalIsLeftOutForNotAddingUp)
{
    const FixtureLists lists;
    Receipt receipt;
    const ConversionReport report =
        convertPnrText(readFixture(QStringLiteral("total_not_adding_up.pnr")), receipt.fields,
                       receipt.passengers, lists.airNames, lists.cityNames, QDate(2026, 12, 10));
    EXPECT_EQ(report.text(), u8s("已转换：1 位旅客，1 个航段；合计与票价、税费之和不符，未填"));
    EXPECT_TRUE(receipt.fields.isMarkedMissing(QStringLiteral("edtTotal")));
}

TEST(ConversionReport, MarksTheEmptyValuesAndATypedOneLosesOnlyItsMark)
{
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtPassenger"), QStringLiteral("ZHANG/SAN"));
    fields.setText(QStringLiteral("edtFlight1"), QStringLiteral("MU5132"));
    fields.setText(QStringLiteral("edtFare"), QStringLiteral("1860.00")); // and so the total
    fields.setText(QStringLiteral("edtId"), QStringLiteral("  ")); // blanks are no value
    // Only the first row's flight is expected: the others stay unmarked.
    QSignalSpy marks(&fields, &ItineraryFields::missingMarkChanged);

    const ConversionReport report = markWhatIsMissing(fields, 1, 1);
    EXPECT_EQ(names(report.missing), u8list({"edtId", "edtTicketNo"}));
    EXPECT_EQ(report.text(), u8s("已转换：1 位旅客，1 个航段；未找到：证件号码、票号"));
    for (const FieldSpec &spec : itineraryFieldTable()) {
        const bool expected = spec.name == u"edtId" || spec.name == u"edtTicketNo";
        EXPECT_EQ(fields.isMarkedMissing(spec.name), expected) << spec.name.toStdString();
    }
    EXPECT_EQ(marks.size(), 2);

    fields.setText(QStringLiteral("edtTicketNo"), QStringLiteral("7843217765011"));
    EXPECT_FALSE(fields.isMarkedMissing(QStringLiteral("edtTicketNo")));
    EXPECT_TRUE(fields.isMarkedMissing(QStringLiteral("edtId")));
    ASSERT_EQ(marks.size(), 3);
    EXPECT_EQ(marks.last(), (QList<QVariant>{QStringLiteral("edtTicketNo"), false}));

    // Asked again, the report follows the receipt as it now stands.
    fields.setText(QStringLiteral("edtFlight1"), QString());
    EXPECT_EQ(names(markWhatIsMissing(fields, 1, 1).missing), u8list({"edtId", "edtFlight1"}));
    EXPECT_TRUE(fields.isMarkedMissing(QStringLiteral("edtFlight1")));
    EXPECT_FALSE(fields.isMarkedMissing(QStringLiteral("edtTicketNo")));
}

TEST(convertPnrText, KeepsTheSerialNumberAndReportsTheDisplaysGaps)
{
    const FixtureLists lists;
    const struct
    {
        QList<int> dropped; // lines of the round trip left out
        const char *report;
        std::vector<const char *> marked;
    } cases[] = {
        {{}, "已转换：2 位旅客，2 个航段", {}},
        // No tickets and no fare line: nor is there a total.
        {{9, 10, 11, 12, 15},
         "已转换：2 位旅客，2 个航段；未找到：票号、票价、合计",
         {"edtTicketNo", "edtFare", "edtTotal"}},
        {{7, 8}, "已转换：2 位旅客，2 个航段；未找到：证件号码", {"edtId"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.report);
        Receipt receipt;
        receipt.fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("4440001000 3"));
        receipt.fields.setText(QStringLiteral("edtTicketNo"), QStringLiteral("OLD"));
        const ConversionReport report =
            convertPnrText(roundTripWithout(c.dropped), receipt.fields, receipt.passengers,
                           lists.airNames, lists.cityNames, QDate(2026, 12, 10));
        EXPECT_EQ(report.text(), u8s(c.report));
        EXPECT_EQ(names(report.missing), u8list(c.marked));
        for (const char *name : c.marked)
            EXPECT_TRUE(receipt.fields.isMarkedMissing(QString::fromLatin1(name))) << name;
        EXPECT_EQ(receipt.fields.text(QStringLiteral("edtSerNo")), QStringLiteral("4440001000 3"));
        EXPECT_EQ(receipt.fields.text(QStringLiteral("edtCk")), QStringLiteral("1000"));
        EXPECT_EQ(receipt.fields.text(QStringLiteral("edtFlight2")), QStringLiteral("CZ3117"));
    }
}

} // namespace
