#include "app/EntriesAutoSave.h"

#include "app/RememberedEntries.h"
#include "common/KestranoError.h"
#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"

TEntriesAutoSave::TEntriesAutoSave(TItineraryFields &fields, const QString &settingsFolder,
                                   std::function<void(const QString &)> failed, QObject *parent)
    : QObject(parent), FFields(fields), FSettingsFolder(settingsFolder), FFailed(std::move(failed))
{
    FQuiet.setSingleShot(true);
    FQuiet.setInterval(quietMilliseconds);
    connect(&FQuiet, &QTimer::timeout, this, &TEntriesAutoSave::save);
    // Every change of a remembered field starts the second afresh, so a burst
    // of typing costs one write at its end; the PNR box is not remembered and
    // writes nothing.
    connect(&FFields, &TItineraryFields::textChanged, &FQuiet, [this](const QString &name) {
        const TFieldSpec *spec = findField(name);
        if (spec && spec->remembered)
            FQuiet.start();
    });
    connect(&FFields, &TItineraryFields::internationalChanged, &FQuiet, [this] { FQuiet.start(); });
}

void TEntriesAutoSave::save()
{
    try {
        SaveEntries(FFields, FSettingsFolder);
        FFailing = false;
    } catch (const KestranoError &error) {
        if (!FFailing && FFailed)
            FFailed(error.message());
        FFailing = true;
    }
}
