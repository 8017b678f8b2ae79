#pragma once

#include "settings/SettingDeclarations.h"
#include "settings/SettingsLocation.h"
#include "settings/SettingsSnapshot.h"

#include <QString>
#include <QStringList>
#include <optional>

// Every setting the program acts on, typed by its declaration, from one
// reading of the settings file. Made afresh for each use (a start, a print, a
// query, the dialog) and handed down, so that nothing below reads the file
// key by key.
class Settings
{
public:
    static Settings from(const SettingsSnapshot &file);

    // One parse of the user's file; when installed, the service address comes
    // from the administrator's file alone (never from the user's), or is the
    // default when that file is not root's or is open to others' changes.
    static Settings read(const SettingsLocation &location);
    // The same from the user's file as already read.
    static Settings read(const SettingsLocation &location, const SettingsSnapshot &userFile);

    // The stored value, or the declared default when the entry is absent or
    // unusable (not a number, out of range, empty).
    int value(const NumberSetting &setting) const;
    QString value(const TextSetting &setting) const;
    bool value(const SwitchSetting &setting) const;
    QStringList value(const ListSetting &setting) const;

    // The verification service's root URL, no trailing slash.
    const QString &server() const { return m_server; }
    // The shared register's connection URI; empty when there is none.
    const QString &registerUri() const { return m_registerUri; }
    // The desk's name: the setting "desk", else user@host.
    QString desk() const;
    static QString defaultDesk();

private:
    SettingsSnapshot m_file;
    QString m_server;
    QString m_registerUri;
};
