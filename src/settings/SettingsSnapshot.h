#pragma once

#include "settings/IniText.h"

#include <QString>
#include <memory>

// The settings file as it was read once: a group of reads (the start, the
// dialog, a print) parses the file one time and looks up every key here,
// with the same rules as the store's own reads. Cheap to copy.
class TSettingsSnapshot
{
public:
    TSettingsSnapshot() : TSettingsSnapshot(TIniText()) {}
    explicit TSettingsSnapshot(TIniText text);

    static constexpr int maxValueLength = 2047;

    // Exactly as written, cut to 2047 characters; empty when absent.
    QString GetStr(const QString &sField) const;
    int GetInt(const QString &sField) const;   // 0 when absent, empty or not a number
    bool GetBool(const QString &sField) const; // true when the integer is not 0
    bool GetBool(const QString &sField, bool DefValue) const;

    // The key's decimal integer; nullopt when absent, empty or not a number.
    std::optional<int> integer(const QString &sField) const;

private:
    std::shared_ptr<const TIniText> FText;
};
