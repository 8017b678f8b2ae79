#pragma once

#include "itinerary/ClearItinerary.h"
#include "itinerary/FieldTable.h"
#include "itinerary/ItineraryFields.h"
#include "pnr/PassengerChooser.h"
#include "pnr/PnrParser.h"
#include "reference/ReferenceList.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringList>

// What the conversion tests share: the small city and airline lists of the
// fixtures, a receipt with its chooser, and the expected state of both after
// a conversion, written as the fixtures' .expected files are:
//
//   # a comment
//   today=2026-12-10                       the date of the conversion
//   edtFlight1=CA1501                      a field and the text it shows
//   passenger=王建国|110105...|9992...     an entry of the chooser: name|ID|ticket
//
// Every field not named there must read as ClearItinerary leaves a fresh
// receipt, so a stray write anywhere is caught.

inline QString fixturePath(const QString &name)
{
    return QDir(QStringLiteral(KESTRANO_FIXTURES "/pnr")).filePath(name);
}

inline QString readFixture(const QString &name)
{
    QFile file(fixturePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

struct TFixtureLists
{
    TReferenceList airNames;
    TReferenceList cityNames;

    TFixtureLists()
    {
        airNames.loadAirFile(fixturePath(QStringLiteral("air.txt")));
        cityNames.loadCityFile(fixturePath(QStringLiteral("city.txt")));
    }
};

// The receipt as the window holds it, converted the way "PNR信息转" does.
struct TReceipt
{
    TItineraryFields fields;
    TPassengerChooser passengers{fields};

    void convert(const QString &text, const QDate &today, const TReferenceList &airNames,
                 const TReferenceList &cityNames)
    {
        ClearItinerary(fields);
        ParsePnrText(text, fields, passengers, airNames, cityNames, today);
    }

    // Every text of the receipt and every entry of the chooser, for
    // comparing two receipts as a whole.
    QStringList snapshot() const
    {
        QStringList state;
        for (const TFieldSpec &spec : itineraryFieldTable()) {
            if (spec.kind != FieldKind::Switch)
                state.append(spec.name + u'=' + fields.text(spec.name));
        }
        for (const TPassengerChooser::Entry &entry : passengers.entries())
            state.append(QStringLiteral("passenger=%1|%2|%3")
                             .arg(entry.FName, entry.FInfo.FId, entry.FInfo.FTicketNum));
        state.append(fields.passengerEntries());
        state.append(QString::number(fields.passengerIndex()));
        return state;
    }
};

struct TExpected
{
    QDate today{2026, 12, 10};
    QHash<QString, QString> fields;
    QStringList passengers; // name|ID|ticket

    static TExpected fromLines(const QStringList &lines)
    {
        TExpected expected;
        for (const QString &line : lines) {
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const qsizetype equals = line.indexOf(u'=');
            const QString key = line.left(equals);
            const QString value = line.mid(equals + 1);
            if (key == QLatin1String("today"))
                expected.today = QDate::fromString(value, Qt::ISODate);
            else if (key == QLatin1String("passenger"))
                expected.passengers.append(value);
            else
                expected.fields.insert(key, value);
        }
        return expected;
    }

    // One line per difference, empty when the receipt is as expected.
    QStringList differences(const TReceipt &receipt) const
    {
        TItineraryFields cleared;
        ClearItinerary(cleared);
        QStringList found;
        for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
            if (!findField(it.key()))
                found.append(QStringLiteral("no field %1").arg(it.key()));
        }
        for (const TFieldSpec &spec : itineraryFieldTable()) {
            if (spec.kind == FieldKind::Switch || spec.kind == FieldKind::Choice)
                continue;
            const QString want = fields.value(spec.name, cleared.text(spec.name));
            const QString have = receipt.fields.text(spec.name);
            if (have != want)
                found.append(
                    QStringLiteral("%1: \"%2\", expected \"%3\"").arg(spec.name, have, want));
        }

        QStringList entries;
        QStringList names;
        for (const TPassengerChooser::Entry &entry : receipt.passengers.entries()) {
            entries.append(entry.FName + u'|' + entry.FInfo.FId + u'|' + entry.FInfo.FTicketNum);
            names.append(entry.FName);
        }
        if (entries != passengers)
            found.append(QStringLiteral("passengers: %1, expected %2")
                             .arg(entries.join(u", "), passengers.join(u", ")));
        if (receipt.fields.passengerEntries() != names)
            found.append(QStringLiteral("the drop-down lists %1")
                             .arg(receipt.fields.passengerEntries().join(u", ")));
        const int shown = names.isEmpty() ? -1 : 0;
        if (receipt.fields.passengerIndex() != shown)
            found.append(QStringLiteral("the drop-down shows entry %1, expected %2")
                             .arg(receipt.fields.passengerIndex())
                             .arg(shown));
        return found;
    }
};

inline QStringList u8lines(const std::vector<const char *> &lines)
{
    QStringList list;
    for (const char *line : lines)
        list.append(QString::fromUtf8(line));
    return list;
}
