#include "itinerary/ItineraryFields.h"
#include "pnr/PassengerChooser.h"
#include "pnr/PnrParser.h"
#include "reference/ReferenceList.h"

#include <QFile>
#include <benchmark/benchmark.h>

// "PNR信息转" as the window runs it: empty the receipt, convert the display.
// Run with QT_ENABLE_REGEXP_JIT=0 for the figures of PCRE's interpreter,
// which a debug build of Qt uses.

namespace {

struct Lists
{
    ReferenceList airNames;
    ReferenceList cityNames;

    Lists()
    {
        airNames.loadAirFile(QStringLiteral(KESTRANO_DATA "/air.txt"));
        cityNames.loadCityFile(QStringLiteral(KESTRANO_DATA "/city.txt"));
    }
};

QString sampleDisplay()
{
    QFile file(QStringLiteral(KESTRANO_FIXTURES "/pnr/sample.pnr"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).replace(u'\n', QStringLiteral("\r\n"));
}

// A large booking of 200 lines: nine passengers, four segments, their
// documents, tickets, contacts and remarks, and the fare line.
QString display200()
{
    QStringList lines = {
        QStringLiteral(">RT HX7QJ2"),
        QStringLiteral(" 1.ZHANG/SAN 2.LI/SI 3.WANG/WU 4.ZHAO/LIU 5.QIAN/QI 6.SUN/BA 7.ZHOU/JIU"),
        QStringLiteral(" 8.WU/SHI 9.ZHENG/YI HX7QJ2"),
        QStringLiteral("10.  CA1501 Y   TU15DEC  PEKSHA HK9   0800 1010          E T3T2"),
        QStringLiteral("11.  MU5301 Y   TH17DEC  SHACAN HK9   0800 1030          E T2T1"),
        QStringLiteral("12.  CZ3403 Y   SA19DEC  CANCTU HK9   1320 1545          E T2T2"),
        QStringLiteral("13.  3U8881 Y   MO21DEC  CTUPEK HK9   0700 0935          E T2T3"),
        QStringLiteral(
            "14.BJS/T BJS/T 010-64591234/BEIJING TIANHANG TRAVEL SERVICE/WANG LI ABCDEFG"),
    };
    int item = 15;
    for (int p = 1; p <= 9; ++p)
        lines.append(
            QStringLiteral("%1.SSR FOID CA HK1 NI11010519780312151%2/P%2").arg(item++).arg(p));
    for (int segment = 1; segment <= 4; ++segment) {
        for (int p = 1; p <= 9; ++p)
            lines.append(
                QStringLiteral("%1.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC 999236041882%2/%3/P%2")
                    .arg(item++)
                    .arg(p)
                    .arg(segment));
    }
    while (lines.size() < 197)
        lines.append(
            QStringLiteral("%1.OSI CA CTCT139112245%2").arg(item++).arg(lines.size() % 100));
    lines.append(
        QStringLiteral("%1.FN/A/FCNY5020.00/SCNY5020.00/C3.00/XCNY200.00/TCNY200.00CN/TEXEMPTYQ/")
            .arg(item++));
    lines.append(QStringLiteral("    ACNY5220.00"));
    lines.append(QStringLiteral("%1.BJS523").arg(item));
    return lines.join(QStringLiteral("\r\n"));
}

// A group's booking of 300 lines as a web platform or a chat passes it on:
// every run of blanks collapsed to one, so the segment lines no longer fit
// the terminal's columns and are read by their words. Twelve passengers
// with a child and an infant, four segments, documents, tickets, remarks,
// per-passenger fare lines.
QString display300Collapsed()
{
    QStringList lines = {
        QStringLiteral(">RT KQ7X2M"),
        QStringLiteral(" 0.12BJTUAN NM12 KQ7X2M"),
        QStringLiteral(" 1.ZHANG/SAN 2.LI/SI 3.WANG/WU 4.ZHAO/LIU 5.QIAN/QI 6.SUN/BA 7.ZHOU/JIU"),
        QStringLiteral(" 8.WU/SHI 9.ZHENG/YI 10.FENG/ER 11.CHEN/SAN 12.CHU/XIAOSI CHD KQ7X2M"),
        QStringLiteral("13. CA1501 Y TU15DEC PEKSHA HK12 0800 1010 E T3T2"),
        QStringLiteral("14. MU5301 Y TH17DEC SHACAN HK12 0800 1030 E T2T1"),
        QStringLiteral("15. CZ3403 Y SA19DEC CANCTU HK12 1320 1545 E T2T2"),
        QStringLiteral("16. 3U8881 Y MO21DEC CTUPEK HK12 2330 0135+1 E T2T3"),
        QStringLiteral(
            "17.BJS/T BJS/T 010-64591234/BEIJING TIANHANG TRAVEL SERVICE/WANG LI ABCDEFG"),
        QStringLiteral("18.XN/IN/ZHANG/XIAOBAO INF(JUN25)/P1"),
    };
    int item = 19;
    for (int p = 1; p <= 12; ++p)
        lines.append(QStringLiteral("%1.SSR FOID CA HK1 NI1101051978031215%2/P%3")
                         .arg(item++)
                         .arg(p, 2, 10, QLatin1Char('0'))
                         .arg(p));
    lines.append(QStringLiteral("%1.SSR CHLD CA HK1 08MAR17/P12").arg(item++));
    for (int segment = 1; segment <= 4; ++segment) {
        for (int p = 1; p <= 12; ++p)
            lines.append(
                QStringLiteral("%1.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC 99923604188%2/%3/P%4")
                    .arg(item++)
                    .arg(p, 2, 10, QLatin1Char('0'))
                    .arg(segment)
                    .arg(p));
        lines.append(QStringLiteral("%1.SSR TKNE CA HK1 PEKSHA 1501 Y15DEC INF9992360418899/%2/P1")
                         .arg(item++)
                         .arg(segment));
    }
    lines.append(QStringLiteral("%1.EI/BUDEQIANZHUAN不得签转/改期收费50元").arg(item++));
    while (lines.size() < 294)
        lines.append(
            QStringLiteral("%1.OSI CA CTCT139112245%2 +").arg(item++).arg(lines.size() % 100));
    lines.append(QStringLiteral(">PN"));
    lines.append(
        QStringLiteral("%1.FN/A/FCNY5020.00/SCNY5020.00/C3.00/XCNY200.00/TCNY200.00CN/TEXEMPTYQ/")
            .arg(item++));
    lines.append(QStringLiteral(" ACNY5220.00"));
    lines.append(
        QStringLiteral("%1.FN/A/FCNY2510.00/SCNY2510.00/C3.00/TEXEMPTCN/TEXEMPTYQ/ACNY2510.00/P12")
            .arg(item++));
    lines.append(
        QStringLiteral("%1.FN/IN/FCNY500.00/SCNY500.00/C0.00/TEXEMPTCN/TEXEMPTYQ/ACNY500.00/P1")
            .arg(item++));
    lines.append(QStringLiteral("%1.BJS523").arg(item));
    return lines.join(QStringLiteral("\r\n"));
}

void convert(benchmark::State &state, const QString &text)
{
    const Lists lists;
    ItineraryFields fields;
    PassengerChooser passengers(fields);
    // As "PNR信息转" runs it: the receipt emptied, the display converted,
    // what is missing marked and reported.
    for (auto _ : state)
        benchmark::DoNotOptimize(
            convertPnrText(text, fields, passengers, lists.airNames, lists.cityNames));
    state.SetBytesProcessed(state.iterations() * text.size() * qsizetype(sizeof(QChar)));
}

void BM_ConvertSample(benchmark::State &state)
{
    convert(state, sampleDisplay());
}
BENCHMARK(BM_ConvertSample);

void BM_Convert200Lines(benchmark::State &state)
{
    convert(state, display200());
}
BENCHMARK(BM_Convert200Lines);

void BM_Convert300LinesCollapsed(benchmark::State &state)
{
    // Measured only when it reads right: twelve names and the infant, the
    // fourth segment's flight, the child's own total.
    const QString text = display300Collapsed();
    const Lists lists;
    ItineraryFields fields;
    PassengerChooser passengers(fields);
    parsePnrText(text, fields, passengers, lists.airNames, lists.cityNames);
    passengers.choosePassenger(12);
    if (passengers.entries().size() != 13 ||
        fields.text(QStringLiteral("edtFlight4")) != QStringLiteral("3U8881") ||
        fields.text(QStringLiteral("edtTotal")) != QStringLiteral("2510.00")) {
        state.SkipWithError("the collapsed display does not convert as the clean one does");
        return;
    }
    convert(state, text);
}
BENCHMARK(BM_Convert300LinesCollapsed);

// A hostile paste: the sample with one line of digits that never reach a
// full stop, the worst case of the item search. The time grows with the
// length of the line, not with its square.
void BM_ConvertLongLine(benchmark::State &state)
{
    QString text = sampleDisplay();
    text.insert(0, QString(state.range(0), u'1') + QStringLiteral("x\r\n"));
    convert(state, text);
}
BENCHMARK(BM_ConvertLongLine)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A hostile paste of page marks, each with an item glued after it: every
// mark starts an item of its own, and the time still grows with the length.
void BM_ConvertGluedMarks(benchmark::State &state)
{
    QString text = sampleDisplay();
    text.insert(0, QStringLiteral(" -1.").repeated(state.range(0) / 4) + QStringLiteral("\r\n"));
    convert(state, text);
}
BENCHMARK(BM_ConvertGluedMarks)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
