#include "settings/DelimitedText.h"
#include "Strings.h"

#include <gtest/gtest.h>

namespace {

struct ReadCase
{
    const char *text;
    std::vector<const char *> entries;
};

TEST(DelimitedTextRead, SplitsAtCommasAndUnquotedBlanks)
{
    const ReadCase cases[] = {
        {"", {}},
        {"A", {"A"}},
        {"A,,B", {"A", "", "B"}},
        {"A B", {"A", "B"}},
        {"\"A B\"", {"A B"}},
        {"A,", {"A", ""}},
        {",A", {"", "A"}},
        {"  A , B  ", {"A", "B"}},
        {"\"say \"\"hi\"\"\",B", {"say \"hi\"", "B"}},
        {"\"open quote runs to the end", {"open quote runs to the end"}},
        {"\"\"", {""}},
        {"不得签转,NON-END/NON-REF", {"不得签转", "NON-END/NON-REF"}},
        {"\"不得签转/改期退票收费 \"", {"不得签转/改期退票收费 "}},
        {"A\tB\r\nC", {"A", "B", "C"}},
    };
    for (const ReadCase &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(fromDelimitedText(text), u8list(c.entries)) << c.text;
    }
}

struct WriteCase
{
    std::vector<const char *> entries;
    const char *text;
};

TEST(DelimitedTextWrite, QuotesOnlyEntriesThatNeedIt)
{
    const WriteCase cases[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"不得签转", "NON-END/NON-REF"}, "不得签转,NON-END/NON-REF"},
        {{"NON END"}, "\"NON END\""},
        {{"A,B"}, "\"A,B\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"A", "", "B"}, "A,,B"},
        {{"é中"}, "é中"},
    };
    for (const WriteCase &c : cases)
        EXPECT_EQ(toDelimitedText(u8list(c.entries)), u8s(c.text)) << c.text;
}

TEST(DelimitedTextRoundTrip, EveryWrittenListReadsBackTheSame)
{
    const std::vector<std::vector<const char *>> lists = {
        {"不得签转/改期退票收费 ", "NON-END", "A,B", "say \"hi\"", "tab\there"},
        {"", "X"},
        {"\"quoted\"", " leading"},
    };
    for (const auto &entries : lists) {
        const QStringList list = u8list(entries);
        EXPECT_EQ(fromDelimitedText(toDelimitedText(list)), list) << toDelimitedText(list).toStdString();
    }
}

} // namespace
