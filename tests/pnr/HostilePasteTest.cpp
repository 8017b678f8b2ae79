#include "Conversion.h"
#include "Strings.h"
#include "pnr/BoundedPattern.h"

#include <gtest/gtest.h>

// Qt compiles patterns to machine code where it can, and that engine skips
// much of the rescanning that makes a careless pattern slow on a long line;
// a debug build of Qt, or a platform without the compiler, runs PCRE's
// interpreter instead. A paste must never hang the window under either, so
// this test program runs the interpreter, the slower of the two. (Set before
// main(): Qt reads it when it compiles the first pattern.)
[[maybe_unused]] static const bool interpreterOnly = qputenv("QT_ENABLE_REGEXP_JIT", "0");

namespace {

constexpr qsizetype longLine = 1000000;

QString repeated(const char *piece, qsizetype length)
{
    const QString unit = QString::fromLatin1(piece);
    return unit.repeated(length / unit.size());
}

QString sampleWith(const QString &line, int before)
{
    QStringList lines = readFixture(QStringLiteral("sample.pnr")).split(u'\n');
    lines.insert(before, line);
    return lines.join(QStringLiteral("\r\n"));
}

TEST(BoundedPattern, GivesUpOnARunawaySearch)
{
    // Nested repeats try every way to split the a's before failing: about
    // 2^40 steps without a bound.
    const BoundedPattern runaway(QStringLiteral("(a+)+b"));
    const QString subject = QString(40, u'a') + QStringLiteral("!b");
    EXPECT_THROW(runaway.match(subject), PatternGaveUp);
    EXPECT_TRUE(runaway.match(QStringLiteral("aaab")).hasMatch());
}

TEST(BoundedPattern, FindsNothingBeyondTheEnd)
{
    const BoundedPattern any(QStringLiteral(".*"));
    EXPECT_TRUE(any.match(QStringLiteral("ab"), 2).hasMatch());
    EXPECT_FALSE(any.match(QStringLiteral("ab"), 3).hasMatch());
}

// Each line is as long as a paste can make it and built against one of the
// patterns, so that a pattern rescanning it from every start position would
// take hours. The conversion reads past it and gives what the rest of the
// display holds.
TEST(parsePnrText, ReadsPastALongHostileLine)
{
    const QString digits(longLine, u'1');
    const QString hostileLines[] = {
        digits + QStringLiteral("x."),
        QStringLiteral("5.") + digits,
        QStringLiteral("5.") + repeated("NI", longLine) + QStringLiteral(" /P1"),
        QStringLiteral("5.") + QString(longLine, u'A') + QStringLiteral("/P1"),
        QStringLiteral("5.SSR TKNE ") + digits,
        QStringLiteral("5.") + repeated("SSR TKNE", longLine) + QStringLiteral("7819631900123/1/X"),
        QStringLiteral("5.") + repeated("INF1234567890123", longLine) + QStringLiteral("/1/P1"),
        QStringLiteral("SCNY") + digits + QStringLiteral(".0"),
        repeated("SCNY1", longLine),
        QStringLiteral("5.") + repeated("MU5132 Y   WE26AUG  PEKHGH ", longLine),
        QStringLiteral("5.") + repeated("9.", longLine),
        QString(longLine, u' ') + QStringLiteral("5.X"),
        QStringLiteral("5.X") + repeated(" -1.", longLine),
        QStringLiteral("5.X") + repeated(" +", longLine) + QStringLiteral("1"),
        QStringLiteral("5.TN/") + digits + QStringLiteral("/P1"),
        QStringLiteral("5.TN/") + repeated("1-", longLine) + QStringLiteral("/P1"),
        QStringLiteral("5.SSR DOCS ") + repeated("/", longLine) + QStringLiteral("P1"),
        QStringLiteral("5.") + repeated("YQ:CNY1", longLine),
        QStringLiteral("5.") + repeated("MU5132 Y   WE26AUG20PEKHGH UN2", longLine),
        QString(longLine, u'A') + QStringLiteral("X"),
    };
    const FixtureLists lists;
    const QDate today(2026, 12, 10);
    Receipt plain;
    plain.convert(sampleWith(QString(), 4), today, lists.airNames, lists.cityNames);

    for (const QString &line : hostileLines) {
        Receipt receipt;
        // After the segment line, where only documents, tickets and amounts
        // are read.
        receipt.convert(sampleWith(line, 4), today, lists.airNames, lists.cityNames);
        EXPECT_EQ(receipt.snapshot(), plain.snapshot()) << line.left(40).toStdString();
    }
}

TEST(parsePnrText, ReadsALongHostileNameLine)
{
    const QString nameLines[] = {
        QStringLiteral("3.") + repeated(" a", longLine),
        QStringLiteral("3.") + QString(longLine, u'1') + QStringLiteral("x 4.WANG"),
        QStringLiteral("3.") + repeated("1.", longLine),
        QStringLiteral("3.") + repeated("12345.", longLine) + QStringLiteral(" ABC123"),
        QStringLiteral("3.") + repeated("MU5101  Y", longLine),
        QStringLiteral("3.") + repeated("BJS/T ", longLine),
        QStringLiteral("3.X") + repeated(" -EO", longLine),
    };
    const FixtureLists lists;
    const QDate today(2026, 12, 10);
    for (const QString &line : nameLines) {
        Receipt receipt;
        // Between the sample's name line and its segment: more names.
        receipt.convert(sampleWith(line, 3), today, lists.airNames, lists.cityNames);
        QStringList names;
        for (const PassengerChooser::Entry &entry : receipt.passengers.entries())
            names.append(entry.name.left(2));
        EXPECT_EQ(names.mid(0, 2), u8list({"张三", "李四"})) << line.left(40).toStdString();
        EXPECT_EQ(receipt.fields.text(QStringLiteral("edtFlight1")), QStringLiteral("MU5132"));
        EXPECT_EQ(receipt.fields.text(QStringLiteral("edtTotal")), QStringLiteral("1910.00"));
    }
}

// Before the names: an item 0 as long as a paste can make it, read as the
// group's header, and lines that look like a locator of their own.
TEST(parsePnrText, ReadsALongHostileGroupHeader)
{
    const QString lines[] = {
        QStringLiteral("0.1 ") + repeated("NM1 ", longLine) + QStringLiteral("ABCDEF"),
        QStringLiteral("0.1") + repeated(" NM", longLine),
        QStringLiteral("0.") + repeated("ABCDEF ", longLine),
    };
    const FixtureLists lists;
    const QDate today(2026, 12, 10);
    for (const QString &line : lines) {
        Receipt receipt;
        receipt.convert(sampleWith(line, 2), today, lists.airNames, lists.cityNames);
        EXPECT_EQ(receipt.fields.text(QStringLiteral("edtFlight1")), QStringLiteral("MU5132"))
            << line.left(40).toStdString();
        EXPECT_EQ(receipt.fields.text(QStringLiteral("edtTotal")), QStringLiteral("1910.00"));
    }
}

// A fare line of a hundred thousand taxes, and a tax of a million digits:
// the taxes add up, the one no fare can hold counts nothing, and the total
// they contradict is left empty.
TEST(parsePnrText, ReadsALongRunOfTaxes)
{
    const QString fareLine = QStringLiteral("9.FN/A/FCNY1860.00/SCNY1860.00/C0.00/") +
                             repeated("TCNY1.25YR/", 100000 * 11) + QStringLiteral("TCNY") +
                             QString(longLine, u'9') + QStringLiteral("XT/TCNY50.00CN/ACNY1910.00");
    const FixtureLists lists;
    Receipt receipt;
    receipt.convert(fareLine, QDate(2026, 12, 10), lists.airNames, lists.cityNames);
    EXPECT_EQ(receipt.fields.text(QStringLiteral("edtTax")), QStringLiteral("125000.00"));
    EXPECT_EQ(receipt.fields.text(QStringLiteral("edtCAAC")), QStringLiteral("50.00"));
    EXPECT_EQ(receipt.fields.text(QStringLiteral("edtTotal")), QString());
}

// An endorsement as long as a paste can make it, over many lines.
TEST(parsePnrText, ReadsALongEndorsement)
{
    const QString chinese(longLine, QChar(0x4E0D));
    QStringList lines = {QStringLiteral("9.EI/X") + chinese};
    for (int line = 0; line < 100000; ++line)
        lines.append(QStringLiteral("   X") + QChar(0x4E0D));
    const FixtureLists lists;
    Receipt receipt;
    receipt.convert(lines.join(u'\r'), QDate(2026, 12, 10), lists.airNames, lists.cityNames);
    // One piece, from its first Chinese character on, each line joined on
    // after a blank.
    const QString endorsement = receipt.fields.text(QStringLiteral("cboEndorsement"));
    EXPECT_EQ(endorsement.size(), longLine + 3 * 100000);
    EXPECT_TRUE(endorsement.startsWith(chinese + QStringLiteral(" X") + QChar(0x4E0D) + u' '));
}

// Each search starts where the last one ended, on the whole text; nothing may
// read the whole text again for every line.
TEST(parsePnrText, ReadsPastManyLines)
{
    QStringList many;
    for (int item = 0; item < 200000; ++item)
        many.append(QStringLiteral("%1.OSI CA CTCT13800138000").arg(item % 90 + 10));
    const FixtureLists lists;
    const QDate today(2026, 12, 10);
    Receipt plain;
    plain.convert(sampleWith(QString(), 4), today, lists.airNames, lists.cityNames);
    Receipt receipt;
    receipt.convert(sampleWith(many.join(QStringLiteral("\r\n")), 4), today, lists.airNames,
                    lists.cityNames);
    EXPECT_EQ(receipt.snapshot(), plain.snapshot());
}

TEST(parsePnrText, ReadsPastAnUnpairedSurrogate)
{
    const FixtureLists lists;
    const QDate today(2026, 12, 10);
    Receipt plain;
    plain.convert(sampleWith(QString(), 4), today, lists.airNames, lists.cityNames);
    for (const QChar half : {QChar(0xD800), QChar(0xDC00)}) {
        Receipt receipt;
        receipt.convert(sampleWith(QStringLiteral("5.SSR OTHS ") + half, 4), today, lists.airNames,
                        lists.cityNames);
        EXPECT_EQ(receipt.snapshot(), plain.snapshot());
    }
    Receipt named;
    named.convert(sampleWith(QStringLiteral("3.WANG") + QChar(0xD800) + QStringLiteral("WU"), 3),
                  today, lists.airNames, lists.cityNames);
    ASSERT_EQ(named.passengers.entries().size(), 3);
    EXPECT_EQ(named.passengers.entries().at(2).name, QStringLiteral("WANG\uFFFDWU"));
}

// A group's names, and as many OSI items as a paste can hold before them,
// each naming one passenger: matching every item against every name for
// every passenger would hold the window for minutes. Each passenger gets the
// number of the first item that names them.
TEST(parsePnrText, GivesTheTicketsOfManyOsiItems)
{
    // Names of letters alone, as OSI items write them: "ZHANG/BCD".
    const auto letters = [](int k) {
        QString written;
        for (const QChar digit : QString::number(k))
            written.append(QChar(u'A' + (digit.unicode() - u'0')));
        return written;
    };
    constexpr int names = 900;
    QStringList lines;
    for (int j = 0; j < 100000; ++j)
        lines.append(QStringLiteral("OSI 1E CAET TN/999%1 1ZHANG%2")
                         .arg(j, 10, 10, QLatin1Char('0'))
                         .arg(letters(j % names + 1)));
    for (int k = 1; k <= names; ++k)
        lines.append(QStringLiteral("%1.ZHANG/%2").arg(k).arg(letters(k)));
    lines.append(QStringLiteral("%1.  CA1501 Y   TU15DEC  PEKSHA HK9   0800 1010").arg(names + 1));
    const FixtureLists lists;
    Receipt receipt;
    receipt.convert(lines.join(QStringLiteral("\r\n")), QDate(2026, 12, 10), lists.airNames,
                    lists.cityNames);
    const QList<PassengerChooser::Entry> &entries = receipt.passengers.entries();
    ASSERT_EQ(entries.size(), names);
    EXPECT_EQ(entries.first().info.ticketNumber, QStringLiteral("9990000000000"));
    EXPECT_EQ(entries.last().name, QStringLiteral("ZHANG/") + letters(names));
    EXPECT_EQ(entries.last().info.ticketNumber, QStringLiteral("9990000000899"));
}

} // namespace
