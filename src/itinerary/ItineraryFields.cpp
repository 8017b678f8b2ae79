#include "itinerary/ItineraryFields.h"

#include "common/TextRules.h"
#include "itinerary/SerialNumber.h"

namespace {

const QString passengerChooser = QStringLiteral("cboPassenger");
const QString serialNumberField = QStringLiteral("edtSerNo");

bool holdsText(const TFieldSpec *spec)
{
    return spec && spec->kind != FieldKind::Switch;
}

} // namespace

TItineraryFields::TItineraryFields(QObject *parent) : QObject(parent), FRules(*this)
{
    for (const TFieldSpec &spec : itineraryFieldTable()) {
        if (holdsText(&spec))
            FTexts.insert(spec.name, spec.defaultText);
    }
}

QString TItineraryFields::text(const QString &name) const
{
    if (name == passengerChooser)
        return FPassengerIndex >= 0 ? FPassengerEntries.at(FPassengerIndex) : QString();
    return FTexts.value(name);
}

void TItineraryFields::setText(const QString &name, const QString &text)
{
    const TFieldSpec *spec = findField(name);
    if (!holdsText(spec))
        return;
    if (name == passengerChooser) {
        setPassengerIndex(int(FPassengerEntries.indexOf(text)));
        return;
    }
    QString held = spec->upperCase ? upperCased(text) : text;
    if (name == serialNumberField)
        held = normalisedSerialNumber(held);
    QString &current = FTexts[name];
    if (current == held)
        return;
    current = held;
    Q_EMIT textChanged(name, held);
    FRules.textChanged(name);
}

void TItineraryFields::setPickList(const QString &name, const QStringList &entries)
{
    if (!hasField(name))
        return;
    FPickLists.insert(name, entries);
    Q_EMIT pickListChanged(name, entries);
}

void TItineraryFields::setInternational(bool on)
{
    if (FInternational == on)
        return;
    FInternational = on;
    Q_EMIT internationalChanged(on);
    FRules.internationalChanged();
}

void TItineraryFields::restoreInternational(bool on)
{
    if (FInternational == on)
        return;
    FInternational = on;
    Q_EMIT internationalChanged(on);
}

void TItineraryFields::setPassengerEntries(const QStringList &entries)
{
    FPassengerEntries = entries;
    FPassengerIndex = -1;
    Q_EMIT passengersChanged();
}

void TItineraryFields::setPassengerIndex(int index)
{
    if (index < -1 || index >= FPassengerEntries.size())
        index = -1;
    if (index == FPassengerIndex)
        return;
    FPassengerIndex = index;
    Q_EMIT passengersChanged();
}
