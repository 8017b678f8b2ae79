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
#include <string>
#include <vector>

// What the conversion tests share: the small city and airline lists of the
// fixtures, a receipt with its chooser, and the expected state of both after
// a conversion, written as the fixtures' .expected files are:
//
//   # a comment
//   today=2026-12-10                       the date of the conversion
//   edtFlight1=CA1501                      a field and the text it shows
//   passenger=王建国|110105...|9992...     an entry of the chooser: name|ID|ticket
//   passenger=王小明CHD|...|...|620.00|EXEMPT|EXEMPT||620.00
//                                          with the amounts the receipt shows
//                                          once the entry is chosen: fare,
//                                          airport tax, fuel surcharge, other
//                                          tax, total
//
// Every field not named there must read as clearItinerary leaves a fresh
// receipt, so a stray write anywhere is caught. An entry written without
// amounts shows the receipt's own when chosen (those of the first entry).

inline QString fixturePath(const QString &name)
{
    return QDir(QStringLiteral(KESTRANO_FIXTURES "/pnr")).filePath(name);
}

// The names of every display fixture (NAME.pnr), for parameterised tests.
inline std::vector<std::string> fixtureDisplayNames()
{
    std::vector<std::string> names;
    const QStringList files =
        QDir(fixturePath(QString())).entryList({QStringLiteral("*.pnr")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        names.push_back(file.chopped(4).toStdString());
    return names;
}

inline QString readFixture(const QString &name)
{
    QFile file(fixturePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

struct FixtureLists
{
    ReferenceList airNames;
    ReferenceList cityNames;

    FixtureLists()
    {
        airNames.loadAirFile(fixturePath(QStringLiteral("air.txt")));
        cityNames.loadCityFile(fixturePath(QStringLiteral("city.txt")));
    }
};

// The receipt as the window holds it, converted the way "PNR信息转" does.
struct Receipt
{
    ItineraryFields fields;
    PassengerChooser passengers{fields};

    void convert(const QString &text, const QDate &today, const ReferenceList &airNames,
                 const ReferenceList &cityNames)
    {
        clearItinerary(fields);
        parsePnrText(text, fields, passengers, airNames, cityNames, today);
    }

    // Every text of the receipt and every entry of the chooser, for
    // comparing two receipts as a whole.
    QStringList snapshot() const
    {
        QStringList state;
        for (const FieldSpec &spec : itineraryFieldTable()) {
            if (spec.kind != FieldKind::Switch)
                state.append(spec.name + u'=' + fields.text(spec.name));
        }
        for (const PassengerChooser::Entry &entry : passengers.entries())
            state.append(QStringLiteral("passenger=%1|%2|%3")
                             .arg(entry.name, entry.info.id, entry.info.ticketNumber));
        state.append(fields.passengerEntries());
        state.append(QString::number(fields.passengerIndex()));
        return state;
    }
};

struct Expected
{
    QDate today{2026, 12, 10};
    QHash<QString, QString> fields;
    QStringList passengers; // name|ID|ticket

    static Expected fromLines(const QStringList &lines)
    {
        Expected expected;
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

    static QStringList amountFields()
    {
        return {QStringLiteral("edtFare"), QStringLiteral("edtCAAC"), QStringLiteral("edtYQ"),
                QStringLiteral("edtTax"), QStringLiteral("edtTotal")};
    }

    // One line per difference, empty when the receipt is as expected.
    QStringList differences(const Receipt &receipt) const
    {
        ItineraryFields cleared;
        clearItinerary(cleared);
        QStringList found;
        for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
            if (!findField(it.key()))
                found.append(QStringLiteral("no field %1").arg(it.key()));
        }
        for (const FieldSpec &spec : itineraryFieldTable()) {
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
        for (const PassengerChooser::Entry &entry : receipt.passengers.entries()) {
            entries.append(entry.name + u'|' + entry.info.id + u'|' + entry.info.ticketNumber);
            names.append(entry.name);
        }
        QStringList named; // the expected entries without their amounts
        for (const QString &passenger : passengers)
            named.append(passenger.section(u'|', 0, 2));
        if (entries != named)
            found.append(QStringLiteral("passengers: %1, expected %2")
                             .arg(entries.join(u", "), named.join(u", ")));
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

    // Chooses each entry in turn, as the agent does before printing each
    // passenger's receipt, and lists where the receipt does not show that
    // passenger's name, ID, ticket and amounts; the first entry is shown
    // again at the end.
    QStringList choiceDifferences(Receipt &receipt) const
    {
        ItineraryFields cleared;
        clearItinerary(cleared);
        QStringList receiptAmounts;
        for (const QString &name : amountFields())
            receiptAmounts.append(fields.value(name, cleared.text(name)));

        QStringList found;
        const QList<PassengerChooser::Entry> entries = receipt.passengers.entries();
        for (qsizetype k = 0; k < entries.size() && k < passengers.size(); ++k) {
            receipt.passengers.choosePassenger(int(k));
            const QStringList want = passengers.at(k).split(u'|');
            QStringList have = {receipt.fields.text(QStringLiteral("edtPassenger")),
                                receipt.fields.text(QStringLiteral("edtId")),
                                receipt.fields.text(QStringLiteral("edtTicketNo"))};
            QStringList expected = want.mid(0, 3);
            for (const QString &name : amountFields())
                have.append(receipt.fields.text(name));
            expected.append(want.size() > 3 ? want.mid(3) : receiptAmounts);
            if (have != expected)
                found.append(QStringLiteral("entry %1 chosen shows %2, expected %3")
                                 .arg(k + 1)
                                 .arg(have.join(u'|'), expected.join(u'|')));
        }
        receipt.passengers.choosePassenger(0);
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
