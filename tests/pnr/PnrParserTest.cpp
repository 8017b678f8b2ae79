#include "Conversion.h"
#include "Strings.h"

#include <gtest/gtest.h>

namespace {

QString display(const std::vector<const char *> &lines)
{
    QString text;
    for (const char *line : lines)
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    return text;
}

std::vector<const char *> with(std::vector<const char *> lines,
                               const std::vector<const char *> &more)
{
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// One segment line and what it gives with the fixtures' lists.
const char *const segmentLine = " 3.  CA1501 Y   TU15DEC  PEKSHA HK2   0800 1010          E T3T2";
const std::vector<const char *> segmentRow = {
    "cboAir1=中国国际航空", "edtFlight1=CA1501", "edtSeat1=Y",    "edtBasts1=Y",
    "edtDate1=2026-12-15",  "edtTime1=08:00",    "edtAllow1=20K", "edtFrom1=北京首都",
    "edtFrom2=上海虹桥",    "edtT1=T3",          "edtT2=T2",      "cboAir2=VOID",
    "edtFrom3=VOID"};

TEST(parsePnrText, GivesTheResultOfTheSampleDisplay)
{
    const QString sample =
        readFixture(QStringLiteral("sample.pnr")).replace(u'\n', QStringLiteral("\r\n"));
    ASSERT_FALSE(sample.isEmpty());
    const std::vector<const char *> result = {"edtFare=1860.00",
                                              "edtCAAC=50.00",
                                              "edtTotal=1910.00",
                                              "edtFlight1=MU5132",
                                              "edtSeat1=Y",
                                              "edtBasts1=Y",
                                              "edtDate1=2026-08-26",
                                              "edtTime1=10:55",
                                              "edtAllow1=20K",
                                              "edtT1=T2",
                                              "edtT2=",
                                              "cboAir2=VOID",
                                              "edtFrom3=VOID",
                                              "edtPnr=XXXXXX",
                                              "edtPassenger=张三",
                                              "edtId=",
                                              "edtTicketNo=",
                                              "passenger=张三||",
                                              "passenger=李四||"};

    // The names from the lists where they have them, else the codes.
    const FixtureLists lists;
    Receipt named;
    named.convert(sample, QDate(2026, 12, 10), lists.airNames, lists.cityNames);
    EXPECT_EQ(Expected::fromLines(
                  u8lines(with(result, {"cboAir1=东方航空", "edtFrom1=北京首都", "edtFrom2=杭州"})))
                  .differences(named),
              QStringList());

    const ReferenceList none;
    Receipt coded;
    coded.convert(sample, QDate(2026, 12, 10), none, none);
    EXPECT_EQ(
        Expected::fromLines(u8lines(with(result, {"cboAir1=MU", "edtFrom1=PEK", "edtFrom2=HGH"})))
            .differences(coded),
        QStringList());
    // The fuel surcharge is not read and keeps its text.
    EXPECT_EQ(coded.fields.text(QStringLiteral("edtYQ")), QStringLiteral("EXEMPT"));
}

TEST(parsePnrText, GivesWhatEachSmallDisplayHolds)
{
    const struct
    {
        const char *what;
        std::vector<const char *> display;
        std::vector<const char *> expected;
    } cases[] = {
        {"documents (NI, PP) and tickets of two passengers",
         {"1.ZHANG/SAN 2.SMITH/ANNA HX7QJ2", segmentLine,
          "4.SSR FOID CA HK1 NI110101199001011234/P1", "5.SSR FOID CA HK1 PPE12345678/P2",
          "6.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC 9991234567890/1/P1",
          "7.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC 9991234567891/1/P2"},
         with(segmentRow,
              {"edtPnr=HX7QJ2", "edtPassenger=ZHANG/SAN", "edtId=110101199001011234",
               "edtTicketNo=9991234567890", "passenger=ZHANG/SAN|110101199001011234|9991234567890",
               "passenger=SMITH/ANNA|E12345678|9991234567891"})},
        {"lines of passengers that the name line does not have",
         {"1.ZHANG/SAN 2.LI/SI HX7QJ2", segmentLine, "4.SSR FOID CA HK1 NI110101199001011234/P3",
          "5.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC 9991234567890/1/P3",
          "6.SSR FOID CA HK1 NI110101199001011234/P0",
          "7.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC 9991234567890/1/P0"},
         with(segmentRow, {"edtPnr=HX7QJ2", "edtPassenger=ZHANG/SAN", "passenger=ZHANG/SAN||",
                           "passenger=LI/SI||"})},
        {"no segment: the names end at the office line",
         {"1.ZHANG/SAN HX7QJ2", "2.BJS/T BJS/T 010-12345678/TRAVEL", "3.RMK CA/ABC123"},
         {"cboAir1=VOID", "edtFrom2=VOID", "edtPnr=HX7QJ2", "edtPassenger=ZHANG/SAN",
          "passenger=ZHANG/SAN||"}},
        {"a segment first: no names",
         {" 1.  CA1501 Y   TU15DEC  PEKSHA HK1   0800 1010          E T3T2",
          " 2.SSR FOID CA HK1 NI110101199001011234/P1"},
         segmentRow},
        {"a price display without a total",
         {"FARE:CNY1860 TAX:CNY50"},
         {"edtFare=1860.00", "edtCAAC=50.00", "edtTotal=1910.00"}},
        // The tax is not found, and the total that the fare alone does not
        // make is left empty.
        {"a price display with the tax before the fare",
         {"TAX:CNY50 FARE:CNY1860 TOTAL:2000"},
         {"edtFare=1860.00"}},
        {"a price display in yuan and fen",
         {"1.ZHANG/SAN HX7QJ2", segmentLine,
          "01 Y FARE:CNY1860.50 TAX:CNY50.00 YQ:TEXEMPTYQ  TOTAL:1910.50"},
         with(segmentRow, {"edtFare=1860.50", "edtCAAC=50.00", "edtTotal=1910.50", "edtPnr=HX7QJ2",
                           "edtPassenger=ZHANG/SAN", "passenger=ZHANG/SAN||"})},
        {"the fare line over the price display",
         {"1.ZHANG/SAN HX7QJ2", segmentLine, "01 Y FARE:CNY1000 TAX:CNY30 TOTAL:1030",
          "4.FN/A/FCNY1860.00/SCNY1860.00/C0.00/XCNY50.00/TCNY50.00CN/TEXEMPTYQ/ACNY1910.00"},
         with(segmentRow, {"edtFare=1860.00", "edtCAAC=50.00", "edtTotal=1910.00", "edtPnr=HX7QJ2",
                           "edtPassenger=ZHANG/SAN", "passenger=ZHANG/SAN||"})},
        {"taxes by their codes, in yuan and fen",
         {"1.ZHANG/SAN HX7QJ2", segmentLine,
          "4.FN/A/FCNY1860.00/SCNY1860.00/C0.00/XCNY160.50/TCNY50.50CN/TCNY110.00YQ/"},
         with(segmentRow, {"edtFare=1860.00", "edtCAAC=50.50", "edtYQ=110.00", "edtTotal=2020.50",
                           "edtPnr=HX7QJ2", "edtPassenger=ZHANG/SAN", "passenger=ZHANG/SAN||"})},
        {"29FEB with no leap year within a year of today",
         {"1.ZHANG/SAN HX7QJ2", " 3.  CA1501 Y   TU29FEB  PEKSHA HK2   0800 1010          E T3T2"},
         with(segmentRow,
              {"edtDate1=", "edtPnr=HX7QJ2", "edtPassenger=ZHANG/SAN", "passenger=ZHANG/SAN||"})},
        {"a January segment converted in December",
         {"1.ZHANG/SAN HX7QJ2", " 3.  CA1501 Y   TU05JAN  PEKSHA HK2   0800 1010          E T3T2"},
         with(segmentRow, {"today=2026-12-20", "edtDate1=2027-01-05", "edtPnr=HX7QJ2",
                           "edtPassenger=ZHANG/SAN", "passenger=ZHANG/SAN||"})},
        {"a passenger number of two digits",
         {"12.ZHANG HX7QJ2", segmentLine},
         with(segmentRow, {"edtPnr=HX7QJ2", "edtPassenger=ZHANG", "passenger=ZHANG||"})},
        {"a record locator and names in small letters",
         {"1.zhang/san 2.li/si hx7qj2", segmentLine},
         with(segmentRow, {"edtPnr=HX7QJ2", "edtPassenger=ZHANG/SAN", "passenger=zhang/san||",
                           "passenger=li/si||"})},
        {"no record locator after the last name",
         {"1.张三 2.李四", segmentLine},
         with(segmentRow, {"edtPassenger=张三", "passenger=张三||", "passenger=李四||"})},
        {"an older record's locator of five characters",
         {"1.张三 2.李四 AB12C", segmentLine},
         with(segmentRow,
              {"edtPnr=AB12C", "edtPassenger=张三", "passenger=张三||", "passenger=李四||"})},
        {"four characters are no record locator",
         {"1.张三 2.李四 AB12", segmentLine},
         with(segmentRow, {"edtPassenger=张三", "passenger=张三||", "passenger=李四 AB12||"})},
        {"an empty text", {}, {}},
        {"no numbered item", {"**ELECTRONIC TICKET PNR**", ">pn"}, {}},
    };
    const FixtureLists lists;
    for (const auto &c : cases) {
        const Expected expected = Expected::fromLines(u8lines(c.expected));
        Receipt receipt;
        receipt.convert(display(c.display), expected.today, lists.airNames, lists.cityNames);
        EXPECT_EQ(expected.differences(receipt), QStringList()) << c.what;
    }
}

TEST(parsePnrText, KeepsNothingBetweenRuns)
{
    const FixtureLists lists;
    const QDate today(2026, 12, 10);
    const QString first = readFixture(QStringLiteral("ten_passengers.pnr"));
    const QString second = readFixture(QStringLiteral("round_trip.pnr"));

    Receipt fresh;
    fresh.convert(second, today, lists.airNames, lists.cityNames);

    Receipt used;
    used.convert(first, today, lists.airNames, lists.cityNames);
    used.convert(second, today, lists.airNames, lists.cityNames);
    EXPECT_EQ(used.snapshot(), fresh.snapshot());

    used.convert(second, today, lists.airNames, lists.cityNames);
    EXPECT_EQ(used.snapshot(), fresh.snapshot());
}

TEST(parsePnrText, RunsTheFieldRulesBetweenItsWrites)
{
    // The price display gives no total: the total rule adds the fare, the
    // tax and the fuel surcharge.
    const FixtureLists lists;
    Receipt receipt;
    receipt.convert(
        display({"1.ZHANG/SAN HX7QJ2", segmentLine, "01 Y FARE:CNY1860 TAX:CNY50 YQ:CNY110"}),
        QDate(2026, 12, 10), lists.airNames, lists.cityNames);
    EXPECT_EQ(receipt.fields.text(QStringLiteral("edtTotal")), QStringLiteral("2020.00"));
    EXPECT_EQ(receipt.fields.text(QStringLiteral("edtYQ")), QStringLiteral("110.00"));
}

// The international surcharge of one display must not stay on the next,
// domestic receipt: a display without amounts leaves every amount box empty
// and the surcharge exempt; one without a surcharge leaves it exempt.
TEST(parsePnrText, LeavesNoAmountOfTheDisplayBefore)
{
    const FixtureLists lists;
    const QString international = display(
        {"1.SATO/KENJI MR HN6V2X", segmentLine,
         "4.FN/A/FCNY4200.00/SCNY4200.00/C0.00/TCNY90.00CN/TCNY850.00YQ/TCNY20.00YR/ACNY5160.00"});
    const struct
    {
        const char *what;
        std::vector<const char *> display;
        std::vector<const char *> amounts; // fare, airport tax, fuel, other, total
    } cases[] = {
        {"no amounts", {"1.ZHANG/SAN HX7QJ2", segmentLine}, {"", "", "EXEMPT", "", ""}},
        {"a price display without surcharge",
         {"1.ZHANG/SAN HX7QJ2", segmentLine, "01 Y FARE:CNY1860 TAX:CNY50"},
         {"1860.00", "50.00", "EXEMPT", "", "1910.00"}},
    };
    for (const auto &c : cases) {
        Receipt receipt;
        receipt.convert(international, QDate(2026, 12, 10), lists.airNames, lists.cityNames);
        ASSERT_EQ(receipt.fields.text(QStringLiteral("edtYQ")), QStringLiteral("850.00"));
        receipt.convert(display(c.display), QDate(2026, 12, 10), lists.airNames, lists.cityNames);
        QStringList amounts;
        for (const QString &name : Expected::amountFields())
            amounts.append(receipt.fields.text(name));
        EXPECT_EQ(amounts, u8list(c.amounts)) << c.what;
        // Choosing the passenger keeps the receipt as converted.
        receipt.passengers.choosePassenger(0);
        QStringList chosen;
        for (const QString &name : Expected::amountFields())
            chosen.append(receipt.fields.text(name));
        EXPECT_EQ(chosen, amounts) << c.what;
    }
}

TEST(parsePnrText, AFareLineWithoutFuelSurchargeLeavesNoneOnTheReceipt)
{
    // The fare line lists every tax of the ticket: without a YQ there is no
    // surcharge, whatever the receipt held from the display before.
    const FixtureLists lists;
    Receipt receipt;
    receipt.fields.setText(QStringLiteral("edtYQ"), QStringLiteral("110"));
    receipt.convert(display({"1.ZHANG/SAN HX7QJ2", segmentLine,
                             "4.FN/A/FCNY1860.00/SCNY1860.00/C0.00/XCNY50.00/TCNY50.00CN/"}),
                    QDate(2026, 12, 10), lists.airNames, lists.cityNames);
    EXPECT_EQ(receipt.fields.text(QStringLiteral("edtYQ")), QStringLiteral("EXEMPT"));
    EXPECT_EQ(receipt.fields.text(QStringLiteral("edtTotal")), QStringLiteral("1910.00"));
}

// The receipt keeps its fuel surcharge between conversions; a display whose
// fuel surcharge is already there still gives its own total.
TEST(parsePnrText, GivesTheSameTotalWhateverFuelSurchargeTheReceiptHeld)
{
    const FixtureLists lists;
    const struct
    {
        const char *what;
        std::vector<const char *> display;
        const char *total;
    } cases[] = {
        {"a price display of the fuel surcharge alone", {"01 Y YQ:CNY30.00"}, "30.00"},
        {"a fare line without total",
         {"1.ZHANG/SAN HX7QJ2", segmentLine, "4.FN/A/FCNY1320.00/SCNY1320.00/C0.00/TCNY30.00YQ/"},
         "1350.00"},
    };
    for (const auto &c : cases) {
        Receipt receipt;
        for (int run = 1; run <= 2; ++run) {
            receipt.convert(display(c.display), QDate(2026, 12, 10), lists.airNames,
                            lists.cityNames);
            EXPECT_EQ(receipt.fields.text(QStringLiteral("edtYQ")), QStringLiteral("30.00"))
                << c.what;
            EXPECT_EQ(receipt.fields.text(QStringLiteral("edtTotal")), u8s(c.total))
                << c.what << ", run " << run;
        }
    }
}

TEST(parsePnrText, LeavesTheFuelSurchargeEmptyWhileTheInternationalSwitchIsOn)
{
    const FixtureLists lists;
    const QString fareLine = display(
        {"1.ZHANG/SAN HX7QJ2", segmentLine,
         "4.FN/A/FCNY1320.00/SCNY1320.00/C0.00/XCNY80.00/TCNY50.00CN/TCNY30.00YQ/ACNY1400.00"});
    Receipt receipt;
    receipt.fields.setInternational(true);
    receipt.convert(fareLine, QDate(2026, 12, 10), lists.airNames, lists.cityNames);
    EXPECT_EQ(receipt.fields.text(QStringLiteral("edtYQ")), QString());
    EXPECT_EQ(receipt.fields.text(QStringLiteral("edtCAAC")), QStringLiteral("50.00"));
    EXPECT_EQ(receipt.fields.text(QStringLiteral("edtTotal")), QStringLiteral("1400.00"));

    receipt.fields.setInternational(false);
    receipt.convert(fareLine, QDate(2026, 12, 10), lists.airNames, lists.cityNames);
    EXPECT_EQ(receipt.fields.text(QStringLiteral("edtYQ")), QStringLiteral("30.00"));
}

} // namespace
