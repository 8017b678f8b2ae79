#pragma once

#include "settings/IniText.h"

#include <QString>
#include <memory>

// The settings file as it was read once: a group of reads (the start, the
// dialog, a print) parses the file one time and looks up every key here,
// with the same rules as the store's own reads. Cheap to copy.
class SettingsSnapshot
{
public:
    SettingsSnapshot() : SettingsSnapshot(IniText()) {}
    explicit SettingsSnapshot(IniText text);

    static constexpr int maxValueLength = 2047;

    // Exactly as written, cut to 2047 characters; empty when absent.
    QString getStr(const QString &field) const;
    int getInt(const QString &field) const;   // 0 when absent, empty or not a number
    bool getBool(const QString &field) const; // true when the integer is not 0
    bool getBool(const QString &field, bool defaultValue) const;

    // The key's decimal integer; nullopt when absent, empty or not a number.
    std::optional<int> integer(const QString &field) const;

private:
    std::shared_ptr<const IniText> m_text;
};
