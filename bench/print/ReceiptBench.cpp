#include "WholeReceipt.h"
#include "common/FontStandIns.h"
#include "itinerary/ItineraryFields.h"
#include "print/PageRenderer.h"
#include "print/ReceiptReport.h"
#include "print/ReportFiller.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// What one click of "打印预览" or "直接打印" costs before the page reaches the
// preview or the printer: a new page from the layout, filled from the sample
// receipt, rendered to a PDF in memory.

namespace {

void loadSampleReceipt(ItineraryFields &fields)
{
    QFile file(QStringLiteral(KESTRANO_FIXTURES "/print/sample-receipt.txt"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("sample-receipt.txt is missing");
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (!line.startsWith(u'#') && equals > 0)
            fields.setText(line.left(equals), line.mid(equals + 1));
    }
}

qint64 renderToPdf(const ReportPage &page)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    {
        QPainter painter(&writer);
        renderPage(page, painter);
    }
    return pdf.size();
}

struct Sample
{
    Sample() { loadSampleReceipt(fields); }
    QTemporaryDir settingsFolder;
    ItineraryFields fields;
};

void fillReceipt(benchmark::State &state)
{
    const Sample sample;
    for (auto _ : state) {
        ReceiptReport rep;
        fillReport(rep, sample.fields, sample.settingsFolder.path());
        benchmark::DoNotOptimize(rep.reportPage().labels().size());
    }
}
BENCHMARK(fillReceipt)->Unit(benchmark::kMicrosecond);

void renderReceiptToPdf(benchmark::State &state)
{
    const Sample sample;
    ReceiptReport rep;
    fillReport(rep, sample.fields, sample.settingsFolder.path());
    for (auto _ : state)
        benchmark::DoNotOptimize(renderToPdf(rep.reportPage()));
}
BENCHMARK(renderReceiptToPdf)->Unit(benchmark::kMillisecond);

void fillAndRenderReceiptToPdf(benchmark::State &state)
{
    const Sample sample;
    qint64 bytes = 0;
    for (auto _ : state) {
        ReceiptReport rep;
        fillReport(rep, sample.fields, sample.settingsFolder.path());
        bytes = renderToPdf(rep.reportPage());
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["pdf_bytes"] = double(bytes);
}
BENCHMARK(fillAndRenderReceiptToPdf)->Unit(benchmark::kMillisecond);

// The worst case of fitting: a receipt of four segments whose cities,
// carriers, endorsement and issuing office are all too long for their boxes,
// so that most values are condensed or set smaller.
void fillAndRenderWholeReceiptToPdf(benchmark::State &state)
{
    QTemporaryDir settingsFolder;
    ItineraryFields fields;
    fillWholeReceipt(fields);
    for (auto _ : state) {
        ReceiptReport rep;
        fillReport(rep, fields, settingsFolder.path());
        benchmark::DoNotOptimize(renderToPdf(rep.reportPage()));
    }
}
BENCHMARK(fillAndRenderWholeReceiptToPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    registerFontStandIns();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
