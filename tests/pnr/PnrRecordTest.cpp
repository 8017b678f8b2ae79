#include "Strings.h"
#include "pnr/PnrItems.h"
#include "pnr/PnrReader.h"

#include <gtest/gtest.h>

// The record a display is read into, without a receipt: what each kind of
// item gives, where the names end, the locator, the segments' status and
// dates, the taxes by their codes, the endorsement.

namespace {

using Lines = std::vector<const char *>;

const QDate today(2026, 12, 10);

PnrRecord record(const Lines &lines)
{
    return readPnrRecord(u8list(lines).join(QStringLiteral("\r\n")), today);
}

QStringList passengers(const PnrRecord &record)
{
    QStringList list;
    for (const PassengerChooser::Entry &entry : record.passengers)
        list.append(entry.name + u'|' + entry.info.id + u'|' + entry.info.ticketNumber);
    return list;
}

const char *const segmentLine = " 3.  CA1501 Y   TU15DEC  PEKSHA HK2   0800 1010          E T3T2";

QStringList itemTexts(const QString &display)
{
    QStringList texts;
    for (const PnrItem &item : pnrItems(display))
        texts.append(item.number < 0 ? u'?' + item.text()
                                     : QString::number(item.number) + u'.' + item.text());
    return texts;
}

TEST(PnrItems, CutsAtEveryKindOfLineBreak)
{
    const QString text = QStringLiteral("1.A\r\n2.B\n3.C\r4.D\u20285.E\r\n\r\n6.F");
    EXPECT_EQ(itemTexts(text), u8list({"1.A", "2.B", "3.C", "4.D", "5.E", "6.F"}));
}

TEST(PnrItems, FindsTheItemsHoweverTheDisplayWasCopied)
{
    const struct
    {
        const char *what;
        const char *text;
        Lines items;
    } cases[] = {
        {"a page mark with the next page's item glued to it",
         "7.SSR TKNE MU HK1 7812345678902/1/P2    -8.SSR TKNE MU",
         {"7.SSR TKNE MU HK1 7812345678902/1/P2", "8.SSR TKNE MU"}},
        {"after + and a blank", "7.OSI CA CTCT139     + 8.RMK X", {"7.OSI CA CTCT139", "8.RMK X"}},
        {"three on one line", "1.A  -2.B  +3.C", {"1.A", "2.B", "3.C"}},
        {"a hyphen inside a word is no mark", "4.BJS/T 010-5.5", {"4.BJS/T 010-5.5"}},
        {"a mark that no item follows", "4.FARE -5 +X", {"4.FARE -5 +X"}},
        {"a mark at the start of the line", "   -5.SSR FOID", {"5.SSR FOID"}},
        {"a mark at the end of the line", "3.  CA1501 Y            +", {"3.CA1501 Y"}},
        {"a hyphen ending a word", "4.RMK TEL 010-", {"4.RMK TEL 010-"}},
        {"items run together, each after the one before",
         "1.张三 2.李四 HX7QJ2 3. CA1501 Y TU15DEC PEKSHA HK2 0800 1010 E T3T2 4.RMK X",
         {"1.张三", "2.李四 HX7QJ2", "3.CA1501 Y TU15DEC PEKSHA HK2 0800 1010 E T3T2", "4.RMK X"}},
        {"inside a line only the next number begins an item",
         "5.FC/A/BJS MU SHA 9.00Y 6.FP/CASH 8.X",
         {"5.FC/A/BJS MU SHA 9.00Y", "6.FP/CASH 8.X"}},
        {"an amount begins no item, even at the start of a line",
         "1.A\n  1910.00",
         {"1.A 1910.00"}},
        {"a group's header is an item although a digit follows",
         ">RT KQ7X2M 0.12BJTUAN NM12 KQ7X2M 1.张三",
         {"0.12BJTUAN NM12 KQ7X2M", "1.张三"}},
        {"prompts anywhere", "1.A >PN 2.B\n>pn\n3.C", {"1.A", "2.B", "3.C"}},
        {"a prompt inside a line blanks only its command: the page goes on",
         "9.EI/不得签转/仅限CA航 >PN 班使用 10.FP/CASH",
         {"9.EI/不得签转/仅限CA航班使用", "10.FP/CASH"}},
        {"a page mark glued to a word before the next page",
         "11.SSR DOCS X/P1+ >PN 12.RMK A-\n13.RMK T2--",
         {"11.SSR DOCS X/P1", "12.RMK A-", "13.RMK T2--"}},
        {"continuation lines belong to the item above, a break at / joined",
         "9.FN/A/FCNY1860.00/TEXEMPTYQ/\n    ACNY1910.00\n10.SSR DOCS X/IRELAND E\n/P1\n"
         "11.RMK A\nB",
         {"9.FN/A/FCNY1860.00/TEXEMPTYQ/ACNY1910.00", "10.SSR DOCS X/IRELAND E/P1", "11.RMK A B"}},
        {"a line broken between two Chinese characters",
         "9.EI/改期退票\n收费",
         {"9.EI/改期退票收费"}},
        {"a price quote continues no item",
         "6.CTU166\n>PAT:A\n01 Y FARE:CNY1630.00 TAX:CNY50.00 TOTAL:1680.00\nSFC:01",
         {"6.CTU166"}},
        {"tabs and no-break spaces for blanks", "1.\t张三\u00a02.李四", {"1.张三", "2.李四"}},
        {"the next number glued to a word",
         "2.WANG/FANG MS KX7P2M3.  CX251 N 4.SSR FOID CX HK1 PPE1/P15.RMK A",
         {"2.WANG/FANG MS KX7P2M", "3.CX251 N", "4.SSR FOID CX HK1 PPE1/P1", "5.RMK A"}},
        {"no number glued to a blank, to a sign or to an amount",
         "4.RMK NOW 2315. OK/3.4 5.00 CNY4210.00 A-5. B5.0",
         {"4.RMK NOW 2315. OK/3.4 5.00 CNY4210.00 A-5. B5.0"}},
        {"a log viewer's ^M for every line end, with or without a break",
         "1.A^M\r\n2.B^M\n3.C^M4.D^M", {"1.A", "2.B", "3.C", "4.D"}},
        {"lines before the first item each on their own, a banner dropped",
         "RTXXXXXX\n**ELECTRONIC TICKET PNR**\nFN/A/SCNY10.00/\n  ACNY10.00\n1.A",
         {"?RTXXXXXX", "?FN/A/SCNY10.00/ACNY10.00", "1.A"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(itemTexts(u8s(c.text)), u8list(c.items)) << c.what;
}

// Screen rows of 80 columns run together: a row filled to its last column
// glues its last word to the next row's item number, and its page mark in
// column 80 to the text before it.
TEST(PnrItems, FindsItemsWhereTheScreenRowsBegin)
{
    const QString filled =
        u8s("10.SSR DOCS CA HK1 P/IRL/PA1234567/IRL/12MAR75/F/20JUN28/SMITHSON/MARIE ELLEN/P2");
    ASSERT_EQ(filled.size(), 80);
    // Twelve columns, 67 more, the mark in the 80th.
    const QString words = u8s(" 9.RMK 张三 ") + QString(67, u'A');
    EXPECT_EQ(itemTexts(filled + u8s("11.SSR TKNE CA HK1 9992360000001/1/P2")),
              u8list({"10.SSR DOCS CA HK1 P/IRL/PA1234567/IRL/12MAR75/F/20JUN28/SMITHSON/MARIE "
                      "ELLEN/P2",
                      "11.SSR TKNE CA HK1 9992360000001/1/P2"}));
    EXPECT_EQ(itemTexts(u8s(" 8.RMK A") + QString(72, u' ') + words + u'+' + u8s(">PN") +
                        QString(77, u' ') + u8s("10.RMK B")),
              QStringList({QStringLiteral("8.RMK A"), words.mid(1), QStringLiteral("10.RMK B")}));
}

TEST(PnrItems, KeepsTheRowOfTheFixedColumns)
{
    const QList<PnrItem> items =
        pnrItems(u8s("10.  MU5132 Y   WE26AUG  PEKHGH RR2   1055 1315          E T2--    +\n"
                     "    OP-MF8102"));
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items.first().row,
              u8s("10.  MU5132 Y   WE26AUG  PEKHGH RR2   1055 1315          E T2--     "));
    EXPECT_EQ(items.first().bodyStart, 3);
    EXPECT_EQ(items.first().continuation, u8s("OP-MF8102"));
}

TEST(readPnrRecord, GivesEachPassengerTheirDocumentAndTicket)
{
    const struct
    {
        const char *what;
        Lines display;
        Lines passengers;
    } cases[] = {
        {"the first ticket stays, the conjunction's next booklet does not replace it",
         {"1.ZHANG/SAN 2.LI/SI HX7QJ2", segmentLine,
          "4.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC 9991234567890/1/P1",
          "5.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC 9991234567892/1/P2",
          "6.SSR TKNE CA HK1 SHAPEK 1502 Y20DEC 9991234567891/1/P1",
          "7.SSR TKNE CA HK1 SHAPEK 1502 Y20DEC 9991234567893/1/P2"},
         {"ZHANG/SAN||9991234567890", "LI/SI||9991234567892"}},
        {"a TN item when no SSR TKNE gives the ticket",
         {"1.ZHANG/SAN 2.LI/SI HX7QJ2", segmentLine, "4.TN/999-1234567899/P1",
          "5.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC 9991234567892/1/P2", "6.TN/999-1234567898/P2"},
         {"ZHANG/SAN||9991234567899", "LI/SI||9991234567892"}},
        {"TN items: the infant's, a conjunction range, one without hyphen",
         {"1.ZHANG/SAN 2.LI/SI 3.WANG/WU HX7QJ2", segmentLine, "5.TN/IN/999-1234567800/P1",
          "6.TN/999-1234567801-02/P1", "7.TN/9991234567803/P2", "8.TN/999-12345678/P3"},
         {"ZHANG/SAN||9991234567801", "LI/SI||9991234567803", "WANG/WU||"}},
        {"an infant's SSR TKNE is not the adult's",
         {"1.ZHANG/SAN HX7QJ2", segmentLine,
          "4.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC INF9991234567800/1/P1",
          "5.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC 9991234567801/1/P1"},
         {"ZHANG/SAN||9991234567801"}},
        {"the passport of SSR DOCS without an NI/PP/ID item",
         {"1.SMITH/ANNA MS HX7QJ2", segmentLine,
          "4.SSR DOCS CA HK1 P/GBR/533123456/GBR/01JAN80/F/15JUN30/SMITH/ANNA/P1"},
         {"SMITH/ANNA MS|533123456|"}},
        {"an NI item wins over SSR DOCS, before it or after it",
         {"1.ZHANG/SAN 2.LI/SI HX7QJ2", segmentLine, "4.SSR FOID CA HK1 NI110101199001011234/P1",
          "5.SSR DOCS CA HK1 P/CN/G12345678/CN/01JAN90/M/15JUN30/ZHANG/SAN/P1",
          "6.SSR DOCS CA HK1 P/CN/G87654321/CN/01JAN91/F/15JUN30/LI/SI/P2",
          "7.SSR FOID CA HK1 PPE11112222/P2"},
         {"ZHANG/SAN|110101199001011234|", "LI/SI|E11112222|"}},
        {"the infant's passport is not the mother's, the mother's own is",
         {"1.SMITH/ANNA MS HX7QJ2", segmentLine,
          "4.SSR DOCS CA HK1 P/GBR/533999999/GBR/01JAN25/FI/15JUN30/SMITH/BABY/P1",
          "5.SSR DOCS CA HK1 P/GBR/533123456/GBR/01JAN80/F/15JUN30/SMITH/ANNA/P1"},
         {"SMITH/ANNA MS|533123456|"}},
        {"a name with NI in a DOCS item is no document",
         {"1.ROSSI/DANIELA MS HX7QJ2", segmentLine,
          "4.SSR DOCS CA HK1 P/ITA/YA1234567/ITA/01JAN80/F/15JUN30/ROSSI/DANIELA/P1"},
         {"ROSSI/DANIELA MS|YA1234567|"}},
        {"SSR DOCS of a passenger the names do not have",
         {"1.SMITH/ANNA MS HX7QJ2", segmentLine,
          "4.SSR DOCS CA HK1 P/GBR/533123456/GBR/01JAN80/F/15JUN30/SMITH/ANNA/P2",
          "5.SSR DOCS CA HK1 P/GBR/533123457/GBR/01JAN80/F/15JUN30/SMITH/ANNA/P0",
          "6.TN/999-1234567899/P0"},
         {"SMITH/ANNA MS||"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(passengers(record(c.display)), u8list(c.passengers)) << c.what;
}

// An e-ticket given only in an OSI item goes to the passenger it names, by
// number or by name; a group's range gives one number per name in name
// order; an SSR TKNE or TN item of the passenger wins.
TEST(readPnrRecord, TakesTheTicketsOfOsiItems)
{
    const struct
    {
        const char *what;
        Lines lines;
        Lines passengers;
    } cases[] = {
        {"one passenger, one number",
         {" 1.张三 HX7QJ2", segmentLine, " 4.OSI 1E CAET TN/9991234567890"},
         {"张三||9991234567890"}},
        {"a name in pinyin for the one passenger whose name is Chinese",
         {" 1.张三 HX7QJ2", segmentLine, " 4.OSI 1E CAET TN/999-1234567890 1ZHANGSAN"},
         {"张三||9991234567890"}},
        {"by the passenger's number",
         {" 1.A/B 2.C/D HX7QJ2", segmentLine, " 4.OSI 1E CAET TN/9991234567890/P2"},
         {"A/B||", "C/D||9991234567890"}},
        {"single numbers naming nobody, as many as the names, in name order",
         {" 1.A/B 2.C/D HX7QJ2", segmentLine, " 4.OSI 1E CAET TN/9991234567890",
          " 5.OSI 1E CAET TN/9991234567899"},
         {"A/B||9991234567890", "C/D||9991234567899"}},
        {"one number naming nobody among two names is nobody's",
         {" 1.A/B 2.C/D HX7QJ2", segmentLine, " 4.OSI 1E CAET TN/9991234567890"},
         {"A/B||", "C/D||"}},
        {"a range longer than the names",
         {" 1.A/B 2.C/D HX7QJ2", segmentLine, " 4.OSI 1E CAET TN/9991234567808-9991234567812"},
         {"A/B||9991234567808", "C/D||9991234567809"}},
        {"a range shorter than the names",
         {" 1.A/B 2.C/D 3.E/F HX7QJ2", segmentLine,
          " 4.OSI 1E CAET TN/999-1234567809-999-1234567810"},
         {"A/B||9991234567809", "C/D||9991234567810", "E/F||"}},
        {"a conjunction ticket's last booklet is no range",
         {" 1.A/B HX7QJ2", segmentLine, " 4.OSI 1E CAET TN/880-1234567890-91"},
         {"A/B||8801234567890"}},
        {"an SSR TKNE item wins",
         {" 1.A/B HX7QJ2", segmentLine, " 4.OSI 1E CAET TN/9991234567890",
          " 5.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC 9991111111111/1/P1"},
         {"A/B||9991111111111"}},
        {"a TN item wins", {" 1.A/B HX7QJ2", segmentLine, " 4.TN/999-2222222222/P1",
                            " 5.OSI 1E CAET TN/9991234567890"},
         {"A/B||9992222222222"}},
        {"an OSI item without a ticket",
         {" 1.A/B HX7QJ2", segmentLine, " 4.OSI CA CTCT13912345678/P1"},
         {"A/B||"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(passengers(record(c.lines)), u8list(c.passengers)) << c.what;
}

TEST(readPnrRecord, EndsTheNamesAtTheFirstItemThatIsNoName)
{
    const struct
    {
        const char *item;
        bool isName;
        const char *infant = nullptr; // the passenger it adds after the first
    } cases[] = {
        {"2.SSR FOID CA HK1 NI110101199001011234/P1", false},
        {"2.OSI CA CTCT13800138000", false},
        {"2.RMK CA/ABC123", false},
        {"2.TL/1200/15DEC/BJS188", false},
        {"2.FN/A/FCNY1860.00/SCNY1860.00/C0.00/XCNY50.00/TCNY50.00CN/", false},
        {"2.FC/A/15DEC26 BJS CA SHA 1860.00Y CNY1860.00END", false},
        {"2.FP/CASH,CNY", false},
        {"2.EI/BUDEQIANZHUAN不得签转", false},
        {"2.TN/999-1234567890/P1", false},
        {"2.XN/IN/张小宝INF(MAR25)/P1", false, "张小宝INF"},
        {"2.T", false},
        {"2.BJS/T BJS/T 010-12345678/TRAVEL/WANG ABCDEFG", false},
        {"2.BJS/T PEK/T-5129XXXX/BEIJING", false},
        {"2.MU5101  Y MO11JAN  PEKSHA DK1   0800 1010", false},
        {"2.KQ7X2M -EOT SUCCESSFUL, BUT ASR UNUSED FOR 1 OR MORE SEGMENTS", false},
        // Names that begin like an element, and are none.
        {"2.OSIPOV/IVAN MR", true},
        {"2.XIE/T", true},
        {"2.TLEUBAYEV/ASKAR", true},
        {"2.RMKX/A", true},
    };
    for (const auto &c : cases) {
        // The item, then one that would be a name: names end for good.
        const PnrRecord read = record({"1.ZHANG/SAN", c.item, "3.LI/SI HX7QJ2"});
        QStringList names;
        for (const PassengerChooser::Entry &entry : read.passengers)
            names.append(entry.name);
        QStringList expected =
            c.isName ? QStringList{u8s("ZHANG/SAN"), u8s(c.item).mid(2), QStringLiteral("LI/SI")}
                     : QStringList{QStringLiteral("ZHANG/SAN")};
        if (c.infant)
            expected.append(u8s(c.infant));
        EXPECT_EQ(names, expected) << c.item;
    }
}

TEST(readPnrRecord, FindsTheRecordLocator)
{
    const struct
    {
        const char *what;
        Lines display;
        const char *locator;
        Lines names;
    } cases[] = {
        {"closing the name line",
         {"1.张三 2.李四 HX7QJ2", segmentLine},
         "HX7QJ2",
         {"张三", "李四"}},
        {"with the carrier after it",
         {"1.赵六 2.王五 MZ4K7R/HU", segmentLine},
         "MZ4K7R",
         {"赵六", "王五"}},
        {"on a line of its own after the names",
         {" 1.张三 2.李四", "  NQ3W8P", segmentLine},
         "NQ3W8P",
         {"张三", "李四"}},
        {"on a line of its own with its carrier",
         {" 1.张三 2.李四", "  NQ3W8P/HU", segmentLine},
         "NQ3W8P",
         {"张三", "李四"}},
        {"a line of its own between names is no locator",
         {" 1.张三", "  NQ3W8P", " 2.李四", segmentLine},
         "",
         {"张三", "李四"}},
        {"a line of its own after an element is no locator",
         {" 1.张三", " 2.RMK X", "  BJS188", segmentLine},
         "",
         {"张三"}},
        {"a line of its own after the first segment is no locator",
         {" 1.张三", segmentLine, "  BJS188"},
         "",
         {"张三"}},
        {"a group's item 0",
         {" 0.15BJTUAN NM15 KQ7X2M", " 1.张三 2.李四", segmentLine},
         "KQ7X2M",
         {"张三", "李四"}},
        {"a group's item 0 and the same locator after the names",
         {" 0.15BJTUAN NM15 KQ7X2M", " 1.张三 2.李四 kq7x2m", segmentLine},
         "KQ7X2M",
         {"张三", "李四"}},
        {"a group's item 0 and another word after the names",
         {" 0.2HZX NM2 KQ7X2M", " 1.SMITH/JOHN 2.SMITH/ANNA ABCDEF", segmentLine},
         "KQ7X2M",
         {"SMITH/JOHN", "SMITH/ANNA ABCDEF"}},
        {"a group without names", {" 0.12HZX/AT NM12 JX0A1B", segmentLine}, "JX0A1B", {}},
        {"an item 0 that is no group header",
         {" 0.ZHANG HX7QJ2", segmentLine},
         "HX7QJ2",
         {"ZHANG"}},
    };
    for (const auto &c : cases) {
        const PnrRecord read = record(c.display);
        QStringList names;
        for (const PassengerChooser::Entry &entry : read.passengers)
            names.append(entry.name);
        EXPECT_EQ(read.locator, u8s(c.locator)) << c.what;
        EXPECT_EQ(names, u8list(c.names)) << c.what;
    }
}

TEST(readPnrRecord, KeepsEachSegmentWithItsStatus)
{
    const struct
    {
        const char *line;
        const char *status;
        bool flown;
        const char *date;
    } cases[] = {
        {" 3.  MU5101 Y   MO11JAN  PEKSHA HK1   0800 1010", "HK", true, "2027-01-11"},
        {" 3.  MU5101 Y   MO11JAN  PEKSHA RR1   0800 1010", "RR", true, "2027-01-11"},
        {" 3.  MU5101 Y   MO11JAN  PEKSHA TK1   0800 1010", "TK", true, "2027-01-11"},
        {" 3.  MU5101 Y   MO11JAN  PEKSHA HN1   0800 1010", "HN", true, "2027-01-11"},
        {" 3.  MU5101 Y   MO11JAN  PEKSHA UN1   0800 1010", "UN", false, "2027-01-11"},
        {" 3.  MU5101 Y   MO11JAN  PEKSHA UC1   0800 1010", "UC", false, "2027-01-11"},
        {" 3.  MU5101 Y   MO11JAN  PEKSHA NO1   0800 1010", "NO", false, "2027-01-11"},
        {" 3.  MU5101 Y   MO11JAN  PEKSHA HX1   0800 1010", "HX", false, "2027-01-11"},
        {" 3.  MU5101 Y   MO11JAN  PEKSHA XX1   0800 1010", "XX", false, "2027-01-11"},
        {" 3.  MU5101 Y   MO11JAN  PEKSHA XL1   0800 1010", "XL", false, "2027-01-11"},
        // A year printed after the month is the year, whatever the weekday.
        {" 3.  MU5101 Y   TH09APR20PEKSHA RR1   0800 1010", "RR", true, "2020-04-09"},
        {" 3.  MU5101 Y   SA29FEB20PEKSHA RR1   0800 1010", "RR", true, "2020-02-29"},
        {" 3.  MU5101 Y   MO29FEB21PEKSHA RR1   0800 1010", "RR", true, ""},
        {" 3.  MU5101 Y   TH09APR2 PEKSHA RR1   0800 1010", "RR", true, "2026-04-09"},
    };
    for (const auto &c : cases) {
        const PnrRecord read = record({"1.ZHANG/SAN HX7QJ2", c.line});
        ASSERT_EQ(read.segments.size(), 1) << c.line;
        const PnrSegment &segment = read.segments.first();
        EXPECT_EQ(segment.status, u8s(c.status)) << c.line;
        EXPECT_EQ(segment.isFlown(), c.flown) << c.line;
        // Alone, a segment takes its row whatever its status.
        EXPECT_EQ(read.rowSegments().size(), 1) << c.line;
        EXPECT_EQ(segment.date, u8s(c.date)) << c.line;
        EXPECT_EQ(segment.flight, QStringLiteral("MU5101")) << c.line;
        EXPECT_EQ(segment.from + segment.to, QStringLiteral("PEKSHA")) << c.line;
    }
}

// A cancelled segment still ends the names.
// The flight number with its suffix letter, by the fixed columns and by the
// words, and the class after it.
TEST(readPnrRecord, ReadsTheFlightNumberAndClass)
{
    const struct
    {
        const char *line;
        const char *flight;
        const char *bookingClass;
    } cases[] = {
        {" 2.  HU7123AT   MO01FEB  HAKCAN HK3   1340 1455          E T1T2", "HU7123A", "T"},
        {" 2.  CA931A Y   FR15JAN  PEKFRA HK1   0135 0550", "CA931A", "Y"},
        {" 2.  MU5132 Y   WE26AUG  PEKHGH RR2   1055 1315", "MU5132", "Y"},
        {"2. HU7123AT MO01FEB HAKCAN HK3 1340 1455 E T1T2", "HU7123A", "T"},
        {"2. HU7123A T MO01FEB HAKCAN HK3 1340 1455", "HU7123A", "T"},
        {"2. CA931A Y FR15JAN PEKFRA HK1 0135 0550", "CA931A", "Y"},
        {"2. MU5132Y WE26AUG PEKHGH RR2 1055 1315", "MU5132", "Y"},
        {"2. MU5132 Y WE26AUG PEKHGH RR2 1055 1315", "MU5132", "Y"},
    };
    for (const auto &c : cases) {
        const PnrRecord read = record({"1.ZHANG/SAN HX7QJ2", c.line});
        ASSERT_EQ(read.segments.size(), 1) << c.line;
        EXPECT_EQ(read.segments.first().flight, u8s(c.flight)) << c.line;
        EXPECT_EQ(read.segments.first().bookingClass, u8s(c.bookingClass)) << c.line;
    }
}

TEST(readPnrRecord, EndsTheNamesAtASegmentThatIsNotFlown)
{
    const PnrRecord read = record(
        {"1.ZHANG/SAN HX7QJ2", " 2.  MU5101 Y   MO11JAN  PEKSHA XX1   0800 1010", "3.LI/SI"});
    EXPECT_EQ(passengers(read), u8list({"ZHANG/SAN||"}));
    EXPECT_EQ(read.segments.size(), 1);
}

// Cancelled segments fill no row while a flown one remains; a flight
// cancelled and not yet rebooked shows as it stands.
TEST(readPnrRecord, GivesRowsToTheFlownSegmentsOrToAllWhenNoneIsFlown)
{
    const char *const cancelled = " 2.  MU5101 Y   MO11JAN  PEKSHA HX1   0800 1010";
    const char *const flown = " 3.  MU5103 Y   MO11JAN  PEKSHA HK1   1000 1210";
    const char *const refused = " 4.  MU5105 Y   MO11JAN  PEKSHA UN1   1200 1410";
    const auto flights = [](const QList<PnrSegment> &segments) {
        QStringList list;
        for (const PnrSegment &segment : segments)
            list.append(segment.flight);
        return list;
    };
    EXPECT_EQ(flights(record({"1.ZHANG/SAN HX7QJ2", cancelled, flown, refused}).rowSegments()),
              u8list({"MU5103"}));
    EXPECT_EQ(flights(record({"1.ZHANG/SAN HX7QJ2", cancelled, refused}).rowSegments()),
              u8list({"MU5101", "MU5105"}));
}

TEST(readPnrRecord, ReadsTheTaxesOfTheFareLineByTheirCodes)
{
    using A = std::optional<QString>;
    const auto a = [](const char *text) { return A(QString::fromLatin1(text)); };
    const struct
    {
        const char *what;
        Lines display;
        PnrAmounts fareLine;
    } cases[] = {
        {"airport tax and an exempt fuel surcharge",
         {"9.FN/A/FCNY1860.00/SCNY1860.00/C0.00/XCNY50.00/TCNY50.00CN/TEXEMPTYQ/ACNY1910.00"},
         {a("1860.00"), a("50.00"), a("EXEMPT"), {}, a("1910.00")}},
        {"a fuel surcharge",
         {"9.FN/A/FCNY1320.00/SCNY1320.00/C0.00/XCNY80.00/TCNY50.00CN/TCNY30.00YQ/ACNY1400.00"},
         {a("1320.00"), a("50.00"), a("30.00"), {}, a("1400.00")}},
        {"an airport tax in yuan and fen",
         {"9.FN/A/FCNY1000.00/SCNY1000.00/C0.00/XCNY50.50/TCNY50.50CN/TEXEMPTYQ/"},
         {a("1000.00"), a("50.50"), a("EXEMPT"), {}, {}}},
        {"no airport tax due, foreign taxes over a continuation line",
         {"9.FN/A/FJPY52000.00/ECNY2650.00/SCNY2650.00/C0.00/XCNY1180.00/TEXEMPTCN/",
          "    TCNY480.00YQ/TCNY500.00SW/TCNY200.00OI/ACNY3830.00"},
         {a("2650.00"), a("EXEMPT"), a("480.00"), a("700.00"), a("3830.00")}},
        {"other taxes in fen add up",
         {"9.FN/A/FCNY4200.00/SCNY4200.00/C0.00/TCNY90.00CN/TCNY20.50YR/TCNY12.75E7/"},
         {a("4200.00"), a("90.00"), {}, a("33.25"), {}}},
        {"no fuel surcharge item at all",
         {"9.FN/A/FCNY1860.00/SCNY1860.00/C0.00/XCNY50.00/TCNY50.00CN/ACNY1910.00"},
         {a("1860.00"), a("50.00"), {}, {}, a("1910.00")}},
        {"an adult's without a total, the infant's after it",
         {"9.FN/A/FCNY1280.00/SCNY1280.00/C3.00/XCNY50.00/TCNY50.00CN/TCNY30.00YQ/",
          "10.FN/IN/FCNY130.00/SCNY130.00/C0.00/TEXEMPTCN/TCNY99.00YR/ACNY130.00/P1"},
         {a("1280.00"), a("50.00"), a("30.00"), {}, {}}},
        {"an exchange: the fare of FCNY, the total left to the sum",
         {"9.FN/A/FCNY640.00/SCNY0.00/RCNY640.00/C0.00/XCNY50.00/TCNY50.00CN/TEXEMPTYQ/"
          "OCNY50.00CN/ACNY0.00"},
         {a("640.00"), a("50.00"), a("EXEMPT"), {}, {}}},
        {"amounts in fen and without decimals",
         {"9.FN/A/FCNY1860.5/SCNY1860.5/C0.00/TCNY50CN/ACNY1910.50"},
         {a("1860.50"), a("50.00"), {}, {}, a("1910.50")}},
        {"a tax code glued to no element is no tax",
         {"9.FN/A/FCNY1860.00/SCNY1860.00/XTCNY50.00CN/ACNY1860.00"},
         {a("1860.00"), {}, {}, {}, a("1860.00")}},
    };
    for (const auto &c : cases) {
        const PnrRecord whole = record(c.display);
        ASSERT_FALSE(whole.fareLines.isEmpty()) << c.what;
        const PnrAmounts read = whole.fareLines.first().amounts;
        EXPECT_EQ(read.fare, c.fareLine.fare) << c.what;
        EXPECT_EQ(read.airportTax, c.fareLine.airportTax) << c.what;
        EXPECT_EQ(read.fuelSurcharge, c.fareLine.fuelSurcharge) << c.what;
        EXPECT_EQ(read.otherTax, c.fareLine.otherTax) << c.what;
        EXPECT_EQ(read.total, c.fareLine.total) << c.what;
    }
}

// Where FCNY and SCNY differ, the fare is the one with which the line adds
// up to its total; an exchange's SCNY 0.00 leaves the FCNY fare and no total.
TEST(readPnrRecord, TakesTheFareThatAddsUpToTheTotal)
{
    const struct
    {
        const char *line;
        const char *fare;
        const char *total;
    } cases[] = {
        {"FN/NR/FCNY2800.00/SCNY1900.00/XCNY600.00/TCNY600.00CN/ACNY3400.00", "2800.00",
         "3400.00"},
        {"FN/A/FCNY2800.00/SCNY1900.00/XCNY600.00/TCNY600.00CN/ACNY2500.00", "1900.00",
         "2500.00"},
        {"FN/A/FCNY2800.00/SCNY1900.00/XCNY600.00/TCNY600.00CN/ACNY9999.00", "1900.00",
         "9999.00"},
        {"FN/A/FCNY1200.00/SCNY0.00/C0.00/XCNY0.00/TEXEMPTCN/ACNY100.00", "1200.00", ""},
    };
    for (const auto &c : cases) {
        const PnrAmounts amounts = record({c.line}).fareLines.value(0).amounts;
        EXPECT_EQ(amounts.fare.value_or(QString()), QString::fromUtf8(c.fare)) << c.line;
        EXPECT_EQ(amounts.total.value_or(QString()), QString::fromUtf8(c.total)) << c.line;
    }
}

// The price display of QTE: the surcharges YQ and YR found in the breakdown
// of XT, the other taxes what the total leaves.
TEST(readPnrRecord, ReadsThePriceDisplayOfQte)
{
    const auto quote = [](const Lines &lines) {
        const QList<PnrPriceQuote> quotes = record(lines).priceQuotes;
        return quotes.isEmpty() ? PnrAmounts() : quotes.last().amounts;
    };
    const PnrAmounts full = quote({"FARE  CNY    4200", "TAX   CNY     90CN CNY     40DE CNY   2870XT",
                                   "TOTAL CNY    7200", "15JAN27BJS CA FRA303.72NUC303.72END",
                                   "XT CNY 311RA CNY 59OY CNY 2000YQ CNY 500YR"});
    EXPECT_EQ(full, (PnrAmounts{QStringLiteral("4200.00"), QStringLiteral("90.00"), QStringLiteral("2500.00"), QStringLiteral("410.00"), QStringLiteral("7200.00")}));

    // Without a breakdown XT is among the other taxes; without a total the
    // taxes are added up.
    const PnrAmounts plain = quote({"FARE  CNY    1000", "TAX   CNY     90CN CNY    120XT"});
    EXPECT_EQ(plain, (PnrAmounts{QStringLiteral("1000.00"), QStringLiteral("90.00"), std::nullopt, QStringLiteral("120.00"),
                                 QStringLiteral("1210.00")}));

    // A price quote's "FARE:" is no QTE display.
    EXPECT_EQ(record({"01 Y FARE:CNY1630.00 TAX:CNY50.00 YQ:TEXEMPTYQ  TOTAL:1680.00"})
                  .priceQuotes.size(),
              1);
}

TEST(readPnrRecord, TellsWhoseEachFareLineIs)
{
    const PnrRecord read =
        record({"1.LUO/GANG 2.LUO/XIAOMIN CHD HW2B7Q",
                "9.FN/A/FCNY1270.00/SCNY1270.00/C3.00/TCNY50.00CN/TEXEMPTYQ/ACNY1320.00",
                "10.FN/A/FCNY640.00/SCNY640.00/C3.00/TEXEMPTCN/TEXEMPTYQ/ACNY640.00/P2",
                "11.FN/IN/FCNY130.00/SCNY130.00/C0.00/TEXEMPTCN/TEXEMPTYQ/", "    ACNY130.00/P1"});
    QStringList lines;
    for (const PnrFareLine &line : read.fareLines)
        lines.append(QStringLiteral("%1 %2 %3")
                         .arg(line.amounts.total.value_or(QString()))
                         .arg(line.infant ? QStringLiteral("infant") : QStringLiteral("-"))
                         .arg(line.passenger));
    EXPECT_EQ(lines, u8list({"1320.00 - 0", "640.00 - 2", "130.00 infant 1"}));
}

TEST(readPnrRecord, ReadsTheFuelSurchargeOfThePriceDisplay)
{
    const struct
    {
        const char *line;
        std::optional<QString> fuelSurcharge;
    } cases[] = {
        {"01 Y FARE:CNY1320.00 TAX:CNY50.00 YQ:CNY30.00  TOTAL:1400.00", QStringLiteral("30.00")},
        {"01 Y FARE:CNY1320.00 TAX:CNY50.00 YQ:CNY30  TOTAL:1400.00", QStringLiteral("30.00")},
        {"01 Y FARE:CNY1320.00 TAX:CNY50.00 YQ:TEXEMPTYQ  TOTAL:1370.00", QStringLiteral("EXEMPT")},
        {"01 Y FARE:CNY1320.00 TAX:CNY50.00 TOTAL:1370.00", std::nullopt},
    };
    for (const auto &c : cases) {
        const PnrRecord quoted = record({c.line});
        ASSERT_EQ(quoted.priceQuotes.size(), 1) << c.line;
        const PnrAmounts read = quoted.priceQuotes.first().amounts;
        EXPECT_EQ(read.fuelSurcharge, c.fuelSurcharge) << c.line;
        EXPECT_EQ(read.fare, QStringLiteral("1320.00")) << c.line;
    }
}

TEST(readPnrRecord, ReadsEachPriceOfAPriceQuote)
{
    using A = std::optional<QString>;
    const auto a = [](const char *text) { return A(QString::fromLatin1(text)); };
    const struct
    {
        const char *line;
        PnrAmounts amounts;
    } cases[] = {
        {"01 YCH FARE:CNY570.00 TAX:TEXEMPTCN YQ:TEXEMPTYQ  TOTAL:570.00",
         {a("570.00"), a("EXEMPT"), a("EXEMPT"), {}, a("570.00")}},
        {"01 Y FARE:CNY1860.5 TAX:CNY50 TOTAL:1910.50",
         {a("1860.50"), a("50.00"), {}, {}, a("1910.50")}},
        // A fare is never waived: a garbled one is no fare.
        {"01 YCH FARE:EXEMPTCN YQ:TEXEMPTYQ OTAL:120.00", {{}, {}, a("EXEMPT"), {}, {}}},
    };
    for (const auto &c : cases) {
        const PnrRecord quoted = record({c.line});
        ASSERT_EQ(quoted.priceQuotes.size(), 1) << c.line;
        EXPECT_EQ(quoted.priceQuotes.first().amounts, c.amounts) << c.line;
    }
}

TEST(readPnrRecord, TakesTheEndorsementFromTheEiItem)
{
    const struct
    {
        const char *what;
        Lines display;
        const char *endorsement;
    } cases[] = {
        {"Chinese pieces",
         {"9.EI/BUDEQIANZHUAN不得签转/GAIQITUIPIAOSHOUFEI改期退票收费"},
         "不得签转/改期退票收费"},
        {"with a leading Q/",
         {"9.EI/Q/BUDEQIANZHUAN不得签转/BUDETUIPIAO不得退票"},
         "不得签转/不得退票"},
        {"no Chinese", {"9.EI/NON-END/NON-RERTE"}, "NON-END/NON-RERTE"},
        {"over a continuation line",
         {"9.EI/BUDEQIANZHUAN不得签转/GAIQITUIPIAOSHOUFEI改期退票收费/", "    BUDETUIPIAO不得退票",
          "10.FP/CASH,CNY"},
         "不得签转/改期退票收费/不得退票"},
        {"the first EI item", {"9.EI/不得签转", "10.EI/NON-END"}, "不得签转"},
        {"with a page mark", {"9.EI/不得签转                                   -"}, "不得签转"},
        {"none", {"9.RMK EI/不得签转"}, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(record(c.display).endorsement, u8s(c.endorsement)) << c.what;
}

} // namespace
