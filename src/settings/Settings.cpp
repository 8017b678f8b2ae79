#include "settings/Settings.h"

#include "settings/DelimitedText.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsKeys.h"

namespace {

QString serverOf(const SettingsSnapshot &file)
{
    QString root = file.getStr(SettingsKeys::server).trimmed();
    if (root.isEmpty())
        root = SettingsKeys::defaultServer;
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
    settings.vpos = file.getInt(SettingsKeys::vpos);
    settings.hpos = file.getInt(SettingsKeys::hpos);
    settings.fontCnSize = file.integer(SettingsKeys::fontcnsize);
    settings.fontEnSize = file.integer(SettingsKeys::fontensize);
    settings.fontName = file.getStr(SettingsKeys::fontname);
    settings.fontColor = file.integer(SettingsKeys::fontcolor);
    settings.makeText = fromDelimitedText(file.getStr(SettingsKeys::MakeText));
    settings.company = fromDelimitedText(file.getStr(SettingsKeys::company));
    settings.officeNo = fromDelimitedText(file.getStr(SettingsKeys::OfficeNo));
    settings.companyCode = fromDelimitedText(file.getStr(SettingsKeys::CompanyCode));
    settings.information = fromDelimitedText(file.getStr(SettingsKeys::information));
    settings.storage = file.getBool(SettingsKeys::Storage);
    settings.server = serverOf(file);
    return settings;
}

QStringList Settings::pickList(const QString &key) const
{
    const struct
    {
        const QString &key;
        const QStringList &entries;
    } lists[] = {{SettingsKeys::MakeText, makeText},
                 {SettingsKeys::company, company},
                 {SettingsKeys::OfficeNo, officeNo},
                 {SettingsKeys::CompanyCode, companyCode},
                 {SettingsKeys::information, information}};
    for (const auto &list : lists) {
        if (list.key.compare(key, Qt::CaseInsensitive) == 0)
            return list.entries;
    }
    return {};
}

Settings Settings::read(const SettingsLocation &location)
{
    Settings settings = from(PrivateConfig(false, location.folder).snapshot());
    if (location.installed)
        settings.server = serverOf(administratorsFile(location.systemFile));
    return settings;
}
