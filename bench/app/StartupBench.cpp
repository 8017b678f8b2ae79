#include "FirstPaintWatch.h"
#include "itinerary/ItineraryFields.h"
#include "settings/PrivateConfig.h"
#include "ProgramFolder.h"
#include "ProgramStart.h"
#include "app/RememberedEntries.h"
#include "settings/SettingsKeys.h"
#include "WholeReceipt.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <exception>
#include <memory>

// The start of the real program, from the creation of its process to its
// first picture on screen, watched from outside on an X display of its own
// (run under xvfb-run). Each start runs a copy of the built executable in a
// folder of its own and ends with SIGTERM, the orderly close. Two kinds of
// start: on the settings that an earlier run left with nothing remembered, and
// on settings that remember a receipt with every field filled, which the
// program restores before it shows its window. The kernel's count of the
// largest resident set of each run (what /usr/bin/time -v prints as its
// "Maximum resident set size") gives the program's peak memory.

namespace {

constexpr int starts = 15;

void measureStarts(benchmark::State &state, const TProgramFolder &folder, TFirstPaintWatch &watch)
{
    for (auto _ : state) {
        try {
            const TProgramStart start = startProgram(folder, watch);
            state.SetIterationTime(start.firstPaintMs / 1000.0);
            state.counters["mapped_ms"] = start.mappedMs;
            state.counters["last_paint_ms"] = start.lastPaintMs;
            state.counters["quit_ms"] = start.quitMs;
            state.counters["peak_rss_MiB"] = double(start.peakKiB) / 1024.0;
        } catch (const std::exception &error) {
            state.SkipWithError(error.what());
            break;
        }
    }
}

void rememberWholeReceipt(const TProgramFolder &folder)
{
    TItineraryFields fields;
    fillWholeReceipt(fields);
    SaveEntries(fields, folder.path());
    TPrivateConfig(true, folder.path()).SetBool(SettingsKeys::Storage, true);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    try {
        TFirstPaintWatch watch;
        const QString program = QStringLiteral(KESTRANO_PROGRAM);
        const QString data = QStringLiteral(KESTRANO_DATA);
        TProgramFolder emptyReceipt(program, data);
        TProgramFolder wholeReceipt(program, data);
        rememberWholeReceipt(wholeReceipt);
        // A first start of each, not counted: it writes the settings file
        // of a first run and brings the program's files into the page cache.
        for (const TProgramFolder *folder : {&emptyReceipt, &wholeReceipt})
            startProgram(*folder, watch);

        const struct
        {
            const char *name;
            const TProgramFolder &folder;
        } kinds[] = {{"startToFirstPaint/emptyReceipt", emptyReceipt},
                     {"startToFirstPaint/wholeReceipt", wholeReceipt}};
        for (const auto &kind : kinds) {
            benchmark::RegisterBenchmark(kind.name,
                                         [&folder = kind.folder, &watch](benchmark::State &state) {
                                             measureStarts(state, folder, watch);
                                         })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->Repetitions(starts);
        }
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
