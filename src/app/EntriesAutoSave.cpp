#include "app/EntriesAutoSave.h"

#include "app/RememberedEntries.h"
#include "common/KestranoError.h"
#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"

EntriesAutoSave::EntriesAutoSave(ItineraryFields &fields, const QString &settingsFolder,
                                 std::function<void(const QString &)> failed, QObject *parent)
    : QObject(parent), m_fields(fields), m_settingsFolder(settingsFolder),
      m_failed(std::move(failed))
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(quietMilliseconds);
    connect(&m_quiet, &QTimer::timeout, this, &EntriesAutoSave::save);
    // Every change of a remembered field starts the second afresh, so a burst
    // of typing costs one write at its end; the PNR box is not remembered and
    // writes nothing.
    connect(&m_fields, &ItineraryFields::textChanged, &m_quiet, [this](const QString &name) {
        const FieldSpec *spec = findField(name);
        if (spec && spec->remembered)
            m_quiet.start();
    });
    connect(&m_fields, &ItineraryFields::internationalChanged, &m_quiet,
            [this] { m_quiet.start(); });
}

void EntriesAutoSave::save()
{
    try {
        saveEntries(m_fields, m_settingsFolder);
        m_failing = false;
    } catch (const KestranoError &error) {
        if (!m_failing && m_failed)
            m_failed(error.message());
        m_failing = true;
    }
}
