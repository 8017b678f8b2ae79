#include "settings/Settings.h"

#include "settings/DelimitedText.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingsFile.h"

namespace {

QString serverOf(const SettingsSnapshot &file)
{
    QString root = file.getStr(Setting::server.key).trimmed();
    if (root.isEmpty())
        root = Setting::server.defaultValue;
    while (root.endsWith(u'/'))
        root.chop(1);
    return root;
}

// A file that may not be trusted is ignored (the start has said so): its
// bytes are empty, and the service address the default.
SettingsSnapshot administratorsFile(const QString &path)
{
    return SettingsSnapshot(
        IniText::parse(SettingsFile::read(path, SettingsFile::Owner::Administrator).bytes));
}

} // namespace

Settings Settings::from(const SettingsSnapshot &file)
{
    Settings settings;
    settings.m_file = file;
    settings.m_server = serverOf(file);
    return settings;
}

Settings Settings::read(const SettingsLocation &location)
{
    Settings settings = from(PrivateConfig(false, location.folder).snapshot());
    if (location.installed)
        settings.m_server = serverOf(administratorsFile(location.systemFile));
    return settings;
}

int Settings::value(const NumberSetting &setting) const
{
    const std::optional<int> stored = m_file.integer(setting.key);
    if (!stored || *stored < setting.minimum || *stored > setting.maximum)
        return setting.defaultValue;
    return *stored;
}

QString Settings::value(const TextSetting &setting) const
{
    const QString stored = m_file.getStr(setting.key);
    return stored.isEmpty() ? setting.defaultValue : stored;
}

bool Settings::value(const SwitchSetting &setting) const
{
    return m_file.getBool(setting.key);
}

QStringList Settings::value(const ListSetting &setting) const
{
    return fromDelimitedText(m_file.getStr(setting.key));
}
