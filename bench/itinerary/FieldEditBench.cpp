#include "WholeReceipt.h"
#include "itinerary/ClearItinerary.h"
#include "itinerary/ItineraryFields.h"

#include <benchmark/benchmark.h>

// The model's share of the user's actions, without a window: a character
// typed into a field, which upper-cases it and runs the field's rule, and
// clearItinerary on a whole receipt.

namespace {

// The field's text one character longer, then back: every iteration is one
// setText. The fare's rule adds up the total, the serial number's computes
// the check code, the seat's writes the fare basis; the name has no rule.
void typeOneCharacter(benchmark::State &state, const char *field)
{
    ItineraryFields fields;
    fillWholeReceipt(fields);
    const QString name = QString::fromLatin1(field);
    const QString shorter = fields.text(name);
    const QString longer = shorter + u'1';
    bool typed = false;
    for (auto _ : state) {
        fields.setText(name, typed ? shorter : longer);
        typed = !typed;
    }
}
BENCHMARK_CAPTURE(typeOneCharacter, edtFare, "edtFare");
BENCHMARK_CAPTURE(typeOneCharacter, edtSerNo, "edtSerNo");
BENCHMARK_CAPTURE(typeOneCharacter, edtSeat1, "edtSeat1");
BENCHMARK_CAPTURE(typeOneCharacter, edtPassenger, "edtPassenger");

void clearWholeReceipt(benchmark::State &state)
{
    ItineraryFields fields;
    for (auto _ : state) {
        state.PauseTiming();
        fillWholeReceipt(fields);
        state.ResumeTiming();
        clearItinerary(fields);
    }
}
BENCHMARK(clearWholeReceipt);

} // namespace

BENCHMARK_MAIN();
