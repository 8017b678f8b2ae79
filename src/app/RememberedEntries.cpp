#include "app/RememberedEntries.h"

#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"
#include "settings/PrivateConfig.h"

void SaveEntries(const TItineraryFields &fields, const QString &settingsFolder)
{
    // One replacement of the file for the whole receipt: quick at exit, and
    // never half the old receipt and half the new one.
    TPrivateConfig::Values values;
    for (const TFieldSpec &spec : itineraryFieldTable()) {
        if (!spec.remembered)
            continue;
        if (spec.kind == FieldKind::Switch)
            values.append({spec.name, fields.international() ? QStringLiteral("1") : QStringLiteral("0")});
        else
            values.append({spec.name, fields.text(spec.name)});
    }
    TPrivateConfig(true, settingsFolder).SetStrs(values);
}

void RestoreEntries(TItineraryFields &fields, const QString &settingsFolder)
{
    RestoreEntries(fields, TPrivateConfig(false, settingsFolder).snapshot());
}

void RestoreEntries(TItineraryFields &fields, const TSettingsSnapshot &config)
{
    for (const TFieldSpec &spec : itineraryFieldTable()) {
        if (!spec.remembered)
            continue;
        if (spec.kind == FieldKind::Switch)
            fields.restoreInternational(config.GetBool(spec.name));
        else
            fields.setText(spec.name, config.GetStr(spec.name));
    }
}
