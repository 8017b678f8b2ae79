#include "RememberedEntries.h"

#include "FieldTable.h"
#include "ItineraryFields.h"
#include "PrivateConfig.h"

void SaveEntries(const TItineraryFields &fields, const QString &settingsFolder)
{
    TPrivateConfig config(true, settingsFolder);
    for (const TFieldSpec &spec : itineraryFieldTable()) {
        if (!spec.remembered)
            continue;
        if (spec.kind == FieldKind::Switch)
            config.SetBool(spec.name, fields.international());
        else
            config.SetStr(spec.name, fields.text(spec.name));
    }
}

void RestoreEntries(TItineraryFields &fields, const QString &settingsFolder)
{
    const TPrivateConfig config(false, settingsFolder);
    for (const TFieldSpec &spec : itineraryFieldTable()) {
        if (!spec.remembered)
            continue;
        if (spec.kind == FieldKind::Switch)
            fields.setInternational(config.GetBool(spec.name));
        else
            fields.setText(spec.name, config.GetStr(spec.name));
    }
}
