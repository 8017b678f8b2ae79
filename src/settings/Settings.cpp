#include "settings/Settings.h"

#include "settings/DelimitedText.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsKeys.h"

namespace {

QString serverOf(const TSettingsSnapshot &file)
{
    QString root = file.GetStr(SettingsKeys::server).trimmed();
    if (root.isEmpty())
        root = SettingsKeys::defaultServer;
    while (root.endsWith(u'/'))
        root.chop(1);
    return root;
}

// A file that may not be trusted is ignored (the start has said so): its
// bytes are empty, and the service address the default.
TSettingsSnapshot administratorsFile(const QString &path)
{
    return TSettingsSnapshot(
        TIniText::parse(TSettingsFile::read(path, TSettingsFile::Owner::Administrator).bytes));
}

} // namespace

TSettings TSettings::from(const TSettingsSnapshot &file)
{
    TSettings settings;
    settings.vpos = file.GetInt(SettingsKeys::vpos);
    settings.hpos = file.GetInt(SettingsKeys::hpos);
    settings.fontCnSize = file.integer(SettingsKeys::fontcnsize);
    settings.fontEnSize = file.integer(SettingsKeys::fontensize);
    settings.fontName = file.GetStr(SettingsKeys::fontname);
    settings.fontColor = file.integer(SettingsKeys::fontcolor);
    settings.makeText = fromDelimitedText(file.GetStr(SettingsKeys::MakeText));
    settings.company = fromDelimitedText(file.GetStr(SettingsKeys::company));
    settings.officeNo = fromDelimitedText(file.GetStr(SettingsKeys::OfficeNo));
    settings.companyCode = fromDelimitedText(file.GetStr(SettingsKeys::CompanyCode));
    settings.information = fromDelimitedText(file.GetStr(SettingsKeys::information));
    settings.storage = file.GetBool(SettingsKeys::Storage);
    settings.server = serverOf(file);
    return settings;
}

QStringList TSettings::pickList(const QString &key) const
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

TSettings TSettings::read(const TSettingsLocation &location)
{
    TSettings settings = from(TPrivateConfig(false, location.folder).snapshot());
    if (location.installed)
        settings.server = serverOf(administratorsFile(location.systemFile));
    return settings;
}
