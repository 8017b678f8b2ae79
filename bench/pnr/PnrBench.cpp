#include "itinerary/ClearItinerary.h"
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

struct TLists
{
    TReferenceList airNames;
    TReferenceList cityNames;

    TLists()
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

void convert(benchmark::State &state, const QString &text)
{
    const TLists lists;
    TItineraryFields fields;
    TPassengerChooser passengers(fields);
    for (auto _ : state) {
        ClearItinerary(fields);
        ParsePnrText(text, fields, passengers, lists.airNames, lists.cityNames);
    }
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
