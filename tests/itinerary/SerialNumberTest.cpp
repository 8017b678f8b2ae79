#include "itinerary/SerialNumber.h"
#include "Strings.h"
#include "itinerary/ItineraryFields.h"

#include <gtest/gtest.h>

namespace {

// What the serial number box holds after the text is typed or written.
TEST(SerialNumber, IsHeldWithWhatIsClearlyTheSameNumberMadePlain)
{
    const struct
    {
        const char *typed;
        const char *held;
        bool wellFormed;
    } cases[] = {
        {"1234567890 3", "1234567890 3", true},
        {"1234567890  3", "1234567890 3", true},
        {"1234567890\t3", "1234567890 3", true},
        {"1234567890\u30003", "1234567890 3", true},        // ideographic space
        {"1234567890\u00A0\u3000 3", "1234567890 3", true}, // a mixed run
        {"\uFF11\uFF12\uFF13\uFF14\uFF15\uFF16\uFF17\uFF18\uFF19\uFF10\u3000\uFF13", "1234567890 3",
         true},                                      // all full-width
        {"  1234567890 3 ", " 1234567890 3 ", true}, // blanks around count for nothing
        {"1234567890 ", "1234567890 ", false},       // half typed: left as it is
        {"12345678903", "12345678903", false},
        {"1234567890 31", "1234567890 31", false},
        {"123456789 3", "123456789 3", false},
        {"12345 67890 3", "12345 67890 3", false},
        {"12345", "12345", false},
        {"ABCDEFGHIJ 3", "ABCDEFGHIJ 3", false},
        {"１２３", "123", false},
        {"", "", false},
        {"  ", " ", false},
    };
    for (const auto &c : cases) {
        ItineraryFields fields;
        fields.setText(QStringLiteral("edtSerNo"), u8s(c.typed));
        const QString held = fields.text(QStringLiteral("edtSerNo"));
        EXPECT_EQ(held, u8s(c.held)) << c.typed;
        EXPECT_EQ(normalisedSerialNumber(u8s(c.typed)), u8s(c.held)) << c.typed;
        EXPECT_EQ(isWellFormedSerialNumber(held), c.wellFormed) << c.typed;
        EXPECT_EQ(isMalformedSerialNumber(held), !c.wellFormed && !held.trimmed().isEmpty())
            << c.typed;
    }
}

// Typed digit by digit, a second blank before the check digit is no change.
TEST(SerialNumber, ASecondBlankTypedIsNoChange)
{
    ItineraryFields fields;
    int changes = 0;
    QObject::connect(
        &fields, &ItineraryFields::textChanged, &fields,
        [&changes](const QString &name) { changes += name == QLatin1String("edtSerNo"); });
    fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("1234567890 "));
    fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("1234567890  "));
    EXPECT_EQ(changes, 1);
    fields.setText(QStringLiteral("edtSerNo"), QStringLiteral("1234567890  3"));
    EXPECT_EQ(fields.text(QStringLiteral("edtSerNo")), QStringLiteral("1234567890 3"));
    EXPECT_EQ(fields.text(QStringLiteral("edtCk")), QStringLiteral("7890"));
}

} // namespace
