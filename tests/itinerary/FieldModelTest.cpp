#include "Strings.h"
#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"

#include <QSet>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(FieldTable, HoldsTheSeventyEightRememberedFieldsInStorageOrder)
{
    QStringList remembered;
    for (const FieldSpec &spec : itineraryFieldTable()) {
        if (spec.remembered)
            remembered.append(spec.name);
    }
    ASSERT_EQ(remembered.size(), 78);
    EXPECT_EQ(remembered.mid(0, 12),
              u8list({"Edit1", "Edit2", "edtCode", "cboPassenger", "edtSerNo", "edtPassenger",
                      "edtId", "cboEndorsement", "edtPnr", "edtT1", "edtFrom1", "edtFromCode1"}));
    EXPECT_EQ(remembered.mid(38, 8), u8list({"edtFare", "edtCAAC", "edtTime1", "edtTime2",
                                             "edtTime3", "edtTime4", "edtYQ", "edtFarePer"}));
    EXPECT_EQ(remembered.mid(52, 8),
              u8list({"edtNotValidBefore1", "edtTax", "edtTaxPer", "edtTotal", "edtTotalPer",
                      "edtCk", "edtTicketNo", "edtIssue"}));
    EXPECT_EQ(remembered.last(7),
              u8list({"cboAgentCode1", "cboAgentCode2", "cboIssueBy", "edtGuowai", "edtDateOfInsue",
                      "edtInformation", "chkGuowai"}));
    EXPECT_EQ(findField(QStringLiteral("edtFlight2"))->accessibleName(), u8s("航班号 FLIGHT 2"));
    EXPECT_EQ(findField(QStringLiteral("edtFrom1"))->caption, u8s("自 FROM"));
    EXPECT_EQ(findField(QStringLiteral("edtFrom5"))->caption, u8s("至 TO"));
}

// Each field's key names exactly one entry of the table, and the key and the
// object name lead to each other: the code names a field by its key, the
// window, the stored files and the print layout by its name.
TEST(FieldTable, EveryKeyNamesOneFieldAndItsName)
{
    QSet<QString> names;
    for (const FieldSpec &spec : itineraryFieldTable()) {
        SCOPED_TRACE(spec.name.toStdString());
        EXPECT_EQ(findField(FieldKey(spec.field, spec.row)), &spec);
        EXPECT_EQ(fieldName({spec.field, spec.row}), spec.name);
        EXPECT_EQ(findField(spec.name), &spec);
        names.insert(spec.name);
    }
    EXPECT_EQ(names.size(), qsizetype(itineraryFieldTable().size()));

    const struct
    {
        FieldKey key;
        const char *name;
        const char *printLabel;
    } cases[] = {{Field::Fare, "edtFare", "qlblFare"},
                 {{Field::Carrier, 1}, "cboAir1", "qlblAir1"},
                 {{Field::From, 5}, "edtFrom5", "qlblFrom5"},
                 {{Field::AgentCode, 2}, "cboAgentCode2", "qlblAgentCode2"},
                 {Field::InternationalMark, "edtGuowai", "qlblGuowai"}};
    for (const auto &c : cases) {
        EXPECT_EQ(fieldName(c.key), QString::fromLatin1(c.name));
        EXPECT_EQ(findField(c.key)->printLabel(), QString::fromLatin1(c.printLabel));
    }
    // A row a field does not have, and a row given to a field without rows.
    for (FieldKey none :
         {FieldKey(Field::Flight, 5), FieldKey(Field::From, 6), FieldKey(Field::Fare, 1),
          FieldKey(Field::Flight, 0), FieldKey(Field::Flight, -1)}) {
        EXPECT_EQ(findField(none), nullptr);
        EXPECT_EQ(fieldName(none), QString());
    }
    EXPECT_EQ(lastRow(Field::From), 5);
    EXPECT_EQ(lastRow(Field::Flight), 4);
    EXPECT_EQ(lastRow(Field::AgentCode), 2);
    EXPECT_EQ(lastRow(Field::Fare), 0);
}

TEST(FieldModel, StartsWithTheDesignedDefaults)
{
    const ItineraryFields fields;
    const struct
    {
        const char *name;
        const char *text;
    } defaults[] = {{"edtFarePer", "CNY"}, {"edtFare", ""},     {"edtCAACPer", "CN"},
                    {"edtCAAC", ""},       {"edtYQPer", "YQ"},  {"edtYQ", "EXEMPT"},
                    {"edtTaxPer", ""},     {"edtTax", ""},      {"edtTotalPer", "CNY"},
                    {"edtTotal", ""},      {"edtIssue", "XXX"}, {"edtGuowai", "国际(I)"},
                    {"cboPassenger", ""},  {"edtSerNo", ""}};
    for (const auto &d : defaults)
        EXPECT_EQ(fields.text(u8s(d.name)), u8s(d.text)) << d.name;
    EXPECT_FALSE(fields.international());
    EXPECT_TRUE(fields.passengerEntries().isEmpty());
}

TEST(FieldModel, HoldsReceiptTextsInUpperCaseAndKeepsTheCaseOfTheOthers)
{
    ItineraryFields fields;
    const struct
    {
        const char *name;
        const char *written;
        const char *held;
    } cases[] = {
        {"edtFlight1", "mu5132", "MU5132"},   {"edtPassenger", "zhang/san", "ZHANG/SAN"},
        {"cboAir2", "mu东方", "MU东方"},      {"cboEndorsement", "non-end", "NON-END"},
        {"edtPassenger", "straße", "STRAßE"}, {"edtInformation", "keep lower", "keep lower"},
        {"edtGuowai", "intl(i)", "intl(i)"},  {"Edit2", "zhang", "zhang"},
        {"edtCode", "ab12", "ab12"},          {"Memo1", "rt abc", "rt abc"}};
    for (const auto &c : cases) {
        fields.setText(u8s(c.name), u8s(c.written));
        EXPECT_EQ(fields.text(u8s(c.name)), u8s(c.held)) << c.name;
    }
}

TEST(FieldModel, AWriteToAnUnknownNameOrOfTheSameTextChangesNothing)
{
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtFare"), QStringLiteral("100"));
    QSignalSpy changes(&fields, &ItineraryFields::textChanged);
    fields.setText(QStringLiteral("cboAir5"), QStringLiteral("VOID"));
    fields.setText(QStringLiteral("edtFrom6"), QStringLiteral("PEK"));
    fields.setText(QStringLiteral("chkGuowai"), QStringLiteral("1"));
    EXPECT_EQ(fields.text(QStringLiteral("cboAir5")), QString());
    EXPECT_FALSE(fields.international());

    fields.setText(QStringLiteral("edtTotal"), QStringLiteral("999.00"));
    changes.clear();
    fields.setText(QStringLiteral("edtFare"), QStringLiteral("100"));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QStringLiteral("999.00"));
}

TEST(FieldModel, ThePassengerChooserShowsOnlyOneOfItsEntries)
{
    ItineraryFields fields;
    fields.setPassengerEntries(u8list({"张三", "李四"}));
    EXPECT_EQ(fields.passengerIndex(), -1);
    fields.setText(QStringLiteral("cboPassenger"), u8s("李四"));
    EXPECT_EQ(fields.passengerIndex(), 1);
    EXPECT_EQ(fields.text(QStringLiteral("cboPassenger")), u8s("李四"));
    fields.setText(QStringLiteral("cboPassenger"), u8s("王五"));
    EXPECT_EQ(fields.passengerIndex(), -1);
    EXPECT_EQ(fields.text(QStringLiteral("cboPassenger")), QString());
}

} // namespace
