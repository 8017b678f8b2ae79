#include "FirstPaintWatch.h"
#include "ProgramFolder.h"
#include "ProgramStart.h"
#include "WholeReceipt.h"
#include "app/RememberedEntries.h"
#include "itinerary/ItineraryFields.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingDeclarations.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

// The start of the real program, from the creation of its process to its
// first picture on screen, watched from outside on an X display of its own
// (run under xvfb-run). Each start runs a copy of the built executable in a
// folder of its own and ends with SIGTERM, the orderly close. Two kinds of
// start: on the settings that an earlier run left with nothing remembered, and
// on settings that remember a receipt with every field filled, which the
// program restores before it shows its window. Beside them, started and
// watched in the same way, an empty Qt Widgets window of the program's size:
// the floor of any start. The kernel's count of the largest resident set of
// each run (what /usr/bin/time -v prints as its "Maximum resident set size")
// gives the peak memory, and the processor time that the run used up to its
// exit, a figure that a busy machine disturbs less than the wall clock.

namespace {

constexpr int starts = 25;

// One kind of start and what its starts measured.
struct Kind
{
    const char *name;
    const ProgramFolder &folder;
    std::vector<ProgramStart> measured{};
    std::string failure{};
};

// The machine is shared, and its load changes from one second to the next;
// the kinds therefore take their starts in turns, so that a busy spell falls
// on all of them alike. The harness then reports the measured starts of each
// kind, one per repetition.
void startInTurns(std::vector<Kind> &kinds, FirstPaintWatch &watch)
{
    for (int round = 0; round < starts; ++round) {
        for (Kind &kind : kinds) {
            if (!kind.failure.empty())
                continue;
            try {
                kind.measured.push_back(startProgram(kind.folder, watch));
            } catch (const std::exception &error) {
                kind.failure = error.what();
            }
        }
    }
}

void reportStarts(benchmark::State &state, const Kind &kind, std::size_t &next)
{
    for (auto _ : state) {
        if (next >= kind.measured.size()) {
            state.SkipWithError(kind.failure.empty() ? "no start left to report"
                                                     : kind.failure.c_str());
            break;
        }
        const ProgramStart &start = kind.measured[next++];
        state.SetIterationTime(start.firstPaintMs / 1000.0);
        state.counters["mapped_ms"] = start.mappedMs;
        state.counters["last_paint_ms"] = start.lastPaintMs;
        state.counters["quit_ms"] = start.quitMs;
        state.counters["peak_rss_MiB"] = double(start.peakKiB) / 1024.0;
        state.counters["cpu_ms"] = start.cpuMs;
    }
}

void rememberWholeReceipt(const ProgramFolder &folder)
{
    ItineraryFields fields;
    fillWholeReceipt(fields);
    saveEntries(fields, folder.path());
    PrivateConfig(true, folder.path()).setBool(Setting::Storage.key, true);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    try {
        FirstPaintWatch watch;
        const QString program = QStringLiteral(KESTRANO_PROGRAM);
        const QString data = QStringLiteral(KESTRANO_DATA);
        ProgramFolder emptyReceipt(program, data);
        ProgramFolder wholeReceipt(program, data);
        rememberWholeReceipt(wholeReceipt);
        ProgramFolder emptyWindow(QStringLiteral(EMPTY_WINDOW_PROGRAM), data);
        ProgramFolder captionWindow(QStringLiteral(CAPTION_WINDOW_PROGRAM), data);
        ProgramFolder controlsWindow(QStringLiteral(CONTROLS_WINDOW_PROGRAM), data);

        std::vector<Kind> kinds = {{"startToFirstPaint/emptyReceipt", emptyReceipt},
                                   {"startToFirstPaint/wholeReceipt", wholeReceipt},
                                   {"emptyWindowToFirstPaint", emptyWindow},
                                   {"captionWindowToFirstPaint", captionWindow},
                                   {"controlsWindowToFirstPaint", controlsWindow}};
        // Another build of the program (an earlier commit, say), measured in
        // the same turns on the settings of an earlier run, when
        // BASELINE_PROGRAM names its executable.
        std::unique_ptr<ProgramFolder> baseline;
        if (const QString other = qEnvironmentVariable("BASELINE_PROGRAM"); !other.isEmpty()) {
            baseline = std::make_unique<ProgramFolder>(other, data);
            kinds.push_back({"baselineToFirstPaint/emptyReceipt", *baseline});
        }
        // A first start of each, not counted: it writes the settings file
        // of a first run and brings the programs' files into the page cache.
        for (const Kind &kind : kinds)
            startProgram(kind.folder, watch);
        startInTurns(kinds, watch);

        std::vector<std::size_t> reported(kinds.size(), 0);
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            benchmark::RegisterBenchmark(
                kinds[i].name, [&kind = kinds[i], &next = reported[i]](
                                   benchmark::State &state) { reportStarts(state, kind, next); })
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
