#include "itinerary/ClearItinerary.h"
#include "Strings.h"
#include "common/TextRules.h"
#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"

#include <gtest/gtest.h>

namespace {

const QStringList keptByClearing =
    u8list({"cboEndorsement", "edtYQ", "edtFarePer", "edtCAACPer", "edtYQPer", "edtTaxPer",
            "edtTotalPer", "edtCk", "edtInformation", "cboAgentCode1", "cboAgentCode2",
            "cboIssueBy", "edtDateOfInsue", "edtGuowai", "Edit1", "Edit2", "edtCode", "Memo1"});

QString heldAs(const FieldSpec &spec, const QString &text)
{
    return spec.upperCase ? upperCased(text) : text;
}

TEST(clearItinerary, EmptiesWhatAConversionFillsAndKeepsTheRest)
{
    ItineraryFields fields;
    fields.setPassengerEntries(u8list({"张三"}));
    fields.setPassengerIndex(0);
    fields.setInternational(true);
    for (const FieldSpec &spec : itineraryFieldTable()) {
        if (spec.kind != FieldKind::Switch && spec.kind != FieldKind::Choice)
            fields.setText(spec.name, QStringLiteral("X") + spec.name);
    }
    fields.setText(QStringLiteral("edtFare"), QStringLiteral("1860.00"));

    clearItinerary(fields);

    for (const FieldSpec &spec : itineraryFieldTable()) {
        if (spec.kind == FieldKind::Switch || spec.kind == FieldKind::Choice)
            continue;
        const QString text = fields.text(spec.name);
        if (keptByClearing.contains(spec.name))
            EXPECT_EQ(text, heldAs(spec, QStringLiteral("X") + spec.name))
                << spec.name.toStdString();
        else if (spec.name == QLatin1String("edtIssue"))
            EXPECT_EQ(text, QStringLiteral("XXX"));
        else
            EXPECT_EQ(text, QString()) << spec.name.toStdString();
    }
    // The total is emptied after the amounts, so it stays empty; the fare
    // bases are emptied after the classes, so they stay empty too.
    EXPECT_EQ(fields.text(QStringLiteral("edtTotal")), QString());
    EXPECT_EQ(fields.text(QStringLiteral("edtBasts1")), QString());
    EXPECT_TRUE(fields.international());
    EXPECT_EQ(fields.passengerEntries(), u8list({"张三"}));
    EXPECT_EQ(fields.passengerIndex(), 0);
}

TEST(clearItinerary, LeavesTheAmountLineAsTheDefaultsAfterAnEmptyStart)
{
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtFare"), QStringLiteral("1860"));
    clearItinerary(fields);
    QStringList amountLine;
    for (const char *name : {"edtFarePer", "edtFare", "edtCAACPer", "edtCAAC", "edtYQPer", "edtYQ",
                             "edtTaxPer", "edtTax", "edtTotalPer", "edtTotal", "edtIssue"})
        amountLine.append(fields.text(QString::fromLatin1(name)));
    EXPECT_EQ(amountLine, u8list({"CNY", "", "CN", "", "YQ", "EXEMPT", "", "", "CNY", "", "XXX"}));
}

} // namespace
