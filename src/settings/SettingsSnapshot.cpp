#include "settings/SettingsSnapshot.h"

SettingsSnapshot::SettingsSnapshot(IniText text)
    : m_text(std::make_shared<const IniText>(std::move(text)))
{}

QString SettingsSnapshot::getStr(const QString &field) const
{
    return m_text->value(field).value_or(QString()).left(maxValueLength);
}

std::optional<int> SettingsSnapshot::integer(const QString &field) const
{
    bool ok = false;
    const int value = getStr(field).trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

int SettingsSnapshot::getInt(const QString &field) const
{
    return integer(field).value_or(0);
}

bool SettingsSnapshot::getBool(const QString &field) const
{
    return getInt(field) != 0;
}

bool SettingsSnapshot::getBool(const QString &field, bool defaultValue) const
{
    return integer(field).value_or(defaultValue ? 1 : 0) != 0;
}
