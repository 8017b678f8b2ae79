#include "print/PrintSettings.h"

#include "settings/SettingDeclarations.h"
#include "settings/Settings.h"

PrintSettings PrintSettings::from(const Settings &stored)
{
    PrintSettings settings;
    settings.fontName = stored.value(Setting::fontname);
    settings.cnSize = stored.value(Setting::fontcnsize);
    settings.enSize = stored.value(Setting::fontensize);
    settings.colour = colourOf(stored.value(Setting::fontcolor));
    settings.vpos = stored.value(Setting::vpos);
    settings.hpos = stored.value(Setting::hpos);
    return settings;
}

PrintSettings PrintSettings::read(const QString &settingsFolder)
{
    return from(Settings::read(settingsFolder));
}

PrintSettings PrintSettings::defaults()
{
    return from(Settings());
}

QColor PrintSettings::colourOf(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
