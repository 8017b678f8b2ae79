#include "WholeReceipt.h"
#include "app/RememberedEntries.h"
#include "itinerary/ItineraryFields.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// The receipt kept across runs: every remembered field written to the
// settings file at exit, and read back into a new receipt at start.

namespace {

void saveWholeReceipt(benchmark::State &state)
{
    const QTemporaryDir folder;
    ItineraryFields fields;
    fillWholeReceipt(fields);
    for (auto _ : state)
        saveEntries(fields, folder.path());
}
BENCHMARK(saveWholeReceipt)->Unit(benchmark::kMillisecond);

void restoreWholeReceipt(benchmark::State &state)
{
    const QTemporaryDir folder;
    {
        ItineraryFields fields;
        fillWholeReceipt(fields);
        saveEntries(fields, folder.path());
    }
    for (auto _ : state) {
        // A receipt that already holds the values would take every one of
        // them as unchanged and run no rule.
        ItineraryFields fields;
        restoreEntries(fields, folder.path());
        benchmark::DoNotOptimize(fields.text(QStringLiteral("edtTotal")));
    }
}
BENCHMARK(restoreWholeReceipt)->Unit(benchmark::kMillisecond);

} // namespace
