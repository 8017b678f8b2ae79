#pragma once

#include "settings/SettingsLocation.h"
#include "settings/SettingsSnapshot.h"

#include <QString>
#include <QStringList>
#include <optional>

// Every setting the program acts on, typed, from one reading of the settings
// file. Made afresh for each use (a start, a print, a query, the dialog) and
// handed down, so that nothing below reads the file key by key. The values
// are as stored; what an absent or unusable value means is each user's rule
// (printing and the dialog take their defaults from SettingsKeys).
struct Settings
{
    int vpos = 0; // print offsets, print-layout pixels; 0 when not a number
    int hpos = 0;
    std::optional<int> fontCnSize; // nullopt when absent or not a number
    std::optional<int> fontEnSize;
    QString fontName;             // empty when absent
    std::optional<int> fontColor; // 0x00BBGGRR; nullopt when absent, empty or not a number
    QStringList makeText;         // the five pick-lists
    QStringList company;
    QStringList officeNo;
    QStringList companyCode;
    QStringList information;
    bool storage = false; // remember the receipt between runs
    QString server;       // the verification service's root URL, no trailing slash

    // The pick-list stored under key ("MakeText", "company", ...); empty for
    // any other key.
    QStringList pickList(const QString &key) const;

    static Settings from(const SettingsSnapshot &file);

    // One parse of the user's file; when installed, the service address comes
    // from the administrator's file alone (never from the user's), or is the
    // default when that file is not root's or is open to others' changes.
    static Settings read(const SettingsLocation &location);
};
