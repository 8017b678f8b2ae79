#include "settings/SettingsSnapshot.h"

TSettingsSnapshot::TSettingsSnapshot(TIniText text)
    : FText(std::make_shared<const TIniText>(std::move(text)))
{}

QString TSettingsSnapshot::GetStr(const QString &sField) const
{
    return FText->value(sField).value_or(QString()).left(maxValueLength);
}

std::optional<int> TSettingsSnapshot::integer(const QString &sField) const
{
    bool ok = false;
    const int value = GetStr(sField).trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

int TSettingsSnapshot::GetInt(const QString &sField) const
{
    return integer(sField).value_or(0);
}

bool TSettingsSnapshot::GetBool(const QString &sField) const
{
    return GetInt(sField) != 0;
}

bool TSettingsSnapshot::GetBool(const QString &sField, bool DefValue) const
{
    return integer(sField).value_or(DefValue ? 1 : 0) != 0;
}
