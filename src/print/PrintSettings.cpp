#include "print/PrintSettings.h"

#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace {

int sizeOr(std::optional<int> size, int fallback)
{
    return size && *size >= 1 ? *size : fallback;
}

} // namespace

PrintSettings PrintSettings::from(const Settings &stored)
{
    PrintSettings settings;
    settings.fontName = stored.fontName.isEmpty() ? SettingsKeys::defaultFontName : stored.fontName;
    settings.cnSize = sizeOr(stored.fontCnSize, SettingsKeys::defaultFontCnSize);
    settings.enSize = sizeOr(stored.fontEnSize, SettingsKeys::defaultFontEnSize);
    settings.colour = colourOf(stored.fontColor.value_or(SettingsKeys::defaultFontColor));
    settings.vpos = stored.vpos;
    settings.hpos = stored.hpos;
    return settings;
}

PrintSettings PrintSettings::read(const QString &settingsFolder)
{
    return from(Settings::read(settingsFolder));
}

PrintSettings PrintSettings::defaults()
{
    PrintSettings settings;
    settings.fontName = SettingsKeys::defaultFontName;
    settings.cnSize = SettingsKeys::defaultFontCnSize;
    settings.enSize = SettingsKeys::defaultFontEnSize;
    settings.colour = colourOf(SettingsKeys::defaultFontColor);
    return settings;
}

QColor PrintSettings::colourOf(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
