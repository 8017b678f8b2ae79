#include "itinerary/ItineraryFields.h"

#include "common/TextRules.h"
#include "itinerary/SerialNumber.h"

namespace {

const QString passengerChooser = fieldName(Field::PassengerChoice);
const QString serialNumberField = fieldName(Field::SerialNumber);

bool holdsText(const FieldSpec *spec)
{
    return spec && spec->kind != FieldKind::Switch;
}

} // namespace

ItineraryFields::ItineraryFields(QObject *parent) : QObject(parent), m_rules(*this)
{
    for (const FieldSpec &spec : itineraryFieldTable()) {
        if (holdsText(&spec))
            m_texts.insert(spec.name, spec.defaultText);
    }
}

QString ItineraryFields::text(const QString &name) const
{
    if (name == passengerChooser)
        return m_passengerIndex >= 0 ? m_passengerEntries.at(m_passengerIndex) : QString();
    return m_texts.value(name);
}

void ItineraryFields::setText(const QString &name, const QString &text)
{
    const FieldSpec *spec = findField(name);
    if (!holdsText(spec))
        return;
    if (name == passengerChooser) {
        setPassengerIndex(int(m_passengerEntries.indexOf(text)));
        return;
    }
    QString held = spec->upperCase ? upperCased(text) : text;
    if (name == serialNumberField)
        held = normalisedSerialNumber(held);
    QString &current = m_texts[name];
    if (current == held)
        return;
    current = held;
    if (m_missing.remove(name))
        Q_EMIT missingMarkChanged(name, false);
    Q_EMIT textChanged(name, held);
    m_rules.textChanged(name);
}

void ItineraryFields::markMissing(const QList<FieldKey> &keys)
{
    QSet<QString> marked;
    for (const FieldKey &key : keys) {
        if (const FieldSpec *spec = findField(key); holdsText(spec))
            marked.insert(spec->name);
    }
    const QSet<QString> unmarked = m_missing - marked;
    const QSet<QString> added = marked - m_missing;
    m_missing = marked;
    for (const QString &name : unmarked)
        Q_EMIT missingMarkChanged(name, false);
    for (const QString &name : added)
        Q_EMIT missingMarkChanged(name, true);
}

void ItineraryFields::setPickList(const QString &name, const QStringList &entries)
{
    if (!hasField(name))
        return;
    m_pickLists.insert(name, entries);
    Q_EMIT pickListChanged(name, entries);
}

void ItineraryFields::setInternational(bool on)
{
    if (m_international == on)
        return;
    m_international = on;
    Q_EMIT internationalChanged(on);
    m_rules.internationalChanged();
}

void ItineraryFields::restoreInternational(bool on)
{
    if (m_international == on)
        return;
    m_international = on;
    Q_EMIT internationalChanged(on);
}

void ItineraryFields::setPassengerEntries(const QStringList &entries)
{
    m_passengerEntries = entries;
    m_passengerIndex = -1;
    Q_EMIT passengersChanged();
}

void ItineraryFields::setPassengerIndex(int index)
{
    if (index < -1 || index >= m_passengerEntries.size())
        index = -1;
    if (index == m_passengerIndex)
        return;
    m_passengerIndex = index;
    Q_EMIT passengersChanged();
}
