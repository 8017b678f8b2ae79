#include "print/PrintSettings.h"

#include "settings/PrivateConfig.h"
#include "settings/SettingsKeys.h"

namespace {

int sizeOr(int size, int fallback)
{
    return size >= 1 ? size : fallback;
}

} // namespace

TPrintSettings TPrintSettings::read(const QString &settingsFolder)
{
    const TPrivateConfig config(false, settingsFolder);
    TPrintSettings settings;
    settings.fontName = config.GetStr(SettingsKeys::fontname);
    if (settings.fontName.isEmpty())
        settings.fontName = SettingsKeys::defaultFontName;
    settings.cnSize =
        sizeOr(config.GetInt(SettingsKeys::fontcnsize), SettingsKeys::defaultFontCnSize);
    settings.enSize =
        sizeOr(config.GetInt(SettingsKeys::fontensize), SettingsKeys::defaultFontEnSize);
    int colour = config.GetInt(SettingsKeys::fontcolor);
    if (colour == 0)
        colour = SettingsKeys::defaultFontColor;
    settings.colour = colourOf(colour);
    settings.vpos = config.GetInt(SettingsKeys::vpos);
    settings.hpos = config.GetInt(SettingsKeys::hpos);
    return settings;
}

TPrintSettings TPrintSettings::defaults()
{
    TPrintSettings settings;
    settings.fontName = SettingsKeys::defaultFontName;
    settings.cnSize = SettingsKeys::defaultFontCnSize;
    settings.enSize = SettingsKeys::defaultFontEnSize;
    settings.colour = colourOf(SettingsKeys::defaultFontColor);
    return settings;
}

QColor TPrintSettings::colourOf(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
