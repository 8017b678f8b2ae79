#include "print/NumberAdvance.h"
#include "itinerary/ItineraryFields.h"

#include <gtest/gtest.h>

TEST(advanceSerial, NumberAndCheckDigitMoveOn)
{
    const struct
    {
        const char *serial;
        const char *next;
    } cases[] = {
        {"1234567890 3", "1234567891 4"},
        {"1234567896 6", "1234567897 0"},
        {"1234567890   5", "1234567891   6"}, // the blank run stays as it was
        {"1234567890\t5", "1234567890\t5"},   // a tab stays in the number part
        {"12345 67890 3", "1234567891 4"},    // inner spaces go, W is the first run
        {"1234567899 7", "1234567900 0"},     // 7, 8 and 9 are followed by 0
        {"1234567899 9", "1234567900 0"},
        {"9999999999 1", "10000000000 2"},
        // The number keeps its width, so the check code can follow it.
        {"0123456789 2", "0123456790 3"},
        {"0000000000 0", "0000000001 1"},
        // Exact beyond any machine integer.
        {"123456789012345678901234567899 5", "123456789012345678901234567900 6"},
        // Left alone.
        {"", ""},
        {"ABCDEFGHIJK", "ABCDEFGHIJK"},
        {"1234567890", "1234567890"},
        {"1234567890 X", "1234567890 X"},
        {"A1234567890 3", "A1234567890 3"},
        {"1234567890 3X", "1234567890 3X"},
        {"-1234567890 3", "-1234567890 3"},
        {"12.5 3", "12.5 3"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(advanceSerial(QString::fromLatin1(c.serial)), QString::fromLatin1(c.next))
            << c.serial;
}

namespace {

struct Receipt
{
    const char *serial;
    const char *checkCode;
};

void expectAdvance(const Receipt &before, const Receipt &after)
{
    ItineraryFields fields;
    fields.setText(QStringLiteral("edtSerNo"), QString::fromUtf8(before.serial));
    fields.setText(QStringLiteral("edtCk"), QString::fromLatin1(before.checkCode));
    reportPageAfterPrint(fields);
    EXPECT_EQ(fields.text(QStringLiteral("edtSerNo")), QString::fromUtf8(after.serial))
        << before.serial << " / " << before.checkCode;
    EXPECT_EQ(fields.text(QStringLiteral("edtCk")), QString::fromLatin1(after.checkCode))
        << before.serial << " / " << before.checkCode;
}

} // namespace

// A serial number longer than 10 characters advances; the check code then
// follows it through the field's own rule.
TEST(NumberAdvance, SerialNumberAdvancesAndTheCheckCodeFollows)
{
    const struct
    {
        Receipt before;
        Receipt after;
    } cases[] = {
        {{"1234567890 3", "7890"}, {"1234567891 4", "7891"}},
        {{"0123456789 2", "6789"}, {"0123456790 3", "6790"}},
        {{"  1234567896 6 ", "7896"}, {"1234567897 0", "7897"}},
        // Two blanks are held as one: the number and its check code move on.
        {{"1234567890  5", "1111"}, {"1234567891 6", "7891"}},
        {{"\uFF11\uFF12\uFF13\uFF14\uFF15\uFF16\uFF17\uFF18\uFF19\uFF10\u3000\uFF13", "1111"},
         {"1234567891 4", "7891"}},
        // Longer than 10 characters but not of the stock's form: both stay
        // as they are, so no sheet gets a number that the stock never had.
        {{"ABCDEFGHIJK ", "0099"}, {"ABCDEFGHIJK ", "0099"}},
        {{"1234567890 X", "0099"}, {"1234567890 X", "0099"}},
        {{"12345678903", "0099"}, {"12345678903", "0099"}},
        {{"1234567890 31", "8903"}, {"1234567890 31", "8903"}},
        {{"12345 67890 3", "0099"}, {"12345 67890 3", "0099"}},
        {{"123456789 3", "0099"}, {"123456789 3", "0099"}},
    };
    for (const auto &c : cases)
        expectAdvance(c.before, c.after);
}

// Otherwise the check code counts up within its width.
TEST(NumberAdvance, CheckCodeCountsWithinItsWidth)
{
    const struct
    {
        Receipt before;
        Receipt after;
    } cases[] = {
        {{"", "7890"}, {"", "7891"}},
        {{"", "0099"}, {"", "0100"}},
        {{"", "9999"}, {"", "0000"}},
        {{"", ""}, {"", ""}},
        {{"", " 0099 "}, {"", "0100"}},
        {{"", "999999999"}, {"", "000000000"}},
        {{"12345", "0001"}, {"12345", "0002"}}, // 5 characters: the check code advances
        {{"1234567890", "0001"}, {"1234567890", "0002"}},
        // Not a count: stays.
        {{"", "12A4"}, {"", "12A4"}},
        {{"", "-123"}, {"", "-123"}},
        {{"", "+123"}, {"", "+123"}},
        {{"", "12 3"}, {"", "12 3"}},
        {{"", "1234567890"}, {"", "1234567890"}}, // 10 digits are out of range
    };
    for (const auto &c : cases)
        expectAdvance(c.before, c.after);
}
