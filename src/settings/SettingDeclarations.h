#pragma once

#include "itinerary/FieldTable.h"

#include <QString>
#include <limits>

// Every setting of section "COF" but the remembered fields (which are named
// like the fields themselves), declared once: its key, its type, the value an
// absent or unusable entry stands for and, for a number, the values allowed.
// The typed reading (Settings), the settings dialog and the print settings
// all go by these.

// A whole number; one that is absent, not a number or out of range is the default.
struct NumberSetting
{
    QString key;
    int defaultValue;
    int minimum = std::numeric_limits<int>::min();
    int maximum = std::numeric_limits<int>::max();
};

// A text; an absent or empty one is the default.
struct TextSetting
{
    QString key;
    QString defaultValue;
};

// On or off, stored as an integer; absent or not a number is off.
struct SwitchSetting
{
    QString key;
};

// The pick-list of a receipt field, stored as delimited text.
struct ListSetting
{
    QString key;
    FieldKey field;
};

namespace Setting {

// Print offsets in print-layout pixels (1/96 inch); positive moves the print
// down and right.
inline const NumberSetting vpos{QStringLiteral("vpos"), 0};
inline const NumberSetting hpos{QStringLiteral("hpos"), 0};
// Point sizes of Chinese characters and of every other character.
inline const NumberSetting fontcnsize{QStringLiteral("fontcnsize"), 18, 1};
inline const NumberSetting fontensize{QStringLiteral("fontensize"), 16, 1};
// The print font's family.
inline const TextSetting fontname{QStringLiteral("fontname"), QStringLiteral("TEC")};
// 0x00BBGGRR; mid grey unless one is stored (a stored 0 is black).
inline const NumberSetting fontcolor{QStringLiteral("fontcolor"), 8421504};
// Remember the receipt between runs.
inline const SwitchSetting Storage{QStringLiteral("Storage")};
// The verification service's root URL.
inline const TextSetting server{QStringLiteral("server"),
                                QStringLiteral("https://www.travelsky.com")};

// The shared register of receipt numbers: a PostgreSQL connection URI
// ("postgresql://user@host:port/dbname"); empty, the desk's own journal is
// the register. Read from where "server" is read.
inline const TextSetting registerUri{QStringLiteral("register"), QString()};
// The desk's name in the register; empty stands for user@host.
inline const TextSetting desk{QStringLiteral("desk"), QString()};

// The pick-lists of the receipt's fields.
inline const ListSetting MakeText{QStringLiteral("MakeText"), Field::Endorsement};
inline const ListSetting company{QStringLiteral("company"), Field::IssuedBy};
inline const ListSetting OfficeNo{QStringLiteral("OfficeNo"), {Field::AgentCode, 1}};
inline const ListSetting CompanyCode{QStringLiteral("CompanyCode"), {Field::AgentCode, 2}};
inline const ListSetting information{QStringLiteral("information"), Field::Information};
inline const ListSetting *const pickLists[] = {&MakeText, &company, &OfficeNo, &CompanyCode,
                                               &information};

} // namespace Setting
