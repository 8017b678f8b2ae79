#include "app/RememberedEntries.h"

#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"
#include "settings/PrivateConfig.h"

void saveEntries(const ItineraryFields &fields, const QString &settingsFolder)
{
    // One replacement of the file for the whole receipt: quick at exit, and
    // never half the old receipt and half the new one.
    PrivateConfig::Values values;
    for (const FieldSpec &spec : itineraryFieldTable()) {
        if (!spec.remembered)
            continue;
        if (spec.kind == FieldKind::Switch)
            values.append(
                {spec.name, fields.international() ? QStringLiteral("1") : QStringLiteral("0")});
        else
            values.append({spec.name, fields.text(spec.name)});
    }
    PrivateConfig(true, settingsFolder).setStrs(values);
}

void restoreEntries(ItineraryFields &fields, const QString &settingsFolder)
{
    restoreEntries(fields, PrivateConfig(false, settingsFolder).snapshot());
}

void restoreEntries(ItineraryFields &fields, const SettingsSnapshot &config)
{
    for (const FieldSpec &spec : itineraryFieldTable()) {
        if (!spec.remembered)
            continue;
        if (spec.kind == FieldKind::Switch)
            fields.restoreInternational(config.getBool(spec.name));
        else
            fields.setText(spec.name, config.getStr(spec.name));
    }
}
