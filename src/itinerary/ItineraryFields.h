#pragma once

#include "itinerary/FieldRules.h"
#include "itinerary/FieldTable.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

// The receipt being prepared and the inputs of the two conversions, held by
// field name. The window is a view on it; every other part of the program
// (conversions, printing, number advance, remembered entries) reads and
// writes the receipt here, so a change made by code runs the same rules as
// one typed by the user.
class ItineraryFields : public QObject
{
    Q_OBJECT

public:
    explicit ItineraryFields(QObject *parent = nullptr);

    bool hasField(const QString &name) const { return findField(name) != nullptr; }

    // The field's text; empty for a name that no text field bears.
    QString text(const QString &name) const;
    QString text(FieldKey key) const { return text(fieldName(key)); }

    // Upper-cases where the field does, then stores the text and runs the
    // field's change rule. A name that no text field bears, or a text equal
    // to the one held, changes nothing and runs nothing. The passenger
    // chooser takes only one of its entries: any other text empties it. The
    // print serial number is held normalised (see normalisedSerialNumber).
    void setText(const QString &name, const QString &text);
    void setText(FieldKey key, const QString &text) { setText(fieldName(key), text); }

    QStringList pickList(const QString &name) const { return m_pickLists.value(name); }
    void setPickList(const QString &name, const QStringList &entries);

    // The switch "打印国际" (chkGuowai); the mark edtGuowai shows while it is on.
    bool international() const { return m_international; }
    void setInternational(bool on);
    // The switch as it was kept at the last exit: the mark follows it, but
    // the surcharge and total kept with it stay as they were, for they were
    // right when the receipt was closed.
    void restoreInternational(bool on);

    // The passenger chooser: its entries and the one shown (-1 for none).
    const QStringList &passengerEntries() const { return m_passengerEntries; }
    int passengerIndex() const { return m_passengerIndex; }
    void setPassengerEntries(const QStringList &entries);
    void setPassengerIndex(int index);

    // The fields a conversion left empty that a receipt normally holds. A
    // mark lasts until the field's text changes; markMissing replaces them
    // all.
    bool isMarkedMissing(const QString &name) const { return m_missing.contains(name); }
    bool isMarkedMissing(FieldKey key) const { return isMarkedMissing(fieldName(key)); }
    void markMissing(const QList<FieldKey> &keys);

Q_SIGNALS:
    void missingMarkChanged(const QString &name, bool marked);
    void textChanged(const QString &name, const QString &text);
    void pickListChanged(const QString &name, const QStringList &entries);
    void internationalChanged(bool on);
    void passengersChanged();

private:
    QHash<QString, QString> m_texts;
    QHash<QString, QStringList> m_pickLists;
    bool m_international = false;
    QSet<QString> m_missing;
    QStringList m_passengerEntries;
    int m_passengerIndex = -1;
    FieldRules m_rules;
};
