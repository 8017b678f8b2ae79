#include "settings/Settings.h"

#include "settings/DelimitedText.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingsFile.h"

#include <QSysInfo>
#include <pwd.h>
#include <unistd.h>

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
    settings.m_registerUri = file.getStr(Setting::registerUri.key).trimmed();
    return settings;
}

Settings Settings::read(const SettingsLocation &location)
{
    return read(location, PrivateConfig(false, location.folder).snapshot());
}

Settings Settings::read(const SettingsLocation &location, const SettingsSnapshot &userFile)
{
    Settings settings = from(userFile);
    if (location.installed) {
        const SettingsSnapshot administrators = administratorsFile(location.systemFile);
        settings.m_server = serverOf(administrators);
        settings.m_registerUri = administrators.getStr(Setting::registerUri.key).trimmed();
    }
    return settings;
}

QString Settings::desk() const
{
    const QString named = value(Setting::desk).trimmed();
    return named.isEmpty() ? defaultDesk() : named;
}

QString Settings::defaultDesk()
{
    // The account, not the environment: a desk's name must not change with
    // the shell it was started from.
    const passwd *account = ::getpwuid(::getuid());
    const QString user = account ? QString::fromLocal8Bit(account->pw_name)
                                 : QString::number(::getuid());
    return user + u'@' + QSysInfo::machineHostName();
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
